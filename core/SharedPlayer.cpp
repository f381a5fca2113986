#include "SharedPlayer.h"

#include <QCoreApplication>
#include <QPointer>

#include "AppState.h"
#include "Forms.h"
#include "SyllableQueue.h"
#include "WavePlayer.h"

namespace {

QPointer<WavePlayer> g_player1;
QPointer<WavePlayer> g_player2;

WavePlayer* MakePlayer(const char* name, void (*done)(int))
{
    // Owned by the application object, so the players go before the audio system does.
    auto* p = new WavePlayer(QCoreApplication::instance());
    p->setObjectName(QString::fromLatin1(name));
    p->SetDeviceType(QStringLiteral("WaveAudio"));
    QObject::connect(p, &WavePlayer::Done, p, done);
    return p;
}

bool InSyllableFolder(const QString& path)
{
    return path.contains(QLatin1String("Symbols\\"), Qt::CaseInsensitive)
        || path.contains(QLatin1String("Symbols/"), Qt::CaseInsensitive);
}

} // namespace

WavePlayer* MMControl1()
{
    if (!g_player1)
        g_player1 = MakePlayer("MMControl1", &MMControl1_Done);
    return g_player1;
}

WavePlayer* MMControl2()
{
    if (!g_player2)
        g_player2 = MakePlayer("MMControl2", &MMControl2_Done);
    return g_player2;
}

void SetUpSharedPlayers()
{
    MMControl1()->SetNotify(false);
    MMControl1()->SetDeviceType(QStringLiteral("WaveAudio"));
    MMControl2()->SetNotify(true);
    MMControl2()->SetDeviceType(QStringLiteral("WaveAudio"));
}

void CloseSharedPlayers()
{
    if (g_player1)
        g_player1->Close();
    if (g_player2)
        g_player2->Close();
}

void PlaySoundFile(const QString& path, qint16 owner)
{
    WavePlayer* p = MMControl1();
    p->Close();
    p->SetFileName(path);
    p->Open();
    p->SetNotify(owner != SoundOwnerCode::Nobody);
    State().SoundOwner = owner;
    p->Play();
    if (InSyllableFolder(path))
        ShowToneLabel(State().CurrentTone, BaseFileName(path));
}

void ReplaySound(qint16 owner)
{
    WavePlayer* p = MMControl1();
    p->Prev();
    p->SetNotify(owner != SoundOwnerCode::Nobody);
    State().SoundOwner = owner;
    p->Play();
    if (InSyllableFolder(p->FileName()))
        ShowToneLabel(State().CurrentTone, BaseFileName(p->FileName()));
}

void MMControl1_Done(int notifyCode)
{
    if (notifyCode != WavePlayer::Successful)
        return;
    switch (State().SoundOwner) {
    case SoundOwnerCode::Text:
        Forms::Invoke(QStringLiteral("Text"), "Common01");
        break;
    case SoundOwnerCode::Spoken:
        Forms::Invoke(QStringLiteral("Spoken"), "Common02");
        break;
    case SoundOwnerCode::Alphabet1:
        Forms::Invoke(QStringLiteral("Alphabet1"), "Common01");
        break;
    case SoundOwnerCode::Vocabulary:
        Forms::Invoke(QStringLiteral("Vocabulary"), "Common05");
        break;
    case SoundOwnerCode::FindSentence:
        Forms::Invoke(QStringLiteral("FindSentence"), "Common02");
        break;
    case SoundOwnerCode::SyllableQueue:
        PlayNextSyllable();
        break;
    case SoundOwnerCode::Figure:
        Forms::Invoke(QStringLiteral("Figure"), "Play1");
        break;
    default:
        break;
    }
}

void MMControl2_Done(int notifyCode)
{
    if (notifyCode == WavePlayer::Successful)
        MMControl2()->Close();
}

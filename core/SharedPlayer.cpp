#include "SharedPlayer.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>

#include "AppState.h"
#include "ToneLabel.h"
#include "WavePlayer.h"
#include "WindowHook.h"

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

QHash<qint16, WindowHook<PlayDoneReceiver>>& Receivers()
{
    static QHash<qint16, WindowHook<PlayDoneReceiver>> receivers;
    return receivers;
}

bool InSyllableFolder(const QString& path)
{
    return path.contains(QLatin1String("Symbols\\"), Qt::CaseInsensitive)
        || path.contains(QLatin1String("Symbols/"), Qt::CaseInsensitive);
}

} // namespace

void RegisterPlayDoneReceiver(qint16 owner, PlayDoneReceiver* receiver) { Receivers()[owner].Set(receiver); }

void UnregisterPlayDoneReceiver(qint16 owner, PlayDoneReceiver* receiver)
{
    const auto it = Receivers().find(owner);
    if (it != Receivers().end())
        it->Clear(receiver);
}

bool TellPlayDone(qint16 owner)
{
    const auto it = Receivers().constFind(owner);
    if (owner == SoundOwnerCode::Nobody || it == Receivers().constEnd())
        return false;
    PlayDoneReceiver* receiver = it->Get();
    if (!receiver)
        return false;
    receiver->PlayDone();
    return true;
}

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
    TellPlayDone(State().SoundOwner);
}

void MMControl2_Done(int notifyCode)
{
    if (notifyCode == WavePlayer::Successful)
        MMControl2()->Close();
}

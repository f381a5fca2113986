#include "SyllableQueue.h"

#include "AppState.h"
#include "BlankTrim.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

// The queue hears the end of each syllable it plays as owner 15.
class NextSyllable : public PlayDoneReceiver {
public:
    void PlayDone() override { PlayNextSyllable(); }
};

void ListenForSyllableEnds()
{
    static NextSyllable receiver;
    RegisterPlayDoneReceiver(SoundOwnerCode::SyllableQueue, &receiver);
}

} // namespace

QString SyllableSoundPath(const QString& syllable)
{
    return State().AppPath + QStringLiteral("Phonetic Symbols/") + syllable.left(1).toUpper() + QLatin1Char('/')
        + syllable + QStringLiteral(".wav");
}

void PlayPinyinSequence(const QString& text)
{
    if (text.isEmpty())
        return;
    ListenForSyllableEnds();
    AppState& s = State();
    MMControl1()->Close();
    s.SyllableQueuePos = 0;
    s.SyllableQueueCount = 0;
    s.SyllableQueue.Erase();

    QString collected;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            collected += c;
            continue;
        }
        if (s.SyllableQueueCount == 32767)
            break; // the queue's count is 16-bit: the rest of an over-long text is not spoken
        const int k = ++s.SyllableQueueCount;
        s.SyllableQueue.Redim(k);
        s.SyllableQueue.Set(0, k, QString(c));
        s.SyllableQueue.Set(1, k, BlankTrim(collected) + (c == QLatin1Char('0') ? QChar('1') : c));
        collected.clear();
    }
    const int last = s.SyllableQueueCount;
    if (last > 0 && s.SyllableQueue.At(1, last) == QLatin1String("er1"))
        s.SyllableQueue.Set(1, last, QStringLiteral("er2"));
    PlayNextSyllable();
}

void PlayNextSyllable()
{
    AppState& s = State();
    while (s.SyllableQueuePos < s.SyllableQueueCount) {
        ++s.SyllableQueuePos;
        s.CurrentTone = s.SyllableQueue.At(0, s.SyllableQueuePos);
        const QString path = SyllableSoundPath(s.SyllableQueue.At(1, s.SyllableQueuePos));
        // A damaged or unreadable recording is passed over like a missing one, so one bad
        // file never stalls the queue and the windows paced by it.
        if (!WavFile::IsPlayable(path))
            continue;
        PlaySoundFile(path, SoundOwnerCode::SyllableQueue);
        if (MMControl1()->Mode() == WavePlayer::ModePlaying)
            return;
    }
    MMControl1()->Close();
    // The end of the whole text: the read-aloud task or the vocabulary test goes on.
    if (s.CurrentActivity == 6)
        TellPlayDone(SoundOwnerCode::Text);
    else if (s.CurrentActivity == 3)
        TellPlayDone(SoundOwnerCode::Vocabulary);
}

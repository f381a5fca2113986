#include "SyllableQueue.h"

#include <QLabel>

#include "AppState.h"
#include "BlankTrim.h"
#include "Forms.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

bool IsPathSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

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
    if (s.CurrentActivity == 6)
        Forms::Invoke(QStringLiteral("Text"), "Common01");
    else if (s.CurrentActivity == 3)
        Forms::Invoke(QStringLiteral("Vocabulary"), "Common05");
}

void ShowToneLabel(const QString& tone, const QString& syllable)
{
    QLabel* label = Forms::Control<QLabel>(QStringLiteral("Background"), QStringLiteral("Label4"));
    if (!label)
        return;
    QString ending;
    if (tone == QLatin1String("0"))
        ending = QStringLiteral(" ] light tone");
    else if (tone == QLatin1String("1"))
        ending = QStringLiteral(" ] the 1st tone");
    else if (tone == QLatin1String("2"))
        ending = QStringLiteral(" ] the 2nd tone");
    else if (tone == QLatin1String("3"))
        ending = QStringLiteral(" ] the 3rd tone");
    else
        ending = QStringLiteral(" ] the 4th tone");
    label->setText(QStringLiteral("[ ") + syllable + ending);
    label->adjustSize();
    label->setVisible(true);
}

QString BaseFileName(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    qsizetype start = dot;
    while (start > 0 && !IsPathSeparator(path.at(start - 1)))
        --start;
    return path.mid(start, dot - start);
}

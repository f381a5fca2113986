#include "ZoomRules.h"

#include "BlankTrim.h"
#include "CharacterTable.h"
#include "Pinyin.h"
#include "SharedPlayer.h"
#include "ToneLabel.h"
#include "TextFilters.h"
#include "ToneLabel.h"
#include "WavePlayer.h"

QVector<ReadingLabelText> ReadingLabels(const CharacterRecord& record)
{
    QVector<ReadingLabelText> labels;
    labels.reserve(record.Readings.size());
    for (const CharacterReading& r : record.Readings)
        labels.append({NumberedToMarkedPinyin(r.DottedSyllable + r.MarkTone), r.Syllable + r.MarkTone});
    return labels;
}

DecidingEntry FindDecidingEntry(const QString& ch, const QString& prevCh, const QString& nextCh)
{
    const AppState& s = State();
    const QStringList& words = s.WordText[0];
    const int count = std::min<int>(s.WordCount, int(words.size()));
    const QString before = prevCh + ch;
    const QString after = ch + nextCh;
    for (int k = 1; k <= count; ++k) {
        const QString& word = words.at(k - 1);
        // The pair is sought in the entry as stored, its position counted without punctuation.
        if (!prevCh.isEmpty() && word.contains(before)) {
            const int p = int(StripPunctuation(word).indexOf(before)) + 1;
            if (p > 0)
                return {k, p + 1};
        } else if (!nextCh.isEmpty() && word.contains(after)) {
            const int p = int(StripPunctuation(word).indexOf(after)) + 1;
            if (p > 0)
                return {k, p};
        }
    }
    return {};
}

QStringList WordSyllables(const QString& pinyin)
{
    QStringList syllables;
    QString current;
    for (const QChar c : pinyin) {
        if (c == QLatin1Char('.'))
            continue;
        current += c;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            syllables << BlankTrim(current);
            current.clear();
        }
    }
    return syllables;
}

int SelectReading(const QStringList& toolTips, const QString& syllable)
{
    return int(toolTips.indexOf(syllable)) + 1;
}

ReadingChoice ChooseReading(const QStringList& toolTips, const QString& ch, const QString& prevCh,
                            const QString& nextCh)
{
    if (toolTips.isEmpty())
        return {};
    if (toolTips.size() == 1)
        return {1, false};
    const DecidingEntry entry = FindDecidingEntry(ch, prevCh, nextCh);
    if (entry.Entry == 0)
        return {1, true};
    const QStringList syllables = WordSyllables(State().WordPinyin.value(entry.Entry - 1));
    if (entry.SyllableIndex > syllables.size())
        return {};
    const int label = SelectReading(toolTips, syllables.at(entry.SyllableIndex - 1));
    return label > 0 ? ReadingChoice{label, true} : ReadingChoice{};
}

PopupContent LookUpCharacter(const QString& ch, const QString& prevCh, const QString& nextCh)
{
    PopupContent content;
    const int r = FindCharacterRecord(ch);
    if (r > State().CharacterCount)
        return content;
    content.RecordIndex = r;
    content.Labels = ReadingLabels(State().CharacterTable.at(r - 1));
    QStringList toolTips;
    for (const ReadingLabelText& label : std::as_const(content.Labels))
        toolTips << label.ToolTip;
    content.Choice = ChooseReading(toolTips, ch, prevCh, nextCh);
    return content;
}

ReadingSound CharacterReadingSound(const CharacterReading& reading)
{
    return {State().AppPath + QStringLiteral("Phonetic Symbols/") + reading.Letter.toUpper() + QLatin1Char('/')
                + reading.Syllable + reading.SoundTone + QStringLiteral(".wav"),
            reading.Tone};
}

ReadingSound GivenPinyinSound(const QString& syllable)
{
    if (syllable.isEmpty())
        return {};
    const QString tone = syllable.right(1);
    const QString soundTone = tone == QLatin1String("0") ? QStringLiteral("1") : tone;
    return {State().AppPath + QStringLiteral("Phonetic Symbols/") + syllable.left(1).toUpper() + QLatin1Char('/')
                + syllable.chopped(1) + soundTone + QStringLiteral(".wav"),
            tone};
}

bool PopupMaySpeak()
{
    return MMControl1()->Mode() != WavePlayer::ModePlaying;
}

void PlayReadingSound(WavePlayer& player, const ReadingSound& sound)
{
    player.Close();
    if (sound.Path.isEmpty())
        return;
    State().CurrentTone = sound.Tone;
    player.SetFileName(sound.Path);
    player.Open();
    player.Play();
    ShowToneLabel(State().CurrentTone, BaseFileName(player.FileName()));
}

PopupLayout LayOutPopup(int readingCount, double characterWidth, double characterHeight)
{
    using namespace ZoomGeometry;
    PopupLayout layout;
    layout.CharacterTop = NotFoundTop;
    for (int j = 0; j < readingCount; ++j) {
        const double top = ReadingTop + j * ReadingHeight;
        layout.ReadingTops.append(top);
        layout.CharacterTop = top + ReadingHeight;
    }
    layout.Width = 2 * CharacterLeft + characterWidth;
    layout.Height = layout.CharacterTop + characterHeight;
    return layout;
}

double PopupWidth(double characterWidth, bool hasStrokeFile)
{
    const double single = characterWidth + ZoomGeometry::StrokeAreaGap;
    return hasStrokeFile ? 2 * single : single;
}

QPointF PlacePopup(const PopupAnchor& a, float width, float height, const PopupScreen& screen)
{
    float left = a.FormLeft + a.CtlLeft + a.X + a.Offset;
    float top = a.FormTop + a.CtlTop + a.Y + a.Offset;
    const float workBottom = screen.Height - screen.TaskbarHeight;
    if (workBottom < top + height) {
        left = left + a.Offset;
        top = workBottom - height;
    }
    if (left + width > screen.Width)
        left = screen.Width - width;
    return {left, top};
}

HoverChange ReadingHover::MoveOver(int label)
{
    HoverChange change;
    if (label == m_index)
        return change;
    if (label == 0 || m_index > 0) {
        change.StopTimer = true;
        change.Normal = m_index;
    }
    if (label > 0) {
        change.StopTimer = true;
        change.Red = label;
        change.StartTimer = true;
    }
    m_index = label;
    return change;
}

void StrokeAnimation::Load(StrokeData data)
{
    m_data = std::move(data);
    m_position = 0;
    m_currentStroke = 1;
}

QString StrokeAnimation::CounterText() const
{
    return QString::number(m_currentStroke) + QStringLiteral(" / ") + QString::number(m_data.StrokeCount);
}

StrokeTick StrokeAnimation::Advance()
{
    StrokeTick tick;
    ++m_position;
    const qint16 count = m_data.PointCount();
    if (m_position <= count) {
        const StrokePoint point = m_data.Points.at(m_position - 1);
        if (!point.IsStrokeEnd()) {
            tick.Draw = true;
            tick.Point = point;
        } else if (m_position < count) {
            ++m_currentStroke;
            tick.SetCounter = true;
            tick.Counter = CounterText();
        }
        return tick;
    }
    m_position = 0;
    m_currentStroke = 1;
    tick.SetCounter = true;
    tick.Counter = CounterText();
    tick.Clear = true;
    tick.Stop = count == 0;
    return tick;
}

QPointF StrokeDotPosition(StrokePoint point, double characterWidth, int shownReadingCount, double lastReadingTop)
{
    const double top = shownReadingCount > 0 ? lastReadingTop + 230 : 0;
    return {double(point.X) / 2 + characterWidth - 130, top + double(point.Y) / 2};
}

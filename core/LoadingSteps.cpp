#include "LoadingSteps.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "AppState.h"
#include "BlankTrim.h"
#include "CharacterTable.h"
#include "CodedFile.h"
#include "Pinyin.h"
#include "RecordFolder.h"
#include "SettingsFiles.h"

namespace {

constexpr int LessonCount = 91;
constexpr int ExtraVocabularyFiles = 147;
constexpr int TopicScripts = 20;
constexpr int CharacterFiles = 99;

constexpr int WordStep = 1;
constexpr int SentenceStep = 2;
constexpr int CharacterStep = 3;
constexpr int OnlineStep = 4;

QString CoursePath(const QString& relative)
{
    return State().AppPath + relative;
}

bool Exists(const QString& path)
{
    return QFileInfo(path).isFile();
}

void Advance(LoadProgress& progress, int step)
{
    progress.SetValue(step, qMin(progress.Value(step) + 1, progress.Maximum(step)));
}

// Reads one coded course file into text; false (nothing read) when it does not exist.
// LineBuffer is left empty: the steps take each line straight from the decoded text and copy
// only what the tables keep.
bool ReadCourseFile(const QString& path, const QString& tag, CodedText& text)
{
    return ReadCodedText(path, tag, 0, text);
}

// Lines of a file in groups of three; a last group of one or two lines is ignored.
qsizetype GroupCount(const CodedText& text)
{
    return text.LineCount() / 3;
}

// A line's text less its leading and trailing blanks, as the tables keep it.
QString Trimmed(QStringView line)
{
    return BlankTrim(line).toString();
}

// A one-line record of the Record folder into value. A missing file leaves value as it was;
// a file that exists but cannot be read, or holds no line, empties it.
void ReadLastLine(const QString& fileName, QString& value)
{
    if (QFileInfo::exists(RecordPath(fileName)))
        value = ReadOneLineRecord(fileName);
}

void AddWords(const CodedText& text, qsizetype& count, qint16 kind, qint16 number)
{
    AppState& s = State();
    const qsizetype groups = GroupCount(text);
    for (qsizetype g = 0; g < groups && count < TableLimit; ++g) {
        s.WordPinyin.append(Trimmed(text.Line(3 * g)));
        s.WordText[0].append(Trimmed(text.Line(3 * g + 1)));
        const QStringView english = BlankTrim(text.Line(3 * g + 2));
        QString padded(english.size() + 2, Qt::Uninitialized);
        padded.front() = padded.back() = QLatin1Char(' ');
        std::copy(english.begin(), english.end(), padded.begin() + 1);
        s.WordText[1].append(std::move(padded));
        s.WordSource[0].append(kind);
        s.WordSource[1].append(number);
        ++count;
    }
}

bool AddSentence(const CodedText& text, qsizetype group, qint16 source)
{
    AppState& s = State();
    if (s.SentenceCount >= TableLimit)
        return false;
    s.SentenceTable.append({Trimmed(text.Line(3 * group)), Trimmed(text.Line(3 * group + 1)),
                            Trimmed(text.Line(3 * group + 2)), source});
    ++s.SentenceCount;
    return true;
}

void SentenceFileDone(LoadProgress& progress)
{
    progress.SetCaption(SentenceStep, QStringLiteral("Step 2: loading Chinese sentences: ")
                                          + QString::number(State().SentenceCount));
    Advance(progress, SentenceStep);
    progress.ProcessEvents();
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The reading of one piece, its text trimmed of blanks; a null tone stands for a line
// without any digit.
CharacterReading ReadingOfPiece(QStringView text, QChar tone)
{
    return MakeReading(Trimmed(text), tone);
}

// Readings recur from character to character (many characters share a syllable and tone):
// each distinct piece is built once per load, and every character that has it shares its texts.
class ReadingPool {
public:
    // The reading of a piece whose last character is its tone digit.
    const CharacterReading& Of(QStringView pieceAndTone)
    {
        const std::u16string_view key(pieceAndTone.utf16(), static_cast<size_t>(pieceAndTone.size()));
        auto it = m_readings.find(key);
        if (it == m_readings.end())
            it = m_readings.emplace(key, ReadingOfPiece(pieceAndTone.chopped(1), pieceAndTone.back())).first;
        return it->second;
    }

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
    };
    std::unordered_map<std::u16string, CharacterReading, Hash, std::equal_to<>> m_readings;
};

// The readings line of a character: each digit closes a piece (its text trimmed of blanks);
// text after the last digit is dropped; a line without any digit is one piece without tone.
QVector<CharacterReading> ReadingsOfLine(QStringView line, ReadingPool& pool)
{
    const qsizetype digits = std::count_if(line.cbegin(), line.cend(), IsDigit);
    QVector<CharacterReading> readings;
    if (digits == 0) {
        readings.append(ReadingOfPiece(line, QChar()));
        return readings;
    }
    readings.reserve(qMin<qsizetype>(digits, TableLimit));
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size() && readings.size() < TableLimit; ++i) {
        if (!IsDigit(line.at(i)))
            continue;
        readings.append(pool.Of(line.sliced(start, i - start + 1)));
        start = i + 1;
    }
    return readings;
}

// The character line: the character, then phrases each closed by ","; text after the last
// "," is dropped; phrases are kept as they stand, empty ones and repeats included.
CharacterRecord RecordOfLine(QStringView line)
{
    CharacterRecord record;
    record.Character = line.left(1).toString();
    if (line.size() < 2)
        return record;
    const QStringView rest = line.sliced(1);
    const qsizetype phrases = std::count(rest.begin(), rest.end(), QLatin1Char(','));
    record.Phrases.reserve(qMin<qsizetype>(phrases, TableLimit));
    qsizetype start = 0;
    for (qsizetype i = 0; i < rest.size() && record.Phrases.size() < TableLimit; ++i) {
        if (rest[i] != QLatin1Char(','))
            continue;
        record.Phrases.append(rest.sliced(start, i - start).toString());
        start = i + 1;
    }
    return record;
}

// The reading inside a cached entry: after the first "[", up to the first digit or "]"
// (neither collected); to the end of the entry when neither follows; empty without "[".
QString ReadingOfEntry(const QString& entry)
{
    const qsizetype open = entry.indexOf(QLatin1Char('['));
    if (open < 0)
        return QString();
    QString reading;
    for (qsizetype i = open + 1; i < entry.size(); ++i) {
        const QChar c = entry.at(i);
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(']'))
            break;
        reading += c;
    }
    return reading;
}

// The count file Record/Cang.vmq: record 1 as a 16-bit little-endian number; 0 when the
// file is missing, short or refused (and then kept aside). Reading it never creates or changes
// it.
qint16 CachedWordCount()
{
    const QByteArray record = ReadRecordOf(CoursePath(QStringLiteral("Record/Cang.vmq")), 2, 1);
    return qFromLittleEndian<qint16>(record.constData());
}

} // namespace

qint16 LoadSettingsFiles(LoadProgress& progress)
{
    AppState& s = State();
    // Source numbers of dialogue sentences are 111 + n and must stay 16-bit.
    int n = 1;
    while (n <= TableLimit - 111
           && Exists(CoursePath(QStringLiteral("Spoken/Script%1.vmq").arg(n))))
        ++n;
    const qint16 spokenScriptCount = qint16(n - 1);

    progress.SetMaximum(WordStep, LessonCount + ExtraVocabularyFiles);
    progress.SetMaximum(SentenceStep, spokenScriptCount + LessonCount + TopicScripts);
    s.LessonTitles.resize(LessonCount);
    ReadLastLine(SettingsFiles::Tutor, s.TutorMailbox);
    ReadLastLine(SettingsFiles::YourName, s.UserName);
    return spokenScriptCount;
}

void LoadWordTable(LoadProgress& progress)
{
    AppState& s = State();
    for (auto& list : s.WordText)
        list.clear();
    for (auto& list : s.WordSource)
        list.clear();
    s.WordPinyin.clear();
    qsizetype count = 0;
    CodedText text;

    auto readFiles = [&](int files, const QString& pattern, const QString& tag, qint16 kind) {
        for (int n = 1; n <= files; ++n) {
            if (!ReadCourseFile(CoursePath(pattern.arg(n)), tag, text))
                continue;
            AddWords(text, count, kind, qint16(n));
            progress.SetCaption(WordStep, QStringLiteral("Step 1: loading Chinese vocabulary: ")
                                              + QString::number(count));
            Advance(progress, WordStep);
            progress.ProcessEvents();
        }
    };
    readFiles(LessonCount, QStringLiteral("Lessons/Script/Lesson_%1/icwp.vmq"), QStringLiteral("RW"), 1);
    s.LessonEntryCount = qint16(count);
    readFiles(ExtraVocabularyFiles, QStringLiteral("Vocabulary/ci%1.vmq"), QStringLiteral("VO"), 2);
    s.WordCount = qint16(count);
    s.WordCountCopy = qint16(count);
}

void LoadSentenceTable(LoadProgress& progress, qint16 spokenScriptCount)
{
    AppState& s = State();
    if (s.LessonTitles.size() < LessonCount)
        s.LessonTitles.resize(LessonCount);
    CodedText text;

    for (int n = 1; n <= LessonCount; ++n) {
        if (!ReadCourseFile(CoursePath(QStringLiteral("Lessons/Script/Lesson_%1/lifr.vmq").arg(n)),
                            QStringLiteral("RT"), text))
            continue;
        QString title;
        const qsizetype groups = GroupCount(text);
        for (qsizetype g = 0; g < groups; ++g) {
            if (text.Line(3 * g + 1).startsWith(QLatin1Char('#'))) {
                const QStringView english = text.Line(3 * g + 2);
                if (title.isEmpty())
                    title = english.toString();
                else
                    title.append(QStringLiteral(" | ")).append(english);
            } else {
                AddSentence(text, g, qint16(n));
            }
        }
        s.LessonTitles[n - 1] = title;
        SentenceFileDone(progress);
    }

    s.SpokenLastSentence = s.SentenceCount;
    s.SpokenFirstSentence = qint16(qMin(s.SentenceCount + 1, TableLimit));
    for (int n = 1; n <= TopicScripts; ++n) {
        if (!ReadCourseFile(CoursePath(QStringLiteral("Spoken/Script_%1.vmq").arg(n)), QStringLiteral("SP"), text))
            continue;
        // The first group of a topic script names the topic.
        const qsizetype groups = GroupCount(text);
        for (qsizetype g = 1; g < groups; ++g)
            if (AddSentence(text, g, qint16(91 + n)))
                ++s.SpokenLastSentence;
        SentenceFileDone(progress);
    }

    for (int n = 1; n <= spokenScriptCount; ++n) {
        if (!ReadCourseFile(CoursePath(QStringLiteral("Spoken/Script%1.vmq").arg(n)), QStringLiteral("SP"), text))
            continue;
        const qsizetype groups = GroupCount(text);
        for (qsizetype g = 0; g < groups; ++g)
            AddSentence(text, g, qint16(111 + n));
        SentenceFileDone(progress);
    }
}

void LoadCharacterTable(LoadProgress& progress)
{
    AppState& s = State();
    progress.SetMaximum(CharacterStep, CharacterFiles);
    CodedText text;
    ReadingPool readings;
    for (int n = 1; n <= CharacterFiles; ++n) {
        if (!ReadCourseFile(CoursePath(QStringLiteral("Vocabulary/zi%1.vmq").arg(n)), QStringLiteral("RW"), text))
            continue;
        const qsizetype pairs = text.LineCount() / 2;
        for (qsizetype j = 0; j < pairs; ++j) {
            CharacterRecord record = RecordOfLine(text.Line(2 * j + 1));
            record.Readings = ReadingsOfLine(text.Line(2 * j), readings);
            if (!AppendCharacterRecord(std::move(record)))
                break;
            progress.ProcessEvents();
        }
        progress.SetCaption(CharacterStep, QStringLiteral("Step 3: loading all Chinese words (characters): ")
                                               + QString::number(s.CharacterCount));
        Advance(progress, CharacterStep);
        progress.ProcessEvents();
    }
}

void LoadOnlineWords(LoadProgress& progress)
{
    AppState& s = State();
    const QString path = CoursePath(QStringLiteral("Record/wangci.txt"));
    if (!QFileInfo::exists(path))
        return;
    const qint16 expected = CachedWordCount();
    if (expected > 0)
        progress.SetMaximum(OnlineStep, expected);

    // A cache that cannot be read loads nothing, and is kept aside so that the exit does not
    // write the records of this run over it; the window closes as usual.
    bool ok = false;
    const QStringList lines = ReadRecordLines(path, &ok);
    if (!ok)
        return;
    for (const QString& raw : lines) {
        const QString line = BlankTrim(raw);
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        // Skipped: three characters or fewer, no colon or one in first place, nothing after it.
        if (line.size() <= 3 || colon < 1 || colon >= line.size() - 1)
            continue;
        if (s.OnlineWordCount >= OnlineTableLimit)
            continue;
        OnlineWord word{line.left(colon), line.mid(colon + 1)};
        const QString reading = ReadingOfEntry(word.Entry);
        s.OnlineWordTable.append(word);
        ++s.OnlineWordCount;
        AddWordToCharacterTable(word.Word, MarkedToNumberedPinyin(BlankTrim(reading)));
        if (progress.Value(OnlineStep) < progress.Maximum(OnlineStep))
            Advance(progress, OnlineStep);
        progress.SetCaption(OnlineStep, QStringLiteral("Step 4: loading vocabulary searched online: ")
                                            + QString::number(s.OnlineWordCount));
        progress.ProcessEvents();
    }
}

void LoadCourseTables(LoadProgress& progress)
{
    const qint16 spokenScriptCount = LoadSettingsFiles(progress);
    LoadWordTable(progress);
    LoadSentenceTable(progress, spokenScriptCount);
    LoadCharacterTable(progress);
    LoadOnlineWords(progress);
}

void EraseCourseTables()
{
    AppState& s = State();
    for (QStringList& column : s.WordText)
        column.clear();
    s.WordPinyin.clear();
    for (QVector<qint16>& column : s.WordSource)
        column.clear();
    s.WordCount = 0;
    s.WordCountCopy = 0;
    s.LessonEntryCount = 0;
    s.SentenceTable.clear();
    s.SentenceCount = 0;
    s.SpokenFirstSentence = 0;
    s.SpokenLastSentence = 0;
    s.CharacterLookup = {};
    s.CharacterTable.clear();
    s.CharacterCount = 0;
    s.OnlineWordTable.clear();
    s.OnlineWordCount = 0;
}

// The character table: loading from the character files, the look-up and its index, adding
// words learned on-line, and the on-line cache loader.

#include <QDir>
#include <QtEndian>
#include <functional>
#include <utility>

#include "AppState.h"
#include "CharacterTable.h"
#include "CodePage.h"
#include "TablesTestSupport.h"

namespace {

struct ReadingFields {
    const char* letter;
    const char* dotted;
    const char* syllable;
    const char* tone;
    const char* soundTone;
    const char* markTone;
};

void ExpectReading(const CharacterReading& r, const ReadingFields& e)
{
    EXPECT_EQ(r.Letter, QString::fromUtf8(e.letter));
    EXPECT_EQ(r.DottedSyllable, QString::fromUtf8(e.dotted));
    EXPECT_EQ(r.Syllable, QString::fromUtf8(e.syllable));
    EXPECT_EQ(r.Tone, QString::fromUtf8(e.tone));
    EXPECT_EQ(r.SoundTone, QString::fromUtf8(e.soundTone));
    EXPECT_EQ(r.MarkTone, QString::fromUtf8(e.markTone));
}

CharacterRecord Record(const QString& character, const QStringList& phrases = {})
{
    CharacterRecord r;
    r.Character = character;
    r.Phrases = phrases;
    return r;
}

QByteArray CountRecord(qint16 count)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<qint16>(count, bytes.data());
    return bytes;
}

} // namespace

// --- loading the character files ----------------------------------------------------------

TEST_F(TablesTest, ReadingPiecesAndTones)
{
    struct Case {
        const char* line;
        std::vector<ReadingFields> readings;
    };
    const Case cases[] = {
        {"h.ao3 h.ao4", {{"h", "h.ao", "hao", "3", "3", "3"}, {"h", "h.ao", "hao", "4", "4", "4"}}},
        {"h.ao3h.ao4", {{"h", "h.ao", "hao", "3", "3", "3"}, {"h", "h.ao", "hao", "4", "4", "4"}}},
        {"m.a0", {{"m", "m.a", "ma", "0", "1", "0"}}},
        {"de", {{"d", "de", "de", "0", "", ""}}},
        {"h.ao3x", {{"h", "h.ao", "hao", "3", "3", "3"}}},
        {".er2", {{"e", ".er", "er", "2", "2", "2"}}},
        {"", {{"", "", "", "0", "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ResetState();
        WriteCoded(QStringLiteral("Vocabulary/zi1.vmq"), {QString::fromUtf8(c.line), QStringLiteral("好")},
                   QStringLiteral("RW"));
        LoadCharacterTable(m_progress);
        ASSERT_EQ(State().CharacterCount, 1);
        const CharacterRecord& r = State().CharacterTable[0];
        ASSERT_EQ(r.ReadingCount(), qint16(c.readings.size()));
        for (size_t i = 0; i < c.readings.size(); ++i)
            ExpectReading(r.Readings[qsizetype(i)], c.readings[i]);
    }
}

TEST_F(TablesTest, PhrasesInFileOrder)
{
    struct Case {
        const char* line;
        QStringList phrases;
    };
    const Case cases[] = {
        {"好", {}},
        {"好人,处", {QStringLiteral("人")}},
        {"好,,", {QString(), QString()}},
        {"好人,看,人,", {QStringLiteral("人"), QStringLiteral("看"), QStringLiteral("人")}},
        {"好 人 ,", {QStringLiteral(" 人 ")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ResetState();
        WriteCoded(QStringLiteral("Vocabulary/zi1.vmq"), {QStringLiteral("h.ao3"), QString::fromUtf8(c.line)},
                   QStringLiteral("RW"));
        LoadCharacterTable(m_progress);
        ASSERT_EQ(State().CharacterCount, 1);
        EXPECT_EQ(State().CharacterTable[0].Character, QStringLiteral("好"));
        EXPECT_EQ(State().CharacterTable[0].Phrases, c.phrases);
    }
}

TEST_F(TablesTest, CharacterFilesInOrderDuplicatesFoundFirst)
{
    WriteCoded(QStringLiteral("Vocabulary/zi3.vmq"),
               {"y.i1", "一", "sh.i4", "是", "r.en2", "人", "odd line"}, QStringLiteral("RW"));
    WriteCoded(QStringLiteral("Vocabulary/zi7.vmq"), {"r.en2", "人个,"}, QStringLiteral("RW"));
    WriteCoded(QStringLiteral("Vocabulary/zi9.vmq"), {}, QStringLiteral("RW"));
    LoadCharacterTable(m_progress);

    const AppState& s = State();
    ASSERT_EQ(s.CharacterCount, 4) << "a fifth line without its pair is ignored";
    EXPECT_EQ(s.CharacterTable[3].Phrases, QStringList{QStringLiteral("个")});
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("人")), 3) << "the record of file 3";
    EXPECT_EQ(m_progress.maxima[3], 99);
    EXPECT_EQ(m_progress.values[3], 3) << "an empty file still counts";
    EXPECT_EQ(m_progress.captions[3], QStringLiteral("Step 3: loading all Chinese words (characters): 4"));
}

// --- look-up -------------------------------------------------------------------------------

TEST_F(TablesTest, FindCharacterRecordAgreesWithTheLinearRule)
{
    for (const char* c : {"一", "二", "三", "四", "人", "五", "六", "七", "人", "八"})
        AppendCharacterRecord(Record(QString::fromUtf8(c)));
    struct Case {
        QString ch;
        int expected;
    };
    const Case cases[] = {
        {QStringLiteral("人"), 5},  {QStringLiteral("一"), 1}, {QStringLiteral("八"), 10},
        {QStringLiteral("九"), 11}, {QString(), 11},            {QStringLiteral("一二"), 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ch.toStdString());
        EXPECT_EQ(FindCharacterRecord(c.ch), c.expected);
        EXPECT_EQ(FindCharacterRecordLinear(c.ch), c.expected);
    }

    // The index follows records appended later, and a table erased and refilled.
    AppendCharacterRecord(Record(QStringLiteral("九")));
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("九")), 11);
    State().CharacterTable.clear();
    State().CharacterCount = 0;
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("人")), 1) << "an empty table gives 1";
    AppendCharacterRecord(Record(QStringLiteral("八")));
    AppendCharacterRecord(Record(QString()));
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("八")), 1);
    EXPECT_EQ(FindCharacterRecord(QString()), 2) << "a record with an empty character";
}

TEST_F(TablesTest, TableStopsAtItsLimit)
{
    State().CharacterTable.reserve(TableLimit);
    for (int i = 0; i < TableLimit; ++i)
        ASSERT_TRUE(AppendCharacterRecord(Record(QString(QChar(0x4E00 + i)))));
    EXPECT_FALSE(AppendCharacterRecord(Record(QStringLiteral("Z"))));
    EXPECT_EQ(State().CharacterCount, TableLimit);
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("Z")), TableLimit + 1);
    AddWordToCharacterTable(QStringLiteral("\U0001F600"), QStringLiteral("x.i4"));
    EXPECT_EQ(State().CharacterCount, TableLimit);
}

// --- adding words learned on-line -----------------------------------------------------------

TEST_F(TablesTest, WordsWithNonChineseCharactersChangeNothing)
{
    AppendCharacterRecord(Record(QStringLiteral("你")));
    for (const char* word : {"你a", "你1", "你 好", "你，好", "a"}) {
        SCOPED_TRACE(word);
        AddWordToCharacterTable(QString::fromUtf8(word), QStringLiteral("n.i3 h.ao3 "));
        EXPECT_EQ(State().CharacterCount, 1);
        EXPECT_TRUE(State().CharacterTable[0].Phrases.isEmpty());
    }
}

TEST_F(TablesTest, OneCharacterWords)
{
    AppendCharacterRecord(Record(QStringLiteral("你")));
    AddWordToCharacterTable(QStringLiteral("你"), QStringLiteral("n.i2 "));
    EXPECT_EQ(State().CharacterCount, 1) << "a known character changes nothing";
    EXPECT_EQ(State().CharacterTable[0].ReadingCount(), 0);

    AddWordToCharacterTable(QStringLiteral("好"), QString());
    EXPECT_EQ(State().CharacterCount, 1) << "no pinyin, no record";

    AddWordToCharacterTable(QStringLiteral("好"), QStringLiteral("h.ao3 h.ao4 "));
    ASSERT_EQ(State().CharacterCount, 2);
    const CharacterRecord& hao = State().CharacterTable[1];
    ASSERT_EQ(hao.ReadingCount(), 2);
    ExpectReading(hao.Readings[0], {"h", "h.ao", "hao", "3", "3", "3"});
    ExpectReading(hao.Readings[1], {"h", "h.ao", "hao", "4", "4", "4"});
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("好")), 2);

    AddWordToCharacterTable(QStringLiteral("的"), QStringLiteral("de"));
    ASSERT_EQ(State().CharacterCount, 3) << "pinyin without a digit: a record without readings";
    EXPECT_EQ(State().CharacterTable[2].ReadingCount(), 0);

    AddWordToCharacterTable(QStringLiteral("儿"), QStringLiteral(".er2 "));
    ASSERT_EQ(State().CharacterCount, 4);
    ExpectReading(State().CharacterTable[3].Readings[0], {"e", ".er", "er", "2", "2", "2"});

    AddWordToCharacterTable(QStringLiteral("吗"), QStringLiteral("m.a0,"));
    ExpectReading(State().CharacterTable[4].Readings[0], {"m", "m.a", "ma", "0", "1", "0"});
}

TEST_F(TablesTest, PhrasesOfAddedWordsStandLongestFirst)
{
    AppendCharacterRecord(Record(QStringLiteral("中"), {"华人民", "国", "文", "间"}));
    struct Case {
        const char* word;
        QStringList phrases;
    };
    const Case cases[] = {
        {"中心", {"华人民", "国", "文", "间", "心"}},
        {"中国", {"华人民", "国", "文", "间", "心"}},
        {"中学生", {"华人民", "学生", "国", "文", "间", "心"}},
        {"中华人民共和国", {"华人民共和国", "华人民", "学生", "国", "文", "间", "心"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        AddWordToCharacterTable(QString::fromUtf8(c.word), QString());
        EXPECT_EQ(State().CharacterTable[0].Phrases, c.phrases);
    }
    EXPECT_EQ(State().CharacterCount, 1);
}

TEST_F(TablesTest, PhraseOfLengthTwoGoesAfterBothTwos)
{
    AppendCharacterRecord(Record(QStringLiteral("大"), {"学生们", "家人", "人们", "小"}));
    AddWordToCharacterTable(QStringLiteral("大熊猫"), QString());
    EXPECT_EQ(State().CharacterTable[0].Phrases,
              (QStringList{"学生们", "家人", "人们", "熊猫", "小"}));
    AddWordToCharacterTable(QStringLiteral("大人们"), QString());
    EXPECT_EQ(State().CharacterTable[0].PhraseCount(), 5) << "a repeat is not added";
}

TEST_F(TablesTest, LongerWordWithANewFirstCharacter)
{
    struct Case {
        const char* name;
        QString pinyin;
        bool added;
    };
    const Case cases[] = {
        {"first syllable only", QStringLiteral("h.ao3 r.en2 "), true},
        {"syllables written together", QStringLiteral("h.ao3r.en2"), true},
        {"empty pinyin", QString(), false},
        {"pinyin without digit", QStringLiteral("hao ren"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetState();
        AddWordToCharacterTable(QStringLiteral("好人"), c.pinyin);
        if (!c.added) {
            EXPECT_EQ(State().CharacterCount, 0);
            continue;
        }
        ASSERT_EQ(State().CharacterCount, 1);
        const CharacterRecord& r = State().CharacterTable[0];
        EXPECT_EQ(r.Character, QStringLiteral("好"));
        ASSERT_EQ(r.ReadingCount(), 1);
        ExpectReading(r.Readings[0], {"h", "h.ao", "hao", "3", "3", "3"});
        EXPECT_EQ(r.Phrases, QStringList{QStringLiteral("人")});
    }
}

// On-line readings may be written with commas between syllables: the reading rule skips
// commas wherever they stand, as it skips blanks.
TEST_F(TablesTest, CommasInTheReadingsOfAddedWords)
{
    struct Case {
        const char* word;
        QString pinyin;
        std::vector<ReadingFields> readings;
    };
    const Case cases[] = {
        {"好", QStringLiteral("h.ao3,h.ao4,"), {{"h", "h.ao", "hao", "3", "3", "3"}, {"h", "h.ao", "hao", "4", "4", "4"}}},
        {"好", QStringLiteral(",h.ao3"), {{"h", "h.ao", "hao", "3", "3", "3"}}},
        {"好", QStringLiteral("h.ao3 , h.ao4 "), {{"h", "h.ao", "hao", "3", "3", "3"}, {"h", "h.ao", "hao", "4", "4", "4"}}},
        {"好", QStringLiteral("h.a,o3"), {{"h", "h.ao", "hao", "3", "3", "3"}}},
        {"好", QStringLiteral(",,,"), {}},
        {"好人", QStringLiteral("h.ao3,r.en2,"), {{"h", "h.ao", "hao", "3", "3", "3"}}},
        {"好人", QStringLiteral(",h.ao3,r.en2,"), {{"h", "h.ao", "hao", "3", "3", "3"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pinyin.toStdString() + " for " + c.word);
        ResetState();
        AddWordToCharacterTable(QString::fromUtf8(c.word), c.pinyin);
        ASSERT_EQ(State().CharacterCount, 1);
        const CharacterRecord& r = State().CharacterTable[0];
        EXPECT_EQ(r.Character, QStringLiteral("好"));
        ASSERT_EQ(r.ReadingCount(), qint16(c.readings.size()));
        for (size_t i = 0; i < c.readings.size(); ++i)
            ExpectReading(r.Readings[qsizetype(i)], c.readings[i]);
    }
}

// The course's character files load before the on-line cache: a character in both keeps the
// readings of its file, cached words become phrases of the file's records, and characters
// known only on-line stand after all of the course's.
TEST_F(TablesTest, CourseRecordsComeBeforeOnlineRecords)
{
    class StepLog : public ProgressRecorder {
    public:
        void SetCaption(int step, const QString& text) override
        {
            ProgressRecorder::SetCaption(step, text);
            if (steps.isEmpty() || steps.last() != step)
                steps << step;
        }
        QList<int> steps;
    } log;
    WriteCoded(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq"), {"h.ao3", "好", "good"}, QStringLiteral("RW"));
    WriteCoded(QStringLiteral("Lessons/Script/Lesson_1/lifr.vmq"), {"h.ao3", "好。", "Good."}, QStringLiteral("RT"));
    WriteCoded(QStringLiteral("Vocabulary/zi1.vmq"), {"h.ao3 h.ao4", "好", "r.en2", "人"}, QStringLiteral("RW"));
    WriteText(QStringLiteral("Record/wangci.txt"),
        CodePage::ToGbk(QStringLiteral("山: [shān] hill\r\n好: [hào] to like\r\n好人: [hǎo rén] good person\r\n")));
    LoadCourseTables(log);

    EXPECT_EQ(log.steps, (QList<int>{1, 2, 3, 4}));
    const AppState& s = State();
    ASSERT_EQ(s.CharacterCount, 3);
    EXPECT_EQ(s.CharacterTable[0].Character, QStringLiteral("好"));
    EXPECT_EQ(s.CharacterTable[0].ReadingCount(), 2) << "the file's readings, not the cached one";
    EXPECT_EQ(s.CharacterTable[0].Phrases, QStringList{QStringLiteral("人")});
    EXPECT_EQ(s.CharacterTable[1].Character, QStringLiteral("人"));
    EXPECT_EQ(s.CharacterTable[2].Character, QStringLiteral("山"));
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("好")), 1);
}

// --- the on-line cache ------------------------------------------------------------------------

TEST_F(TablesTest, OnlineCacheLinesSkippedOrSplitAtTheFirstColon)
{
    struct Case {
        const char* line;
        const char* word; // nullptr: skipped
        const char* entry;
    };
    const Case cases[] = {
        {"a:b", nullptr, nullptr},
        {":hello", nullptr, nullptr},
        {"hello:", nullptr, nullptr},
        {"hello   :   ", nullptr, nullptr},
        {"no colon here", nullptr, nullptr},
        {"  hi: there  ", "hi", " there"},
        {"time: 10:30##", "time", " 10:30##"},
        {"ab:c", "ab", "c"},
    };
    QByteArray text;
    for (const Case& c : cases)
        text += QByteArray(c.line) + "\r\n";
    WriteText(QStringLiteral("Record/wangci.txt"), text);
    LoadOnlineWords(m_progress);

    const AppState& s = State();
    int k = 0;
    for (const Case& c : cases) {
        if (!c.word)
            continue;
        SCOPED_TRACE(c.line);
        ASSERT_LT(k, s.OnlineWordCount);
        EXPECT_EQ(s.OnlineWordTable[k].Word, QString::fromUtf8(c.word));
        EXPECT_EQ(s.OnlineWordTable[k].Entry, QString::fromUtf8(c.entry));
        ++k;
    }
    EXPECT_EQ(s.OnlineWordCount, k);
    EXPECT_EQ(m_progress.captionChanges[4], k) << "skipped lines change no caption";
    EXPECT_EQ(m_progress.captions[4], QStringLiteral("Step 4: loading vocabulary searched online: 3"));
    EXPECT_EQ(m_progress.values[4], 3);
}

TEST_F(TablesTest, OnlineCacheReadingsReachTheCharacterTable)
{
    AppendCharacterRecord(Record(QStringLiteral("你")));
    const QString text = QStringLiteral(
        "好: [hǎo] good; well##\r\n"          // tone marks inside brackets: the whole reading
        "人: [ren2] person##\r\n"              // numbered pinyin: up to the first digit only
        "你们: [nǐ men] you (plural)##\r\n"     // a known first character: a phrase
        "山: mountain##\r\n"                  // no bracket: no reading, no record
        "水: [shuǐ\r\n"                       // an unclosed bracket runs to the end
        "火: huǒ] fire\r\n");                 // a fresh scan for every line: no "["
    WriteText(QStringLiteral("Record/wangci.txt"), CodePage::ToGbk(text));
    LoadOnlineWords(m_progress);

    const AppState& s = State();
    EXPECT_EQ(s.OnlineWordCount, 6);
    struct Expected {
        const char* character;
        std::vector<ReadingFields> readings;
    };
    const Expected expected[] = {
        {"你", {}},
        {"好", {{"h", "h.ao", "hao", "3", "3", "3"}}},
        {"人", {{"r", "r.en", "ren", "0", "1", "0"}}}, // "ren" read as an unmarked syllable
        {"山", {}},
        {"水", {{"s", "shu.i", "shui", "3", "3", "3"}}},
        {"火", {}},
    };
    ASSERT_EQ(s.CharacterCount, 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(expected[i].character);
        const CharacterRecord& r = s.CharacterTable[i];
        EXPECT_EQ(r.Character, QString::fromUtf8(expected[i].character));
        ASSERT_EQ(r.ReadingCount(), qint16(expected[i].readings.size()));
        for (size_t k = 0; k < expected[i].readings.size(); ++k)
            ExpectReading(r.Readings[qsizetype(k)], expected[i].readings[k]);
    }
    EXPECT_EQ(s.CharacterTable[0].Phrases, QStringList{QStringLiteral("们")});
}

// One damaged cached reading must not stop the start: the lines after it load, and a dot
// copied into the reading leaves the tone with its own vowel.
TEST_F(TablesTest, OnlineCacheReadingsWithStrayDotsLoad)
{
    const QString text = QStringLiteral("好: [") + QString(300, QLatin1Char('.')) + QStringLiteral("hǎo] good\r\n"
        "口: [k.ǒu] mouth\r\n"
        "点: [....] dot\r\n"
        "人: [rén] person\r\n");
    WriteText(QStringLiteral("Record/wangci.txt"), CodePage::ToGbk(text));
    LoadOnlineWords(m_progress);

    const AppState& s = State();
    EXPECT_EQ(s.OnlineWordCount, 4);
    ASSERT_EQ(s.CharacterCount, 4);
    // The dots-only reading has no digit, so its character gets a record without readings.
    const std::vector<ReadingFields> expected[] = {{{"h", "h.ao", "hao", "3", "3", "3"}},
        {{"k", "k.ou", "kou", "3", "3", "3"}}, {}, {{"r", "r.en", "ren", "2", "2", "2"}}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const CharacterRecord& r = s.CharacterTable[i];
        ASSERT_EQ(r.ReadingCount(), qint16(expected[i].size()));
        for (size_t k = 0; k < expected[i].size(); ++k)
            ExpectReading(r.Readings[qsizetype(k)], expected[i][k]);
    }
}

TEST_F(TablesTest, OnlineCacheCountFileSetsTheBar)
{
    struct Case {
        const char* name;
        QByteArray count; // empty: no count file
        int maximum;
        int value;
    };
    const Case cases[] = {
        {"no count file: design maximum", {}, 100, 100},
        {"count below the lines: bar stops at it", CountRecord(3), 3, 3},
        {"count above the lines: bar stops short", CountRecord(500), 500, 120},
        {"zero count: design maximum", CountRecord(0), 100, 100},
    };
    QByteArray text;
    for (int i = 0; i < 120; ++i)
        text += "word" + QByteArray::number(i) + ": entry\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetState();
        m_progress = ProgressRecorder();
        QDir(Path(QStringLiteral("Record"))).removeRecursively();
        WriteText(QStringLiteral("Record/wangci.txt"), text);
        if (!c.count.isEmpty())
            WriteText(QStringLiteral("Record/Cang.vmq"), c.count);
        LoadOnlineWords(m_progress);
        EXPECT_EQ(State().OnlineWordCount, 120);
        EXPECT_EQ(m_progress.maxima[4], c.maximum);
        EXPECT_EQ(m_progress.values[4], c.value);
        EXPECT_EQ(QFile::exists(Path(QStringLiteral("Record/Cang.vmq"))), !c.count.isEmpty())
            << "loading never writes the Record folder";
    }
}

TEST_F(TablesTest, OnlineCacheMissingOrUnreadableLoadsNothing)
{
    LoadOnlineWords(m_progress);
    EXPECT_EQ(State().OnlineWordCount, 0);
    EXPECT_EQ(m_progress.captionChanges[4], 0);

    QDir().mkpath(Path(QStringLiteral("Record/wangci.txt")));
    LoadOnlineWords(m_progress);
    EXPECT_EQ(State().OnlineWordCount, 0);
}

TEST_F(TablesTest, OnlineTableStopsOneShortOfTheOthers)
{
    QByteArray text;
    for (int i = 0; i < OnlineTableLimit + 5; ++i)
        text += "w" + QByteArray::number(i) + ": e\r\n";
    WriteText(QStringLiteral("Record/wangci.txt"), text);
    LoadOnlineWords(m_progress);
    EXPECT_EQ(State().OnlineWordCount, OnlineTableLimit);
    EXPECT_EQ(State().OnlineWordTable.last().Word, QStringLiteral("w%1").arg(OnlineTableLimit - 1));
}

// --- the index against changes made behind its back ----------------------------------------

namespace {
// Every character of the table, and one it does not hold, must be found where the linear rule
// finds it.
void ExpectIndexAgrees(const char* situation)
{
    SCOPED_TRACE(situation);
    QStringList queries{QStringLiteral("无"), QString()};
    for (const CharacterRecord& r : std::as_const(State().CharacterTable))
        queries << r.Character;
    for (const QString& q : queries) {
        SCOPED_TRACE(q.toStdString());
        EXPECT_EQ(FindCharacterRecord(q), FindCharacterRecordLinear(q));
    }
}

void Fill(const QString& characters)
{
    for (const QChar c : characters)
        AppendCharacterRecord(Record(QString(c)));
}
} // namespace

TEST_F(TablesTest, TheIndexFollowsAnyChangeToTheTable)
{
    // Each case changes the state it is given: ResetState() below replaces the state object.
    const auto table = [](const QString& characters) {
        QVector<CharacterRecord> records;
        for (const QChar c : characters)
            records.append(Record(QString(c)));
        return records;
    };
    struct Case {
        const char* name;
        std::function<void(AppState&)> change;
    };
    const Case cases[] = {
        {"replaced by a table of the same size", [&](AppState& s) { s.CharacterTable = table(QStringLiteral("七六五四三二一")); }},
        {"shrunk with its count", [&](AppState& s) { s.CharacterTable.resize(3); s.CharacterCount = 3; }},
        {"count lowered alone", [&](AppState& s) { s.CharacterCount = 2; }},
        {"a character changed in place", [&](AppState& s) { s.CharacterTable[0].Character = QStringLiteral("新"); }},
        {"an early record removed", [&](AppState& s) { s.CharacterTable.removeAt(0); s.CharacterCount = qint16(s.CharacterTable.size()); }},
        {"a repeat put in front", [&](AppState& s) { s.CharacterTable.prepend(Record(QStringLiteral("五"))); ++s.CharacterCount; }},
        {"records swapped", [&](AppState& s) { s.CharacterTable.swapItemsAt(0, 4); }},
        {"erased and refilled by hand", [&](AppState& s) { s.CharacterTable = table(QStringLiteral("五六")); s.CharacterCount = 2; }},
    };
    for (const Case& c : cases) {
        ResetState();
        Fill(QStringLiteral("一二三四五六七"));
        ExpectIndexAgrees("before");
        AppState& s = State();
        c.change(s);
        ExpectIndexAgrees(c.name);
        // The table's own functions go on from the changed table.
        AppendCharacterRecord(Record(QStringLiteral("末")));
        ExpectIndexAgrees(c.name);
        EXPECT_EQ(FindCharacterRecord(QStringLiteral("末")), s.CharacterCount);
    }
}

TEST_F(TablesTest, AppendingAfterTheTableWasEmptiedBehindItsCountStartsAtOne)
{
    AppState& s = State();
    Fill(QStringLiteral("一二三"));
    s.CharacterTable.clear(); // the count is left at 3
    ASSERT_TRUE(AppendCharacterRecord(Record(QStringLiteral("好"))));
    EXPECT_EQ(s.CharacterCount, 1);
    ASSERT_EQ(s.CharacterTable.size(), 1);
    EXPECT_EQ(s.CharacterTable[0].Character, QStringLiteral("好"));
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("好")), 1);
}

TEST_F(TablesTest, ErasingTheCourseTablesZeroesTheirCountsSoTheyFillAgainFromOne)
{
    WriteCoded(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq"), {"h.ao3", "好", "good"}, QStringLiteral("RW"));
    WriteCoded(QStringLiteral("Lessons/Script/Lesson_1/lifr.vmq"), {"h.ao3", "好。", "Good."}, QStringLiteral("RT"));
    WriteCoded(QStringLiteral("Spoken/Script_1.vmq"), {"", "话题", "Topic", "n.i3", "你", "You"}, QStringLiteral("SP"));
    WriteCoded(QStringLiteral("Vocabulary/zi1.vmq"), {"h.ao3", "好人,", "r.en2", "人"}, QStringLiteral("RW"));
    WriteText(QStringLiteral("Record/wangci.txt"), CodePage::ToGbk(QStringLiteral("山: [shān] hill\r\n")));
    LoadCourseTables(m_progress);
    AppState& s = State();
    ASSERT_EQ(s.WordCount, 1);
    ASSERT_EQ(s.SentenceCount, 2);
    ASSERT_EQ(s.CharacterCount, 3);
    ASSERT_EQ(s.OnlineWordCount, 1);
    ASSERT_EQ(FindCharacterRecord(QStringLiteral("山")), 3);

    EraseCourseTables();
    EXPECT_TRUE(s.WordText[0].isEmpty() && s.WordText[1].isEmpty() && s.WordPinyin.isEmpty());
    EXPECT_TRUE(s.WordSource[0].isEmpty() && s.WordSource[1].isEmpty());
    EXPECT_TRUE(s.SentenceTable.isEmpty() && s.CharacterTable.isEmpty() && s.OnlineWordTable.isEmpty());
    const std::pair<const char*, qint16> counts[] = {{"WordCount", s.WordCount}, {"WordCountCopy", s.WordCountCopy},
        {"LessonEntryCount", s.LessonEntryCount}, {"SentenceCount", s.SentenceCount},
        {"SpokenFirstSentence", s.SpokenFirstSentence}, {"SpokenLastSentence", s.SpokenLastSentence},
        {"CharacterCount", s.CharacterCount}, {"OnlineWordCount", s.OnlineWordCount}};
    for (const auto& [name, count] : counts)
        EXPECT_EQ(count, 0) << name;
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("好")), 1) << "an empty table gives 1";

    // Filled again after the erase, the tables start from their first entry.
    AddWordToCharacterTable(QStringLiteral("山"), QStringLiteral("sh.an1 "));
    EXPECT_EQ(s.CharacterCount, 1);
    ASSERT_EQ(s.CharacterTable.size(), 1);
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("山")), 1);
    LoadCourseTables(m_progress);
    EXPECT_EQ(s.WordCount, 1);
    EXPECT_EQ(s.SentenceCount, 2);
    EXPECT_EQ(s.OnlineWordCount, 1);
    EXPECT_EQ(s.CharacterCount, 3) << "山 is known already, so the cache adds nothing";
    EXPECT_EQ(FindCharacterRecord(QStringLiteral("人")), 3);
}

// The vocabulary table, the sentence table with the lesson titles, and the preparation step,
// loaded from coded fixture files.

#include <QDir>

#include "AppState.h"
#include "TablesTestSupport.h"

namespace {

QString Lesson(int n, const char* file)
{
    return QStringLiteral("Lessons/Script/Lesson_%1/%2").arg(n).arg(QLatin1String(file));
}

} // namespace

// --- vocabulary ---------------------------------------------------------------------------

TEST_F(TablesTest, WordGroupsOfThreeLinesTrimmedAndPadded)
{
    WriteCoded(Lesson(1, "icwp.vmq"),
               {"  n.i3 h.ao3  ", " 你好 ", "hello; hi", "x.ie4x.ie0", "谢谢", "", "dangling"},
               QStringLiteral("RW"));
    LoadWordTable(m_progress);

    const AppState& s = State();
    ASSERT_EQ(s.WordCount, 2) << "the 7th line is a group of one and is ignored";
    EXPECT_EQ(s.WordCountCopy, s.WordCount);
    EXPECT_EQ(s.LessonEntryCount, 2);
    EXPECT_EQ(s.WordPinyin[0], QStringLiteral("n.i3 h.ao3")) << "inner blanks stay";
    EXPECT_EQ(s.WordText[0][0], QStringLiteral("你好"));
    EXPECT_EQ(s.WordText[1][0], QStringLiteral(" hello; hi "));
    EXPECT_EQ(s.WordText[1][1], QStringLiteral("  ")) << "an empty English line";
    EXPECT_EQ(s.WordSource[0][1], 1);
    EXPECT_EQ(s.WordSource[1][1], 1);
}

TEST_F(TablesTest, WordSourcesFollowFileNumbersAcrossGaps)
{
    WriteCoded(Lesson(2, "icwp.vmq"), {"h.ao3", "好", "good"}, QStringLiteral("RW"));
    WriteCoded(Lesson(4, "icwp.vmq"), {"r.en2", "人", "person"}, QStringLiteral("RW"));
    WriteCoded(QStringLiteral("Vocabulary/ci5.vmq"), {"h.ao3", "好", "fine", "sh.an1", "山", "hill"},
               QStringLiteral("VO"));
    LoadSettingsFiles(m_progress);
    LoadWordTable(m_progress);

    const AppState& s = State();
    ASSERT_EQ(s.WordCount, 4);
    EXPECT_EQ(s.LessonEntryCount, 2);
    struct Expected {
        const char* chinese;
        qint16 kind;
        qint16 number;
    };
    const Expected expected[] = {{"好", 1, 2}, {"人", 1, 4}, {"好", 2, 5}, {"山", 2, 5}};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k + 1);
        EXPECT_EQ(s.WordText[0][k], QString::fromUtf8(expected[k].chinese));
        EXPECT_EQ(s.WordSource[0][k], expected[k].kind);
        EXPECT_EQ(s.WordSource[1][k], expected[k].number);
    }
    EXPECT_EQ(m_progress.maxima[1], 238);
    EXPECT_EQ(m_progress.values[1], 3) << "one step per file that exists";
    EXPECT_EQ(m_progress.captionChanges[1], 3);
    EXPECT_EQ(m_progress.captions[1], QStringLiteral("Step 1: loading Chinese vocabulary: 4"));
}

TEST_F(TablesTest, WordCountEqualsLessonEntriesWithoutVocabularyFiles)
{
    WriteCoded(Lesson(1, "icwp.vmq"), {"h.ao3", "好", "good"}, QStringLiteral("RW"));
    LoadWordTable(m_progress);
    EXPECT_EQ(State().WordCount, State().LessonEntryCount);
    EXPECT_EQ(State().WordCount, 1);
}

TEST_F(TablesTest, VocabularyStopsAtItsLimitAndLoadingGoesOn)
{
    QStringList lines;
    for (int i = 0; i < 10000; ++i)
        lines << QStringLiteral("y.i1") << QStringLiteral("一") << QStringLiteral("one");
    for (int n = 1; n <= 4; ++n)
        WriteCoded(Lesson(n, "icwp.vmq"), lines, QStringLiteral("RW"));
    WriteCoded(QStringLiteral("Vocabulary/ci1.vmq"), {"r.en2", "人", "person"}, QStringLiteral("VO"));
    LoadWordTable(m_progress);

    const AppState& s = State();
    EXPECT_EQ(s.WordCount, 32767);
    EXPECT_EQ(s.LessonEntryCount, 32767);
    EXPECT_EQ(s.WordText[0].size(), 32767);
    EXPECT_EQ(s.WordSource[1].last(), 4);
    EXPECT_EQ(m_progress.values[1], 5) << "every file is still read and reported";
}

// --- sentences and lesson titles --------------------------------------------------------

TEST_F(TablesTest, LessonTitlesFromHeadingGroups)
{
    struct Case {
        const char* name;
        QStringList lines;
        QString title;
        int sentences;
    };
    const Case cases[] = {
        {"two headings joined",
         {"", "#", "Greetings", "", "#x", "Lesson one", "n.i3", "你", "you"},
         QStringLiteral("Greetings | Lesson one"), 1},
        {"empty heading leaves the title empty",
         {"", "#", "", "", "#", "Numbers ", "y.i1", "一", "one"},
         QStringLiteral("Numbers "), 1},
        {"blank before # makes a sentence", {"", " #", "not a heading"}, QString(), 1},
        {"no heading", {"n.i3", "你", "you", "h.ao3", "好", "good"}, QString(), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetState();
        QDir(Path(QStringLiteral("Lessons"))).removeRecursively();
        WriteCoded(Lesson(3, "lifr.vmq"), c.lines, QStringLiteral("RT"));
        LoadSettingsFiles(m_progress);
        LoadSentenceTable(m_progress, 0);
        const AppState& s = State();
        ASSERT_EQ(s.LessonTitles.size(), 91);
        EXPECT_EQ(s.LessonTitles[2], c.title);
        EXPECT_TRUE(s.LessonTitles[1].isEmpty()) << "a missing lesson text has no title";
        EXPECT_EQ(s.SentenceCount, c.sentences);
        for (const SentenceRecord& r : s.SentenceTable)
            EXPECT_EQ(r.Source, 3);
    }
}

TEST_F(TablesTest, SentenceRangesOfLessonsTopicAndDialogueScripts)
{
    WriteCoded(Lesson(1, "lifr.vmq"), {" n.i3 h.ao3 ", " 你好。 ", " Hello. "}, QStringLiteral("RT"));
    WriteCoded(QStringLiteral("Spoken/Script_2.vmq"),
               {"", "问路", "Asking the way", "a1", "甲", "A", "b1", "乙", "B", "c1", "丙", "C"},
               QStringLiteral("SP"));
    WriteCoded(QStringLiteral("Spoken/Script1.vmq"), {"d1", "丁", "D", "e1", "戊", "E"}, QStringLiteral("SP"));
    WriteCoded(QStringLiteral("Spoken/Script2.vmq"), {"f1", "己", "F"}, QStringLiteral("SP"));
    WriteCoded(QStringLiteral("Spoken/Script4.vmq"), {"g1", "庚", "G"}, QStringLiteral("SP"));

    const qint16 scripts = LoadSettingsFiles(m_progress);
    EXPECT_EQ(scripts, 2) << "only the unbroken run from 1 counts";
    EXPECT_EQ(m_progress.maxima[2], 113);
    LoadSentenceTable(m_progress, scripts);

    const AppState& s = State();
    ASSERT_EQ(s.SentenceCount, 7);
    EXPECT_EQ(s.SentenceTable[0].Pinyin, QStringLiteral("n.i3 h.ao3"));
    EXPECT_EQ(s.SentenceTable[0].Chinese, QStringLiteral("你好。"));
    EXPECT_EQ(s.SentenceTable[0].English, QStringLiteral("Hello."));
    EXPECT_EQ(s.SpokenFirstSentence, 2);
    EXPECT_EQ(s.SpokenLastSentence, 4) << "the topic's first group is skipped";
    const qint16 sources[] = {1, 93, 93, 93, 112, 112, 113};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(s.SentenceTable[i].Source, sources[i]);
    }
    EXPECT_EQ(s.SentenceTable[4].Chinese, QStringLiteral("丁")) << "a dialogue's first group counts";
    EXPECT_EQ(m_progress.values[2], 4);
    EXPECT_EQ(m_progress.captions[2], QStringLiteral("Step 2: loading Chinese sentences: 7"));
}

TEST_F(TablesTest, NoTopicScriptGivesAnEmptySpokenRange)
{
    WriteCoded(Lesson(1, "lifr.vmq"), {"n.i3", "你", "you", "h.ao3", "好", "good"}, QStringLiteral("RT"));
    LoadSentenceTable(m_progress, 0);
    EXPECT_EQ(State().SpokenFirstSentence, 3);
    EXPECT_EQ(State().SpokenLastSentence, State().SpokenFirstSentence - 1);
}

// --- preparation: dialogue count and the learner's records --------------------------------

TEST_F(TablesTest, MissingFirstDialogueScriptCountsNone)
{
    WriteCoded(QStringLiteral("Spoken/Script2.vmq"), {"a1", "甲", "A"}, QStringLiteral("SP"));
    EXPECT_EQ(LoadSettingsFiles(m_progress), 0);
    EXPECT_EQ(m_progress.maxima[2], 111);
}

TEST_F(TablesTest, RecordFilesGiveTheirLastLineTrimmed)
{
    struct Case {
        const char* name;
        const char* bytes; // nullptr: no file
        bool folder;       // a folder in place of the file: it exists but cannot be read
        QString expected;
    };
    const Case cases[] = {
        {"three lines give the third", "first\r\nsecond\r\n  third  \r\n", false, QStringLiteral("third")},
        {"blank last line gives empty", "teacher\r\n   \r\n", false, QString()},
        {"empty file gives empty", "", false, QString()},
        {"missing file keeps the value", nullptr, false, QStringLiteral("before")},
        {"unreadable file gives empty", nullptr, true, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetState();
        QDir(Path(QStringLiteral("Record"))).removeRecursively();
        State().TutorMailbox = QStringLiteral("before");
        State().UserName = QStringLiteral("before");
        for (const char* name : {"Record/tutor.txt", "Record/yourname.txt"}) {
            if (c.bytes)
                WriteText(QLatin1String(name), QByteArray(c.bytes));
            if (c.folder)
                QDir().mkpath(Path(QLatin1String(name)));
        }
        LoadSettingsFiles(m_progress);
        EXPECT_EQ(State().TutorMailbox, c.expected);
        EXPECT_EQ(State().UserName, c.expected);
    }
}

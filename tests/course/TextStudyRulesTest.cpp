// The rules of text study without windows: the rows of the lesson text (checked against a real
// rich-text box), the sentence list and its buttons, the sentence's progress bar, the word
// list's find and the questions notepad's prompt, file and checks.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CodePage.h"
#include "LessonText.h"
#include "LessonWordFind.h"
#include "QuestionNotes.h"
#include "RichTextBox.h"
#include "SafeFile.h"
#include "TestSupport.h"

namespace {

QVector<SentenceRecord> FixtureLines()
{
    return {
        {QStringLiteral("d.i4 y.i1 k.e4"), u"1)第一课"_qs, QStringLiteral("Lesson One"), 0},
        {QStringLiteral("n.i3 h.ao3"), u"1.你好（朋友）。"_qs, QStringLiteral("Hello (friend)."), 1},
        {QStringLiteral("k.e4 w.en2"), u"2)课文"_qs, QStringLiteral("Text"), 0},
        {QStringLiteral("xi.e4 xi.e0"), u"1.谢谢。"_qs, QStringLiteral("Thanks."), 1},
    };
}

// The blank after a builder's last control word ends the word: each row shows one blank less
// than the builder was given.
const QString Blanks11(11, QLatin1Char(' '));
const QString Blanks18(18, QLatin1Char(' '));
const QString Br = QStringLiteral("\r\n");

// The run of the box that holds text.
RtfPiece RunWith(const RichTextBox& box, const QString& text)
{
    for (const RtfPiece& p : box.Pieces())
        if (p.kind == RtfPiece::Text && p.text.contains(text))
            return p;
    ADD_FAILURE() << "no run holds " << text.toStdString();
    return {};
}

} // namespace

TEST(LessonTextRows, EachLineGivesItsRowsAndTheBoxShowsExactlyThePlainText)
{
    const QString expected =
        // A first-line heading has no gap; its Chinese and English share one paragraph.
        Blanks11 + u"dì yī kè "_qs + Br + u" 1)第一课"_qs + QStringLiteral("Lesson One ") + Br
        + Blanks11 + u"nǐ hǎo "_qs + Br + u" 1.你好（朋友）。 "_qs + Br + Blanks18 + QStringLiteral("Hello (friend). ") + Br
        // Every later heading: two empty paragraphs first.
        + Br + Br + Blanks11 + u"kè wén "_qs + Br + u" 2)课文"_qs + QStringLiteral("Text ") + Br
        + Blanks11 + u"xiè xie "_qs + Br + u" 1.谢谢。 "_qs + Br + Blanks18 + QStringLiteral("Thanks. ") + Br;

    const LessonTextDocument doc = BuildLessonText(FixtureLines(), false);
    EXPECT_EQ(doc.Plain, expected);

    RichTextBox box;
    for (const LessonTextRow& row : doc.Rows) {
        box.SetSelStart(box.TextLength());
        box.SetSelRTF(row.Rtf);
    }
    EXPECT_EQ(box.Text(), expected);

    const QStringList chinese{u"1)第一课"_qs, u"1.你好（朋友）。"_qs, u"2)课文"_qs, u"1.谢谢。"_qs};
    ASSERT_EQ(doc.ChineseStarts.size(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(box.Text().mid(doc.ChineseStarts[i], chinese[i].size()), chinese[i]);
    }

    const RtfPiece heading = RunWith(box, u"第一课"_qs);
    EXPECT_EQ(heading.format.color, QColor(255, 0, 0));
    EXPECT_TRUE(heading.format.bold);
    EXPECT_EQ(RunWith(box, u"你好"_qs).format.color, QColor(0, 0, 255));
    EXPECT_EQ(RunWith(box, QStringLiteral("Lesson One")).format.pointSize, 12);
    EXPECT_EQ(RunWith(box, QStringLiteral("Thanks.")).format.pointSize, 10);
}

TEST(LessonTextRows, ReadingAloudDropsOnlyTheFullWidthParentheses)
{
    QVector<SentenceRecord> lines = FixtureLines();
    lines[0].Chinese = u"1)第（一）课"_qs;
    const LessonTextDocument study = BuildLessonText(lines, false);
    const LessonTextDocument reading = BuildLessonText(lines, true);
    EXPECT_TRUE(study.Plain.contains(u"1.你好（朋友）。"_qs));
    EXPECT_TRUE(study.Plain.contains(u"1)第（一）课"_qs));
    EXPECT_TRUE(reading.Plain.contains(u" 1.你好朋友。 "_qs));
    EXPECT_TRUE(reading.Plain.contains(u" 1)第一课Lesson One"_qs));
    EXPECT_TRUE(reading.Plain.contains(QStringLiteral("Hello (friend). ")));
    EXPECT_EQ(reading.Plain.mid(reading.ChineseStarts[1], 7), u"1.你好朋友。"_qs);
}

TEST(LessonTextRows, AnExerciseShowsItsOwnChineseInTheSameRows)
{
    const SentenceRecord line = FixtureLines()[1];
    const QList<LessonTextRow> rows = LessonLineRows(line, 2, u"1.你__（朋友）。"_qs);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].Plain, u" 1.你__（朋友）。 "_qs + Br);
    const LessonTextDocument doc = BuildLessonText({FixtureLines()[0], line}, QStringList{u"1)第一课"_qs, u"1.你__（朋友）。"_qs});
    EXPECT_EQ(doc.Plain.mid(doc.ChineseStarts[1], 5), u"1.你__"_qs);
}

TEST(SentenceList, ItemsCounterAndButtons)
{
    EXPECT_EQ(SentenceListItems(FixtureLines()),
        (QStringList{"You can select from here.", "1. Lesson One", "2. Hello (friend).", "3. Text", "4. Thanks."}));
    EXPECT_EQ(SentenceCounter(3, 4), "3 / 4");

    struct Case {
        int index;
        SentenceButtons buttons;
    };
    const Case cases[] = {{0, {false, true}}, {1, {false, true}}, {2, {true, true}}, {3, {true, true}}, {4, {true, false}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(SentenceButtonsAt(c.index, 4), c.buttons);
    }
}

TEST(SentenceProgressBar, FollowsTheSentencesQueueToItsEnd)
{
    SentenceProgress progress;
    progress.SentenceStarted();
    struct Tick {
        qint16 count, pos;
        bool running, finished;
        float bar;
    };
    const Tick ticks[] = {{4, 1, true, false, 300}, {4, 2, true, false, 600}, {4, 2, true, false, 600},
        {4, 4, false, true, 1200}};
    for (const Tick& t : ticks) {
        SCOPED_TRACE(t.pos);
        const SentenceProgress::Step step = progress.Tick(t.count, t.pos, 1200);
        EXPECT_EQ(step.Running, t.running);
        EXPECT_EQ(step.Finished, t.finished);
        EXPECT_FLOAT_EQ(step.Bar, t.bar);
    }
    EXPECT_EQ(progress.CountSeen(), 4);
    progress.Clear();
    EXPECT_EQ(progress.CountSeen(), 0);
}

TEST(SentenceProgressBar, AnotherSoundStopsTheBarButANewSentenceDoesNot)
{
    SentenceProgress progress;
    progress.SentenceStarted();
    EXPECT_TRUE(progress.Tick(4, 1, 1200).Running);

    // The learner picks the next sentence: a new queue, announced.
    progress.SentenceStarted();
    SentenceProgress::Step step = progress.Tick(6, 1, 1200);
    EXPECT_TRUE(step.Running);
    EXPECT_FLOAT_EQ(step.Bar, 200);

    // A word of the word list takes the queue over unannounced.
    step = progress.Tick(2, 1, 1200);
    EXPECT_FALSE(step.Running);
    EXPECT_FALSE(step.Finished);
    EXPECT_EQ(step.Bar, 0);
    EXPECT_EQ(progress.CountSeen(), 0);
}

TEST(SentenceProgressBar, AnEmptyQueueShowsAnEmptyBar)
{
    SentenceProgress progress;
    progress.SentenceStarted();
    const SentenceProgress::Step step = progress.Tick(0, 0, 1200);
    EXPECT_FALSE(step.Running);
    EXPECT_TRUE(step.Finished);
    EXPECT_EQ(step.Bar, 0);
}

TEST(WordListFind, SearchTextDropsNotesAndDots)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"你好", u"你好"},
        {u"好(hǎo)", u"好"},
        {u"（注）朋友", u"朋友"},
        {u"第.一", u"第"},           // two parts joined by a dot: the first part
        {u"..第.一", u"第"},         // leading dots do not count as a part
        {u"好.", u"好"},             // a trailing dot joins nothing
        {u"打 电话", u""},           // a blank without a dot: no first part
    };
    for (const auto& [word, searched] : cases) {
        SCOPED_TRACE(QString::fromUtf16(word).toStdString());
        EXPECT_EQ(WordSearchText(QString::fromUtf16(word)), QString::fromUtf16(searched));
    }
}

TEST(WordListFind, EachWordIsFoundAfterTheWordsBeforeIt)
{
    const QString text = u"A好B你好C朋友D好(x)"_qs;
    const QStringList words{u"你好"_qs, u"好"_qs, u"A"_qs, u"朋友(péngyou)"_qs, u"第.一"_qs, u"好.的"_qs};
    struct Case {
        const char* name;
        int row;
        WordFindResult found;
    };
    const Case cases[] = {
        {"the first word", 1, {true, 3, 2}},
        {"a second occurrence after the previous word", 2, {true, 4, 1}},
        {"only before the previous word: its first occurrence", 3, {true, 0, 1}},
        {"a bracketed note is not searched", 4, {true, 6, 2}},
        {"absent: the selection stays", 5, {false, 0, 0}},
        {"a dotted word selects its first part", 6, {true, 9, 1}},
        {"no such row", 7, {false, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindListWord(text, words, c.row), c.found);
    }
}

TEST(QuestionNotesRules, ThePromptIsTheWholeTextOnly)
{
    const QString prompt = QuestionPrompt();
    const std::pair<QString, bool> cases[] = {
        {prompt, true},
        {prompt.toUpper(), true},
        {QStringLiteral("   ") + prompt + QStringLiteral(" "), true},
        {u"我的问题：\r\n"_qs + prompt, false}, // a question that quotes the prompt
        {QString(), false},
        {prompt.left(40), false},
    };
    for (const auto& [text, isPrompt] : cases) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(IsQuestionPrompt(text), isPrompt);
    }
}

TEST(QuestionNotesRules, QuestionsRoundTripThroughTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Question.txt");
    EXPECT_FALSE(ReadQuestions(path).has_value());

    const QString questions = u"“了”是什么意思？\r\n\r\nWhy 𠮷?\r\n\r\n"_qs;
    ASSERT_TRUE(WriteQuestions(path, questions));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), CodePage::ToGbk(questions) + "\r\n");
    f.close();
    EXPECT_EQ(ReadQuestions(path), questions);

    // Line feeds alone (as a text box gives them) are written as CR LF.
    ASSERT_TRUE(WriteQuestions(path, u"一\n二"_qs));
    EXPECT_EQ(ReadQuestions(path), u"一\r\n二"_qs);

    ASSERT_TRUE(WriteQuestions(path, QStringLiteral(" ") + QuestionPrompt()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "\r\n");
    EXPECT_EQ(ReadQuestions(path), QString());
}

// Questions longer than the file reads back are not written: the questions saved before stay.
TEST(QuestionNotesRules, QuestionsBeyondWhatTheFileReadsBackAreNotWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Question.txt");
    ASSERT_TRUE(WriteQuestions(path, u"问题"_qs));
    EXPECT_FALSE(WriteQuestions(path, QString(SafeFile::MaxTextFileBytes, u'a'))) << "with its line end, past the bound";
    EXPECT_EQ(ReadQuestions(path), u"问题"_qs);
}

TEST(QuestionNotesRules, SendChecksComeInOrder)
{
    struct Case {
        const char* tutor;
        const char* name;
        QString text;
        SendProblem problem;
    };
    const Case cases[] = {
        {"", "", QString(), SendProblem::NoTutor},
        {"lee", "", QString(), SendProblem::NoName},
        {"lee", "Ann", QString(), SendProblem::NoQuestion},
        {"lee", "Ann", QStringLiteral("    "), SendProblem::NoQuestion},
        {"lee", "Ann", QuestionPrompt().toLower(), SendProblem::NoQuestion},
        {"lee", "Ann", u"为什么？"_qs, SendProblem::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckQuestionsToSend(QLatin1String(c.tutor), QLatin1String(c.name), c.text), c.problem);
    }
    EXPECT_EQ(QuestionsSubject(QStringLiteral("Ann"), 7), "Ann's questions about lesson 7");
}

#include <gtest/gtest.h>

#include "DialogScript.h"
#include "TestSupport.h"

namespace {

// Dialogue shapes: the opening's English and the reply count of each dialogue.
struct Shape {
    QString opening;
    int replies;
    bool operator==(const Shape&) const = default;
};
void PrintTo(const Shape& s, std::ostream* os) { *os << s.opening.toStdString() << "/" << s.replies; }

QList<Shape> Shapes(const DialogScript& script)
{
    QList<Shape> out;
    for (const DialogRecord& d : script.Dialogs)
        out << Shape{d.Lines.value(0).English, d.ReplyCount()};
    return out;
}

TEST(DialogScript, ParsesNumberedDialoguesAndReportsMissingRepliesExceptForTheLast)
{
    const struct {
        const char* name;
        QStringList lines;
        QList<Shape> shapes;
        QStringList warnings;
    } cases[] = {
        {"two dialogues, blank lines anywhere",
            {"1", "", "你好！ = Hello!", "你好！=Hi!", "", "2", "", "谢谢。 =  Thanks.", "不客气。 = You're welcome."},
            {{"Hello!", 1}, {"Thanks.", 1}}, {}},
        {"last dialogue without replies is not reported",
            {"1", "你好！ = Hello!", "你好！ = Hi!", "2", "再见！ = Bye."}, {{"Hello!", 1}, {"Bye.", 0}}, {}},
        {"first dialogue without replies is reported and kept",
            {"1", "再见！ = Bye.", "2", "你好！ = Hello!", "你好！ = Hi!"}, {{"Bye.", 0}, {"Hello!", 1}},
            {"Error: Dialog 1 has no answers."}},
        {"lines before the first number line are passed over",
            {"你好！ = Stray.", "1", "你好！ = Hello!", "你好！ = Hi!"}, {{"Hello!", 1}}, {}},
        {"a line without '=' is passed over",
            {"1", "你好！ = Hello!", "no equals sign here", "你好！ = Hi!"}, {{"Hello!", 1}}, {}},
        {"two number lines in a row start one dialogue",
            {"1", "2", "你好！ = Hello!", "你好！ = Hi!"}, {{"Hello!", 1}}, {}},
        {"nothing but numbers gives no dialogue", {"1", "2", ""}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DialogScript script = ParseDialogScript(c.lines);
        EXPECT_EQ(Shapes(script), c.shapes);
        EXPECT_EQ(script.Warnings, c.warnings);
    }
}

TEST(DialogScript, SplitsAtTheFirstEqualsSign)
{
    DialogLine line;
    ASSERT_TRUE(SplitDialogLine(QStringLiteral("一加一 = 二 = One plus one is two."), line));
    EXPECT_EQ(line.Chinese, QStringLiteral("一加一"));
    EXPECT_EQ(line.English, QStringLiteral("二 = One plus one is two."));
    ASSERT_TRUE(SplitDialogLine(QStringLiteral(" 好  =  Fine  "), line));
    EXPECT_EQ(line.Chinese, QStringLiteral(" 好"));
    EXPECT_EQ(line.English, QStringLiteral("Fine  "));
    EXPECT_FALSE(SplitDialogLine(QStringLiteral("好"), line));
}

TEST(DialogScript, SoundFileNames)
{
    const struct {
        const char* english;
        const char* name;
    } cases[] = {
        {"Good-Bye.", "g.wav"},
        {"How are you?", "hay.wav"},
        {"Bye-Bye.", "b.wav"},
        {"Where is the nearest bus stop, please?", "witnb.wav"}, // five characters at most
        {"I am , fine . ok", "iafo.wav"},                        // marks after a blank add nothing
        {"Wait ", "w.wav"},                                      // a final blank counts, adds nothing
        {"A B C D E F", "abcde.wav"},
        {"\"Yes\" he said.", "\"hs.wav"},                        // a quotation mark stays first
        {"/etc is a folder", "_iaf.wav"},                        // separators stay inside the folder
        {"Go / now", "g_n.wav"},
        {"", ".wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(DialogSoundFileName(QString::fromUtf8(c.english)), QString::fromUtf8(c.name));
    }
}

TEST(DialogScript, FitScoresCountReplyCharactersFoundInTheOpening)
{
    const struct {
        const char16_t* reply;
        const char16_t* opening;
        int score;
    } cases[] = {
        {u"我想喝茶。", u"你想喝什么茶？", 3},   // 想 喝 茶; the closing mark is not counted
        {u"茶茶茶。", u"喝茶吗？", 3},           // each occurrence counts
        {u"好", u"好", 0},                       // one character: nothing is counted
        {u"。", u"你好。", 0},
        {u"OK.", u"ok?", 2},                     // case is ignored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.reply).toStdString());
        EXPECT_EQ(DialogFitScore(QString::fromUtf16(c.reply), QString::fromUtf16(c.opening)), c.score);
    }
}

TEST(DialogScript, PagesOfFive)
{
    const int counts[][2] = {{0, 0}, {1, 1}, {5, 1}, {6, 2}, {10, 2}, {11, 3}};
    for (const auto& c : counts) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(DialogPageCount(c[0]), c[1]);
    }
}

TEST(DialogScript, SearchFindsOpeningLinesByWords)
{
    const DialogScript script = ParseDialogScript({"1", "你好吗？ = How are you?", "好。 = Fine.", "2",
        "你去哪儿？ = Where are you going?", "去学校。 = To school.", "3", "谢谢。 = Thanks.", "不谢。 = Not at all.", "4",
        "你好。 = Hello you", "你好。 = Hi."});
    const struct {
        const char16_t* text;
        QList<int> found;
    } cases[] = {
        {u"are", {1, 2}}, {u"ARE you", {1, 2}}, {u"going", {2}}, // a blank before it is enough
        {u"Thanks.", {}},                                        // a line made of one word and a full stop
        {u"How", {1}}, {u"you", {1, 2, 4}}, {u"你", {1, 2, 4}}, {u"你好", {1, 4}}, {u"1", {}},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(SearchOpenings(script.Dialogs, text), c.found);
    }
}

} // namespace

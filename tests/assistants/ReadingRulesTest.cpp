#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "AppState.h"
#include "CharacterTable.h"
#include "CodePage.h"
#include "ReadingRules.h"
#include "TestSupport.h"

namespace {

TEST(ReadingOpenTest, PlainTextNamesEndInTxtInAnyCase)
{
    const struct {
        const char* path;
        bool text;
    } cases[] = {{"/a/b.txt", true}, {"/a/B.TXT", true}, {"/a/b.Txt", true}, {"/a/b.rtf", false}, {"/a/b.RTF", false},
        {"/a/btxt", true}, {"/a/b.txt.rtf", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(IsPlainTextName(QLatin1String(c.path)), c.text);
    }
}

TEST(ReadingOpenTest, TextIsUtf8WhenValidElseGb18030WithCrLfBetweenLines)
{
    const struct {
        const char* why;
        QByteArray bytes;
        const char16_t* text;
        bool ok;
    } cases[] = {
        {"UTF-8", QByteArray("你好\n我们"), u"你好\r\n我们", true},
        {"UTF-8 with its mark", QByteArray("\xEF\xBB\xBF你好"), u"你好", true},
        {"code page 936", CodePage::ToGbk(QStringLiteral("你好\r\n吗")), u"你好\r\n吗", true},
        {"GB18030 outside 936", QByteArray("\x81\x30\x81\x30"), u"\u0080", true},
        {"CR alone and a last line break", QByteArray("a\rb\r\n"), u"a\r\nb", true},
        {"empty lines stay", QByteArray("a\n\n\nb\n"), u"a\r\n\r\n\r\nb", true},
        {"ASCII", QByteArray("plain"), u"plain", true},
        {"nothing", QByteArray(), u"", true},
        {"neither: a byte no code starts with", QByteArray("\xC4\xE3\xFF"), u"你\uFFFD", false},
        {"neither: a code cut short at the end", QByteArray("\xC4\xE3\xC4"), u"你", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        bool ok = !c.ok;
        EXPECT_EQ(DecodeReadingText(c.bytes, &ok), QString::fromUtf16(c.text));
        EXPECT_EQ(ok, c.ok);
    }
}

class ReadingFileTest : public AppFixture {};

TEST_F(ReadingFileTest, OnlyAFileStartingAsRtfIsReadAsRtf)
{
    const QByteArray rtf("{\\rtf1\\ansi \\'c4\\'e3}");
    const struct {
        const char* name;
        QByteArray bytes;
        OpenedReading::Kind kind;
        const char16_t* text;
    } cases[] = {
        {"a.rtf", rtf, OpenedReading::Rtf, u""},
        {"b.RTF", "  \r\n" + rtf, OpenedReading::Rtf, u""},
        {"c.rtf", QByteArray("你好，{\\rtf"), OpenedReading::PlainText, u"你好，{\\rtf"},
        {"d.TXT", rtf, OpenedReading::PlainText, u"{\\rtf1\\ansi \\'c4\\'e3}"},
        {"e.doc", CodePage::ToGbk(QStringLiteral("我")), OpenedReading::PlainText, u"我"},
        {"f.txt", QByteArray("\xC4\xE3\xFF"), OpenedReading::Failed, u""},
        {"g.doc", QByteArray("\xFF"), OpenedReading::Failed, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(QLatin1String(c.name), c.bytes);
        const OpenedReading opened = ReadReadingFile(Path(QLatin1String(c.name)), 1024);
        EXPECT_EQ(opened.Result, c.kind);
        EXPECT_EQ(opened.Text, QString::fromUtf16(c.text));
        EXPECT_EQ(opened.Error.isEmpty(), c.kind != OpenedReading::Failed);
    }
    WriteFile(QStringLiteral("big.txt"), QByteArray(1025, 'a'));
    EXPECT_EQ(ReadReadingFile(Path(QStringLiteral("big.txt")), 1024).Result, OpenedReading::Failed);
    EXPECT_EQ(ReadReadingFile(Path(QStringLiteral("none.txt")), 1024).Result, OpenedReading::Failed);
    EXPECT_FALSE(ReadReadingFile(Path(QStringLiteral("none.txt")), 1024).Error.isEmpty());
    // A FIFO picked in the file dialog is refused without waiting for a writer.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path(QStringLiteral("pipe.txt"))).constData(), 0600), 0);
    const FifoUnblocker unblocker(Path(QStringLiteral("pipe.txt")));
    const OpenedReading pipe = ReadReadingFile(Path(QStringLiteral("pipe.txt")), 1024);
    EXPECT_EQ(pipe.Result, OpenedReading::Failed);
    EXPECT_FALSE(pipe.Error.isEmpty());
}

// Records what the routing asks of the window, one line per call.
class Recorder : public ReadingSelectionActions {
public:
    void ShowPopup(const QString& ch) override { calls << QStringLiteral("popup ") + ch; }
    QString LookUpOnline(const QString& word, int charIndex, const QString& context) override
    {
        calls << QStringLiteral("online %1 %2 [%3]").arg(word).arg(charIndex).arg(context);
        return widened.isEmpty() ? word : widened;
    }
    void LookUpLocal(const QString& word) override { calls << QStringLiteral("local ") + word; }
    void StartAnnotation(const QString& text) override { calls << QStringLiteral("annotate ") + text; }
    void Replay(const QString& pinyin) override { calls << QStringLiteral("replay ") + pinyin; }
    void Colour(int start, int length) override { calls << QStringLiteral("colour %1 %2").arg(start).arg(length); }
    void Collapse(int caret) override { calls << QStringLiteral("collapse %1").arg(caret); }

    QStringList calls;
    QString widened;
};

class ReadingRouteTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        AppendCharacterRecord({QStringLiteral("中"), {MakeReading(QStringLiteral("zh.ong"), QChar(u'1'))},
            {QStringLiteral("华人民共和国"), QStringLiteral("国")}});
        AppendCharacterRecord({QStringLiteral("好"), {MakeReading(QStringLiteral("h.ao"), QChar(u'3'))}, {}});
    }
};

TEST_F(ReadingRouteTest, RoutesBySelectionLengthShiftAndTheTickedBoxes)
{
    const QString text = QStringLiteral("今天中华人民共和国好 ok 一二三四五六七八九十一二三四五六七八九十一");
    struct Case {
        const char* why;
        int start;
        int length;
        int shift;
        bool local;
        bool online;
        bool colour;
        const char* calls;
    };
    const Case cases[] = {
        {"nothing selected", 3, 0, 0, true, false, false, ""},
        {"blanks only", 10, 1, 0, true, false, false, ""},
        {"Ctrl with one character: the pop-up alone", 2, 1, 2, true, false, true, "popup 中|collapse 3"},
        {"Ctrl with two characters: the ordinary road", 2, 2, 2, true, false, false, "local 中华"},
        {"Ctrl with a Latin letter", 11, 1, 2, false, false, false, "annotate o"},
        {"Ctrl and Shift: not the pop-up", 2, 1, 3, true, false, false, "local 中"},
        {"local look-up of 1 to 4", 0, 4, 0, true, false, false, "local 今天中华"},
        {"local box ticked, not all Chinese: nothing read", 9, 3, 0, true, false, false, ""},
        {"no box: read aloud", 0, 2, 0, false, false, false, "annotate 今天"},
        {"on-line with the context of the longest phrase", 2, 2, 0, false, true, false,
            "online 中华 1 [中华人民共和国]|annotate 中华"},
        {"on-line without phrases: no context", 9, 1, 0, false, true, false, "online 好 2 []|annotate 好"},
        {"on-line for a character without record", 0, 1, 0, false, true, false, "online 今 3 []|annotate 今"},
        {"blanks trimmed, start moved past them", 10, 4, 0, false, false, true, "annotate ok|colour 11 2|collapse 13"},
        {"5 to 20: read aloud only", 0, 5, 0, true, true, true, "annotate 今天中华人"},
        {"20", 14, 20, 0, true, false, false, "annotate 一二三四五六七八九十一二三四五六七八九十"},
        {"21 do nothing", 14, 21, 0, true, true, true, ""},
        {"colouring after the local look-up", 2, 1, 0, true, false, true, "local 中|colour 2 1|collapse 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Recorder actions;
        ReadingSelection s;
        s.BoxText = text;
        s.SelStart = c.start;
        s.SelLength = c.length;
        s.Shift = c.shift;
        s.LocalTicked = c.local;
        s.OnlineTicked = c.online;
        s.ColourTicked = c.colour;
        RouteReadingSelection(s, actions);
        EXPECT_EQ(actions.calls.join(QLatin1Char('|')), QString::fromUtf8(c.calls));
    }
}

TEST_F(ReadingRouteTest, TheSameSelectionReplaysAndARunningLookUpTakesNone)
{
    ReadingSelection s;
    s.BoxText = QStringLiteral("我们都是学生");
    s.SelStart = 0;
    s.SelLength = 6;
    s.LastText = QStringLiteral("我们都是学生");
    const struct {
        const char* why;
        const char* pinyin;
        bool annotating;
        const char* calls;
    } cases[] = {
        {"the same text: its pinyin again, no look-up", "wo3men0dou1shi4xue2sheng0", false,
            "replay wo3men0dou1shi4xue2sheng0"},
        {"the same text without pinyin: silence", "", false, ""},
        {"a look-up is running", "wo3", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        Recorder actions;
        s.LastPinyin = QLatin1String(c.pinyin);
        s.Annotating = c.annotating;
        RouteReadingSelection(s, actions);
        EXPECT_EQ(actions.calls.join(QLatin1Char('|')), QLatin1String(c.calls));
    }
    // The on-line dictionary's widened word is what is read aloud and coloured.
    Recorder actions;
    actions.widened = QStringLiteral("我们都");
    s.SelLength = 2;
    s.OnlineTicked = true;
    s.ColourTicked = true;
    s.Annotating = false;
    RouteReadingSelection(s, actions);
    EXPECT_EQ(actions.calls.join(QLatin1Char('|')),
        QStringLiteral("online 我们 3 []|annotate 我们都|colour 0 3|collapse 3"));
}

TEST(ReadingAutosaveTest, TheFirstChangeArmsTheClockWhoseFifthTickSaves)
{
    ReadingAutosave autosave;
    EXPECT_FALSE(autosave.Pending());
    EXPECT_TRUE(autosave.Changed());
    EXPECT_FALSE(autosave.Changed()) << "already counting";
    for (int tick = 1; tick <= 4; ++tick) {
        SCOPED_TRACE(tick);
        EXPECT_FALSE(autosave.Tick());
        EXPECT_EQ(autosave.Ticks(), tick);
    }
    EXPECT_TRUE(autosave.Tick());
    EXPECT_EQ(autosave.Ticks(), 0);
    EXPECT_TRUE(autosave.Pending()) << "until the save succeeds";
    autosave.Clear();
    EXPECT_FALSE(autosave.Pending());
    EXPECT_TRUE(autosave.Changed());
    autosave.Tick();
    autosave.Tick();
    autosave.ResetTicks();
    for (int tick = 1; tick <= 4; ++tick)
        EXPECT_FALSE(autosave.Tick());
    EXPECT_TRUE(autosave.Tick());
}

} // namespace

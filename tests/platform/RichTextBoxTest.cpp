// The rich-text box as the look-up windows drive it: positions that agree with the plain
// text, insertion at the caret, formatting of the selection, files, and the events.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontInfo>
#include <QGlyphRun>
#include <QMimeData>
#include <QRawFont>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "CodePage.h"
#include "RichTextBox.h"
#include "TestSupport.h"

namespace {

const QByteArray TwoParagraphs = "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\f0 a\\'c4\\'e3\\par b\\'ba\\'c3c}";

TEST(RichTextBoxPositions, ParagraphBreaksCountAsCrLfInTextAndPositions)
{
    RichTextBox box;
    box.SetTextRTF(QString::fromLatin1(TwoParagraphs));
    EXPECT_EQ(box.Text(), QStringLiteral("a你\r\nb好c"));
    EXPECT_EQ(box.TextLength(), 7);

    struct Case {
        int start, length;
        QString selected;
        int selStart, selLength;
    };
    const Case cases[] = {
        {0, 2, QStringLiteral("a你"), 0, 2},
        {1, 4, QStringLiteral("你\r\nb"), 1, 4},
        {4, 3, QStringLiteral("b好c"), 4, 3},
        {5, 99, QStringLiteral("好c"), 5, 2},      // clamped to the end
        {3, 0, QString(), 4, 0},                   // between CR and LF: the next paragraph
        {2, 1, QStringLiteral("\r\n"), 2, 2},      // half a break selects all of it
        {99, 0, QString(), 7, 0},
        {-5, 1, QStringLiteral("a"), 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << "+" << c.length);
        box.SetSelStart(c.start);
        EXPECT_EQ(box.SelLength(), 0);
        box.SetSelLength(c.length);
        EXPECT_EQ(box.SelText(), c.selected);
        EXPECT_EQ(box.SelStart(), c.selStart);
        EXPECT_EQ(box.SelLength(), c.selLength);
    }
}

TEST(RichTextBoxPositions, ALineBreakInsideAParagraphIsOneVerticalTab)
{
    RichTextBox box;
    box.SetTextRTF(QStringLiteral("{\\rtf1 a\\line b\\par c}"));
    EXPECT_EQ(box.Text(), QStringLiteral("a\vb\r\nc"));
    box.SetSelStart(2);
    box.SetSelLength(1);
    EXPECT_EQ(box.SelText(), QStringLiteral("b"));
    RichTextBox copy;
    copy.SetTextRTF(box.TextRTF());
    EXPECT_EQ(copy.Text(), box.Text());
}

TEST(RichTextBoxPositions, PlainTextSetterMakesParagraphsOfEveryLineBreak)
{
    RichTextBox box;
    box.SetText(QStringLiteral("一\r\n二\n三\r四"));
    EXPECT_EQ(box.Text(), QStringLiteral("一\r\n二\r\n三\r\n四"));
    const int at = box.Text().indexOf(QStringLiteral("四"));
    box.SetSelStart(at);
    box.SetSelLength(1);
    EXPECT_EQ(box.SelText(), QStringLiteral("四"));
    box.SetText(QStringLiteral("a\vb"));
    EXPECT_EQ(box.Text(), QStringLiteral("a\vb"));
    EXPECT_EQ(box.TextLength(), 3);
    box.SetText(QString());
    EXPECT_EQ(box.Text(), QString());
    EXPECT_EQ(box.TextLength(), 0);
}

TEST(RichTextBoxInsert, SelRtfInsertsAtTheCaretAndLeavesTheCaretAfterIt)
{
    RichTextBox box;
    box.SetText(QStringLiteral("abc"));
    box.SetSelStart(1);
    box.SetSelRTF(QStringLiteral("{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;}\\cf1 X\\par Y}"));
    EXPECT_EQ(box.Text(), QStringLiteral("aX\r\nYbc"));
    EXPECT_EQ(box.SelStart(), 5);
    // The inserted run is red; the text around it keeps the default colour.
    box.SetSelStart(1);
    box.SetSelLength(1);
    EXPECT_EQ(box.SelColor(), QColor(255, 0, 0));
    box.SetSelStart(0);
    box.SetSelLength(1);
    EXPECT_EQ(box.SelColor(), box.palette().color(QPalette::Text));
}

TEST(RichTextBoxInsert, SelRtfAndSelTextReplaceTheSelection)
{
    RichTextBox box;
    box.SetText(QStringLiteral("one two three"));
    box.SetSelStart(4);
    box.SetSelLength(3);
    box.SetSelRTF(QStringLiteral("{\\rtf1 2}"));
    EXPECT_EQ(box.Text(), QStringLiteral("one 2 three"));
    box.SetSelStart(0);
    box.SetSelLength(3);
    box.SetSelText(QStringLiteral("1\r\n"));
    EXPECT_EQ(box.Text(), QStringLiteral("1\r\n 2 three"));
    EXPECT_EQ(box.SelStart(), 3);
}

TEST(RichTextBoxInsert, TextRtfReplacesEverythingAndPutsTheCaretAtTheStart)
{
    RichTextBox box;
    box.SetText(QStringLiteral("old text"));
    box.SetSelStart(5);
    box.SetTextRTF(QStringLiteral("{\\rtf1 new}"));
    EXPECT_EQ(box.Text(), QStringLiteral("new"));
    EXPECT_EQ(box.SelStart(), 0);
}

TEST(RichTextBoxInsert, SelRtfGivesTheSelectedRunsBack)
{
    RichTextBox box;
    box.SetTextRTF(QString::fromLatin1(TwoParagraphs));
    box.SetSelStart(1);
    box.SetSelLength(4);
    RichTextBox other;
    other.SetTextRTF(box.SelRTF());
    EXPECT_EQ(other.Text(), QStringLiteral("你\r\nb"));
    EXPECT_EQ(other.Pieces().first().format.fontName, QStringLiteral("宋体"));
}

TEST(RichTextBoxFormat, FormattingTheSelectionChangesOnlyThoseCharacters)
{
    RichTextBox box;
    box.SetText(QStringLiteral("你好吗"));
    box.SetSelStart(1);
    box.SetSelLength(1);
    box.SetSelColor(QColor(10, 20, 30));
    box.SetSelFontName(QStringLiteral("Microsoft Sans Serif"));
    box.SetSelFontSize(24);
    box.SetSelBold(true);
    EXPECT_EQ(box.SelColor(), QColor(10, 20, 30));
    EXPECT_EQ(box.SelFontName(), QStringLiteral("Microsoft Sans Serif"));
    EXPECT_EQ(box.SelFontSize(), 24);
    EXPECT_TRUE(box.SelBold());
    const QVector<RtfPiece> pieces = box.Pieces();
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[1].text, QStringLiteral("好"));
    EXPECT_EQ(pieces[1].format.color, QColor(10, 20, 30));
    EXPECT_FALSE(pieces[0].format.color.isValid());
    EXPECT_FALSE(pieces[2].format.bold);
    // The whole text in one style, as the reading helper formats it.
    box.SetSelStart(0);
    box.SetSelLength(box.TextLength());
    box.SetSelFontName(QStringLiteral("Microsoft Sans Serif"));
    box.SetSelFontSize(24);
    box.SetSelColor(Qt::black);
    box.SetSelBold(false);
    box.SetSelItalic(false);
    box.SetSelUnderline(false);
    EXPECT_EQ(box.Pieces().size(), 1);
}

TEST(RichTextBoxFormat, AnUndefinedColourIndexShowsTheDefaultColour)
{
    RichTextBox box;
    box.SetTextRTF(QStringLiteral("{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}\\cf1 a\\cf2 b}"));
    box.SetSelStart(1);
    box.SetSelLength(1);
    EXPECT_EQ(box.SelColor(), box.palette().color(QPalette::Text));
}

TEST(RichTextBoxFonts, FontNamesOfTheDocumentsDrawInInstalledFonts)
{
    RichTextBox box; // installs the substitutions
    struct Case {
        QString name;
        QString chineseFamily;
    };
    const Case cases[] = {
        {QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC")},
        {QStringLiteral("Times New Roman"), QStringLiteral("Noto Serif CJK SC")},
        {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_TRUE(RichTextBox::DrawingFamilies(c.name).contains(c.chineseFamily, Qt::CaseInsensitive));
        QFont font;
        font.setFamilies({c.name});
        font.setPointSize(16);
        // Chinese characters draw in the simplified Chinese forms, whatever the run's font.
        QTextLayout layout(QStringLiteral("中文"), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        ASSERT_EQ(runs.size(), 1);
        EXPECT_EQ(runs.first().rawFont().familyName().toLower(), c.chineseFamily.toLower());
    }
    QFont roman;
    roman.setFamilies({QStringLiteral("Times New Roman")});
    EXPECT_NE(QFontInfo(roman).family(), QStringLiteral("Noto Serif CJK SC")) << "Latin text takes the installed serif font";
}

class RichTextBoxFiles : public AppFixture {};

TEST_F(RichTextBoxFiles, SavedRtfLoadsBackToTheSameTextAndRuns)
{
    RichTextBox box;
    box.SetTextRTF(QString::fromLatin1(TwoParagraphs));
    box.SetSelStart(0);
    box.SetSelLength(1);
    box.SetSelColor(QColor(1, 2, 3));
    ASSERT_TRUE(box.SaveFile(Path("Reading.rtf")));
    RichTextBox loaded;
    ASSERT_TRUE(loaded.LoadFile(Path("Reading.rtf")));
    EXPECT_EQ(loaded.Text(), box.Text());
    const QVector<RtfPiece> a = box.Pieces();
    const QVector<RtfPiece> b = loaded.Pieces();
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a[i].text, b[i].text);
        EXPECT_EQ(a[i].format.color, b[i].format.color);
        EXPECT_EQ(a[i].format.fontName, b[i].format.fontName);
    }
    EXPECT_FALSE(QDir(Path("")).entryList(QDir::Files).join(' ').contains(QStringLiteral(".tmp")));
}

TEST_F(RichTextBoxFiles, TextFilesAreCodePage936WithCrLf)
{
    RichTextBox box;
    box.SetText(QStringLiteral("你好\r\nab"));
    ASSERT_TRUE(box.SaveFile(Path("t.txt"), RichTextBox::TextFile));
    EXPECT_EQ(ReadFile("t.txt"), CodePage::ToGbk(QStringLiteral("你好\r\nab")));
    RichTextBox loaded;
    ASSERT_TRUE(loaded.LoadFile(Path("t.txt"), RichTextBox::TextFile));
    EXPECT_EQ(loaded.Text(), QStringLiteral("你好\r\nab"));
}

TEST_F(RichTextBoxFiles, AFileThatIsNotRtfLoadsAsTextAndAMissingOneFails)
{
    WriteFile("plain.rtf", CodePage::ToGbk(QStringLiteral("只是文字 {not rtf}")));
    RichTextBox box;
    box.SetText(QStringLiteral("kept"));
    ASSERT_TRUE(box.LoadFile(Path("plain.rtf")));
    EXPECT_EQ(box.Text(), QStringLiteral("只是文字 {not rtf}"));
    box.SetText(QStringLiteral("kept"));
    EXPECT_FALSE(box.LoadFile(Path("missing.rtf")));
    EXPECT_EQ(box.Text(), QStringLiteral("kept"));
}

TEST_F(RichTextBoxFiles, AFileBeyondTheBoundIsRefusedWithAReasonAndTheBoxKeepsItsText)
{
    // Sparse files one byte over the bound, as RTF and as text; and RTF exactly at the bound,
    // all but its last word in a group the reader skips (a text file of that size is more
    // than the box lays out).
    WriteFile("big.rtf", "{\\rtf1 ");
    WriteFile("big.txt", "text");
    const QByteArray edgeHead = "{\\rtf1{\\*\\skipped ";
    const QByteArray edgeTail = "}end}";
    WriteFile("edge.rtf", edgeHead + QByteArray(RichTextBox::MaxFileBytes - edgeHead.size() - edgeTail.size(), 'x') + edgeTail);
    ASSERT_TRUE(QFile(Path("big.rtf")).resize(RichTextBox::MaxFileBytes + 1));
    ASSERT_TRUE(QFile(Path("big.txt")).resize(RichTextBox::MaxFileBytes + 1));
    const struct {
        const char* file;
        RichTextBox::FileType type;
    } refused[] = {{"big.rtf", RichTextBox::RtfFile}, {"big.txt", RichTextBox::TextFile}, {"big.txt", RichTextBox::RtfFile}};
    RichTextBox box;
    for (const auto& c : refused) {
        SCOPED_TRACE(c.file);
        box.SetText(QStringLiteral("kept"));
        EXPECT_FALSE(box.LoadFile(Path(c.file), c.type));
        EXPECT_FALSE(box.LoadError().isEmpty());
        EXPECT_EQ(box.Text(), QStringLiteral("kept"));
    }
    EXPECT_TRUE(box.LoadFile(Path("edge.rtf")));
    EXPECT_TRUE(box.LoadError().isEmpty());
    EXPECT_EQ(box.Text(), QStringLiteral("end"));
    EXPECT_FALSE(box.LoadFile(Path("missing.txt"), RichTextBox::TextFile));
    EXPECT_FALSE(box.LoadError().isEmpty());
    // A FIFO is refused without waiting for a writer.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.rtf")).constData(), 0600), 0);
    {
        const FifoUnblocker unblocker(Path("pipe.rtf"));
        EXPECT_FALSE(box.LoadFile(Path("pipe.rtf")));
    }
    EXPECT_FALSE(box.LoadError().isEmpty());

    // Saving keeps to the same bound: what could not be loaded again is not written.
    WriteFile("kept.rtf", "{\\rtf1 old}");
    // Eight bytes of RTF a character.
    ASSERT_TRUE(box.SetText(QStringList(int(RichTextBox::MaxFileBytes / 8000 + 1), QString(1000, QChar(0x4E2D))).join(u'\n')));
    EXPECT_FALSE(box.SaveFile(Path("kept.rtf")));
    EXPECT_FALSE(box.SaveError().isEmpty());
    EXPECT_EQ(ReadFile("kept.rtf"), QByteArray("{\\rtf1 old}"));
    // Nor what the RTF reader would not take back whole.
    ASSERT_TRUE(box.SetText(QStringList(int(Rtf::MaxPieces / 2 + 1), QStringLiteral("a")).join(u'\n')));
    EXPECT_FALSE(box.SaveFile(Path("kept.rtf")));
    EXPECT_FALSE(box.SaveError().isEmpty());
    EXPECT_EQ(ReadFile("kept.rtf"), QByteArray("{\\rtf1 old}"));
    // Nor what would be too tall to lay out at the box's width: here the box was narrowed
    // under a text of two lines a paragraph, which then takes six.
    box.resize(900, 300);
    ASSERT_TRUE(box.SetTextRTF(QStringLiteral("{\\rtf1\\fs144 ") + QStringLiteral("aaaa bbbb cccc dddd eeee ffff\\par ").repeated(40000) + u'}'));
    box.resize(300, 300);
    EXPECT_FALSE(box.SaveFile(Path("kept.rtf")));
    EXPECT_FALSE(box.SaveError().isEmpty());
    EXPECT_EQ(ReadFile("kept.rtf"), QByteArray("{\\rtf1 old}"));
    box.SetText(QStringLiteral("中"));
    EXPECT_TRUE(box.SaveFile(Path("kept.rtf")));
    EXPECT_TRUE(box.SaveError().isEmpty());
}

TEST(RichTextBoxLayout, ALongTextIsLaidOutOnceItIsInAndThenToItsEndHoweverTall)
{
    // Wide enough for a line at 400 points to stay one line.
    RichTextBox box;
    box.resize(3000, 300);
    box.show();
    QString text;
    for (int line = 0; line < 12000; ++line)
        text += QStringLiteral("第%1行\r\n").arg(line);
    const QString rtf = [&] {
        RichTextBox source;
        source.SetText(text);
        return source.TextRTF();
    }();
    auto laidOut = [&](const QTextBlock& b) { return b.layout() && b.layout()->lineCount() > 0; };
    const struct {
        const char* why;
        std::function<void()> edit;
    } edits[] = {
        {"set as text", [&] { box.SetText(text); }},
        {"set as RTF", [&] { box.SetTextRTF(rtf); }},
        {"formatted whole, taller than the text layout's own page (8,388,607 pixels)",
            [&] { box.FormatAll(QStringLiteral("Arial"), 400, Qt::blue, true, false); }},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.why);
        e.edit();
        EXPECT_TRUE(laidOut(box.document()->firstBlock()));
        EXPECT_FALSE(laidOut(box.document()->lastBlock()));
        // The rest follows, whole.
        box.SetSelStart(box.TextLength());
        ASSERT_TRUE(laidOut(box.document()->lastBlock()));
        EXPECT_GT(box.verticalScrollBar()->value(), 0);
        EXPECT_EQ(box.Text(), text);
    }
    EXPECT_GT(box.document()->lastBlock().layout()->position().y(), 8388607);
    box.SetSelStart(0);
    box.SetSelLength(2);
    EXPECT_EQ(box.SelFontName(), QStringLiteral("Arial"));
    EXPECT_EQ(box.SelColor(), QColor(Qt::blue));
}

// A shown box of the reading helper's size, in a large font: few lines reach the layout's limit.
class RichTextBoxLimits : public testing::Test {
protected:
    RichTextBoxLimits()
    {
        box.setFont(QFont(QStringLiteral("Microsoft Sans Serif"), 72));
        box.resize(753, 308);
        box.show();
    }
    // Ctrl+End lays the whole text out and shows its end; the layout then stays finished (one
    // past its limit starts again from the top for good, and the end is lost).
    void ExpectEndReachedAndKept()
    {
        QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
        const QScrollBar* bar = box.verticalScrollBar();
        auto turns = [] {
            for (int turn = 0; turn < 100; ++turn)
                QCoreApplication::processEvents();
        };
        turns();
        const int end = bar->maximum();
        EXPECT_GT(bar->value(), 0);
        EXPECT_EQ(box.SelStart(), box.TextLength());
        EXPECT_TRUE(box.viewport()->rect().contains(box.cursorRect().topLeft()));
        turns();
        const QTextBlock last = box.document()->lastBlock();
        EXPECT_TRUE(last.layout() && last.layout()->lineCount() > 0);
        EXPECT_EQ(bar->maximum(), end);
        EXPECT_LT(box.document()->documentLayout()->documentSize().height(), 21474836);
    }
    RichTextBox box;
};

QString Words(int characters) { return QStringLiteral("abcd ").repeated(characters / 5); }

TEST_F(RichTextBoxLimits, ATextTheLayoutCouldNotFinishIsRefusedAndJustInsideIsLaidOutToItsEnd)
{
    const struct {
        const char* why;
        QString text;
        bool taken;
    } cases[] = {
        {"empty lines just within the height", QString(175000, u'\n'), true},
        {"empty lines past the height the layout finishes", QString(195000, u'\n'), false},
        {"a paragraph of words", Words(300000), true},
        {"a paragraph of two million words", Words(2100000), false},
        {"a word of 100,000 letters", QString(100000, u'a'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        box.SetText(QStringLiteral("kept"));
        const bool taken = box.SetText(c.text);
        EXPECT_EQ(taken, c.taken);
        if (taken)
            ExpectEndReachedAndKept();
        else
            EXPECT_EQ(box.Text(), QStringLiteral("kept"));
    }
}

TEST_F(RichTextBoxLimits, FormattingAndInsertingStopBeforeTheTextIsTooTall)
{
    ASSERT_TRUE(box.SetText(QString(100000, u'\n')));
    // Set at 400 points, the lines would be far too tall: neither the whole nor a selection is.
    EXPECT_FALSE(box.FormatAll(QStringLiteral("Arial"), 400, Qt::blue, false, false));
    box.SetSelStart(0);
    box.SetSelLength(box.TextLength());
    box.SetSelFontSize(400);
    EXPECT_DOUBLE_EQ(box.SelFontSize(), 72);
    EXPECT_EQ(box.document()->blockCount(), 100001);

    // Insertions of lines at 200 points (at the start, where little is laid out again) are
    // taken until the next would make the text too tall.
    box.SetText(QString());
    const QString lines = QStringLiteral("{\\rtf1\\fs400 ") + QStringLiteral("\\par ").repeated(1000) + u'}';
    int taken = 0;
    for (box.SetSelStart(0); box.SetSelRTF(lines); box.SetSelStart(0))
        ++taken;
    EXPECT_GT(taken, 55);
    EXPECT_EQ(box.document()->blockCount(), 1000 * taken + 1);
    ExpectEndReachedAndKept();
}

TEST(RichTextBoxEvents, MouseUpComesAfterTheSelectionIsMade)
{
    RichTextBox box;
    box.resize(400, 200);
    box.SetText(QStringLiteral("你好吗 hello"));
    box.show();
    QString selectedAtMouseUp;
    int button = 0;
    double x = -1;
    QObject::connect(&box, &RichTextBox::MouseUp, &box, [&](int b, int, double px, double) {
        button = b;
        x = px;
        selectedAtMouseUp = box.SelText();
    });
    QWidget* vp = box.viewport();
    const QRect first = box.cursorRect(QTextCursor(box.document()));
    QTextCursor afterTwo(box.document());
    afterTwo.setPosition(2);
    const QRect second = box.cursorRect(afterTwo);
    QTest::mousePress(vp, Qt::LeftButton, {}, first.center());
    QTest::mouseMove(vp, second.center());
    QTest::mouseRelease(vp, Qt::LeftButton, {}, second.center());
    EXPECT_EQ(button, 1);
    EXPECT_EQ(selectedAtMouseUp, QStringLiteral("你好"));
    EXPECT_GT(x, 0);
}

TEST(RichTextBoxEvents, KeyDownComesBeforeTheKeyActsAndKeyUpAfter)
{
    RichTextBox box;
    box.SetText(QStringLiteral("abcdef"));
    box.show();
    QList<int> order;
    // The look-up windows' rule: every key collapses the selection to its end.
    QObject::connect(&box, &RichTextBox::KeyDown, &box, [&](int code, int) {
        order << code;
        box.SetSelStart(box.SelStart() + box.SelLength());
    });
    QObject::connect(&box, &RichTextBox::KeyUp, &box, [&](int code, int) { order << -code; });
    box.SetSelStart(1);
    box.SetSelLength(2);
    QTest::keyClick(&box, Qt::Key_Right);
    EXPECT_EQ(box.SelStart(), 4);
    EXPECT_EQ(box.SelLength(), 0);
    EXPECT_EQ(order, (QList<int>{39, -39}));
}

TEST(RichTextBoxEvents, ChangeFiresOncePerProgramChangeAndForFormatting)
{
    RichTextBox box;
    QSignalSpy changes(&box, &RichTextBox::Change);
    box.SetTextRTF(QStringLiteral("{\\rtf1 a\\par b\\par c}"));
    EXPECT_EQ(changes.count(), 1);
    box.SetSelStart(0);
    box.SetSelLength(1);
    box.SetSelColor(Qt::red);
    EXPECT_EQ(changes.count(), 2);
    box.SetText(QStringLiteral("new"));
    EXPECT_EQ(changes.count(), 3);
}

TEST(RichTextBoxEvents, PastedHtmlArrivesAsParagraphsAndRuns)
{
    RichTextBox box;
    box.SetText(QStringLiteral("[]"));
    box.SetSelStart(1);
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<p><b>你好</b> world</p><table><tr><td>x</td><td>y</td></tr></table>"));
    QApplication::clipboard()->setMimeData(data);
    box.paste();
    const QString text = box.Text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("[你好 world\r\n"))) << text.toStdString();
    const int at = text.indexOf(QLatin1Char('y'));
    box.SetSelStart(at);
    box.SetSelLength(1);
    EXPECT_EQ(box.SelText(), QStringLiteral("y"));
}

} // namespace

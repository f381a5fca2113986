// What the learner sees: each builder's document loaded into the rich-text box gives the
// expected plain text and runs (font, size, colour, weight), and positions found in the text
// select the same characters.

#include <gtest/gtest.h>

#include "Module3Rtf.h"
#include "RichTextBox.h"
#include "TestSupport.h"

namespace {

const QString Song = QStringLiteral("宋体");
const QString Roman = QStringLiteral("Times New Roman");
const QString Sans = QStringLiteral("Microsoft Sans Serif");

// "text|font|size|colour|b" for each run; "auto" is the box's default colour.
QStringList Runs(const RichTextBox& box)
{
    QStringList out;
    for (const RtfPiece& p : box.Pieces()) {
        if (p.kind != RtfPiece::Text)
            continue;
        const RtfCharFormat& f = p.format;
        out << QStringLiteral("%1|%2|%3|%4%5")
                   .arg(p.text, f.fontName, QString::number(f.pointSize),
                        f.color.isValid() ? f.color.name() : QStringLiteral("auto"), f.bold ? QStringLiteral("|b") : QString());
    }
    return out;
}

QString RunOf(const QString& text, const QString& font, double size, const QString& color, bool bold = false)
{
    return QStringLiteral("%1|%2|%3|%4%5").arg(text, font, QString::number(size), color, bold ? QStringLiteral("|b") : QString());
}

struct RenderCase {
    const char* name;
    QString rtf;
    QString plain;
    QStringList runs;
};

TEST(BuilderRendering, EachBuilderShowsItsTextInItsStyle)
{
    const QString black = QStringLiteral("#000000");
    const QString red = QStringLiteral("#ff0000");
    const QString blue = QStringLiteral("#0000ff");
    const QString grey = QStringLiteral("#404040");
    const RenderCase cases[] = {
        {"black Roman 16 with Song for two-byte characters", RtfBlackRoman16Par(QStringLiteral("Nǐ hǎo 你好 3")),
         QStringLiteral("Nǐ hǎo 你好 3\r\n"),
         {RunOf("N", Roman, 16, black), RunOf(QStringLiteral("ǐ"), Song, 16, black), RunOf(" h", Roman, 16, black),
          RunOf(QStringLiteral("ǎ"), Song, 16, black), RunOf("o ", Roman, 16, black), RunOf(QStringLiteral("你好"), Song, 16, black),
          RunOf(" 3", Roman, 16, black)}},
        {"a digit right after a Chinese character stays visible", RtfBlackRoman16Par(QStringLiteral("第3课")),
         QStringLiteral("第3课\r\n"),
         {RunOf(QStringLiteral("第"), Song, 16, black), RunOf("3", Roman, 16, black), RunOf(QStringLiteral("课"), Song, 16, black)}},
        {"bold red Song 24", RtfBoldRedSong24(QStringLiteral("你好")), QStringLiteral("你好"),
         {RunOf(QStringLiteral("你好"), Song, 24, red, true)}},
        {"bold blue Song 24 paragraph", RtfBoldBlueSong24Par(QStringLiteral("  你 好")), QStringLiteral(" 你 好\r\n"),
         {RunOf(QStringLiteral(" 你 好"), Song, 24, blue, true)}},
        {"grey sans 10: a leading blank ends the control word", RtfGreySans10Par(QStringLiteral(" 1 Hello")),
         QStringLiteral("1 Hello\r\n"), {RunOf("1 Hello", Sans, 10, grey)}},
        {"grey sans 12 with a leading digit", RtfGreySans12(QStringLiteral("2 ways")), QStringLiteral("2 ways"),
         {RunOf("2 ways", Sans, 12, grey)}},
        {"red sans 12 notice", RtfRedSans12(QStringLiteral("Sorry, it is not found.")), QStringLiteral("Sorry, it is not found."),
         {RunOf("Sorry, it is not found.", Sans, 12, red)}},
        {"RTF characters in the text show as typed", RtfRedSans12Par(QStringLiteral("a\\b{c}")), QStringLiteral("a\\b{c}\r\n"),
         {RunOf("a\\b{c}", Sans, 12, red)}},
        {"red Song 16 with the ideographic space", RtfRedSong16Par(QStringLiteral("甲\u3000乙")), QStringLiteral("甲\u3000乙\r\n"),
         {RunOf(QStringLiteral("甲\u3000乙"), Song, 16, red)}},
        {"bold red Song 24 paragraph", RtfBoldRedSong24Par(QStringLiteral("课文")), QStringLiteral("课文\r\n"),
         {RunOf(QStringLiteral("课文"), Song, 24, red, true)}},
        {"bold blue Song 24", RtfBoldBlueSong24(QStringLiteral("好 3")), QStringLiteral("好 3"),
         {RunOf(QStringLiteral("好 3"), Song, 24, blue, true)}},
        {"grey sans 12 paragraph", RtfGreySans12Par(QStringLiteral("Lesson 3")), QStringLiteral("Lesson 3\r\n"),
         {RunOf("Lesson 3", Sans, 12, grey)}},
        {"on-line entry without examples", RtfQueryEntryNoExamples(QStringLiteral("hello"), QStringLiteral("你好; 2)"), QStringLiteral("[web]")),
         QStringLiteral("hello 你好; 2)    [web]\r\n"),
         {RunOf("hello", Sans, 16, blue), RunOf(QStringLiteral(" 你好"), Song, 18, red), RunOf("; 2)", Sans, 18, red),
          RunOf("    [web]", Sans, 10, grey)}},
        {"on-line entry with examples", RtfQueryEntry(QStringLiteral("tea"), QStringLiteral("茶"), QStringLiteral("[web]"),
                                                      RtfExampleEnglishLine(QStringLiteral("Tea, please."), 0), 7),
         QStringLiteral("tea 茶    [web]\r\n      Example Sentences:\r\nTea, please.\r\n"),
         {RunOf("tea", Sans, 16, blue), RunOf(QStringLiteral(" 茶"), Song, 18, red), RunOf("    [web]", Sans, 10, grey),
          RunOf("      Example Sentences:", Sans, 10, grey), RunOf("Tea, please.", Sans, 10, grey)}},
        {"blue Song 16", RtfBlueSong16Par(QStringLiteral("好")), QStringLiteral("好\r\n"), {RunOf(QStringLiteral("好"), Song, 16, blue)}},
        {"grey sans 10 with Chinese", RtfGreySans10(QStringLiteral("Hi 你")), QStringLiteral("Hi 你"),
         {RunOf(QStringLiteral("Hi 你"), Sans, 10, grey)}},
    };
    RichTextBox box;
    for (const RenderCase& c : cases) {
        SCOPED_TRACE(c.name);
        box.SetTextRTF(c.rtf);
        EXPECT_EQ(box.Text(), c.plain);
        EXPECT_EQ(Runs(box), c.runs);
    }
}

class DictionaryEntryBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString examples = RtfExampleChineseLine(QStringLiteral("01）你好！"), 0) + RtfExampleEnglishLine(QStringLiteral("Hello!"), 14);
        m_box.SetTextRTF(RtfDictionaryEntry(QStringLiteral("你好"), QStringLiteral(" [nǐ hǎo]"), QStringLiteral("hello"),
                                            QStringLiteral("[Lesson 1]"), examples, 15));
    }
    RichTextBox m_box;
};

TEST_F(DictionaryEntryBox, ShowsTheEntryInItsColoursAndFonts)
{
    const QString blanks14(14, QLatin1Char(' '));
    EXPECT_EQ(m_box.Text(), QStringLiteral("你好 [nǐ hǎo] hello    [Lesson 1]\r\n") + blanks14
                                + QStringLiteral("Example Sentences:\r\n 01）你好！\r\n") + blanks14 + QStringLiteral("Hello!\r\n"));
    const QString grey = QStringLiteral("#404040");
    EXPECT_EQ(Runs(m_box), (QStringList{RunOf(QStringLiteral("你好"), Song, 18, "#ff0000"),
                                        RunOf(QStringLiteral(" [nǐ hǎo]"), Song, 18, "#000000"),
                                        RunOf(" hello", Sans, 16, "#ff0000"), RunOf("    [Lesson 1]", Sans, 10, grey),
                                        RunOf(blanks14 + "Example Sentences:", Sans, 10, grey),
                                        RunOf(QStringLiteral(" 01）你好！"), Song, 12, "#0000ff"), RunOf(blanks14 + "Hello!", Sans, 10, grey)}));
}

TEST_F(DictionaryEntryBox, APositionFoundInTheTextSelectsThoseCharacters)
{
    // Locate: the headword again, searched after the headword, in a later paragraph.
    const int found = m_box.Text().indexOf(QStringLiteral("你好"), 2);
    ASSERT_GT(found, 0);
    m_box.SetSelStart(found);
    m_box.SetSelLength(2);
    EXPECT_EQ(m_box.SelText(), QStringLiteral("你好"));
    // The pop-up's neighbours: the characters around a one-character selection.
    m_box.SetSelLength(1);
    EXPECT_EQ(m_box.Text().mid(m_box.SelStart() - 1, 1), QStringLiteral("）"));
    EXPECT_EQ(m_box.Text().mid(m_box.SelStart() + 1, 1), QStringLiteral("好"));
}

TEST_F(DictionaryEntryBox, SavedRtfReadsBackToTheSameTextAndRuns)
{
    RichTextBox copy;
    copy.SetTextRTF(m_box.TextRTF());
    EXPECT_EQ(copy.Text(), m_box.Text());
    EXPECT_EQ(Runs(copy), Runs(m_box));
}

TEST(BuilderRendering, AppendedDocumentsBuildTheLessonText)
{
    // The lesson text window appends pinyin, Chinese and English of each line at the end.
    RichTextBox box;
    for (const QString& rtf : {RtfBlackRoman16Par(QStringLiteral("Nǐ hǎo!")), RtfBoldBlueSong24Par(QStringLiteral("  你好！")),
                               RtfGreySans10Par(QStringLiteral(" Hello!"))}) {
        box.SetSelStart(box.TextLength());
        box.SetSelRTF(rtf);
    }
    EXPECT_EQ(box.Text(), QStringLiteral("Nǐ hǎo!\r\n 你好！\r\nHello!\r\n"));
    // A heading separator of the exercise window: two empty paragraphs.
    box.SetSelStart(box.TextLength());
    box.SetSelRTF(QStringLiteral("{\\par\\par}"));
    EXPECT_EQ(box.Text(), QStringLiteral("Nǐ hǎo!\r\n 你好！\r\nHello!\r\n\r\n\r\n"));
}

} // namespace

// The RTF reader and writer on their own: the subset the program writes, what word processors
// add, broken input, and writing then reading back.

#include <gtest/gtest.h>

#include "CodePage.h"
#include "RtfDocument.h"
#include "TestSupport.h"

namespace {

// Plain text of read content: paragraph ends as CR LF.
QString Plain(const RtfContent& c)
{
    QString out;
    for (const RtfPiece& p : c.pieces)
        out += p.kind == RtfPiece::Text ? p.text : QStringLiteral("\r\n");
    return out;
}

struct ReadCase {
    const char* name;
    QByteArray rtf;
    QString plain;
};

TEST(RtfRead, GivesThePlainText)
{
    const ReadCase cases[] = {
        {"code page 936 escapes", "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}", QStringLiteral("中文")},
        {"upper-case escapes", "{\\rtf1 \\'D6\\'D0}", QStringLiteral("中")},
        {"raw code page 936 bytes", QByteArray("{\\rtf1 ") + CodePage::ToGbk(QStringLiteral("好")) + "}", QStringLiteral("好")},
        {"delimiting blank is consumed, the next one shows", "{\\rtf1\\f0  a\\f1\\'c4\\'e3\\f0  b}", QStringLiteral(" a你 b")},
        {"digit after a number needs the blank", "{\\rtf1\\fs32 3\\fs24 4}", QStringLiteral("34")},
        {"escaped RTF characters", "{\\rtf1 a\\\\b\\{c\\}}", QStringLiteral("a\\b{c}")},
        {"paragraphs", "{\\rtf1 a\\par b\\par}", QStringLiteral("a\r\nb\r\n")},
        {"line, tab and a backslash-newline", "{\\rtf1 a\\line b\\tab c\\\nd}", QStringLiteral("a\u2028b\tc\r\nd")},
        {"source line breaks are ignored", "{\\rtf1 a\r\nb\nc}", QStringLiteral("abc")},
        {"unicode with its fallback skipped", "{\\rtf1\\uc1 \\u20013?\\u-28647?x}", QStringLiteral("中\u9019x")},
        {"unicode fallback as an escape", "{\\rtf1\\uc2 \\u22909\\'ba\\'c3y}", QStringLiteral("好y")},
        {"font table, colour table and info are not text",
         "{\\rtf1{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl ;\\red1\\green2\\blue3;}{\\info{\\title T}}x}", QStringLiteral("x")},
        {"ignorable destinations are skipped", "{\\rtf1{\\*\\generator Gen 1.0;}{\\*\\unknown{nested}text}y}", QStringLiteral("y")},
        {"field: instruction hidden, result shown",
         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", QStringLiteral("link")},
        {"a picture is skipped", "{\\rtf1 a{\\pict\\pngblip 89504e47}b}", QStringLiteral("ab")},
        {"a fragment without header", "{\\par\\par}", QStringLiteral("\r\n\r\n")},
        {"special characters", "{\\rtf1 \\emdash\\~\\lquote x\\rquote}", QStringLiteral("\u2014\u00A0\u2018x\u2019")},
        {"fcharset 0 font in a Western document", "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 caf\\'e9}",
         QStringLiteral("café")},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Plain(Rtf::Read(c.rtf)), c.plain);
    }
}

TEST(RtfRead, BrokenInputIsReadAsFarAsItMakesSense)
{
    QByteArray deep(100000, '{');
    deep += "deep";
    const ReadCase cases[] = {
        {"unclosed document", "{\\rtf1 abc", QStringLiteral("abc")},
        {"stray closing braces", "}}}abc}{{", QStringLiteral("abc")},
        {"huge numbers", "{\\rtf1\\fs99999999999999999999 x\\cf123456789012 y\\f-99999999999 z\\u99999999999 ?w}", QStringLiteral("xyzw")},
        {"truncated escape at the end", "{\\rtf1 a\\'", QStringLiteral("a")},
        {"escape with one hex digit", "{\\rtf1 a\\'4", QStringLiteral("a")},
        {"escape with no hex digits", "{\\rtf1 a\\'zz}", QStringLiteral("azz")},
        {"lone backslash at the end", "{\\rtf1 a\\", QStringLiteral("a")},
        {"endless control word", "{\\rtf1\\" + QByteArray(5000, 'x') + " a}", QStringLiteral("a")},
        {"deep nesting", deep, QStringLiteral("deep")},
        {"huge unicode skip count", "{\\rtf1\\uc99999 \\u20013 abcdefghijklmnopqrstuvwxyz}", QStringLiteral("中qrstuvwxyz")},
        {"control characters in the source", QByteArray("{\\rtf1 a\x01\x02" "\x00" "b}", 13), QStringLiteral("ab")},
        {"negative unicode beyond range", "{\\rtf1\\u-99999 ?x}", QStringLiteral("x")},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Plain(Rtf::Read(c.rtf)), c.plain);
    }
}

TEST(RtfRead, FormatsComeFromTheTablesWithDefaultsForWhatIsMissing)
{
    const RtfContent c = Rtf::Read(QByteArray(
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f2\\fswiss\\fcharset0 Microsoft Sans Serif;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}"
        "a\\cf1\\f2\\fs20 b\\cf2 c\\cf0\\f7 d\\b\\i\\ul e\\plain f}"));
    ASSERT_EQ(c.pieces.size(), 6);
    struct Expected {
        QString text, font;
        double size;
        QColor color;
        bool bold;
    };
    const Expected expected[] = {
        {"a", QStringLiteral("宋体"), 0, QColor(), false},
        {"b", "Microsoft Sans Serif", 10, QColor(255, 0, 0), false},
        {"c", "Microsoft Sans Serif", 10, QColor(), false}, // colour 2 is not in the table: default
        {"d", "", 10, QColor(), false},                     // font 7 is not in the table: default
        {"e", "", 10, QColor(), true},
        {"f", QStringLiteral("宋体"), 0, QColor(), false},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const RtfPiece& p = c.pieces[i];
        EXPECT_EQ(p.text, expected[i].text);
        EXPECT_EQ(p.format.fontName, expected[i].font);
        EXPECT_EQ(p.format.pointSize, expected[i].size);
        EXPECT_EQ(p.format.color, expected[i].color);
        EXPECT_EQ(p.format.bold, expected[i].bold);
    }
    EXPECT_TRUE(c.pieces[4].format.italic);
    EXPECT_TRUE(c.pieces[4].format.underline);
    EXPECT_EQ(c.pieces[0].format.fontCharset, 134);
}

TEST(RtfRead, AFontWithoutAUsableNameIsTheDefaultFont)
{
    const RtfContent c = Rtf::Read(QByteArray("{\\rtf1{\\fonttbl{\\f1\\'18 ;}{\\f2 ;}}\\f1 x\\f2 y}"));
    ASSERT_EQ(c.pieces.size(), 1);
    EXPECT_EQ(c.pieces[0].text, QStringLiteral("xy"));
    EXPECT_EQ(c.pieces[0].format.fontName, QString());
}

// Bytes that are no code page 936 characters would be saved back as replacement characters:
// the reader says so, whichever way they came; what a save gives back is no such text.
TEST(RtfRead, TextBytesThatAreNoCharactersAreFlagged)
{
    const struct {
        const char* why;
        QByteArray rtf;
        bool undecodable;
    } cases[] = {
        {"code page 936 escapes", "{\\rtf1 \\'d6\\'d0}", false},
        {"GB18030 four bytes", "{\\rtf1 \\'81\\'30\\'81\\'30}", false},
        {"the euro sign's byte", "{\\rtf1 \\'80}", false},
        {"a replacement character written as unicode", "{\\rtf1 \\u-3?}", false},
        {"a Western document's byte", "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 \\'ff}", false},
        {"an escape no code starts with", "{\\rtf1 a\\'ff b}", true},
        {"a raw byte no code starts with", "{\\rtf1 a\xff b}", true},
        {"a lead byte cut short by a paragraph", "{\\rtf1 \\'d6\\par \\'d0}", true},
        {"a lead byte at the end", "{\\rtf1 \\'d6}", true},
        {"a trail byte that is no trail", "{\\rtf1 \\'d6\\'0a}", true},
        {"in a font name only", "{\\rtf1{\\fonttbl{\\f1 \\'ff\\'ff;}}\\f1 x}", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const RtfContent read = Rtf::Read(c.rtf);
        EXPECT_EQ(read.undecodable, c.undecodable);
        EXPECT_FALSE(Rtf::Read(Rtf::Write(read.pieces, QStringLiteral("Arial"), 12)).undecodable);
    }
    // A font name that is no text names no font: it is never written back as replacement characters.
    const RtfContent font = Rtf::Read(QByteArray("{\\rtf1{\\fonttbl{\\f1 \\'ff\\'ff;}}\\f1 x}"));
    ASSERT_EQ(font.pieces.size(), 1);
    EXPECT_EQ(font.pieces[0].format.fontName, QString());
}

TEST(RtfRead, ParagraphAlignmentStandsOnEachParagraphEnd)
{
    const RtfContent c = Rtf::Read(QByteArray("{\\rtf1\\qc a\\par\\pard b\\par\\qr c}"));
    ASSERT_EQ(c.pieces.size(), 5);
    EXPECT_EQ(c.pieces[1].alignment, RtfAlignment::Center);
    EXPECT_EQ(c.pieces[3].alignment, RtfAlignment::Left);
    EXPECT_EQ(c.finalAlignment, RtfAlignment::Right);
}

TEST(RtfWrite, WhatIsWrittenReadsBackTheSame)
{
    auto text = [](const QString& t, const QString& font, double size, QColor color = QColor(), bool bold = false,
                   bool italic = false, bool underline = false) {
        RtfPiece p;
        p.text = t;
        p.format.fontName = font;
        p.format.fontCharset = font == QStringLiteral("宋体") ? 134 : 0;
        p.format.pointSize = size;
        p.format.color = color;
        p.format.bold = bold;
        p.format.italic = italic;
        p.format.underline = underline;
        return p;
    };
    auto paragraphEnd = [](RtfAlignment a, const RtfCharFormat& f) {
        RtfPiece p;
        p.kind = RtfPiece::ParagraphEnd;
        p.alignment = a;
        p.format = f;
        return p;
    };
    const QVector<RtfPiece> pieces{
        text(QStringLiteral("你好 nǐ hǎo"), QStringLiteral("宋体"), 18, QColor(255, 0, 0), true),
        text(QStringLiteral(" a\\b{c}\t1"), "Microsoft Sans Serif", 10, QColor(64, 64, 64)),
        paragraphEnd(RtfAlignment::Center, text("", "Microsoft Sans Serif", 10, QColor(64, 64, 64)).format),
        text(QStringLiteral("\u0E01 \U0001F600 \u3000"), "Times New Roman", 12.5, QColor(), false, true, true),
        paragraphEnd(RtfAlignment::Left, text("", "Times New Roman", 24).format),
        text(QStringLiteral("2"), QStringLiteral("宋体"), 24, QColor(0, 0, 255)),
    };
    const QString rtf = Rtf::Write(pieces, QStringLiteral("宋体"), 12);
    for (const QChar c : rtf)
        ASSERT_LT(c.unicode(), 0x80) << "saved RTF is plain ASCII";
    const RtfContent back = Rtf::Read(rtf);
    EXPECT_EQ(back.pieces, pieces);
}

TEST(RtfWrite, RunsWithoutFontOrSizeAreWrittenInTheDefaults)
{
    RtfPiece p;
    p.text = QStringLiteral("x");
    const RtfContent back = Rtf::Read(Rtf::Write({p}, "Microsoft Sans Serif", 10));
    ASSERT_EQ(back.pieces.size(), 1);
    EXPECT_EQ(back.pieces[0].format.fontName, QStringLiteral("Microsoft Sans Serif"));
    EXPECT_EQ(back.pieces[0].format.pointSize, 10);
}

TEST(RtfRead, TellsRtfFromText)
{
    EXPECT_TRUE(Rtf::LooksLikeRtf("{\\rtf1 x}"));
    EXPECT_TRUE(Rtf::LooksLikeRtf("\r\n {\\rtf"));
    EXPECT_FALSE(Rtf::LooksLikeRtf("plain {\\rtf1"));
    EXPECT_FALSE(Rtf::LooksLikeRtf(""));
}

} // namespace

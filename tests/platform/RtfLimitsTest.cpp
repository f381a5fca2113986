#include <gtest/gtest.h>

#include "RtfDocument.h"

namespace {

QString PlainText(const RtfContent& content)
{
    QString text;
    for (const RtfPiece& p : content.pieces)
        text += p.kind == RtfPiece::Text ? p.text : QStringLiteral("|");
    return text;
}

TEST(RtfLimitsTest, HostileDocumentsAreReadWithinFixedLimits)
{
    const struct {
        const char* why;
        QByteArray rtf;
        const char16_t* text;
    } cases[] = {
        {"binary data is skipped, braces and backslashes in it included", "{\\rtf1 a\\bin7 }{\\'zz b}", u"ab"},
        {"binary data in a skipped group", "{\\rtf1 a{\\*\\blob\\bin3 {{{}b}", u"ab"},
        {"a byte count past the end", "{\\rtf1 a\\bin99999999999 bcd}", u"a"},
        {"a negative byte count skips nothing", "{\\rtf1 a\\bin-3 bc}", u"abc"},
        {"nesting far deeper than the stack", "{\\rtf1 a" + QByteArray(100000, '{') + "b" + QByteArray(100000, '}') + "c}",
            u"abc"},
        {"more closing than opening braces", "{\\rtf1 a}}}}}b", u"ab"},
        // Characters the box starts a paragraph at end one here, counted as the box will hold it.
        {"an escaped CR LF", "{\\rtf1 a\\'0d\\'0ab}", u"a|b"},
        {"CR and LF in runs of their own", "{\\rtf1 a\\'0d{}\\'0ab}", u"a|b"},
        {"two line feeds", "{\\rtf1 a\\'0a\\'0ab}", u"a||b"},
        {"a CR, a letter, a LF", "{\\rtf1 \\'0dx\\'0a}", u"|x|"},
        {"the paragraph separator", "{\\rtf1 a\\u8233?b}", u"a|b"},
        {"the frame marks", "{\\rtf1 a\\u-560?b\\u-559?c}", u"a|b|c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(PlainText(Rtf::Read(c.rtf)), QString::fromUtf16(c.text));
    }
}

TEST(RtfLimitsTest, TablesKeepTheirFirstEntriesOnly)
{
    QByteArray colours = "{\\rtf1{\\colortbl ;";
    for (int i = 1; i <= 5000; ++i)
        colours += "\\red" + QByteArray::number(i % 256) + ";";
    colours += "}\\cf1 a\\cf1023 b\\cf1024 c\\cf4000 d}";
    const RtfContent read = Rtf::Read(colours);
    ASSERT_EQ(read.pieces.size(), 3);
    EXPECT_EQ(read.pieces[0].format.color, QColor(1, 0, 0));
    EXPECT_EQ(read.pieces[1].format.color, QColor(1023 % 256, 0, 0));
    EXPECT_EQ(read.pieces[2].text, QStringLiteral("cd")) << "past the kept entries: the default colour";
    EXPECT_FALSE(read.pieces[2].format.color.isValid());

    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 3000; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " Font" + QByteArray::number(i) + ";}";
    fonts += "}\\f1023 a\\f2000 b}";
    const RtfContent f = Rtf::Read(fonts);
    ASSERT_EQ(f.pieces.size(), 2);
    EXPECT_EQ(f.pieces[0].format.fontName, QStringLiteral("Font1023"));
    EXPECT_TRUE(f.pieces[1].format.fontName.isEmpty());
}

TEST(RtfLimitsTest, WhatIsWrittenWithinThePieceLimitReadsBackWholeAndMoreSaysWhereItStopped)
{
    // Lines of text: a run and a paragraph end each.
    auto lines = [](qsizetype pieces) {
        QVector<RtfPiece> written;
        for (qsizetype i = 0; i < pieces; ++i)
            written.push_back(i % 2 == 0 ? RtfPiece{RtfPiece::Text, QString::number(i), {}, RtfAlignment::Left}
                                         : RtfPiece{RtfPiece::ParagraphEnd, {}, {}, RtfAlignment::Left});
        return written;
    };
    // Runs of alternating formats in one paragraph, as a hostile document might have.
    QByteArray alternating = "{\\rtf1 ";
    for (qsizetype i = 0; i < Rtf::MaxPieces; ++i)
        alternating += "\\b a\\b0 b";
    alternating += "\\par end}";
    const struct {
        const char* why;
        QByteArray rtf;
        qsizetype pieces;
        bool truncated;
        const char16_t* start;
    } cases[] = {
        {"lines up to the limit", Rtf::Write(lines(Rtf::MaxPieces), QStringLiteral("Arial"), 10).toLatin1(), Rtf::MaxPieces,
            false, u"0|2|4|"},
        {"one piece more", Rtf::Write(lines(Rtf::MaxPieces + 1), QStringLiteral("Arial"), 10).toLatin1(), Rtf::MaxPieces,
            true, u"0|2|4|"},
        {"alternating formats", alternating, Rtf::MaxPieces, true, u"abab"},
        {"paragraph breaks in one run", "{\\rtf1 " + QByteArray("x\\'0a").repeated(Rtf::MaxPieces / 2 + 1) + "end}",
            Rtf::MaxPieces, true, u"x|x|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const RtfContent read = Rtf::Read(c.rtf);
        EXPECT_EQ(read.pieces.size(), c.pieces);
        EXPECT_EQ(read.truncated, c.truncated);
        EXPECT_TRUE(PlainText(read).startsWith(QString::fromUtf16(c.start)));
        EXPECT_FALSE(PlainText(read).endsWith(QStringLiteral("end")));
    }
}

} // namespace

// The estimate of a text's height against Qt's own layout of it: never below, and close enough
// that the texts the reading helper takes are not refused.

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>

#include "LayoutEstimate.h"
#include "RichTextBox.h"
#include "RtfDocument.h"

namespace {

constexpr qreal LineWidth = 729;
constexpr qreal TabStop = 80;
constexpr qreal Margin = 4;

RtfCharFormat Format(const char* font, double points, bool bold = false, bool italic = false)
{
    RtfCharFormat f;
    f.fontName = QString::fromUtf8(font);
    f.pointSize = points;
    f.bold = bold;
    f.italic = italic;
    return f;
}

const RtfCharFormat Sans24 = Format("Microsoft Sans Serif", 24);

QFont DefaultFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")});
    f.setPointSizeF(24);
    return f;
}

QTextCharFormat ToQt(const RtfCharFormat& f)
{
    QTextCharFormat q;
    q.setFontFamilies({f.fontName});
    q.setFontPointSize(f.pointSize);
    q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.italic);
    return q;
}

// Qt's height of the pieces, laid out whole at the line width.
qreal LaidOutHeight(const QVector<RtfPiece>& pieces)
{
    QTextDocument doc;
    doc.setDefaultFont(DefaultFont());
    doc.setDocumentMargin(Margin);
    QTextOption option = doc.defaultTextOption();
    option.setTabStopDistance(TabStop);
    doc.setDefaultTextOption(option);
    QTextCursor cursor(&doc);
    for (const RtfPiece& p : pieces) {
        if (p.kind == RtfPiece::Text)
            cursor.insertText(p.text, ToQt(p.format));
        else
            cursor.insertBlock(QTextBlockFormat(), ToQt(p.format));
    }
    doc.setPageSize(QSizeF(LineWidth + 2 * Margin, 21000000));
    return doc.documentLayout()->documentSize().height();
}

struct Figures {
    qreal height;
    qreal work;
};

Figures Estimated(const QVector<RtfPiece>& pieces)
{
    LayoutEstimate estimate(DefaultFont(), LineWidth, TabStop, Margin);
    estimate.Add(pieces);
    return {estimate.Height(), estimate.LongestParagraphWork()};
}

QVector<RtfPiece> Lines(int count, const std::function<QString(int)>& line, const RtfCharFormat& f = Sans24)
{
    QVector<RtfPiece> pieces;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            pieces.push_back({RtfPiece::ParagraphEnd, {}, f, RtfAlignment::Left});
        const QString text = line(i);
        if (!text.isEmpty())
            pieces.push_back({RtfPiece::Text, text, f, RtfAlignment::Left});
    }
    return pieces;
}

// Words of 1 to 12 letters, or Chinese sentences, as one paragraph.
QString LatinWords(int characters)
{
    QString text;
    for (int word = 0; text.size() < characters; ++word)
        text += QString(1 + word * 7 % 12, QChar(u'a' + word % 26)) + QLatin1Char(' ');
    return text;
}
QString ChineseSentences(int characters)
{
    const QString sentence = QStringLiteral("我们今天学习第一课，我们说汉语。他說：「好！」");
    QString text;
    while (text.size() < characters)
        text += sentence;
    return text;
}

QString Repeated(const QString& unit, int characters)
{
    QString text;
    while (text.size() < characters)
        text += unit;
    text.truncate(characters);
    return text;
}
QString HebrewWords(int characters) { return Repeated(QStringLiteral("\u05D0\u05D1\u05D2\u05D3 \u05D4\u05D5\u05D6 "), characters); }
QString ArabicWords(int characters) { return Repeated(QStringLiteral("\u0628\u064A\u062A \u0643\u062A\u0627\u0628 "), characters); }

TEST(LayoutEstimateTest, TheEstimateIsNeverBelowTheLayoutAndCloseToIt)
{
    const struct {
        const char* why;
        QVector<RtfPiece> pieces;
        double atMost; // estimate / laid-out height
    } cases[] = {
        {"empty lines", Lines(2000, [](int) { return QString(); }), 1.05},
        {"empty lines at 72 points", Lines(500, [](int) { return QString(); }, Format("Arial", 72)), 1.05},
        {"short Chinese lines", Lines(2000, [](int i) { return QStringLiteral("第%1行").arg(i); }), 1.05},
        {"Latin words in long paragraphs", Lines(4, [](int) { return LatinWords(20000); }), 1.02},
        {"Latin words at 8 points, bold and italic", Lines(3, [](int) { return LatinWords(20000); },
            Format("Times New Roman", 8, true, true)), 1.1},
        {"Chinese in long paragraphs", Lines(4, [](int) { return ChineseSentences(10000); }), 1.05},
        {"tabs", Lines(300, [](int) { return QString(98, u'\t') + QStringLiteral("中文"); }), 1.25},
        {"line breaks inside paragraphs", Lines(300, [](int) { return QStringLiteral("一\x2028二\x2028\x2028三"); }), 1.1},
        {"characters beyond U+FFFF", Lines(200, [](int) { return QString(40, u'x') + QStringLiteral("𠀀𪚥𠮷"); }), 1.8},
        {"wide characters", Lines(50, [](int) { return QString(300, QChar(0xFDFD)) + QStringLiteral(" ﷽"); }), 2.5},
        {"one word wider than the line", Lines(2, [](int) { return QString(5000, u'a'); }), 1.05},
        {"a character wider than the line", Lines(20, [](int) { return QStringLiteral("W"); }, Format("Arial", 1638)), 1.05},
        {"Hebrew words, at their own font's height", Lines(50, [](int) { return HebrewWords(300); }), 1.05},
        // Joined, Arabic letters are narrower than each alone.
        {"Arabic words, at their own font's height", Lines(50, [](int) { return ArabicWords(300); }), 1.5},
        {"words wider than the line after a hyphen", Lines(2, [](int) {
            QString text;
            for (int k = 0; k < 40; ++k)
                text += QStringLiteral("a-") + QString(50, u'b');
            return text;
        }), 1.6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const qreal laidOut = LaidOutHeight(c.pieces);
        const qreal estimated = Estimated(c.pieces).height;
        EXPECT_GE(estimated, laidOut);
        EXPECT_LE(estimated, laidOut * c.atMost);
    }
}

TEST(LayoutEstimateTest, FontsOfOneLineAddUpAndAParagraphMarkCountsForItsLine)
{
    // A small Latin run beside a large Chinese one: the line takes the taller.
    const QVector<RtfPiece> mixed{{RtfPiece::Text, QStringLiteral("small "), Format("Arial", 8), RtfAlignment::Left},
        {RtfPiece::Text, QStringLiteral("大字"), Format("SimSun", 40), RtfAlignment::Left},
        {RtfPiece::ParagraphEnd, {}, Format("Arial", 60), RtfAlignment::Left}};
    const qreal laidOut = LaidOutHeight(mixed);
    const qreal estimated = Estimated(mixed).height;
    EXPECT_GE(estimated, laidOut);
    EXPECT_LE(estimated, laidOut * 1.05);
}

TEST(LayoutEstimateTest, AWordWiderThanTheLineIsLongWorkForItsLength)
{
    const qreal words = Estimated(Lines(1, [](int) { return LatinWords(100000); })).work;
    const qreal word = Estimated(Lines(1, [](int) { return QString(100000, u'a'); })).work;
    EXPECT_NEAR(words, 100000, 1000);
    EXPECT_GT(word, 20 * words);
    // Many paragraphs: the longest one counts.
    EXPECT_NEAR(Estimated(Lines(50, [](int) { return LatinWords(1000); })).work, 1000, 50);
}

// Runs of one paragraph after another, each paragraph of runs alternating bold and not.
QVector<RtfPiece> AlternatingRuns(int paragraphs, int runsEach, const QString& run)
{
    QVector<RtfPiece> pieces;
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0)
            pieces.push_back({RtfPiece::ParagraphEnd, {}, Sans24, RtfAlignment::Left});
        for (int r = 0; r < runsEach; ++r)
            pieces.push_back({RtfPiece::Text, run, Format("Microsoft Sans Serif", 24, r % 2 == 1), RtfAlignment::Left});
    }
    return pieces;
}

// At the reading helper's width and size: the texts that take the layout seconds for what they
// hold, and texts of the same kinds the box takes, each on its side of the box's two bounds
// (showing its costliest paragraph, laying the whole text out once), the work put down to what
// really takes it, and that counted as it is in the text.
TEST(LayoutEstimateTest, EachKindOfCostlyTextFallsOnItsSideOfTheBoundsForWhatItHolds)
{
    const QString hebrew = QStringLiteral("\u05D0");
    const struct {
        const char* why;
        QVector<RtfPiece> pieces;
        bool paragraphTaken;
        bool textTaken;
        LayoutCost::Cause cause;
        qint64 LayoutCost::*count;
        qint64 counted;
    } cases[] = {
        {"a word of 64,000 letters alternating Latin and Hebrew", Lines(1, [&](int) { return Repeated(u'a' + hebrew, 64000); }),
            false, false, LayoutCost::WideWords, &LayoutCost::longestWideWord, 64000},
        {"the same word of 8,000 letters", Lines(1, [&](int) { return Repeated(u'a' + hebrew, 8000); }), true, true,
            LayoutCost::WideWords, &LayoutCost::longestWideWord, 8000},
        {"a word of 32,000 digits and Hebrew letters", Lines(1, [&](int) { return Repeated(u'1' + hebrew, 32000); }), false,
            false, LayoutCost::WideWords, &LayoutCost::longestWideWord, 32000},
        {"a word of 32,000 letters alternating Latin and Arabic",
            Lines(1, [](int) { return Repeated(QStringLiteral("a\u0628"), 32000); }), false, false, LayoutCost::WideWords,
            &LayoutCost::longestWideWord, 32000},
        {"a Latin word of 64,000 letters", Lines(1, [](int) { return QString(64000, u'a'); }), true, true,
            LayoutCost::WideWords, &LayoutCost::longestWideWord, 64000},
        {"a Latin word of 400,000 letters", Lines(1, [](int) { return QString(400000, u'a'); }), false, false,
            LayoutCost::WideWords, &LayoutCost::longestWideWord, 400000},
        {"a letter under 200,000 combining marks", Lines(1, [](int) { return u'a' + QString(200000, QChar(0x301)); }), false,
            true, LayoutCost::CombiningMarks, &LayoutCost::mostMarks, 200000},
        {"letters under 999 marks each, 32,000 characters",
            Lines(1, [](int) { return Repeated(u'a' + QString(999, QChar(0x301)), 32000); }), true, true,
            LayoutCost::CombiningMarks, &LayoutCost::mostMarks, 999},
        {"590,000 runs of alternating bold in one paragraph", AlternatingRuns(1, 590000, QStringLiteral("ab ")), false, false,
            LayoutCost::FormatRuns, &LayoutCost::formatRuns, 589999},
        {"10 runs in each of 30,000 paragraphs", AlternatingRuns(30000, 10, QStringLiteral("ab ")), true, true,
            LayoutCost::FormatRuns, &LayoutCost::formatRuns, 270000},
        {"10 runs in each of 50,000 paragraphs", AlternatingRuns(50000, 10, QStringLiteral("ab ")), true, false,
            LayoutCost::FormatRuns, &LayoutCost::formatRuns, 450000},
        {"Chinese with a Latin letter after every two characters, 256,000 characters",
            Lines(1, [](int) { return Repeated(QStringLiteral("我们a今天b学习c"), 256000); }), true, true,
            LayoutCost::DirectionChanges, &LayoutCost::directionChanges, 170666},
        {"the same in 512,000 characters", Lines(1, [](int) { return Repeated(QStringLiteral("我们a今天b学习c"), 512000); }),
            false, true, LayoutCost::DirectionChanges, &LayoutCost::directionChanges, 341332},
        {"Latin and Hebrew words by turns, 512,000 characters",
            Lines(1, [&](int) { return Repeated(QStringLiteral("ab ") + hebrew + hebrew + u' ', 512000); }), false, true,
            LayoutCost::DirectionChanges, &LayoutCost::directionChanges, 170666},
        {"80 paragraphs, each a word of 50,000 letters", Lines(80, [](int) { return QString(50000, u'b'); }), true, false,
            LayoutCost::WideWords, &LayoutCost::longestWideWord, 50000},
        {"4,000 lines of control characters", Lines(4000, [](int) { return u'a' + QString(1021, QChar(0)); }), true, false,
            LayoutCost::UndrawnCharacters, &LayoutCost::undrawn, 4000 * 1021},
        {"2,000 lines of private-use characters", Lines(2000, [](int) { return u'a' + QString(1021, QChar(0xE000)); }), true,
            false, LayoutCost::UndrawnCharacters, &LayoutCost::undrawn, 2000 * 1021},
        {"300,000 numbered lines, as many as the RTF reader takes back",
            Lines(300000, [](int i) { return QStringLiteral("第%1行").arg(i); }), true, true, LayoutCost::Characters,
            &LayoutCost::paragraphs, 299999},
        {"32,760 lines of 98 tabs and two Chinese characters",
            Lines(32760, [](int) { return QString(98, u'\t') + QStringLiteral("中文"); }), true, true, LayoutCost::Characters,
            &LayoutCost::paragraphs, 32759},
        {"1,400,000 Chinese characters in four paragraphs",
            Lines(4, [](int) { return Repeated(QStringLiteral("我们今天学习第一课，我们说汉语。"), 350000); }), true, true,
            LayoutCost::Characters, &LayoutCost::characters, 4 * 350000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        LayoutEstimate estimate(DefaultFont(), LineWidth, TabStop, Margin);
        estimate.Add(c.pieces);
        const LayoutCost paragraph = estimate.LongestParagraph();
        const LayoutCost whole = estimate.WholeText();
        EXPECT_EQ(paragraph.work <= RichTextBox::MaxParagraphWork, c.paragraphTaken) << paragraph.work;
        EXPECT_EQ(whole.work <= RichTextBox::MaxTextWork, c.textTaken) << whole.work;
        // The figures a refusal gives: of the paragraph when it is refused, else of the whole.
        const LayoutCost& named = c.paragraphTaken ? whole : paragraph;
        EXPECT_EQ(named.cause, c.cause);
        EXPECT_EQ(named.*c.count, c.counted);
    }
}

} // namespace

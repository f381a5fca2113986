// The estimate of a text's height against Qt's own layout of it: never below, and close enough
// that the texts the reading helper takes are not refused.

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>

#include "LayoutEstimate.h"
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

} // namespace

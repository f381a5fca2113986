#include "LayoutEstimate.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {

// Qt's layout scans the rest of a word wider than the line once for each of its lines, at
// about 32 ns a character, where a character laid out costs about a microsecond.
constexpr qreal WideWordScanWork = 0.032;

// The line breaks Qt always allows: after blanks, tabs and the ideographic space, and between
// two Chinese characters. (It allows more; fewer here only makes lines shorter.)
bool BreaksAfter(char32_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }

bool IsIdeograph(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3FFFF);
}

// Characters every Latin font has; any other may be drawn in a fallback font.
bool IsLatin(char32_t c) { return c < 0x250; }

// Inside a run of letters, digits and marks the layout never breaks a line; beside any other
// character (a hyphen, a slash, a Chinese or Korean character, Thai) it may.
bool MayBreakBeside(char32_t c)
{
    if (c < 128)
        return !((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'));
    const bool letterLike = (QChar::isLetterOrNumber(c) || QChar::isMark(c)) && !(c >= 0x0E00 && c <= 0x109F)
        && !(c >= 0x1780 && c <= 0x17FF) && !(c >= 0x1100 && c <= 0x11FF) && !(c >= 0x2E80 && c <= 0xD7FF)
        && !(c >= 0xF900 && c <= 0xFAFF) && c < 0x20000;
    return !letterLike;
}

} // namespace

struct LayoutEstimate::Font {
    explicit Font(const QFont& f) : metrics(f)
    {
        ascent = otherAscent = metrics.ascent();
        descent = otherDescent = metrics.descent();
        leading = otherLeading = std::max<qreal>(metrics.leading(), 0);
        // Chinese characters missing from the font are drawn in the simplified Chinese fonts
        // (the substitutes the box installs), which are taller than most Latin fonts.
        for (const char* family : {"Noto Sans CJK SC", "Noto Serif CJK SC"}) {
            QFont fallback = f;
            fallback.setFamilies({QString::fromLatin1(family)});
            const QFontMetricsF m(fallback);
            otherAscent = std::max(otherAscent, m.ascent());
            otherDescent = std::max(otherDescent, m.descent());
            otherLeading = std::max(otherLeading, m.leading());
        }
        for (int c = 0; c < 128; ++c)
            ascii[c] = metrics.horizontalAdvance(QChar(c));
    }
    qreal LineHeight() const { return std::ceil(ascent + descent + leading); }

    QFontMetricsF metrics;
    qreal ascent, descent, leading;
    qreal otherAscent, otherDescent, otherLeading;
    qreal ascii[128];
    QHash<char32_t, qreal> others;
};

LayoutEstimate::LayoutEstimate(const QFont& defaultFont, qreal lineWidth, qreal tabStop, qreal margin)
    : m_defaultFont(defaultFont)
    , m_lineWidth(std::max<qreal>(lineWidth, 1))
    , m_tabStop(tabStop)
    , m_margin(margin)
    , m_defaultKey(defaultFont.key())
{
    m_markHeight = FontOf(RtfCharFormat{}).LineHeight();
}

LayoutEstimate::~LayoutEstimate() = default;

QHash<QString, std::shared_ptr<LayoutEstimate::Font>>& LayoutEstimate::Fonts()
{
    static QHash<QString, std::shared_ptr<Font>> fonts;
    // The metrics hold on to the application's font system: they go with it, not after it.
    static const bool emptiedWithTheApplication = [] {
        qAddPostRoutine([] { Fonts().clear(); });
        return true;
    }();
    (void)emptiedWithTheApplication;
    return fonts;
}

LayoutEstimate::Font& LayoutEstimate::FontOf(const RtfCharFormat& format)
{
    // A long text has a format or two, piece after piece.
    if (m_lastFont && format.pointSize == m_lastFormat.pointSize && format.bold == m_lastFormat.bold
        && format.italic == m_lastFormat.italic && format.fontName == m_lastFormat.fontName)
        return *m_lastFont;
    const QString key = m_defaultKey + QChar(0x1F) + format.fontName + QChar(0x1F) + QString::number(format.pointSize) + QChar(0x1F)
        + QChar(u'0' + (format.bold ? 1 : 0) + (format.italic ? 2 : 0));
    std::shared_ptr<Font>& font = Fonts()[key];
    if (!font) {
        QFont f = m_defaultFont;
        if (!format.fontName.isEmpty())
            f.setFamilies({format.fontName});
        if (format.pointSize > 0)
            f.setPointSizeF(format.pointSize);
        f.setWeight(format.bold ? QFont::Bold : QFont::Normal);
        f.setItalic(format.italic);
        font = std::make_shared<Font>(f);
    }
    m_lastFormat = format;
    m_lastFont = font.get();
    return *font;
}

qreal LayoutEstimate::Advance(Font& font, char32_t c)
{
    if (c == u'\t')
        return m_tabStop;
    if (c < 128)
        return font.ascii[c];
    const auto known = font.others.constFind(c);
    if (known != font.others.constEnd())
        return *known;
    // Measured as a string, so that a character the font lacks takes its fallback's width.
    const qreal advance = font.metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
    // Kept for the program's life: a text of every character there is must not keep them all.
    if (font.others.size() >= 65536)
        font.others.clear();
    font.others.insert(c, advance);
    return advance;
}

void LayoutEstimate::Add(const QVector<RtfPiece>& pieces)
{
    for (const RtfPiece& p : pieces) {
        if (p.kind == RtfPiece::Text)
            AddRun(p.text, p.format);
        else
            EndParagraph(p.format);
    }
}

void LayoutEstimate::AddRun(QStringView text, const RtfCharFormat& format)
{
    if (text.isEmpty())
        return;
    Font& font = FontOf(format);
    m_ascent = std::max(m_ascent, font.ascent);
    m_descent = std::max(m_descent, font.descent);
    m_leading = std::max(m_leading, font.leading);
    bool other = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        m_work += 1;
        if (c == QChar::LineSeparator) {
            // A line of nothing but the break is as tall as the paragraph mark's font too.
            if (!m_lineHasText)
                m_breakOnlyLines += 1;
            EndSegment();
            EndLine();
            m_lineHasText = false;
            m_afterIdeograph = false;
            continue;
        }
        m_lineHasText = true;
        if (!other && !IsLatin(c)) {
            other = true;
            m_ascent = std::max(m_ascent, font.otherAscent);
            m_descent = std::max(m_descent, font.otherDescent);
            m_leading = std::max(m_leading, font.otherLeading);
        }
        const bool ideograph = IsIdeograph(c);
        if (ideograph && m_afterIdeograph)
            EndSegment();
        m_afterIdeograph = ideograph;
        m_segmentMayBreak = m_segmentMayBreak || MayBreakBeside(c);
        const qreal advance = Advance(font, c);
        m_segment += advance;
        m_segmentWidest = std::max(m_segmentWidest, advance);
        m_segmentChars += 1;
        if (c == u'\t') {
            // A tab past the line's end stays at its end, and the line is full.
            if (m_lineUsed + m_segment > m_lineWidth) {
                EndSegment();
                EndLine();
                m_lineHasText = true;
            }
        } else if (m_lineUsed + m_segment > m_lineWidth && !BreaksAfter(c)) {
            // Blanks stay at the end of their line; a word goes to a new line, and is broken
            // anywhere when it is wider than that.
            if (m_lineUsed > 0)
                EndLine();
            if (m_segment > m_lineWidth)
                BreakWideSegment();
        }
        if (BreaksAfter(c))
            EndSegment();
    }
}

void LayoutEstimate::EndLine()
{
    m_lines += 1;
    m_lineUsed = 0;
}

void LayoutEstimate::BreakWideSegment()
{
    // Broken anywhere, each line of the word is full but for less than its widest character;
    // a line takes one character at least, which may be wider than half a line.
    const qreal full = std::max(m_lineWidth - m_segmentWidest, m_lineWidth / 2);
    const qreal lines = std::floor(m_segment / full);
    m_lines += lines;
    m_segmentLines += lines;
    m_segment -= lines * full;
    // The layout looks for the word's end once for each of its lines.
    m_work += WideWordScanWork * m_segmentChars * lines;
}

qreal LayoutEstimate::SegmentExtraLines() const
{
    // Where the layout may break inside the word (after a hyphen, say), it may leave a line
    // short before each of the word's lines.
    return m_segmentMayBreak ? m_segmentLines : 0;
}

void LayoutEstimate::EndSegment()
{
    m_lines += SegmentExtraLines();
    m_lineUsed += m_segment;
    m_segment = 0;
    m_segmentWidest = 0;
    m_segmentChars = 0;
    m_segmentLines = 0;
    m_segmentMayBreak = false;
}

qreal LayoutEstimate::ParagraphHeight() const
{
    const qreal text = std::ceil(m_ascent + m_descent + m_leading);
    // The last line holds nothing when the paragraph is empty or ends in a line break.
    const qreal markOnly = m_lineHasText ? 0 : 1;
    const qreal lines = m_lines + SegmentExtraLines();
    return markOnly * m_markHeight + m_breakOnlyLines * std::max(m_markHeight, text)
        + (lines - markOnly - m_breakOnlyLines) * text;
}

void LayoutEstimate::EndParagraph(const RtfCharFormat& nextFormat)
{
    m_work += 1;
    m_height += ParagraphHeight();
    m_longestWork = std::max(m_longestWork, m_work);
    m_markHeight = FontOf(nextFormat).LineHeight();
    m_ascent = m_descent = m_leading = 0;
    m_lines = 1;
    m_breakOnlyLines = 0;
    m_lineHasText = false;
    m_work = 0;
    m_lineUsed = 0;
    m_segment = 0;
    m_segmentWidest = 0;
    m_segmentChars = 0;
    m_segmentLines = 0;
    m_segmentMayBreak = false;
    m_afterIdeograph = false;
}

qreal LayoutEstimate::Height() const { return 2 * m_margin + m_height + ParagraphHeight(); }

qreal LayoutEstimate::LongestParagraphWork() const { return std::max(m_longestWork, m_work); }

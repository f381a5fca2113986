#include "LayoutEstimate.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The work of each part of a shown paragraph, in microseconds of a typical desktop, measured
// against plain Latin words in a shown box of the reading helper's size (see the header).
constexpr qreal LatinWork = 1;
constexpr qreal TabWork = 1.6;
constexpr qreal OtherWork = 1.5;
constexpr qreal HebrewWork = 2;  // right-to-left letters
constexpr qreal ArabicWork = 3;  // right-to-left letters joined to their neighbours
constexpr qreal MarkWork = 4;
// A character no installed font draws (a control character, a private-use code, a script
// without a font): the layout looks for it through every fallback font each time.
constexpr qreal MissingWork = 6;
// A mark costs this much more for each mark before it on its character, up to the most.
constexpr qreal MarkGrowth = 0.013;
constexpr qreal MarkGrowthMost = 16;
// A new item of text to shape: a change of script, and a paragraph's first run; a change of
// direction also has the line reordered.
constexpr qreal ChangeWork = 7;
constexpr qreal DirectionChangeWork = 16;
// A run of another format: set into the document and shaped apart.
constexpr qreal RunWork = 12;
constexpr qreal ParagraphEndWork = 5;
// Qt's layout looks for the end of a word wider than the line once for each of its lines:
// a character of the word takes this much each time, a change of direction or script far more.
constexpr qreal WideWordScanWork = 0.032;
constexpr qreal WideWordChangeScanWork = 0.8;

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

// Chinese, Japanese and Korean characters, drawn in the simplified Chinese fonts the box falls
// back to (Hangul jamo, CJK symbols and punctuation, kana, ideographs, Hangul syllables,
// compatibility and full-width forms, the planes beyond).
bool DrawnInChineseFonts(char32_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xA960 && c <= 0xA97F)
        || (c >= 0xAC00 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFFEF) || c >= 0x20000;
}

bool IsAsciiLetter(char32_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAsciiDigit(char32_t c) { return c >= u'0' && c <= u'9'; }

// Inside a run of letters, digits and marks the layout never breaks a line; beside any other
// character (a hyphen, a slash, a Chinese or Korean character, Thai) it may.
bool MayBreakBeside(char32_t c)
{
    if (c < 128)
        return !(IsAsciiLetter(c) || IsAsciiDigit(c));
    const bool letterLike = (QChar::isLetterOrNumber(c) || QChar::isMark(c)) && !(c >= 0x0E00 && c <= 0x109F)
        && !(c >= 0x1780 && c <= 0x17FF) && !(c >= 0x1100 && c <= 0x11FF) && !(c >= 0x2E80 && c <= 0xD7FF)
        && !(c >= 0xF900 && c <= 0xFAFF) && c < 0x20000;
    return !letterLike;
}

bool IsRightToLeft(QChar::Direction d) { return d == QChar::DirR || d == QChar::DirAL; }

} // namespace

void LayoutCost::Add(const LayoutCost& other)
{
    work += other.work;
    characters += other.characters;
    paragraphs += other.paragraphs;
    longestWideWord = std::max(longestWideWord, other.longestWideWord);
    mostMarks = std::max(mostMarks, other.mostMarks);
    directionChanges += other.directionChanges;
    formatRuns += other.formatRuns;
    undrawn += other.undrawn;
    for (int i = 0; i < Causes; ++i)
        causeWork[i] += other.causeWork[i];
    SettleCause();
}

void LayoutCost::SettleCause()
{
    cause = Cause(std::max_element(std::begin(causeWork), std::end(causeWork)) - std::begin(causeWork));
}

// A character as its font draws it (how wide, how tall a line it makes), and what it costs the
// layout: looked up once for the program, not at each of its occurrences.
struct LayoutEstimate::Glyph {
    qreal advance{0};
    qreal ascent{0};
    qreal descent{0};
    qreal leading{0};
    qreal work{0};        // its own work (a mark's grows with the marks before it)
    qint16 script{-1};    // -1: it takes its neighbours' script (blanks, digits, punctuation)
    char flow{0};         // 'L' left to right, 'R' right to left, 'E' and 'A' European and
                          // Arabic numbers, 0 neutral
    bool missing{false};  // no installed font draws it
    bool mark{false};     // a combining mark
    bool ideograph{false};
    bool mayBreak{false}; // the layout may break a line beside it
};

// What a character costs and how it takes part in items and line breaks, whatever its font.
void LayoutEstimate::SetTraits(Glyph& g, char32_t c)
{
    const QChar::Script script = QChar::script(c);
    if (script != QChar::Script_Common && script != QChar::Script_Inherited && script != QChar::Script_Unknown)
        g.script = qint16(script);
    const QChar::Direction d = QChar::direction(c);
    g.flow = d == QChar::DirL ? 'L' : IsRightToLeft(d) ? 'R' : d == QChar::DirEN ? 'E' : d == QChar::DirAN ? 'A' : 0;
    g.mark = QChar::isMark(c);
    g.ideograph = IsIdeograph(c);
    g.mayBreak = MayBreakBeside(c);
    g.work = c == u'\t'       ? TabWork
        : IsLatin(c)         ? LatinWork
        : d == QChar::DirR   ? HebrewWork
        : d == QChar::DirAL  ? ArabicWork
                             : OtherWork;
    g.missing = (c < 32 && c != u'\t') || c == 127;
}

struct LayoutEstimate::Font {
    explicit Font(const QFont& f) : font(f), metrics(f)
    {
        ascent = chineseAscent = metrics.ascent();
        descent = chineseDescent = metrics.descent();
        leading = chineseLeading = std::max<qreal>(metrics.leading(), 0);
        // Chinese characters missing from the font are drawn in the simplified Chinese fonts
        // (the substitutes the box installs), which are taller than most Latin fonts.
        for (const char* family : {"Noto Sans CJK SC", "Noto Serif CJK SC"}) {
            QFont fallback = f;
            fallback.setFamilies({QString::fromLatin1(family)});
            const QFontMetricsF m(fallback);
            chineseAscent = std::max(chineseAscent, m.ascent());
            chineseDescent = std::max(chineseDescent, m.descent());
            chineseLeading = std::max(chineseLeading, m.leading());
        }
        for (int c = 0; c < 128; ++c) {
            SetTraits(ascii[c], char32_t(c));
            ascii[c].advance = metrics.horizontalAdvance(QChar(c));
        }
    }
    qreal LineHeight() const { return std::ceil(ascent + descent + leading); }

    QFont font;
    QFontMetricsF metrics;
    qreal ascent, descent, leading;
    qreal chineseAscent, chineseDescent, chineseLeading;
    Glyph ascii[128]; // their heights are the font's own
    // The others measured so far: those of the basic plane by their code (an index into
    // glyphs, 0 for none yet), the rest by a table.
    std::vector<quint16> basicIndex;
    std::vector<Glyph> glyphs{Glyph{}};
    QHash<char32_t, Glyph> beyond;
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
    // A long text has a format or a few, piece after piece (bold and not, by turns).
    for (const RecentFont& recent : m_recentFonts)
        if (recent.font && format.pointSize == recent.format.pointSize && format.bold == recent.format.bold
            && format.italic == recent.format.italic && format.fontName == recent.format.fontName)
            return *recent.font;
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
    RecentFont& slot = m_recentFonts[m_nextRecentFont];
    m_nextRecentFont = (m_nextRecentFont + 1) % RecentFonts;
    slot.format = format;
    slot.font = font.get();
    return *font;
}

const LayoutEstimate::Glyph& LayoutEstimate::GlyphOf(Font& font, char32_t c)
{
    if (c < 0x10000) {
        if (font.basicIndex.empty())
            font.basicIndex.assign(0x10000, 0);
        if (const quint16 known = font.basicIndex[c])
            return font.glyphs[known];
    } else {
        const auto known = font.beyond.constFind(c);
        if (known != font.beyond.constEnd())
            return *known;
    }
    Glyph g;
    SetTraits(g, c);
    const QString text = QString::fromUcs4(&c, 1);
    if (IsLatin(c) || DrawnInChineseFonts(c)) {
        // Measured as a string, so that a character the font lacks takes its fallback's width.
        g.advance = font.metrics.horizontalAdvance(text);
        const bool chinese = !IsLatin(c);
        g.ascent = chinese ? font.chineseAscent : font.ascent;
        g.descent = chinese ? font.chineseDescent : font.descent;
        g.leading = chinese ? font.chineseLeading : font.leading;
    } else {
        // Laid out alone: the line takes the height of whichever font draws it (the font's
        // own for Hebrew or Cyrillic, a fallback for a script it lacks).
        QTextLayout layout(text, font.font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e6);
        layout.endLayout();
        g.advance = line.naturalTextWidth();
        g.ascent = line.ascent();
        g.descent = line.descent();
        g.leading = std::max<qreal>(line.leading(), 0);
    }
    g.missing = g.missing || !font.metrics.inFontUcs4(c);
    if (c < 0x10000) {
        // Fewer than 65,536 of them, but for ASCII: the index fits.
        font.basicIndex[c] = quint16(font.glyphs.size());
        font.glyphs.push_back(g);
        return font.glyphs.back();
    }
    // Kept for the program's life: a text of every character there is must not keep them all.
    if (font.beyond.size() >= 65536)
        font.beyond.clear();
    return *font.beyond.insert(c, g);
}

void LayoutEstimate::Spend(LayoutCost::Cause cause, qreal work)
{
    m_cost.work += work;
    m_cost.causeWork[cause] += work;
}

void LayoutEstimate::SpendUndrawn()
{
    Spend(LayoutCost::UndrawnCharacters, MissingWork);
    m_cost.undrawn += 1;
}

void LayoutEstimate::CountChange(const Glyph& g)
{
    // The direction class: left to right, right to left, or numbers in right-to-left text
    // (which the layout lays out at a level of their own).
    char flow = g.flow;
    if (flow == 'E')
        flow = m_strong == 'R' ? 'N' : 'L';
    else if (flow == 'A')
        flow = 'N';
    const bool scriptChange = g.script >= 0 && m_script >= 0 && g.script != m_script;
    const bool directionChange = flow && m_flow && flow != m_flow;
    if (g.script >= 0)
        m_script = g.script;
    if (flow) {
        m_flow = flow;
        if (flow != 'N')
            m_strong = flow;
    }
    if (scriptChange || directionChange) {
        Spend(LayoutCost::DirectionChanges, directionChange ? DirectionChangeWork : ChangeWork);
        m_cost.directionChanges += 1;
        m_segmentChanges += 1;
    }
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
    if (!m_hasRun) {
        Spend(LayoutCost::Characters, ChangeWork);
    } else {
        Spend(LayoutCost::FormatRuns, RunWork);
        m_cost.formatRuns += 1;
        m_segmentChanges += 1;
    }
    m_hasRun = true;
    Font& font = FontOf(format);
    m_ascent = std::max(m_ascent, font.ascent);
    m_descent = std::max(m_descent, font.descent);
    m_leading = std::max(m_leading, font.leading);
    // The work of characters and marks is added up here and spent once the run is read.
    qreal characterWork = 0;
    qreal markWork = 0;
    qint64 characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        characters += 1;
        if (c == QChar::LineSeparator) {
            characterWork += LatinWork;
            // A line of nothing but the break is as tall as the paragraph mark's font too.
            if (!m_lineHasText)
                m_breakOnlyLines += 1;
            EndSegment();
            EndLine();
            m_lineHasText = false;
            m_afterIdeograph = false;
            m_marks = 0;
            continue;
        }
        m_lineHasText = true;
        const Glyph* g = &font.ascii[c & 127];
        if (c >= 128) {
            g = &GlyphOf(font, c);
            m_ascent = std::max(m_ascent, g->ascent);
            m_descent = std::max(m_descent, g->descent);
            m_leading = std::max(m_leading, g->leading);
        }
        const qreal advance = c == u'\t' ? m_tabStop : g->advance;
        if (g->missing)
            SpendUndrawn();
        if (g->mark) {
            markWork += MarkWork + std::min(MarkGrowth * qreal(m_marks), MarkGrowthMost);
            m_marks += 1;
            m_cost.mostMarks = std::max(m_cost.mostMarks, m_marks);
        } else {
            characterWork += g->work;
            m_marks = 0;
        }
        CountChange(*g);
        if (g->ideograph && m_afterIdeograph)
            EndSegment();
        m_afterIdeograph = g->ideograph;
        m_segmentMayBreak = m_segmentMayBreak || g->mayBreak;
        m_segment += advance;
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
            if (m_segment > m_lineWidth && m_segment > advance)
                BreakInsideSegment(advance);
        }
        if (BreaksAfter(c))
            EndSegment();
    }
    Spend(LayoutCost::Characters, characterWork);
    Spend(LayoutCost::CombiningMarks, markWork);
    m_cost.characters += characters;
}

void LayoutEstimate::EndLine()
{
    m_lines += 1;
    m_lineUsed = 0;
}

void LayoutEstimate::BreakInsideSegment(qreal advance)
{
    // The word fills the line and goes on on the next with this character, which has the line
    // to itself when it is wider than the line.
    m_lines += 1;
    m_segmentLines += 1;
    m_segment = advance;
    // The layout looks for the word's end once for each of its lines.
    Spend(LayoutCost::WideWords, WideWordScanWork * m_segmentChars + WideWordChangeScanWork * m_segmentChanges);
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
    if (m_segmentLines > 0)
        m_cost.longestWideWord = std::max(m_cost.longestWideWord, qint64(m_segmentChars));
    m_lineUsed += m_segment;
    m_segment = 0;
    m_segmentChars = 0;
    m_segmentChanges = 0;
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

LayoutCost LayoutEstimate::OpenParagraph() const
{
    LayoutCost open = m_cost;
    if (m_segmentLines > 0)
        open.longestWideWord = std::max(open.longestWideWord, qint64(m_segmentChars));
    open.SettleCause();
    return open;
}

void LayoutEstimate::EndParagraph(const RtfCharFormat& nextFormat)
{
    Spend(LayoutCost::Characters, ParagraphEndWork);
    m_cost.paragraphs += 1;
    m_height += ParagraphHeight();
    const LayoutCost ended = OpenParagraph();
    if (ended.work > m_longest.work)
        m_longest = ended;
    m_ended.Add(ended);
    m_markHeight = FontOf(nextFormat).LineHeight();
    m_ascent = m_descent = m_leading = 0;
    m_lines = 1;
    m_breakOnlyLines = 0;
    m_lineHasText = false;
    m_cost = LayoutCost{};
    m_hasRun = false;
    m_lineUsed = 0;
    m_segment = 0;
    m_segmentChars = 0;
    m_segmentChanges = 0;
    m_segmentLines = 0;
    m_segmentMayBreak = false;
    m_afterIdeograph = false;
    m_marks = 0;
    m_script = -1;
    m_flow = 0;
    m_strong = 0;
}

qreal LayoutEstimate::Height() const { return 2 * m_margin + m_height + ParagraphHeight(); }

LayoutCost LayoutEstimate::LongestParagraph() const
{
    const LayoutCost open = OpenParagraph();
    return open.work > m_longest.work ? open : m_longest;
}

LayoutCost LayoutEstimate::WholeText() const
{
    LayoutCost whole = m_ended;
    whole.Add(OpenParagraph());
    whole.work /= ShownLayouts;
    for (qreal& w : whole.causeWork)
        w /= ShownLayouts;
    return whole;
}

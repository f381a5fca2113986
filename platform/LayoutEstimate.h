#pragma once
// How tall a text will be once a text box has laid it out, and how long the layout takes,
// estimated from above before the box is given the text. Qt's document layout cannot be asked
// in advance: it stops finishing past a height, and it lays a paragraph out whole, at once,
// however long.
//
// The estimate follows the layout: each paragraph takes as many lines as wrapping its runs at
// word boundaries (after blanks and tabs, between two Chinese characters) gives at the line
// width, every character as wide as its own font draws it alone and every tab as wide as a tab
// stop; blanks stay at the end of a full line, a tab past its end ends it, and a word wider than
// the line is broken anywhere, as many characters on a line as fit and one at least. Each line
// is as tall as the tallest font of its paragraph, with the simplified Chinese fonts the text
// falls back to counted for Chinese, Japanese and Korean characters, and the font that really
// draws it for any other character beyond Latin; a line of nothing (an empty paragraph, a line
// break at a line's start) as tall as the font of the paragraph mark. The layout breaks lines at
// more places than these (after a hyphen, beside a Chinese character), which only makes its
// lines longer, except in a word wider than the line: there it may leave a short line before
// each full one, so such a word counts twice its lines unless it is all letters and digits.
//
// The work is what the layout was measured to pay for, in microseconds of a typical desktop,
// where showing a paragraph of plain Latin words takes about one a character (the box lays a
// shown paragraph out about three times: at its width, then beside the scroll bar that appears):
// - each character, more for right-to-left letters and other scripts than for Latin, and far
//   more for one no installed font draws (a control character, a private-use code), which the
//   layout looks for through every fallback font each time;
// - each combining mark, more the more marks its character already carries (shaping a
//   character of 30,000 marks costs 18 microseconds a mark, a plain letter's 18 times);
// - each change of writing direction or of script (Latin to Hebrew, Chinese to Latin), where
//   the layout starts a new item of text to shape, and each run of another format;
// - in a word wider than the line, the layout's search for the word's end at each of its lines,
//   which walks the word's characters and, dearly, its changes of direction or script: a word
//   of 64,000 letters alternating Latin and Hebrew takes half a minute where the same word in
//   Latin takes 1.5 s;
// - each paragraph end.
// The whole text laid out once (Ctrl+End, or the layout between events behind the first page)
// costs about a third of showing each of its paragraphs.

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVector>
#include <memory>

#include "RtfDocument.h"

// What laying out a paragraph or a text costs, and what in it costs most: counts of the text,
// for a reason that names them.
struct LayoutCost {
    // The part of the text that takes the most of the work.
    enum Cause { Characters, WideWords, CombiningMarks, DirectionChanges, FormatRuns, UndrawnCharacters, Causes };

    qreal work{0};              // microseconds of a typical desktop
    Cause cause{Characters};
    qint64 characters{0};
    qint64 paragraphs{0};       // paragraph ends
    qint64 longestWideWord{0};  // characters of the longest word wider than the line
    qint64 mostMarks{0};        // the most combining marks on one character
    qint64 directionChanges{0}; // changes of writing direction or script
    qint64 formatRuns{0};       // runs after the first of their paragraph
    qint64 undrawn{0};          // characters no installed font draws

    // The work of each cause, as counted.
    qreal causeWork[Causes]{};

    // Adds another part's work and counts; the cause follows the larger share.
    void Add(const LayoutCost& other);
    void SettleCause();
};

class LayoutEstimate {
public:
    // defaultFont: the font of runs without a font name or size; lineWidth: the width a line of
    // text may take (pixels); tabStop: the distance between tab stops (pixels); margin: the
    // document's margin above and below the text (pixels).
    LayoutEstimate(const QFont& defaultFont, qreal lineWidth, qreal tabStop, qreal margin);
    ~LayoutEstimate();
    LayoutEstimate(const LayoutEstimate&) = delete;
    LayoutEstimate& operator=(const LayoutEstimate&) = delete;

    // Runs and paragraph ends as the box takes them (a paragraph end's format is that of the
    // paragraph it starts).
    void Add(const QVector<RtfPiece>& pieces);
    void AddRun(QStringView text, const RtfCharFormat& format);
    void EndParagraph(const RtfCharFormat& nextFormat);

    // The whole text laid out, the last (open) paragraph included, in pixels.
    qreal Height() const;
    // Showing the paragraph that costs the most (its work, in microseconds of a typical desktop).
    LayoutCost LongestParagraph() const;
    qreal LongestParagraphWork() const { return LongestParagraph().work; }
    // Laying the whole text out once.
    LayoutCost WholeText() const;
    qreal TextWork() const { return WholeText().work; }

    // Showing a paragraph lays it out about this many times; the whole text is laid out once.
    static constexpr qreal ShownLayouts = 3;

private:
    struct Font;
    struct Glyph;
    static void SetTraits(Glyph& g, char32_t c);
    // The fonts measured so far, by the default font and format they stand for: the same for
    // every box and every estimate, so measured once in the program.
    static QHash<QString, std::shared_ptr<Font>>& Fonts();
    Font& FontOf(const RtfCharFormat& format);
    const Glyph& GlyphOf(Font& font, char32_t c);
    void Spend(LayoutCost::Cause cause, qreal work);
    void SpendUndrawn();
    void CountChange(const Glyph& g);
    void EndLine();
    void EndSegment();
    void BreakInsideSegment(qreal advance);
    qreal SegmentExtraLines() const;
    qreal ParagraphHeight() const;
    LayoutCost OpenParagraph() const;

    QFont m_defaultFont;
    qreal m_lineWidth;
    qreal m_tabStop;
    qreal m_margin;
    QString m_defaultKey;
    struct RecentFont {
        RtfCharFormat format;
        Font* font{nullptr};
    };
    static constexpr int RecentFonts = 4;
    RecentFont m_recentFonts[RecentFonts];
    int m_nextRecentFont{0};

    qreal m_height{0};       // paragraphs ended so far
    LayoutCost m_longest;    // the paragraph ended so far that costs the most
    LayoutCost m_ended;      // all paragraphs ended so far
    // The open paragraph.
    qreal m_markHeight{0};   // its paragraph mark's line
    qreal m_ascent{0};       // the tallest of its runs
    qreal m_descent{0};
    qreal m_leading{0};
    qreal m_lines{1};
    qreal m_breakOnlyLines{0}; // lines of nothing but a line break
    bool m_lineHasText{false}; // the open line holds a character
    LayoutCost m_cost;
    bool m_hasRun{false};      // a run was added to it
    qreal m_lineUsed{0};     // width of the open line up to its last break
    qreal m_segment{0};      // width since that break (on the segment's own last line)
    qreal m_segmentChars{0};
    qreal m_segmentChanges{0};
    qreal m_segmentLines{0};   // lines the word took beyond the first, broken anywhere
    bool m_segmentMayBreak{false};
    bool m_afterIdeograph{false};
    qint64 m_marks{0};         // combining marks on the last character
    int m_script{-1};          // the last script other than common or inherited
    char m_flow{0};            // the last direction class: 'L', 'R', or 'N' (numbers in right-to-left)
    char m_strong{0};          // the last strong direction: 'L' or 'R'
};

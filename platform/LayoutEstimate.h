#pragma once
// How tall a text will be once a text box has laid it out, and how long its longest paragraph
// takes to lay out, estimated from above before the box is given the text. Qt's document
// layout cannot be asked in advance: it stops finishing past a height, and it lays a paragraph
// out whole, at once, however long.
//
// The estimate follows the layout: each paragraph takes as many lines as wrapping its runs at
// word boundaries (after blanks and tabs, between two Chinese characters) gives at the line
// width, every character as wide as its own font draws it alone and every tab as wide as a tab
// stop; blanks stay at the end of a full line, a tab past its end ends it, and a word wider than
// the line is broken anywhere. Each line is as tall as the tallest font of its paragraph, with
// the simplified Chinese fonts the text falls back to counted for any character beyond Latin;
// a line of nothing (an empty paragraph, a line break at a line's start) as tall as the font of
// the paragraph mark. The layout breaks lines at more places than these (after a hyphen, beside
// a Chinese character), which only makes its lines longer, except in a word wider than the line:
// there it may leave a short line before each full one, so such a word counts twice its lines
// unless it is all letters and digits. The work of a paragraph is a microsecond a character,
// plus, for a word wider than the line, the layout's search for the word's end at each of its
// lines.

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVector>
#include <memory>

#include "RtfDocument.h"

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
    // The longest paragraph's layout work, in microseconds of a typical desktop.
    qreal LongestParagraphWork() const;

private:
    struct Font;
    // The fonts measured so far, by the default font and format they stand for: the same for
    // every box and every estimate, so measured once in the program.
    static QHash<QString, std::shared_ptr<Font>>& Fonts();
    Font& FontOf(const RtfCharFormat& format);
    qreal Advance(Font& font, char32_t c);
    void EndLine();
    void EndSegment();
    void BreakWideSegment();
    qreal SegmentExtraLines() const;
    qreal ParagraphHeight() const;

    QFont m_defaultFont;
    qreal m_lineWidth;
    qreal m_tabStop;
    qreal m_margin;
    QString m_defaultKey;
    RtfCharFormat m_lastFormat;
    Font* m_lastFont{nullptr};

    qreal m_height{0};       // paragraphs ended so far
    qreal m_longestWork{0};
    // The open paragraph.
    qreal m_markHeight{0};   // its paragraph mark's line
    qreal m_ascent{0};       // the tallest of its runs
    qreal m_descent{0};
    qreal m_leading{0};
    qreal m_lines{1};
    qreal m_breakOnlyLines{0}; // lines of nothing but a line break
    bool m_lineHasText{false}; // the open line holds a character
    qreal m_work{0};
    qreal m_lineUsed{0};     // width of the open line up to its last break
    qreal m_segment{0};      // width since that break
    qreal m_segmentWidest{0};
    qreal m_segmentChars{0};
    qreal m_segmentLines{0};   // lines the word took beyond the first, broken anywhere
    bool m_segmentMayBreak{false};
    bool m_afterIdeograph{false};
};

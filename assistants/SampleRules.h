#pragma once
// The stroke-order samples' rules, without widgets: the 863 sample characters and their list,
// which of "<<" and ">>" a list position allows, reading a sample's stroke file, and where a
// stroke point is plotted. The window Samples applies them; the animation itself is the
// pop-up's StrokeAnimation (ZoomRules.h), one record per tick.

#include <QPointF>
#include <QString>
#include <QStringList>

#include "StrokeFile.h"

constexpr int SampleCount = 863;

// The sample characters in their fixed order; sample k (1-based) is character k - 1.
const QString& SampleCharacters();

// The list: "Select", then "k - <character k>" for k = 1..863 ("1 - 我").
QStringList SampleListItems();
// The character an item shows: its last character; empty for an empty item.
QString SampleCharacterOf(const QString& item);

// "<<" and ">>" for a list position (0 = "Select"): nothing before the first character and
// nothing after the last item.
struct SampleButtons {
    bool Previous{false};
    bool Next{false};
    friend bool operator==(const SampleButtons&, const SampleButtons&) = default;
};
SampleButtons SampleButtonsAt(int listIndex, int listCount);

// A sample's stroke file, read whole when the character is chosen.
struct SampleStrokes {
    enum Outcome { Loaded, Missing, Empty };
    Outcome Result{Missing};
    QString Number; // the file number the messages name ("-12590")
    StrokeData Data; // Loaded: every record, stroke ends included
};
// Characters/<n>.vmq under appPath for ch. A record whose coordinates are not finite numbers
// (a damaged file) is left out: it is neither drawn nor counted as a stroke end. A file whose
// records were all left out counts as empty.
SampleStrokes ReadSampleStrokes(const QString& appPath, QChar ch);

// "i / n", the stroke counter.
QString StrokeCounterText(int currentStroke, int strokeCount);

// Where a stroke point goes on the sample window, in twips: as stored, the drawing starting
// 40 pixels below the window's top edge (pixelHeight: twips per vertical pixel).
QPointF SampleDotPosition(StrokePoint point, double pixelHeight);

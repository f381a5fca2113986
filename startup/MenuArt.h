#pragma once
// The start menu's artwork, drawn at run time so that it fits any screen resolution: the menu
// face (paper, brand band, title, the bed on which the panels lie, and the five items in their
// plain look) and each item's hover and selected pictures, painted over its own area of the face.

#include <QPixmap>
#include <QRect>
#include <QString>
#include <array>

namespace MenuArt {

enum class Look { Plain, Hover, Selected };

struct Caption {
    QString english;
    QString chinese;
    QString pinyin; // tone-marked, for display only
};

// Item 1..5: course, assistants, settings, about, exit.
const Caption& ItemCaption(int index);

// Where the menu's artwork lies, in pixels: the face's size, items[k] item k+1's rectangle,
// panelBed the panels' place.
struct Layout {
    QSize size;
    std::array<QRect, 5> items;
    QRect panelBed;
    bool operator==(const Layout&) const = default;
};

// Everything the menu shows, for one layout: the face, and each item's hover (1..5) and
// selected (1..4) pictures (index 0 unused).
struct Pictures {
    QPixmap face;
    std::array<QPixmap, 6> hover;
    std::array<QPixmap, 5> selected;
};
// The pictures of a layout, drawn on first use and kept for the next call with the same layout
// (the main window has them drawn ahead on a worker thread as it is built, so the menu opens at once).
const Pictures& PicturesFor(const Layout& layout);
// Starts drawing a layout's pictures on a worker thread, for PicturesFor to take (it waits for
// them if they are not ready). Only the first call draws ahead.
void DrawAhead(const Layout& layout);
// Waits for a drawing started ahead, so that nothing paints after the application is gone.
void FinishDrawingAhead();

} // namespace MenuArt

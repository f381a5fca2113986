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

// The face without its items, in pixels. items[k] is item k+1's rectangle, panelBed the
// panels' place.
QPixmap Backdrop(const QSize& size, const std::array<QRect, 5>& items, const QRect& panelBed);
// The backdrop with every item in its plain look: what the menu shows under its items.
QPixmap Face(const QPixmap& backdrop, const std::array<QRect, 5>& items);

// Item index's picture in a look, the size of rect, painted over the backdrop's area at rect.
QPixmap ItemPicture(const QPixmap& backdrop, const QRect& rect, int index, Look look);

// Everything the menu shows, for one layout: the face, and each item's hover (1..5) and
// selected (1..4) pictures (index 0 unused).
struct Pictures {
    QPixmap face;
    std::array<QPixmap, 6> hover;
    std::array<QPixmap, 5> selected;
};
// The pictures of a layout, drawn on first use and kept for the next call with the same layout
// (the main window has them drawn ahead on a worker thread as it is built, so the menu opens at once).
const Pictures& PicturesFor(const QSize& size, const std::array<QRect, 5>& items, const QRect& panelBed);
// Starts drawing a layout's pictures on a worker thread, for PicturesFor to take (it waits for
// them if they are not ready). Only the first call draws ahead.
void DrawAhead(const QSize& size, const std::array<QRect, 5>& items, const QRect& panelBed);
// Waits for a drawing started ahead, so that nothing paints after the application is gone.
void FinishDrawingAhead();

} // namespace MenuArt

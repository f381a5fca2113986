#pragma once
// Twips (1440 per inch) against pixels, and the screen measured in twips.

#include <QRect>

class QWidget;

namespace Twips {
double PerPixelX();
double PerPixelY();
int ToPixelsX(double twips);
int ToPixelsY(double twips);
double FromPixelsX(int pixels);
double FromPixelsY(int pixels);
// The primary screen, in twips.
double ScreenWidth();
double ScreenHeight();
// The primary screen and its work area (screen less panels and taskbars), in pixels.
QRect ScreenPixels();
QRect WorkAreaPixels();
// The work area in twips.
double WorkAreaLeft();
double WorkAreaTop();
double WorkAreaWidth();
double WorkAreaHeight();

// A twip rectangle in pixels.
QRect ToPixels(double left, double top, double width, double height);
// Places a control (or window) at a twip rectangle, at least one pixel wide and high.
void Place(QWidget* widget, double left, double top, double width, double height);

// Tests measure layouts against a screen of their choosing (pixels); the override stays
// until ClearScreenOverride().
void OverrideScreen(const QRect& screenPixels, const QRect& workAreaPixels);
void ClearScreenOverride();
} // namespace Twips

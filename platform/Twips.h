#pragma once
// Twips (1440 per inch) against pixels, and the screen measured in twips.

#include <QRect>

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
// The work area (screen less panels/taskbars), in pixels.
QRect WorkAreaPixels();
} // namespace Twips

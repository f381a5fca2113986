#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
QScreen* Screen() { return QGuiApplication::primaryScreen(); }
double Dpi(bool x)
{
    QScreen* s = Screen();
    if (!s)
        return 96.0;
    const double d = x ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
    return d > 0 ? d : 96.0;
}
} // namespace

namespace Twips {
double PerPixelX() { return 1440.0 / Dpi(true); }
double PerPixelY() { return 1440.0 / Dpi(false); }
int ToPixelsX(double twips) { return static_cast<int>(std::lround(twips / PerPixelX())); }
int ToPixelsY(double twips) { return static_cast<int>(std::lround(twips / PerPixelY())); }
double FromPixelsX(int pixels) { return pixels * PerPixelX(); }
double FromPixelsY(int pixels) { return pixels * PerPixelY(); }
double ScreenWidth()
{
    QScreen* s = Screen();
    return s ? FromPixelsX(s->geometry().width()) : 0;
}
double ScreenHeight()
{
    QScreen* s = Screen();
    return s ? FromPixelsY(s->geometry().height()) : 0;
}
QRect WorkAreaPixels()
{
    QScreen* s = Screen();
    return s ? s->availableGeometry() : QRect();
}
} // namespace Twips

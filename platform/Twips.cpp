#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
struct Injected {
    QRect screen;
    QRect workArea;
};
std::optional<Injected>& Override()
{
    static std::optional<Injected> o;
    return o;
}
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

QRect ScreenPixels()
{
    if (Override())
        return Override()->screen;
    QScreen* s = Screen();
    return s ? s->geometry() : QRect();
}

QRect WorkAreaPixels()
{
    if (Override())
        return Override()->workArea;
    QScreen* s = Screen();
    return s ? s->availableGeometry() : QRect();
}

double ScreenWidth() { return FromPixelsX(ScreenPixels().width()); }
double ScreenHeight() { return FromPixelsY(ScreenPixels().height()); }
double WorkAreaLeft() { return FromPixelsX(WorkAreaPixels().x()); }
double WorkAreaTop() { return FromPixelsY(WorkAreaPixels().y()); }
double WorkAreaWidth() { return FromPixelsX(WorkAreaPixels().width()); }
double WorkAreaHeight() { return FromPixelsY(WorkAreaPixels().height()); }

QRect ToPixels(double left, double top, double width, double height)
{
    return QRect(ToPixelsX(left), ToPixelsY(top), ToPixelsX(width), ToPixelsY(height));
}

void Place(QWidget* widget, double left, double top, double width, double height)
{
    widget->setGeometry(ToPixelsX(left), ToPixelsY(top), std::max(1, ToPixelsX(width)), std::max(1, ToPixelsY(height)));
}

void OverrideScreen(const QRect& screenPixels, const QRect& workAreaPixels)
{
    Override() = Injected{screenPixels, workAreaPixels};
}
void ClearScreenOverride() { Override().reset(); }
} // namespace Twips

// Draws the default backdrop picture of the main window (background.jpg in the data tree):
// a night sky in the window's dark blue with a pale moon and layered hills. The drawing is
// fixed, so every build writes the same picture.
//
// Usage: velmora_backdrop <output.jpg>

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kWidth = 1920;
constexpr int kHeight = 1200;

// A ridge line across the picture from a sum of slow waves; filled down to the bottom edge.
QPainterPath Ridge(double base, double amplitude, double phase, double roughness)
{
    QPainterPath path;
    path.moveTo(0, kHeight);
    for (int x = 0; x <= kWidth; x += 8) {
        const double t = static_cast<double>(x) / kWidth;
        const double y = base - amplitude * (0.55 * std::sin(t * 5.1 + phase) + 0.30 * std::sin(t * 11.3 + phase * 1.7)
                                                + roughness * std::sin(t * 37.0 + phase * 2.3));
        path.lineTo(x, y);
    }
    path.lineTo(kWidth, kHeight);
    path.closeSubpath();
    return path;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: velmora_backdrop <output.jpg>\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(6, 8, 58));
    sky.setColorAt(0.55, QColor(0, 0, 128));
    sky.setColorAt(1.0, QColor(18, 30, 120));
    p.fillRect(image.rect(), sky);

    // A few fixed stars.
    p.setPen(Qt::NoPen);
    quint32 seed = 20070101u;
    for (int i = 0; i < 140; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double x = (seed >> 8) % kWidth;
        seed = seed * 1664525u + 1013904223u;
        const double y = (seed >> 8) % (kHeight / 2);
        seed = seed * 1664525u + 1013904223u;
        const int alpha = 60 + static_cast<int>((seed >> 8) % 120);
        p.setBrush(QColor(255, 255, 240, alpha));
        const double r = 0.8 + ((seed >> 4) % 10) / 10.0;
        p.drawEllipse(QPointF(x, y), r, r);
    }

    // The moon with its halo.
    const QPointF moon(kWidth * 0.88, kHeight * 0.18);
    QRadialGradient halo(moon, 260);
    halo.setColorAt(0.0, QColor(255, 244, 214, 90));
    halo.setColorAt(1.0, QColor(255, 244, 214, 0));
    p.setBrush(halo);
    p.drawEllipse(moon, 260, 260);
    p.setBrush(QColor(250, 240, 214));
    p.drawEllipse(moon, 70, 70);

    // Hills, far to near, each darker than the one behind it.
    struct Layer {
        double base, amplitude, phase, roughness;
        QColor colour;
    };
    const Layer layers[] = {
        {kHeight * 0.66, 110, 0.4, 0.05, QColor(34, 48, 140)},
        {kHeight * 0.74, 90, 2.1, 0.06, QColor(22, 32, 112)},
        {kHeight * 0.83, 70, 4.0, 0.08, QColor(12, 18, 84)},
        {kHeight * 0.92, 50, 5.3, 0.10, QColor(6, 8, 56)},
    };
    for (const Layer& l : layers) {
        p.setBrush(l.colour);
        p.drawPath(Ridge(l.base, l.amplitude, l.phase, l.roughness));
    }
    p.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]), "JPEG", 90)) {
        std::fprintf(stderr, "velmora_backdrop: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

#include "MenuArt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <future>

namespace {

const QColor Ink(0x2b, 0x1b, 0x17);
const QColor Vermilion(0xa6, 0x1e, 0x1e);
const QColor DeepRed(0x6e, 0x10, 0x10);
const QColor Gold(0xe4, 0xbe, 0x62);
const QColor PaleGold(0xf6, 0xe7, 0xc1);
const QColor Muted(0x8a, 0x78, 0x64);

QFont SansFont(double pixels, int weight = QFont::Normal)
{
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(qMax(1, qRound(pixels)));
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

QFont SerifFont(double pixels, int weight = QFont::Bold)
{
    QFont f(QStringLiteral("Noto Serif CJK SC"));
    f.setPixelSize(qMax(1, qRound(pixels)));
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

void DrawCentred(QPainter& p, const QRectF& box, const QString& text, const QFont& font, const QColor& colour)
{
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

// One item in a look, into rect (whatever lies below has been painted already).
void DrawItem(QPainter& p, const QRectF& r, int index, MenuArt::Look look)
{
    const MenuArt::Caption& c = MenuArt::ItemCaption(index);
    const double h = r.height();
    const double unit = h / 72.0; // the artwork was laid out on items 72 pixels high
    const QRectF plate = r.adjusted(3 * unit, 5 * unit, -12 * unit, -5 * unit);

    if (look == MenuArt::Look::Hover) {
        QPainterPath path;
        path.addRoundedRect(plate, 12 * unit, 12 * unit);
        p.fillPath(path, PaleGold);
        p.setPen(QPen(Gold, qMax(1.0, unit)));
        p.drawPath(path);
    } else if (look == MenuArt::Look::Selected) {
        QPainterPath path;
        path.addRoundedRect(plate, 12 * unit, 12 * unit);
        // A pointer on the right edge leads the eye to the open panel.
        const double cy = plate.center().y();
        QPainterPath pointer;
        pointer.moveTo(plate.right() - 2 * unit, cy - 10 * unit);
        pointer.lineTo(r.right() - 1 * unit, cy);
        pointer.lineTo(plate.right() - 2 * unit, cy + 10 * unit);
        pointer.closeSubpath();
        path = path.united(pointer);
        QLinearGradient g(plate.topLeft(), plate.bottomLeft());
        g.setColorAt(0, QColor(0xbe, 0x2a, 0x24));
        g.setColorAt(1, QColor(0x8e, 0x16, 0x16));
        p.fillPath(path, g);
    }

    // The badge: the item's first character inside a seal-like circle.
    const double d = 44 * unit;
    const QRectF badge(plate.left() + 10 * unit, r.center().y() - d / 2, d, d);
    QColor badgeFill = Qt::transparent;
    QColor badgeLine = Vermilion;
    QColor badgeText = Vermilion;
    if (look == MenuArt::Look::Hover)
        badgeFill = Gold;
    if (look == MenuArt::Look::Selected) {
        badgeFill = QColor(0xfb, 0xf6, 0xea);
        badgeLine = Gold;
    }
    p.setBrush(badgeFill);
    p.setPen(QPen(badgeLine, 2 * unit));
    p.drawEllipse(badge);
    p.setBrush(Qt::NoBrush);
    DrawCentred(p, badge.adjusted(0, -1 * unit, 0, -1 * unit), c.chinese.left(1), SerifFont(22 * unit), badgeText);

    const bool selected = look == MenuArt::Look::Selected;
    const double textLeft = badge.right() + 12 * unit;
    p.setFont(SansFont(18 * unit, QFont::DemiBold));
    p.setPen(selected ? QColor(Qt::white) : Ink);
    p.drawText(QPointF(textLeft, r.top() + 33 * unit), c.english);

    const QFont zh = SansFont(14 * unit, QFont::Medium);
    p.setFont(zh);
    p.setPen(selected ? QColor(0xf4, 0xd5, 0x8d) : Vermilion);
    const QPointF zhAt(textLeft, r.top() + 55 * unit);
    p.drawText(zhAt, c.chinese);
    const double zhWidth = QFontMetricsF(zh).horizontalAdvance(c.chinese);
    p.setFont(SansFont(12 * unit));
    p.setPen(selected ? QColor(0xf1, 0xd9, 0xc0) : Muted);
    p.drawText(QPointF(zhAt.x() + zhWidth + 8 * unit, zhAt.y()), c.pinyin);
}

void DrawBand(QPainter& p, const QRectF& band)
{
    QLinearGradient g(band.topLeft(), band.bottomLeft());
    g.setColorAt(0, QColor(0x9e, 0x1b, 0x1b));
    g.setColorAt(1, DeepRed);
    p.fillRect(band, g);

    const double w = band.width();
    // Faint concentric rings behind the great character, like ripples on ink.
    const QPointF centre(band.center().x(), band.top() + band.height() * 0.36);
    p.setPen(QPen(QColor(255, 255, 255, 22), 1.2));
    for (int k = 1; k <= 4; ++k)
        p.drawEllipse(centre, w * 0.18 * k, w * 0.18 * k);

    const QRectF glyphBox(band.left(), centre.y() - w * 0.42, w, w * 0.8);
    DrawCentred(p, glyphBox.translated(3, 4), QStringLiteral("学"), SerifFont(w * 0.62, QFont::Black), QColor(0, 0, 0, 70));
    DrawCentred(p, glyphBox, QStringLiteral("学"), SerifFont(w * 0.62, QFont::Black), Gold);

    QRectF line(band.left(), glyphBox.bottom() + w * 0.02, w, w * 0.14);
    DrawCentred(p, line, QStringLiteral("xué"), SerifFont(w * 0.11, QFont::Normal), QColor(0xf4, 0xd5, 0x8d));
    line.translate(0, w * 0.2);
    DrawCentred(p, line, QStringLiteral("to learn"), SansFont(w * 0.075), QColor(255, 255, 255, 210));

    // The hint of the two keys, at the foot of the band.
    const QRectF hint(band.left(), band.bottom() - w * 0.28, w, w * 0.18);
    DrawCentred(p, hint, QStringLiteral("Esc  exit   ·   F4  minimise"), SansFont(w * 0.062), QColor(255, 255, 255, 170));
}

void DrawBed(QPainter& p, const QRectF& bed)
{
    // A soft shadow and a pale mat under the panel that lies here.
    p.setPen(Qt::NoPen);
    for (int k = 8; k >= 1; --k) {
        p.setBrush(QColor(60, 30, 10, 7));
        p.drawRoundedRect(bed.adjusted(-k + 2, -k + 3, k + 2, k + 3), 6 + k, 6 + k);
    }
    p.setBrush(QColor(0xff, 0xfd, 0xf7));
    p.setPen(QPen(QColor(0xe2, 0xd2, 0xae), 1));
    p.drawRoundedRect(bed.adjusted(-4, -4, 4, 4), 6, 6);
    p.setBrush(Qt::NoBrush);
}

} // namespace

namespace MenuArt {

const Caption& ItemCaption(int index)
{
    static const std::array<Caption, 5> captions{{
        {QStringLiteral("Course"), QStringLiteral("课程"), QStringLiteral("kèchéng")},
        {QStringLiteral("Assistants"), QStringLiteral("助手"), QStringLiteral("zhùshǒu")},
        {QStringLiteral("Settings"), QStringLiteral("设置"), QStringLiteral("shèzhì")},
        {QStringLiteral("About"), QStringLiteral("关于"), QStringLiteral("guānyú")},
        {QStringLiteral("Exit"), QStringLiteral("退出"), QStringLiteral("tuìchū")},
    }};
    return captions[std::clamp(index, 1, 5) - 1];
}

namespace {

// The face and item pictures are painted into images, which a worker thread may do too (Qt
// paints text into a QImage off the GUI thread), in the format the screen's pixmaps have, so
// that turning them into pixmaps copies nothing and every pixel is what a pixmap would hold.
QImage BackdropImage(const QSize& size, qreal ratio, QImage::Format format, const std::array<QRect, 5>& items,
    const QRect& panelBed)
{
    // Drawn at the screen's device pixel ratio, so the artwork stays sharp on dense screens.
    QImage face((QSizeF(size) * ratio).toSize(), format);
    face.setDevicePixelRatio(ratio);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(size));

    QLinearGradient paper(all.topLeft(), all.bottomRight());
    paper.setColorAt(0, QColor(0xfc, 0xf8, 0xee));
    paper.setColorAt(1, QColor(0xf0, 0xe4, 0xca));
    p.fillRect(all, paper);

    const double itemsLeft = items[0].left();
    const QRectF band(0, 0, qMax(40.0, itemsLeft - 26), all.height());
    DrawBand(p, band);

    // Title over the items and the panel.
    const double unit = items[0].height() / 72.0;
    const double titleLeft = itemsLeft + 6 * unit;
    p.setFont(SerifFont(34 * unit, QFont::Bold));
    p.setPen(Ink);
    p.drawText(QPointF(titleLeft, 62 * unit), QStringLiteral("Velmora 2007"));
    p.setFont(SansFont(14 * unit, QFont::Medium));
    p.setPen(Vermilion);
    p.drawText(QPointF(titleLeft, 92 * unit), QStringLiteral("汉语课程"));
    const double zhWidth = QFontMetricsF(SansFont(14 * unit, QFont::Medium)).horizontalAdvance(QStringLiteral("汉语课程"));
    p.setFont(SansFont(13 * unit));
    p.setPen(Muted);
    p.drawText(QPointF(titleLeft + zhWidth + 10 * unit, 92 * unit), QStringLiteral("Mandarin Chinese for English speakers"));
    p.setPen(QPen(Gold, 1.5 * unit));
    p.drawLine(QPointF(titleLeft, 112 * unit), QPointF(all.right() - 24 * unit, 112 * unit));

    // A dotted guide down the items, from the first to the last.
    p.setPen(QPen(QColor(0xd9, 0xc2, 0x8c), 1.2 * unit, Qt::DotLine));
    const double guideX = itemsLeft - 8 * unit;
    p.drawLine(QPointF(guideX, items[0].top() + 10 * unit), QPointF(guideX, items[4].bottom() - 10 * unit));

    DrawBed(p, panelBed);

    // The frame of the borderless window.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(DeepRed, 2));
    p.drawRect(all.adjusted(1, 1, -1, -1));
    p.setPen(QPen(Gold, 1));
    p.drawRect(all.adjusted(5.5, 5.5, -5.5, -5.5));
    return face;
}

QImage FaceImage(const QImage& backdrop, const std::array<QRect, 5>& items)
{
    QImage face = backdrop;
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int k = 0; k < 5; ++k)
        DrawItem(p, items[k], k + 1, MenuArt::Look::Plain);
    return face;
}

QImage ItemImage(const QImage& backdrop, const QRect& rect, int index, MenuArt::Look look)
{
    const qreal ratio = backdrop.devicePixelRatio();
    QImage pic = backdrop.copy(QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toRect());
    pic.setDevicePixelRatio(ratio);
    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawItem(p, QRectF(QPointF(0, 0), QSizeF(rect.size())), index, look);
    return pic;
}

// What a screen pixmap holds, asked of the GUI thread.
struct Target {
    qreal ratio;
    QImage::Format format;
};

Target ScreenTarget()
{
    return {qApp ? qApp->devicePixelRatio() : 1.0, QPixmap(1, 1).toImage().format()};
}

struct Images {
    QImage face;
    std::array<QImage, 6> hover;
    std::array<QImage, 5> selected;
};

Images DrawAll(const MenuArt::Layout& layout, const Target& target)
{
    Images drawn;
    const QImage backdrop = BackdropImage(layout.size, target.ratio, target.format, layout.items, layout.panelBed);
    drawn.face = FaceImage(backdrop, layout.items);
    for (int k = 1; k <= 5; ++k) {
        drawn.hover[k] = ItemImage(backdrop, layout.items[k - 1], k, MenuArt::Look::Hover);
        if (k < 5)
            drawn.selected[k] = ItemImage(backdrop, layout.items[k - 1], k, MenuArt::Look::Selected);
    }
    return drawn;
}

// The drawing started ahead on a worker thread, and the layout it is for.
struct Ahead {
    MenuArt::Layout layout;
    std::future<Images> images;
};

Ahead& DrawingAhead()
{
    static Ahead ahead;
    return ahead;
}

} // namespace

void DrawAhead(const Layout& layout)
{
    Ahead& ahead = DrawingAhead();
    if (ahead.images.valid())
        return;
    ahead.layout = layout;
    ahead.images = std::async(std::launch::async, [layout = ahead.layout, target = ScreenTarget()] {
        return DrawAll(layout, target);
    });
}

void FinishDrawingAhead()
{
    if (Ahead& ahead = DrawingAhead(); ahead.images.valid())
        ahead.images.wait();
}

const Pictures& PicturesFor(const Layout& layout)
{
    struct Kept {
        Layout layout;
        Pictures pictures;
    };
    static Kept kept;
    if (!kept.pictures.face.isNull() && kept.layout == layout)
        return kept.pictures;
    Images drawn;
    Ahead& ahead = DrawingAhead();
    if (ahead.images.valid()) {
        // Taken once: a later layout is drawn here.
        drawn = ahead.images.get();
        if (!(ahead.layout == layout))
            drawn = DrawAll(layout, ScreenTarget());
    } else {
        drawn = DrawAll(layout, ScreenTarget());
    }
    kept = Kept{layout, {}};
    kept.pictures.face = QPixmap::fromImage(std::move(drawn.face));
    for (int k = 1; k <= 5; ++k) {
        kept.pictures.hover[k] = QPixmap::fromImage(std::move(drawn.hover[k]));
        if (k < 5)
            kept.pictures.selected[k] = QPixmap::fromImage(std::move(drawn.selected[k]));
    }
    return kept.pictures;
}

} // namespace MenuArt

#include "StartOrNotPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kPaper(246, 248, 251);
const QColor kFrame(120, 132, 148);
const QColor kTitle(64, 86, 112);
const QColor kRing(214, 40, 40);
const QColor kText(40, 44, 52);

QFont Font(double points, bool bold = false)
{
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// A window drawn in our own plain style: a title strip and a pale body. Returns the body.
QRectF DrawWindow(QPainter& p, const QRectF& r, const QString& title)
{
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 6, 6);
    QPainterPath outline;
    outline.addRoundedRect(r, 6, 6);
    p.save();
    p.setClipPath(outline);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 26), kTitle);
    p.restore();
    p.setPen(Qt::white);
    p.setFont(Font(8.5, true));
    p.drawText(QRectF(r.left() + 10, r.top(), r.width() - 20, 26), Qt::AlignVCenter | Qt::AlignLeft, title);
    return QRectF(r.left() + 1, r.top() + 27, r.width() - 2, r.height() - 28);
}

void Ring(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kRing, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(-4, -4, 4, 4), 7, 7);
}

// The step number in a red disc at the top left corner.
void Badge(QPainter& p, int step)
{
    const QRectF disc(8, 8, 34, 34);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(kRing);
    p.drawEllipse(disc);
    p.setPen(Qt::white);
    p.setFont(Font(14, true));
    p.drawText(disc, Qt::AlignCenter, QString::number(step));
}

// A mouse pointer with its tip at tip.
void Pointer(QPainter& p, const QPointF& tip)
{
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(0, 18));
    arrow.lineTo(tip + QPointF(4.5, 14));
    arrow.lineTo(tip + QPointF(8, 21));
    arrow.lineTo(tip + QPointF(11, 19.5));
    arrow.lineTo(tip + QPointF(7.5, 12.5));
    arrow.lineTo(tip + QPointF(13, 12.5));
    arrow.closeSubpath();
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

void Button(QPainter& p, const QRectF& r, const QString& text)
{
    p.setPen(QPen(kFrame, 1));
    p.setBrush(QColor(236, 239, 243));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(kText);
    p.setFont(Font(7.5));
    p.drawText(r, Qt::AlignCenter, text);
}

void CheckBox(QPainter& p, const QPointF& at, bool ticked, const QString& text, double width)
{
    const QRectF box(at.x(), at.y(), 12, 12);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    if (ticked) {
        p.setPen(QPen(QColor(30, 110, 60), 2));
        p.drawLine(QPointF(box.left() + 2.5, box.center().y()), QPointF(box.left() + 5, box.bottom() - 2.5));
        p.drawLine(QPointF(box.left() + 5, box.bottom() - 2.5), QPointF(box.right() - 2, box.top() + 2.5));
    }
    p.setPen(kText);
    p.setFont(Font(7.5));
    p.drawText(QRectF(at.x() + 18, at.y() - 3, width, 18), Qt::AlignVCenter | Qt::AlignLeft, text);
}

// The tab row of the language settings window; returns the page under it.
QRectF Tabs(QPainter& p, const QRectF& body, int active)
{
    const QString names[] = {QStringLiteral("Regional Options"), QStringLiteral("Languages"), QStringLiteral("Advanced")};
    double x = body.left() + 10;
    const double top = body.top() + 8;
    QRectF page(body.left() + 10, top + 22, body.width() - 20, body.height() - 70);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRect(page);
    p.setFont(Font(7.5, false));
    for (int i = 0; i < 3; ++i) {
        const double w = QFontMetricsF(p.font()).horizontalAdvance(names[i]) + 20;
        const QRectF tab(x, i == active ? top : top + 3, w, i == active ? 23 : 19);
        p.setPen(QPen(kFrame, 1));
        p.setBrush(i == active ? Qt::white : QColor(232, 236, 241));
        p.drawRect(tab);
        if (i == active) {
            p.setPen(QPen(Qt::white, 2));
            p.drawLine(QPointF(tab.left() + 1, tab.bottom()), QPointF(tab.right() - 1, tab.bottom()));
        }
        p.setPen(kText);
        p.drawText(tab, Qt::AlignCenter, names[i]);
        x += w + 2;
    }
    return page;
}

QRectF TabRect(QPainter& p, const QRectF& body, int index)
{
    const QString names[] = {QStringLiteral("Regional Options"), QStringLiteral("Languages"), QStringLiteral("Advanced")};
    p.setFont(Font(7.5, false));
    double x = body.left() + 10;
    for (int i = 0; i < index; ++i)
        x += QFontMetricsF(p.font()).horizontalAdvance(names[i]) + 22;
    return QRectF(x, body.top() + 8, QFontMetricsF(p.font()).horizontalAdvance(names[index]) + 20, 23);
}

void DialogButtons(QPainter& p, const QRectF& body, QRectF* apply)
{
    const double y = body.bottom() - 36;
    const double w = 62;
    QRectF r(body.right() - 10 - w, y, w, 22);
    Button(p, r, QStringLiteral("Apply"));
    if (apply)
        *apply = r;
    Button(p, r.translated(-(w + 8), 0), QStringLiteral("Cancel"));
    Button(p, r.translated(-2 * (w + 8), 0), QStringLiteral("OK"));
}

// One item of the settings overview: a tile with a simple glyph and its name below.
QRectF Tile(QPainter& p, const QPointF& at, const QColor& colour, int glyph, const QString& name)
{
    const QRectF icon(at.x() + 38, at.y(), 40, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(icon, 8, 8);
    p.setPen(QPen(Qt::white, 2.5));
    p.setBrush(Qt::NoBrush);
    const QRectF in = icon.adjusted(10, 10, -10, -10);
    switch (glyph) {
    case 0: p.drawRect(in.adjusted(0, 2, 0, -4)); break;
    case 1: p.drawEllipse(in); break;
    case 2:
        p.drawLine(in.topLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomLeft());
        break;
    case 3: {
        p.drawEllipse(in);
        p.drawLine(QPointF(in.left(), in.center().y()), QPointF(in.right(), in.center().y()));
        p.drawEllipse(in.adjusted(5, 0, -5, 0));
        break;
    }
    case 4: p.drawRect(in.adjusted(0, 6, 0, 0)); break;
    default: p.drawEllipse(in.adjusted(4, 0, -4, -8)); break;
    }
    const QRectF label(at.x(), at.y() + 44, 116, 32);
    p.setPen(kText);
    p.setFont(Font(7.5));
    p.drawText(label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, name);
    return QRectF(at.x() + 2, at.y() - 2, 112, 78);
}

void DrawStep1(QPainter& p, const QRectF& area)
{
    const QRectF body = DrawWindow(p, area, QStringLiteral("Control Panel"));
    const QString names[] = {QStringLiteral("Display"), QStringLiteral("Sound"), QStringLiteral("Network"),
        QStringLiteral("Regional and Language Options"), QStringLiteral("Printers"), QStringLiteral("User Accounts")};
    const QColor colours[] = {QColor(70, 130, 180), QColor(120, 90, 170), QColor(60, 150, 120), QColor(220, 120, 40),
        QColor(110, 120, 130), QColor(180, 80, 110)};
    const double cellW = body.width() / 3;
    const double cellH = (body.height() - 10) / 2;
    QRectF ringed;
    for (int i = 0; i < 6; ++i) {
        const QPointF at(body.left() + (i % 3) * cellW + (cellW - 116) / 2, body.top() + 10 + (i / 3) * cellH);
        const QRectF tile = Tile(p, at, colours[i], i, names[i]);
        if (i == 3)
            ringed = tile;
    }
    Ring(p, ringed);
    Pointer(p, QPointF(ringed.left() + 74, ringed.top() + 20));
}

void DrawStep2(QPainter& p, const QRectF& area)
{
    const QRectF body = DrawWindow(p, area, QStringLiteral("Regional and Language Options"));
    const QRectF page = Tabs(p, body, 1);
    const QRectF tab = TabRect(p, body, 1);
    const QRectF group(page.left() + 12, page.top() + 14, page.width() - 24, 78);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(group);
    p.setFont(Font(7.5, true));
    p.setPen(kText);
    const QString heading = QStringLiteral("Supplemental language support");
    const double hw = QFontMetricsF(p.font()).horizontalAdvance(heading) + 8;
    p.fillRect(QRectF(group.left() + 8, group.top() - 7, hw, 14), Qt::white);
    p.drawText(QRectF(group.left() + 12, group.top() - 8, hw, 16), Qt::AlignVCenter | Qt::AlignLeft, heading);
    CheckBox(p, QPointF(group.left() + 14, group.top() + 18), false,
        QStringLiteral("Install files for complex script and right-to-left languages"), group.width() - 40);
    CheckBox(p, QPointF(group.left() + 14, group.top() + 46), true,
        QStringLiteral("Install files for East Asian languages"), group.width() - 40);
    const QRectF east(group.left() + 12, group.top() + 42, 250, 20);
    Ring(p, east);
    Ring(p, tab);
    DialogButtons(p, body, nullptr);
    Pointer(p, QPointF(east.right() - 24, east.center().y() + 2));
}

void DrawStep3(QPainter& p, const QRectF& area)
{
    const QRectF body = DrawWindow(p, area, QStringLiteral("Regional and Language Options"));
    const QRectF page = Tabs(p, body, 2);
    const QRectF tab = TabRect(p, body, 2);
    p.setPen(kText);
    p.setFont(Font(7.5, true));
    p.drawText(QRectF(page.left() + 14, page.top() + 10, page.width() - 28, 18), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Language for non-Unicode programs"));
    const QRectF combo(page.left() + 14, page.top() + 36, 190, 22);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRect(combo);
    p.setPen(kText);
    p.setFont(Font(8));
    p.drawText(combo.adjusted(6, 0, -22, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Chinese (PRC)"));
    const QRectF drop(combo.right() - 20, combo.top() + 1, 19, combo.height() - 2);
    p.fillRect(drop, QColor(232, 236, 241));
    QPainterPath tri;
    tri.moveTo(drop.center() + QPointF(-4, -2));
    tri.lineTo(drop.center() + QPointF(4, -2));
    tri.lineTo(drop.center() + QPointF(0, 3));
    tri.closeSubpath();
    p.fillPath(tri, kText);
    Ring(p, combo);
    Ring(p, tab);
    QRectF apply;
    DialogButtons(p, body, &apply);
    Ring(p, apply);
    Pointer(p, QPointF(apply.center().x(), apply.center().y() + 2));
    // A reminder that the change needs a restart: a round arrow beside the text.
    const QPointF c(page.left() + 24, page.bottom() - 18);
    p.setPen(QPen(kRing, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - 7, c.y() - 7, 14, 14), 60 * 16, 300 * 16);
    p.setPen(kText);
    p.setFont(Font(7.5));
    p.drawText(QRectF(c.x() + 14, c.y() - 9, page.width() - 60, 18), Qt::AlignVCenter | Qt::AlignLeft,
        QStringLiteral("Then restart the computer"));
}
} // namespace

namespace StartOrNotPictures {

QPixmap Step(int step, const QSize& size)
{
    QPixmap pm(size);
    pm.fill(kPaper);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area(52, 14, size.width() - 66, size.height() - 28);
    switch (step) {
    case 1: DrawStep1(p, area); break;
    case 2: DrawStep2(p, area); break;
    default: DrawStep3(p, area); break;
    }
    Badge(p, step);
    return pm;
}

QPixmap SideBanner(const QSize& size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(150, 18, 24));
    g.setColorAt(1, QColor(96, 8, 14));
    p.fillRect(pm.rect(), g);
    // Faint rings behind the characters.
    p.setPen(QPen(QColor(255, 255, 255, 28), 1.5));
    for (int i = 0; i < 6; ++i) {
        const double r = 30 + i * 22;
        p.drawEllipse(QPointF(size.width() * 0.5, size.height() * 0.38), r, r);
    }
    QFont han;
    han.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    han.setPixelSize(size.width() * 45 / 100);
    p.setFont(han);
    p.setPen(QColor(255, 236, 200));
    const double cell = size.width() * 0.62;
    const double top = size.height() * 0.38 - cell;
    p.drawText(QRectF(0, top, size.width(), cell), Qt::AlignCenter, QStringLiteral("中"));
    p.drawText(QRectF(0, top + cell, size.width(), cell), Qt::AlignCenter, QStringLiteral("文"));
    p.setPen(QPen(QColor(255, 236, 200, 160), 1));
    p.drawLine(QPointF(size.width() * 0.25, size.height() * 0.78), QPointF(size.width() * 0.75, size.height() * 0.78));
    QFont name;
    name.setFamilies({QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    name.setPixelSize(13);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(name);
    p.drawText(QRectF(0, size.height() * 0.80, size.width(), 22), Qt::AlignCenter, QStringLiteral("VELMORA"));
    return pm;
}

} // namespace StartOrNotPictures

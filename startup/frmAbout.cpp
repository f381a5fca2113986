#include "frmAbout.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "Begin.h"
#include "ControlKit.h"
#include "Forms.h"
#include "Product.h"
#include "Shell.h"
#include "Twips.h"
#include "Version.h"

namespace {

const QColor LinkAtRest(0, 0, 255);
const QColor LinkLit(255, 0, 0);
const QColor Ink(0x2b, 0x1b, 0x17);

// A centred line of the panel, across its width less the margins.
QLabel* Line(QWidget* parent, const QString& name, const QString& text, double top, double height, double points,
    QFont::Weight weight, const QColor& ink, bool underline = false)
{
    return Kit::Label(parent, name, {240, top, MenuPanel::PanelWidth - 480, height}, text,
        {.points = points, .weight = weight, .underline = underline, .ink = ink, .align = Qt::AlignCenter, .wrap = true});
}

// The seal: a vermilion square with rounded corners and four characters in white, read
// right column first as seals are: 学无止境, "learning knows no end".
QPixmap DrawSeal(int side)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap seal(QSize(side, side) * ratio);
    seal.setDevicePixelRatio(ratio);
    seal.fill(Qt::transparent);
    QPainter p(&seal);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF outer(2, 2, side - 4, side - 4);
    QPainterPath path;
    path.addRoundedRect(outer, side * 0.08, side * 0.08);
    p.fillPath(path, QColor(0xb8, 0x22, 0x1c));
    p.setPen(QPen(QColor(0xfb, 0xf1, 0xe6), side * 0.03));
    p.drawRoundedRect(outer.adjusted(side * 0.07, side * 0.07, -side * 0.07, -side * 0.07), side * 0.04, side * 0.04);
    QFont f(QStringLiteral("Noto Serif CJK SC"));
    f.setPixelSize(qRound(side * 0.33));
    f.setWeight(QFont::Black);
    p.setFont(f);
    p.setPen(QColor(0xfb, 0xf1, 0xe6));
    const QRectF inner = outer.adjusted(side * 0.1, side * 0.1, -side * 0.1, -side * 0.1);
    const double half = inner.width() / 2;
    const std::array<std::pair<QString, QPointF>, 4> cells{{
        {QStringLiteral("学"), {inner.left() + half, inner.top()}},
        {QStringLiteral("无"), {inner.left() + half, inner.top() + half}},
        {QStringLiteral("止"), {inner.left(), inner.top()}},
        {QStringLiteral("境"), {inner.left(), inner.top() + half}},
    }};
    for (const auto& [glyph, at] : cells)
        p.drawText(QRectF(at, QSizeF(half, half)), Qt::AlignCenter, glyph);
    return seal;
}

} // namespace

QUrl frmAbout::WebAddress() { return QUrl(QStringLiteral("http://") + Product::MakerWebAddress() + QLatin1Char('/')); }

// Both makers' addresses in one message: mail programs read a comma between recipients.
QUrl frmAbout::MailAddress()
{
    const QString domain = Product::MakerMailDomain();
    return QUrl(QStringLiteral("mailto:info@%1,support@%1").arg(domain));
}

frmAbout::frmAbout()
    : MenuPanel(QStringLiteral("frmAbout"))
{
    UseTitledLook();
    SetCaption(QStringLiteral("About"));

    Label1 = AddTitle(QStringLiteral("Label1"), QStringLiteral("About"));

    const int sealSide = Twips::ToPixelsX(1500);
    Image1 = Kit::Picture(this, QStringLiteral("Image1"), {}, DrawSeal(sealSide));
    Image1->setGeometry((Twips::ToPixelsX(MenuPanel::PanelWidth) - sealSide) / 2, Twips::ToPixelsY(900), sealSide, sealSide);

    const QColor Muted(0x6b, 0x5d, 0x4f);
    Label2.Add(0, Line(this, Label2.Name(0), Product::Name(), 2580, 450, 16, QFont::Bold, Ink));
    Label2.Add(1, Line(this, Label2.Name(1), QString(), 3030, 300, 9, QFont::Normal, Muted));
    Label2.Add(2, Line(this, Label2.Name(2), QStringLiteral("Written by the Velmora course team"), 3600, 300, 9,
        QFont::Normal, Ink));
    Label2.Add(3, Line(this, Label2.Name(3), QStringLiteral("Copyright © 2007 Velmora. All rights reserved."), 3900,
        300, 9, QFont::Normal, Ink));
    Label2.Add(5, Line(this, Label2.Name(5), Product::MakerWebAddress(), 4620, 330, 10, QFont::Normal, LinkAtRest, true));
    Label2.Add(6, Line(this, Label2.Name(6), QStringLiteral("Contact us"), 5010, 330, 10, QFont::Normal, LinkAtRest, true));
    for (int i : {5, 6}) {
        Label2[i]->setCursor(Qt::PointingHandCursor);
        // Only the text is the link, not the whole width of the panel.
        Label2[i]->adjustSize();
        Label2[i]->move((width() - Label2[i]->width()) / 2, Label2[i]->y());
    }
    Label2.OnMouseMove([this](int i) { Label2_MouseMove(i); });
    Label2.OnClick([this](int i) { Label2_Click(i); });
}

void frmAbout::Form_Load()
{
    Label2[1]->setText(QStringLiteral("Version: %1     (Chinese Simplified)").arg(VELMORA_REVISION));
}

void frmAbout::Label2_MouseMove(int index)
{
    if ((index != 5 && index != 6) || index == HighlightedLink)
        return;
    if (HighlightedLink > 3)
        Kit::SetInk(Label2[HighlightedLink], LinkAtRest);
    Kit::SetInk(Label2[index], LinkLit);
    HighlightedLink = static_cast<qint16>(index);
}

void frmAbout::Form_MouseMove()
{
    if (HighlightedLink > 3) {
        Kit::SetInk(Label2[HighlightedLink], LinkAtRest);
        HighlightedLink = 3;
    }
    if (Begin* menu = Forms::Find<Begin>())
        menu->Form_MouseMove();
}

void frmAbout::Label2_Click(int index)
{
    if (index == 5)
        Shell::Open(WebAddress());
    else if (index == 6)
        Shell::Open(MailAddress());
}

void frmAbout::mouseMoveEvent(QMouseEvent* e)
{
    Form_MouseMove();
    Form::mouseMoveEvent(e);
}

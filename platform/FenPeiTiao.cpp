#include "FenPeiTiao.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "Twips.h"

FenPeiTiao::FenPeiTiao(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FenPeiTiao1"));
    Move(0, 0, m_width, m_height);
}

void FenPeiTiao::Common01(float value)
{
    const double v = std::floor(static_cast<double>(value));
    if (v <= 0) {
        SetBar(StubWidth);
    } else if (v <= m_width - StubWidth) {
        const double step = std::floor(m_width / 100);
        if (std::fabs(v - m_barWidth) > step)
            SetBar(v);
    } else {
        SetBar(m_width);
    }
    const double rounded = std::nearbyint(m_barWidth); // to even on halves, as the old conversion
    m_barLength = static_cast<qint16>(std::clamp(rounded, -32768.0, 32767.0));
}

void FenPeiTiao::Move(double left, double top, double width, double height)
{
    m_width = width;
    m_height = height;
    m_pixelSize = QSize(Twips::ToPixelsX(width), Twips::ToPixelsY(height));
    setGeometry(Twips::ToPixelsX(left), Twips::ToPixelsY(top), m_pixelSize.width(), m_pixelSize.height());
    Resize();
}

void FenPeiTiao::SetBar(double width)
{
    if (width == m_barWidth)
        return;
    m_barWidth = width;
    update();
}

void FenPeiTiao::Resize()
{
    SetBar(StubWidth);
    m_barLength = static_cast<qint16>(StubWidth);
}

void FenPeiTiao::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    // Sized by its layout or parent rather than through Move: take the twips from the pixels.
    if (e->size() != m_pixelSize) {
        m_pixelSize = e->size();
        m_width = Twips::FromPixelsX(m_pixelSize.width());
        m_height = Twips::FromPixelsY(m_pixelSize.height());
        Resize();
    }
}

void FenPeiTiao::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(255, 255, 255));
    const int bar = std::min(width(), Twips::ToPixelsX(m_barWidth));
    p.fillRect(QRect(0, 0, bar, height()), QColor(255, 0, 0));
}

void FenPeiTiao::mousePressEvent(QMouseEvent* e)
{
    emit MouseDown(static_cast<float>(Twips::FromPixelsX(qRound(e->position().x()))));
    QWidget::mousePressEvent(e);
}

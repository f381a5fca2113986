#include "DotSurface.h"

#include <QPainter>
#include <QPen>
#include <QWidget>
#include <algorithm>

void DotSurface::Cover(QSize size)
{
    if (size.width() <= m_image.width() && size.height() <= m_image.height())
        return;
    QImage grown(std::max(size.width(), m_image.width()), std::max(size.height(), m_image.height()),
        QImage::Format_ARGB32_Premultiplied);
    grown.fill(Qt::transparent);
    if (!m_image.isNull())
        QPainter(&grown).drawImage(0, 0, m_image);
    m_image = std::move(grown);
}

void DotSurface::Dot(QPointF at, const QColor& ink, qreal width, bool smooth)
{
    if (m_image.isNull())
        return;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoint(at);
}

void DotSurface::Clear()
{
    m_image.fill(Qt::transparent);
}

void DotSurface::Paint(QWidget* widget) const
{
    QPainter painter(widget);
    painter.fillRect(widget->rect(), widget->palette().color(QPalette::Window));
    painter.drawImage(0, 0, m_image);
}

#pragma once
// A drawing surface that keeps what was drawn on it until it is cleared: the stroke animation
// of the pop-up and the samples, and the writing pad. It grows with its window and never
// loses a dot when the window is resized.

#include <QColor>
#include <QImage>
#include <QPointF>

class QPainter;
class QWidget;

class DotSurface {
public:
    // Grows to cover size, keeping what is drawn.
    void Cover(QSize size);
    // One round dot of the given width (pixels) at a pixel position.
    void Dot(QPointF at, const QColor& ink, qreal width, bool smooth = false);
    void Clear();
    // The widget's own background, then the dots.
    void Paint(QWidget* widget) const;
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
};

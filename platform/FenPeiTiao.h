#pragma once
// The value bar: a red bar that grows from the left edge of a white strip. Hosts set it with
// Common01(value in twips) and read BarLength. Lengths are twips, the control's own scale.
// Steps of at most one hundredth of the width are not drawn, so a host's 100 ms timer costs
// no redraw; every resize puts the bar back to its 13-twip stub.

#include <QSize>
#include <QWidget>

class FenPeiTiao : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int BarLength READ BarLength WRITE SetBarLength)
public:
    static constexpr double StubWidth = 13;

    explicit FenPeiTiao(QWidget* parent = nullptr);

    Q_INVOKABLE void Common01(float value);
    // The bar's width in twips after the last change; hosts may also write it.
    qint16 BarLength() const { return m_barLength; }
    void SetBarLength(int length) { m_barLength = static_cast<qint16>(length); }

    // Geometry in twips.
    void Move(double left, double top, double width, double height);
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    // The drawn bar's width in twips.
    double BarWidth() const { return m_barWidth; }

signals:
    // A mouse press on the control, at x twips from its left edge.
    void MouseDown(float x);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void SetBar(double width);
    void Resize();

    double m_width{3165};
    double m_height{450};
    double m_barWidth{StubWidth};
    qint16 m_barLength{static_cast<qint16>(StubWidth)};
    QSize m_pixelSize;
};

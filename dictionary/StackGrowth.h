#pragma once
// How much taller than its own height a window of the study and tool stacks is: the
// dictionary windows grow where the screen has room for it (PlaceStack) and shrink back in a
// stack that has none. Counted in whole pixels, so growing and shrinking never drift.

#include <QWidget>
#include <algorithm>

#include "Twips.h"

class StackGrowth {
public:
    explicit StackGrowth(QWidget& window)
        : m_window(window)
    {
    }

    // Twips the window is taller than its own height.
    double Extra() const { return Twips::FromPixelsY(m_pixels); }
    // Makes the window extra twips taller than its own height (0: its own height again).
    void SetExtra(double extra)
    {
        const int pixels = std::max(0, Twips::ToPixelsY(extra));
        if (pixels == m_pixels)
            return;
        m_window.resize(m_window.width(), m_window.height() - m_pixels + pixels);
        m_pixels = pixels;
    }

private:
    QWidget& m_window;
    int m_pixels{0};
};

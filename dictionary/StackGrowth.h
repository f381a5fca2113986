#pragma once
// How the windows of the study and tool stacks are measured and sized. A window is measured at
// its own size, framed (StackShapeOf, for OuterSizeInStack), and placed in the normal state at
// that size, whatever the learner did to it in an earlier stack. The dictionary windows grow
// where the screen has room for it (PlaceStack) and shrink back in a stack that has none.
// Counted in whole pixels, so growing and shrinking never drift.

#include <algorithm>

#include "Form.h"
#include "StackGeometry.h"
#include "Twips.h"

// The window as a stack finds it, in twips.
inline StackWindowShape StackShapeOf(const Form& form)
{
    const QSize own = form.OwnSize();
    const QRect frame = form.frameGeometry();
    return {.OwnWidth = own.isValid() ? float(Twips::FromPixelsX(own.width())) : 0,
        .OwnHeight = own.isValid() ? float(Twips::FromPixelsY(own.height())) : 0,
        .Width = float(Twips::FromPixelsX(form.width())),
        .Height = float(Twips::FromPixelsY(form.height())),
        .FrameWidth = float(Twips::FromPixelsX(frame.width())),
        .FrameHeight = float(Twips::FromPixelsY(frame.height()))};
}

// Gives a window of a stack the outer width asked for (twips), at its own height: the frame's
// sides stay as they are. measuredWidth: its outer width as the stack measured it.
inline void SetStackWidth(Form& form, double measuredWidth, double width)
{
    const QSize own = form.OwnSize().isValid() ? form.OwnSize() : form.size();
    const double sides = measuredWidth - Twips::FromPixelsX(own.width());
    form.SetSize(width - sides, Twips::FromPixelsY(own.height()));
}

class StackGrowth {
public:
    explicit StackGrowth(Form& window)
        : m_window(window)
    {
    }

    // Gives the window its own size, extra twips taller (0: its own height again), no longer
    // maximised.
    void SetExtra(double extra) { m_window.TakeOwnShape(std::max(0, Twips::ToPixelsY(extra))); }

private:
    Form& m_window;
};

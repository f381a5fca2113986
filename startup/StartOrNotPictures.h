#pragma once
// The pictures of the code-page help window, drawn at run time: one numbered illustration per
// step (a settings window in a plain drawn style, the item to use ringed in red) and the
// decorative side banner.

#include <QPixmap>
#include <QSize>

namespace StartOrNotPictures {
QPixmap Step(int step, const QSize& size);
QPixmap SideBanner(const QSize& size);
} // namespace StartOrNotPictures

#pragma once
// Pictures from files (BMP, JPEG, GIF and whatever else the image readers know), decided by
// content rather than by the file name's ending.

#include <QImage>
#include <QPixmap>
#include <QString>

namespace Picture {
// The picture of the file, or a null pixmap when the file is missing or not a picture.
QPixmap Load(const QString& path);
// The same as an image, null when Load gives a null pixmap. Unlike Load it may run on any
// thread, so a large picture can be decoded while the program does other work.
QImage LoadImage(const QString& path);
} // namespace Picture

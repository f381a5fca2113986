#pragma once
// Pictures from files (BMP, JPEG, GIF and whatever else the image readers know), decided by
// content rather than by the file name's ending. The file is read through the one reader of
// regular files: a FIFO, a device or a folder is refused at once instead of holding the window
// while it is waited on, and a file larger than MaxFileBytes is refused before it is read.

#include <QImage>
#include <QPixmap>
#include <QString>

namespace Picture {
// No backdrop picture comes near this: the image readers refuse to decode more than 128 MB of
// pixels anyway, and an uncompressed picture's file is smaller than its pixels.
constexpr qint64 MaxFileBytes = qint64(128) << 20;

// The picture of the file, or a null pixmap when the file is missing, no regular file, larger
// than MaxFileBytes or not a picture.
QPixmap Load(const QString& path);
// The same as an image, null when Load gives a null pixmap. Unlike Load it may run on any
// thread, so a large picture can be decoded while the program does other work.
QImage LoadImage(const QString& path);
} // namespace Picture

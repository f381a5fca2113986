#include "Picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include "SafeFile.h"

namespace Picture {
QImage LoadImage(const QString& path)
{
    QByteArray bytes;
    if (SafeFile::ReadRegular(path, MaxFileBytes, &bytes) != SafeFile::ReadStatus::Ok)
        return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    return reader.read();
}

QPixmap Load(const QString& path)
{
    const QImage image = LoadImage(path);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
} // namespace Picture

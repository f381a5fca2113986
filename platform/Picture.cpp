#include "Picture.h"

#include <QImageReader>

#include "SafeFile.h"

namespace Picture {
QImage LoadImage(const QString& path)
{
    QImageReader reader(SafeFile::Native(path));
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

#include "Picture.h"

#include <QImageReader>

#include "SafeFile.h"

namespace Picture {
QPixmap Load(const QString& path)
{
    QImageReader reader(SafeFile::Native(path));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

bool IsPicture(const QString& path)
{
    QImageReader reader(SafeFile::Native(path));
    reader.setDecideFormatFromContent(true);
    return reader.canRead();
}
} // namespace Picture

#include "DriveType.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// /proc/mounts writes blanks, tabs, newlines and backslashes in octal ("\040").
QString Unescape(const QString& field)
{
    QString out;
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool Under(const QString& path, const QString& mountPoint)
{
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

QString ReadFlag(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
}

bool RemovableBlockDevice(const QString& device, const QString& sysRoot)
{
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = QFileInfo(device).fileName();
    const QString node = sysRoot + QStringLiteral("/class/block/") + name;
    const QString flag = ReadFlag(node + QStringLiteral("/removable"));
    if (!flag.isEmpty())
        return flag == QLatin1String("1");
    // A partition has no flag of its own: its disk is the folder above it in sysfs.
    const QString real = QFileInfo(node).canonicalFilePath();
    if (real.isEmpty())
        return false;
    return ReadFlag(QFileInfo(real).absolutePath() + QStringLiteral("/removable")) == QLatin1String("1");
}

} // namespace

namespace Drives {

int DriveTypeFrom(const QString& path, const QString& mountTable, const QString& sysRoot)
{
    QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        target = QDir::cleanPath(path);
    QString device, mountPoint, fsType;
    for (const QString& line : mountTable.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.size() < 3)
            continue;
        const QString point = Unescape(f[1]);
        // The last mount over the longest matching folder is the one in force.
        if (Under(target, point) && point.size() >= mountPoint.size()) {
            device = Unescape(f[0]);
            mountPoint = point;
            fsType = f[2];
        }
    }
    if (mountPoint.isEmpty())
        return Fixed;
    if (fsType == QLatin1String("iso9660") || fsType == QLatin1String("udf")
        || QFileInfo(device).fileName().startsWith(QLatin1String("sr")))
        return CdRom;
    if (RemovableBlockDevice(device, sysRoot))
        return Removable;
    if (mountPoint.startsWith(QLatin1String("/media/")) || mountPoint.startsWith(QLatin1String("/run/media/")))
        return Removable;
    return Fixed;
}

int DriveType(const QString& path)
{
    bool ok = false;
    const int forced = qEnvironmentVariable("VELMORA_DRIVE_TYPE").toInt(&ok);
    if (ok)
        return forced;
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly))
        return Fixed;
    return DriveTypeFrom(path, QString::fromUtf8(mounts.readAll()), QStringLiteral("/sys"));
}

} // namespace Drives

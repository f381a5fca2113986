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

// The disk a partition belongs to, by its name: sda1 -> sda, nvme0n1p2 -> nvme0n1,
// mmcblk0p1 -> mmcblk0. Empty when the name does not look like a partition.
QString DiskOfPartitionName(const QString& name)
{
    int end = name.size();
    while (end > 0 && name[end - 1].isDigit())
        --end;
    if (end == name.size() || end == 0)
        return {};
    // Disks whose own name ends in a digit mark their partitions with "p".
    if (name[end - 1] == QLatin1Char('p') && end >= 2 && name[end - 2].isDigit())
        return name.left(end - 1);
    if (name[end - 1].isDigit())
        return {};
    return name.left(end);
}

// The kernel's removable flag of the device's disk; a partition has none of its own, so the
// walk goes up to its disk: the folder above it in sysfs, or /sys/block/<disk>.
bool RemovableBlockDevice(const QString& device, const QString& sysRoot)
{
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = QFileInfo(device).fileName();
    const QString node = sysRoot + QStringLiteral("/class/block/") + name;
    QString flag = ReadFlag(node + QStringLiteral("/removable"));
    if (flag.isEmpty()) {
        const QString real = QFileInfo(node).canonicalFilePath();
        if (!real.isEmpty())
            flag = ReadFlag(QFileInfo(real).absolutePath() + QStringLiteral("/removable"));
    }
    if (flag.isEmpty()) {
        const QString disk = DiskOfPartitionName(name);
        if (!disk.isEmpty())
            flag = ReadFlag(sysRoot + QStringLiteral("/block/") + disk + QStringLiteral("/removable"));
    }
    return flag == QLatin1String("1");
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
    // Where it is mounted says nothing: desktops mount fixed data disks under /media too.
    return RemovableBlockDevice(device, sysRoot) ? Removable : Fixed;
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

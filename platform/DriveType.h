#pragma once
// What kind of drive a folder lives on, with the old drive-type codes: the start folder of a
// CD-ROM or a removable stick sends the program down the installer road.

#include <QString>

namespace Drives {
enum Type { Removable = 2, Fixed = 3, CdRom = 5 };

// The type of the drive holding path. VELMORA_DRIVE_TYPE (a number) overrides the answer.
int DriveType(const QString& path);

// The rule itself, over a mount table in the /proc/mounts format and a sysfs root:
// an iso9660/udf file system or an optical device (/dev/srN) is a CD-ROM; a block device
// whose sysfs "removable" flag is 1 (for a partition, its disk's flag) is removable; anything
// else is fixed, wherever it is mounted (a data disk under /media is fixed).
int DriveTypeFrom(const QString& path, const QString& mountTable, const QString& sysRoot);
} // namespace Drives

#pragma once
// What the installer asks of the machine: the places it may install into, their drive type
// and free space, and starting the installed program. Tests put their own host in place, so
// a 49 MB disk or a CD-ROM needs no real device and no program is started.

#include <QString>
#include <QStringList>

namespace Installer {

class Host {
public:
    virtual ~Host() = default;
    // Folders the program may be installed below: the home folder first, then the root of
    // every mounted volume the learner may write to.
    virtual QStringList TargetBases() const;
    // The drive type of base (Drives::Removable, Fixed, CdRom).
    virtual int DriveType(const QString& base) const;
    // Bytes free for the learner on the volume holding base; 0 when it cannot be read.
    virtual quint64 FreeBytes(const QString& base) const;
    // Starts program in workingFolder on its own, without this run's start-up overrides
    // (application folder, drive type); false when it could not be started.
    virtual bool StartProgram(const QString& program, const QString& workingFolder);
};

// The host in use: the machine's own unless a test set another.
Host& CurrentHost();
// nullptr puts the machine's own back.
void SetHost(Host* host);

} // namespace Installer

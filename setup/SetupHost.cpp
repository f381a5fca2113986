#include "SetupHost.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStorageInfo>
#include <algorithm>

#include "DriveType.h"

namespace Installer {

namespace {
Host g_machine;
Host* g_host = &g_machine;
} // namespace

QStringList Host::TargetBases() const
{
    QStringList bases{QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isReadOnly())
            continue;
        const QString root = volume.rootPath();
        if (!bases.contains(root) && QFileInfo(root).isWritable())
            bases << root;
    }
    return bases;
}

int Host::DriveType(const QString& base) const { return Drives::DriveType(base); }

quint64 Host::FreeBytes(const QString& base) const
{
    const QStorageInfo volume(base);
    if (!volume.isValid() || !volume.isReady())
        return 0;
    return static_cast<quint64>(std::max<qint64>(volume.bytesAvailable(), 0));
}

bool Host::StartProgram(const QString& program, const QString& workingFolder)
{
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(workingFolder);
    // The installed program finds its own folder and its own drive.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VELMORA_APPPATH"));
    environment.remove(QStringLiteral("VELMORA_DRIVE_TYPE"));
    process.setProcessEnvironment(environment);
    return process.startDetached();
}

Host& CurrentHost() { return *g_host; }

void SetHost(Host* host) { g_host = host ? host : &g_machine; }

} // namespace Installer

#include "SingleInstance.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::~InstanceLock() { Release(); }

bool InstanceLock::TryLock(const QString& path)
{
    Release();
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void InstanceLock::Release()
{
    if (m_fd < 0)
        return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

namespace {
InstanceLock& ThisRun()
{
    static InstanceLock lock;
    return lock;
}
} // namespace

namespace SingleInstance {

QString LockPath()
{
    QString dir = qEnvironmentVariable("VELMORA_LOCK_DIR");
    if (dir.isEmpty())
        dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/velmora-") + QString::number(::getuid()) + QStringLiteral(".lock");
}

bool AcquireForThisRun() { return ThisRun().TryLock(LockPath()); }

void ReleaseForThisRun() { ThisRun().Release(); }

} // namespace SingleInstance

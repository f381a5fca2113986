#include "SingleInstance.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Outcome InstanceLock::Take(const QString& path)
{
    Release();
    if (path.isEmpty())
        return Unusable;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return Unusable;
    // Only a plain file of our own: anything else was put there by someone else.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return Unusable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? HeldElsewhere : Unusable;
    }
    m_fd = fd;
    return Taken;
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

// A folder (not a link to one) of this user. With repair, a wrong mode is set to 0700; without
// it, only mode 0700 passes.
bool PrivateFolder(const QString& path, bool repair)
{
    if (path.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
    if (ok && (st.st_mode & 07777) != 0700)
        ok = repair && ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return ok;
}

} // namespace

namespace SingleInstance {

QString LockFolder(const QString& runtimeDir, const QString& tempDir)
{
    if (PrivateFolder(runtimeDir, false))
        return runtimeDir;
    if (tempDir.isEmpty())
        return {};
    const QString own = tempDir + QStringLiteral("/velmora-") + QString::number(::geteuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return PrivateFolder(own, true) ? own : QString();
}

QString LockPath()
{
    QString runtime = qEnvironmentVariable("VELMORA_LOCK_DIR");
    if (runtime.isEmpty())
        runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = LockFolder(runtime, QDir::tempPath());
    if (folder.isEmpty())
        return {};
    return folder + QStringLiteral("/velmora-") + QString::number(::geteuid()) + QStringLiteral(".lock");
}

bool AcquireForThisRun() { return ThisRun().Take(LockPath()) != InstanceLock::HeldElsewhere; }

void ReleaseForThisRun() { ThisRun().Release(); }

} // namespace SingleInstance

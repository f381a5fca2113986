#include "FolderHandle.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

namespace Installer {

namespace {

constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

void SetError(int* error, int value)
{
    if (error)
        *error = value;
}

// Which mount a folder lies on: the mount's id where the kernel tells it (a folder bound
// from elsewhere on the same file system has a mount of its own), and its device.
struct MountOf {
    quint64 id{0};
    bool hasId{false};
    quint64 device{0};

    explicit MountOf(int fd)
    {
        struct statx st {};
        if (::statx(fd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, STATX_MNT_ID, &st) != 0)
            return;
        hasId = (st.stx_mask & STATX_MNT_ID) != 0;
        id = st.stx_mnt_id;
        device = makedev(st.stx_dev_major, st.stx_dev_minor);
    }
    bool Same(const MountOf& other) const
    {
        return device == other.device && (!hasId || !other.hasId || id == other.id);
    }
};

// Closes a file descriptor on every way out.
struct OpenFile {
    int fd;
    ~OpenFile() { ::close(fd); }
};

} // namespace

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FolderHandle FolderHandle::Open(const QString& path)
{
    return FolderHandle(::open(QFile::encodeName(path).constData(), FolderFlags));
}

FolderHandle FolderHandle::Below(const QString& relative, bool create, int* error, QString* failedAt) const
{
    SetError(error, 0);
    if (m_fd < 0) {
        SetError(error, EBADF);
        if (failedAt)
            *failedAt = relative;
        return {};
    }
    FolderHandle current(::openat(m_fd, ".", FolderFlags));
    QString walked;
    for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
        walked += walked.isEmpty() ? part : u'/' + part;
        if (failedAt)
            *failedAt = walked;
        if (!current.IsOpen() || part == QStringLiteral(".") || part == QStringLiteral("..")) {
            SetError(error, current.IsOpen() ? EINVAL : errno);
            return {};
        }
        const QByteArray name = QFile::encodeName(part);
        int fd = ::openat(current.m_fd, name.constData(), FolderFlags | O_NOFOLLOW);
        if (fd < 0 && errno == ENOENT && create) {
            if (::mkdirat(current.m_fd, name.constData(), 0777) == 0 || errno == EEXIST)
                fd = ::openat(current.m_fd, name.constData(), FolderFlags | O_NOFOLLOW);
        }
        if (fd < 0) {
            SetError(error, errno);
            return {};
        }
        FolderHandle next(fd);
        if (!MountOf(fd).Same(MountOf(current.m_fd))) {
            SetError(error, EXDEV);
            return {};
        }
        current = std::move(next);
    }
    if (!current.IsOpen())
        SetError(error, errno);
    return current;
}

QList<FolderHandle::Entry> FolderHandle::Entries() const
{
    QList<Entry> entries;
    if (m_fd < 0)
        return entries;
    // A listing of its own: the handle's own position is never moved.
    const int fd = ::openat(m_fd, ".", FolderFlags);
    if (fd < 0)
        return entries;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return entries;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        entries.append({QFile::decodeName(name), folder});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

int FolderHandle::RemoveFile(const QString& name) const
{
    if (m_fd < 0)
        return EBADF;
    return ::unlinkat(m_fd, QFile::encodeName(name).constData(), 0) == 0 ? 0 : errno;
}

int FolderHandle::RemoveFolder(const QString& name) const
{
    if (m_fd < 0)
        return EBADF;
    return ::unlinkat(m_fd, QFile::encodeName(name).constData(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

std::optional<QByteArray> FolderHandle::Read(const QString& name, qint64 limit, bool* tooLarge) const
{
    if (tooLarge)
        *tooLarge = false;
    if (m_fd < 0)
        return std::nullopt;
    const int fd = ::openat(m_fd, QFile::encodeName(name).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const OpenFile file{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    const auto refuse = [tooLarge] {
        if (tooLarge)
            *tooLarge = true;
        return std::nullopt;
    };
    if (st.st_size > limit)
        return refuse();
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return bytes;
        if (bytes.size() + n > limit) // grown since it was measured
            return refuse();
        bytes.append(chunk, n);
    }
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool FolderHandle::Replace(const QString& name, const QString& partName, unsigned mode,
                           const std::function<bool(int fd)>& write) const
{
    if (m_fd < 0)
        return false;
    const QByteArray part = QFile::encodeName(partName);
    ::unlinkat(m_fd, part.constData(), 0); // what a killed write left
    const int fd = ::openat(m_fd, part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = write(fd) && ::fchmod(fd, mode & 0777) == 0 && ::fdatasync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::renameat(m_fd, part.constData(), m_fd, QFile::encodeName(name).constData()) == 0;
    if (!ok)
        ::unlinkat(m_fd, part.constData(), 0);
    return ok;
}

bool FolderHandle::Append(const QString& name, const QByteArray& bytes) const
{
    if (m_fd < 0)
        return false;
    const int fd = ::openat(m_fd, QFile::encodeName(name).constData(),
                            O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const OpenFile file{fd};
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && WriteAll(fd, bytes);
}

} // namespace Installer

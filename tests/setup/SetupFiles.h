#pragma once
// Real files for the installer's tests: writing one with its folders, reading a whole tree
// back as sorted relative paths, and a file that cannot be removed.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SetupFiles {

inline void Write(const QString& path, const QByteArray& data = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Every file and folder below root, as sorted relative paths ("dir/" for folders).
inline QStringList Tree(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(root).relativeFilePath(it.filePath());
        entries << (it.fileInfo().isDir() && !it.fileInfo().isSymLink() ? relative + u'/' : relative);
    }
    entries.sort();
    return entries;
}

// A file nobody may remove while this lives: root may remove files from any folder, so for
// root the file is made immutable; for anyone else its folder becomes one they may not write.
class Unremovable {
public:
    explicit Unremovable(const QString& file)
        : m_file(QFile::encodeName(file)), m_folder(QFile::encodeName(QFileInfo(file).absolutePath()))
    {
        m_done = ::geteuid() == 0 ? SetImmutable(true) : ::chmod(m_folder.constData(), 0555) == 0;
    }
    ~Unremovable()
    {
        if (m_done && ::geteuid() == 0)
            SetImmutable(false);
        else if (m_done)
            ::chmod(m_folder.constData(), 0755);
    }
    Unremovable(const Unremovable&) = delete;
    Unremovable& operator=(const Unremovable&) = delete;
    // False where the file system keeps no immutable flag.
    bool Done() const { return m_done; }

private:
    bool SetImmutable(bool on) const
    {
        const int fd = ::open(m_file.constData(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return ok;
    }

    QByteArray m_file;
    QByteArray m_folder;
    bool m_done{false};
};

} // namespace SetupFiles

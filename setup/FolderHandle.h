#pragma once
// A folder of the program reached through an open handle, never again by its path. Each
// folder below the program folder is opened relative to its parent, one name at a time, and
// none of them may be a link; files are then created, replaced and removed relative to that
// handle. A folder swapped for a link while the installer or the uninstaller runs so leads
// nowhere outside: a link on the way is refused, and an open handle stays on the folder it
// was opened on. Nor does the way below ever enter another mount (another file system, or a
// folder bound there from elsewhere): what is mounted below the program folder is not the
// program's.

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace Installer {

class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    // The folder at path. Links on the way are followed: this is the folder the program was
    // given (its own folder, or the install folder the learner chose).
    static FolderHandle Open(const QString& path);

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    // The folder at relative below this one ("a/b"; empty: this folder again), each name on
    // the way a real folder on this folder's mount and none a link; create makes the missing
    // ones. On failure the handle is closed, *error holds the reason (errno; EXDEV for a
    // mount point) and *failedAt the part of relative up to the name that failed.
    FolderHandle Below(const QString& relative, bool create, int* error = nullptr, QString* failedAt = nullptr) const;

    struct Entry {
        QString name;
        bool folder; // a real folder; a link to one is no folder here
    };
    // The entries in name order, without "." and "..".
    QList<Entry> Entries() const;

    // Removes a file or a link (never what it points to); 0 or the reason (errno).
    int RemoveFile(const QString& name) const;
    // Removes an empty folder; 0 or the reason (errno).
    int RemoveFolder(const QString& name) const;

    // A regular file's whole content when it holds at most limit bytes; nothing for a link, a
    // folder, a missing file or a larger one (*tooLarge is then set), which is never read.
    std::optional<QByteArray> Read(const QString& name, qint64 limit, bool* tooLarge = nullptr) const;
    // Writes name whole: write fills partName, which then gets mode's permission bits, is
    // flushed and is renamed over name, so a failure or a crash never leaves name half
    // written. A link standing at name is replaced, never written through.
    bool Replace(const QString& name, const QString& partName, unsigned mode,
                 const std::function<bool(int fd)>& write) const;
    // Appends to a regular file (created when missing), never through a link.
    bool Append(const QString& name, const QByteArray& bytes) const;

private:
    explicit FolderHandle(int fd) : m_fd(fd) {}
    int m_fd{-1};
};

// Writes all of bytes to fd; false on any failure.
bool WriteAll(int fd, const QByteArray& bytes);

} // namespace Installer

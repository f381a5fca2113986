#include "SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "CodePage.h"

namespace {

// QSaveFile names its temporary "<file name>." and six letters or digits when the folder's file
// system has no unnamed temporary files (vfat, network shares).
bool IsOurTemporaryName(const QString& name, const QString& fileName)
{
    if (name.size() != fileName.size() + 7 || !name.startsWith(fileName) || name[fileName.size()] != QLatin1Char('.'))
        return false;
    for (int i = fileName.size() + 1; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return false;
    }
    return true;
}

// Reads from fd up to limit bytes, or to the end; false on a read error. The buffer starts at
// the size the file had when it was opened, and one byte more so that its end shows in the
// same reads; it grows only for a file that grew since, and never past limit.
bool ReadUpTo(int fd, qint64 limit, qint64 expected, QByteArray* data)
{
    data->clear();
    if (limit <= 0)
        return true;
    data->resize(std::clamp<qint64>(expected + 1, 1, limit));
    qint64 got = 0;
    while (got < limit) {
        if (got == data->size())
            data->resize(std::min(limit, std::max<qint64>(2 * got, got + 65536)));
        const ssize_t n = ::read(fd, data->data() + got, static_cast<size_t>(data->size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            data->clear();
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    data->resize(got);
    return true;
}

SafeFile::ReadStatus ReadBounded(const QString& path, qint64 maxBytes, QByteArray* data, bool headOnly)
{
    data->clear();
    SafeFile::ReadStatus status;
    qint64 size = 0;
    const int fd = SafeFile::OpenRegular(path, &status, &size);
    if (fd < 0)
        return status;
    if (!headOnly && size > maxBytes) {
        ::close(fd);
        return SafeFile::ReadStatus::TooLarge;
    }
    // One byte past the bound: a file that grew since its size was taken is still caught.
    const bool read = ReadUpTo(fd, headOnly ? maxBytes : maxBytes + 1, size, data);
    ::close(fd);
    if (!read)
        return SafeFile::ReadStatus::Failed;
    if (data->size() > maxBytes) {
        data->clear();
        return SafeFile::ReadStatus::TooLarge;
    }
    return SafeFile::ReadStatus::Ok;
}

// Why this thread's last write failed (see WriteFailure).
thread_local QString lastWriteFailure;

bool FailWrite(const QString& reason)
{
    lastWriteFailure = reason;
    return false;
}

QString FileNameOf(const QString& path) { return QFileInfo(SafeFile::Native(path)).fileName(); }

// "<base name> (kept <n>).<suffix>" beside path.
QString KeptCandidate(const QString& path, int n)
{
    const QFileInfo info(SafeFile::Native(path));
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return info.dir().filePath(info.fileName().chopped(suffix.size()) + QStringLiteral(" (kept %1)").arg(n) + suffix);
}

// A failure the system reported in errno: no reason for a want of rights, which the disk-write
// warning names itself.
bool FailWriteWithError(const QString& path, int error)
{
    if (error == EACCES || error == EPERM || error == EROFS)
        return FailWrite(QString());
    return FailWrite(FileNameOf(path) + QStringLiteral(" could not be written: ")
        + (error == 0 ? QStringLiteral("the system gave no reason") : qt_error_string(error)) + u'.');
}

QString Megabytes(qint64 bytes) { return QString::number(bytes >> 20) + QStringLiteral(" MB"); }

// The held paths (SetAside), as absolute clean paths; any thread may write.
std::mutex heldMutex;
QSet<QString>& Held()
{
    static QSet<QString> held;
    return held;
}

QString HeldKey(const QString& path) { return QDir::cleanPath(QFileInfo(SafeFile::Native(path)).absoluteFilePath()); }

void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// The tests' step hook (SetStepHook); the program never sets one.
std::atomic<bool> hooked{false};
std::mutex hookMutex;
SafeFile::StepHook& Hook()
{
    static SafeFile::StepHook hook;
    return hook;
}

// The errno the step at path is to fail with (0: it goes on).
int StepFault(const char* step, const QString& path)
{
    if (!hooked.load(std::memory_order_acquire))
        return 0;
    SafeFile::StepHook hook;
    {
        const std::lock_guard lock(hookMutex);
        hook = Hook();
    }
    return hook ? hook(step, path) : 0;
}

void SyncFolderOf(const QString& path)
{
    StepFault("sync", path);
    SyncFolder(QFile::encodeName(QFileInfo(SafeFile::Native(path)).absolutePath()));
}

} // namespace

namespace SafeFile {

int OpenRegular(const QString& path, ReadStatus* status, qint64* size)
{
    ReadStatus dummy;
    ReadStatus& why = status ? *status : dummy;
    // Non-blocking, so that a FIFO's open returns at once; the descriptor is refused below.
    const int fd = ::open(QFile::encodeName(Native(path)).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        why = ReadStatus::NotRegular;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (size)
        *size = st.st_size;
    why = ReadStatus::Ok;
    return fd;
}

ReadStatus ReadRegular(const QString& path, qint64 maxBytes, QByteArray* data)
{
    return ReadBounded(path, maxBytes, data, false);
}

ReadStatus ReadRegularHead(const QString& path, qint64 maxBytes, QByteArray* data)
{
    return ReadBounded(path, maxBytes, data, true);
}

QString ReadFailure(ReadStatus status)
{
    // A pipe or a device would hold the window while it is waited on or read.
    if (status == ReadStatus::NotRegular)
        return QStringLiteral("This is not a file that can be opened.");
    if (status == ReadStatus::Damaged)
        return QStringLiteral("The file is damaged.");
    return qt_error_string(errno);
}

int RemoveStaleTemporaries(const QString& path, int minAgeSeconds)
{
    const QFileInfo target(Native(path));
    const QString fileName = target.fileName();
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return 0;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsOurTemporaryName(QFile::decodeName(entry->d_name), fileName))
            continue;
        // Only plain files of ours that nobody has touched for a while: a writer in another
        // process may be filling a fresh one right now.
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)
            || st.st_uid != ::geteuid() || now - st.st_mtime < minAgeSeconds)
            continue;
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

QString Native(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

bool WriteAll(const QString& path, const QByteArray& data)
{
    if (IsHeld(path))
        return FailWrite(FileNameOf(path) + QStringLiteral(" could not be read, and is kept as it was."));
    // QSaveFile writes through a link to its target: never to a device or a FIFO, whose folder
    // it would then fill with temporaries and whose name it would take over.
    struct stat st {};
    if (::stat(QFile::encodeName(Native(path)).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return FailWrite(FileNameOf(path) + QStringLiteral(" is not a file that can be written."));
    RemoveStaleTemporaries(path);
    QSaveFile f(Native(path));
    errno = 0;
    if (const int fault = StepFault("create", path))
        return FailWriteWithError(path, fault);
    if (!f.open(QIODevice::WriteOnly))
        return FailWriteWithError(path, errno);
    // A short write (disk full, file size limit) shows only in flush(): QSaveFile::commit()
    // would still rename the truncated file over the old one.
    errno = 0;
    const int writeFault = StepFault("write", path);
    if (writeFault || f.write(data) != data.size() || !f.flush()) {
        const int error = writeFault ? writeFault : errno;
        f.cancelWriting();
        return FailWriteWithError(path, error);
    }
    errno = 0;
    if (const int fault = StepFault("commit", path)) {
        f.cancelWriting();
        return FailWriteWithError(path, fault);
    }
    if (!f.commit())
        return FailWriteWithError(path, errno);
    // The rename lives in the folder: flush it too, or a power cut may bring the old file back.
    SyncFolderOf(path);
    lastWriteFailure.clear();
    return true;
}

bool WriteInPlace(const QString& path, const QByteArray& data)
{
    if (IsHeld(path))
        return FailWrite(FileNameOf(path) + QStringLiteral(" could not be read, and is kept as it was."));
    const QByteArray name = QFile::encodeName(Native(path));
    if (const int fault = StepFault("create", path))
        return FailWriteWithError(path, fault);
    // Never through a link, and never into a FIFO or a device.
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return FailWriteWithError(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return FailWrite(FileNameOf(path) + QStringLiteral(" is not a file that can be written."));
    }
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(name.constData());
        return FailWriteWithError(path, error);
    };
    if (const int fault = StepFault("write", path))
        return fail(fault);
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        done += n;
    }
    if (const int fault = StepFault("sync", path))
        return fail(fault);
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(name.constData());
        return FailWriteWithError(path, error);
    }
    SyncFolderOf(path);
    lastWriteFailure.clear();
    return true;
}

bool Remove(const QString& path)
{
    errno = StepFault("remove", path);
    if (errno == 0 && ::unlink(QFile::encodeName(Native(path)).constData()) == 0)
        return true;
    return errno == ENOENT;
}

ReadStatus ReadRecord(const QString& path, int recordLength, int recordNumber, QByteArray* record)
{
    QByteArray& rec = *record;
    rec = QByteArray(recordLength, '\0');
    ReadStatus status;
    qint64 size = 0;
    const int fd = OpenRegular(path, &status, &size);
    if (fd < 0)
        return status;
    // The writer rewrites the whole file: it takes no more, so the reader takes no more either.
    if (size > MaxRecordFileBytes) {
        ::close(fd);
        return ReadStatus::TooLarge;
    }
    const off_t offset = static_cast<off_t>(recordLength) * std::max(recordNumber - 1, 0);
    for (qsizetype got = 0; recordNumber >= 1 && got < recordLength;) {
        const ssize_t n = ::pread(fd, rec.data() + got, static_cast<size_t>(recordLength - got), offset + got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    ::close(fd);
    return ReadStatus::Ok;
}

QByteArray ReadRecord(const QString& path, int recordLength, int recordNumber)
{
    QByteArray rec;
    ReadRecord(path, recordLength, recordNumber, &rec);
    return rec;
}

bool WriteRecord(const QString& path, int recordLength, int recordNumber, const QByteArray& record)
{
    if (recordNumber < 1)
        return FailWrite(QStringLiteral("There is no record %1.").arg(recordNumber));
    QByteArray data;
    const ReadStatus read = ReadRegular(path, MaxRecordFileBytes, &data);
    if (read == ReadStatus::TooLarge)
        return FailWrite(FileNameOf(path) + QStringLiteral(" is larger than the %1 a record file may hold.")
                             .arg(Megabytes(MaxRecordFileBytes)));
    if (read == ReadStatus::NotRegular)
        return FailWrite(FileNameOf(path) + QStringLiteral(" is not a file that can be written."));
    if (read != ReadStatus::Ok && read != ReadStatus::Missing)
        return FailWriteWithError(path, errno);
    const qint64 offset = static_cast<qint64>(recordLength) * (recordNumber - 1);
    if (data.size() < offset + recordLength)
        data.append(QByteArray(offset + recordLength - data.size(), '\0'));
    QByteArray rec = record.left(recordLength);
    rec.append(QByteArray(recordLength - rec.size(), '\0'));
    data.replace(offset, recordLength, rec);
    return WriteAll(path, data);
}

ReadStatus ReadTextLines(const QString& path, QStringList* linesRead)
{
    linesRead->clear();
    QByteArray bytes;
    const ReadStatus status = ReadRegular(path, MaxTextFileBytes, &bytes);
    if (status != ReadStatus::Ok)
        return status;
    bool decoded = false;
    const QString text = CodePage::FromGbk(bytes, &decoded);
    if (!decoded)
        return ReadStatus::Damaged;
    bytes.clear();
    // CR LF, LF and a lone CR each end a line: files edited elsewhere keep every line.
    QStringList& lines = *linesRead;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    // A final line break ends the last line; it starts no new one.
    if (start < text.size())
        lines.append(text.mid(start));
    return ReadStatus::Ok;
}

QStringList ReadTextLines(const QString& path, bool* ok)
{
    QStringList lines;
    const bool read = ReadTextLines(path, &lines) == ReadStatus::Ok;
    if (ok)
        *ok = read;
    return lines;
}

QByteArray EncodeTextLines(const QStringList& lines, qint64 maxBytes, qsizetype* fitting)
{
    QByteArray data;
    qsizetype count = 0;
    for (const QString& l : lines) {
        const QByteArray line = CodePage::ToGbk(l);
        if (data.size() + line.size() + 2 > maxBytes)
            break;
        data += line;
        data += "\r\n";
        ++count;
    }
    *fitting = count;
    return data;
}

bool WriteTextLines(const QString& path, const QStringList& lines, qint64 maxBytes)
{
    qsizetype fitting = 0;
    const QByteArray data = EncodeTextLines(lines, maxBytes, &fitting);
    if (fitting < lines.size())
        return FailWrite(FileNameOf(path) + QStringLiteral(" would be larger than the %1 that can be read back.")
                             .arg(Megabytes(maxBytes)));
    return WriteAll(path, data);
}

QString WriteFailure() { return lastWriteFailure; }

QStringList KeptNames(const QString& path, int count)
{
    QStringList names;
    for (int n = 1; names.size() < count; ++n) {
        const QString candidate = KeptCandidate(path, n);
        struct stat st {};
        // Taken names are passed; any other answer (a name too long) is left to the move to report.
        if (::lstat(QFile::encodeName(candidate).constData(), &st) != 0)
            names.append(candidate);
    }
    return names;
}

QString KeptName(const QString& path) { return KeptNames(path, 1).constFirst(); }

QString MoveToKeptName(const QString& from, const QString& path, const QString& wanted, bool* gone)
{
    if (gone)
        *gone = false;
    const QByteArray source = QFile::encodeName(Native(from));
    errno = StepFault("rename", from);
    // A name taken meanwhile is never replaced: the next free one is tried.
    for (int attempt = 0; errno == 0 && attempt < 100; ++attempt) {
        const QString kept = attempt == 0 && !wanted.isEmpty() ? wanted : KeptName(path);
        const QByteArray to = QFile::encodeName(kept);
        if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0
            // A file system that cannot promise it: the name was free a moment ago.
            || (errno == EINVAL && ::rename(source.constData(), to.constData()) == 0)) {
            SyncFolderOf(kept);
            return kept;
        }
        if (errno == EEXIST)
            errno = 0;
    }
    if (gone)
        *gone = errno == ENOENT;
    return QString();
}

QString SetAside(const QString& path)
{
    struct stat before {};
    const bool known = ::lstat(QFile::encodeName(Native(path)).constData(), &before) == 0;
    bool gone = false;
    const QString kept = MoveToKeptName(path, path, QString(), &gone);
    if (!kept.isEmpty())
        return kept;
    if (gone) {
        // Another copy of the program refused it too and moved it first: it is where that copy
        // put it, the kept name holding the same file.
        for (int n = 1; known; ++n) {
            const QString candidate = KeptCandidate(path, n);
            struct stat st {};
            if (::lstat(QFile::encodeName(candidate).constData(), &st) != 0)
                break;
            if (st.st_dev == before.st_dev && st.st_ino == before.st_ino)
                return candidate;
        }
        return QString();
    }
    const std::lock_guard lock(heldMutex);
    Held().insert(HeldKey(path));
    return QString();
}

bool IsHeld(const QString& path)
{
    const std::lock_guard lock(heldMutex);
    return !Held().isEmpty() && Held().contains(HeldKey(path));
}

void SetStepHook(StepHook hook)
{
    const std::lock_guard lock(hookMutex);
    Hook() = std::move(hook);
    hooked.store(static_cast<bool>(Hook()), std::memory_order_release);
}

} // namespace SafeFile

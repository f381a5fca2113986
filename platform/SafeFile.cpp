#include "SafeFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <dirent.h>
#include <fcntl.h>
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

void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

namespace SafeFile {

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
    RemoveStaleTemporaries(path);
    QSaveFile f(Native(path));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // A short write (disk full, file size limit) shows only in flush(): QSaveFile::commit()
    // would still rename the truncated file over the old one.
    if (f.write(data) != data.size() || !f.flush()) {
        f.cancelWriting();
        return false;
    }
    if (!f.commit())
        return false;
    // The rename lives in the folder: flush it too, or a power cut may bring the old file back.
    SyncFolder(QFile::encodeName(QFileInfo(Native(path)).absolutePath()));
    return true;
}

QByteArray ReadRecord(const QString& path, int recordLength, int recordNumber)
{
    QByteArray rec(recordLength, '\0');
    QFile f(Native(path));
    if (recordNumber < 1 || !f.open(QIODevice::ReadOnly))
        return rec;
    if (!f.seek(static_cast<qint64>(recordLength) * (recordNumber - 1)))
        return rec;
    const QByteArray got = f.read(recordLength);
    for (int i = 0; i < got.size(); ++i)
        rec[i] = got[i];
    return rec;
}

bool WriteRecord(const QString& path, int recordLength, int recordNumber, const QByteArray& record)
{
    if (recordNumber < 1)
        return false;
    QByteArray data;
    QFile f(Native(path));
    if (f.exists()) {
        if (!f.open(QIODevice::ReadOnly))
            return false;
        data = f.readAll();
        f.close();
    }
    const qint64 offset = static_cast<qint64>(recordLength) * (recordNumber - 1);
    if (data.size() < offset + recordLength)
        data.append(QByteArray(offset + recordLength - data.size(), '\0'));
    QByteArray rec = record.left(recordLength);
    rec.append(QByteArray(recordLength - rec.size(), '\0'));
    data.replace(offset, recordLength, rec);
    return WriteAll(path, data);
}

QStringList ReadTextLines(const QString& path, bool* ok)
{
    QFile f(Native(path));
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    const QString text = CodePage::FromGbk(f.readAll());
    // CR LF, LF and a lone CR each end a line: files edited elsewhere keep every line.
    QStringList lines;
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
    return lines;
}

bool WriteTextLines(const QString& path, const QStringList& lines)
{
    QByteArray data;
    for (const QString& l : lines) {
        data += CodePage::ToGbk(l);
        data += "\r\n";
    }
    return WriteAll(path, data);
}

} // namespace SafeFile

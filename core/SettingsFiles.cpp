#include "SettingsFiles.h"

#include <QStringList>
#include <algorithm>
#include <unistd.h>

#include "BlankTrim.h"
#include "CodePage.h"
#include "RecordFolder.h"
#include "SafeFile.h"

namespace {
bool AllAsciiDigits(const QString& text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}
} // namespace

QString AddressText(const SettingRecord& record)
{
    QStringList parts;
    for (const qint16 p : record.Address)
        parts << QString::number(p);
    const QString text = parts.join(QLatin1Char('.'));
    return text == QLatin1String("0.0.0.0") ? QString() : text;
}

QString PortText(const SettingRecord& record)
{
    return QString::number(record.ChatPort == 0 ? DefaultChatPort : record.ChatPort);
}

bool IsValidIP(const QString& text)
{
    if (text.isEmpty() || text.contains(QLatin1Char(' ')))
        return false;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& p : parts)
        if (p.isEmpty() || p.size() > 3 || !AllAsciiDigits(p))
            return false;
    return true;
}

bool IsValidPort(const QString& text)
{
    if (text.isEmpty() || text.size() > 4 || !AllAsciiDigits(text))
        return false;
    return text.toInt() >= 1;
}

SafeFile::ReadStatus ReadLastTextLine(const QString& path, QString* text, qint64* bytesRead)
{
    text->clear();
    qint64 read = 0;
    qint64 end = 0;
    SafeFile::ReadStatus status;
    const int fd = SafeFile::OpenRegular(path, &status, &end);
    if (fd < 0)
        return status;
    // Line ends are single bytes that no two-byte character of code page 936 contains, so the
    // bytes can be cut at them before decoding.
    QByteArray line;
    bool lastBytes = true;
    status = SafeFile::ReadStatus::Ok;
    while (end > 0) {
        if (line.size() > MaxLastLineBytes)
            break;
        const qint64 start = std::max<qint64>(0, end - ReadLineBlock);
        QByteArray block(end - start, Qt::Uninitialized);
        if (::pread(fd, block.data(), static_cast<size_t>(block.size()), start) != block.size()) {
            status = SafeFile::ReadStatus::Failed;
            break;
        }
        read += block.size();
        if (lastBytes) {
            // A final line end (CR LF, LF or CR) ends the last line; it starts no new one.
            if (block.endsWith('\n'))
                block.chop(1);
            if (block.endsWith('\r'))
                block.chop(1);
        }
        lastBytes = false;
        const qsizetype lineEnd = std::max(block.lastIndexOf('\n'), block.lastIndexOf('\r'));
        line.prepend(block.constData() + lineEnd + 1, block.size() - lineEnd - 1);
        if (lineEnd >= 0)
            break;
        end = start;
    }
    ::close(fd);
    if (bytesRead)
        *bytesRead = read;
    if (status == SafeFile::ReadStatus::Ok && line.size() > MaxLastLineBytes)
        status = SafeFile::ReadStatus::TooLarge;
    if (status != SafeFile::ReadStatus::Ok)
        return status;
    bool decoded = false;
    *text = CodePage::FromGbk(line, &decoded);
    if (decoded)
        return status;
    text->clear();
    return SafeFile::ReadStatus::Damaged;
}

QString ReadOneLineRecord(const QString& fileName, bool* ok)
{
    const QString path = RecordPath(fileName);
    QString line;
    const SafeFile::ReadStatus status = ReadLastTextLine(path, &line);
    KeepRefusedRecord(path, status, MaxLastLineBytes);
    if (ok)
        *ok = status == SafeFile::ReadStatus::Ok;
    return BlankTrim(line);
}

bool WriteOneLineRecord(const QString& fileName, const QString& line)
{
    EnsureRecordFolder();
    // The line and its CR LF: no longer than the last line the reader takes.
    return SafeFile::WriteTextLines(RecordPath(fileName), {line}, MaxLastLineBytes + 2);
}

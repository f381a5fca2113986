#include "RecordFolder.h"

#include <QDir>
#include <QFileInfo>

#include "AppState.h"
#include "MsgBox.h"

QString RecordFolder() { return State().AppPath + QStringLiteral("Record"); }

void EnsureRecordFolder()
{
    const QString path = RecordFolder();
    if (QFileInfo::exists(path))
        return;
    QDir().mkpath(path);
}

QString RecordPath(const QString& name) { return State().AppPath + QStringLiteral("Record/") + name; }

void ShowDiskWriteWarning(const QString& folder, const QString& reason)
{
    const QString first = reason.isEmpty()
        ? QStringLiteral("Velmora 2007 is unable to write the disk, because you are logged on as a limited user.")
        : QStringLiteral("Velmora 2007 is unable to write the disk: ") + reason;
    MsgBox::Show(first + u'\n' + QDir::toNativeSeparators(folder), MsgBox::OkOnly, MsgBox::Critical,
        QStringLiteral("Warning"));
}

void KeepRefusedRecord(const QString& path, SafeFile::ReadStatus status, qint64 bound)
{
    if (status == SafeFile::ReadStatus::Ok || status == SafeFile::ReadStatus::Missing)
        return;
    // Taken first: the reason of a failed read is still in errno.
    KeepRefusedRecord(path, status == SafeFile::ReadStatus::TooLarge
            ? QStringLiteral("It is larger than the %1 MB it may hold.").arg(bound >> 20)
            : SafeFile::ReadFailure(status));
}

void KeepRefusedRecord(const QString& path, const QString& why)
{
    if (SafeFile::IsHeld(path))
        return;
    const QString kept = SafeFile::SetAside(path);
    // Not moved and not held: another copy of the program moved it first, to a name not found.
    const QString outcome = !kept.isEmpty()
        ? QStringLiteral("It has been kept as %1, and the program goes on without it.").arg(QDir::toNativeSeparators(kept))
        : SafeFile::IsHeld(path) ? QStringLiteral("It stays as it is, and nothing is written over it.")
                                 : QStringLiteral("It has been moved away meanwhile, and the program goes on without it.");
    MsgBox::Warning(
        QStringLiteral("Velmora 2007 cannot read the file %1.\n").arg(QDir::toNativeSeparators(SafeFile::Native(path)))
        + why + u'\n' + outcome);
}

QStringList ReadRecordLines(const QString& path, bool* ok)
{
    QStringList lines;
    const SafeFile::ReadStatus status = SafeFile::ReadTextLines(path, &lines);
    KeepRefusedRecord(path, status, SafeFile::MaxTextFileBytes);
    if (ok)
        *ok = status == SafeFile::ReadStatus::Ok;
    return lines;
}

QByteArray ReadRecordOf(const QString& path, int recordLength, int recordNumber)
{
    QByteArray record;
    const SafeFile::ReadStatus status = SafeFile::ReadRecord(path, recordLength, recordNumber, &record);
    KeepRefusedRecord(path, status, SafeFile::MaxRecordFileBytes);
    return record;
}

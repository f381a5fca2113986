#pragma once
// The learner's Record folder, the one warning every failed write shows, and the readers of its
// record files, which never let a save write over a file they refused.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "SafeFile.h"

// Creates AppPath + "Record" when no folder (or file) of that name exists.
void EnsureRecordFolder();
// AppPath + "Record/" + name.
QString RecordPath(const QString& name);
// AppPath + "Record": the folder every file of the learner's records is written to.
QString RecordFolder();
// "Velmora 2007 is unable to write the disk, ..." with the critical icon, and on a second line
// the folder that could not be written, so the learner knows where to look. reason
// (SafeFile::WriteFailure) takes the place of the want of rights when the write failed for
// another reason.
void ShowDiskWriteWarning(const QString& folder, const QString& reason = QString());

// A record file that exists but that its reader refused (status: too large for bound, damaged,
// no regular file, unreadable) is set aside (SafeFile::SetAside), so that no save of what was
// loaded without it writes over it, and the learner is told once what was kept where, or that
// it stays as it was. A held file is not told of again.
void KeepRefusedRecord(const QString& path, SafeFile::ReadStatus status, qint64 bound);
// The same for a file refused by a reader of its own, which says why in a sentence.
void KeepRefusedRecord(const QString& path, const QString& why);
// The record readers: SafeFile's, with a refused file kept (KeepRefusedRecord) and read as none.
// ok is false for a missing or refused file.
QStringList ReadRecordLines(const QString& path, bool* ok = nullptr);
QByteArray ReadRecordOf(const QString& path, int recordLength, int recordNumber);

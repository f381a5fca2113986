#pragma once
// Files written so that a crash mid-write never destroys what was there: every write goes to
// a temporary file in the same folder, which is then renamed over the old one.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace SafeFile {
// Replaces the whole file. False when the data could not be written completely. The folder
// is flushed after the rename; stale temporaries of this file go first.
bool WriteAll(const QString& path, const QByteArray& data);

// Removes temporaries of path that a killed write left behind ("<file name>.XXXXXX", plain
// files of this user, unchanged for minAgeSeconds). Returns how many went.
int RemoveStaleTemporaries(const QString& path, int minAgeSeconds = 60);

// Fixed-length random-access records (record numbers from 1). Reading a missing file or a
// record beyond its end (or a short one) gives zeros.
QByteArray ReadRecord(const QString& path, int recordLength, int recordNumber);
// Writes one record in place (the file is created when absent; a gap is filled with zeros).
bool WriteRecord(const QString& path, int recordLength, int recordNumber, const QByteArray& record);

// Text files of the Record folder: code page 936 (GB18030) lines, each ended by CR LF, LF
// or a lone CR.
// Missing file: empty list and *ok false.
QStringList ReadTextLines(const QString& path, bool* ok = nullptr);
// Writes the lines each ending in CR LF.
bool WriteTextLines(const QString& path, const QStringList& lines);

// Paths written with "\" in the old code become "/" here.
QString Native(const QString& path);
} // namespace SafeFile

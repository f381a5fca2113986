#pragma once
// Files written so that a crash mid-write never destroys what was there: every write goes to
// a temporary file in the same folder, which is then renamed over the old one.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace SafeFile {
// How reading a file went. Damaged: read whole, but not in the form its reader takes.
enum class ReadStatus { Ok, Missing, NotRegular, TooLarge, Failed, Damaged };

// Opens a regular file for reading (a link to one counts); -1 otherwise, with *status saying
// why. A FIFO, a device, a socket or a folder is refused without waiting on it: its open must
// not hold the window, nor its endless content fill the memory. *size gets the file's size.
int OpenRegular(const QString& path, ReadStatus* status = nullptr, qint64* size = nullptr);
// Reads a whole regular file of at most maxBytes into *data (left empty unless Ok).
ReadStatus ReadRegular(const QString& path, qint64 maxBytes, QByteArray* data);
// Reads the first maxBytes at most of a regular file; a longer file is no error.
ReadStatus ReadRegularHead(const QString& path, qint64 maxBytes, QByteArray* data);
// Why a read that was neither Ok nor TooLarge failed, for the learner: the system's reason
// ("No such file or directory"), that the path is no file to open, or that it is damaged.
// Asked right after the read, whose reason it takes from errno.
QString ReadFailure(ReadStatus status);

// The most a text record file (ReadTextLines, WriteTextLines) or a random-access record file
// holds. Writing refuses more than reading takes back.
constexpr qint64 MaxTextFileBytes = 64 << 20;
constexpr qint64 MaxRecordFileBytes = 1 << 20;

// Replaces the whole file. The target must be a regular file or absent: a link to a device or
// a FIFO is never written through, nor a held file (Hold). False when the data could not be
// written completely. The folder is flushed after the rename; stale temporaries of this file
// go first.
bool WriteAll(const QString& path, const QByteArray& data);
// Why this thread's last failed write (WriteAll, WriteTextLines, WriteRecord) failed, for the
// learner, naming the file: empty when the user may not write there (the disk-write warning
// says so in its own words).
QString WriteFailure();

// Writes the file in place, without a temporary, then flushes it and its folder to the disk:
// only for a file that nothing takes as whole before a later step says so, since a crash may
// leave it cut short. False, with the file removed, when it could not be written completely.
bool WriteInPlace(const QString& path, const QByteArray& data);
// Removes a file; false when it is still there.
bool Remove(const QString& path);

// A record file that its reader refused (too large, damaged, no regular file) is never
// written over by a save of what was loaded without it. SetAside moves it to a free name beside
// it, "<base name> (kept <n>).<suffix>", never over another entry, and returns the new path.
// When another copy of the program moved it first, it is not there to be written over: the
// path that copy gave it is returned when it is found, else an empty one. When it could not be
// moved, the path is held: no write of this run goes over it (IsHeld), and the path returned
// is empty. KeptName is the name SetAside would take now; KeptNames the next count free ones.
QString SetAside(const QString& path);
QString KeptName(const QString& path);
QStringList KeptNames(const QString& path, int count);
bool IsHeld(const QString& path);
// Moves the file from to a free kept name of path, as SetAside does, preferring wanted when it
// is free, and flushes the folder. Empty when it could not be moved; *gone is then true when
// from was no longer there.
QString MoveToKeptName(const QString& from, const QString& path, const QString& wanted = QString(),
    bool* gone = nullptr);

// Tests only: called before each step of ours that changes the disk, with the step ("create",
// "write", "commit", "sync", "rename", "remove") and the path it acts on. A non-zero answer is
// the errno the step fails with (a folder's flush, whose failure changes nothing, goes on); a
// test may also end its process there, as a crash would. The program installs none.
using StepHook = std::function<int(const char* step, const QString& path)>;
void SetStepHook(StepHook hook);

// Removes temporaries of path that a killed write left behind ("<file name>.XXXXXX", plain
// files of this user, unchanged for minAgeSeconds). Returns how many went.
int RemoveStaleTemporaries(const QString& path, int minAgeSeconds = 60);

// Fixed-length random-access records (record numbers from 1). Reading a missing file or a
// record beyond its end (or a short one) gives zeros, and so does a file refused: one that is
// no regular file or larger than MaxRecordFileBytes (status NotRegular or TooLarge).
ReadStatus ReadRecord(const QString& path, int recordLength, int recordNumber, QByteArray* record);
QByteArray ReadRecord(const QString& path, int recordLength, int recordNumber);
// Writes one record in place (the file is created when absent; a gap is filled with zeros).
// False, with nothing written, for a file ReadRecord refuses.
bool WriteRecord(const QString& path, int recordLength, int recordNumber, const QByteArray& record);

// Text files of the Record folder: code page 936 (GB18030) lines, each ended by CR LF, LF
// or a lone CR.
// A file that is missing, no regular file, larger than MaxTextFileBytes or not code page 936
// text (Damaged: a save would not give its bytes back) gives no lines.
ReadStatus ReadTextLines(const QString& path, QStringList* lines);
QStringList ReadTextLines(const QString& path, bool* ok = nullptr);
// The lines as the file holds them, each ending in CR LF, up to the first line that would take
// them past maxBytes; *fitting says how many went in.
QByteArray EncodeTextLines(const QStringList& lines, qint64 maxBytes, qsizetype* fitting);
// Writes the lines each ending in CR LF; false (nothing written) beyond maxBytes, the bound of
// the file's reader.
bool WriteTextLines(const QString& path, const QStringList& lines, qint64 maxBytes = MaxTextFileBytes);

// Paths written with "\" in the old code become "/" here.
QString Native(const QString& path);
} // namespace SafeFile

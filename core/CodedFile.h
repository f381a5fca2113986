#pragma once
// The coded course files (.vmq): a plain sequence of 6-byte little-endian records, one per
// UTF-16 unit of the text, with no header. ReadCodedLines is the one reader of that form; it
// turns a file into State().LineBuffer / State().LineCount.

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// One record of a coded file. Code = PartA + PartB (16-bit). Kind below 0: the code goes
// through the code table the file's tag selects; 0 or above: the code is the unit itself.
struct CodedRecord {
    qint16 Kind{0};
    qint16 PartA{0};
    qint16 PartB{0};
};
inline constexpr int kCodedRecordSize = 6;

// Lines beyond this count are ignored (counts are 16-bit).
inline constexpr int kMaxCodedLines = 32767;

// Reads the coded file at path ("\" accepted) with tag "RW", "VO", "RT", "RQ" or "SP" into
// State().LineBuffer (0-based here) and State().LineCount; both are emptied first. stopAt of 1
// or more stops as soon as that many lines are complete; 0 or less reads the whole file.
// A file that cannot be opened or read, or that holds a record whose two parts do not sum to
// a 16-bit code, is reported ("The file <path> is corrupted!") and yields no lines. A file of
// fewer than 6 bytes yields no lines and no message. Callers check that the file exists.
void ReadCodedLines(const QString& path, const QString& tag, qint16 stopAt);

// ReadCodedLines for a file that may be missing, checked with the same opening: false, with
// nothing read or shown, when there is no file at path; true once the file has been read (or
// reported). Saves the loading of a whole course one look-up of every file.
bool ReadCodedLinesIfPresent(const QString& path, const QString& tag, qint16 stopAt);

// The decoding itself, without the file or the message: false (and no lines) for a record
// whose parts overflow. Code 0, and a table miss, give a run of 0 to 99 blanks; an unknown tag
// selects no table, so its enciphered records are all misses.
bool DecodeCodedRecords(QByteArrayView data, const QString& tag, qint16 stopAt, QStringList& lines);

#pragma once
// The coded course files (.vmq): a plain sequence of 6-byte little-endian records, one per
// UTF-16 unit of the text, with no header. ReadCodedLines is the one reader of that form; it
// turns a file into State().LineBuffer / State().LineCount. ReadCodedText is the same reading
// for callers that only pass through the lines (the start-up loading): it keeps the text in
// one piece instead of making a string of every line.

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <string>
#include <vector>

// One record of a coded file. Code = PartA + PartB (16-bit). Kind below 0: the code goes
// through the code table the file's tag selects; 0 or above: the code is the unit itself.
struct CodedRecord {
    qint16 Kind{0};
    qint16 PartA{0};
    qint16 PartB{0};
};
inline constexpr int kCodedRecordSize = 6;

// Lines beyond this count are ignored (counts are 16-bit): reading ends at that line.
inline constexpr int kMaxCodedLines = 32767;
// Units of one line beyond this count are ignored (text positions are 16-bit), so a line of
// runs of blanks cannot grow without bound.
inline constexpr int kMaxCodedLineLength = 32767;
// A larger file is no course file: it is reported as damaged, unread. The largest course file
// holds some 30 KB.
inline constexpr qint64 kMaxCodedFileBytes = qint64(64) << 20;
// Files are read in blocks of this many bytes (whole records); reading stops at the block
// that completes the last line wanted.
inline constexpr qsizetype kCodedReadBlock = kCodedRecordSize * 16384;

// Reads the coded file at path ("\" accepted) with tag "RW", "VO", "RT", "RQ" or "SP" into
// State().LineBuffer (0-based here) and State().LineCount; both are emptied first. stopAt of 1
// or more stops as soon as that many lines are complete; 0 or less reads the whole file, up to
// kMaxCodedLines lines. The file is read block by block: what lies beyond the last line wanted
// is never read.
// A file that cannot be opened or read, is larger than kMaxCodedFileBytes, or holds a record
// whose two parts do not sum to a 16-bit code, is reported ("The file <path> is corrupted!")
// and yields no lines. A file of
// fewer than 6 bytes yields no lines and no message. Callers check that the file exists.
void ReadCodedLines(const QString& path, const QString& tag, qint16 stopAt);

// The lines of a decoded file in one piece of text. Line(i) (0-based) is a view into it, valid
// until the object is filled again.
class CodedText {
public:
    qsizetype LineCount() const { return static_cast<qsizetype>(m_ends.size()); }
    QStringView Line(qsizetype i) const;
    // Bytes of the file (or data) taken in by the last reading: what was read from disk.
    qint64 BytesRead() const { return m_bytesRead; }
    void Clear()
    {
        m_ends.clear();
        m_bytesRead = 0;
    }

private:
    friend class CodedDecoder;
    std::u16string m_text;
    std::vector<qsizetype> m_ends; // where each line ends in m_text
    qint64 m_bytesRead{0};
};

// ReadCodedLines for a file that may be missing, into text instead of LineBuffer: LineBuffer is
// emptied and LineCount set just as ReadCodedLines does, and the same failures are reported.
// Returns false, with nothing read, emptied or shown, when there is no file at path: so a
// caller needs no look-up of its own before reading.
bool ReadCodedText(const QString& path, const QString& tag, qint16 stopAt, CodedText& text);

// The decoding itself, without the file or the message: false (and no lines) for a record
// whose parts overflow. Code 0, and a table miss, give a run of 0 to 99 blanks (the random
// source is seeded once per reading); an unknown tag selects no table, so its enciphered
// records are all misses.
bool DecodeCodedRecords(QByteArrayView data, const QString& tag, qint16 stopAt, CodedText& text);

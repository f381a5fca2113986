#pragma once
// Stroke files: Characters/<n>.vmq, one per character that has stroke-order data, read by the
// character pop-up and the stroke-order samples, written by the stroke converter in tools/.
//
// A file is a flat run of 10-byte little-endian records, no header: X (float), the key byte of
// X, Y (float), the key byte of Y. Each coordinate is stored scrambled and comes back as the
// stored value plus the offset its key selects (keys 0..17; any other key gives 0). After
// unscrambling a record whose X is 0 ends a stroke; every other record is a point in twips at
// full drawing size. Every stroke, the last one included, is closed by such a record.
//
// n is CodeToFileNumber of the character's code in code page 936 (我 -> -12590.vmq).

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QVector>
#include <array>

constexpr int StrokeRecordSize = 10;
// The reader's counts are 16-bit: a longer file is read up to this many records.
constexpr int StrokeRecordLimit = 32767;
constexpr int StrokeKeyCount = 18;

// The unscrambling offsets, indexed by key. Drawn once (seed 18061) and fixed for good: every
// stroke file shipped was written with them. Whole numbers, so that scrambling and
// unscrambling a whole-twip coordinate are exact in single precision.
constexpr std::array<float, StrokeKeyCount> StrokeKeyOffsets{
    5260.0f, -15083.0f, 13660.0f, -4580.0f, 781.0f, -8433.0f,
    14916.0f, 3654.0f, -8613.0f, -3674.0f, 4202.0f, -7961.0f,
    -6516.0f, 3776.0f, -3852.0f, 11032.0f, -1105.0f, 774.0f};

// The file number of a character code: below -21539 it is code + 21539, above 11036 it is
// code - 11036, otherwise the code itself. code is left holding that number; the result is
// it in decimal ("-12590").
QString CodeToFileNumber(qint16& code);

// stored + the offset of key, in single precision. A key above 17, or a result that is not a
// finite number (a damaged file), gives 0.
float UnscrambleCoordinate(quint8 key, float stored);
// The stored value that unscrambles to value under key (key 0..17).
float ScrambleCoordinate(quint8 key, float value);

struct StrokePoint {
    float X{0};
    float Y{0};
    bool IsStrokeEnd() const { return X == 0.0f; }
};

struct StrokeData {
    QVector<StrokePoint> Points; // every record, stroke ends included, unscrambled
    qint16 StrokeCount{0};       // the stroke-end records among them
    qint16 PointCount() const { return qint16(Points.size()); }
};

// What the reader does with a record whose X or Y (under a key 0..17) is no finite number, as
// only a damaged file holds: AsZero reads that coordinate as 0 (an X of 0 ends a stroke),
// Skip leaves the whole record out (it is neither a point nor a stroke end).
enum class NonFiniteRecords { AsZero, Skip };

// Reads a stroke file whole. A missing or unreadable file reads as no records; bytes after
// the last whole record are ignored; beyond StrokeRecordLimit records only the first
// StrokeRecordLimit are read.
StrokeData LoadStrokeFile(const QString& path, NonFiniteRecords nonFinite = NonFiniteRecords::AsZero);
StrokeData DecodeStrokeRecords(const QByteArray& bytes, NonFiniteRecords nonFinite = NonFiniteRecords::AsZero);

// One record as stored, for the given keys (0..17).
QByteArray EncodeStrokeRecord(StrokePoint point, quint8 xKey, quint8 yKey);

// The file of a character relative to the application folder ("Characters/-12590.vmq"), or
// an empty text when it can have none: a character without a two-byte code in code page 936,
// or one whose code the file-number rule shifts (it would name another character's file).
QString StrokeFileName(QChar ch);
// appPath + StrokeFileName(first character of text); empty when there can be no file.
QString StrokeFilePath(const QString& appPath, const QString& text);

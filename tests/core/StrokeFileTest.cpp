#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

#include "StrokeFile.h"
#include "TestSupport.h"

namespace {

QByteArray Records(const QVector<StrokePoint>& points)
{
    QByteArray bytes;
    for (int i = 0; i < points.size(); ++i)
        bytes += EncodeStrokeRecord(points.at(i), quint8(i % StrokeKeyCount), quint8((i * 7 + 3) % StrokeKeyCount));
    return bytes;
}

// A record whose X is stored as the raw float bits given, under key 0.
QByteArray RawXRecord(float storedX)
{
    QByteArray record = EncodeStrokeRecord({100, 200}, 0, 0);
    quint32 bits;
    std::memcpy(&bits, &storedX, sizeof bits);
    for (int b = 0; b < 4; ++b)
        record[b] = char((bits >> (8 * b)) & 0xFF);
    return record;
}

} // namespace

TEST(StrokeFileTest, FileNumberShiftsCodesOutsideTheMiddleRange)
{
    const struct {
        qint16 code;
        qint16 number;
    } cases[] = {
        {-21539, -21539}, {-21540, -1}, {11036, 11036}, {11037, 1}, {-32768, -11229}, {32767, 21731},
        {0, 0},           {-12590, -12590},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        qint16 code = c.code;
        EXPECT_EQ(CodeToFileNumber(code), QString::number(c.number));
        EXPECT_EQ(code, c.number); // the caller's variable holds the number afterwards
    }
}

TEST(StrokeFileTest, CharactersNameTheirFileByTheirCodePageCode)
{
    const struct {
        const char* ch;
        const char* name;
    } cases[] = {
        {"我", "Characters/-12590.vmq"},
        {"好", "Characters/-17725.vmq"},
        {"一", "Characters/-11589.vmq"},
        {"齄", "Characters/-2050.vmq"}, // F7FE, the last code of the standard range
        // Codes the rule shifts would name a standard character's file: none of their own.
        {"啰", ""}, // 86A1, an extension character
        {"Ａ", ""}, // A3C1, a full-width form
        // No two-byte code: no stroke file.
        {"A", ""},
        {"ก", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ch);
        EXPECT_EQ(StrokeFileName(QString::fromUtf8(c.ch).at(0)), QString::fromUtf8(c.name));
    }
    EXPECT_EQ(StrokeFilePath("/app/", QStringLiteral("我们")), "/app/Characters/-12590.vmq");
    EXPECT_EQ(StrokeFilePath("/app/", QString()), QString());
}

TEST(StrokeFileTest, UnscramblingAddsTheKeysOffsetAndGivesZeroForBadKeysAndBadNumbers)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        int key;
        float stored;
        float value;
    } cases[] = {
        {0, 0, StrokeKeyOffsets[0]},
        {17, 10, 10 + StrokeKeyOffsets[17]},
        {18, 1234, 0},
        {255, -5, 0},
        {3, std::numeric_limits<float>::quiet_NaN(), 0},
        {3, inf, 0},
        {3, -inf, 0},
        {1, std::numeric_limits<float>::max(), std::numeric_limits<float>::max() + StrokeKeyOffsets[1]},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(UnscrambleCoordinate(quint8(c.key), c.stored), c.value);
    }
}

TEST(StrokeFileTest, ScramblingIsUndoneExactlyForEveryKey)
{
    for (int key = 0; key < StrokeKeyCount; ++key) {
        SCOPED_TRACE(key);
        EXPECT_NE(StrokeKeyOffsets[key], 0.0f);
        for (float value : {0.0f, 1.0f, 800.0f, 3680.0f, 4095.0f}) {
            const float stored = ScrambleCoordinate(quint8(key), value);
            EXPECT_EQ(UnscrambleCoordinate(quint8(key), stored), value);
        }
    }
}

TEST(StrokeFileTest, RecordsReadBackInOrderWithTheirStrokeEnds)
{
    const QVector<StrokePoint> points{{900, 300}, {960, 310}, {0, 0}, {1200, 500}, {0, 0}};
    const StrokeData data = DecodeStrokeRecords(Records(points));
    ASSERT_EQ(data.PointCount(), 5);
    EXPECT_EQ(data.StrokeCount, 2);
    for (int i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(data.Points.at(i).X, points.at(i).X);
        EXPECT_EQ(data.Points.at(i).Y, points.at(i).Y);
    }
}

TEST(StrokeFileTest, FileLengthDecidesTheRecordCount)
{
    const QByteArray three = Records({{900, 300}, {960, 310}, {0, 0}});
    const struct {
        const char* what;
        QByteArray bytes;
        int records;
        int strokes;
    } cases[] = {
        {"empty", {}, 0, 0},
        {"shorter than a record", three.left(9), 0, 0},
        {"25 bytes", three.left(25), 2, 0},
        {"whole", three, 3, 1},
        {"a bad key makes X a stroke end", three.left(4) + char(18) + three.mid(5), 3, 2},
        {"a stored X that is no number makes a stroke end", RawXRecord(std::nanf("")), 1, 1},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(QStringLiteral("s.vmq"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        const StrokeData data = LoadStrokeFile(path);
        EXPECT_EQ(data.PointCount(), c.records);
        EXPECT_EQ(data.StrokeCount, c.strokes);
    }
    EXPECT_EQ(LoadStrokeFile(dir.filePath(QStringLiteral("missing.vmq"))).PointCount(), 0);
}

TEST(StrokeFileTest, AFileBeyondTheLimitReadsItsFirstRecords)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.vmq"));
    QByteArray bytes;
    const QByteArray point = EncodeStrokeRecord({900, 300}, 4, 5);
    const QByteArray end = EncodeStrokeRecord({0, 0}, 6, 7);
    for (int i = 0; i < StrokeRecordLimit - 1; ++i)
        bytes += point;
    bytes += end;          // record 32767, the last one read
    bytes += end + end;    // beyond the limit
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const StrokeData data = LoadStrokeFile(path);
    EXPECT_EQ(data.PointCount(), StrokeRecordLimit);
    EXPECT_EQ(data.StrokeCount, 1);
    EXPECT_TRUE(data.Points.last().IsStrokeEnd());
}

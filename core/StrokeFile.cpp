#include "StrokeFile.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

#include "CodePage.h"
#include "SafeFile.h"

namespace {

constexpr int LowestUnshifted = -21539;
constexpr int HighestUnshifted = 11036;

float FloatAt(const char* bytes)
{
    const quint32 bits = qFromLittleEndian<quint32>(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void PutFloat(char* bytes, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, bytes);
}

// Whether both coordinates of a record unscramble to finite numbers (a key above 17 gives 0,
// which is finite).
bool IsFiniteRecord(const char* record)
{
    for (int at : {0, 5}) {
        const quint8 key = quint8(record[at + 4]);
        if (key < StrokeKeyCount && !std::isfinite(FloatAt(record + at) + StrokeKeyOffsets[key]))
            return false;
    }
    return true;
}

} // namespace

QString CodeToFileNumber(qint16& code)
{
    int number = code;
    if (number < LowestUnshifted)
        number += -LowestUnshifted;
    else if (number > HighestUnshifted)
        number -= HighestUnshifted;
    code = qint16(number);
    return QString::number(number);
}

float UnscrambleCoordinate(quint8 key, float stored)
{
    if (key >= StrokeKeyCount)
        return 0.0f;
    const float value = stored + StrokeKeyOffsets[key];
    return std::isfinite(value) ? value : 0.0f;
}

float ScrambleCoordinate(quint8 key, float value)
{
    Q_ASSERT(key < StrokeKeyCount);
    return value - StrokeKeyOffsets[key];
}

StrokeData DecodeStrokeRecords(const QByteArray& bytes, NonFiniteRecords nonFinite)
{
    StrokeData data;
    const int count = int(std::min<qsizetype>(bytes.size() / StrokeRecordSize, StrokeRecordLimit));
    data.Points.reserve(count);
    const char* record = bytes.constData();
    for (int i = 0; i < count; ++i, record += StrokeRecordSize) {
        if (nonFinite == NonFiniteRecords::Skip && !IsFiniteRecord(record))
            continue;
        StrokePoint point;
        point.X = UnscrambleCoordinate(quint8(record[4]), FloatAt(record));
        point.Y = UnscrambleCoordinate(quint8(record[9]), FloatAt(record + 5));
        if (point.IsStrokeEnd())
            ++data.StrokeCount;
        data.Points.append(point);
    }
    return data;
}

StrokeData LoadStrokeFile(const QString& path, NonFiniteRecords nonFinite)
{
    QByteArray records;
    if (SafeFile::ReadRegularHead(path, qint64(StrokeRecordLimit) * StrokeRecordSize, &records) != SafeFile::ReadStatus::Ok)
        return {};
    return DecodeStrokeRecords(records, nonFinite);
}

QByteArray EncodeStrokeRecord(StrokePoint point, quint8 xKey, quint8 yKey)
{
    QByteArray record(StrokeRecordSize, '\0');
    PutFloat(record.data(), ScrambleCoordinate(xKey, point.X));
    record[4] = char(xKey);
    PutFloat(record.data() + 5, ScrambleCoordinate(yKey, point.Y));
    record[9] = char(yKey);
    return record;
}

QString StrokeFileName(QChar ch)
{
    if (!CodePage::IsDoubleByte(ch))
        return {};
    const qint16 code = CodePage::AnsiCode(ch);
    qint16 number = code;
    const QString text = CodeToFileNumber(number);
    if (number != code)
        return {};
    return QStringLiteral("Characters/") + text + QStringLiteral(".vmq");
}

QString StrokeFilePath(const QString& appPath, const QString& text)
{
    if (text.isEmpty())
        return {};
    const QString name = StrokeFileName(text.at(0));
    return name.isEmpty() ? QString() : appPath + name;
}

#include "WavFile.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "SafeFile.h"

namespace WavFile {

namespace {

enum FormatTag : quint16 { TagPcm = 1, TagFloat = 3, TagExtensible = 0xFFFE };

quint16 U16(const char* p) { return qFromLittleEndian<quint16>(p); }
quint32 U32(const char* p) { return qFromLittleEndian<quint32>(p); }

Audio Fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return {};
}

void Put16(QByteArray& out, qint64 index, int value)
{
    qToLittleEndian<qint16>(static_cast<qint16>(std::clamp(value, -32768, 32767)), out.data() + index * 2);
}

} // namespace

qint64 Audio::FramesMs(qint64 count) const
{
    if (sampleRate <= 0)
        return 0;
    return (count * 1000 + sampleRate - 1) / sampleRate;
}

Audio Parse(const QByteArray& bytes, QString* error)
{
    const char* d = bytes.constData();
    const qint64 size = bytes.size();
    if (size < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0)
        return Fail(error, QStringLiteral("not a RIFF/WAVE file"));

    bool haveFmt = false;
    quint16 tag = 0, channels = 0, blockAlign = 0, bits = 0;
    quint32 rate = 0;
    qint64 dataPos = -1, dataLen = 0, declaredLen = 0;
    qint64 pos = 12;
    while (pos + 8 <= size) {
        const quint32 chunkLen = U32(d + pos + 4);
        const qint64 body = pos + 8;
        const qint64 avail = std::min<qint64>(chunkLen, size - body);
        if (std::memcmp(d + pos, "fmt ", 4) == 0) {
            if (avail < 16)
                return Fail(error, QStringLiteral("format chunk too short"));
            tag = U16(d + body);
            channels = U16(d + body + 2);
            rate = U32(d + body + 4);
            blockAlign = U16(d + body + 12);
            bits = U16(d + body + 14);
            if (tag == TagExtensible && avail >= 26)
                tag = U16(d + body + 24); // the sub-format's first two bytes are the plain tag
            haveFmt = true;
        } else if (std::memcmp(d + pos, "data", 4) == 0) {
            dataPos = body;
            declaredLen = chunkLen;
            dataLen = avail; // a truncated file keeps what it holds
            break;
        }
        pos = body + chunkLen + (chunkLen & 1);
    }
    if (!haveFmt)
        return Fail(error, QStringLiteral("no format chunk"));
    if (dataPos < 0)
        return Fail(error, QStringLiteral("no data chunk"));
    const bool intBits = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!((tag == TagPcm && intBits) || (tag == TagFloat && bits == 32)))
        return Fail(error, QStringLiteral("unsupported sample format"));
    if (channels == 0 || channels > 8 || rate == 0 || rate > 384000 || blockAlign != channels * (bits / 8))
        return Fail(error, QStringLiteral("inconsistent format chunk"));

    if (declaredLen > MaxDataBytes)
        return Fail(error, QStringLiteral("sound data too large (%1 bytes, at most %2)").arg(declaredLen).arg(MaxDataBytes));
    const qint64 declaredFrames = declaredLen / blockAlign;
    if (declaredFrames * 1000 > MaxDurationMs * rate)
        return Fail(error, QStringLiteral("sound too long (%1 s, at most %2 s)").arg(declaredFrames / rate).arg(MaxDurationMs / 1000));

    Audio a;
    a.sampleRate = static_cast<int>(rate);
    a.channels = channels;
    a.frames = dataLen / blockAlign;
    if (a.frames == 0)
        return Fail(error, QStringLiteral("no sound data"));
    const qint64 samples = a.frames * channels;
    a.pcm16.resize(samples * 2);
    const char* s = d + dataPos;
    for (qint64 i = 0; i < samples; ++i) {
        int v = 0;
        switch (bits) {
        case 8:
            v = (static_cast<quint8>(s[i]) - 128) * 256;
            break;
        case 16:
            v = qFromLittleEndian<qint16>(s + i * 2);
            break;
        case 24:
            v = static_cast<qint8>(s[i * 3 + 2]) * 256 + static_cast<quint8>(s[i * 3 + 1]);
            break;
        default:
            if (tag == TagFloat) {
                const float f = qFromLittleEndian<float>(s + i * 4);
                v = std::isfinite(f) ? static_cast<int>(std::lround(std::clamp(f, -1.0f, 1.0f) * 32767.0f)) : 0;
            } else {
                v = qFromLittleEndian<qint32>(s + i * 4) >> 16;
            }
        }
        Put16(a.pcm16, i, v);
    }
    return a;
}

Audio Read(const QString& path, QString* error)
{
    // Room for the chunks before the data; a bigger file is refused without reading it.
    constexpr qint64 maxFileBytes = MaxDataBytes + 1024 * 1024;
    QByteArray bytes;
    switch (SafeFile::ReadRegular(path, maxFileBytes, &bytes)) {
    case SafeFile::ReadStatus::Ok:
        return Parse(bytes, error);
    case SafeFile::ReadStatus::Missing:
        return Fail(error, QStringLiteral("no such file"));
    case SafeFile::ReadStatus::NotRegular:
        return Fail(error, QStringLiteral("not a regular file"));
    case SafeFile::ReadStatus::TooLarge:
        return Fail(error, QStringLiteral("file too large (at most %1 bytes)").arg(maxFileBytes));
    case SafeFile::ReadStatus::Failed:
    case SafeFile::ReadStatus::Damaged:
        break;
    }
    return Fail(error, QStringLiteral("cannot be read"));
}

bool IsPlayable(const QString& path) { return Read(path).IsValid(); }

QByteArray Encode16(int sampleRate, int channels, const QByteArray& pcm16)
{
    QByteArray out(44, '\0');
    char* h = out.data();
    std::memcpy(h, "RIFF", 4);
    qToLittleEndian<quint32>(static_cast<quint32>(36 + pcm16.size()), h + 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, h + 16);
    qToLittleEndian<quint16>(TagPcm, h + 20);
    qToLittleEndian<quint16>(static_cast<quint16>(channels), h + 22);
    qToLittleEndian<quint32>(static_cast<quint32>(sampleRate), h + 24);
    qToLittleEndian<quint32>(static_cast<quint32>(sampleRate * channels * 2), h + 28);
    qToLittleEndian<quint16>(static_cast<quint16>(channels * 2), h + 32);
    qToLittleEndian<quint16>(16, h + 34);
    std::memcpy(h + 36, "data", 4);
    qToLittleEndian<quint32>(static_cast<quint32>(pcm16.size()), h + 40);
    out.append(pcm16);
    return out;
}

} // namespace WavFile

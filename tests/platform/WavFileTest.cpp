#include <QDir>
#include <QDirIterator>
#include <QtEndian>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WavFile.h"

namespace {

// A RIFF/WAVE image with a free format chunk and raw data bytes.
QByteArray Riff(quint16 tag, quint16 channels, quint32 rate, quint16 bits, const QByteArray& data,
                quint16 blockAlign = 0, const QByteArray& fmtExtra = {})
{
    if (blockAlign == 0)
        blockAlign = static_cast<quint16>(channels * (bits / 8));
    QByteArray fmt(16, '\0');
    fmt += fmtExtra;
    qToLittleEndian<quint16>(tag, fmt.data());
    qToLittleEndian<quint16>(channels, fmt.data() + 2);
    qToLittleEndian<quint32>(rate, fmt.data() + 4);
    qToLittleEndian<quint32>(rate * blockAlign, fmt.data() + 8);
    qToLittleEndian<quint16>(blockAlign, fmt.data() + 12);
    qToLittleEndian<quint16>(bits, fmt.data() + 14);
    QByteArray le(4, '\0');
    QByteArray out = "RIFF";
    qToLittleEndian<quint32>(static_cast<quint32>(4 + 8 + fmt.size() + 8 + data.size()), le.data());
    out += le + "WAVE" + "LIST";
    qToLittleEndian<quint32>(3, le.data());
    out += le + QByteArray("abc\0", 4); // an odd-sized chunk before fmt, padded
    out += "fmt ";
    qToLittleEndian<quint32>(static_cast<quint32>(fmt.size()), le.data());
    out += le + fmt + "data";
    qToLittleEndian<quint32>(static_cast<quint32>(data.size()), le.data());
    return out + le + data;
}

QByteArray Samples16(std::initializer_list<qint16> values)
{
    QByteArray b;
    for (qint16 v : values) {
        char le[2];
        qToLittleEndian<qint16>(v, le);
        b.append(le, 2);
    }
    return b;
}

qint16 At(const WavFile::Audio& a, int i) { return qFromLittleEndian<qint16>(a.pcm16.constData() + i * 2); }

class WavFileTest : public AppFixture {};

} // namespace

TEST(WavFileParse, ReadsEverySampleFormatAsSigned16Bit)
{
    struct Case {
        const char* name;
        QByteArray file;
        int channels;
        qint64 frames;
        qint16 first, second;
    };
    QByteArray f32(8, '\0');
    qToLittleEndian<float>(0.5f, f32.data());
    qToLittleEndian<float>(-2.0f, f32.data() + 4); // out of range: clipped
    // The extensible header: cbSize 22, valid bits, channel mask, then the sub-format whose
    // first two bytes are the plain format tag.
    QByteArray extension(24, '\0');
    qToLittleEndian<quint16>(22, extension.data());
    qToLittleEndian<quint16>(3, extension.data() + 8);
    const Case cases[] = {
        {"8-bit unsigned", Riff(1, 1, 8000, 8, QByteArray("\x80\xff", 2)), 1, 2, 0, 127 * 256},
        {"16-bit stereo", Riff(1, 2, 44100, 16, Samples16({1, -2, 3, -4})), 2, 2, 1, -2},
        {"24-bit", Riff(1, 1, 8000, 24, QByteArray("\x00\x34\x12\x00\x00\x80", 6)), 1, 2, 0x1234, -32768},
        {"32-bit float", Riff(3, 1, 8000, 32, f32), 1, 2, 16384, -32767},
        {"extensible float", Riff(0xFFFE, 1, 8000, 32, f32, 0, extension), 1, 2, 16384, -32767},
        {"32-bit integer", Riff(1, 1, 8000, 32, QByteArray("\x00\x00\x00\x40\x00\x00\x00\xc0", 8)), 1, 2, 16384, -16384},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const WavFile::Audio a = WavFile::Parse(c.file, &error);
        ASSERT_TRUE(a.IsValid()) << error.toStdString();
        EXPECT_EQ(a.channels, c.channels);
        EXPECT_EQ(a.frames, c.frames);
        EXPECT_EQ(At(a, 0), c.first);
        EXPECT_EQ(At(a, 1), c.second);
    }
    // An extensible header cut short names no sub-format: refused.
    EXPECT_FALSE(WavFile::Parse(Riff(0xFFFE, 1, 8000, 16, Samples16({100, -100}))).IsValid());
}

TEST(WavFileParse, DurationIsExactAndRoundedUp)
{
    const WavFile::Audio a = WavFile::Parse(WavFile::Encode16(8000, 1, QByteArray(2 * 4001, '\0')));
    ASSERT_TRUE(a.IsValid());
    EXPECT_EQ(a.frames, 4001);
    EXPECT_EQ(a.DurationMs(), 501); // 500.125 ms: a pacer must not end before the sound
    EXPECT_EQ(WavFile::Parse(WavFile::Encode16(22050, 2, QByteArray(4 * 22050, '\0'))).DurationMs(), 1000);
}

TEST(WavFileParse, TruncatedDataKeepsTheWholeFramesItHolds)
{
    QByteArray file = WavFile::Encode16(8000, 2, QByteArray(4 * 100, '\1'));
    file.chop(4 * 40 + 3);
    const WavFile::Audio a = WavFile::Parse(file);
    ASSERT_TRUE(a.IsValid());
    EXPECT_EQ(a.frames, 59);
}

TEST(WavFileParse, DamagedFilesAreRefusedWithAReason)
{
    const QByteArray good = WavFile::Encode16(8000, 1, Samples16({1, 2, 3}));
    QByteArray noData = good.left(36);
    QByteArray notWave = good;
    notWave.replace(8, 4, "AVI ");
    const struct {
        const char* name;
        QByteArray file;
    } cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("hello, this is not a sound file at all")},
        {"not WAVE", notWave},
        {"no data chunk", noData},
        {"no format chunk", QByteArray("RIFF\x10\0\0\0WAVEdata\x02\0\0\0\1\1", 22)},
        {"no frames", WavFile::Encode16(8000, 1, QByteArray())},
        {"zero channels", Riff(1, 0, 8000, 16, Samples16({1}), 2)},
        {"zero rate", Riff(1, 1, 0, 16, Samples16({1}))},
        {"block align mismatch", Riff(1, 2, 8000, 16, Samples16({1, 2}), 2)},
        {"compressed", Riff(2, 1, 8000, 4, QByteArray(16, '\0'), 1)},
        {"12-bit", Riff(1, 1, 8000, 12, QByteArray(16, '\0'), 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(WavFile::Parse(c.file, &error).IsValid());
        EXPECT_FALSE(error.isEmpty());
    }
}

// A 16-bit mono header that declares dataBytes at rate, followed by only a little data.
QByteArray Declaring(quint32 rate, qint64 dataBytes)
{
    QByteArray file = WavFile::Encode16(static_cast<int>(rate), 1, QByteArray(64, '\1'));
    qToLittleEndian<quint32>(static_cast<quint32>(dataBytes), file.data() + 40);
    return file;
}

TEST(WavFileParse, DeclaredDataBeyondTheBoundsIsRefused)
{
    const qint64 tenMinutesAt8k = WavFile::MaxDurationMs / 1000 * 8000 * 2;
    const struct {
        const char* name;
        QByteArray file;
        bool valid;
    } cases[] = {
        {"ten minutes", Declaring(8000, tenMinutesAt8k), true},
        {"ten minutes and a frame", Declaring(8000, tenMinutesAt8k + 2), false},
        {"64 MiB of a fast rate", Declaring(192000, WavFile::MaxDataBytes), true},
        {"a byte more", Declaring(192000, WavFile::MaxDataBytes + 2), false},
        {"the largest length", Declaring(192000, 0xFFFFFFFE), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const WavFile::Audio a = WavFile::Parse(c.file, &error);
        EXPECT_EQ(a.IsValid(), c.valid);
        EXPECT_EQ(error.isEmpty(), c.valid);
        if (c.valid) {
            EXPECT_EQ(a.frames, 32); // the file holds only these
        }
    }
}

TEST_F(WavFileTest, AFileBeyondTheBoundIsRefusedWithoutReadingIt)
{
    // A sparse file: a valid header, then a hole to 80 MiB.
    WriteFile("Sound\\huge.wav", WavFile::Encode16(8000, 1, Samples16({5, 6})));
    QFile huge(Path("Sound/huge.wav"));
    ASSERT_TRUE(huge.resize(80LL * 1024 * 1024));
    QString error;
    EXPECT_FALSE(WavFile::Read(Path("Sound/huge.wav"), &error).IsValid());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WavFile::IsPlayable(Path("Sound/huge.wav")));
}

TEST_F(WavFileTest, UnreadableAndMissingFilesAreNotPlayable)
{
    WriteFile("Sound\\ok.wav", WavFile::Encode16(8000, 1, Samples16({5, 6})));
    EXPECT_TRUE(WavFile::IsPlayable(Path("Sound\\ok.wav")));
    EXPECT_TRUE(WavFile::IsPlayable(m_dir->path() + "\\Sound\\ok.wav")); // "\" accepted
    EXPECT_FALSE(WavFile::IsPlayable(Path("Sound/missing.wav")));
    EXPECT_FALSE(WavFile::IsPlayable(Path("Sound"))); // a folder cannot be read as a file
}

TEST(WavFileGenerated, EveryGeneratedSoundReadsWithASpokenLength)
{
    const QString tree = qEnvironmentVariable("VELMORA_TREE");
    if (tree.isEmpty() || !QDir(tree + "/Phonetic Symbols").exists())
        GTEST_SKIP() << "no generated data tree";
    int files = 0;
    for (const QString folder : {"Phonetic Symbols", "Numbers", "Sound"}) {
        QDirIterator it(tree + "/" + folder, {"*.wav", "*.WAV"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            SCOPED_TRACE(path.toStdString());
            QString error;
            const WavFile::Audio a = WavFile::Read(path, &error);
            ASSERT_TRUE(a.IsValid()) << error.toStdString();
            EXPECT_EQ(a.sampleRate, 22050);
            EXPECT_EQ(a.channels, 1);
            EXPECT_GE(a.DurationMs(), 150);
            EXPECT_LE(a.DurationMs(), 2500);
            ++files;
        }
    }
    EXPECT_GE(files, 1600 + 25 + 3);
}

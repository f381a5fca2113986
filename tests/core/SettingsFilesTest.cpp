#include <QDir>
#include <array>
#include <gtest/gtest.h>

#include "AppState.h"
#include "SafeFile.h"
#include "SettingsFiles.h"
#include "TestSupport.h"

namespace {
class SettingsFilesTest : public AppFixture {};

struct Case {
    const char* text;
    bool valid;
};
} // namespace

TEST(SettingsValidity, AddressesNeedFourShortDigitParts)
{
    const Case cases[] = {
        {"1.2.3.4", true},
        {"192.168.0.10", true},
        {"999.1.1.1", true}, // parts are not limited to 0-255; what was typed is kept
        {"0.0.0.0", true},
        {"", false},
        {"1.2.3.4.5", false},
        {"1.2.3", false},
        {"1..2.3", false},
        {"1.2.3.", false},
        {"1.2.3.1234", false},
        {"1.2. 3.4", false},
        {"-1.2.3.4", false},
        {"1.2.3.-1", false},
        {"+1.2.3.4", false},
        {"1e2.2.3.4", false},
        {"1,2.2.3.4", false},
        {"&H1.2.3.4", false},
        {"a.b.c.d", false},
        {"１.2.3.4", false}, // full-width digit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsValidIP(QString::fromUtf8(c.text)), c.valid);
    }
}

TEST(SettingsValidity, PortsAreOneToFourDigitsAboveZero)
{
    const Case cases[] = {
        {"1980", true},
        {"1", true},
        {"9999", true},
        {"0080", true},
        {"0", false},
        {"0000", false},
        {"-1", false},
        {"+5", false},
        {"9e9", false},
        {"1e3", false},
        {"19.8", false},
        {"19 8", false},
        {" 198", false},
        {"abc", false},
        {"", false},
        {"99999", false},
        {"&H10", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsValidPort(QString::fromUtf8(c.text)), c.valid);
    }
}

TEST(SettingsText, AddressAndPortAsThePanelShowsThem)
{
    const struct {
        std::array<qint16, 4> address;
        qint16 port;
        const char* addressText;
        const char* portText;
    } cases[] = {
        {{0, 0, 0, 0}, 0, "", "1980"},
        {{192, 168, 0, 10}, 80, "192.168.0.10", "80"},
        {{999, 1, 1, 1}, 9999, "999.1.1.1", "9999"},
        {{0, 0, 0, 1}, 1980, "0.0.0.1", "1980"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.addressText);
        SettingRecord rec;
        std::copy(c.address.begin(), c.address.end(), rec.Address);
        rec.ChatPort = c.port;
        EXPECT_EQ(AddressText(rec), c.addressText);
        EXPECT_EQ(PortText(rec), c.portText);
    }
}

TEST_F(SettingsFilesTest, MissingShortOrUnopenableRecordReadsAsZeros)
{
    for (const char* situation : {"missing", "short", "folder"}) {
        SCOPED_TRACE(situation);
        QDir(Path("Record")).removeRecursively();
        if (QLatin1String(situation) == QLatin1String("short"))
            WriteFile("Record/Setting.vmq", QByteArray::fromHex("0200"));
        if (QLatin1String(situation) == QLatin1String("folder"))
            QDir().mkpath(Path("Record/Setting.vmq"));
        const SettingRecord rec = ReadSettingRecord();
        EXPECT_EQ(rec.BackdropMode, QLatin1String(situation) == QLatin1String("short") ? 2 : 0);
        EXPECT_EQ(AddressText(rec), "");
        EXPECT_EQ(PortText(rec), "1980");
    }
}

TEST_F(SettingsFilesTest, OneLineRecordsAreCodePage936WithCrLfAndReadTheLastLine)
{
    ASSERT_TRUE(WriteOneLineRecord(SettingsFiles::YourName, QString::fromUtf8("王小明")));
    EXPECT_EQ(ReadFile("Record/yourname.txt"), QByteArray("\xcd\xf5\xd0\xa1\xc3\xf7\r\n"));
    WriteFile("Record/tutor.txt", "old\r\n  teacher  \r\n");
    bool ok = false;
    EXPECT_EQ(ReadOneLineRecord(SettingsFiles::Tutor, &ok), "teacher");
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadOneLineRecord(SettingsFiles::BackgroundPath, &ok), "");
    EXPECT_FALSE(ok);
}

// The writer takes no longer a line than the reader does: beyond it, the value saved before stays.
TEST_F(SettingsFilesTest, ALineLongerThanTheReaderTakesIsNotWritten)
{
    ASSERT_TRUE(WriteOneLineRecord(SettingsFiles::YourName, QString(MaxLastLineBytes, 'x')));
    EXPECT_EQ(ReadOneLineRecord(SettingsFiles::YourName).size(), MaxLastLineBytes);
    EXPECT_FALSE(WriteOneLineRecord(SettingsFiles::YourName, QString(MaxLastLineBytes + 1, 'y')));
    EXPECT_TRUE(SafeFile::WriteFailure().startsWith(SettingsFiles::YourName));
    EXPECT_EQ(ReadOneLineRecord(SettingsFiles::YourName), QString(MaxLastLineBytes, 'x'));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

// The last line is read from the end of the file: it must be what reading every line gives,
// wherever the blocks fall, and a large file is not read before it.
TEST_F(SettingsFilesTest, TheLastLineIsReadFromTheEndOfTheFile)
{
    const QByteArray longLine = QByteArray(3 * ReadLineBlock + 17, 'x');
    const QByteArray wang = "\xcd\xf5"; // 王 in code page 936
    struct Case {
        const char* name;
        QByteArray bytes;
        QString last;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"one line end", "\r\n", ""},
        {"no final line end", "a\r\nb", "b"},
        {"final line end", "a\r\nb\r\n", "b"},
        {"empty last line", "a\r\n\r\n", ""},
        {"LF only", "a\nb\n", "b"},
        {"lone CR", "a\rb", "b"},
        {"lone CR at the end", "a\rb\r", "b"},
        {"blanks kept", "a\r\n  b  \r\n", "  b  "},
        {"two-byte characters", "a\r\n" + wang + wang + "\r\n", QString::fromUtf8("王王")},
        {"a line longer than a block", "a\r\n" + longLine + "\r\n", QString::fromLatin1(longLine)},
        {"line end on a block edge", QByteArray(ReadLineBlock - 2, 'y') + "\r\nz", "z"},
        {"final line end after a block edge", QByteArray(ReadLineBlock, 'y') + "\n", QString(ReadLineBlock, 'y')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("Record/tutor.txt", c.bytes);
        QString last;
        EXPECT_EQ(ReadLastTextLine(Path("Record/tutor.txt"), &last), SafeFile::ReadStatus::Ok);
        EXPECT_EQ(last, c.last);
        const QStringList all = SafeFile::ReadTextLines(Path("Record/tutor.txt"));
        EXPECT_EQ(c.last, all.isEmpty() ? QString() : all.last());
    }

    // 16 MB of earlier lines: only the blocks that hold the last line are read.
    QByteArray big;
    big.reserve(16 << 20);
    while (big.size() < (16 << 20))
        big += "an earlier line of the record file\r\n";
    WriteFile("Record/tutor.txt", big + "  teacher  \r\n");
    qint64 read = 0;
    QString last;
    EXPECT_EQ(ReadLastTextLine(Path("Record/tutor.txt"), &last, &read), SafeFile::ReadStatus::Ok);
    EXPECT_EQ(last, "  teacher  ");
    EXPECT_EQ(read, ReadLineBlock);
    EXPECT_EQ(ReadOneLineRecord(SettingsFiles::Tutor), "teacher");

    bool ok = true;
    QDir().mkpath(Path("Record/yourname.txt"));
    EXPECT_EQ(ReadOneLineRecord(SettingsFiles::YourName, &ok), "");
    EXPECT_FALSE(ok) << "a folder is no record";
}

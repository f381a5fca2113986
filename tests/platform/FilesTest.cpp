#include <QDir>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <QFile>
#include <gtest/gtest.h>
#include <semaphore>
#include <vector>

#include "BackgroundWriter.h"
#include "CodePage.h"
#include "RtfDocument.h"
#include "SafeFile.h"
#include "TestSupport.h"

namespace {
class FilesTest : public AppFixture {};
}

TEST_F(FilesTest, RecordsReadAsZerosWhenMissingOrShortAndWriteInPlace)
{
    const QString p = Path("Record/Study.vmq");
    QDir().mkpath(Path("Record"));
    EXPECT_EQ(SafeFile::ReadRecord(p, 4, 1), QByteArray(4, '\0'));
    WriteFile("Record/Study.vmq", QByteArray("\x05", 1));
    EXPECT_EQ(SafeFile::ReadRecord(p, 4, 1), QByteArray("\x05\0\0\0", 4));

    ASSERT_TRUE(SafeFile::WriteRecord(p, 4, 2, QByteArray("\x06\0\x01\0", 4)));
    EXPECT_EQ(ReadFile("Record/Study.vmq"), QByteArray("\x05\0\0\0\x06\0\x01\0", 8));
    ASSERT_TRUE(SafeFile::WriteRecord(p, 4, 1, QByteArray("\x07\0\x02\0", 4)));
    EXPECT_EQ(ReadFile("Record/Study.vmq"), QByteArray("\x07\0\x02\0\x06\0\x01\0", 8));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(Path("Record")).entryList(QDir::Files), QStringList{"Study.vmq"});
}

TEST_F(FilesTest, AFailedWriteKeepsThePreviousContent)
{
    WriteFile("Record/tutor.txt", "old\r\n");
    // A tiny file-size limit makes every write fail, whatever the rights of the user running
    // the test (folder permissions do not stop root).
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 2;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool wroteText = SafeFile::WriteTextLines(Path("Record/tutor.txt"), {"a longer new text"});
    const bool wroteRecord = SafeFile::WriteRecord(Path("Record/tutor.txt"), 4, 3, QByteArray("abcd"));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(wroteText);
    EXPECT_FALSE(wroteRecord);
    EXPECT_EQ(ReadFile("Record/tutor.txt"), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(Path("Record")).entryList(QDir::Files), QStringList{"tutor.txt"});
}

// A read takes the memory its file needs, not its bound's, and still stops at the bound: a
// file that holds more than its size says (the kernel's own files say 0) grows the buffer.
TEST_F(FilesTest, AReadTakesMemoryForItsFileAndStopsAtTheBound)
{
    const QByteArray small(1000, 'a');
    WriteFile("small.txt", small);
    WriteFile("empty.txt", {});
    QFile status(QStringLiteral("/proc/self/status"));
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    const qint64 statusSize = status.readAll().size();
    ASSERT_GT(statusSize, 200);
    const struct {
        const char* path;
        qint64 bound;
        bool head;
        SafeFile::ReadStatus status;
        qint64 size;
    } cases[] = {
        {"small.txt", SafeFile::MaxTextFileBytes, false, SafeFile::ReadStatus::Ok, 1000},
        {"small.txt", 1000, false, SafeFile::ReadStatus::Ok, 1000},
        {"small.txt", 999, false, SafeFile::ReadStatus::TooLarge, 0},
        {"small.txt", 10, true, SafeFile::ReadStatus::Ok, 10},
        {"empty.txt", SafeFile::MaxTextFileBytes, false, SafeFile::ReadStatus::Ok, 0},
        {"/proc/self/status", SafeFile::MaxTextFileBytes, false, SafeFile::ReadStatus::Ok, -1},
        {"/proc/self/status", 100, false, SafeFile::ReadStatus::TooLarge, 0},
        {"/proc/self/status", 100, true, SafeFile::ReadStatus::Ok, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " within " << c.bound << (c.head ? " (head)" : ""));
        const QString path = c.path[0] == '/' ? QString::fromLatin1(c.path) : Path(QLatin1String(c.path));
        QByteArray data;
        EXPECT_EQ(c.head ? SafeFile::ReadRegularHead(path, c.bound, &data) : SafeFile::ReadRegular(path, c.bound, &data),
            c.status);
        const qint64 size = c.size < 0 ? statusSize : c.size;
        // The kernel's file may change by a few bytes between two reads.
        EXPECT_NEAR(data.size(), size, c.size < 0 ? 64 : 0);
        EXPECT_LT(data.capacity(), 1 << 20);
    }
}

TEST_F(FilesTest, TheNextWriteRemovesStaleTemporariesOfItsOwnFileOnly)
{
    // What killed writes leave where the file system has no unnamed temporaries, and their
    // neighbours. Ages are in seconds before now.
    struct Entry {
        const char* name;
        int age;
        bool folder;
        bool stays;
    };
    const Entry entries[] = {
        {"Study.vmq.AbC123", 3600, false, false},
        {"Study.vmq.q9Zx0w", 120, false, false},
        {"Study.vmq.fresh1", 0, false, true},   // a writer may be filling it right now
        {"Study.vmq.AbC12", 3600, false, true},  // not the pattern
        {"Study.vmq.AbC1234", 3600, false, true},
        {"Study.vmq.Ab-123", 3600, false, true},
        {"Study.vmq.old", 3600, false, true},
        {"Study.vmqxAbC123", 3600, false, true},
        {"Other.vmq.AbC123", 3600, false, true}, // another file's
        {"xStudy.vmq.AbC123", 3600, false, true},
        {"Study.vmq.Dir123", 3600, true, true},  // not a plain file
    };
    QDir().mkpath(Path("Record"));
    for (const Entry& e : entries) {
        const QByteArray path = QFile::encodeName(Path(QStringLiteral("Record/") + e.name));
        if (e.folder)
            ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path)));
        else
            WriteFile(QStringLiteral("Record/") + e.name, "half a record");
        const timespec when{time(nullptr) - e.age, 0};
        const timespec times[2] = {when, when};
        ASSERT_EQ(utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    ASSERT_TRUE(SafeFile::WriteRecord(Path("Record/Study.vmq"), 4, 1, QByteArray("\x01\0\0\0", 4)));

    const QStringList left = QDir(Path("Record")).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(left.contains(QString::fromLatin1(e.name)), e.stays);
    }
    EXPECT_TRUE(left.contains("Study.vmq"));
    EXPECT_EQ(ReadFile("Record/Study.vmq"), QByteArray("\x01\0\0\0", 4));
    // Text records are cleaned the same way, once the fresh one has aged.
    const timespec old{time(nullptr) - 600, 0};
    const timespec times[2] = {old, old};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(Path("Record/Study.vmq.fresh1")).constData(), times, 0), 0);
    ASSERT_TRUE(SafeFile::WriteTextLines(Path("Record/Study.vmq"), {"x"}));
    EXPECT_FALSE(QFile::exists(Path("Record/Study.vmq.fresh1")));
}

TEST_F(FilesTest, TextLinesRoundTripInCodePage936)
{
    const QStringList lines{QStringLiteral("李明"), QString(), QStringLiteral("nǐ hǎo")};
    ASSERT_TRUE(SafeFile::WriteTextLines(Path("a.txt"), lines));
    EXPECT_EQ(ReadFile("a.txt").left(6), QByteArray("\xC0\xEE\xC3\xF7\r\n"));
    bool ok = false;
    EXPECT_EQ(SafeFile::ReadTextLines(Path("a.txt"), &ok), lines);
    EXPECT_TRUE(ok);
    const struct {
        QByteArray bytes;
        QStringList lines;
    } endings[] = {
        {"one\ntwo", {"one", "two"}},
        {"one\rtwo\r", {"one", "two"}},
        {"one\r\rtwo", {"one", "", "two"}},
        {"one\r\n\rtwo\n\n", {"one", "", "two", ""}},
    };
    for (const auto& e : endings) {
        SCOPED_TRACE(e.bytes.toStdString());
        WriteFile("b.txt", e.bytes);
        EXPECT_EQ(SafeFile::ReadTextLines(Path("b.txt")), e.lines);
    }
    SafeFile::ReadTextLines(Path("missing.txt"), &ok);
    EXPECT_FALSE(ok);
}

TEST(BackgroundWriterTest, AWriterThatGoesFirstRunsEveryJobItWasGivenInOrder)
{
    std::vector<int> ran;
    std::binary_semaphore busy(0);
    {
        BackgroundWriter writer;
        writer.Post([&busy] { busy.acquire(); });
        for (int i = 0; i < 3; ++i)
            writer.Post([&ran, i] { ran.push_back(i); });
        busy.release();
    }
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
}

TEST(CodePageTest, CodesAreSigned16BitGbk)
{
    EXPECT_EQ(CodePage::AnsiCode(QChar(0x65F6)), -13647); // 时
    EXPECT_EQ(CodePage::AnsiCode(QChar('A')), 65);
    EXPECT_TRUE(CodePage::IsDoubleByte(QChar(0x01CE))); // ǎ is two bytes in 936
    EXPECT_FALSE(CodePage::InCodePage(QChar(0xE000)));  // private use
    EXPECT_FALSE(CodePage::InCodePage(QChar(0x0E01)));  // Thai is not in 936
    EXPECT_EQ(CodePage::AnsiCode(QChar(0x0E01)), 63);
    EXPECT_TRUE(CodePage::SystemCanShowChinese());
    qputenv("VELMORA_FORCE_CODEPAGE_FAILURE", "1");
    EXPECT_FALSE(CodePage::SystemCanShowChinese());
    qunsetenv("VELMORA_FORCE_CODEPAGE_FAILURE");
}

TEST(CodePageTest, TheEuroSignIsTheSingleByte0x80BothWays)
{
    const QString text = QStringLiteral("5€好");
    const QByteArray bytes("5\x80\xBA\xC3");
    EXPECT_EQ(CodePage::To936(text), bytes);
    EXPECT_EQ(CodePage::From936(bytes), text);
    EXPECT_EQ(CodePage::AnsiCode(QChar(0x20AC)), 128);
    EXPECT_EQ(CodePage::ToGbk(QStringLiteral("€5€好€")), QByteArray("\x80" "5\x80\xBA\xC3\x80"));

    // Files and RTF runs take 936's byte and GB18030's code; a 0x80 that ends a two-byte code
    // is part of that code.
    const struct {
        QByteArray bytes;
        QString text;
    } reads[] = {
        {bytes, text},
        {"5\xA2\xE3\xBA\xC3", text},
        {"\x81\x80\x80", QStringLiteral("亐€")},
        {"\x81\x30\x81\x30\x80", QStringLiteral("\u0080€")},
    };
    for (const auto& r : reads) {
        SCOPED_TRACE(r.bytes.toHex().toStdString());
        EXPECT_EQ(CodePage::FromGbk(r.bytes), r.text);
    }

    RtfPiece run;
    run.text = text;
    const QString rtf = Rtf::Write({run}, QStringLiteral("宋体"), 12);
    EXPECT_TRUE(rtf.contains(QStringLiteral("5\\'80\\'ba\\'c3"))) << rtf.toStdString();
    const RtfContent back = Rtf::Read(rtf);
    ASSERT_FALSE(back.pieces.isEmpty());
    EXPECT_EQ(back.pieces[0].text, text);
}

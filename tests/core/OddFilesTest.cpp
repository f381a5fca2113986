// Every reader of course and record files meets the same odd files: a FIFO, a link to an endless
// device, a folder, a regular file too large to be a record. None may wait, fill the memory or
// write through the link; the next good file of the same name reads as usual.

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CodedFile.h"
#include "SafeFile.h"
#include "SettingsFiles.h"
#include "StrokeFile.h"
#include "TestSupport.h"
#include "WavFile.h"

namespace {

class OddFilesTest : public AppFixture {};

} // namespace

TEST_F(OddFilesTest, NoReaderWaitsOnOrFillsFromWhatIsNoRegularFile)
{
    QDir().mkpath(Path("Record"));
    const QString file = Path("Record/odd");
    const struct {
        const char* kind;
        std::function<bool()> make;
    } kinds[] = {
        {"FIFO", [&] { return ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0; }},
        {"link to an endless device", [&] { return QFile::link("/dev/zero", file); }},
        {"folder", [&] { return QDir().mkdir(file); }},
    };
    const struct {
        const char* reader;
        std::function<bool()> refuses;
    } readers[] = {
        {"text lines", [&] {
             bool ok = true;
             return SafeFile::ReadTextLines(file, &ok).isEmpty() && !ok;
         }},
        {"last line", [&] {
             QString line;
             return ReadLastTextLine(file, &line) != SafeFile::ReadStatus::Ok && line.isEmpty();
         }},
        {"record", [&] { return SafeFile::ReadRecord(file, 4, 1) == QByteArray(4, '\0'); }},
        {"record written", [&] { return !SafeFile::WriteRecord(file, 4, 1, "abcd"); }},
        {"lines written", [&] { return !SafeFile::WriteTextLines(file, {"a"}); }},
        {"sound", [&] { return !WavFile::Read(file).IsValid(); }},
        {"strokes", [&] { return LoadStrokeFile(file).Points.isEmpty(); }},
        {"course file", [&] {
             CodedText text;
             return !ReadCodedText(file, QStringLiteral("1"), 0, text) || text.LineCount() == 0;
         }},
    };
    for (const auto& kind : kinds) {
        for (const auto& reader : readers) {
            SCOPED_TRACE(std::string(kind.kind) + ", " + reader.reader);
            QFile::remove(file);
            QDir().rmdir(file);
            ASSERT_TRUE(kind.make());
            {
                const FifoUnblocker unblocker(file);
                EXPECT_TRUE(reader.refuses());
            }
            EXPECT_FALSE(QFileInfo(file).isFile()) << "written over";
        }
    }
    // The same name as a plain file again: read as usual.
    QFile::remove(file);
    QDir().rmdir(file);
    ASSERT_TRUE(SafeFile::WriteTextLines(file, {"one", "two"}));
    bool ok = false;
    EXPECT_EQ(SafeFile::ReadTextLines(file, &ok), (QStringList{"one", "two"}));
    EXPECT_TRUE(ok);
    QString last;
    EXPECT_EQ(ReadLastTextLine(file, &last), SafeFile::ReadStatus::Ok);
    EXPECT_EQ(last, "two");
}

// A record file larger than any the program writes (here a sparse one) is refused unread, and
// what the writer refuses is what the reader would refuse: a save always loads back.
TEST_F(OddFilesTest, TextRecordsBeyondTheBoundAreNeitherReadNorWritten)
{
    QDir().mkpath(Path("Record"));
    ASSERT_TRUE(SafeFile::WriteTextLines(Path("Record/Chat.txt"), {"0kept"}));
    const QStringList tooMany(SafeFile::MaxTextFileBytes / (1 << 20) + 1, QString(1 << 20, u'x'));
    EXPECT_FALSE(SafeFile::WriteTextLines(Path("Record/Chat.txt"), tooMany));
    EXPECT_EQ(SafeFile::ReadTextLines(Path("Record/Chat.txt")), QStringList{"0kept"});

    QFile sparse(Path("Record/Chat.txt"));
    ASSERT_TRUE(sparse.resize(SafeFile::MaxTextFileBytes + 1));
    bool ok = true;
    EXPECT_TRUE(SafeFile::ReadTextLines(Path("Record/Chat.txt"), &ok).isEmpty());
    EXPECT_FALSE(ok);
    EXPECT_FALSE(SafeFile::WriteRecord(Path("Record/Chat.txt"), 2, 1, "ab"));
    EXPECT_EQ(QFileInfo(Path("Record/Chat.txt")).size(), SafeFile::MaxTextFileBytes + 1);
}

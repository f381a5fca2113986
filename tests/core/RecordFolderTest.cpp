#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "AppState.h"
#include "RecordFolder.h"
#include "TestSupport.h"

namespace {
class RecordFolderTest : public AppFixture {};
}

TEST_F(RecordFolderTest, CreatesTheFolderOnceAndWarnsWithTheCriticalIconNamingTheFolder)
{
    EXPECT_TRUE(State().AppPath.endsWith('/'));
    EnsureRecordFolder();
    EXPECT_TRUE(QFileInfo(Path("Record")).isDir());
    EXPECT_EQ(RecordFolder(), Path("Record"));
    EnsureRecordFolder();
    ShowDiskWriteWarning(RecordFolder());
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].title, "Warning");
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Critical);
    const QStringList lines = m_boxes->Boxes()[0].text.split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Velmora 2007 is unable to write the disk, because you are logged on as a limited user.");
    EXPECT_EQ(lines[1], Path("Record"));
}

// A refused file that cannot be moved aside (here its kept name would be longer than a file
// name may be) stays as it is: the learner is told once, and no write of this run goes over it.
TEST_F(RecordFolderTest, ARefusedFileThatCannotBeSetAsideIsNeverWrittenOver)
{
    const QString name = QString(246, 'x') + ".txt";
    const QByteArray damaged("1\xFF\r\n");
    WriteFile("Record/" + name, damaged);
    const QString path = Path("Record/" + name);
    for (int reading = 1; reading <= 2; ++reading) {
        SCOPED_TRACE(reading);
        bool ok = true;
        EXPECT_TRUE(ReadRecordLines(path, &ok).isEmpty());
        EXPECT_FALSE(ok);
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_TRUE(m_boxes->Boxes()[0].text.contains(path));
        EXPECT_FALSE(SafeFile::WriteTextLines(path, {"new"}));
        EXPECT_TRUE(SafeFile::WriteFailure().startsWith(name));
    }
    EXPECT_EQ(ReadFile("Record/" + name), damaged);
}

// Two copies of the program on one Record folder refuse the same file at once. The one whose
// move comes second finds it gone: it was moved, so nothing is held, the learner is told where
// it went when that can be found, and the next save writes a new file.
TEST_F(RecordFolderTest, ARefusedFileAnotherCopyMovedFirstIsTakenAsMoved)
{
    const QString path = Path("Record/Chat.txt");
    const QString kept = Path("Record/Chat (kept 1).txt");
    const QByteArray damaged("1\xFF\r\n");
    const struct {
        const char* why;
        bool movedBeforeTheSetAside; // else between the look at the file and the move
    } cases[] = {{"moved between the look and the move", false}, {"moved before the set-aside began", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        m_boxes->Clear();
        QFile::remove(kept);
        WriteFile("Record/Chat.txt", damaged);
        // The other copy's move, made where this copy's would come.
        SafeFile::SetStepHook([&](const char* step, const QString& at) {
            if (QByteArray(step) == "rename" && at == path)
                QFile::rename(path, kept);
            return 0;
        });
        if (c.movedBeforeTheSetAside) {
            ASSERT_TRUE(QFile::rename(path, kept));
            KeepRefusedRecord(path, SafeFile::ReadFailure(SafeFile::ReadStatus::Damaged));
        } else {
            EXPECT_TRUE(ReadRecordLines(path).isEmpty());
        }
        SafeFile::SetStepHook(nullptr);
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes()[0].text.contains(QDir::toNativeSeparators(kept)), !c.movedBeforeTheSetAside);
        EXPECT_FALSE(SafeFile::IsHeld(path));
        EXPECT_TRUE(SafeFile::WriteTextLines(path, {"0new"}));
        EXPECT_EQ(ReadRecordLines(path), QStringList{"0new"});
        EXPECT_EQ(ReadFile("Record/Chat (kept 1).txt"), damaged);
        EXPECT_FALSE(QFileInfo::exists(Path("Record/Chat (kept 2).txt")));
    }
}

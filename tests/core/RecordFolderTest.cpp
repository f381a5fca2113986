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

#include <QFileInfo>
#include <gtest/gtest.h>

#include "AppState.h"
#include "RecordFolder.h"
#include "TestSupport.h"

namespace {
class RecordFolderTest : public AppFixture {};
}

TEST_F(RecordFolderTest, CreatesTheFolderOnceAndWarnsWithTheCriticalIcon)
{
    EXPECT_TRUE(State().AppPath.endsWith('/'));
    EnsureRecordFolder();
    EXPECT_TRUE(QFileInfo(Path("Record")).isDir());
    EnsureRecordFolder();
    ShowDiskWriteWarning();
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].title, "Warning");
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Critical);
    EXPECT_EQ(m_boxes->Boxes()[0].text,
        "Velmora 2007 is unable to write the disk, because you are logged on as a limited user.");
}

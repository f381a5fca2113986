// The stroke files the build converted into the data tree.

#include <QDir>
#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

#include "StrokeFile.h"
#include "TestSupport.h"

namespace {

QString Tree() { return QStringLiteral(VELMORA_TREE_DIR "/"); }

} // namespace

TEST(StrokeTreeTest, NearlyEveryStandardCharacterHasAStrokeFileWithItsLicence)
{
    const QStringList files = QDir(Tree() + "Characters").entryList({"*.vmq"}, QDir::Files);
    EXPECT_GE(files.size(), 3400);
    EXPECT_TRUE(QFile::exists(Tree() + "ARPHICPL.TXT"));
    QFile notice(Tree() + "NOTICE-strokes.txt");
    ASSERT_TRUE(notice.open(QIODevice::ReadOnly));
    EXPECT_TRUE(notice.readAll().contains("hanzi-writer-data 2.0.1"));
}

TEST(StrokeTreeTest, FilesReadBackAsJoinedStrokesInsideTheDrawingBox)
{
    const struct {
        const char* ch;
        int strokes;
    } cases[] = {{"一", 1}, {"我", 7}, {"好", 6}, {"爱", 10}, {"鹰", 18}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ch);
        const QString path = StrokeFilePath(Tree(), QString::fromUtf8(c.ch));
        ASSERT_TRUE(QFile::exists(path));
        const StrokeData data = LoadStrokeFile(path);
        EXPECT_EQ(data.StrokeCount, c.strokes);
        ASSERT_GT(data.PointCount(), c.strokes);
        EXPECT_TRUE(data.Points.last().IsStrokeEnd());
        for (int i = 0; i < data.PointCount(); ++i) {
            const StrokePoint p = data.Points.at(i);
            if (p.IsStrokeEnd()) {
                EXPECT_GT(i, 0);
                EXPECT_FALSE(data.Points.at(i - 1).IsStrokeEnd()); // no empty stroke
                continue;
            }
            EXPECT_TRUE(p.X >= 800 && p.X <= 3680 && p.Y >= 1220 && p.Y <= 4100) << p.X << ", " << p.Y;
            if (i > 0 && !data.Points.at(i - 1).IsStrokeEnd()) {
                const StrokePoint q = data.Points.at(i - 1);
                EXPECT_LE(std::hypot(p.X - q.X, p.Y - q.Y), 81.5); // dots of a stroke run together
            }
        }
    }
}

TEST(StrokeTreeTest, ACharacterWithoutAFileNumberOfItsOwnHasNoFile)
{
    // 啰 is in the course's list, but its code would name the file of another character.
    EXPECT_TRUE(StrokeFileName(QChar(u'啰')).isEmpty());
    EXPECT_FALSE(QFile::exists(Tree() + "Characters/-9523.vmq"));
}

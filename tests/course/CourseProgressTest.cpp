// The course panel's rules: the progress record as read and normalised, the row colours and
// enabled states, the progress line and the lesson list.

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "AppState.h"
#include "CourseProgress.h"
#include "TestSupport.h"

namespace {
QByteArray StudyBytes(qint16 lesson, qint16 step)
{
    const char b[4] = {static_cast<char>(lesson & 0xFF), static_cast<char>((lesson >> 8) & 0xFF),
        static_cast<char>(step & 0xFF), static_cast<char>((step >> 8) & 0xFF)};
    return QByteArray(b, 4);
}

using CourseProgressTest = AppFixture;
} // namespace

TEST_F(CourseProgressTest, StoredProgressNormalisesToAFrontier)
{
    struct Case {
        const char* name;
        QByteArray bytes; // empty: no file
        qint16 lesson;
        qint16 step;
        bool allDone;
    };
    const Case cases[] = {
        {"no file", {}, 1, 1, false},
        {"2-byte file", QByteArray("\x05\x00", 2), 5, 1, false}, // cut short: zeros where it ends
        {"{0, 0}", StudyBytes(0, 0), 1, 1, false},
        {"{5, 7}", StudyBytes(5, 7), 6, 1, false},
        {"{91, 7}", StudyBytes(91, 7), 92, 1, true},
        {"{92, 1}", StudyBytes(92, 1), 92, 1, true},
        {"{200, 3}", StudyBytes(200, 3), 200, 3, true},
        {"{32767, 7}", StudyBytes(32767, 7), 32767, 1, true},
        {"{-4, -9}", StudyBytes(-4, -9), 1, 1, false},
        {"{12, 4} and more", StudyBytes(12, 4) + "junk", 12, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetState();
        QFile::remove(Path("Record/Study.vmq"));
        if (!c.bytes.isNull())
            WriteFile("Record/Study.vmq", c.bytes);
        ReadStudyProgress();
        EXPECT_EQ(State().CurrentLesson, c.lesson);
        EXPECT_EQ(State().CurrentStep, c.step);
        EXPECT_EQ(AllLessonsDone(State().CurrentLesson), c.allDone);
        EXPECT_EQ(ReadFile("Record/Study.vmq"), c.bytes) << "reading never rewrites the record";
    }
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(CourseProgressTest, ReadingCreatesNoFolderAndNoFile)
{
    ReadStudyProgress();
    EXPECT_FALSE(QFileInfo::exists(Path("Record")));

    QDir().mkpath(Path("Record"));
    ReadStudyProgress();
    EXPECT_TRUE(QDir(Path("Record")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(CourseProgressTest, AReadOnlyRecordIsRead)
{
    WriteFile("Record/Study.vmq", StudyBytes(12, 4));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
    const auto writable = readOnly | QFile::WriteOwner;
    QFile::setPermissions(Path("Record/Study.vmq"), QFile::ReadOwner);
    QFile::setPermissions(Path("Record"), readOnly);
    ReadStudyProgress();
    QFile::setPermissions(Path("Record"), writable);
    QFile::setPermissions(Path("Record/Study.vmq"), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(State().CurrentLesson, 12);
    EXPECT_EQ(State().CurrentStep, 4);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST(CourseRows, RowStatesAgainstTheFrontier)
{
    const QColor G = kRowGrey, R = kRowRed, B = kRowBlack;
    struct Case {
        const char* name;
        qint16 viewed, lesson, step;
        std::array<QColor, 6> colours;
        std::array<bool, 6> enabled;
        QColor review;
    };
    const Case cases[] = {
        {"before", 3, 5, 4, {G, G, G, G, G, G}, {1, 1, 1, 1, 1, 1}, G},
        {"at step 1", 5, 5, 1, {R, B, B, B, B, B}, {1, 0, 0, 0, 0, 0}, B},
        {"at step 2", 5, 5, 2, {G, R, B, B, B, B}, {1, 1, 0, 0, 0, 0}, B},
        {"at step 3", 5, 5, 3, {G, G, R, B, B, B}, {1, 1, 1, 0, 0, 0}, B},
        {"at step 4", 5, 5, 4, {G, G, G, R, B, B}, {1, 1, 1, 1, 0, 0}, B},
        {"at step 5", 5, 5, 5, {G, G, G, G, R, B}, {1, 1, 1, 1, 1, 0}, B},
        {"at step 6", 5, 5, 6, {G, G, G, G, G, R}, {1, 1, 1, 1, 1, 1}, B},
        {"after", 8, 5, 4, {B, B, B, B, B, B}, {1, 0, 0, 0, 0, 0}, B},
        {"all done, lesson 91", 91, 92, 1, {G, G, G, G, G, G}, {1, 1, 1, 1, 1, 1}, G},
        {"all done, lesson 1", 1, 92, 1, {G, G, G, G, G, G}, {1, 1, 1, 1, 1, 1}, G},
        {"damaged record", 91, 32767, 1, {G, G, G, G, G, G}, {1, 1, 1, 1, 1, 1}, G},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LessonRows rows = RowsFor(c.viewed, c.lesson, c.step);
        for (int k = 0; k < 6; ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(rows.Steps[k].Colour, c.colours[k]);
            EXPECT_EQ(rows.Steps[k].Enabled, c.enabled[k]);
        }
        EXPECT_EQ(rows.Review.Colour, c.review);
        EXPECT_TRUE(rows.Review.Enabled);
    }
}

TEST(CourseRows, ProgressLineAndTheLessonItBringsBack)
{
    struct Case {
        qint16 lesson;
        const char* line;
        int index;
    };
    const Case cases[] = {
        {1, "You are studying lesson 1.", 0},
        {57, "You are studying lesson 57.", 56},
        {91, "You are studying lesson 91.", 90},
        {92, "You have finished studying all the lessons.", 90},
        {32767, "You have finished studying all the lessons.", 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lesson);
        EXPECT_EQ(ProgressLine(c.lesson), QString::fromLatin1(c.line));
        EXPECT_EQ(CurrentLessonIndex(c.lesson), c.index);
    }
}

TEST(CourseRows, FocusAfterChoosingALesson)
{
    EXPECT_EQ(FocusAfterChoosing(3, 5, 4), 0) << "an earlier lesson";
    EXPECT_EQ(FocusAfterChoosing(8, 5, 4), 0) << "a later lesson";
    EXPECT_EQ(FocusAfterChoosing(5, 5, 4), 3) << "the learner's own lesson: its current step";
    EXPECT_EQ(FocusAfterChoosing(5, 5, 6), 5);
}

TEST(CourseRows, LessonListItemsNumberTheTitles)
{
    QStringList titles;
    for (int i = 1; i <= 91; ++i)
        titles.append(QStringLiteral("Title %1").arg(i));
    const QStringList items = LessonListItems(titles);
    ASSERT_EQ(items.size(), 91);
    EXPECT_EQ(items[0], QStringLiteral(" 1 - Title 1"));
    EXPECT_EQ(items[6], QStringLiteral(" 7 - Title 7"));
    EXPECT_EQ(items[90], QStringLiteral(" 91 - Title 91"));
    EXPECT_EQ(LessonListItems({}).value(4), QStringLiteral(" 5 - ")) << "titles not loaded";
}

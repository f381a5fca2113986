// The main window: backdrop modes and the saved mode, the picture, the clocks, minimising and
// the open panel.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "RecordFolder.h"
#include "RoadFixture.h"
#include "SettingRecord.h"
#include "Timer.h"

namespace {
class BackgroundTest : public RoadFixture {
protected:
    QByteArray SettingBytes(qint16 mode, qint16 port = 0)
    {
        SettingRecord r;
        r.BackdropMode = mode;
        r.Address[0] = 192;
        r.Address[1] = 168;
        r.Address[2] = 0;
        r.Address[3] = 7;
        r.ChatPort = port;
        return r.ToBytes();
    }
    void WritePicture(const QString& relative, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        ASSERT_TRUE(image.save(Path(relative), "JPEG"));
    }
    // The labels' right and bottom edges in twips, against the window.
    static double RightGap(const Background* b, const QLabel* l) { return b->Width() - Twips::FromPixelsX(l->x() + l->width()); }
    static double BottomGap(const Background* b, const QLabel* l)
    {
        return b->Height() - Twips::FromPixelsY(l->y() + l->height());
    }
};
} // namespace

TEST_F(BackgroundTest, BackdropGeometryOfEachMode)
{
    struct Case {
        qint16 mode;
        QRect workArea;
        QRect pixels;
    };
    const QRect full(0, 0, 1024, 768);
    const Case cases[] = {
        {0, QRect(0, 0, 1024, 728), full},
        {1, QRect(0, 0, 1024, 728), QRect(0, 0, 1024, 728)},
        {1, QRect(60, 0, 964, 768), full},           // taskbar at the side: as mode 0
        {1, QRect(0, 30, 1024, 738), full},          // taskbar at the top: as mode 0
        {2, QRect(0, 0, 1024, 728), QRect(127, 375, 770, 1)},
        {3, QRect(0, 0, 1024, 728), QRect(127, 375, 770, 1)},
        {-1, QRect(0, 0, 1024, 728), QRect(127, 375, 770, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " work area " << c.workArea.x() << "," << c.workArea.y());
        Twips::OverrideScreen(full, c.workArea);
        WriteFile("Record/Setting.vmq", SettingBytes(c.mode));
        Background* b = StartAndWait();
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->geometry(), c.pixels);
        EXPECT_TRUE(b->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(b->Image1->geometry(), full);
        if (c.pixels.height() > 1) {
            // Clocks in the bottom right corner, Beijing below local; the tone label at the left.
            EXPECT_NEAR(RightGap(b, b->Label5), 130, 15);
            EXPECT_NEAR(BottomGap(b, b->Label5), 65, 15);
            EXPECT_NEAR(RightGap(b, b->Label6), 130, 15);
            EXPECT_NEAR(Twips::FromPixelsY(b->Label5->y() - b->Label6->y() - b->Label6->height()), 65, 15);
            EXPECT_NEAR(Twips::FromPixelsX(b->Label4->x()), 130, 15);
            EXPECT_NEAR(BottomGap(b, b->Label4), 65, 15);
        }
        EXPECT_NEAR(Twips::FromPixelsX(b->Label10->x()), 130, 15);
        EXPECT_EQ(b->Label10->y(), 0);
        // Laying out never writes the settings file.
        EXPECT_EQ(ReadFile("Record/Setting.vmq"), SettingBytes(c.mode));
        Forms::UnloadAll();
        SingleInstance::ReleaseForThisRun();
    }
}

TEST_F(BackgroundTest, AMissingOrUnreadableSettingsFileGivesMode0)
{
    for (const bool unreadable : {false, true}) {
        SCOPED_TRACE(unreadable ? "unreadable" : "missing");
        if (unreadable)
            QDir().mkpath(Path("Record/Setting.vmq")); // a folder where the file should be
        Background* b = StartAndWait();
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->geometry(), QRect(0, 0, 1024, 768));
        // The folder is kept aside, with a word to the learner.
        EXPECT_EQ(m_boxes->Boxes().size(), unreadable ? 1 : 0);
        Forms::UnloadAll();
        SingleInstance::ReleaseForThisRun();
    }
}

TEST_F(BackgroundTest, Common01WithSaveStoresOnlyTheMode)
{
    Background* b = StartAndWait();
    ASSERT_NE(b, nullptr);
    // A missing file: the record is created with the mode and zeros.
    b->Common01(2, -1);
    EXPECT_EQ(ReadFile("Record/Setting.vmq"), QByteArray("\x02\0\0\0\0\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(b->geometry(), QRect(127, 375, 770, 1));
    // An existing record keeps its address and port; only the first two bytes change.
    // The settings panel reaches it by its class through the form registry.
    WriteFile("Record/Setting.vmq", SettingBytes(0, 2024) + QByteArray("tail"));
    ASSERT_EQ(Forms::Find<Background>(), b);
    Forms::Find<Background>()->Common01(1, -1);
    QByteArray expected = SettingBytes(1, 2024) + QByteArray("tail");
    EXPECT_EQ(ReadFile("Record/Setting.vmq"), expected);
    EXPECT_EQ(b->geometry(), QRect(0, 0, 1024, 728));
    // Without save nothing is written.
    b->Common01(0, 0);
    EXPECT_EQ(ReadFile("Record/Setting.vmq"), expected);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    EXPECT_TRUE(QDir(Path("Record")).entryList(QDir::Files) == QStringList{"Setting.vmq"});
}

TEST_F(BackgroundTest, AFailedWriteOfTheModeShowsTheDiskWarningAfterTheLayout)
{
    Background* b = StartAndWait();
    ASSERT_NE(b, nullptr);
    QDir(Path("Record")).removeRecursively();
    WriteFile("Record", "a file where the Record folder should be");
    b->Common01(2, -1);
    EXPECT_EQ(b->geometry(), QRect(127, 375, 770, 1));
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_TRUE(m_boxes->Boxes()[0].text.endsWith('\n' + Path("Record")));
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Critical);
    EXPECT_EQ(m_boxes->Boxes()[0].title, "Warning");
    EXPECT_EQ(ReadFile("Record"), "a file where the Record folder should be");
}

TEST_F(BackgroundTest, TheBackdropPictureComesFromTheListOrBackgroundJpg)
{
    struct Case {
        const char* what;
        const char* list; // backgroundpath.txt, nullptr: no file; %1 is the temporary folder
        bool backgroundJpg;
        QSize shown; // invalid: no picture
    };
    const Case cases[] = {
        {"the listed picture", "%1/pics/mine.jpg\r\n", true, QSize(8, 6)},
        {"blanks around the path", "   %1/pics/mine.jpg  \r\n", false, QSize(8, 6)},
        {"only the last line counts", "%1/pics/old.jpg\r\n%1/pics/mine.jpg\r\n", false, QSize(8, 6)},
        {"a last line naming a lost file", "%1/pics/mine.jpg\r\n%1/pics/lost.jpg\r\n", true, QSize(4, 4)},
        {"an empty list", "", true, QSize(4, 4)},
        {"no list", nullptr, true, QSize(4, 4)},
        {"nothing at all", "%1/pics/lost.jpg\r\n", false, QSize()},
    };
    WritePicture("pics/mine.jpg", QSize(8, 6));
    WritePicture("pics/old.jpg", QSize(2, 2));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(Path("Record/backgroundpath.txt"));
        QFile::remove(Path("background.jpg"));
        if (c.list)
            WriteFile("Record/backgroundpath.txt", QString::fromLatin1(c.list).arg(m_dir->path()).toUtf8());
        if (c.backgroundJpg)
            WritePicture("background.jpg", QSize(4, 4));
        Background* b = Start();
        ASSERT_NE(b, nullptr);
        // The picture is decoded while the start-up step waits, before the window shows.
        QCoreApplication::processEvents();
        EXPECT_EQ(b->Image1->isVisibleTo(b), c.shown.isValid());
        if (c.shown.isValid()) {
            EXPECT_EQ(b->Image1->pixmap().size(), c.shown);
        }
        Forms::UnloadAll();
        SingleInstance::ReleaseForThisRun();
    }
}

TEST_F(BackgroundTest, ABrokenPictureLeavesTheBackdropBlue)
{
    WriteFile("background.jpg", "this is no picture");
    Background* b = StartAndWait();
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(b->Image1->isVisibleTo(b));
    EXPECT_EQ(b->palette().color(QPalette::Window), QColor(0, 0, 128));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(BackgroundTest, ClocksShowLocalAndBeijingTimeAndTickEveryMinute)
{
    Clock::SetNow(QDateTime(QDate(2026, 3, 2), QTime(15, 25)));
    Background* b = Start();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->BeijingOffset, 420);
    EXPECT_EQ(b->Label6->text(), "Local Time  本地时间：Monday  星期一  下午 03:25 PM");
    EXPECT_EQ(b->Label5->text(), "Beijing Time  北京时间：Monday  星期一  下午 10:25 PM");
    QString zone;
    EXPECT_EQ(b->GetLocalTZ(zone), 60);
    EXPECT_EQ(zone, "CET");

    Clock::SetNow(QDateTime(QDate(2026, 3, 2), QTime(17, 39, 30)));
    Clock::Advance(59999);
    EXPECT_EQ(b->Label5->text(), "Beijing Time  北京时间：Monday  星期一  下午 10:25 PM");
    Clock::Advance(1);
    EXPECT_EQ(b->Label6->text(), "Local Time  本地时间：Monday  星期一  下午 05:40 PM");
    EXPECT_EQ(b->Label5->text(), "Beijing Time  北京时间：Tuesday  星期二  上午 12:40 AM");
    EXPECT_EQ(b->BeijingWeekdayEnglish, "Tuesday");
    EXPECT_EQ(b->LocalWeekdayChinese, "星期一");
    EXPECT_TRUE(b->Label5->isVisible());
    EXPECT_TRUE(b->Label6->isVisible());
    EXPECT_FALSE(b->Label4->isVisibleTo(b));
}

TEST_F(BackgroundTest, TheTitleClocksAndToneLabelStayReadableOnALightPicture)
{
    QImage white(QSize(64, 48), QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(Path("background.jpg"), "JPEG"));
    Background* b = StartAndWait();
    ASSERT_NE(b, nullptr);
    b->ShowToneText(QStringLiteral("3"));
    const QImage shot = b->grab().toImage();
    for (const QLabel* label : {b->Label10, b->Label6, b->Label5, b->Label4}) {
        SCOPED_TRACE(label->objectName().toStdString());
        ASSERT_TRUE(label->isVisible());
        // The white text needs dark pixels around it to be seen on white.
        int dark = 0;
        const QRect r = label->geometry() & shot.rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                dark += QColor(shot.pixel(x, y)).lightness() < 100;
        EXPECT_GT(dark, label->height());
    }
}

TEST_F(BackgroundTest, NothingMinimisesWhileStartingUp)
{
    Background* b = StartAndWait();
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(State().CurrentActivity, -1);
    b->activateWindow();
    QTest::keyClick(b, Qt::Key_F4);
    QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(400, 300));
    b->MinimizeProgram();
    EXPECT_EQ(b->WindowState(), Form::Normal);
    EXPECT_TRUE(Find("Begin")->isVisible());
}

TEST_F(BackgroundTest, F4AndADoubleClickMinimiseOnceStarted)
{
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "F4" : "double click");
        Background* b = StartAndWait();
        ASSERT_NE(b, nullptr);
        State().CurrentActivity = 0;
        if (byKey)
            QTest::keyClick(b, Qt::Key_F4);
        else
            QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(400, 300));
        EXPECT_EQ(b->WindowState(), Form::Minimized);
        EXPECT_FALSE(Find("Begin")->isVisible());
        b->SetWindowState(Form::Normal);
        EXPECT_TRUE(Find("Begin")->isVisible());
        Forms::UnloadAll();
        SingleInstance::ReleaseForThisRun();
    }
}

TEST_F(BackgroundTest, MinimisingHidesTheOpenPanelAndRestoringShowsIt)
{
    struct Case {
        qint16 activity;
        const char* panel; // the panel that follows the window, or nullptr
    };
    // The settings' code with no panel shown is the uninstaller's time: the program hid the
    // settings itself, and the restore leaves them hidden.
    const Case cases[] = {{0, "Begin1"}, {10, "Begin4"}, {20, "Setting"}, {30, "frmAbout"}, {1, nullptr}, {8, nullptr},
        {15, nullptr}, {20, nullptr}};
    const char* const panels[] = {"Begin1", "Begin4", "Setting", "frmAbout"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.activity);
        Background* b = StartAndWait();
        ASSERT_NE(b, nullptr);
        Form* begin = Find("Begin");
        // All panels loaded; only the one of CurrentActivity shown, as the start menu leaves them.
        for (const char* name : panels) {
            Form* p = Forms::Load(QString::fromLatin1(name));
            ASSERT_NE(p, nullptr);
            if (c.panel && QString::fromLatin1(name) == c.panel)
                p->Show(Form::Modeless, begin);
        }
        State().CurrentActivity = c.activity;
        b->MinimizeProgram();
        for (const char* name : panels)
            EXPECT_FALSE(Find(name)->isVisible()) << name;
        b->SetWindowState(Form::Normal);
        for (const char* name : panels)
            EXPECT_EQ(Find(name)->isVisible(), c.panel && QString::fromLatin1(name) == c.panel) << name;
        EXPECT_TRUE(begin->isVisible());
        Forms::UnloadAll();
        SingleInstance::ReleaseForThisRun();
    }
}

TEST_F(BackgroundTest, EscInTheStartMenuEndsTheProgram)
{
    StartAndWait();
    Form* begin = Find("Begin");
    ASSERT_NE(begin, nullptr);
    // The menu takes its items once the start-up is over.
    State().CurrentActivity = 0;
    begin->activateWindow();
    QTest::keyPress(begin, Qt::Key_Escape);
    EXPECT_TRUE(Loaded("Background"));
    QTest::keyRelease(begin, Qt::Key_Escape);
    EXPECT_TRUE(Forms::LoadedNames().isEmpty());
}

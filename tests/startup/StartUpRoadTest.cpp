// The start-up road from the start-up window: single instance, AppPath, the components, the
// normal road to the start menu, the code-page road and the installer road.

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "RegisterOCX.h"
#include "RoadFixture.h"
#include "StartOrNot.h"
#include "Timer.h"

namespace {
class StartUpRoadTest : public RoadFixture {};

// A component host that remembers what it was asked to do.
class FakeHost : public ComponentHost {
public:
    QStringList inSystem;
    QStringList inAppPath;
    bool copyWorks{true};
    bool startWorks{true};
    QStringList copies;
    QStringList commands;

    QString SystemFolder() const override { return QStringLiteral("/sys32"); }
    bool FileExists(const QString& path) const override
    {
        const QString name = path.section('/', -1);
        return path.startsWith("/sys32/") ? inSystem.contains(name) : inAppPath.contains(name);
    }
    bool CopyFile(const QString& from, const QString& to) override
    {
        copies << from.section('/', -1) + " -> " + to;
        return copyWorks;
    }
    bool StartRegistration(const QString& commandLine) override
    {
        commands << commandLine;
        return startWorks;
    }
};

class HostGuard {
public:
    explicit HostGuard(ComponentHost* h) { SetComponentHost(h); }
    ~HostGuard() { SetComponentHost(nullptr); }
};
} // namespace

TEST_F(StartUpRoadTest, NormalRoadShowsTheBackdropThenTheStartMenuCentredAndRaised)
{
    Background* b = Start();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(State().CurrentActivity, -1);
    EXPECT_FALSE(b->isVisible());
    EXPECT_TRUE(Loaded("RegisterOCX"));
    EXPECT_FALSE(Find("RegisterOCX")->isVisible());
    EXPECT_TRUE(b->Timer5->Enabled());
    EXPECT_EQ(State().TaskbarHeight, 600);

    Clock::Advance(99);
    EXPECT_FALSE(b->isVisible());
    Clock::Advance(1);
    EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(Loaded("RegisterOCX"));
    EXPECT_FALSE(Loaded("StartOrNot"));
    Form* begin = Find("Begin");
    ASSERT_NE(begin, nullptr);
    EXPECT_TRUE(begin->isVisible());
    EXPECT_EQ(begin->Owner(), b);
    // (15360 - 11550) / 2 and (11520 - 8670) / 2 - 260, to the pixel.
    EXPECT_NEAR(begin->Left(), 1905, 15);
    EXPECT_NEAR(begin->Top(), 1165, 15);
    ASSERT_TRUE(Loaded("Zoom"));
    EXPECT_FALSE(Find("Zoom")->isVisible());
    EXPECT_FALSE(Loaded("Dictionary"));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
    EXPECT_EQ(State().CurrentActivity, -1);
}

TEST_F(StartUpRoadTest, ASecondCopyEndsAtOnceWithoutWindowOrMessage)
{
    InstanceLock running;
    ASSERT_TRUE(running.TryLock(SingleInstance::LockPath()));
    EXPECT_EQ(Forms::Load(QStringLiteral("RegisterOCX")), nullptr);
    EXPECT_TRUE(Forms::LoadedNames().isEmpty());
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(StartUpRoadTest, TheProgramItselfExitsSilentlyWhileAnotherCopyRuns)
{
    InstanceLock running;
    ASSERT_TRUE(running.TryLock(SingleInstance::LockPath()));
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELMORA_LOCK_DIR", m_dir->path());
    env.insert("VELMORA_APPPATH", m_dir->path());
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(VELMORA_EXE), {});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
}

TEST_F(StartUpRoadTest, AKilledRunLeavesNoLockBehind)
{
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELMORA_LOCK_DIR", m_dir->path());
    env.insert("VELMORA_APPPATH", m_dir->path());
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(VELMORA_EXE), {});
    ASSERT_TRUE(first.waitForStarted(60000));
    // Wait for the run to take its lock (it ends only when killed).
    InstanceLock probe;
    bool held = false;
    for (int i = 0; i < 600 && !held; ++i) {
        held = !probe.TryLock(SingleInstance::LockPath());
        probe.Release();
        if (!held)
            first.waitForFinished(50);
    }
    ASSERT_TRUE(held);
    first.kill();
    ASSERT_TRUE(first.waitForFinished(60000));
    EXPECT_TRUE(probe.TryLock(SingleInstance::LockPath()));
}

TEST_F(StartUpRoadTest, AppPathEndsInOneSeparator)
{
    struct Case {
        QString given;
        QString expected;
    };
    const QString dir = m_dir->path();
    // The root folder is only named here: starting there would create a Record folder in it.
    for (const Case& c : {Case{dir, dir + "/"}, Case{dir + "/", dir + "/"}, Case{"/", "/"}}) {
        SCOPED_TRACE(c.given.toStdString());
        qputenv("VELMORA_APPPATH", c.given.toUtf8());
        EXPECT_EQ(DefaultAppPath(), c.expected);
    }
    qputenv("VELMORA_APPPATH", dir.toUtf8());
    State().AppPath.clear();
    Forms::Load(QStringLiteral("RegisterOCX"));
    EXPECT_EQ(State().AppPath, dir + "/");
}

TEST_F(StartUpRoadTest, OnLinuxEveryComponentIsPresentSoNothingIsRegistered)
{
    LinuxComponentHost host;
    for (const QString& f : RegisterOCX::ComponentList())
        EXPECT_TRUE(host.FileExists(host.SystemFolder() + "/" + f));
    EXPECT_EQ(RegisterOCX::ComponentList().size(), 8);
    EXPECT_EQ(RegisterOCX::ComponentList().first(), "COMDLG32.OCX");
    EXPECT_EQ(RegisterOCX::ComponentList()[6], "STKIT432.DLL");
}

TEST_F(StartUpRoadTest, ComponentChecksReportEachFailureAndGoOn)
{
    const QStringList all = RegisterOCX::ComponentList();
    struct Case {
        const char* what;
        QStringList inSystem;
        QStringList inAppPath;
        bool copyWorks;
        bool startWorks;
        QStringList messages;
        int copies;
        int commands;
    };
    const QStringList missingThree{all[1], all[4], all[7]};
    QStringList allButThree = all;
    for (const QString& f : missingThree)
        allButThree.removeAll(f);
    const Case cases[] = {
        {"all present", all, {}, true, true, {}, 0, 0},
        {"three missing everywhere", allButThree, {}, true, true,
            {"Fail to find MCI32.OCX in the installation path.", "Fail to find MSWINSCK.OCX in the installation path.",
                "Fail to find STKITRUN.DLL in the installation path."},
            0, 0},
        {"system folder cannot be written", allButThree, missingThree, false, true,
            {"Fail to copy MCI32.OCX to system directory.", "Fail to copy MSWINSCK.OCX to system directory.",
                "Fail to copy STKITRUN.DLL to system directory."},
            3, 0},
        {"copied and registered", allButThree, missingThree, true, true, {}, 3, 3},
        {"registration cannot start", allButThree, missingThree, true, false,
            {"Fail to register MCI32.OCX.", "Fail to register MSWINSCK.OCX.", "Fail to register STKITRUN.DLL."}, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHost host;
        host.inSystem = c.inSystem;
        host.inAppPath = c.inAppPath;
        host.copyWorks = c.copyWorks;
        host.startWorks = c.startWorks;
        HostGuard guard(&host);
        m_boxes->Clear();
        Forms::Load(QStringLiteral("RegisterOCX"));
        EXPECT_EQ(m_boxes->Texts(), c.messages);
        for (const auto& box : m_boxes->Boxes()) {
            EXPECT_EQ(box.title, "Warning");
            EXPECT_EQ(box.icon, MsgBox::Exclamation);
        }
        EXPECT_EQ(host.copies.size(), c.copies);
        EXPECT_EQ(host.commands.size(), c.commands);
        if (c.commands > 0) {
            EXPECT_EQ(host.commands.first(), "regsvr32.exe /sys32/MCI32.OCX /s");
        }
        // The main window loads whatever happened.
        EXPECT_TRUE(Loaded("Background"));
        Forms::UnloadAll();
        SingleInstance::ReleaseForThisRun();
    }
}

TEST_F(StartUpRoadTest, CodePageRoadShowsTheHelpWindowInsteadOfTheStartMenu)
{
    qputenv("VELMORA_FORCE_CODEPAGE_FAILURE", "1");
    Background* b = StartAndWait();
    ASSERT_NE(b, nullptr);
    auto* help = Forms::Find<StartOrNot>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->Owner(), b);
    EXPECT_FALSE(Loaded("Begin"));
    EXPECT_FALSE(Loaded("Zoom"));
    EXPECT_FALSE(Loaded("RegisterOCX"));
    EXPECT_EQ(help->Command1->text(), "No, I'll do that later");
    EXPECT_EQ(help->Command2->text(), "Cancel launching");

    QTest::mouseClick(help->Command1, Qt::LeftButton);
    EXPECT_FALSE(Loaded("StartOrNot"));
    ASSERT_TRUE(Loaded("Begin"));
    EXPECT_TRUE(Find("Begin")->isVisible());
    EXPECT_TRUE(Loaded("Zoom"));
    EXPECT_TRUE(b->isVisible());
}

TEST_F(StartUpRoadTest, TheHelpWindowKeepsTheStepTheLearnerWentToOverAMinimise)
{
    qputenv("VELMORA_FORCE_CODEPAGE_FAILURE", "1");
    Background* b = StartAndWait();
    ASSERT_NE(b, nullptr);
    auto* help = Forms::Find<StartOrNot>();
    ASSERT_NE(help, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(help->focusWidget(), help->Option1);
    help->Option3->setFocus();
    b->SetWindowState(Form::Minimized);
    ASSERT_FALSE(help->isVisible());
    b->SetWindowState(Form::Normal);
    ASSERT_TRUE(help->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(help->focusWidget(), help->Option3);
}

TEST_F(StartUpRoadTest, CancelLaunchingAndEscEndTheProgram200msLater)
{
    qputenv("VELMORA_FORCE_CODEPAGE_FAILURE", "1");
    for (const bool byEsc : {false, true}) {
        SCOPED_TRACE(byEsc ? "Esc" : "Cancel launching");
        ASSERT_NE(StartAndWait(), nullptr);
        auto* help = Forms::Find<StartOrNot>();
        ASSERT_NE(help, nullptr);
        if (byEsc) {
            help->activateWindow();
            QTest::keyClick(help, Qt::Key_Escape);
        } else {
            QTest::mouseClick(help->Command2, Qt::LeftButton);
        }
        EXPECT_FALSE(Loaded("StartOrNot"));
        EXPECT_TRUE(Loaded("Background"));
        Clock::Advance(199);
        EXPECT_TRUE(Loaded("Background"));
        Clock::Advance(1);
        EXPECT_TRUE(Forms::LoadedNames().isEmpty());
        EXPECT_FALSE(Loaded("Begin"));
        SingleInstance::ReleaseForThisRun();
    }
}

TEST_F(StartUpRoadTest, ClosingTheHelpWindowByItsFrameCancelsTheLaunch)
{
    qputenv("VELMORA_FORCE_CODEPAGE_FAILURE", "1");
    StartAndWait();
    auto* help = Forms::Find<StartOrNot>();
    ASSERT_NE(help, nullptr);
    help->close();
    EXPECT_FALSE(Loaded("StartOrNot"));
    Clock::Advance(200);
    EXPECT_TRUE(Forms::LoadedNames().isEmpty());
}

TEST_F(StartUpRoadTest, ClosingTheMainWindowOrTheMenuByTheFrameEndsTheProgram)
{
    for (const char* closed : {"Background", "Begin"}) {
        SCOPED_TRACE(closed);
        ASSERT_NE(StartAndWait(), nullptr);
        ASSERT_TRUE(Loaded("Begin"));
        Find(closed)->close();
        EXPECT_TRUE(Forms::LoadedNames().isEmpty());
        SingleInstance::ReleaseForThisRun();
    }
    // With a lesson task or a tool open the main window's close ends nothing; back on a panel it
    // ends the program.
    for (const int activity : {1, 8, 11, 18}) {
        SCOPED_TRACE(activity);
        ASSERT_NE(StartAndWait(), nullptr);
        const QStringList loaded = Forms::LoadedNames();
        State().CurrentActivity = static_cast<qint16>(activity);
        Find("Background")->close();
        EXPECT_EQ(Forms::LoadedNames(), loaded);
        State().CurrentActivity = activity < 10 ? 0 : 10;
        Find("Background")->close();
        EXPECT_TRUE(Forms::LoadedNames().isEmpty());
        SingleInstance::ReleaseForThisRun();
    }
    // Before the start menu is open, the main window's close ends the start-up; the help
    // window still open ends the program with either of its buttons.
    qputenv("VELMORA_FORCE_CODEPAGE_FAILURE", "1");
    ASSERT_NE(StartAndWait(), nullptr);
    Find("Background")->close();
    EXPECT_EQ(Forms::LoadedNames(), QStringList{"StartOrNot"});
    QTest::mouseClick(Forms::Find<StartOrNot>()->Command1, Qt::LeftButton);
    EXPECT_TRUE(Forms::LoadedNames().isEmpty());
}

TEST_F(StartUpRoadTest, TheHelpWindowShowsOneStepAtATime)
{
    qputenv("VELMORA_FORCE_CODEPAGE_FAILURE", "1");
    StartAndWait();
    auto* help = Forms::Find<StartOrNot>();
    ASSERT_NE(help, nullptr);
    QLabel* images[] = {help->Image1, help->Image2, help->Image3};
    QRadioButton* options[] = {help->Option1, help->Option2, help->Option3};
    auto expectStep = [&](int step) {
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(images[k - 1]->isVisible(), k == step) << "picture " << k;
        EXPECT_EQ(help->Label4->text(), StartOrNot::StepText(step));
        EXPECT_FALSE(images[step - 1]->pixmap().isNull());
    };
    EXPECT_TRUE(help->Option1->isChecked());
    expectStep(1);
    EXPECT_EQ(help->Label4->text(), "Step 1: Open Control Panel and then open Regional and Language Options");
    for (int step : {3, 1, 2, 3}) {
        SCOPED_TRACE(step);
        QTest::mouseClick(options[step - 1], Qt::LeftButton, {}, QPoint(8, options[step - 1]->height() / 2));
        expectStep(step);
    }
    EXPECT_EQ(help->Label4->text(),
        "Step 3: Open Advanced tab, select Chinese (PRC) and apply the setting. You must restart your computer.");
    EXPECT_EQ(help->windowTitle(), "You have to change the language settings of the system for running Velmora 2007");
}

TEST_F(StartUpRoadTest, InstallerRoadFromARemovableOrCdRomStartOrWhenAskedFor)
{
    const struct {
        const char* type;
        bool asked; // --install on the command line
    } cases[] = {{"2", false}, {"5", false}, {"3", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        qputenv("VELMORA_DRIVE_TYPE", c.type);
        State().InstallRequested = c.asked;
        Background* b = Start();
        ASSERT_NE(b, nullptr);
        Form* install = Find("Install");
        ASSERT_NE(install, nullptr);
        EXPECT_TRUE(install->isVisible());
        EXPECT_EQ(install->Owner(), nullptr);
        EXPECT_FALSE(b->isVisible());
        EXPECT_FALSE(b->Timer5->Enabled());
        EXPECT_TRUE(b->Label6->text().isEmpty());
        Clock::Advance(199);
        EXPECT_TRUE(Loaded("Background"));
        EXPECT_TRUE(Loaded("RegisterOCX"));
        Clock::Advance(1);
        EXPECT_EQ(Forms::LoadedNames(), QStringList{"Install"});
        EXPECT_FALSE(Loaded("Begin"));
        Forms::UnloadAll();
        SingleInstance::ReleaseForThisRun();
    }
}

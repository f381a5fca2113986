#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "Install.h"
#include "RichTextBox.h"
#include "SetupWindowFixture.h"
#include "SingleInstance.h"
#include "Timer.h"

namespace {

constexpr quint64 MB = 1024 * 1024;

class InstallWindowTest : public SetupWindowFixture {
protected:
    void SetUp() override
    {
        SetupWindowFixture::SetUp();
        // The medium: three levels, a dot-file and a link back up the tree.
        WriteFile("velmora", "program");
        WriteFile("background.jpg", "jpg");
        WriteFile(".hidden", "h");
        WriteFile("Lessons/Script/Lesson_1/icwp.vmq", "1");
        WriteFile("Lessons/Script/Lesson_2/lifr.vmq", "2");
        WriteFile("Numbers/1.wav", "n");
        WriteFile("Phonetic Symbols/H/hao3.wav", "h");
        WriteFile("Vocabulary/zi1.vmq", "z");
        QFile::link(m_dir->path(), Path("Numbers/loop"));
    }
    void TearDown() override
    {
        SetupWindowFixture::TearDown();
        SingleInstance::ReleaseForThisRun();
    }

    Install* Open()
    {
        Install* w = Forms::Load<Install>();
        w->Show();
        return w;
    }
    Install* OpenAndAccept()
    {
        Install* w = Open();
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        return w;
    }
    QString Installed(const QString& relative = {}) const { return Installer::InstallPath(Home()) + relative; }
    // Moves the clock on until the window is gone or what it waits for has come.
    static void RunUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 5000 && Forms::IsLoaded(QStringLiteral("Install")) && !done(); ++i)
            Clock::Advance(1);
    }
    static bool Gone() { return !Forms::IsLoaded(QStringLiteral("Install")); }
    static QStringList LogLines(Install* w)
    {
        QStringList lines = w->RichTextBox1->Text().split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    static const QStringList MediumFiles;
};

// The medium's files in copy order: the program folder's own (by name), then each folder's.
const QStringList InstallWindowTest::MediumFiles{".hidden", "background.jpg", "velmora", "Numbers/1.wav",
    "Vocabulary/zi1.vmq", "Phonetic Symbols/H/hao3.wav", "Lessons/Script/Lesson_1/icwp.vmq",
    "Lessons/Script/Lesson_2/lifr.vmq"};

TEST_F(InstallWindowTest, TheAgreementComesFirstThenTheHomeFolderIsChecked)
{
    Install* w = Open();
    EXPECT_EQ(w->Caption(), "Installing Velmora 2007");
    EXPECT_TRUE(w->RichTextBox1->Text().startsWith("Velmora 2007 Licence Agreement"));
    EXPECT_FALSE(w->Drive1->isEnabled());
    EXPECT_FALSE(w->Command6->isEnabled());
    EXPECT_TRUE(w->Label3->isHidden());
    EXPECT_TRUE(w->Label5->isHidden());

    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_TRUE(w->Drive1->isEnabled());
    EXPECT_EQ(w->Drive1->currentText(), Home());
    EXPECT_EQ(w->Label5->text(), Home() + "/Norvale/");
    EXPECT_TRUE(w->Label5->isVisible());
    EXPECT_EQ(w->Label3->text(), "The free space is enough.");
    EXPECT_TRUE(w->Command6->isEnabled());
}

TEST_F(InstallWindowTest, EachDriveIsJudgedByItsTypeAndFreeSpace)
{
    const struct {
        const char* base;
        int type;
        quint64 bytes;
        const char* verdict;
        bool install;
    } cases[] = {
        {"/media/cd", Drives::CdRom, 700 * MB, "Cannot install on a CD driver!", false},
        {"/media/stick", Drives::Removable, 900 * MB, "Cannot install on a thumb driver!", false},
        {"/mnt/full", Drives::Fixed, 49 * MB, "The free space is not enough!", false},
        {"/mnt/room", Drives::Fixed, 50 * MB, "The free space is enough.", true},
        {"/media/cd", Drives::CdRom, 700 * MB, "Cannot install on a CD driver!", false},
        {"/mnt/big disk", Drives::Fixed, quint64(3) << 40, "The free space is enough.", true},
    };
    m_host.bases = {Home()};
    for (const auto& c : cases) {
        if (!m_host.bases.contains(c.base))
            m_host.bases << c.base;
        m_host.types[c.base] = c.type;
        m_host.freeBytes[c.base] = c.bytes;
    }
    Install* w = OpenAndAccept();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.base);
        w->Drive1->setCurrentIndex(m_host.bases.indexOf(c.base));
        EXPECT_EQ(w->Label3->text(), c.verdict);
        EXPECT_EQ(w->Label3->palette().color(QPalette::WindowText) == QColor(255, 0, 0), !c.install);
        EXPECT_EQ(w->Command6->isEnabled(), c.install);
        EXPECT_EQ(w->Label5->text(), QString::fromUtf8(c.base) + "/Norvale/");
    }
}

TEST_F(InstallWindowTest, TheWholeFolderIsCopiedWithShortcutsAndTheProgramStarted)
{
    Install* w = OpenAndAccept();
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    EXPECT_EQ(w->Command6->text(), "Cancel");
    EXPECT_FALSE(w->Drive1->isEnabled());
    EXPECT_EQ(w->Label3->text(), "Preparing ...");

    // The walk counts the files, then the copy waits 200 ms with the agreement still shown.
    RunUntil([w] { return w->Timer1->Enabled(); });
    EXPECT_EQ(w->Label3->text(), "Preparing ... (8 files)");
    Clock::Advance(199);
    EXPECT_TRUE(w->RichTextBox1->Text().startsWith("Velmora 2007 Licence Agreement"));
    Clock::Advance(1);
    EXPECT_EQ(w->Label3->text(), "Installing ...");
    EXPECT_EQ(w->ProgressBar1->maximum(), 8);

    int lastValue = 0;
    RunUntil([&] {
        EXPECT_GE(w->ProgressBar1->value(), lastValue);
        lastValue = w->ProgressBar1->value();
        return !m_boxes->Boxes().isEmpty();
    });
    QStringList expectedLog;
    for (const QString& file : MediumFiles)
        expectedLog << Installed(file);
    EXPECT_EQ(LogLines(w), expectedLog);
    EXPECT_EQ(w->ProgressBar1->value(), 8);
    EXPECT_EQ(w->Label3->text(), "The installation is completed.");
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    const MsgBox::Shown& question = m_boxes->Boxes().at(0);
    EXPECT_EQ(question.text, "Velmora 2007 was installed successfully!\r\nWould you like to run it right now?");
    EXPECT_EQ(question.title, "Notice");
    EXPECT_EQ(question.buttons, MsgBox::YesNo);
    EXPECT_TRUE(Gone());

    // The copy is the medium less the link; the manifest names every file copied.
    QStringList medium = Tree(m_dir->path());
    medium.removeAll("Numbers/loop");
    QStringList copy = Tree(Installed());
    EXPECT_TRUE(copy.removeOne(Installer::ManifestName()));
    EXPECT_EQ(copy, medium);
    QFile manifest(Installed(Installer::ManifestName()));
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(manifest.readAll()).split(u'\n', Qt::SkipEmptyParts), MediumFiles);

    QFile entry(DesktopEntry());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(entry.readAll()).contains("\nExec=\"" + Installed("velmora") + "\"\n"));
    EXPECT_TRUE(QFileInfo::exists(MenuEntry()));
    EXPECT_EQ(m_host.started, QStringList{Installed("velmora") + u'|' + Home() + "/Norvale"});
}

TEST_F(InstallWindowTest, NoToRunItNowStartsNothing)
{
    m_boxes->Answer(MsgBox::No);
    Install* w = OpenAndAccept();
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    RunUntil([] { return false; });
    EXPECT_TRUE(Gone());
    EXPECT_TRUE(m_host.started.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(Installed("velmora")));
}

TEST_F(InstallWindowTest, AFailedCopyIsReportedWrittenDownAndClosesWithoutAsking)
{
    // A file where a folder's parent must go: the folder and its file fail.
    Write(Installed("Phonetic Symbols"), "in the way");
    m_boxes->Answer(MsgBox::Ok); // reinstall
    Install* w = OpenAndAccept();
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    RunUntil([&] { return m_boxes->Boxes().size() > 1; });
    ASSERT_FALSE(Gone());

    const QString medium = QFileInfo(m_dir->path()).canonicalFilePath();
    const QString report = "The following folders were not created successfully:\r\n\r\n"
        + Installed("Phonetic Symbols/H") + "\r\nThe following files were not copied successfully:\r\n\r\n" + medium
        + "/Phonetic Symbols/H/hao3.wav";
    EXPECT_EQ(w->RichTextBox1->Text(), report);
    QFile error(Installed("Install Error.txt"));
    ASSERT_TRUE(error.open(QIODevice::ReadOnly));
    EXPECT_EQ(error.readAll(), (report + "\r\n").toLatin1());
    ASSERT_EQ(m_boxes->Boxes().size(), 2);
    EXPECT_EQ(m_boxes->Boxes().at(1).text, "Velmora 2007 was NOT installed successfully!");
    EXPECT_EQ(m_boxes->Boxes().at(1).title, "Warning");
    EXPECT_EQ(m_boxes->Boxes().at(1).icon, MsgBox::Exclamation);
    // The shortcuts are made all the same; nothing is started.
    EXPECT_TRUE(QFileInfo::exists(DesktopEntry()));
    EXPECT_TRUE(m_host.started.isEmpty());
    EXPECT_FALSE(w->Command6->isEnabled());

    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_EQ(m_boxes->Boxes().size(), 2);
    EXPECT_TRUE(Gone());
}

TEST_F(InstallWindowTest, CancelOrCloseAtFileKKeepsThePartialCopyAndMakesNoShortcut)
{
    const struct {
        int k;
        bool close; // Close instead of Cancel
        const char* question;
    } cases[] = {{0, false, "Do you really want to cancel installation?"},
        {3, false, "Do you really want to cancel installation?"},
        {5, true, "Do you really want to exit the setup program?"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.k);
        QDir(Installed()).removeRecursively();
        m_boxes->Clear();
        Install* w = OpenAndAccept();
        QTest::mouseClick(w->Command6, Qt::LeftButton);
        if (c.k == 0) {
            Clock::Advance(1); // one folder of the walk
        } else {
            RunUntil([&] { return LogLines(w).size() == c.k && LogLines(w).first() == Installed(".hidden"); });
            ASSERT_EQ(LogLines(w).size(), c.k);
        }
        // No goes on; Yes stops before the next step.
        QPushButton* button = c.close ? w->Command2 : w->Command6;
        m_boxes->Answer(MsgBox::No);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(Gone());
        m_boxes->Answer(MsgBox::Yes);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(m_boxes->Boxes().size(), 2);
        EXPECT_EQ(m_boxes->Boxes().at(0).text, c.question);
        EXPECT_EQ(m_boxes->Boxes().at(0).title, "Attention");
        Clock::Advance(100);
        EXPECT_TRUE(Gone());

        QStringList copied; // beside the manifest that lists them
        for (const QString& entry : Tree(Installed()))
            if (!entry.endsWith(u'/') && entry != Installer::ManifestName())
                copied << entry;
        QStringList expected = MediumFiles.mid(0, c.k);
        expected.sort();
        EXPECT_EQ(copied, expected);
        EXPECT_EQ(QFileInfo::exists(Installed()), c.k > 0);
        EXPECT_FALSE(QFileInfo::exists(DesktopEntry()));
        EXPECT_FALSE(QFileInfo::exists(MenuEntry()));
    }
}

TEST_F(InstallWindowTest, AnEarlierInstallationIsReplacedOnlyWhenTheLearnerSaysSo)
{
    Write(Installed("velmora"), "old program");
    Install* w = OpenAndAccept();
    m_boxes->Answer(MsgBox::Cancel);
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes().at(0).text,
        "It seems that Velmora 2007 has already been installed on disk " + Home() + ".\r\nWould you like to reinstall it?");
    EXPECT_EQ(m_boxes->Boxes().at(0).buttons, MsgBox::OkCancel);
    EXPECT_EQ(w->Command6->text(), "Install");
    EXPECT_TRUE(w->Drive1->isEnabled());
    Clock::Advance(1000);
    EXPECT_EQ(Tree(Installed()), QStringList{"velmora"});

    m_boxes->Answer(MsgBox::Ok);
    m_boxes->Answer(MsgBox::No);
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    RunUntil([] { return false; });
    QFile program(Installed("velmora"));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    EXPECT_EQ(program.readAll(), QByteArray("program"));
}

TEST_F(InstallWindowTest, AnEarlierInstallationWhoseManifestIsPastItsBoundIsLeftAsItIs)
{
    Write(Installed("velmora"), "old program");
    Write(Installed(Installer::ManifestName()), QByteArray());
    const qint64 huge = qint64(3) << 30;
    ASSERT_TRUE(QFile::resize(Installed(Installer::ManifestName()), huge));
    Install* w = OpenAndAccept();
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes().at(0).title, "Warning");
    EXPECT_TRUE(m_boxes->Boxes().at(0).text.endsWith(Installer::ManifestTooLargeReason()));
    EXPECT_EQ(w->Command6->text(), "Install");
    Clock::Advance(1000);
    EXPECT_EQ(Tree(Installed()), (QStringList{Installer::ManifestName(), "velmora"}));
    EXPECT_EQ(QFileInfo(Installed(Installer::ManifestName())).size(), huge);
}

TEST_F(InstallWindowTest, CloseAsksUnlessTheInstallationFailed)
{
    const struct {
        bool windowManager;
        MsgBox::Result answer;
        bool closed;
    } cases[] = {{false, MsgBox::No, false}, {false, MsgBox::Yes, true}, {true, MsgBox::No, false},
        {true, MsgBox::Yes, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windowManager);
        SCOPED_TRACE(c.answer);
        m_boxes->Clear();
        Install* w = Forms::Find<Install>() ? Forms::Find<Install>() : Open();
        m_boxes->Answer(c.answer);
        if (c.windowManager)
            w->close();
        else
            QTest::mouseClick(w->Command2, Qt::LeftButton);
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes().at(0).text, "Do you really want to exit the setup program?");
        EXPECT_EQ(Gone(), c.closed);
    }
}

TEST_F(InstallWindowTest, TheLogGoesOnAtItsEndAndStaysWhereTheLearnerScrolled)
{
    for (int n = 0; n < 80; ++n)
        WriteFile(QStringLiteral("Sound/%1.wav").arg(n, 2, 10, QLatin1Char('0')), "s");
    m_boxes->Answer(MsgBox::No);
    Install* w = OpenAndAccept();
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    RunUntil([&] { return LogLines(w).size() == 40; });
    QScrollBar* bar = w->RichTextBox1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum()); // following the end

    // The learner scrolls back and clicks into the top of the log.
    bar->setValue(0);
    QTest::mouseClick(w->RichTextBox1->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_LT(w->RichTextBox1->SelStart(), 10);
    RunUntil([&] { return LogLines(w).size() == 45; });
    EXPECT_EQ(bar->value(), 0);
    const QStringList lines = LogLines(w);
    EXPECT_EQ(lines.first(), Installed(".hidden"));
    EXPECT_EQ(lines.at(44), Installed(QStringLiteral("Sound/%1.wav").arg(40, 2, 10, QLatin1Char('0'))));
    EXPECT_EQ(w->RichTextBox1->SelStart(), w->RichTextBox1->TextLength());
    RunUntil([] { return false; });
    EXPECT_TRUE(Gone());
}

} // namespace

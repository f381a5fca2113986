#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "DictionaryOnline.h"
#include "Setting.h"
#include "SetupWindowFixture.h"
#include "Uninstall.h"

namespace {

class UninstallWindowTest : public SetupWindowFixture {
protected:
    void SetUp() override
    {
        SetupWindowFixture::SetUp();
        // An installed program: every fixed folder kind, files at the top, and the manifest.
        m_installed = QStringList{"velmora", "background.jpg", "NOTICE-sounds.txt", "Characters/20320.vmq",
            "Lessons/Script/Lesson_1/icwp.vmq", "Lessons/Script/Lesson_91/lifr.vmq", "Numbers/5.wav",
            "Phonetic Symbols/A/a1.wav", "Phonetic Symbols/Z/zhong1.wav", "Sound/right.WAV",
            "Spoken/Sound/d1.wav", "Spoken/Script.vmq", "Vocabulary/ci1.vmq", "Data/extra.vmq"};
        for (const QString& file : m_installed)
            WriteFile(file, "x");
        WriteFile(Installer::ManifestName(), (m_installed.join(u'\n') + u'\n').toUtf8());
        // What the learner made: records, a note beside the numbers, a folder of texts.
        WriteFile("Record/Study.vmq", "rec");
        WriteFile("Numbers/my note.txt", "mine");
        WriteFile("My Texts/story.txt", "mine");
        Write(DesktopEntry(), "[Desktop Entry]\n");
        Write(MenuEntry(), "[Desktop Entry]\n");
    }

    Uninstall* Open()
    {
        Uninstall* w = Forms::Load<Uninstall>();
        w->Show();
        return w;
    }
    static bool Gone() { return !Forms::IsLoaded(QStringLiteral("Uninstall")); }
    // Runs the event loop once round, so that what waits for the program's end runs.
    static void EndProgram()
    {
        // exit, not quit: quit first asks the open windows to close, and forms refuse that.
        QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    QStringList m_installed;
};

class UninstallRemovalTest : public UninstallWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(UninstallRemovalTest, OnlyTheLearnersOwnFilesRemain)
{
    const bool keepRecord = GetParam();
    State().WordCount = 3;
    State().CharacterTable.resize(2);
    State().CharacterCount = 2;
    m_boxes->Clear();
    Forms::Load<DictionaryOnline>(); // it saves its cache as the program ends
    Uninstall* w = Open();
    EXPECT_EQ(w->Caption(), "Uninstall Velmora 2007");
    EXPECT_TRUE(w->Check1->isChecked());
    w->Check1->setChecked(keepRecord);
    m_boxes->Answer(MsgBox::Yes);
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    const MsgBox::Shown& question = m_boxes->Boxes().at(0);
    EXPECT_EQ(question.text, "Do you really want to uninstall Velmora 2007 ?");
    EXPECT_EQ(question.def, MsgBox::DefaultSecond);
    EXPECT_EQ(question.title, "Attention");
    EXPECT_FALSE(w->Command6->isEnabled());
    EXPECT_FALSE(w->Command2->isEnabled());
    EXPECT_EQ(w->Label3->text(), "Uninstalling ...");
    EXPECT_EQ(w->ProgressBar1->maximum(), keepRecord ? 121 : 122);

    // The bar steps once per fixed folder and is full before the last folders go.
    Clock::Advance(1);
    EXPECT_EQ(w->ProgressBar1->value(), 1);
    EXPECT_FALSE(QFileInfo::exists(Path("Characters")));
    for (int i = 0; i < 400 && m_boxes->Boxes().size() == 1; ++i)
        Clock::Advance(1);
    ASSERT_EQ(m_boxes->Boxes().size(), 2);
    EXPECT_EQ(m_boxes->Boxes().at(1).text, "Velmora 2007 is uninstalled.");
    EXPECT_EQ(m_boxes->Boxes().at(1).title, "Notice");
    EXPECT_EQ(w->ProgressBar1->value(), w->ProgressBar1->maximum());
    EXPECT_EQ(w->Label3->text(), "The uninstallation is completed.");
    EXPECT_FALSE(QFileInfo::exists(DesktopEntry()));
    EXPECT_FALSE(QFileInfo::exists(MenuEntry()));

    Clock::Advance(499);
    EXPECT_FALSE(Gone());
    Clock::Advance(1);
    EXPECT_TRUE(Gone());
    EXPECT_EQ(State().WordCount, 0);
    EXPECT_EQ(State().CharacterCount, 0);
    EXPECT_TRUE(State().CharacterTable.isEmpty());

    QStringList learners{"My Texts/", "My Texts/story.txt", "Numbers/", "Numbers/my note.txt"};
    if (keepRecord)
        learners << "Record/" << "Record/Study.vmq";
    learners.sort();
    EXPECT_EQ(Tree(m_dir->path()), learners);
    EndProgram();
    EXPECT_EQ(Tree(m_dir->path()), learners);
}

INSTANTIATE_TEST_SUITE_P(KeepRecord, UninstallRemovalTest, ::testing::Bool());

TEST_F(UninstallWindowTest, AFileThatCannotBeRemovedIsNamedInsteadOfTheSuccess)
{
    const SetupFiles::Unremovable stuck(Path("Numbers/5.wav"));
    if (!stuck.Done())
        GTEST_SKIP() << "this file system keeps no immutable flag";
    Uninstall* w = Open();
    m_boxes->Answer(MsgBox::Yes);
    QTest::mouseClick(w->Command6, Qt::LeftButton);
    for (int i = 0; i < 400 && m_boxes->Boxes().size() == 1; ++i)
        Clock::Advance(1);
    ASSERT_EQ(m_boxes->Boxes().size(), 2);
    const MsgBox::Shown& outcome = m_boxes->Boxes().at(1);
    EXPECT_EQ(outcome.title, "Warning");
    EXPECT_TRUE(outcome.text.contains("\r\n" + QFileInfo(m_dir->path()).canonicalFilePath() + "\r\n"));
    EXPECT_TRUE(outcome.text.endsWith("\r\nNumbers/5.wav")) << outcome.text.toStdString();

    // Everything else the installer put there went on going, to the program's end; the
    // manifest stays for what stayed.
    Clock::Advance(500);
    EXPECT_TRUE(Gone());
    EndProgram();
    EXPECT_EQ(Tree(m_dir->path()), (QStringList{Installer::ManifestName(), "My Texts/", "My Texts/story.txt",
                                                "Numbers/", "Numbers/5.wav", "Numbers/my note.txt", "Record/",
                                                "Record/Study.vmq"}));
    EXPECT_EQ(ReadFile(Installer::ManifestName()), "Numbers/5.wav\n");
}

TEST_F(UninstallWindowTest, NoOrCancelRemovesNothingAndBringsTheSettingsBack)
{
    const QStringList before = Tree(m_dir->path());
    auto* main = Forms::Load<Background>();
    auto* menu = Forms::Load<Begin>();
    auto* setting = Forms::Load<Setting>();
    Uninstall* w = Open();

    QTest::mouseClick(w->Command6, Qt::LeftButton); // the default answer is No
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_TRUE(w->Command6->isEnabled());
    EXPECT_FALSE(Gone());
    EXPECT_EQ(Tree(m_dir->path()), before);

    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_TRUE(Gone());
    EXPECT_EQ(Tree(m_dir->path()), before);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->Owner(), main);
    EXPECT_TRUE(setting->isVisible());
    EXPECT_EQ(setting->Owner(), menu);
    EndProgram();
    EXPECT_EQ(Tree(m_dir->path()), before);
}

TEST_F(UninstallWindowTest, AFolderTheInstallerDidNotFillIsRefused)
{
    const struct {
        const char* what;
        qint64 manifest; // its size; -1: none
        bool isHome;
    } cases[] = {{"no manifest", -1, false}, {"a manifest larger than any installation writes", qint64(3) << 30, false},
        {"the home folder", 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(Path(Installer::ManifestName()));
        if (c.manifest == 0)
            WriteFile(Installer::ManifestName(), "velmora\n");
        if (c.manifest > 0) {
            WriteFile(Installer::ManifestName(), QByteArray());
            ASSERT_TRUE(QFile::resize(Path(Installer::ManifestName()), c.manifest));
        }
        if (c.isHome)
            qputenv("HOME", m_dir->path().toUtf8());
        const QStringList before = Tree(m_dir->path());
        m_boxes->Clear();
        Uninstall* w = Open();
        QTest::mouseClick(w->Command6, Qt::LeftButton);
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes().at(0).title, "Warning");
        EXPECT_TRUE(m_boxes->Boxes().at(0).text.startsWith("Velmora 2007 cannot be uninstalled from "));
        EXPECT_TRUE(w->Command6->isEnabled());
        Clock::Advance(1000);
        EXPECT_EQ(Tree(m_dir->path()), before);
        EXPECT_TRUE(QFileInfo::exists(DesktopEntry()));
        w->Unload();
    }
}

} // namespace

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "AssistantsFixture.h"
#include "Clock.h"
#include "CodedFixture.h"
#include "ComboBox.h"
#include "DialogScript.h"
#include "FenPeiTiao.h"
#include "RichTextBox.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"

using namespace assistants_test;

namespace {

const QStringList TwoDialogues{"1", "你喝茶吗？ = Do you drink tea?", "喝。 = Yes, I do.", "2",
    "你去哪儿？ = Where are you going?", "我去学校。 = I am going to school."};

class SpokenWindowTest : public AssistantsWithPlayers {
protected:
    // The script, and a 500 ms recording for each of its lines and the goodbye.
    void OpenWith(const QStringList& script, bool withSounds = true)
    {
        WriteCodedFile(Path(QStringLiteral("Spoken/Script.vmq")), script);
        if (withSounds) {
            QStringList names{QStringLiteral("b.wav")};
            for (const QString& line : script) {
                DialogLine split;
                if (SplitDialogLine(line, split))
                    names << DialogSoundFileName(split.English);
            }
            for (const QString& name : names)
                WriteFile(QStringLiteral("Spoken/Sound/") + name, WavFile::Encode16(8000, 1, QByteArray(8000, '\x10')));
        }
        Open("Command4");
        window = Forms::Find(QStringLiteral("Spoken"));
        ASSERT_NE(window, nullptr);
    }
    template <class T> T* Control(const QString& name) const
    {
        return Forms::Control<T>(QStringLiteral("Spoken"), name);
    }
    QPushButton* Choose(int k) const { return Control<QPushButton>(QStringLiteral("Command1(%1)").arg(k)); }
    QString Row(int k) const
    {
        return Control<RichTextBox>(QStringLiteral("RichTextBox1(%1)").arg(k))->Text().section(QStringLiteral("\r\n"), 0, 0);
    }
    QPushButton* Close() const { return Control<QPushButton>(QStringLiteral("Command6")); }
    static QString Playing()
    {
        return MMControl1()->Mode() == WavePlayer::ModePlaying ? MMControl1()->FileName().section(u'/', -1) : QString();
    }
    void PressEsc()
    {
        QTest::keyClick(window, Qt::Key_Escape);
        Settle();
    }

    Form* window{nullptr};
};

TEST_F(SpokenWindowTest, SecondPersonPlaysEveryDialogueToTheGoodbyeAndTheWindowCloses)
{
    OpenWith(TwoDialogues);
    EXPECT_TRUE(Control<QRadioButton>(QStringLiteral("Option1"))->isChecked());
    Control<QRadioButton>(QStringLiteral("Option2"))->click();
    for (int dialogue = 1; dialogue <= 2; ++dialogue) {
        SCOPED_TRACE(dialogue);
        const QString opening = Row(0);
        ASSERT_TRUE(opening == QStringLiteral("你喝茶吗？") || opening == QStringLiteral("你去哪儿？"));
        EXPECT_FALSE(Playing().isEmpty());
        EXPECT_FALSE(Close()->isEnabled());
        EXPECT_FALSE(Control<QRadioButton>(QStringLiteral("Option1"))->isEnabled());
        PressEsc(); // no closing while a line plays
        ASSERT_TRUE(Forms::IsLoaded(QStringLiteral("Spoken")));
        EXPECT_FALSE(Choose(1)->isEnabled());

        Clock::Advance(500); // the opening ends: its reply is listed
        ASSERT_TRUE(Choose(1)->isEnabled());
        EXPECT_FALSE(Choose(2)->isEnabled());
        EXPECT_EQ(Control<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("1 / 1"));
        EXPECT_TRUE(Close()->isEnabled());
        Choose(1)->click();
        EXPECT_EQ(Playing(), opening == QStringLiteral("你喝茶吗？") ? QStringLiteral("yid.wav") : QStringLiteral("iagts.wav"));
        Clock::Advance(500);
        Clock::Advance(1000); // the pause, then the next dialogue (or none)
    }
    Clock::Advance(1000); // the computer's goodbye
    EXPECT_EQ(Row(0), QStringLiteral("再见！"));
    EXPECT_EQ(Playing(), QStringLiteral("b.wav"));
    Clock::Advance(500);
    EXPECT_EQ(Row(1), QStringLiteral("再见！"));
    ASSERT_TRUE(Choose(1)->isEnabled());
    Choose(1)->click();
    EXPECT_EQ(Playing(), QStringLiteral("b.wav"));
    Clock::Advance(500);
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Spoken")));
    Clock::Advance(1000);
    Settle();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Spoken")));
    EXPECT_EQ(State().CurrentActivity, 10);
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(SpokenWindowTest, TheValueBarFollowsThePlayedPartOfTheSound)
{
    OpenWith(TwoDialogues);
    auto* bar = Control<FenPeiTiao>(QStringLiteral("FenPeiTiao1"));
    Control<QRadioButton>(QStringLiteral("Option2"))->click();
    Clock::Advance(250);
    EXPECT_NEAR(bar->BarLength(), bar->Width() / 2, bar->Width() / 20);
    Clock::Advance(250);
    EXPECT_NEAR(bar->BarLength(), FenPeiTiao::StubWidth, 1); // the end sets it back
}

TEST_F(SpokenWindowTest, AMissingSoundNeverLocksClose)
{
    OpenWith(TwoDialogues, false);
    Control<QRadioButton>(QStringLiteral("Option2"))->click();
    Settle();
    EXPECT_TRUE(Close()->isEnabled());
    EXPECT_TRUE(Choose(1)->isEnabled()); // the flow went on to the replies
    Choose(1)->click();
    Settle();
    Clock::Advance(1000);
    Settle();
    Close()->click();
    Settle();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Spoken")));
}

TEST_F(SpokenWindowTest, TheWindowFramesCloseWorksWhileALinePlaysAndStopsTheSound)
{
    OpenWith(TwoDialogues);
    Control<QRadioButton>(QStringLiteral("Option2"))->click();
    ASSERT_FALSE(Playing().isEmpty());
    ASSERT_FALSE(Close()->isEnabled());
    window->close();
    Settle();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Spoken")));
    EXPECT_TRUE(Playing().isEmpty());
    Clock::Advance(2000); // nobody is told of an end any more
    EXPECT_EQ(State().CurrentActivity, 10);
}

TEST_F(SpokenWindowTest, AMissingScriptIsReportedAndSearchesFindNothing)
{
    Open("Command4");
    EXPECT_EQ(m_boxes->Texts(), (QStringList{"Fail to find file 'Script.vmq'."}));
    auto* combo = Control<ComboBox>(QStringLiteral("Combo1"));
    EXPECT_EQ(combo->Text(), QStringLiteral("Search 搜索"));
    combo->SetText(QStringLiteral("hello"));
    QTest::keyClick(Forms::Find(QStringLiteral("Spoken")), Qt::Key_Return);
    EXPECT_EQ(combo->Text(), QStringLiteral("Sorry 对不起."));
    EXPECT_EQ(Control<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("1 / 0"));
    EXPECT_EQ(combo->ListCount(), 1);
}

} // namespace

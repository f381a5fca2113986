#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSet>

#include "Clock.h"
#include "DialogFlow.h"
#include "TestSupport.h"

namespace {

// Plays nothing: keeps what was asked, refuses the files it is told are missing. The test
// ends a play by calling Common02, as the shared player would.
class ScriptedPlayer : public DialogPlayer {
public:
    bool Play(const QString& path) override
    {
        played << path.section(u'/', -1);
        return !missing.contains(played.last()) && !allMissing;
    }
    void Close() override { ++closes; }
    QStringList played;
    QSet<QString> missing;
    bool allMissing{false};
    int closes{0};
};

// Hands out the queued draws (0 when none is left) and counts the reseeds.
class QueuedRandom : public DialogRandom {
public:
    void Reseed() override { ++reseeds; }
    double Rnd() override { return draws.isEmpty() ? 0.0 : draws.takeFirst(); }
    QList<double> draws;
    int reseeds{0};
};

const QStringList DrinkScript{"1", "你想喝什么？ = What do you want to drink?", "我想喝茶。 = I want tea.",
    "我想喝咖啡。 = I want coffee.", "2", "你喝茶吗？ = Do you drink tea?", "喝。 = Yes.", "3",
    "你喝咖啡吗？ = Do you drink coffee?", "不喝。 = No, thanks."};

class DialogFlowTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        flow = std::make_unique<DialogFlow>(player, random, [this](const QString& t) { warnings << t; },
            [this](const QString& t) { notices << t; }, QStringLiteral("/tree/Spoken/Sound/"));
        QObject::connect(flow.get(), &DialogFlow::CloseWindow, [this] { ++closed; });
        QObject::connect(flow.get(), &DialogFlow::SearchTextSet, [this](const QString& t) { searchText = t; });
    }

    void Load(const QStringList& lines)
    {
        flow->Option1_Click();
        flow->LoadLines(lines);
    }
    // Ends the sound now playing, as the shared player reports its natural end.
    void EndSound() { flow->Common02(); }
    const DialogScreen& Screen() const { return flow->Screen(); }
    QString Row(int k) const { return Screen().Rows[k].Chinese; }
    QString LastPlayed() const { return player.played.isEmpty() ? QString() : player.played.last(); }

    ScriptedPlayer player;
    QueuedRandom random;
    std::unique_ptr<DialogFlow> flow;
    QStringList warnings;
    QStringList notices;
    QString searchText;
    int closed{0};
};

TEST_F(DialogFlowTest, SecondPersonRunsThroughEveryDialogueToTheGoodbyeAndCloses)
{
    Load(DrinkScript);
    random.draws = {0.1};
    flow->Option2_Click();
    EXPECT_EQ(Row(0), QStringLiteral("你想喝什么？"));
    EXPECT_EQ(LastPlayed(), QStringLiteral("wdywt.wav"));
    EXPECT_FALSE(Screen().Close);
    EXPECT_FALSE(Screen().FirstPersonOption);
    EXPECT_FALSE(Screen().Search);

    EndSound(); // the replies are listed
    EXPECT_EQ(Row(1), QStringLiteral("我想喝茶。"));
    EXPECT_EQ(Row(2), QStringLiteral("我想喝咖啡。"));
    EXPECT_EQ(Screen().PageLabel, QStringLiteral("1 / 1"));
    EXPECT_TRUE(Screen().Choose[1] && Screen().Choose[2] && !Screen().Choose[3]);
    EXPECT_TRUE(Screen().Close);
    EXPECT_TRUE(Screen().FirstPersonOption);

    flow->Command1_Click(1); // "I want tea."
    EXPECT_EQ(LastPlayed(), QStringLiteral("iwt.wav"));
    EXPECT_TRUE(Row(0).isEmpty());
    EXPECT_FALSE(Screen().Choose[2]);
    EndSound();
    Clock::Advance(999);
    EXPECT_EQ(player.played.size(), 2);
    Clock::Advance(1); // the pause is over: the best fitting dialogue is "你喝茶吗？" (喝, 茶)
    EXPECT_EQ(flow->DialogOrder(), (QList<int>{2, 3}));
    EXPECT_EQ(Row(0), QStringLiteral("你喝茶吗？"));
    EXPECT_EQ(LastPlayed(), QStringLiteral("dydt.wav"));

    EndSound();
    flow->Command1_Click(1); // "喝。": one character counts, and it fits the last dialogue
    EndSound();
    Clock::Advance(1000);
    EXPECT_EQ(Row(0), QStringLiteral("你喝咖啡吗？"));
    EndSound();
    flow->Command1_Click(1);
    EndSound();
    Clock::Advance(1000); // the last dialogue is removed
    EXPECT_EQ(flow->RemainingCount(), 0);
    Clock::Advance(1000); // the computer's goodbye
    EXPECT_EQ(Row(0), QStringLiteral("再见！"));
    EXPECT_EQ(Screen().Rows[0].English, QStringLiteral("Bye-Bye."));
    EXPECT_EQ(LastPlayed(), QStringLiteral("b.wav"));
    EXPECT_EQ(flow->RemainingCount(), -1);
    EndSound(); // the learner's goodbye is offered
    EXPECT_EQ(Screen().Rows[1].English, QStringLiteral("Good-Bye."));
    EXPECT_TRUE(Screen().Choose[1]);
    EXPECT_EQ(Screen().PageLabel, QStringLiteral("1 / 1"));
    flow->Command1_Click(1);
    EXPECT_EQ(LastPlayed(), QStringLiteral("b.wav"));
    EndSound();
    EXPECT_EQ(closed, 0);
    Clock::Advance(1000);
    EXPECT_EQ(closed, 1);
}

TEST_F(DialogFlowTest, TiesAreDrawnAmongPositionsOfTheRemainingDialogues)
{
    // After dialogue 1, the reply "我喝茶。" scores 2 for dialogues 2 and 4, 1 for dialogue 3.
    const QStringList script{"1", "你好！ = Hello!", "我喝茶。 = I drink tea.", "2", "你喝茶吗？ = Tea?", "喝。 = Yes.",
        "3", "我是学生。 = I am a student.", "是吗？ = Really?", "4", "我喝水。 = I drink water.", "好。 = Good."};
    const struct {
        double draw;
        int position;
        const char16_t* opening;
    } cases[] = {{0.0, 1, u"你喝茶吗？"}, {0.49, 1, u"你喝茶吗？"}, {0.5, 3, u"我喝水。"}, {0.99, 3, u"我喝水。"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.draw);
        Load(script);
        random.draws = {0.0, c.draw};
        flow->Option2_Click();
        EndSound();
        flow->Command1_Click(1);
        EndSound();
        const int reseeds = random.reseeds;
        Clock::Advance(1000);
        EXPECT_EQ(random.reseeds, reseeds + 1);
        EXPECT_EQ(flow->DialogOrder(), (QList<int>{2, 3, 4}));
        EXPECT_EQ(flow->CurrentDialogPos(), c.position);
        EXPECT_EQ(Row(0), QString::fromUtf16(c.opening));
    }
}

TEST_F(DialogFlowTest, FirstPersonOpeningsHeardOrChosenAreNeverOpenedByTheComputer)
{
    Load(DrinkScript);
    flow->Command3_Click(QStringLiteral("drink"));
    EXPECT_EQ(Row(1), QStringLiteral("你想喝什么？"));
    EXPECT_EQ(Row(2), QStringLiteral("你喝茶吗？"));
    EXPECT_EQ(Row(3), QStringLiteral("你喝咖啡吗？"));
    EXPECT_EQ(Screen().PageLabel, QStringLiteral("1 / 1"));

    flow->Command2_Click(3); // only heard
    EXPECT_EQ(LastPlayed(), QStringLiteral("dydc.wav"));
    EXPECT_FALSE(Screen().Close);
    EXPECT_FALSE(Screen().Search);
    EndSound();
    EXPECT_TRUE(Screen().Close && Screen().Search && Screen().SecondPersonOption);
    EXPECT_EQ(flow->DialogOrder(), (QList<int>{1, 2}));

    random.draws = {0.7};
    flow->Command1_Click(1); // chosen: the computer answers with a drawn reply
    EXPECT_EQ(flow->DialogOrder(), (QList<int>{2}));
    EXPECT_TRUE(Row(2).isEmpty());
    EndSound();
    EXPECT_EQ(flow->ChosenReply(), 2); // Int(0.7 * 2) + 1
    EXPECT_EQ(Row(0), QStringLiteral("我想喝咖啡。"));
    Clock::Advance(1000);
    EXPECT_EQ(LastPlayed(), QStringLiteral("iwc.wav"));
    EXPECT_FALSE(Screen().Hear[0]);
    EndSound();
    EXPECT_TRUE(Screen().Hear[0]);
    EXPECT_TRUE(Screen().Choose[1] && Screen().Choose[3]);

    random.draws = {0.99};
    flow->Option2_Click(); // only dialogue 2 is left, whatever the draw
    EXPECT_EQ(Row(0), QStringLiteral("你喝茶吗？"));
}

TEST_F(DialogFlowTest, EightDialoguesGiveTheNoticeAfter800Milliseconds)
{
    QStringList script;
    for (int d = 1; d <= 8; ++d)
        script << QString::number(d) << QStringLiteral("你好！ = Hello %1!").arg(d) << QStringLiteral("好。 = Fine.");
    Load(script);
    Clock::Advance(799);
    EXPECT_TRUE(notices.isEmpty());
    Clock::Advance(1);
    EXPECT_EQ(notices, (QStringList{"No files for dialogs were found."}));
    Clock::Advance(5000);
    EXPECT_EQ(notices.size(), 1);

    notices.clear();
    Load(script.mid(0, 21)); // seven dialogues
    Clock::Advance(2000);
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(DialogFlowTest, ASoundThatCannotBePlayedEndsAtOnceSoTheFlowGoesOn)
{
    Load(DrinkScript);
    player.allMissing = true;
    flow->Option2_Click();
    EXPECT_FALSE(Screen().Close);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Screen().Close);
    EXPECT_EQ(Row(1), QStringLiteral("我想喝茶。"));

    // A stand-in end that came too late (another play started) is dropped.
    flow->Command2_Click(1);
    player.allMissing = false;
    flow->Command2_Click(0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(Screen().Close);
}

TEST_F(DialogFlowTest, ADialogueWithoutRepliesIsNeverOpenedAndAnswersNothing)
{
    Load({"1", "再见！ = See you.", "2", "你好！ = Hello!", "你好！ = Hi!"});
    EXPECT_EQ(warnings, (QStringList{"Error: Dialog 1 has no answers."}));
    EXPECT_EQ(flow->DialogOrder(), (QList<int>{2}));

    flow->Command3_Click(QStringLiteral("See"));
    flow->Command1_Click(1);
    EndSound(); // no reply to draw: back to waiting
    EXPECT_TRUE(Row(0).isEmpty());
    EXPECT_TRUE(Screen().Close);
    EXPECT_TRUE(Screen().Search);
    Clock::Advance(2000);
    EXPECT_EQ(player.played.size(), 1);
}

TEST_F(DialogFlowTest, SearchPagesThroughFoundOpeningsAndFailsWithSorry)
{
    QStringList script;
    for (int d = 1; d <= 7; ++d)
        script << QString::number(d) << QStringLiteral("你好%1。 = Hello number %1").arg(d) << QStringLiteral("好。 = Fine.");
    Load(script);

    flow->Command3_Click(QStringLiteral("  Hello "));
    EXPECT_EQ(flow->History(), (QStringList{"Hello"}));
    EXPECT_EQ(Screen().PageLabel, QStringLiteral("1 / 2"));
    EXPECT_TRUE(Screen().Next);
    EXPECT_FALSE(Screen().Previous);
    EXPECT_EQ(Row(5), QStringLiteral("你好5。"));

    flow->Command5_Click();
    EXPECT_EQ(Screen().PageLabel, QStringLiteral("2 / 2"));
    EXPECT_EQ(Row(1), QStringLiteral("你好6。"));
    EXPECT_EQ(Row(2), QStringLiteral("你好7。"));
    EXPECT_TRUE(Row(3).isEmpty());
    EXPECT_FALSE(Screen().Choose[3] || Screen().Hear[3]);
    EXPECT_FALSE(Screen().Next);
    EXPECT_TRUE(Screen().Previous);
    flow->Command2_Click(2);
    EXPECT_EQ(LastPlayed(), QStringLiteral("hn7.wav"));
    EndSound();
    flow->Command4_Click();
    EXPECT_EQ(Screen().PageLabel, QStringLiteral("1 / 2"));
    EXPECT_FALSE(Screen().Previous);

    flow->Command3_Click(QStringLiteral("number 5")); // exactly one page
    EXPECT_EQ(Screen().PageLabel, QStringLiteral("1 / 1"));
    EXPECT_FALSE(Screen().Next);

    flow->Command3_Click(QStringLiteral("Hello")); // again: no second history entry
    flow->Command3_Click(QStringLiteral("hello"));
    EXPECT_EQ(flow->History(), (QStringList{"Hello", "number 5", "hello"}));

    flow->Command3_Click(QStringLiteral("goodbye"));
    EXPECT_EQ(searchText, QStringLiteral("Sorry 对不起."));
    EXPECT_EQ(Screen().PageLabel, QStringLiteral("1 / 0"));
    EXPECT_TRUE(Row(1).isEmpty());
    EXPECT_FALSE(Screen().Choose[1] || Screen().Hear[1]);
    const QStringList history = flow->History();
    flow->Command3_Click(QStringLiteral("Sorry 对不起."));
    flow->Command3_Click(QStringLiteral("Search 搜索"));
    flow->Command3_Click(QStringLiteral("   "));
    EXPECT_EQ(flow->History(), history);
}

TEST_F(DialogFlowTest, AfterTheGoodbyeSecondPersonClosesAndAnEmptyScriptSaysGoodbyeAtOnce)
{
    Load({});
    flow->Option2_Click();
    EXPECT_EQ(Row(0), QStringLiteral("再见！"));
    EXPECT_EQ(flow->RemainingCount(), -1);
    EndSound();
    flow->Option2_Click();
    EXPECT_EQ(closed, 1);
}

} // namespace

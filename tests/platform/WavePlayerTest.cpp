#include <QEvent>
#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

#include "Clock.h"
#include "TestSupport.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

// A mono 8 kHz file of exactly ms milliseconds.
QByteArray Sound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x10')); }

// Closes the player when the first queued call reaches it, just before that call runs.
class CloseOnQueuedCall : public QObject {
public:
    explicit CloseOnQueuedCall(WavePlayer* p)
        : player(p)
    {
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MetaCall && !closed) {
            closed = true;
            player->Close();
        }
        return false;
    }
    WavePlayer* player;
    bool closed{false};
};

class WavePlayerTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        WriteFile("a.wav", Sound(300));
        WriteFile("b.wav", Sound(500));
        WriteFile("bad.wav", "RIFF....WAVEjunk");
        player = std::make_unique<WavePlayer>();
        spy = std::make_unique<QSignalSpy>(player.get(), &WavePlayer::Done);
    }
    void TearDown() override
    {
        spy.reset();
        player.reset();
        AppFixture::TearDown();
    }
    void Start(const QString& file, bool notify = true)
    {
        player->Command("Close");
        player->SetFileName(Path(file));
        player->Command("Open");
        player->SetNotify(notify);
        player->Command("Play");
    }
    std::unique_ptr<WavePlayer> player;
    std::unique_ptr<QSignalSpy> spy;
};

} // namespace

TEST_F(WavePlayerTest, NaturalEndReportsOnceFromTheEventLoopAfterTheExactDuration)
{
    Start("a.wav");
    EXPECT_TRUE(player->IsSilent());
    EXPECT_EQ(player->Mode(), WavePlayer::ModePlaying);
    EXPECT_EQ(spy->count(), 0); // never inside the command
    Clock::Advance(299);
    EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(player->Mode(), WavePlayer::ModePlaying);
    Clock::Advance(1);
    ASSERT_EQ(spy->count(), 1);
    EXPECT_EQ(spy->at(0).at(0).toInt(), WavePlayer::Successful);
    EXPECT_EQ(player->Mode(), WavePlayer::ModeStopped);
    Clock::Advance(5000);
    EXPECT_EQ(spy->count(), 1);
}

TEST_F(WavePlayerTest, PlaysWithoutReportWhenNotifyWasOffAtPlay)
{
    Start("a.wav", false);
    player->SetNotify(true); // switching on after Play does not make this play report
    Clock::Advance(1000);
    EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(player->Mode(), WavePlayer::ModeStopped);
}

TEST_F(WavePlayerTest, ClosedRewoundOrSupersededPlaysNeverReport)
{
    struct Case {
        const char* name;
        std::function<void()> interrupt;
        int doneAfterMs; // -1: no report at all
    };
    const Case cases[] = {
        {"close", [this] { player->Close(); }, -1},
        {"prev", [this] { player->Prev(); }, -1},
        {"open again", [this] { player->Open(); }, -1},
        {"superseded by another file", [this] { Start("b.wav"); }, 500},
        {"restarted", [this] { player->Play(); }, 300},
        {"replayed from the start", [this] { player->Prev(); player->Play(); }, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start("a.wav");
        Clock::Advance(200);
        c.interrupt();
        spy->clear();
        if (c.doneAfterMs < 0) {
            Clock::Advance(2000);
            EXPECT_EQ(spy->count(), 0);
            continue;
        }
        Clock::Advance(c.doneAfterMs - 1);
        EXPECT_EQ(spy->count(), 0);
        Clock::Advance(1);
        EXPECT_EQ(spy->count(), 1);
        Clock::Advance(2000);
        EXPECT_EQ(spy->count(), 1);
    }
}

TEST_F(WavePlayerTest, ACommandBetweenTheEndAndItsDeliveryDropsTheReport)
{
    // The end has been seen and its report is queued; a Close gets in before the report.
    CloseOnQueuedCall closer(player.get());
    player->installEventFilter(&closer);
    Start("a.wav");
    Clock::Advance(1000);
    EXPECT_TRUE(closer.closed);
    EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(player->Mode(), WavePlayer::ModeNotOpen);
}

TEST_F(WavePlayerTest, PlayingAgainAfterTheEndStartsFromTheBeginning)
{
    Start("b.wav");
    Clock::Advance(500);
    ASSERT_EQ(spy->count(), 1);
    player->Play();
    EXPECT_EQ(player->Mode(), WavePlayer::ModePlaying);
    Clock::Advance(499);
    EXPECT_EQ(spy->count(), 1);
    Clock::Advance(1);
    EXPECT_EQ(spy->count(), 2);
}

TEST_F(WavePlayerTest, FilesThatCannotBeOpenedLeaveTheControlNotOpenAndSilent)
{
    for (const char* file : {"missing.wav", "bad.wav", ""}) {
        SCOPED_TRACE(file);
        Start(file);
        EXPECT_EQ(player->Mode(), WavePlayer::ModeNotOpen);
        EXPECT_FALSE(player->LastError().isEmpty());
        player->Command("Prev");
        player->Command("Play");
        Clock::Advance(2000);
        EXPECT_EQ(spy->count(), 0);
    }
    player->Command("Eject"); // not a command of this control: ignored
    Start("a.wav");
    EXPECT_TRUE(player->LastError().isEmpty());
    Clock::Advance(300);
    EXPECT_EQ(spy->count(), 1);
}

TEST_F(WavePlayerTest, BackslashPathsAreOpened)
{
    WriteFile("Sound\\right.WAV", Sound(100));
    player->SetFileName(m_dir->path() + "\\Sound\\right.WAV");
    player->Open();
    EXPECT_EQ(player->Mode(), WavePlayer::ModeStopped);
    EXPECT_EQ(player->LengthMs(), 100);
}

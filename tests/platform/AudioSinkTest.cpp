// The real audio path: a private PulseAudio server with a null sink stands in for a sound
// card, and a WAV file plays through QAudioSink on it. Skipped only where PulseAudio is not
// installed; a server that does not start fails every test.

#include <QAudioDevice>
#include <QDeadlineTimer>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <string>
#include <vector>
#include <gtest/gtest.h>

#include "AudioSinkOutput.h"
#include "SoundOutput.h"
#include "SoundStream.h"
#include "NullSinkServer.h"
#include "Clock.h"
#include "TestSupport.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

NullSinkServer* g_server = nullptr;
bool g_serverUp = false;

// ms milliseconds of a 440 Hz tone at 22050 Hz, as the syllable files are stored.
QByteArray Tone(int ms)
{
    QByteArray pcm(22050 * ms / 1000 * 2, '\0');
    for (int i = 0; i < pcm.size() / 2; ++i)
        qToLittleEndian<qint16>(static_cast<qint16>(8000 * std::sin(i * 2 * M_PI * 440 / 22050)), pcm.data() + i * 2);
    return WavFile::Encode16(22050, 1, pcm);
}

class AudioSinkTest : public AppFixture {
protected:
    static void SetUpTestSuite()
    {
        g_server = new NullSinkServer;
        g_serverUp = g_server->Start();
    }
    static void TearDownTestSuite()
    {
        delete g_server;
        g_server = nullptr;
    }
    void SetUp() override
    {
        AppFixture::SetUp();
        Clock::UseReal(); // the device sets the pace here
        // Only a machine without PulseAudio skips: a server of ours that does not come up, or
        // comes up without its sink, is a fault here, never a pass.
        if (!g_serverUp && !g_server->Installed())
            GTEST_SKIP() << g_server->Failure().constData();
        ASSERT_TRUE(g_serverUp) << g_server->Failure().constData();
        ASSERT_FALSE(QMediaDevices::defaultAudioOutput().isNull()) << "the private sound server offers no output device";
    }
};

} // namespace

// Built twice: the sound server's loss is the one test of audio_server_loss_suite, because no
// later test of the same process could use the server again.
#ifndef VELMORA_AUDIO_SERVER_LOSS

TEST_F(AudioSinkTest, ARealWavPlaysThroughTheDeviceAndReportsItsEndOnce)
{
    WriteFile("Phonetic Symbols\\A\\a1.wav", Tone(300));

    WavePlayer player;
    QSignalSpy done(&player, &WavePlayer::Done);
    player.SetFileName(Path("Phonetic Symbols/A/a1.wav"));
    player.Open();
    player.SetNotify(true);
    player.Play();
    EXPECT_EQ(player.Mode(), WavePlayer::ModePlaying);
    EXPECT_FALSE(player.IsSilent());
    EXPECT_EQ(done.count(), 0);
    ASSERT_TRUE(done.wait(15000));
    EXPECT_EQ(done.at(0).at(0).toInt(), WavePlayer::Successful);
    EXPECT_EQ(player.Mode(), WavePlayer::ModeStopped);
    EXPECT_FALSE(done.wait(1000)); // and only once
    EXPECT_EQ(done.count(), 1);

    // A play closed halfway through never reports.
    done.clear();
    player.Open();
    player.Play();
    player.Close();
    EXPECT_FALSE(done.wait(1500));
}

// The start menu speaks an item's name and the learner clicks on before it ends: every way of
// cutting a sound short, many times in a row, on the real device. Only a play that runs to its
// natural end reports, once.
TEST_F(AudioSinkTest, SoundsCutShortManyTimesInARowNeverCrashAndNeverReportLate)
{
    WriteFile("Sound\\first.wav", Tone(800));
    WriteFile("Sound\\second.wav", Tone(150));
    WavePlayer player;
    QSignalSpy done(&player, &WavePlayer::Done);
    player.SetNotify(true);
    auto open = [&](const char* file) {
        player.SetFileName(Path(QString::fromLatin1(file)));
        player.Open();
        EXPECT_EQ(player.Mode(), WavePlayer::ModeStopped);
    };
    struct Cut {
        const char* name;
        std::function<void()> cut;
        int mode; // right after the cut
    };
    const std::vector<Cut> cuts = {
        {"Close", [&] { player.Close(); }, WavePlayer::ModeNotOpen},
        {"Command Close", [&] { player.Command(QStringLiteral("Close")); }, WavePlayer::ModeNotOpen},
        {"Prev", [&] { player.Prev(); }, WavePlayer::ModeStopped},
        {"Prev and Play", [&] { player.Prev(); player.Play(); }, WavePlayer::ModePlaying},
        {"Play again", [&] { player.Play(); }, WavePlayer::ModePlaying},
        {"Open another and play", [&] { open("Sound/second.wav"); player.Play(); }, WavePlayer::ModePlaying},
    };
    // The cut comes before the device started, while it pulls the first data, and later.
    const int playedMs[] = {0, 20, 120};
    for (int round = 0; round < 3; ++round) {
        for (const Cut& c : cuts) {
            for (int ms : playedMs) {
                SCOPED_TRACE(std::string(c.name) + " after " + std::to_string(ms) + " ms, round " + std::to_string(round));
                open("Sound/first.wav");
                player.Play();
                ASSERT_EQ(player.Mode(), WavePlayer::ModePlaying);
                ASSERT_FALSE(player.IsSilent());
                if (ms > 0) {
                    EXPECT_FALSE(done.wait(ms));
                }
                c.cut();
                EXPECT_EQ(player.Mode(), c.mode);
                // The stream goes on, with the next play or silence after what the cut one wrote.
                EXPECT_FALSE(done.wait(30));
                EXPECT_EQ(done.count(), 0);
            }
        }
    }
    // A play started by a cut runs to its end and reports once.
    for (const Cut& c : cuts) {
        if (c.mode != WavePlayer::ModePlaying)
            continue;
        SCOPED_TRACE(c.name);
        done.clear();
        open("Sound/first.wav");
        player.Play();
        EXPECT_FALSE(done.wait(100));
        c.cut();
        ASSERT_TRUE(done.wait(15000));
        EXPECT_EQ(done.at(0).at(0).toInt(), WavePlayer::Successful);
        EXPECT_EQ(player.Mode(), WavePlayer::ModeStopped);
        EXPECT_FALSE(done.wait(50));
        EXPECT_EQ(done.count(), 1);
    }
    // Cut after cut with no event loop in between.
    done.clear();
    for (int i = 0; i <= 40; ++i) {
        if (i % 5 == 0)
            open(i % 2 ? "Sound/first.wav" : "Sound/second.wav");
        player.Play();
        if (i % 3 == 0)
            player.Prev();
    }
    EXPECT_EQ(player.Mode(), WavePlayer::ModePlaying);
    ASSERT_TRUE(done.wait(15000));
    EXPECT_FALSE(done.wait(100));
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(player.Mode(), WavePlayer::ModeStopped);
    player.Close();
    EXPECT_FALSE(done.wait(50));
    EXPECT_EQ(AudioSinkOutput::RetiredSinks(), 0);
}

// The program's end in the middle of a sound: the device is let go of at once, every sink
// deleted before main returns. The sound system plays on afterwards as before.
TEST_F(AudioSinkTest, ClosingTheOutputsMidPlayLeavesNoSinkAndTheNextPlayStillEnds)
{
    WriteFile("Sound\\long.wav", Tone(1500));
    WavePlayer player;
    QSignalSpy done(&player, &WavePlayer::Done);
    player.SetNotify(true);
    player.SetFileName(Path("Sound/long.wav"));
    player.Open();
    player.Play();
    ASSERT_FALSE(player.IsSilent());
    EXPECT_FALSE(done.wait(300));
    EXPECT_GT(AudioSinkOutput::DeviceStreams().OpenStreams(), 0);
    CloseSoundOutputs();
    EXPECT_EQ(AudioSinkOutput::DeviceStreams().OpenStreams(), 0);
    EXPECT_EQ(AudioSinkOutput::RetiredSinks(), 0);

    done.clear();
    player.Play();
    ASSERT_FALSE(player.IsSilent());
    ASSERT_TRUE(done.wait(15000));
    EXPECT_EQ(done.at(0).at(0).toInt(), WavePlayer::Successful);
    EXPECT_FALSE(done.wait(100));
    EXPECT_EQ(done.count(), 1);
}

#else

TEST_F(AudioSinkTest, ASoundServerThatGoesAwayMidPlayStillEndsThePlayOnce)
{
    WriteFile("Sound\\long.wav", Tone(1500));
    WavePlayer player;
    QSignalSpy done(&player, &WavePlayer::Done);
    player.SetFileName(Path("Sound/long.wav"));
    player.Open();
    player.SetNotify(true);
    player.Play();
    ASSERT_FALSE(player.IsSilent());
    EXPECT_FALSE(done.wait(300));
    g_server->Stop();
    ASSERT_TRUE(done.wait(15000));
    EXPECT_EQ(done.at(0).at(0).toInt(), WavePlayer::Successful);
    EXPECT_FALSE(done.wait(1000));
    EXPECT_EQ(done.count(), 1);
}

#endif

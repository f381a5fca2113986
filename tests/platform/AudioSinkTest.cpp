// The real audio path: a private PulseAudio server with a null sink stands in for a sound
// card, and a WAV file plays through QAudioSink on it. Skipped where no server can be started.

#include <QAudioDevice>
#include <QDeadlineTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

#include "Clock.h"
#include "TestSupport.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

class NullSinkServer {
public:
    // Starts the server and points this process at it; false when that is not possible.
    bool Start()
    {
        const QString exe = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (exe.isEmpty() || !m_dir.isValid())
            return false;
        const QString socket = m_dir.path() + QStringLiteral("/native");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.path() + QStringLiteral("/run"));
        env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.path() + QStringLiteral("/state"));
        env.insert(QStringLiteral("HOME"), m_dir.path());
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(exe, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--use-pid-file=no"),
                             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disable-shm=yes"),
                             QStringLiteral("--log-level=info"), QStringLiteral("--log-target=stderr"),
                             QStringLiteral("--load=module-null-sink"),
                             QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        if (!m_server.waitForStarted(10000))
            return false;
        QByteArray log;
        const QDeadlineTimer deadline(20000);
        while (!log.contains("Daemon startup complete") && !log.contains("Daemon startup successful")) {
            if (m_server.state() != QProcess::Running || deadline.hasExpired())
                return false;
            if (m_server.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                log += m_server.readAll();
        }
        qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
        return true;
    }
    ~NullSinkServer()
    {
        qunsetenv("PULSE_SERVER");
        Stop();
    }
    void Stop()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(10000))
                m_server.kill();
            m_server.waitForFinished(5000);
        }
    }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

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
        if (!g_serverUp)
            GTEST_SKIP() << "no PulseAudio null sink could be started";
        if (QMediaDevices::defaultAudioOutput().isNull())
            GTEST_SKIP() << "the sound server offers no output device";
    }
};

} // namespace

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

// The stream kept open across plays, on a stand-in device whose clock runs on the test clock.

#include <QCoreApplication>
#include <QEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <map>

#include "Clock.h"
#include "SoundStream.h"
#include "TestSupport.h"

namespace {

constexpr int Rate = 8000; // mono: 16 bytes a millisecond
constexpr qint64 BytesPerMs = Rate / 1000 * 2;

// Plays what was written at the pace of the test clock, holding back at most capacity bytes
// ahead of its clock; a device with nothing left to play keeps its clock still. It starts
// startLatencyMs after it was opened.
class FakeDevice : public StreamDevice {
public:
    struct Log {
        QByteArray written;
        int closed{0};
    };
    FakeDevice(Log& log, qint64 capacityMs, qint64 startLatencyMs = 0)
        : m_log(log)
        , m_capacity(capacityMs * BytesPerMs)
        , m_startsAt(Clock::Msecs() + startLatencyMs)
        , m_last(m_startsAt)
    {
    }
    ~FakeDevice() override { ++m_log.closed; }
    qint64 BytesFree() const override { return m_capacity - (m_log.written.size() - Played()); }
    qint64 Write(const char* data, qint64 bytes) override
    {
        const qint64 n = std::min(bytes, BytesFree());
        m_log.written.append(data, n);
        return n;
    }
    qint64 PlayedUSecs() const override { return Played() / 2 * 1000000 / Rate; }
    bool Failed() const override { return false; }

private:
    qint64 Played() const
    {
        const qint64 now = Clock::Msecs();
        if (now > m_last) {
            m_played = std::min<qint64>(m_log.written.size(), m_played + (now - m_last) * BytesPerMs);
            m_last = now;
        }
        return m_played;
    }
    Log& m_log;
    qint64 m_capacity;
    qint64 m_startsAt;
    mutable qint64 m_last;
    mutable qint64 m_played{0};
};

QByteArray Samples(int ms, char value) { return QByteArray(ms * BytesPerMs, value); }

WavFile::Audio Audio(int rate, int ms)
{
    WavFile::Audio a;
    a.sampleRate = rate;
    a.channels = 1;
    a.frames = qint64(rate) * ms / 1000;
    a.pcm16 = QByteArray(a.frames * 2, '\x10');
    return a;
}

using SoundStreamTest = AppFixture;

} // namespace

// A play ends when the stream's clock has played its last frame, not when its data is written
// and not by the wall clock: a device that starts late ends it late by as much. The next play
// is written right after it, after no more than the little silence that keeps the device
// running, so neither overlaps nor loses its tail.
TEST_F(SoundStreamTest, APlayEndsWhenTheStreamsClockHasPlayedItsLastFrame)
{
    FakeDevice::Log log;
    SoundStream stream(std::make_unique<FakeDevice>(log, 100, 50), Rate, 1);
    QSignalSpy ended(&stream, &SoundStream::PlayEnded);
    const qint64 t0 = Clock::Msecs();
    const quint64 first = stream.Begin(Samples(300, '\x11'));
    EXPECT_EQ(log.written, Samples(100, '\x11')); // as much as the device takes
    quint64 second = 0;
    QObject::connect(&stream, &SoundStream::PlayEnded, [&](quint64 play) {
        if (play == first)
            second = stream.Begin(Samples(200, '\x22'));
    });

    Clock::Advance(340); // 50 ms before the device starts, 300 ms of sound
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(stream.PlayedFrames(first), 290 * Rate / 1000);
    Clock::Advance(20);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.at(0).at(0).toULongLong(), first);
    const qint64 firstEndMs = Clock::Msecs() - t0;
    EXPECT_GE(firstEndMs, 350);

    ASSERT_NE(second, 0u);
    EXPECT_EQ(stream.PlayedFrames(first), 0); // a play that ended is not the stream's any more
    Clock::Advance(400);
    ASSERT_EQ(ended.count(), 2);
    EXPECT_EQ(ended.at(1).at(0).toULongLong(), second);

    // First play whole, a short silence, second play whole, then silence again.
    const QByteArray& w = log.written;
    const qsizetype secondAt = w.indexOf('\x22');
    ASSERT_GE(secondAt, 0);
    EXPECT_EQ(w.left(300 * BytesPerMs), Samples(300, '\x11'));
    const QByteArray gap = w.mid(300 * BytesPerMs, secondAt - 300 * BytesPerMs);
    EXPECT_EQ(gap, QByteArray(gap.size(), '\0'));
    EXPECT_LE(gap.size(), (SoundStream::LeadMs + 2 * SoundStream::TickMs) * BytesPerMs);
    EXPECT_EQ(w.mid(secondAt, 200 * BytesPerMs), Samples(200, '\x22'));
    EXPECT_EQ(w.mid(secondAt + 200 * BytesPerMs).count('\0'), w.size() - secondAt - 200 * BytesPerMs);
}

// Plays of one format share one open stream; a second one opens only while two play at once,
// another format has its own, and streams left idle close and reopen when needed.
TEST_F(SoundStreamTest, StreamsAreReusedPerFormatAndCloseWhenIdle)
{
    std::map<int, FakeDevice::Log> logs; // by sample rate
    int opened = 0;
    SoundStreams streams([&](int rate, int) -> std::unique_ptr<StreamDevice> {
        ++opened;
        return std::make_unique<FakeDevice>(logs[rate], 100);
    });
    auto play = [&](int rate, int ms) {
        auto out = std::make_unique<StreamOutput>(streams);
        EXPECT_TRUE(out->Start(Audio(rate, ms), 0));
        return out;
    };

    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        auto out = play(Rate, 100);
        QSignalSpy finished(out.get(), &SoundOutput::Finished);
        Clock::Advance(100 + SoundStream::LeadMs + 2 * SoundStream::TickMs); // after the silence queued before it
        EXPECT_EQ(finished.count(), 1);
    }
    EXPECT_EQ(opened, 1);

    auto a = play(Rate, 200);
    auto b = play(Rate, 200);    // while a plays
    auto c = play(Rate * 2, 200); // another format
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(streams.OpenStreams(), 3);
    b->Stop();
    auto d = play(Rate, 100); // takes the stream b let go of
    EXPECT_EQ(opened, 3);

    Clock::Advance(300 + SoundStream::IdleCloseMs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(streams.OpenStreams(), 0);
    EXPECT_EQ(logs[Rate].closed + logs[Rate * 2].closed, 3);
    auto e = play(Rate, 100);
    EXPECT_EQ(opened, 4);
}

#pragma once
// One output stream kept open across plays, for one sample format (16-bit PCM at one rate and
// channel count). Plays follow one another in the same stream: each play's frames are written
// where the previous one's writing ended, so syllables neither overlap nor lose their tails,
// and no play waits for a device to start again or for its buffer to drain.
//
// A play ends when its last frame has gone into the stream and the stream's own clock (the
// frames the device has played) has passed that frame. Right after a play the stream is kept
// running with a little silence, so the next play is heard right after it; in a longer pause
// the device's buffer is kept full of silence. A stream with no play for IdleCloseMs closes.
//
// Everything is paced by our Timer: the stream's clock is read on its ticks, and the signals
// come from those ticks (the event loop), never from inside Begin() or Cancel().

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "SoundOutput.h"

class Timer;

// The device end of a stream: QAudioSink in push mode on the sound server (AudioSinkOutput.cpp),
// a stand-in with a clock of its own in the tests.
class StreamDevice {
public:
    virtual ~StreamDevice() = default;
    // Bytes the device takes now without waiting.
    virtual qint64 BytesFree() const = 0;
    // Writes up to bytes; returns how many it took.
    virtual qint64 Write(const char* data, qint64 bytes) = 0;
    // The device's clock: microseconds of the written audio it has played.
    virtual qint64 PlayedUSecs() const = 0;
    // True once the device has failed for good (server gone, stream stopped with an error).
    virtual bool Failed() const = 0;
};

class SoundStream : public QObject {
    Q_OBJECT
public:
    // The feed period: how often the stream is written to and its clock read.
    static constexpr int TickMs = 10;
    // Silence kept queued ahead of the device's clock between plays.
    static constexpr int LeadMs = 30;
    // After a play, the little silence is kept this long for the next play to follow; after
    // that the stream is in a pause and keeps the device's buffer full.
    static constexpr int FollowMs = 200;
    // A clock that stands still this long with audio queued is a device waiting for more
    // data before it starts: it is given a full buffer.
    static constexpr int StallMs = 40;
    // No play for this long closes the stream (longer than the read-aloud task's pause
    // between words, so reading a text keeps one stream).
    static constexpr int IdleCloseMs = 4000;

    SoundStream(std::unique_ptr<StreamDevice> device, int sampleRate, int channels);
    ~SoundStream() override;

    int SampleRate() const { return m_sampleRate; }
    int Channels() const { return m_channels; }
    // A play runs on the stream.
    bool Busy() const { return m_play.has_value(); }
    bool Broken() const { return m_broken; }

    // Starts pcm (interleaved 16-bit frames) as the stream's play, after everything written
    // so far. A play still running on the stream is dropped and never reports. Returns the
    // play's number.
    quint64 Begin(const QByteArray& pcm);
    // Drops the rest of play that is not yet written; it never reports. Frames already in
    // the device play out.
    void Cancel(quint64 play);
    // Frames of play heard so far by the stream's clock (0 for a play that is not current).
    qint64 PlayedFrames(quint64 play) const;
    // The stream is not to be used again (a device that never reported): the current play
    // is dropped and Closed() follows from the event loop.
    void Break();

signals:
    void PlayEnded(quint64 play);
    void PlayFailed(quint64 play);
    // Idle for IdleCloseMs, or broken: the owner closes the stream.
    void Closed();

private:
    struct Play {
        quint64 id{0};
        QByteArray pcm;
        qint64 written{0}; // bytes of pcm in the device
        qint64 start{-1};  // stream byte of its first frame, once written
    };

    void Feed_Timer();
    void Idle_Timer();
    void Feed();
    // Drops the play, stops the timers for good and reports Closed(), after PlayFailed() for
    // failedPlay when there is one.
    void Close(std::optional<quint64> failedPlay = std::nullopt);
    qint64 PlayedBytes() const;
    qint64 WriteSilence(qint64 bytes);

    std::unique_ptr<StreamDevice> m_device;
    int m_sampleRate;
    int m_channels;
    int m_bytesPerFrame;
    Timer* m_feed{nullptr};
    Timer* m_idle{nullptr};
    std::optional<Play> m_play;
    quint64 m_lastId{0};
    qint64 m_written{0}; // bytes written since the stream opened
    qint64 m_clockSeen{-1};
    qint64 m_clockStillSince{0};
    qint64 m_lastPlayMs{0}; // last feed while a play ran
    bool m_broken{false};
};

// The open streams, one per sample format in use (a second one only while two players play
// the same format at once). A stream is opened on demand and let go when it closes.
class SoundStreams : public QObject {
    Q_OBJECT
public:
    // Opens a device for the format; null when it cannot.
    using DeviceFactory = std::function<std::unique_ptr<StreamDevice>(int sampleRate, int channels)>;

    explicit SoundStreams(DeviceFactory open);
    ~SoundStreams() override;

    // A stream of the format with no play on it, opened when there is none; null when the
    // device cannot be opened.
    SoundStream* Acquire(int sampleRate, int channels);
    int OpenStreams() const { return static_cast<int>(m_streams.size()); }
    // Closes every stream at once, with those let go of and waiting for the event loop, and
    // their devices with them; plays on them never report. For the end of the program, after
    // its event loop: a stream opened later is opened anew.
    void CloseAll();

private:
    void Release(SoundStream* stream);

    DeviceFactory m_open;
    std::vector<SoundStream*> m_streams;
};

// A play on the streams: the SoundOutput the wave player uses where a sound server exists.
// A watchdog on our Timer ends a play whose stream never gets that far (and breaks that
// stream), so a stalled server cannot stall the program.
class StreamOutput : public SoundOutput {
    Q_OBJECT
public:
    explicit StreamOutput(SoundStreams& streams);
    ~StreamOutput() override;

    bool Start(const WavFile::Audio& audio, qint64 fromFrame) override;
    void Stop() override;
    qint64 PlayedFrames() const override;
    bool IsSilent() const override { return false; }

private:
    void Stream_PlayEnded(quint64 play);
    void Stream_PlayFailed(quint64 play);
    void Watchdog_Timer();
    void Release();

    SoundStreams& m_streams;
    Timer* m_watchdog{nullptr};
    QPointer<SoundStream> m_stream;
    quint64 m_play{0};
    qint64 m_played{0};
};

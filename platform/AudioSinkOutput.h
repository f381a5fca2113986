#pragma once
// Plays decoded audio through QAudioSink on the default output device. The natural end is
// the sink going idle once all data has been read; a watchdog on our Timer ends a play whose
// device never reports, so a stalled server cannot stall the program.
//
// Ownership: each play's sink, the buffer it reads and the data behind it live together in
// one SinkPlay that this output owns alone (no QObject parent). Stop() stops the sink, cuts
// it off and hands the whole SinkPlay to a reaper that deletes it later from the event loop:
// QAudioSink's destructor runs the event loop itself (the PulseAudio backend calls
// processEvents()), so it must never run inside our own code, and nothing it may trigger
// there (a deferred delete of this output, a click that starts the next sound) can reach a
// sink or buffer that is half gone.

#include <QAudioDevice>
#include <memory>

#include "SoundOutput.h"

class Timer;
struct SinkPlay;

class AudioSinkOutput : public SoundOutput {
    Q_OBJECT
public:
    explicit AudioSinkOutput(const QAudioDevice& device);
    ~AudioSinkOutput() override;

    bool Start(const WavFile::Audio& audio, qint64 fromFrame) override;
    void Stop() override;
    qint64 PlayedFrames() const override;
    bool IsSilent() const override { return false; }

    // Sinks stopped but not yet deleted (tests check that none is left behind).
    static int RetiredSinks();

private:
    void Sink_StateChanged();
    void Watchdog_Timer();
    void Release();

    QAudioDevice m_device;
    Timer* m_watchdog{nullptr};
    std::unique_ptr<SinkPlay> m_play;
    int m_sampleRate{0};
    qint64 m_frames{0};
    qint64 m_played{0};
};

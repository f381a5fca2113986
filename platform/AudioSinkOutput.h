#pragma once
// Plays decoded audio through QAudioSink on the default output device. The natural end is
// the sink going idle once all data has been read; a watchdog on our Timer ends a play whose
// device never reports, so a stalled server cannot stall the program.

#include <QAudioDevice>

#include "SoundOutput.h"

class QAudioSink;
class QBuffer;
class Timer;

class AudioSinkOutput : public SoundOutput {
    Q_OBJECT
public:
    explicit AudioSinkOutput(const QAudioDevice& device);
    ~AudioSinkOutput() override;

    bool Start(const WavFile::Audio& audio, qint64 fromFrame) override;
    void Stop() override;
    qint64 PlayedFrames() const override;
    bool IsSilent() const override { return false; }

private:
    void Sink_StateChanged();
    void Watchdog_Timer();
    void Release();

    QAudioDevice m_device;
    // The sink reads from the buffer: the sink is destroyed first (Release() keeps the order).
    QBuffer* m_buffer{nullptr};
    QAudioSink* m_sink{nullptr};
    Timer* m_watchdog{nullptr};
    QByteArray m_data;
    int m_sampleRate{0};
    qint64 m_frames{0};
    qint64 m_played{0};
    bool m_started{false};
};

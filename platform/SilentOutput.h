#pragma once
// Plays nothing and finishes after the sound's exact duration, paced by a precise Timer (so
// the manual test clock drives it the same way the wall clock does).

#include "SoundOutput.h"

class Timer;

class SilentOutput : public SoundOutput {
    Q_OBJECT
public:
    SilentOutput();
    ~SilentOutput() override;

    bool Start(const WavFile::Audio& audio, qint64 fromFrame) override;
    void Stop() override;
    qint64 PlayedFrames() const override;
    bool IsSilent() const override { return true; }

private:
    void Timer1_Timer();

    Timer* m_timer{nullptr};
    qint64 m_startMs{0};
    qint64 m_frames{0};
    int m_sampleRate{0};
};

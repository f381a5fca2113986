#include "SilentOutput.h"

#include <algorithm>

#include "Clock.h"
#include "Timer.h"

SilentOutput::SilentOutput()
    : m_timer(new Timer(this))
{
    connect(m_timer, &Timer::Tick, this, &SilentOutput::Timer1_Timer);
}

SilentOutput::~SilentOutput() = default;

bool SilentOutput::Start(const WavFile::Audio& audio, qint64 fromFrame)
{
    Stop();
    m_sampleRate = audio.sampleRate;
    m_frames = std::max<qint64>(0, audio.frames - fromFrame);
    m_startMs = Clock::Msecs();
    // A zero interval never fires: even the shortest rest of a sound waits one millisecond.
    m_timer->SetInterval(static_cast<int>(std::clamp<qint64>(audio.FramesMs(m_frames), 1, 24LL * 3600 * 1000)));
    m_timer->SetEnabled(true);
    return true;
}

void SilentOutput::Stop() { m_timer->SetEnabled(false); }

qint64 SilentOutput::PlayedFrames() const
{
    if (!m_timer->Enabled())
        return m_frames;
    const qint64 elapsed = Clock::Msecs() - m_startMs;
    return std::min(m_frames, elapsed * m_sampleRate / 1000);
}

void SilentOutput::Timer1_Timer()
{
    m_timer->SetEnabled(false);
    emit Finished();
}

#include "AudioSinkOutput.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <algorithm>

#include "Timer.h"

namespace {
// Time the device may take beyond the sound's duration before the watchdog ends the play.
constexpr int WatchdogSlackMs = 3000;
} // namespace

AudioSinkOutput::AudioSinkOutput(const QAudioDevice& device)
    : m_device(device)
    , m_watchdog(new Timer(this))
{
    connect(m_watchdog, &Timer::Tick, this, &AudioSinkOutput::Watchdog_Timer);
}

AudioSinkOutput::~AudioSinkOutput() { Release(); }

bool AudioSinkOutput::Start(const WavFile::Audio& audio, qint64 fromFrame)
{
    Release();
    QAudioFormat format;
    format.setSampleRate(audio.sampleRate);
    format.setChannelCount(audio.channels);
    format.setSampleFormat(QAudioFormat::Int16);

    const qint64 from = std::clamp<qint64>(fromFrame, 0, audio.frames);
    const qint64 bytesPerFrame = 2LL * audio.channels;
    m_data = audio.pcm16.mid(from * bytesPerFrame);
    m_sampleRate = audio.sampleRate;
    m_frames = audio.frames - from;
    m_played = 0;

    m_buffer = new QBuffer(&m_data, this);
    m_buffer->open(QIODevice::ReadOnly);
    m_sink = new QAudioSink(m_device, format, this);
    connect(m_sink, &QAudioSink::stateChanged, this, &AudioSinkOutput::Sink_StateChanged);
    m_sink->start(m_buffer);
    // Without a server the sink fails inside start() and never reports a state change.
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        Release();
        return false;
    }
    m_started = true;
    const qint64 ms = (m_frames * 1000 + m_sampleRate - 1) / m_sampleRate;
    m_watchdog->SetInterval(static_cast<int>(std::min<qint64>(ms + WatchdogSlackMs, 24LL * 3600 * 1000)));
    m_watchdog->SetEnabled(true);
    return true;
}

void AudioSinkOutput::Stop() { Release(); }

qint64 AudioSinkOutput::PlayedFrames() const
{
    if (!m_sink)
        return m_played;
    return std::min(m_frames, m_sink->processedUSecs() * m_sampleRate / 1000000);
}

void AudioSinkOutput::Sink_StateChanged()
{
    if (!m_sink || !m_started)
        return;
    const QAudio::State state = m_sink->state();
    const QAudio::Error error = m_sink->error();
    if (state == QAudio::IdleState && m_buffer->atEnd()) {
        Release();
        emit Finished();
    } else if (state == QAudio::StoppedState && error != QAudio::NoError) {
        Release();
        emit Failed();
    }
}

void AudioSinkOutput::Watchdog_Timer()
{
    Release();
    emit Finished();
}

void AudioSinkOutput::Release()
{
    m_started = false;
    m_watchdog->SetEnabled(false);
    if (m_sink) {
        m_played = PlayedFrames();
        m_sink->disconnect(this);
        m_sink->stop();
        m_sink->deleteLater();
        m_sink = nullptr;
    }
    if (m_buffer) {
        m_buffer->deleteLater();
        m_buffer = nullptr;
    }
}

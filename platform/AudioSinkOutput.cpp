#include "AudioSinkOutput.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMetaObject>
#include <algorithm>
#include <vector>

#include "Timer.h"

// One play on the device. Members are destroyed in reverse order: the sink goes first, then
// the buffer it reads, then the data behind the buffer.
struct SinkPlay {
    QByteArray data;
    QBuffer buffer;
    std::unique_ptr<QAudioSink> sink;
};

namespace {

// Time the device may take beyond the sound's duration before the watchdog ends the play.
constexpr int WatchdogSlackMs = 3000;

// Deletes retired sinks from a queued call, never inside the call that retired them. A
// sink's destructor may run the event loop and so retire or reap again: each pass takes the
// list it deletes out of the shared one first.
class SinkReaper : public QObject {
public:
    static SinkReaper& Instance()
    {
        // Never deleted: sinks still waiting when the program ends go with the process.
        static SinkReaper* reaper = new SinkReaper;
        return *reaper;
    }

    void Retire(std::unique_ptr<SinkPlay> play)
    {
        m_retired.push_back(std::move(play));
        if (m_scheduled)
            return;
        m_scheduled = true;
        QMetaObject::invokeMethod(this, &SinkReaper::Reap, Qt::QueuedConnection);
    }

    int Count() const { return static_cast<int>(m_retired.size()) + m_reaping; }

private:
    void Reap()
    {
        m_scheduled = false;
        std::vector<std::unique_ptr<SinkPlay>> batch;
        batch.swap(m_retired);
        m_reaping += static_cast<int>(batch.size());
        for (auto& play : batch) {
            play.reset();
            --m_reaping;
        }
    }

    std::vector<std::unique_ptr<SinkPlay>> m_retired;
    bool m_scheduled{false};
    int m_reaping{0};
};

} // namespace

AudioSinkOutput::AudioSinkOutput(const QAudioDevice& device)
    : m_device(device)
    , m_watchdog(new Timer(this))
{
    connect(m_watchdog, &Timer::Tick, this, &AudioSinkOutput::Watchdog_Timer);
}

AudioSinkOutput::~AudioSinkOutput() { Release(); }

int AudioSinkOutput::RetiredSinks() { return SinkReaper::Instance().Count(); }

bool AudioSinkOutput::Start(const WavFile::Audio& audio, qint64 fromFrame)
{
    Release();
    QAudioFormat format;
    format.setSampleRate(audio.sampleRate);
    format.setChannelCount(audio.channels);
    format.setSampleFormat(QAudioFormat::Int16);

    const qint64 from = std::clamp<qint64>(fromFrame, 0, audio.frames);
    const qint64 bytesPerFrame = 2LL * audio.channels;
    m_sampleRate = audio.sampleRate;
    m_frames = audio.frames - from;
    m_played = 0;

    auto play = std::make_unique<SinkPlay>();
    play->data = audio.pcm16.mid(from * bytesPerFrame);
    play->buffer.setBuffer(&play->data);
    play->buffer.open(QIODevice::ReadOnly);
    play->sink = std::make_unique<QAudioSink>(m_device, format);
    QAudioSink* sink = play->sink.get();
    m_play = std::move(play);
    sink->start(&m_play->buffer);
    // Without a server the sink fails inside start() and never reports a state change.
    if (sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
        Release();
        return false;
    }
    // Connected only now: a failure inside start() is this call's result, not a signal.
    connect(sink, &QAudioSink::stateChanged, this, &AudioSinkOutput::Sink_StateChanged);
    const qint64 ms = (m_frames * 1000 + m_sampleRate - 1) / m_sampleRate;
    m_watchdog->SetInterval(static_cast<int>(std::min<qint64>(ms + WatchdogSlackMs, 24LL * 3600 * 1000)));
    m_watchdog->SetEnabled(true);
    return true;
}

void AudioSinkOutput::Stop() { Release(); }

qint64 AudioSinkOutput::PlayedFrames() const
{
    if (!m_play)
        return m_played;
    return std::min(m_frames, m_play->sink->processedUSecs() * m_sampleRate / 1000000);
}

void AudioSinkOutput::Sink_StateChanged()
{
    // A state change queued before the play was released may still arrive: only the state
    // of the current sink counts.
    if (!m_play)
        return;
    const QAudio::State state = m_play->sink->state();
    const QAudio::Error error = m_play->sink->error();
    if (state == QAudio::IdleState && m_play->buffer.atEnd()) {
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
    m_watchdog->SetEnabled(false);
    if (!m_play)
        return;
    m_played = PlayedFrames();
    std::unique_ptr<SinkPlay> play = std::move(m_play);
    play->sink->disconnect(this);
    play->sink->stop();
    SinkReaper::Instance().Retire(std::move(play));
}

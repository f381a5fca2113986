#include "AudioSinkOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QMetaObject>
#include <vector>

#include "SoundStream.h"

namespace {

// The device's buffer: what a play cut short still sounds for, and what the server may
// hold back before it starts a stream.
constexpr int BufferMs = 100;

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

    void Retire(std::unique_ptr<QAudioSink> sink)
    {
        m_retired.push_back(std::move(sink));
        if (m_scheduled)
            return;
        m_scheduled = true;
        QMetaObject::invokeMethod(this, &SinkReaper::Reap, Qt::QueuedConnection);
    }

    int Count() const { return static_cast<int>(m_retired.size()) + m_reaping; }

    // Deletes every retired sink now, those retired meanwhile by a sink's destructor too.
    void ReapAll()
    {
        while (!m_retired.empty())
            Reap();
    }

private:
    void Reap()
    {
        m_scheduled = false;
        std::vector<std::unique_ptr<QAudioSink>> batch;
        batch.swap(m_retired);
        m_reaping += static_cast<int>(batch.size());
        for (auto& sink : batch) {
            sink.reset();
            --m_reaping;
        }
    }

    std::vector<std::unique_ptr<QAudioSink>> m_retired;
    bool m_scheduled{false};
    int m_reaping{0};
};

// One sink started in push mode: we write, the server plays.
class SinkDevice : public StreamDevice {
public:
    static std::unique_ptr<StreamDevice> Open(int sampleRate, int channels)
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return nullptr;
        QAudioFormat format;
        format.setSampleRate(sampleRate);
        format.setChannelCount(channels);
        format.setSampleFormat(QAudioFormat::Int16);
        auto sink = std::make_unique<QAudioSink>(device, format);
        sink->setBufferSize(qsizetype(sampleRate) * channels * 2 * BufferMs / 1000);
        QIODevice* io = sink->start();
        // Without a server the sink fails inside start() and never reports a state change.
        if (!io || sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
            sink->stop();
            SinkReaper::Instance().Retire(std::move(sink));
            return nullptr;
        }
        return std::unique_ptr<StreamDevice>(new SinkDevice(std::move(sink), io));
    }

    ~SinkDevice() override
    {
        m_sink->stop();
        SinkReaper::Instance().Retire(std::move(m_sink));
    }

    qint64 BytesFree() const override { return Failed() ? 0 : m_sink->bytesFree(); }
    qint64 Write(const char* data, qint64 bytes) override { return Failed() ? 0 : m_io->write(data, bytes); }
    qint64 PlayedUSecs() const override { return m_sink->processedUSecs(); }
    bool Failed() const override
    {
        // An underrun is no failure: the stream goes on with the next data written.
        const QAudio::Error error = m_sink->error();
        return m_sink->state() == QAudio::StoppedState || (error != QAudio::NoError && error != QAudio::UnderrunError);
    }

private:
    SinkDevice(std::unique_ptr<QAudioSink> sink, QIODevice* io)
        : m_sink(std::move(sink))
        , m_io(io)
    {
    }

    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_io; // the sink's own, valid until it stops
};

} // namespace

namespace {
// Never deleted, like the reaper: outputs may still refer to it while the program ends.
SoundStreams* g_streams = nullptr;
} // namespace

namespace AudioSinkOutput {

SoundStreams& DeviceStreams()
{
    if (!g_streams)
        g_streams = new SoundStreams(&SinkDevice::Open);
    return *g_streams;
}

int RetiredSinks() { return SinkReaper::Instance().Count(); }

void CloseDevice()
{
    if (g_streams)
        g_streams->CloseAll();
    SinkReaper::Instance().ReapAll();
}

} // namespace AudioSinkOutput

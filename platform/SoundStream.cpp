#include "SoundStream.h"

#include <QDebug>
#include <algorithm>

#include "Clock.h"
#include "Timer.h"

namespace {
// Time the device may take beyond a sound's duration before the watchdog ends the play.
constexpr int WatchdogSlackMs = 3000;
} // namespace

SoundStream::SoundStream(std::unique_ptr<StreamDevice> device, int sampleRate, int channels)
    : m_device(std::move(device))
    , m_sampleRate(sampleRate)
    , m_channels(channels)
    , m_bytesPerFrame(2 * channels)
    , m_feed(new Timer(this, TickMs, true))
    , m_idle(new Timer(this, IdleCloseMs))
{
    connect(m_feed, &Timer::Tick, this, &SoundStream::Feed_Timer);
    connect(m_idle, &Timer::Tick, this, &SoundStream::Idle_Timer);
    m_idle->SetEnabled(true);
}

SoundStream::~SoundStream() = default;

quint64 SoundStream::Begin(const QByteArray& pcm)
{
    m_play.reset();
    m_idle->SetEnabled(false);
    Play play;
    play.id = ++m_lastId;
    play.pcm = pcm;
    play.pcm.truncate(pcm.size() - pcm.size() % m_bytesPerFrame);
    m_play = std::move(play);
    if (!m_broken)
        Feed();
    return m_lastId;
}

void SoundStream::Cancel(quint64 play)
{
    if (!m_play || m_play->id != play)
        return;
    m_play.reset();
    if (!m_broken)
        m_idle->SetEnabled(true);
}

qint64 SoundStream::PlayedFrames(quint64 play) const
{
    if (!m_play || m_play->id != play || m_play->start < 0)
        return 0;
    const qint64 heard = std::clamp<qint64>(PlayedBytes() - m_play->start, 0, m_play->pcm.size());
    return heard / m_bytesPerFrame;
}

void SoundStream::Break()
{
    if (m_broken)
        return;
    Close();
}

void SoundStream::Close(std::optional<quint64> failedPlay)
{
    m_broken = true;
    m_play.reset();
    m_feed->SetEnabled(false);
    m_idle->SetEnabled(false);
    if (failedPlay)
        emit PlayFailed(*failedPlay);
    emit Closed();
}

qint64 SoundStream::PlayedBytes() const
{
    const qint64 usecs = std::max<qint64>(0, m_device->PlayedUSecs());
    const qint64 bytes = usecs * m_sampleRate / 1000000 * m_bytesPerFrame;
    return std::min(bytes, m_written);
}

qint64 SoundStream::WriteSilence(qint64 bytes)
{
    static const QByteArray zeros(64 * 1024, '\0');
    qint64 done = 0;
    while (done < bytes) {
        const qint64 n = m_device->Write(zeros.constData(), std::min<qint64>(bytes - done, zeros.size()));
        if (n <= 0)
            break;
        done += n;
    }
    m_written += done;
    return done;
}

void SoundStream::Feed()
{
    qint64 free = std::max<qint64>(0, m_device->BytesFree());
    const qint64 now = Clock::Msecs();
    if (const qint64 played = PlayedBytes(); played != m_clockSeen) {
        m_clockSeen = played;
        m_clockStillSince = now;
    }
    // A device that took part of a frame is first given the rest of it in silence, so every
    // play starts on a frame.
    if (const qint64 partial = m_written % m_bytesPerFrame; partial != 0)
        free -= WriteSilence(std::min(free, m_bytesPerFrame - partial));
    if (m_written % m_bytesPerFrame != 0)
        return;

    if (m_play) {
        m_lastPlayMs = now;
        if (m_play->start < 0)
            m_play->start = m_written;
    }
    if (m_play && m_play->written < m_play->pcm.size()) {
        const qint64 want = std::min(free, m_play->pcm.size() - m_play->written);
        if (want > 0) {
            const qint64 n = std::max<qint64>(0, m_device->Write(m_play->pcm.constData() + m_play->written, want));
            m_play->written += n;
            m_written += n;
            free -= n;
        }
        if (m_play->written < m_play->pcm.size())
            return;
    }

    // Nothing left to write: a little silence ahead of the clock keeps the device running,
    // so the next play is heard as soon as it comes.
    const qint64 lead = m_written - m_clockSeen;
    qint64 target = qint64(LeadMs) * m_sampleRate / 1000 * m_bytesPerFrame;
    // A device that has not started yet waits for a fuller buffer than a short sound gives;
    // and once no play has followed for a while, a full buffer spares the device running dry
    // again and again through a pause.
    const bool stalled = lead > 0 && now - m_clockStillSince >= StallMs;
    if (stalled || (!m_play && now - m_lastPlayMs >= FollowMs))
        target = lead + free;
    qint64 silence = std::min(free, target - lead);
    silence -= silence % m_bytesPerFrame;
    if (silence > 0)
        WriteSilence(silence);
}

void SoundStream::Feed_Timer()
{
    if (m_broken)
        return;
    if (m_device->Failed()) {
        Close(m_play ? std::optional<quint64>(m_play->id) : std::nullopt);
        return;
    }
    Feed();
    if (m_play && m_play->start >= 0 && m_play->written == m_play->pcm.size()
        && PlayedBytes() >= m_play->start + m_play->pcm.size()) {
        const quint64 id = m_play->id;
        m_play.reset();
        m_idle->SetEnabled(true);
        emit PlayEnded(id);
    }
}

void SoundStream::Idle_Timer()
{
    m_idle->SetEnabled(false);
    if (Busy() || m_broken)
        return;
    Close();
}

SoundStreams::SoundStreams(DeviceFactory open)
    : m_open(std::move(open))
{
}

SoundStreams::~SoundStreams() = default;

SoundStream* SoundStreams::Acquire(int sampleRate, int channels)
{
    for (SoundStream* s : m_streams)
        if (!s->Busy() && !s->Broken() && s->SampleRate() == sampleRate && s->Channels() == channels)
            return s;
    std::unique_ptr<StreamDevice> device = m_open(sampleRate, channels);
    if (!device)
        return nullptr;
    auto* stream = new SoundStream(std::move(device), sampleRate, channels);
    stream->setParent(this);
    connect(stream, &SoundStream::Closed, this, [this, stream] { Release(stream); });
    m_streams.push_back(stream);
    return stream;
}

void SoundStreams::CloseAll()
{
    m_streams.clear();
    for (SoundStream* stream : findChildren<SoundStream*>(Qt::FindDirectChildrenOnly)) {
        stream->disconnect();
        delete stream;
    }
}

void SoundStreams::Release(SoundStream* stream)
{
    m_streams.erase(std::remove(m_streams.begin(), m_streams.end(), stream), m_streams.end());
    stream->disconnect(this);
    // It may be inside one of its own signals: the event loop deletes it, and its device.
    stream->deleteLater();
}

StreamOutput::StreamOutput(SoundStreams& streams)
    : m_streams(streams)
    , m_watchdog(new Timer(this))
{
    connect(m_watchdog, &Timer::Tick, this, &StreamOutput::Watchdog_Timer);
}

StreamOutput::~StreamOutput() { Release(); }

bool StreamOutput::Start(const WavFile::Audio& audio, qint64 fromFrame)
{
    Release();
    m_played = 0;
    SoundStream* stream = m_streams.Acquire(audio.sampleRate, audio.channels);
    if (!stream)
        return false;
    const qint64 from = std::clamp<qint64>(fromFrame, 0, audio.frames);
    const qint64 frames = audio.frames - from;
    m_stream = stream;
    connect(stream, &SoundStream::PlayEnded, this, &StreamOutput::Stream_PlayEnded);
    connect(stream, &SoundStream::PlayFailed, this, &StreamOutput::Stream_PlayFailed);
    m_play = stream->Begin(audio.pcm16.mid(from * 2 * audio.channels));
    m_watchdog->SetInterval(
        static_cast<int>(std::min<qint64>(audio.FramesMs(frames) + WatchdogSlackMs, 24LL * 3600 * 1000)));
    m_watchdog->SetEnabled(true);
    return true;
}

void StreamOutput::Stop() { Release(); }

qint64 StreamOutput::PlayedFrames() const { return m_stream ? m_stream->PlayedFrames(m_play) : m_played; }

void StreamOutput::Stream_PlayEnded(quint64 play)
{
    if (play != m_play || !m_stream)
        return;
    Release();
    emit Finished();
}

void StreamOutput::Stream_PlayFailed(quint64 play)
{
    if (play != m_play || !m_stream)
        return;
    Release();
    emit Failed();
}

void StreamOutput::Watchdog_Timer()
{
    // The device never got this far: end the play, and never use that stream again.
    qWarning("Sound: the output device did not play a sound to its end in time; its stream is closed");
    const QPointer<SoundStream> stream = m_stream;
    Release();
    if (stream)
        stream->Break();
    emit Finished();
}

void StreamOutput::Release()
{
    m_watchdog->SetEnabled(false);
    if (!m_stream)
        return;
    m_played = m_stream->PlayedFrames(m_play);
    m_stream->disconnect(this);
    m_stream->Cancel(m_play);
    m_stream = nullptr;
}

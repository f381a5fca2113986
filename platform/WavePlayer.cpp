#include "WavePlayer.h"

#include <QMetaObject>
#include <algorithm>

#include "SoundOutput.h"

WavePlayer::WavePlayer(QObject* parent)
    : QObject(parent)
{
}

WavePlayer::~WavePlayer() { StopOutput(); }

int WavePlayer::Mode() const
{
    if (!m_open)
        return ModeNotOpen;
    return m_playing ? ModePlaying : ModeStopped;
}

qint64 WavePlayer::PositionMs() const
{
    if (!m_open || m_audio.sampleRate <= 0)
        return 0;
    const qint64 played = m_playing && m_output ? m_output->PlayedFrames() : 0;
    return std::min(m_audio.frames, m_position + played) * 1000 / m_audio.sampleRate;
}

bool WavePlayer::IsSilent() const { return m_output && m_output->IsSilent(); }

void WavePlayer::Open()
{
    Close();
    m_audio = WavFile::Read(m_fileName, &m_lastError);
    m_open = m_audio.IsValid();
    if (m_open)
        m_lastError.clear();
}

void WavePlayer::Play()
{
    ++m_serial;
    StopOutput();
    if (!m_open)
        return;
    if (m_position >= m_audio.frames)
        m_position = 0;
    m_playNotify = m_notify;
    m_playing = true;
    StartOutput(CreateSoundOutput());
}

void WavePlayer::Prev()
{
    ++m_serial;
    StopOutput();
    m_playing = false;
    m_position = 0;
}

void WavePlayer::Close()
{
    ++m_serial;
    StopOutput();
    m_playing = false;
    m_open = false;
    m_position = 0;
    m_audio = {};
}

void WavePlayer::Command(const QString& command)
{
    const QString c = command.toLower();
    if (c == QLatin1String("open"))
        Open();
    else if (c == QLatin1String("play"))
        Play();
    else if (c == QLatin1String("prev"))
        Prev();
    else if (c == QLatin1String("close"))
        Close();
}

void WavePlayer::StartOutput(std::unique_ptr<SoundOutput> output)
{
    m_output = std::move(output);
    const quint64 serial = m_serial;
    connect(m_output.get(), &SoundOutput::Finished, this, [this, serial] { Output_Finished(serial); });
    connect(m_output.get(), &SoundOutput::Failed, this, [this, serial] { Output_Failed(serial); });
    if (!m_output->Start(m_audio, m_position)) {
        // No device after all: the same play goes on silently.
        Output_Failed(serial);
    }
}

void WavePlayer::StopOutput()
{
    if (!m_output)
        return;
    m_output->disconnect(this);
    m_output->Stop();
    // The output may be inside one of its own signals: let the event loop delete it.
    m_output.release()->deleteLater();
}

void WavePlayer::Output_Finished(quint64 serial)
{
    if (serial != m_serial || !m_playing)
        return;
    StopOutput();
    m_playing = false;
    m_position = m_audio.frames;
    if (!m_playNotify)
        return;
    // Delivered from the event loop; a command issued before then makes it stale.
    QMetaObject::invokeMethod(
        this,
        [this, serial] {
            if (serial == m_serial)
                emit Done(Successful);
        },
        Qt::QueuedConnection);
}

void WavePlayer::Output_Failed(quint64 serial)
{
    if (serial != m_serial || !m_playing)
        return;
    // The device failed: the rest of the sound is paced silently, so timing stays right.
    const qint64 played = m_output ? m_output->PlayedFrames() : 0;
    const bool wasSilent = m_output && m_output->IsSilent();
    StopOutput();
    m_position = std::min(m_audio.frames, m_position + played);
    if (wasSilent) {
        m_playing = false;
        return;
    }
    m_output = CreateSilentOutput();
    connect(m_output.get(), &SoundOutput::Finished, this, [this, serial] { Output_Finished(serial); });
    m_output->Start(m_audio, m_position);
}

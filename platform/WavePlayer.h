#pragma once
// The wave-audio multimedia control. Properties: FileName, Notify, DeviceType, Mode; commands
// Open, Play, Prev (back to the start), Close, also through Command("Open") etc.
//
// Done(notifyCode) is delivered from the event loop, never inside a command. It reports
// Successful (1) only for the natural end of the current play, and only when Notify was on
// when that play began. Every command stamps a new serial: a play that was closed, rewound,
// restarted or superseded never reports later. A file that cannot be opened leaves the
// control not open; Play then does nothing and no Done follows.

#include <QObject>
#include <QString>
#include <memory>

#include "WavFile.h"

class SoundOutput;

class WavePlayer : public QObject {
    Q_OBJECT
public:
    // The control's mode values.
    enum ModeValue { ModeNotOpen = 524, ModeStopped = 525, ModePlaying = 526, ModeOpen = 530 };
    // Done notify codes.
    enum NotifyCode { Successful = 1 };

    explicit WavePlayer(QObject* parent = nullptr);
    ~WavePlayer() override;

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName) { m_fileName = fileName; }
    bool Notify() const { return m_notify; }
    void SetNotify(bool on) { m_notify = on; }
    QString DeviceType() const { return m_deviceType; }
    void SetDeviceType(const QString& type) { m_deviceType = type; }
    int Mode() const;
    // Why the last Open failed (empty after a successful Open).
    QString LastError() const { return m_lastError; }
    // True while the current play runs on the silent pacer.
    bool IsSilent() const;
    qint64 LengthMs() const { return m_audio.DurationMs(); }
    // How far the loaded sound has played, in ms (0 when nothing is open).
    qint64 PositionMs() const;

    void Open();
    void Play();
    void Prev();
    void Close();
    // The command property: "Open", "Play", "Prev", "Close" (case-insensitive); others are ignored.
    void Command(const QString& command);

signals:
    void Done(int notifyCode);

private:
    void StartOutput(std::unique_ptr<SoundOutput> output);
    void StopOutput();
    void Output_Finished(quint64 serial);
    void Output_Failed(quint64 serial);

    QString m_fileName;
    QString m_deviceType;
    QString m_lastError;
    bool m_notify{false};
    bool m_open{false};
    bool m_playing{false};
    bool m_playNotify{false};
    quint64 m_serial{0};
    qint64 m_position{0}; // frames
    WavFile::Audio m_audio;
    std::unique_ptr<SoundOutput> m_output;
};

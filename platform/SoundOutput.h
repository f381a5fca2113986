#pragma once
// One play of decoded audio on some output. Start() reports an immediate failure by its
// result; a later failure comes as Failed(), the natural end as Finished(). Both signals are
// emitted from the event loop, at most once per Start(), and never after Stop(). Stop()
// lets go of the device at once; the output may be deleted any time after it, though not from
// inside one of its own signals (the owner defers that to the event loop).
//
// Backends: a stream kept open on the sound server's device (SoundStream.h), or a silent pacer
// that waits for the sound's exact duration on our Timer. CreateSoundOutput()
// (SoundOutputFactory.cpp) picks one.

#include <QObject>
#include <memory>

#include "WavFile.h"

class SoundOutput : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SoundOutput() override = default;

    // Plays audio from fromFrame to its end. False when the output cannot start at all.
    virtual bool Start(const WavFile::Audio& audio, qint64 fromFrame) = 0;
    virtual void Stop() = 0;
    // Frames played since Start() (best knowledge of the backend).
    virtual qint64 PlayedFrames() const = 0;
    virtual bool IsSilent() const = 0;

signals:
    void Finished();
    void Failed();
};

// The silent pacer: always available.
std::unique_ptr<SoundOutput> CreateSilentOutput();
// The device's streams where an output device exists, otherwise the silent pacer. The manual test
// clock, or VELMORA_SILENT_SOUND=1, always selects the silent pacer.
std::unique_ptr<SoundOutput> CreateSoundOutput();
// Lets go of the sound device for good: every stream closed, its sink deleted. Called when the
// event loop has ended, before main returns (AudioSinkOutput.h says why).
void CloseSoundOutputs();

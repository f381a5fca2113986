// The one place that chooses how sound is played.

#include <QAudioDevice>
#include <QMediaDevices>

#include "AudioSinkOutput.h"
#include "Clock.h"
#include "SilentOutput.h"
#include "SoundStream.h"

std::unique_ptr<SoundOutput> CreateSilentOutput() { return std::make_unique<SilentOutput>(); }

std::unique_ptr<SoundOutput> CreateSoundOutput()
{
    if (Clock::IsManual() || qEnvironmentVariableIntValue("VELMORA_SILENT_SOUND") != 0)
        return CreateSilentOutput();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return CreateSilentOutput();
    return std::make_unique<StreamOutput>(AudioSinkOutput::DeviceStreams());
}

void CloseSoundOutputs() { AudioSinkOutput::CloseDevice(); }

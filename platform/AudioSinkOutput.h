#pragma once
// The streams on the sound server's default output device: QAudioSink in push mode, one per
// sample format in use, kept open across plays (SoundStream.h).
//
// Ownership: a sink lives as long as its stream; when the stream closes, the sink is stopped
// and handed to a reaper that deletes it later from the event loop: QAudioSink's destructor
// runs the event loop itself (the PulseAudio backend calls processEvents()), so it must never
// run inside our own code, and nothing it may trigger there (a deferred delete of an output, a
// click that starts the next sound) can reach a sink that is half gone.
//
// At the end of the program everything goes at once (CloseDevice), before main returns: Qt's
// sound system and its server thread are torn down in static destruction, and a sink left to
// that (a sound still playing at the exit, a sink still waiting for the reaper) was torn down
// after the thread it talks to, and crashed the program as it ended.

class SoundStreams;

namespace AudioSinkOutput {
// The streams of the default output device (created on first use, never deleted).
SoundStreams& DeviceStreams();
// Sinks stopped but not yet deleted (tests check that none is left behind).
int RetiredSinks();
// Closes every stream and deletes every sink now, a stopped one waiting for the reaper too.
// Called once the event loop has ended; sinks are deleted here, outside any code of ours.
void CloseDevice();
} // namespace AudioSinkOutput

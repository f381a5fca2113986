#pragma once
// Our own reader of RIFF/WAVE files. It gives the exact duration from the data chunk and
// the samples as interleaved signed 16-bit PCM, whatever the stored sample format was
// (8-bit unsigned, 16/24/32-bit integer, 32-bit float). A file it cannot read is reported
// with a reason, never half-read.

#include <QByteArray>
#include <QString>

namespace WavFile {

// The most a file may declare: more is refused as damaged or foreign, before anything large
// is read or allocated (our longest sound lasts seconds).
constexpr qint64 MaxDataBytes = 64LL * 1024 * 1024;
constexpr qint64 MaxDurationMs = 10LL * 60 * 1000;

struct Audio {
    int sampleRate{0};
    int channels{0};
    qint64 frames{0};
    QByteArray pcm16; // frames * channels little-endian signed 16-bit samples

    // Exact duration in milliseconds, rounded up so a pacer never ends before the sound.
    qint64 DurationMs() const { return FramesMs(frames); }
    // The same for the given number of this sound's frames (the rest of it after a start
    // point, say); 0 without a sample rate.
    qint64 FramesMs(qint64 count) const;
    bool IsValid() const { return sampleRate > 0 && channels > 0 && frames > 0; }
};

// Parses a whole file held in memory. On failure returns an invalid Audio and sets error.
// A data chunk that declares more than MaxDataBytes or MaxDurationMs is refused, whatever the
// file holds; one that declares more than the file holds keeps the whole frames it holds.
Audio Parse(const QByteArray& bytes, QString* error = nullptr);

// Reads and parses a file ("\" in the path accepted). Unreadable files fail like damaged ones.
Audio Read(const QString& path, QString* error = nullptr);

// True when the file can be opened and holds at least one frame of a format we read.
bool IsPlayable(const QString& path);

// Writes 16-bit PCM as a canonical WAV file image (tools and tests build files with it).
QByteArray Encode16(int sampleRate, int channels, const QByteArray& pcm16);

} // namespace WavFile

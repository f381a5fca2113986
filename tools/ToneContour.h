#pragma once
// Pitch contours of spoken syllables: a pitch track, the audible voiced part a listener hears
// the tone on, the judgement of a contour against its tone, and the reshaping of a recording
// to the standard contour of a tone (pitch-synchronous overlap-add, which keeps the vowel's
// timbre where a plain pitch shift would move its formants).

#include <QString>
#include <vector>

#include "WavFile.h"

namespace ToneContour {

// The first channel as samples in -1..1.
std::vector<double> Samples(const WavFile::Audio& audio);

// Pitch frames are 5 ms apart.
constexpr int FramesPerSecond = 200;

struct Frame {
    double rms{0};
    double f0{0};      // Hz; 0 where the frame is not voiced
    double clarity{0}; // normalised autocorrelation at the chosen period, 0..1
};

// Pitch track of mono samples in -1..1. Octave slips are folded towards the track's median.
std::vector<Frame> Track(const std::vector<double>& samples, int sampleRate);

// The voiced part a listener hears the tone on: the stretch around the loudest voiced frame
// where the voice stays no more than 10 dB below it (dips of up to 10 ms bridged). A quiet
// nasal ending, a voiced initial or a long quiet glide outside it hardly carries the tone.
// {-1, -1} when nothing is voiced.
struct Span {
    int first{-1};
    int last{-1};
    bool IsValid() const { return first >= 0 && last - first >= 4; }
};
Span AudiblePart(const std::vector<Frame>& frames);

// The contour over the span in semitones above 100 Hz, unvoiced gaps bridged, median-smoothed.
std::vector<double> Semitones(const std::vector<Frame>& frames, Span span);

// How a contour moves, in semitones. Rise and fall are the largest rise to the end after the
// lowest point and the largest fall before it.
struct Verdict {
    bool ok{false};
    double range{0}; // highest minus lowest
    double net{0};   // end minus start
    double fall{0};  // highest before the lowest point, minus the lowest point
    double rise{0};  // end minus the lowest point
    QString why;     // what is missing, when not ok
};

// Tone 1 stays level, 2 rises at least 4 semitones to the end, 3 falls then rises again
// clearly, 4 falls at least 6 semitones. Anything else (an empty contour, tone 0) fails.
Verdict Judge(const std::vector<double>& semitones, int tone);

// The standard contour of a tone in Hz at u = 0..1 across the audible part.
double TargetHz(int tone, double u);

// The recording with its audible part spoken on the standard contour of the tone; the voiced
// parts before and after hold the contour's first and last pitch, unvoiced sounds stay as
// they are. The length does not change.
std::vector<double> Reshape(const std::vector<double>& samples, int sampleRate, int tone);

} // namespace ToneContour

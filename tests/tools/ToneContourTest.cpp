#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "TestSupport.h"
#include "ToneContour.h"

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

// A vowel-like sound: one excitation per period, each ringing two damped resonances (formants
// at 700 and 1200 Hz), its pitch and loudness following the given functions of time in seconds.
std::vector<double> Vowel(double seconds, const std::function<double(double)>& hz,
                          const std::function<double(double)>& level = [](double) { return 1.0; })
{
    std::vector<double> x(size_t(seconds * kRate), 0.0);
    for (double t = 0; t < seconds; t += 1.0 / hz(t)) {
        const size_t at = size_t(t * kRate);
        for (size_t i = 0; i < size_t(kRate / 100) && at + i < x.size(); ++i) {
            const double s = double(i) / kRate;
            x[at + i] += 0.3 * level(t) * std::exp(-s * 400)
                         * (std::sin(2 * kPi * 700 * s) + 0.5 * std::sin(2 * kPi * 1200 * s));
        }
    }
    return x;
}

std::vector<double> Silence(double seconds) { return std::vector<double>(size_t(seconds * kRate), 0.0); }

std::vector<double> Join(std::vector<double> a, const std::vector<double>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ToneContour::Verdict JudgeSound(const std::vector<double>& x, int tone)
{
    const auto frames = ToneContour::Track(x, kRate);
    return ToneContour::Judge(ToneContour::Semitones(frames, ToneContour::AudiblePart(frames)), tone);
}

// Semitone contours (every 10 ms is plenty) as the tool measures them, against each tone.
TEST(ToneContourTest, JudgesEachToneByHowFarItMoves)
{
    const auto line = [](double from, double to, int n = 20) {
        std::vector<double> c;
        for (int i = 0; i < n; ++i)
            c.push_back(from + (to - from) * i / (n - 1));
        return c;
    };
    const auto join = [](std::vector<double> a, const std::vector<double>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case {
        const char* name;
        std::vector<double> contour;
        int tone;
        bool ok;
    } cases[] = {
        {"level", line(16, 16.3), 1, true},
        {"level that climbs 3 semitones", line(13, 16), 1, false},
        {"rise of 5", line(11, 16), 2, true},
        {"rise of 1, as zhong2 was heard", line(8.5, 9.5), 2, false},
        {"rise that falls back at the end", join(line(11, 16, 15), line(16, 14, 6)), 2, false},
        {"dip and rise", join(line(9, 5.5, 10), line(5.5, 13, 10)), 3, true},
        {"fall without the rise, as tang3 was", join(line(7.5, 5.5, 12), line(5.5, 5.5, 8)), 3, false},
        {"dip that hardly rises again, as ding3 was", join(line(7.8, 5.5, 12), line(5.5, 6.1, 8)), 3, false},
        {"rise with no fall before it", line(6, 13), 3, false},
        {"fall of 10", line(17, 7), 4, true},
        {"fall of 2.7, as ming4 was", line(11.2, 8.5), 4, false},
        {"fall that rises again", join(line(17, 7, 14), line(7, 10, 6)), 4, false},
        {"too short to tell", line(11, 16, 4), 2, false},
        {"no tone", line(16, 16), 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToneContour::Verdict v = ToneContour::Judge(c.contour, c.tone);
        EXPECT_EQ(v.ok, c.ok) << v.why.toStdString();
        EXPECT_EQ(v.why.isEmpty(), c.ok);
    }
}

TEST(ToneContourTest, TracksThePitchOfAVoiceWithoutOctaveSlips)
{
    for (double hz : {110.0, 145.0, 200.0, 277.0}) {
        SCOPED_TRACE(hz);
        const auto frames = ToneContour::Track(Vowel(0.3, [&](double) { return hz; }), kRate);
        int voiced = 0;
        for (size_t i = 4; i + 4 < frames.size(); ++i) {
            if (frames[i].f0 <= 0)
                continue;
            ++voiced;
            EXPECT_NEAR(frames[i].f0, hz, hz * 0.01) << "frame " << i;
        }
        EXPECT_GT(voiced, int(frames.size()) * 3 / 4);
    }
    const auto silent = ToneContour::Track(Silence(0.2), kRate);
    for (const auto& f : silent)
        EXPECT_EQ(f.f0, 0);
    EXPECT_FALSE(ToneContour::AudiblePart(silent).IsValid());
}

// The fault of the old recordings: the rise sits in a quiet nasal ending, while the loud vowel
// stays nearly level. A listener hears a level tone; so must the check.
TEST(ToneContourTest, ARiseInAQuietEndingIsNotHeard)
{
    const auto pitch = [](double t) { return t < 0.15 ? 180 + 40 * t : 186 + 600 * (t - 0.15); };
    const auto level = [](double t) { return t < 0.15 ? 1.0 : 0.1; }; // 20 dB quieter
    const std::vector<double> x = Vowel(0.3, pitch, level);
    const auto frames = ToneContour::Track(x, kRate);
    const ToneContour::Span span = ToneContour::AudiblePart(frames);
    ASSERT_TRUE(span.IsValid());
    EXPECT_LE(span.last, int(0.16 * ToneContour::FramesPerSecond));
    const ToneContour::Verdict v = ToneContour::Judge(ToneContour::Semitones(frames, span), 2);
    EXPECT_FALSE(v.ok);
    EXPECT_LT(v.rise, 1.0);
    // The same rise in a loud ending is a second tone.
    EXPECT_TRUE(JudgeSound(Vowel(0.3, pitch), 2).ok);
}

TEST(ToneContourTest, TargetContoursHaveTheirShape)
{
    const auto st = [](int tone, double u) { return 12 * std::log2(ToneContour::TargetHz(tone, u)); };
    EXPECT_NEAR(st(1, 0), st(1, 1), 0.01);
    EXPECT_GE(st(2, 1) - st(2, 0.2), 5);
    EXPECT_GE(st(3, 0) - st(3, 0.55), 3);
    EXPECT_GE(st(3, 1) - st(3, 0.55), 7);
    EXPECT_GE(st(4, 0.15) - st(4, 1), 9);
    EXPECT_GT(st(1, 0.5), st(3, 0.5)); // the first tone is high, the third low
    EXPECT_DOUBLE_EQ(ToneContour::TargetHz(4, -1), ToneContour::TargetHz(4, 0));
    EXPECT_DOUBLE_EQ(ToneContour::TargetHz(2, 2), ToneContour::TargetHz(2, 1));
}

// A level vowel, alone and behind a noisy unvoiced onset, becomes each tone; the length stays
// and the same input always gives the same samples.
TEST(ToneContourTest, ReshapedSyllablesShowTheirTone)
{
    std::vector<double> noise(size_t(0.08 * kRate));
    quint32 seed = 12345;
    for (double& v : noise) {
        seed = seed * 1664525u + 1013904223u;
        v = 0.05 * (double(seed >> 8) / double(1u << 24) - 0.5);
    }
    const std::vector<double> level = Vowel(0.3, [](double t) { return 205 + 10 * t; });
    const std::vector<double> inputs[] = {Join(Join(Silence(0.03), level), Silence(0.05)),
                                          Join(Join(noise, level), Silence(0.05))};
    for (const auto& input : inputs) {
        for (int tone = 1; tone <= 4; ++tone) {
            SCOPED_TRACE(tone);
            const std::vector<double> out = ToneContour::Reshape(input, kRate, tone);
            ASSERT_EQ(out.size(), input.size());
            const ToneContour::Verdict v = JudgeSound(out, tone);
            EXPECT_TRUE(v.ok) << v.why.toStdString();
            EXPECT_EQ(ToneContour::Reshape(input, kRate, tone), out);
        }
    }
    // Nothing voiced: nothing to shape.
    EXPECT_EQ(ToneContour::Reshape(noise, kRate, 2), noise);
}

} // namespace

// Proves the tones of syllable recordings by their pitch contours. Each argument is a file
// named "<syllable><tone>.wav"; the tool tracks the pitch of its voiced part and says whether
// the contour stays level (1), rises (2), dips and rises again (3) or falls (4). Prints one line
// per file that does not show its tone and exits with 1 when there is any.

#include <QFileInfo>
#include <QString>
#include <QTextStream>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <vector>

#include "WavFile.h"

namespace {

// Pitch per 10 ms frame over the longest voiced stretch, in Hz, octave errors folded.
std::vector<double> PitchContour(const WavFile::Audio& a)
{
    const int rate = a.sampleRate;
    std::vector<double> x(static_cast<size_t>(a.frames));
    for (qint64 i = 0; i < a.frames; ++i)
        x[static_cast<size_t>(i)] = qFromLittleEndian<qint16>(a.pcm16.constData() + i * a.channels * 2) / 32768.0;
    const int hop = rate / 100, win = rate / 40;
    const int minLag = rate / 450, maxLag = rate / 90;
    std::vector<double> rms, f0, strength;
    for (size_t s = 0; s + win < x.size(); s += hop) {
        double e = 0;
        for (int i = 0; i < win; ++i)
            e += x[s + i] * x[s + i];
        rms.push_back(std::sqrt(e / win));
    }
    const double loud = rms.empty() ? 0 : *std::max_element(rms.begin(), rms.end());
    for (size_t f = 0; f < rms.size(); ++f) {
        const size_t s = f * hop;
        double best = 0;
        int bestLag = 0;
        if (rms[f] >= 0.04 * loud) {
            for (int lag = minLag; lag <= maxLag; ++lag) {
                double n = 0, d1 = 0, d2 = 0;
                const int span = static_cast<int>(std::min<size_t>(win, x.size() - s - lag));
                if (span < win / 2)
                    break;
                for (int i = 0; i < span; ++i) {
                    n += x[s + i] * x[s + i + lag];
                    d1 += x[s + i] * x[s + i];
                    d2 += x[s + i + lag] * x[s + i + lag];
                }
                const double r = n / std::sqrt(d1 * d2 + 1e-12);
                if (r > best) {
                    best = r;
                    bestLag = lag;
                }
            }
        }
        f0.push_back(best >= 0.3 ? double(rate) / bestLag : 0);
        strength.push_back(best);
    }
    // Longest voiced stretch (gaps of up to three frames bridged).
    size_t bestStart = 0, bestLen = 0;
    for (size_t i = 0; i < f0.size();) {
        // A stretch starts on clear voicing, not on the noise of a fricative onset.
        if (f0[i] == 0 || strength[i] < 0.75 || rms[i] < 0.2 * loud) {
            ++i;
            continue;
        }
        size_t j = i, last = i;
        while (j < f0.size() && (f0[j] > 0 || j - last <= 3)) {
            if (f0[j] > 0)
                last = j;
            ++j;
        }
        if (last + 1 - i > bestLen) {
            bestStart = i;
            bestLen = last + 1 - i;
        }
        i = j;
    }
    std::vector<double> run;
    for (size_t i = bestStart; i < bestStart + bestLen; ++i)
        if (f0[i] > 0)
            run.push_back(f0[i]);
    if (run.size() < 5)
        return {};
    std::vector<double> sorted = run;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double median = sorted[sorted.size() / 2];
    for (double& f : run) {
        while (f > 1.6 * median)
            f /= 2;
        while (f < 0.625 * median)
            f *= 2;
    }
    std::vector<double> smooth(run.size());
    for (size_t i = 0; i < run.size(); ++i) {
        std::vector<double> w;
        for (size_t k = (i >= 2 ? i - 2 : 0); k <= std::min(run.size() - 1, i + 2); ++k)
            w.push_back(run[k]);
        std::nth_element(w.begin(), w.begin() + w.size() / 2, w.end());
        smooth[i] = w[w.size() / 2];
    }
    // Real pitch moves smoothly from frame to frame. A jump of more than 12 % is the noise of
    // an onset consonant or the pitch bend of a medial glide: keep the longest smooth segment.
    size_t segStart = 0, segLen = 0;
    for (size_t i = 0; i < smooth.size();) {
        size_t j = i + 1;
        while (j < smooth.size() && std::fabs(smooth[j] / smooth[j - 1] - 1) <= 0.12)
            ++j;
        if (j - i > segLen) {
            segStart = i;
            segLen = j - i;
        }
        i = j;
    }
    return std::vector<double>(smooth.begin() + static_cast<std::ptrdiff_t>(segStart),
                               smooth.begin() + static_cast<std::ptrdiff_t>(segStart + segLen));
}

// 1 level, 2 rising, 3 dipping, 4 falling, 0 none of these.
int ToneOf(const std::vector<double>& c)
{
    if (c.size() < 5)
        return 0;
    const size_t n = c.size();
    const double start = (c[0] + c[1] + c[2]) / 3;
    const double end = (c[n - 1] + c[n - 2] + c[n - 3]) / 3;
    const double mid = c[n / 2];
    const double lo = *std::min_element(c.begin(), c.end());
    const double hi = *std::max_element(c.begin(), c.end());
    if (end < 0.85 * hi && static_cast<size_t>(std::min_element(c.begin(), c.end()) - c.begin()) + 1 >= n * 3 / 4)
        return 4;
    // The dip, seen either way: a fall inside the contour from an earlier peak, or a lowest
    // point well inside it (a second tone starts from its lowest point); the end rises well
    // above the dip in both.
    const size_t from = n / 5, to = n * 9 / 10;
    const auto dipIt = std::min_element(c.begin() + static_cast<std::ptrdiff_t>(from), c.begin() + static_cast<std::ptrdiff_t>(to));
    const double dip = *dipIt;
    const double peakBeforeDip = *std::max_element(c.begin(), dipIt + 1);
    const size_t lowAt = static_cast<size_t>(std::min_element(c.begin(), c.end()) - c.begin());
    const bool fallThenRise = peakBeforeDip >= 1.08 * dip && end >= 1.1 * dip;
    const bool lowInside = lowAt >= n / 4 && lowAt < to && start >= 1.03 * lo && end >= 1.1 * lo;
    if (fallThenRise || lowInside)
        return 3;
    // A rise that goes on to the end is the second tone; the first tone may rise at its
    // onset but levels off.
    if (end >= 1.12 * start && end >= 1.08 * mid)
        return 2;
    if (hi <= 1.25 * lo && end < 1.06 * mid)
        return 1;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QTextStream out(stdout);
    int bad = 0;
    // --contour prints each file's contour too, to see why a file was judged as it was.
    const bool showContour = argc > 1 && QLatin1String(argv[1]) == QLatin1String("--contour");
    for (int i = showContour ? 2 : 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QString base = QFileInfo(path).completeBaseName();
        const int expected = base.isEmpty() ? 0 : base.back().digitValue();
        QString error;
        const WavFile::Audio audio = WavFile::Read(path, &error);
        const std::vector<double> contour = audio.IsValid() ? PitchContour(audio) : std::vector<double>();
        const int got = audio.IsValid() ? ToneOf(contour) : -1;
        if (showContour) {
            out << base << ":";
            for (double f : contour)
                out << ' ' << qRound(f);
            out << '\n';
        }
        if (got != expected) {
            ++bad;
            out << base << ": tone " << expected << ", contour says " << got
                << (audio.IsValid() ? QString() : QStringLiteral(" (") + error + QLatin1Char(')')) << '\n';
        }
    }
    return bad == 0 ? 0 : 1;
}

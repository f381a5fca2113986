#include "ToneContour.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <limits>

namespace ToneContour {

namespace {

constexpr double kPi = 3.14159265358979323846;

double At(const std::vector<double>& x, qsizetype i)
{
    return i >= 0 && i < qsizetype(x.size()) ? x[size_t(i)] : 0.0;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + qsizetype(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Running median of five, which removes single-frame slips without bending a real slope.
std::vector<double> Smooth(const std::vector<double>& v)
{
    std::vector<double> out(v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        std::vector<double> w;
        for (size_t k = i >= 2 ? i - 2 : 0; k <= std::min(v.size() - 1, i + 2); ++k)
            w.push_back(v[k]);
        out[i] = Median(std::move(w));
    }
    return out;
}

// Unvoiced frames (0) between voiced ones take the straight line between their neighbours;
// those before the first and after the last voiced frame take its value.
std::vector<double> Bridge(std::vector<double> v)
{
    qsizetype prev = -1;
    for (qsizetype i = 0; i < qsizetype(v.size()); ++i) {
        if (v[size_t(i)] <= 0)
            continue;
        for (qsizetype k = prev + 1; k < i; ++k)
            v[size_t(k)] = prev < 0 ? v[size_t(i)]
                                    : v[size_t(prev)] + (v[size_t(i)] - v[size_t(prev)]) * double(k - prev) / double(i - prev);
        prev = i;
    }
    for (qsizetype k = prev + 1; prev >= 0 && k < qsizetype(v.size()); ++k)
        v[size_t(k)] = v[size_t(prev)];
    return v;
}

// Chao's five pitch levels, 2.5 semitones apart, level 1 at 145 Hz (a female voice's range).
double LevelHz(double level)
{
    return 145.0 * std::pow(2.0, (level - 1.0) * 2.5 / 12.0);
}

struct Point {
    double u;
    double level;
};

} // namespace

std::vector<double> Samples(const WavFile::Audio& audio)
{
    std::vector<double> x(size_t(audio.frames));
    for (qint64 i = 0; i < audio.frames; ++i)
        x[size_t(i)] = qFromLittleEndian<qint16>(audio.pcm16.constData() + i * audio.channels * 2) / 32768.0;
    return x;
}

std::vector<Frame> Track(const std::vector<double>& x, int rate)
{
    const int hop = rate / FramesPerSecond;
    const int win = rate / 60; // short enough to follow a fast fall
    const int minLag = rate / 500, maxLag = rate / 90;
    const qsizetype count = qsizetype(x.size()) / hop + 1;
    std::vector<Frame> frames(static_cast<size_t>(count));
    double loud = 0;
    for (qsizetype f = 0; f < count; ++f) {
        const qsizetype from = f * hop - win / 2;
        double e = 0;
        for (int i = 0; i < win; ++i)
            e += At(x, from + i) * At(x, from + i);
        frames[size_t(f)].rms = std::sqrt(e / win);
        loud = std::max(loud, frames[size_t(f)].rms);
    }
    std::vector<double> a(size_t(win + maxLag + 1)), r(size_t(maxLag + 2));
    for (qsizetype f = 0; f < count; ++f) {
        Frame& frame = frames[size_t(f)];
        if (frame.rms < 0.02 * loud)
            continue;
        const qsizetype from = f * hop - win / 2;
        for (size_t i = 0; i < a.size(); ++i)
            a[i] = At(x, from + qsizetype(i));
        double d1 = 0;
        for (int i = 0; i < win; ++i)
            d1 += a[size_t(i)] * a[size_t(i)];
        double best = 0;
        for (int lag = minLag - 1; lag <= maxLag + 1; ++lag) {
            double n = 0, d2 = 0;
            for (int i = 0; i < win; ++i) {
                n += a[size_t(i)] * a[size_t(i + lag)];
                d2 += a[size_t(i + lag)] * a[size_t(i + lag)];
            }
            r[size_t(lag)] = n / std::sqrt(d1 * d2 + 1e-12);
            if (lag >= minLag && lag <= maxLag)
                best = std::max(best, r[size_t(lag)]);
        }
        // The shortest lag that nearly matches the best is the period; its multiples match
        // as well and would halve the pitch.
        for (int lag = minLag; lag <= maxLag; ++lag) {
            const double c = r[size_t(lag)], before = r[size_t(lag - 1)], after = r[size_t(lag + 1)];
            if (c < 0.9 * best || c < before || c < after)
                continue;
            const double curve = before - 2 * c + after;
            const double shift = curve < 0 ? 0.5 * (before - after) / curve : 0;
            frame.clarity = c;
            if (c >= 0.5)
                frame.f0 = rate / (lag + std::clamp(shift, -0.5, 0.5));
            break;
        }
    }
    // Fold octave slips: first towards the median of the clearly voiced, loud frames (a
    // contour may reach 10 semitones from it, a slip is 12), then a frame an octave away from
    // the frames around it.
    std::vector<double> strong;
    for (const Frame& f : frames)
        if (f.f0 > 0 && f.clarity >= 0.8 && f.rms >= 0.3 * loud)
            strong.push_back(f.f0);
    const double median = Median(strong);
    if (median > 0) {
        const double reach = std::pow(2.0, 10.5 / 12.0);
        for (Frame& f : frames) {
            while (f.f0 > reach * median)
                f.f0 /= 2;
            while (f.f0 > 0 && f.f0 * reach < median)
                f.f0 *= 2;
        }
    }
    std::vector<double> folded;
    for (const Frame& f : frames)
        folded.push_back(f.f0);
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].f0 <= 0)
            continue;
        std::vector<double> near;
        for (size_t k = i >= 12 ? i - 12 : 0; k < std::min(frames.size(), i + 13); ++k)
            if (folded[k] > 0)
                near.push_back(folded[k]);
        const double local = Median(near);
        if (frames[i].f0 > 1.7 * local)
            frames[i].f0 /= 2;
        else if (frames[i].f0 * 1.7 < local)
            frames[i].f0 *= 2;
    }
    return frames;
}

Span AudiblePart(const std::vector<Frame>& frames)
{
    int loudest = -1;
    for (int i = 0; i < int(frames.size()); ++i)
        if (frames[size_t(i)].f0 > 0 && (loudest < 0 || frames[size_t(i)].rms > frames[size_t(loudest)].rms))
            loudest = i;
    if (loudest < 0)
        return {};
    const double floor = frames[size_t(loudest)].rms * std::pow(10.0, -10.0 / 20.0);
    // Out from the loudest frame while the sound stays loud (over dips of up to 10 ms), then
    // in to the first and last voiced frame: a fast glide may leave a few frames unclear.
    Span span{loudest, loudest};
    for (int i = loudest - 1; i >= 0 && span.first - i <= 3; --i)
        if (frames[size_t(i)].rms >= floor)
            span.first = i;
    for (int i = loudest + 1; i < int(frames.size()) && i - span.last <= 3; ++i)
        if (frames[size_t(i)].rms >= floor)
            span.last = i;
    while (frames[size_t(span.first)].f0 <= 0)
        ++span.first;
    while (frames[size_t(span.last)].f0 <= 0)
        --span.last;
    return span;
}

std::vector<double> Semitones(const std::vector<Frame>& frames, Span span)
{
    if (span.first < 0)
        return {};
    std::vector<double> hz;
    for (int i = span.first; i <= span.last; ++i)
        hz.push_back(frames[size_t(i)].f0);
    std::vector<double> st = Bridge(hz);
    for (double& v : st)
        v = 12.0 * std::log2(v / 100.0);
    return Smooth(st);
}

Verdict Judge(const std::vector<double>& c, int tone)
{
    Verdict v;
    const size_t n = c.size();
    if (n < 5) {
        v.why = QStringLiteral("no clear voiced part");
        return v;
    }
    const double start = (c[0] + c[1] + c[2]) / 3;
    const double end = (c[n - 1] + c[n - 2] + c[n - 3]) / 3;
    const auto lowIt = std::min_element(c.begin(), c.end());
    const size_t lowAt = size_t(lowIt - c.begin());
    const double low = *lowIt;
    const double high = *std::max_element(c.begin(), c.end());
    v.range = high - low;
    v.net = end - start;
    v.fall = *std::max_element(c.begin(), lowIt + 1) - low;
    v.rise = end - low;
    const auto num = [](double d) { return QString::number(d, 'f', 1); };
    switch (tone) {
    case 1:
        if (v.range > 1.5)
            v.why = QStringLiteral("moves %1 semitones, level allows 1.5").arg(num(v.range));
        break;
    case 2:
        if (v.rise < 4)
            v.why = QStringLiteral("rises %1 semitones, needs 4").arg(num(v.rise));
        else if (lowAt > n * 3 / 5)
            v.why = QStringLiteral("rises only at the end");
        else if (high - end > 1)
            v.why = QStringLiteral("falls again after the rise");
        else if (v.fall > 2)
            v.why = QStringLiteral("falls %1 semitones before the rise (a dip)").arg(num(v.fall));
        break;
    case 3:
        if (lowAt < n * 3 / 20 || lowAt > n * 17 / 20)
            v.why = QStringLiteral("no dip inside the contour");
        else if (v.fall < 1.5)
            v.why = QStringLiteral("falls %1 semitones into the dip, needs 1.5").arg(num(v.fall));
        else if (v.rise < 3)
            v.why = QStringLiteral("rises %1 semitones out of the dip, needs 3").arg(num(v.rise));
        break;
    case 4:
        if (-v.net < 6 && v.fall < 6)
            v.why = QStringLiteral("falls %1 semitones, needs 6").arg(num(std::max(-v.net, v.fall)));
        else if (end - low > 1)
            v.why = QStringLiteral("rises again after the fall");
        break;
    default:
        v.why = QStringLiteral("no tone %1").arg(tone);
        break;
    }
    v.ok = v.why.isEmpty();
    return v;
}

double TargetHz(int tone, double u)
{
    // Key points of each contour (time 0..1, level 1..5), joined by half cosines so the
    // pitch turns smoothly: 55, 35 from a short low start, 214 with a held start and bottom, 51.
    static const std::vector<Point> contours[] = {
        {{0, 4.9}, {1, 4.9}},
        {{0, 3.0}, {0.2, 2.8}, {1, 5.0}},
        {{0, 2.4}, {0.1, 2.4}, {0.5, 0.7}, {0.62, 0.7}, {1, 4.0}},
        {{0, 5.0}, {0.15, 5.2}, {1, 1.0}},
    };
    const std::vector<Point>& c = contours[std::clamp(tone, 1, 4) - 1];
    u = std::clamp(u, 0.0, 1.0);
    size_t k = 0;
    while (k + 2 < c.size() && u > c[k + 1].u)
        ++k;
    const Point& a = c[k];
    const Point& b = c[k + 1];
    const double t = (u - a.u) / (b.u - a.u);
    return LevelHz(a.level + (b.level - a.level) * (1 - std::cos(kPi * t)) / 2);
}

std::vector<double> Reshape(const std::vector<double>& x, int rate, int tone)
{
    const std::vector<Frame> frames = Track(x, rate);
    const Span span = AudiblePart(frames);
    if (!span.IsValid())
        return x;
    const int hop = rate / FramesPerSecond;
    const qsizetype length = qsizetype(x.size());

    // Voiced runs (gaps of up to two frames bridged) and their smoothed pitch per frame.
    std::vector<double> hz(frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        hz[i] = frames[i].f0;
    const std::vector<double> pitch = Smooth(Bridge(hz));
    struct Run {
        qsizetype from, to; // samples
    };
    // Runs start only where the voicing is clear: the noise of an aspirated onset repeats
    // itself a little, and grains cut from it at a period would buzz. They go on to the last
    // voiced frame, or the fading end of a vowel would keep its old pitch.
    std::vector<Run> runs;
    for (size_t i = 0; i < frames.size();) {
        if (frames[i].f0 <= 0 || frames[i].clarity < 0.75) {
            ++i;
            continue;
        }
        size_t j = i, last = i;
        while (j < frames.size() && (frames[j].f0 > 0 || j - last <= 2)) {
            if (frames[j].f0 > 0)
                last = j;
            ++j;
        }
        if (last - i >= 3)
            runs.push_back({std::max<qsizetype>(0, qsizetype(i) * hop - hop / 2),
                            std::min<qsizetype>(length - 1, qsizetype(last) * hop + hop / 2)});
        i = j;
    }
    const auto periodAt = [&](double t) {
        const double f = std::clamp(t / hop, 0.0, double(pitch.size() - 1));
        const size_t i = size_t(f);
        const double p = i + 1 < pitch.size() ? pitch[i] + (pitch[i + 1] - pitch[i]) * (f - double(i)) : pitch[i];
        return rate / p;
    };
    // Analysis marks: one per period in the voiced runs, each placed where the waveform best
    // matches the period before it; every 10 ms in unvoiced stretches.
    std::vector<double> energy(x.size() + 1, 0.0);
    for (size_t i = 0; i < x.size(); ++i)
        energy[i + 1] = energy[i] + x[i] * x[i];
    const qsizetype smear = rate / 1000;
    const auto envelope = [&](qsizetype i) {
        const qsizetype a = std::clamp<qsizetype>(i - smear, 0, length), b = std::clamp<qsizetype>(i + smear + 1, 0, length);
        return energy[size_t(b)] - energy[size_t(a)];
    };
    struct Mark {
        qsizetype pos;
        int run; // -1 when unvoiced
    };
    std::vector<Mark> marks;
    const qsizetype gap = 2 * hop;
    qsizetype cursor = 0;
    for (int r = 0; r < int(runs.size()); ++r) {
        const Run& run = runs[size_t(r)];
        for (qsizetype p = cursor; p + gap / 2 < run.from; p += gap)
            marks.push_back({p, -1});
        qsizetype m = run.from;
        while (m <= run.to) {
            marks.push_back({m, r});
            const double period = periodAt(double(m));
            const qsizetype predicted = m + qsizetype(std::lround(period));
            const qsizetype half = qsizetype(period / 2), reach = qsizetype(period / 5);
            qsizetype bestAt = predicted;
            double best = -std::numeric_limits<double>::infinity();
            for (qsizetype d = -reach; d <= reach; ++d) {
                double s = 0;
                for (qsizetype i = -half; i <= half; ++i)
                    s += At(x, m + i) * At(x, predicted + d + i);
                if (s > best) {
                    best = s;
                    bestAt = predicted + d;
                }
            }
            m = bestAt;
        }
        // Matching keeps the marks at one point of the cycle; move them all together onto the
        // point where the energy peaks, just after the excitation of the voice, so that each
        // grain holds one excitation and nothing of the old period.
        auto firstMark = size_t(std::find_if(marks.begin(), marks.end(), [r](const Mark& k) { return k.run == r; }) - marks.begin());
        const qsizetype halfPeriod = qsizetype(periodAt(double(marks[firstMark].pos)) / 2);
        qsizetype bestShift = 0;
        double bestScore = -1;
        for (qsizetype d = -halfPeriod; d < halfPeriod; ++d) {
            double score = 0;
            for (size_t k = firstMark; k < marks.size(); ++k)
                score += envelope(marks[k].pos + d);
            if (score > bestScore) {
                bestScore = score;
                bestShift = d;
            }
        }
        for (size_t k = firstMark; k < marks.size(); ++k)
            marks[k].pos = std::clamp<qsizetype>(marks[k].pos + bestShift, 0, length - 1);
        // An unvoiced mark the shift has passed goes; marks stay in order.
        while (firstMark > 0 && marks[firstMark - 1].pos >= marks[firstMark].pos) {
            marks.erase(marks.begin() + qsizetype(firstMark - 1));
            --firstMark;
        }
        cursor = m;
    }
    for (qsizetype p = cursor; p < length; p += gap)
        marks.push_back({p, -1});
    if (marks.size() < 3)
        return x;

    // Synthesis: each grain is two analysis periods under a Hann window, laid down at the
    // target's period. Its level is scaled so the sound keeps its power at a new pitch.
    const auto synthesise = [&](Span audible) {
        // The contour runs a little inside the audible part, so that its edges still show
        // all of it; a rise ends earlier, as a quiet ending sung higher is heard less.
        const double from = double(audible.first) * hop, to = double(audible.last) * hop;
        const double uFrom = from + 0.1 * (to - from);
        // A short vowel still gets a tenth of a second for its contour, heard into its ending.
        const double uTo = std::max(to - (tone == 2 || tone == 3 ? 0.25 : 0.15) * (to - from), uFrom + 0.1 * rate);
        std::vector<double> y(x.size(), 0.0);
        const auto addGrain = [&](size_t k, qsizetype at, double gain) {
            const qsizetype pos = marks[k].pos;
            const qsizetype left = k > 0 ? pos - marks[k - 1].pos : gap;
            const qsizetype right = k + 1 < marks.size() ? marks[k + 1].pos - pos : gap;
            for (qsizetype j = -left + 1; j < right; ++j) {
                const qsizetype o = at + j;
                if (o < 0 || o >= length)
                    continue;
                const double w = j < 0 ? 0.5 + 0.5 * std::cos(kPi * double(j) / double(left))
                                       : 0.5 + 0.5 * std::cos(kPi * double(j) / double(right));
                y[size_t(o)] += gain * w * At(x, pos + j);
            }
        };
        for (size_t k = 0; k < marks.size();) {
            if (marks[k].run < 0) {
                addGrain(k, marks[k].pos, 1.0);
                ++k;
                continue;
            }
            size_t last = k;
            while (last + 1 < marks.size() && marks[last + 1].run == marks[k].run)
                ++last;
            size_t near = k;
            for (double t = double(marks[k].pos); t <= double(marks[last].pos);) {
                while (near < last && std::fabs(double(marks[near + 1].pos) - t) < std::fabs(double(marks[near].pos) - t))
                    ++near;
                const double target = rate / TargetHz(tone, (t - uFrom) / (uTo - uFrom));
                addGrain(near, qsizetype(std::lround(t)), std::sqrt(target / periodAt(double(marks[near].pos))));
                t += target;
            }
            k = last + 1;
        }
        double peakIn = 0, peakOut = 0;
        for (size_t i = 0; i < x.size(); ++i) {
            peakIn = std::max(peakIn, std::fabs(x[i]));
            peakOut = std::max(peakOut, std::fabs(y[i]));
        }
        if (peakOut > 0)
            for (double& v : y)
                v *= peakIn / peakOut;
        return y;
    };
    // A new pitch changes the loudness of the parts (a nasal ending or a glide sung higher is
    // heard less), so the part a listener hears may move. The contour is laid over the audible
    // part of the recording, of the first result, over both or over their overlap, whichever
    // first makes the result show its tone.
    const std::vector<double> first = synthesise(span);
    const std::vector<Frame> firstFrames = Track(first, rate);
    const Span heard = AudiblePart(firstFrames);
    if (Judge(Semitones(firstFrames, AudiblePart(firstFrames)), tone).ok || !heard.IsValid())
        return first;
    const Span tries[] = {heard, {std::max(span.first, heard.first), std::min(span.last, heard.last)},
                          {std::min(span.first, heard.first), std::max(span.last, heard.last)}};
    for (const Span& t : tries) {
        if (!t.IsValid())
            continue;
        std::vector<double> y = synthesise(t);
        const std::vector<Frame> f = Track(y, rate);
        if (Judge(Semitones(f, AudiblePart(f)), tone).ok)
            return y;
    }
    return synthesise(heard);
}

} // namespace ToneContour

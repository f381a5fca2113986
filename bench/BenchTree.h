#pragma once
// What the benchmarks share: where the real data tree is (build/Velmora, or VELMORA_TREE), a
// loading progress that reports nowhere, the median and percentiles of their figures, the
// event loop run until something has happened, and their regression bounds.

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

#include "LoadingSteps.h"

namespace BenchTree {

// The data tree's folder, ending in "/".
QString Path();

// The middle figure (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> v);
// The figure at fraction p (0 to 1) of the sorted figures, the nearest one; 0 for none.
double Percentile(std::vector<double> v, double p);

// Runs the event loop until done() holds or limitMs have passed; false on the limit.
template <typename Done>
bool RunUntil(Done done, qint64 limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// A regression bound on a ratio measured in this run, side by side with its reference: prints
// the ratio beside its bound, and a miss makes the benchmark program end with exit status 1
// once all its benchmarks have run. False for a miss.
bool CheckAtMost(const char* ratio, double measured, double bound);
bool CheckAtLeast(const char* ratio, double measured, double bound);
// Something the benchmark had to measure could not be: printed, and the exit status is 1.
void Fail(const char* what);
// The floor of reading files: each one opened, read whole with read(2) as the kernel hands it
// over, and closed; no reader can be faster. The bytes read.
qint64 ReadWithSystemCalls(const std::vector<QByteArray>& paths);

// Runs measured and its reference in turn, once each per iteration of state, so that a slow
// spell of the machine falls on both alike; prints the medians in milliseconds and checks the
// ratio of the medians against its bound (CheckAtMost). False for a miss.
template <typename Measured, typename Reference>
bool SideBySide(benchmark::State& state, const std::string& ratio, double bound, Measured measured, Reference reference)
{
    std::vector<double> measuredMs;
    std::vector<double> referenceMs;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        reference();
        referenceMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        clock.start();
        measured();
        measuredMs.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const double m = Median(measuredMs);
    const double r = Median(referenceMs);
    state.counters["ms"] = m;
    state.counters["reference_ms"] = r;
    state.counters["ratio"] = r > 0 ? m / r : 0;
    return CheckAtMost(ratio.c_str(), r > 0 ? m / r : 0, bound);
}

// The program's exit status: 1 when a bound was missed or a measure failed, else 0.
int ExitStatus();

// No window: the loading steps report nowhere.
class NoProgress : public LoadProgress {
public:
    void SetMaximum(int step, int maximum) override { m_max[step] = maximum; }
    int Maximum(int step) const override { return m_max[step]; }
    int Value(int step) const override { return m_value[step]; }
    void SetValue(int step, int value) override { m_value[step] = value; }
    void SetCaption(int, const QString&) override {}
    void ProcessEvents() override {}

private:
    int m_max[5]{0, 100, 100, 100, 100};
    int m_value[5]{};
};

} // namespace BenchTree

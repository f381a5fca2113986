// Launch to the start menu, beside a bare Qt window showing a Chinese label: each iteration
// starts the program (or the bare window) as a new process on the desktop platform and waits
// until it ends itself, which it does once its window has the focus and is painted. The
// program's own start-up includes the main window's written 100 ms step.
//
// Needs a display: DISPLAY set (a virtual one will do: xvfb-run -a build/bench/launch_bench).
// The program runs on its data tree in build/Velmora; the learner's Record folder there is used.

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

void LaunchUntilItEnds(benchmark::State& state, const QString& program)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("no display (DISPLAY is not set)");
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("VELMORA_EXIT_AT_MENU"), QStringLiteral("1"));
    std::vector<double> times;
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        process.start(program, {});
        if (!process.waitForFinished(20000) || process.exitCode() != 0) {
            state.SkipWithError("the launch did not end by itself");
            return;
        }
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000);
    }
    std::sort(times.begin(), times.end());
    if (!times.empty())
        state.counters["median_ms"] = times[times.size() / 2];
}

void BM_LaunchToStartMenu(benchmark::State& state) { LaunchUntilItEnds(state, QStringLiteral(VELMORA_EXE)); }
void BM_BareQtWindowWithChineseLabel(benchmark::State& state) { LaunchUntilItEnds(state, QStringLiteral(BARE_LABEL_EXE)); }

} // namespace

BENCHMARK(BM_LaunchToStartMenu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_BareQtWindowWithChineseLabel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

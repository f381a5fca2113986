// Launch to the start menu, beside a bare Qt window showing a Chinese label. Each round starts,
// one after the other, the program, the program without its 100 ms start-up step
// (VELMORA_EXIT_AT_MENU=nowait) and the bare window, each as a new process on the desktop
// platform, and waits until it ends itself, which it does once its window has the focus and
// is painted. Taking the three in turn, round after round, lets a slow spell of the machine
// fall on all of them alike. Prints min, median and max of each and the ratios of the medians.
//
// Needs a display; bench/on_virtual_display.sh gives it one of its own with a window manager:
//   bench/on_virtual_display.sh build/bench/launch_bench
// The program runs on its data tree in build/Velmora; the learner's Record folder there is used.

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTree.h"

namespace {

// The main window's start-up step: a fixed wait before the window and the menu show.
constexpr double StartupStepMs = 100;

struct Contender {
    const char* Name;
    QString Program;
    const char* ExitAtMenu; // VELMORA_EXIT_AT_MENU
    std::vector<double> Ms;
};

// The longest a launch may take: ten times what the program takes on a busy machine. A
// launch that never reaches its window (a start-up that stops at a question, a crash) is
// ended here and fails the benchmark.
constexpr int LaunchLimitMs = 10000;

// Starts program and waits for it to end by itself at its window; its time in ms, or a
// negative number when it ended otherwise. The program's single-instance lock lies in a
// folder of the benchmark's own, so a copy that runs on the same desktop cannot end it early.
double LaunchOnce(const Contender& c)
{
    static const QTemporaryDir lockFolder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("VELMORA_EXIT_AT_MENU"), QString::fromLatin1(c.ExitAtMenu));
    env.insert(QStringLiteral("VELMORA_LOCK_DIR"), lockFolder.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(c.Program, {});
    if (!process.waitForFinished(LaunchLimitMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return -1;
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    // Both say so when they end at their window.
    if (!process.readAllStandardOutput().startsWith("at "))
        return -1;
    return ms;
}

using BenchTree::Median;

void BM_LaunchSideBySide(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("no display (DISPLAY is not set): run it through bench/on_virtual_display.sh");
        return;
    }
    std::array<Contender, 3> contenders{{
        {"program", QStringLiteral(VELMORA_EXE), "1", {}},
        {"program, no 100 ms step", QStringLiteral(VELMORA_EXE), "nowait", {}},
        {"bare Qt window", QStringLiteral(BARE_LABEL_EXE), "1", {}},
    }};
    // A launch that does not end at its window ends the benchmark at once, failed (BenchMain).
    auto failed = [&state](const Contender& c, double ms) {
        if (ms >= 0)
            return false;
        state.SkipWithError((std::string("a launch did not end by itself at its window: ") + c.Name).c_str());
        return true;
    };
    // One start of each first, untimed: the files and fonts are then in the cache for all.
    for (const Contender& c : contenders)
        if (failed(c, LaunchOnce(c)))
            return;
    for (auto _ : state) {
        for (Contender& c : contenders) {
            const double ms = LaunchOnce(c);
            if (failed(c, ms))
                return;
            c.Ms.push_back(ms);
        }
    }
    const double bare = Median(contenders[2].Ms);
    std::printf("\n%-26s %8s %8s %8s %14s\n", "launch (ms)", "min", "median", "max", "median / bare");
    for (const Contender& c : contenders) {
        const double median = Median(c.Ms);
        std::printf("%-26s %8.1f %8.1f %8.1f %14.2f\n", c.Name, *std::min_element(c.Ms.begin(), c.Ms.end()), median,
                    *std::max_element(c.Ms.begin(), c.Ms.end()), median / bare);
    }
    const double withStep = Median(contenders[0].Ms) / (Median(contenders[1].Ms) + StartupStepMs);
    std::printf("program / (no step + %.0f ms), medians: %.2f\n\n", StartupStepMs, withStep);
    // Two goals. The launch without its start-up step within 1.5 x the bare window: not met
    // yet (1.7 on an idle machine, 2.2 on a busy one); the bound holds that against a
    // regression. And the step costing no more than its own wait, in which the window prepares
    // what it shows: the program with it takes 0.9 (busy) to 1.0 (idle) x the launch without
    // it plus 100 ms. The step is a wait the program makes on purpose, so it is held against
    // itself, not against the bare window, beside which the wait alone is 2 to 3 x.
    BenchTree::CheckAtMost("program, no 100 ms step / bare, medians", Median(contenders[1].Ms) / bare, 2.6);
    BenchTree::CheckAtMost("program / (no step + 100 ms), medians", withStep, 1.1);
    state.counters["program_ms"] = Median(contenders[0].Ms);
    state.counters["nowait_ms"] = Median(contenders[1].Ms);
    state.counters["bare_ms"] = bare;
    state.counters["program/bare"] = Median(contenders[0].Ms) / bare;
    state.counters["nowait/bare"] = Median(contenders[1].Ms) / bare;
}

} // namespace

// One iteration is one round of the three launches.
BENCHMARK(BM_LaunchSideBySide)->Unit(benchmark::kMillisecond)->Iterations(21);

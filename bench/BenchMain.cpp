// The one main of every benchmark: an offscreen application (some benchmarks fill widgets),
// then Google Benchmark with its usual command line. Built with BENCH_ON_DISPLAY, it runs on
// the X display when there is one (benchmarks of what appears on screen), offscreen otherwise.
// Exit status 1 when a benchmark missed one of its bounds (BenchTree::CheckAtMost).

#include <QApplication>
#include <benchmark/benchmark.h>

#include "BenchTree.h"

int main(int argc, char** argv)
{
#ifdef BENCH_ON_DISPLAY
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return BenchTree::ExitStatus();
}

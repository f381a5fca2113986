// The one main of every benchmark: an offscreen application (some benchmarks fill widgets),
// then Google Benchmark with its usual command line. Built with BENCH_ON_DISPLAY, it runs on
// the X display when there is one (benchmarks of what appears on screen), offscreen otherwise.
// Exit status 1 when a benchmark missed one of its bounds (BenchTree::CheckAtMost), ended in an
// error (SkipWithError: no display, nothing to measure, a launch that never ended), or when no
// benchmark matched the filter: a run that measured nothing never passes.

#include <QApplication>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

#include "BenchTree.h"

namespace {

// Reports as the command line asks (--benchmark_format) and counts every run that ended in
// an error as a failure.
class FailOnError : public benchmark::BenchmarkReporter {
public:
    explicit FailOnError(benchmark::BenchmarkReporter* shown)
        : m_shown(shown)
    {
    }
    bool ReportContext(const Context& context) override { return m_shown->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.error_occurred)
                BenchTree::Fail((run.benchmark_name() + " measured nothing: " + run.error_message).c_str());
        m_shown->ReportRuns(runs);
    }
    void Finalize() override { m_shown->Finalize(); }

private:
    benchmark::BenchmarkReporter* m_shown;
};

} // namespace

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
    FailOnError reporter(benchmark::CreateDefaultDisplayReporter());
    if (benchmark::RunSpecifiedBenchmarks(&reporter) == 0)
        BenchTree::Fail("no benchmark matches the filter");
    benchmark::Shutdown();
    return BenchTree::ExitStatus();
}

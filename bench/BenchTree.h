#pragma once
// What the benchmarks share: where the real data tree is (build/Velmora, or VELMORA_TREE), a
// loading progress that reports nowhere, and the median and percentiles of their figures.

#include <QString>
#include <vector>

#include "LoadingSteps.h"

namespace BenchTree {

// The data tree's folder, ending in "/".
QString Path();

// The middle figure (the mean of the two middle ones for an even count).
double Median(std::vector<double> v);
// The figure at fraction p (0 to 1) of the sorted figures, the nearest one; 0 for none.
double Percentile(std::vector<double> v, double p);

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

#pragma once
// What the benchmarks over the real data tree share: where the tree is (build/Velmora, or
// VELMORA_TREE) and a loading progress that reports nowhere.

#include <QString>

#include "LoadingSteps.h"

namespace BenchTree {

// The data tree's folder, ending in "/".
QString Path();

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

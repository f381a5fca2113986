#include "BenchTree.h"

#include <QtGlobal>
#include <algorithm>

namespace BenchTree {

QString Path()
{
    const QString tree = qEnvironmentVariable("VELMORA_TREE", QStringLiteral(VELMORA_TREE_DEFAULT));
    return tree.endsWith(QLatin1Char('/')) ? tree : tree + QLatin1Char('/');
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

} // namespace BenchTree

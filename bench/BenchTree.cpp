#include "BenchTree.h"

#include <QtGlobal>

namespace BenchTree {

QString Path()
{
    const QString tree = qEnvironmentVariable("VELMORA_TREE", QStringLiteral(VELMORA_TREE_DEFAULT));
    return tree.endsWith(QLatin1Char('/')) ? tree : tree + QLatin1Char('/');
}

} // namespace BenchTree

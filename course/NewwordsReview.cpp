#include "NewwordsReview.h"

QStringList ReviewListItems(const QStringList& chinese, int count)
{
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items << QStringLiteral("%1. %2").arg(i).arg(chinese.value(i - 1));
    return items;
}

QString ReviewCounterAtLoad(int count) { return QStringLiteral("0 / %1 ").arg(count); }

QString ReviewCounter(int current, int count) { return QStringLiteral("%1 / %2").arg(current).arg(count); }

ReviewButtons ReviewButtonsAt(int current, int count)
{
    if (count <= 1)
        return {};
    return {current > 1, current < count};
}

#include "BlankTrim.h"

QString BlankTrim(const QString& s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s[from] == QLatin1Char(' '))
        ++from;
    while (to > from && s[to - 1] == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

QStringView BlankTrim(QStringView s)
{
    while (!s.isEmpty() && s.front() == QLatin1Char(' '))
        s = s.sliced(1);
    while (!s.isEmpty() && s.back() == QLatin1Char(' '))
        s.chop(1);
    return s;
}

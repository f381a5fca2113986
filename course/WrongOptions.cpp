#include "WrongOptions.h"

#include <QStringList>
#include <algorithm>

QString MeaningSense(const QString& meaning)
{
    QString out;
    int depth = 0;
    for (QChar c : meaning) {
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            depth = std::max(0, depth - 1);
        else if (depth == 0)
            out += c;
    }
    out = out.toLower().simplified();
    if (out.startsWith(QLatin1String("to ")))
        out.remove(0, 3);
    static const QString endMarks = QStringLiteral(" .,;:!?");
    qsizetype from = 0, to = out.size();
    while (from < to && endMarks.contains(out[from]))
        ++from;
    while (to > from && endMarks.contains(out[to - 1]))
        --to;
    return out.mid(from, to - from);
}

bool SharesMeaning(const QString& english, const QString& otherEnglish)
{
    QStringList senses;
    for (const QString& meaning : english.split(QLatin1Char(';')))
        if (const QString sense = MeaningSense(meaning); !sense.isEmpty())
            senses.append(sense);
    for (const QString& meaning : otherEnglish.split(QLatin1Char(';')))
        if (const QString sense = MeaningSense(meaning); !sense.isEmpty() && senses.contains(sense))
            return true;
    return false;
}

bool MayGiveWrongOptions(const QString& chinese, const QString& english, const QString& otherChinese,
    const QString& otherEnglish)
{
    return otherChinese.trimmed() != chinese.trimmed() && !SharesMeaning(english, otherEnglish);
}

#include "Module3WordList.h"

#include "BlankTrim.h"

QString RemoveDots(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s)
        if (c != QLatin1Char('.'))
            out += c;
    return BlankTrim(out);
}

QString RemoveParenthesized(const QString& s)
{
    QString out;
    out.reserve(s.size());
    bool inside = false;
    for (const QChar c : s) {
        if (c == QLatin1Char('(') || c == QChar(0xFF08))
            inside = true;
        else if (c == QLatin1Char(')') || c == QChar(0xFF09))
            inside = false;
        else if (!inside)
            out += c;
    }
    return BlankTrim(out);
}

QString TextBeforeFirstDot(const QString& s)
{
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    return dot >= 1 ? s.left(dot) : QString();
}

QString AfterLeadingDots(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char('.'))
        ++i;
    return s.mid(i);
}

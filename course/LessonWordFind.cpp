#include "LessonWordFind.h"

#include "Module3WordList.h"
#include "Pinyin.h"

namespace {
// 1-based position of what in text from the 1-based position from; 0 when absent.
qsizetype InStr(qsizetype from, const QString& text, const QString& what)
{
    if (what.isEmpty())
        return 0;
    const qsizetype at = text.indexOf(what, from - 1);
    return at < 0 ? 0 : at + 1;
}
} // namespace

QString WordSearchText(const QString& word)
{
    const QString w = RemoveParenthesized(word);
    if (DotsToSpaces(w).contains(QLatin1Char(' ')))
        return TextBeforeFirstDot(AfterLeadingDots(w));
    return RemoveDots(w);
}

WordFindResult FindListWord(const QString& text, const QStringList& words, int row)
{
    if (row < 1 || row > words.size())
        return {};
    qsizetype from = 1;
    qsizetype found = 0;
    for (int j = 1; j <= row; ++j) {
        found = InStr(from, text, WordSearchText(words[j - 1]));
        if (found > 0)
            from = found;
    }
    const QString wanted = WordSearchText(words[row - 1]);
    if (found == 0)
        found = InStr(1, text, wanted);
    if (found == 0)
        return {};
    return {true, int(found - 1), int(wanted.size())};
}

#include "WrongOptionCheck.h"

#include <QFile>

#include "WrongOptions.h"

namespace ContentCheck {

namespace {

struct ListWord {
    int line; // of its pinyin, where the group starts
    QString chinese, english;
};

QList<ListWord> ReadList(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(f.readAll()).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    QList<ListWord> words;
    for (int i = 1; i + 1 < lines.size(); i += 3)
        words.append({i, lines[i].trimmed(), lines[i + 1].trimmed()});
    return words;
}

} // namespace

void CheckWrongOptions(const QString& contentDir, Result& r)
{
    int pairs = 0;
    for (int n = 1; n <= 91; ++n) {
        const QString name = QStringLiteral("Lesson_%1/icwp.txt").arg(n);
        const QList<ListWord> words = ReadList(QStringLiteral("%1/Lessons/Script/%2").arg(contentDir, name));
        QStringList kept;
        for (int i = 0; i < words.size(); ++i) {
            const ListWord& word = words[i];
            bool anySource = false;
            for (int j = 0; j < words.size(); ++j) {
                const ListWord& other = words[j];
                if (j == i)
                    continue;
                if (!MayGiveWrongOptions(word.chinese, word.english, other.chinese, other.english)) {
                    if (j > i)
                        kept << QStringLiteral("%1/%2").arg(word.chinese, other.chinese);
                    continue;
                }
                anySource = true;
                // The draw shows one of the other word's meanings.
                const QStringList shownTexts = other.english.split(QLatin1Char(';'));
                for (const QString& shown : shownTexts)
                    if (SharesMeaning(shown, word.english)) {
                        r.errors << QStringLiteral("%1:%2: the vocabulary test may show \"%3\" of %4 as a wrong answer for %5 \"%6\"")
                                        .arg(name)
                                        .arg(word.line)
                                        .arg(shown.trimmed(), other.chinese, word.chinese, word.english);
                        break;
                    }
            }
            if (!anySource && words.size() > 1)
                r.errors << QStringLiteral("%1:%2: no other word of the lesson may give %3 its wrong options in the vocabulary test")
                                .arg(name)
                                .arg(word.line)
                                .arg(word.chinese);
        }
        pairs += int(kept.size());
        if (!kept.isEmpty())
            r.report << QStringLiteral("Lesson %1: the vocabulary test keeps apart %2").arg(n).arg(kept.join(QLatin1Char(' ')));
    }
    r.report << QStringLiteral("%1 pairs of words of a lesson are kept apart by the vocabulary test").arg(pairs);
}

} // namespace ContentCheck

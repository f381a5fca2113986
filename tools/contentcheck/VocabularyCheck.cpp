#include "VocabularyCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ContentCheck.h"

namespace ContentCheck {

namespace {

QString BlankTrimmed(const QString& s)
{
    qsizetype from = 0, to = s.size();
    while (from < to && s[from] == QLatin1Char(' '))
        ++from;
    while (to > from && s[to - 1] == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

// The lessons write these characters in their citation tone wherever speech changes it (一 yí,
// 不 bú before a fourth tone) or drops it (一个 yí ge, 来不及 lái bu jí); see content/README.md.
struct CitationTone {
    char16_t character;
    const char* syllable;
};
constexpr CitationTone CitationTones[] = {{u'一', "yi1"}, {u'不', "bu4"}, {u'个', "ge4"}};

// "y.i1 g.e0" -> "yi1 ge0": the spelling as Data/entries.txt writes it.
QString Undotted(const QString& pinyin)
{
    QString out = BlankTrimmed(pinyin);
    out.remove(QLatin1Char('.'));
    return out.simplified();
}

} // namespace

bool LoadCommonEntries(const QString& path, CommonEntries& out, QStringList& errors)
{
    bool ok = false;
    const QStringList lines = ReadLines(path, &ok);
    const QString name = QStringLiteral("Data/") + QFileInfo(path).fileName();
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        CommonEntry entry;
        bool known = fields.size() == 4 && !fields[0].isEmpty();
        if (known) {
            entry.reading = fields[1];
            entry.meaning = fields[2];
            const QString& source = fields[3];
            if (source.startsWith(QLatin1String("level "))) {
                entry.level = source.mid(6).toInt();
                known = entry.level > 0;
            } else if (source == QLatin1String("name")) {
                entry.name = true;
            } else {
                known = source == QLatin1String("frequency");
            }
        }
        if (!known) {
            errors << QStringLiteral("%1:%2: not a word, its reading, meaning and source").arg(name).arg(i + 1);
            continue;
        }
        out.insert(fields[0], entry);
    }
    return ok;
}

void CheckPhraseSources(const QString& vocabularyDir, const CommonEntries& entries, QStringList& errors)
{
    for (const PhraseList& list : ReadPhraseLists(vocabularyDir)) {
        QString firstGraded;
        for (const QString& phrase : list.phrases) {
            const auto entry = entries.constFind(phrase);
            if (entry == entries.cend())
                continue;
            if (entry->name)
                errors << list.where + QStringLiteral("%1 is a person's name").arg(phrase);
            if (entry->level > 0 && firstGraded.isEmpty())
                firstGraded = phrase;
        }
        if (!firstGraded.isEmpty() && entries.value(list.phrases.first()).level == 0)
            errors << list.where
                    + QStringLiteral("the list of %1 begins with %2, not with a word of the graded list such as %3")
                          .arg(list.phrases.first().at(0))
                          .arg(list.phrases.first(), firstGraded);
    }
}

void CheckExtraVocabulary(const QString& vocabularyDir, const CommonEntries& entries, const QSet<QString>& stopList,
    QStringList& errors)
{
    const QDir dir(vocabularyDir);
    for (const QString& file : dir.entryList({QStringLiteral("ci*.txt")}, QDir::Files, QDir::Name)) {
        bool ok = false;
        const QStringList lines = ReadLines(dir.filePath(file), &ok);
        for (int i = 0; i + 2 < lines.size(); i += 3) {
            const QString where = QStringLiteral("Vocabulary/%1:%2: ").arg(file).arg(i + 1);
            const QString word = BlankTrimmed(lines[i + 1]);
            const QString reading = Undotted(lines[i]);
            const QString meaning = BlankTrimmed(lines[i + 2]);
            for (const QString& stop : stopList)
                if (word.contains(stop)) {
                    errors << where + QStringLiteral("%1 holds %2 of the stop list").arg(word, stop);
                    break;
                }
            const QStringList syllables = reading.split(QLatin1Char(' '));
            for (qsizetype k = 0; k < word.size() && k < syllables.size(); ++k)
                for (const CitationTone& tone : CitationTones)
                    if (word[k] == QChar(tone.character) && syllables[k] != QLatin1String(tone.syllable))
                        errors << where
                                + QStringLiteral("%1 writes %2 as %3, the lessons as %4")
                                      .arg(word, word.mid(k, 1), syllables[k], QLatin1String(tone.syllable));
            const auto entry = entries.constFind(word);
            if (entry == entries.cend())
                errors << where + QStringLiteral("%1 has no common entry").arg(word);
            else if (entry->name)
                errors << where + QStringLiteral("%1 is a person's name").arg(word);
            else if (entry->reading != reading || entry->meaning != meaning)
                errors << where
                        + QStringLiteral("%1 %2 \"%3\" is not its common entry %4 \"%5\"").arg(word, reading, meaning, entry->reading, entry->meaning);
        }
    }
}

void CheckVocabularySources(const QString& contentDir, QStringList& errors)
{
    const QString vocabulary = contentDir + QStringLiteral("/Vocabulary");
    if (QDir(vocabulary).entryList({QStringLiteral("zi*.txt"), QStringLiteral("ci*.txt")}, QDir::Files).isEmpty())
        return;
    CommonEntries entries;
    if (!LoadCommonEntries(contentDir + QStringLiteral("/Data/entries.txt"), entries, errors) || entries.isEmpty()) {
        errors << QStringLiteral("Data/entries.txt is missing or empty");
        return;
    }
    CheckPhraseSources(vocabulary, entries, errors);
    CheckExtraVocabulary(vocabulary, entries, LoadWordSet(contentDir + QStringLiteral("/Data/stoplist.txt")), errors);
}

} // namespace ContentCheck

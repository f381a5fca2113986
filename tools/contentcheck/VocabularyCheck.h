#pragma once
// Checks the character files' phrase lists and the extra vocabulary against what the vocabulary
// generator knows of each word (Data/entries.txt, written by tools/make_vocabulary.py): a phrase
// list that holds a word of the learner's graded list begins with one, no phrase is a person's
// name, and every extra-vocabulary entry is its word's common entry, holds no word of the stop
// list and writes 一, 不 and 个 in the citation tones the lessons use.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace ContentCheck {

// A word's common entry: the reading and meaning a learner means by it.
struct CommonEntry {
    QString reading; // numbered pinyin without dots, a blank between syllables ("yi1 ge4")
    QString meaning;
    int level = 0; // the graded list's level, 0 for a word the list does not hold
    bool name = false; // a person's name, which no list holds
};
using CommonEntries = QHash<QString, CommonEntry>;

// Reads "word<TAB>reading<TAB>meaning<TAB>source" lines, the source "level <n>", "frequency" or
// "name"; "#" starts a comment line. False when the file cannot be read; a line of another shape
// is reported in errors and skipped.
bool LoadCommonEntries(const QString& path, CommonEntries& out, QStringList& errors);

// The phrase lists of zi*.txt (line pairs: readings, then the character and its phrases, each
// closed by ","): a list that holds a graded word begins with one, and no phrase is a name.
void CheckPhraseSources(const QString& vocabularyDir, const CommonEntries& entries, QStringList& errors);

// The extra vocabulary ci*.txt (three-line groups: pinyin, word, meaning): each entry is its
// word's common entry in reading and meaning, holds no stop-list word, and writes 一 yi1, 不 bu4
// and 个 ge4 wherever speech changes or drops their tone.
void CheckExtraVocabulary(const QString& vocabularyDir, const CommonEntries& entries, const QSet<QString>& stopList,
    QStringList& errors);

// Both checks over a content folder (Vocabulary/, Data/entries.txt, Data/stoplist.txt); nothing
// to check while the folder has no character or vocabulary file.
void CheckVocabularySources(const QString& contentDir, QStringList& errors);

} // namespace ContentCheck

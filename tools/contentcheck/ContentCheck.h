#pragma once
// Checks the course's own text sources (lessons, topic and dialogue scripts) before they are
// encoded: group shape, pinyin spelling, syllable against character count, each character's
// reading, the code page 936 set. Also reports per lesson how the teaching is graded.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace ContentCheck {

// Known readings: character -> toned syllables in numbered form without dots ("hao3", "lv4").
using Readings = QHash<QChar, QSet<QString>>;

// Reads "<char>\t<reading> <reading> ..." lines. False when the file cannot be read.
bool LoadReadings(const QString& path, Readings& out);
// The lines of a UTF-8 content file, without carriage returns and without the last line's end.
QStringList ReadLines(const QString& path, bool* ok);

struct Result {
    QStringList errors;  // "file:line: message"
    QStringList report;  // one line per lesson, then a summary
};

// Checks one three-line-group file. `isText` marks a lesson text (a Chinese line that starts
// with "#" is a heading).
void CheckFile(const QString& path, const QString& displayName, bool isText, const Readings& readings,
    QSet<QString>& syllables, QStringList& errors);

// Checks the dialogue tool's script ("n" number lines, "Chinese = English" lines) against its
// pinyin file, which mirrors it line for line: structure and numbering, code page 936, the
// pinyin of every line, and that no two different lines share a sound file name. Returns the
// number of dialogues.
int CheckDialogScript(const QString& scriptPath, const QString& pinyinPath, const QString& displayName,
    const Readings& readings, QSet<QString>& syllables, QStringList& errors);

// A word list file: one word a line, "#" starts a comment line. Empty when the file cannot be
// read. Used for the stop list, for the words allowed before a lesson teaches them and for the
// words that are never allowed so (their meaning is not the sum of their parts).
QSet<QString> LoadWordSet(const QString& path);

// What the word rules know: the course's words, the lesson that teaches each lesson word in each
// of its readings, the spellings allowed to differ, and the text words allowed without a lesson
// teaching them.
struct WordRules {
    QSet<QString> words; // the lesson new words and the extra vocabulary
    int longest = 1;
    // word -> spelling (numbered pinyin without dots, a blank between syllables) -> the first
    // lesson whose list teaches the word read so
    QHash<QString, QHash<QString, int>> taughtIn;
    QHash<QString, QSet<QString>> spellings; // word -> every spelling it may have
    QSet<QString> allowedUntaught; // excuses only words that no list (taughtIn) teaches so
    QSet<QString> wholeWords; // never excused, whatever allowedUntaught says
    QSet<QString> measureWords; // 个, 刻
    QSet<QString> placeWords; // 上, 面
    void AddWord(const QString& word);
    void Teach(const QString& word, const QString& spelling, int lesson);
    // The first lesson whose list teaches `word` read `spelling`, 0 when none does. A neutral
    // syllable is the toneless form of the same syllable taught with its tone (上 shang0 after a
    // noun is 上 shang4); any other difference is another reading (种 zhong3 "kind" is not
    // 种 zhong4 "to plant"). An empty spelling asks for any reading.
    int TaughtIn(const QString& word, const QString& spelling = {}) const;
    // The length of the word in front when `word` is a word taught up to `lesson` with a
    // measure word or a place word after it (每 in 每个, 街 in 街上, 前 in 前面), else 0.
    // `syllables` (one a character) give the readings; empty asks for any reading.
    int TaughtHeadLength(const QString& word, const QStringList& syllables, int lesson) const;
};

// Reads "word = spelling | spelling" lines ("#" comments): the deliberate second spellings, such
// as a polyphone read by its context. Spellings are numbered pinyin without dots ("hai2").
QHash<QString, QSet<QString>> LoadSpellings(const QString& path);

// Cuts a run of Chinese characters into words: the fewest pieces, each a known word, a doubled
// character (看看) or a single character; among equal cuttings, the one with the fewest words
// that no lesson up to `lesson` teaches, so a word made of taught words counts as taught. With
// the run's syllables (one a character, as in TaughtIn), a word counts as taught only in the
// reading it has there. A taught word with a taught measure word or place word after it
// (每个, 一刻, 街上) is cut in two unless a list teaches the pair or it is a whole word.
QStringList SplitWords(const QString& han, const WordRules& rules, int lesson, const QStringList& syllables = {});

// The phrase lists of the character files zi*.txt in `vocabularyDir` (line pairs: the
// readings, then the character and its phrases, each closed by ","), one for each character
// with phrases: where it stands ("Vocabulary/zi1.txt:2: ", for a message) and its phrases in
// their order, the character included.
struct PhraseList {
    QString where;
    QStringList phrases;
};
QList<PhraseList> ReadPhraseLists(const QString& vocabularyDir);

// Checks the phrase lists of the character files zi*.txt in `vocabularyDir` (line pairs: the
// readings, then the character and its phrases, each closed by ",") against the stop list: no
// phrase may hold a stop word, and no list may begin with a phrase that holds a word of
// `notFirst`.
void CheckPhraseLists(const QString& vocabularyDir, const QSet<QString>& stopList, const QSet<QString>& notFirst, QStringList& errors);

// Checks every lesson and spoken script under the content folder and builds the report.
Result CheckContent(const QString& contentDir, const Readings& readings);

// One numbered-pinyin syllable ("zh.ong1") against the spelling rules: letters, one dot right
// before the vowel that carries the tone mark, a tone digit 0-4. Empty when fine, else why.
QString SyllableProblem(const QString& syllable, const QSet<QString>& validPlain);

} // namespace ContentCheck

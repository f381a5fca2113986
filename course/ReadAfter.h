#pragma once
// Reading aloud after the teacher, word by word: the segmentation of the lesson text at the
// reading position by forward longest match (the lesson's own words first, then the words of
// every lesson), and the syllables of a word taken at its place in the entry that holds it.
// Plain functions over the texts; the lesson text window drives them.

#include <QString>
#include <QStringList>

struct ReadAfterWord {
    bool End{true};       // no Chinese character left
    qsizetype ReadPos{0}; // 1-based position of the word's first character in the text
    QString Word;
    int Entry{0};         // 1-based row of the lesson words, or entry of the course words
    bool FromLesson{false};
    bool WholeWord{false}; // false: the character alone, found only inside a longer entry
};

// The candidates an entry offers at a character: its text without bracketed parts, or, for a
// dotted entry, each of its pieces, that begin with the character.
QStringList ReadAfterCandidates(const QString& entryText, const QString& current);

// The next word at or after readPos (1-based) in text. lessonWords are the viewed lesson's
// new words (Chinese), courseWords the Chinese of the course's lesson entries (never the
// additional vocabulary). A character found in no entry is skipped.
ReadAfterWord SegmentNextWord(const QString& text, qsizetype readPos, const QStringList& lessonWords,
                              const QStringList& courseWords);

// The syllables of word at its place in its entry: the entry's numbered pinyin cut after each
// tone digit (dots dropped), the pieces from the word's position in the entry on, one per
// character. A word the entry does not hold takes the entry's first syllables.
QString WordPinyinInEntry(const QString& word, const QString& entryChinese, const QString& entryPinyin);

// Where the highlight goes: the word's first occurrence from searchFrom (1-based) on, else
// the word's own reading position. Returns a 0-based start.
qsizetype ReadAfterHighlight(const QString& text, const QString& word, qsizetype searchFrom, qsizetype readPos);

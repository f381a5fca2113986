#pragma once
// Searching and growing the character table (State().CharacterTable / CharacterCount).
//
// FindCharacterRecord answers from an index that follows the table whatever changes it: the
// functions below keep it in step, and a change made anywhere else (a record replaced, the
// table shrunk, erased or swapped, the count changed) is noticed at the next look-up, which
// then indexes the table afresh. Code that only reads the table should read it through a
// const reference (std::as_const(State().CharacterTable)): a non-const access counts as a
// change and costs a fresh index.

#include <QString>
#include <QVector>

#include "AppState.h"

// The tables hold at most this many entries; what comes beyond is ignored.
constexpr int TableLimit = 32767;

// 1-based index of the first record whose Character equals ch exactly, or CharacterCount + 1
// when there is none (1 for an empty table). Processes no window events, so no handler can
// run, and close a window, in the middle of a search.
int FindCharacterRecord(const QString& ch);

// The same answer by walking the table in order: the definition the index must agree with
// (tests and the benchmark compare the two).
int FindCharacterRecordLinear(const QString& ch);

// Appends a record as number CharacterCount + 1; false (nothing added) once the table holds
// TableLimit records. A count left above the table's size (the table emptied without its
// count) is brought down to the records there are, so no blank records are made up.
bool AppendCharacterRecord(CharacterRecord record);

// Brings a word learned on-line into the table, counting characters as code points: a
// one-character word (a character beyond U+FFFF included) becomes a record of its
// own (when missing and pinyin is given), a longer one a phrase of its first character's
// record (longest phrases first, duplicates skipped), creating that record from the first
// syllable of pinyin when needed. Words holding any non-Chinese character are ignored.
// pinyin is numbered pinyin such as "n.i3 h.ao3 ".
void AddWordToCharacterTable(const QString& word, const QString& pinyin);

// The reading of a dotted syllable closed by the tone digit tone; a null tone stands for a
// syllable written without any digit (Tone "0", no SoundTone or MarkTone).
CharacterReading MakeReading(const QString& dottedSyllable, QChar tone);

// The readings of a text of numbered syllables closed by their tone digits, blanks and commas
// between them ignored, text after the last digit dropped ("h.ao3 h.ao4" gives two readings).
QVector<CharacterReading> ReadingsFromSyllables(const QString& pinyin);

#pragma once
// Small text functions shared by the whole program: punctuation and bracket stripping before
// words are compared or looked up, the program's own "Chinese character" test, blank
// collapsing, list-number padding and weekday names. All but TextCharacters work on UTF-16
// units, exactly and case-sensitively, and return a new text.

#include <QString>
#include <QStringList>

#include "BlankTrim.h"
#include <QtGlobal>

// The program's "Chinese character": a unit whose signed 16-bit value is not in 0..500 and
// that is not one of the full-width marks ，。；：“”！？、…（）‘’【】《》—·. This is not
// Unicode Han: kana, Cyrillic, full-width Latin and the ideographic space count as Chinese.
bool IsChineseCharacter(QChar c);

// Numbers right-aligned in three characters: 7 -> "  7", 42 -> " 42", 100 -> "100".
// Negative numbers count as below 10.
QString PadNumber(qint16 n);

// Without "/", ".", "(", ")", "\" and the full-width ？！，（）。
QString StripPunctuation(const QString& text);

// Without "(", ")" and the full-width ？！，.
QString StripBracketsAndMarks(const QString& text);

// Without the spans in round brackets (brackets do not nest) and without ";", then blanks
// trimmed at both ends: "a (b) c;d" -> "a  cd".
QString StripParenthesized(const QString& text);

// True as soon as one unit is not a Chinese character; false for an empty text.
bool HasNonHanzi(const QString& text);

// Only the Chinese characters of text.
QString HanziOnly(const QString& text);

// The characters of text in order, one code point each: a character beyond U+FFFF (a
// surrogate pair) stays whole, where walking units would split it into two halves that no
// learner can type or pick. A lone half stands as a character of its own. Rules that take
// "a character" of a text walk these.
QStringList TextCharacters(const QString& text);

// Every run of blanks reduced to one blank.
QString CollapseSpaces(const QString& text);

// Day 1 (Sunday) to 7: the weekday's English name ("Wednsday" is the program's own spelling)
// or Chinese name (星期日 ...); any other day gives an empty text.
QString WeekdayText(bool chinese, qint16 day);

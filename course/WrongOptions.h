#pragma once
// Which words may give the vocabulary test's word its wrong options. A wrong option must never
// say what the word means: 归还 "to return (something borrowed)" shown among the options of
// 还 "to give back; to return" would be marked wrong although it is right. On its own (Qt Core
// only) so that the content check holds every lesson's list to the very rule the test draws by.

#include <QString>

// The sense of one meaning, for comparing it with another: lower case, without its bracketed
// notes and examples ("return (something borrowed)", "last (上个月: last month)"), without a
// leading "to " and with blanks and end marks trimmed. Empty when nothing is left.
QString MeaningSense(const QString& meaning);

// Whether two English texts (meanings separated by ";") share a meaning: some meaning of the
// one has the sense of some meaning of the other.
bool SharesMeaning(const QString& english, const QString& otherEnglish);

// Whether the word `otherChinese` ("otherEnglish") may give the word `chinese` ("english")
// wrong options: not the same Chinese, whose meanings are all right answers for the word
// shown, and no meaning in common.
bool MayGiveWrongOptions(const QString& chinese, const QString& english, const QString& otherChinese,
    const QString& otherEnglish);

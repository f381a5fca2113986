#pragma once
// The vocabulary test against every lesson's word list. The test shows a word with its meanings
// and, as wrong options, meanings of other words of the lesson; a wrong option that says what
// the word means marks a right answer wrong.

#include "ContentCheck.h"

namespace ContentCheck {

// Holds each lesson's list to the test's own draw (course/WrongOptions.h): no meaning the draw
// may show as a wrong option for a word shares that word's sense, and every word has some
// other word to take its wrong options from. Reports, per lesson, the pairs of words that
// share a meaning, which the draw keeps apart.
void CheckWrongOptions(const QString& contentDir, Result& r);

} // namespace ContentCheck

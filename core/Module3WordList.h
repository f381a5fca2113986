#pragma once
// Text routines of the word panel's list: they take apart an entry when the learner clicks a
// word (drop bracketed notes, drop dots, cut at dots). None changes its argument.

#include <QString>

// Every character but "." in order, then blank-trimmed.
QString RemoveDots(const QString& s);
// s without its bracketed spans ("(" or "（" opens, ")" or "）" closes, no nesting: the first
// closing bracket ends the span; an unclosed span runs to the end), then blank-trimmed.
QString RemoveParenthesized(const QString& s);
// The text before the first "." when that dot is not the first character; else "".
QString TextBeforeFirstDot(const QString& s);
// s from its first character that is not "." (not trimmed); "" when s is empty or all dots.
QString AfterLeadingDots(const QString& s);

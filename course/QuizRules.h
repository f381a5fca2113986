#pragma once
// What the fill-in exercise and the sentence quiz share without a window: their draws and
// their correctness rate.
//
// Draws: every rule that draws takes a QuizDraw, a source of numbers in [0, 1); the windows
// pass QuizDraws(), the program's one random source, and tests of the rules pass a script.

#include <QString>
#include <functional>

using QuizDraw = std::function<double()>;

// The draws the quiz windows use: the program's random source (platform Clock.h), seeded
// once; tests of the windows script it there.
QuizDraw QuizDraws();

// Int(draw * n) + 1, kept within 1..n (1 when n < 1).
int DrawIndex(const QuizDraw& draw, int n);
// Int(draw * n), kept within 0..n - 1 (0 when n < 1).
int DrawSlot(const QuizDraw& draw, int n);

// right / (right + wrong) rounded to two decimals, a half going to the even neighbour, times
// 100: a whole number from 0 to 100; 0 before any answer.
int QuizRate(int right, int wrong);
// The rate as its label shows it and the pass test reads it back.
inline QString QuizRateText(int rate) { return QString::number(rate); }
constexpr int QuizPassMark = 80;

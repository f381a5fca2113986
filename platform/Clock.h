#pragma once
// Time for the whole program. In production it is the wall clock and timers are Qt timers;
// tests switch to a manual clock on which time moves only through Advance(), which fires
// every timer that falls due, in order, processing posted events after each.

#include <QDateTime>
#include <functional>

namespace Clock {
QDateTime Now();
// Milliseconds on a monotonic scale (manual: the manual time).
qint64 Msecs();

bool IsManual();
void UseManual(const QDateTime& start);
void UseReal();
// Manual clock only: moves time on by ms, firing due timers and delivering posted events.
void Advance(qint64 ms);
// Manual clock only: sets the wall-clock reading without firing anything.
void SetNow(const QDateTime& now);
// Manual clock only: a modal loop entered from a timer that Advance fired would stop time
// until the loop ends. The modal form calls this from inside its loop: the timers due up to
// that Advance's target go on firing while stillWaiting() is true.
void ContinueWhile(const std::function<bool()>& stillWaiting);
} // namespace Clock

// The program's one source of pseudo-random numbers in [0, 1). It is seeded once: the first
// Randomize() seeds it from the clock, and every later Randomize() leaves the sequence running,
// because seeding again from a clock that has not moved on would repeat the same draws.
// Tests fix the sequence with Seed() or script the draws exactly with UseScript().
namespace Random {
void Randomize();
// A fixed sequence (tests); counts as seeded, so Randomize() keeps it.
void Seed(quint32 seed);
double Rnd();
// Int(Rnd * n) + 1: an index 1..n (1 for n < 1).
int Index(int n);
// Int(Rnd * n): a slot 0..n - 1 (0 for n < 1).
int Slot(int n);
// Tests: every draw comes from script (values in [0, 1)) until UseGenerator().
void UseScript(std::function<double()> script);
void UseGenerator();
} // namespace Random

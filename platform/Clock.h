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

// Pseudo-random numbers in [0, 1), seeded from the clock on Randomize(); tests may seed.
namespace Random {
void Randomize();
void Seed(quint32 seed);
double Rnd();
} // namespace Random

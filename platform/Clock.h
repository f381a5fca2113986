#pragma once
// Time for the whole program. In production it is the wall clock and timers are Qt timers;
// tests switch to a manual clock on which time moves only through Advance(), which fires
// every timer that falls due, in order, processing posted events after each.

#include <QDateTime>

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
} // namespace Clock

// Pseudo-random numbers in [0, 1), seeded from the clock on Randomize(); tests may seed.
namespace Random {
void Randomize();
void Seed(quint32 seed);
double Rnd();
} // namespace Random

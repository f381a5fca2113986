#include "Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "Timer.h"

namespace {
struct ClockState {
    bool manual{false};
    QDateTime manualNow;
    qint64 manualMs{0};
    QElapsedTimer real;
    QList<QPointer<Timer>> timers;
    std::mt19937 rng{12345u};
    bool seeded{false};
    std::function<double()> script;
    qint64 pendingTarget{-1}; // the target of the Advance under way, -1 when none
};
ClockState& S()
{
    static ClockState s;
    if (!s.real.isValid())
        s.real.start();
    return s;
}
} // namespace

namespace Clock {
QDateTime Now() { return S().manual ? S().manualNow : QDateTime::currentDateTime(); }
qint64 Msecs() { return S().manual ? S().manualMs : S().real.elapsed(); }
bool IsManual() { return S().manual; }
void UseManual(const QDateTime& start)
{
    S().manual = true;
    S().manualNow = start;
    S().manualMs = 0;
}
void UseReal() { S().manual = false; }
void SetNow(const QDateTime& now) { S().manualNow = now; }

namespace {
// Fires, in order, every timer due up to target, while goOn (when given) still says so.
void FireDue(qint64 target, const std::function<bool()>& goOn)
{
    ClockState& s = S();
    for (;;) {
        if (goOn && !goOn())
            return;
        Timer* next = nullptr;
        for (const auto& t : s.timers)
            if (t && t->Enabled() && t->Due() >= 0 && t->Due() <= target && (!next || t->Due() < next->Due()))
                next = t;
        if (!next)
            return;
        const qint64 step = next->Due() - s.manualMs;
        s.manualMs = next->Due();
        s.manualNow = s.manualNow.addMSecs(step);
        next->FireManual();
        QCoreApplication::processEvents();
    }
}
} // namespace

void Advance(qint64 ms)
{
    ClockState& s = S();
    const qint64 target = s.manualMs + ms;
    const qint64 outerTarget = s.pendingTarget;
    s.pendingTarget = target;
    QCoreApplication::processEvents();
    FireDue(target, {});
    s.manualNow = s.manualNow.addMSecs(target - s.manualMs);
    s.manualMs = target;
    QCoreApplication::processEvents();
    s.pendingTarget = outerTarget;
}

void ContinueWhile(const std::function<bool()>& stillWaiting)
{
    ClockState& s = S();
    if (!s.manual || s.pendingTarget < 0)
        return;
    FireDue(s.pendingTarget, stillWaiting);
}
} // namespace Clock

namespace ClockInternal {
void Track(Timer* t)
{
    S().timers.removeAll(nullptr);
    if (!S().timers.contains(t))
        S().timers.append(t);
}
void Untrack(Timer* t) { S().timers.removeAll(t); }
} // namespace ClockInternal

namespace Random {
void Randomize()
{
    ClockState& s = S();
    if (s.seeded)
        return;
    s.seeded = true;
    s.rng.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch() ^ s.real.nsecsElapsed()));
}
void Seed(quint32 seed)
{
    S().seeded = true;
    S().rng.seed(seed);
}
double Rnd()
{
    ClockState& s = S();
    if (s.script)
        return std::clamp(s.script(), 0.0, 1.0 - 1e-12);
    return std::generate_canonical<double, 32>(s.rng) * (1.0 - 1e-12);
}
int Index(int n) { return n < 1 ? 1 : std::min(n, static_cast<int>(std::floor(Rnd() * n)) + 1); }
int Slot(int n) { return n < 1 ? 0 : std::min(n - 1, static_cast<int>(std::floor(Rnd() * n))); }
void UseScript(std::function<double()> script) { S().script = std::move(script); }
void UseGenerator() { S().script = nullptr; }
} // namespace Random

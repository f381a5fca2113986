#include "Timer.h"

#include <QTimer>

#include "Clock.h"

namespace ClockInternal {
void Track(Timer* t);
void Untrack(Timer* t);
} // namespace ClockInternal

Timer::Timer(QObject* parent, int intervalMs, bool enabled)
    : QObject(parent)
    , m_interval(intervalMs)
{
    SetEnabled(enabled);
}

Timer::~Timer() { ClockInternal::Untrack(this); }

void Timer::SetInterval(int ms)
{
    m_interval = ms;
    if (m_enabled)
        Restart();
}

void Timer::SetEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on)
        Restart();
    else
        Stop();
}

void Timer::Restart()
{
    Stop();
    if (m_interval <= 0)
        return;
    if (Clock::IsManual()) {
        m_due = Clock::Msecs() + m_interval;
        ClockInternal::Track(this);
        return;
    }
    if (!m_qtimer) {
        m_qtimer = new QTimer(this);
        m_qtimer->setTimerType(Qt::PreciseTimer);
        connect(m_qtimer, &QTimer::timeout, this, [this] {
            if (m_enabled)
                emit Tick();
        });
    }
    m_qtimer->start(m_interval);
}

void Timer::Stop()
{
    m_due = -1;
    if (m_qtimer)
        m_qtimer->stop();
    ClockInternal::Untrack(this);
}

void Timer::FireManual()
{
    if (!m_enabled || m_interval <= 0)
        return;
    m_due += m_interval;
    emit Tick();
}

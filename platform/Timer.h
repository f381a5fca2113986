#pragma once
// The old timer control: Interval in ms (0 never fires), Enabled. Enabling a running timer
// does not restart it; changing the interval of a running timer restarts its count.
// Runs on Qt precise timers, or on the manual test clock (Clock::UseManual).

#include <QObject>

class QTimer;

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr, int intervalMs = 0, bool enabled = false);
    ~Timer() override;

    int Interval() const { return m_interval; }
    void SetInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);

    // Manual clock bookkeeping (used by Clock::Advance).
    qint64 Due() const { return m_due; }
    void FireManual();

signals:
    void Tick();

private:
    void Restart();
    void Stop();

    int m_interval{0};
    bool m_enabled{false};
    qint64 m_due{-1};
    QTimer* m_qtimer{nullptr};
};

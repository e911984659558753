#pragma once

#include "game/tickschedule.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>

// The clock of the system that never jumps (std::chrono::steady_clock).
class SteadyClock : public MonotonicClock
{
public:
    time_point now() const override;
};

// A periodic timer that keeps its period against a monotonic clock. Its
// wake-ups come from a precise Qt timer of the same period, so that they are
// shared with the other timers of that period started with it; each wake-up
// emits the timeouts due by then (see ticksDue), and one that comes whole
// periods late emits the missed ones at once. Qt's timer wakes no earlier
// than a due time, but for the microseconds between Qt's reading of the
// clock and ours after it has moved its own phase; such a wake-up emits
// nothing and the next one catches up. Once stopped, also by a handler of
// one of its timeouts, the timer emits nothing further.
class SteadyTimer : public QObject
{
    Q_OBJECT

public:
    // The clock must outlive the timer.
    SteadyTimer(std::chrono::milliseconds period, const MonotonicClock &clock,
                QObject *parent = nullptr);

    // The first timeout is due one period from now; starting a running
    // timer begins its period anew.
    void start();
    void stop();
    bool isActive() const { return m_active; }
    std::chrono::milliseconds period() const { return m_period; }

signals:
    void timeout();

private:
    void wakeUp();

    const std::chrono::milliseconds m_period;
    const MonotonicClock &m_clock;
    QTimer m_wake;
    MonotonicClock::time_point m_due{};
    bool m_active = false;
    // Counts the starts, so that a run of timeouts ends when a handler stops
    // the timer, also when it starts it again.
    std::uint64_t m_run = 0;
};

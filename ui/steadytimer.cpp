#include "ui/steadytimer.h"

#include <algorithm>

MonotonicClock::time_point SteadyClock::now() const
{
    return std::chrono::steady_clock::now();
}

SteadyTimer::SteadyTimer(std::chrono::milliseconds period, const MonotonicClock &clock,
                         QObject *parent)
    : QObject(parent)
    , m_period(period)
    , m_clock(clock)
{
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, &SteadyTimer::wakeUp);
}

void SteadyTimer::start()
{
    m_active = true;
    ++m_run;
    m_due = m_clock.now() + m_period;
    armForNextDue();
}

void SteadyTimer::stop()
{
    m_active = false;
    ++m_run;
    m_wake.stop();
}

void SteadyTimer::wakeUp()
{
    if (!m_active)
        return;
    const TickRun due = ticksDue(m_due, m_period, m_clock.now());
    m_due = due.nextDue;
    const std::uint64_t run = m_run;
    for (int tick = 0; tick < due.ticks; ++tick) {
        emit timeout();
        if (run != m_run)
            return;
    }
    armForNextDue();
}

// Rounded up to the millisecond of the precise timer: the wake-up never
// comes before the due time, and so always runs a tick.
void SteadyTimer::armForNextDue()
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_due - m_clock.now());
    m_wake.start(std::max(left, std::chrono::milliseconds(0)));
}

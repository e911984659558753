#include "platform/steadytimer.h"

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
    m_wake.setTimerType(Qt::PreciseTimer);
    m_wake.setInterval(period);
    connect(&m_wake, &QTimer::timeout, this, &SteadyTimer::wakeUp);
}

void SteadyTimer::start()
{
    m_active = true;
    ++m_run;
    // Read before Qt reads its own clock: the first due time comes no later
    // than Qt's first wake-up.
    m_due = m_clock.now() + m_period;
    m_wake.start();
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
    for (int tick = 0; tick < due.ticks && run == m_run; ++tick)
        emit timeout();
}

// TimerB's Qt timer keeps its period against the monotonic clock: a wake-up
// that comes whole periods late emits the missed timeouts at once, at most
// four; a stopped timer emits nothing further, also in the middle of such a
// run. The clock is the test's; the wake-ups are real precise timers.

#include "platform/steadytimer.h"
#include "support/fakemonotonicclock.h"
#include "support/trywait.h"

#include <QSignalSpy>
#include <QTest>

#include <chrono>

using namespace std::chrono_literals;

namespace {

constexpr auto Period = 16ms;
// Bound of every wait: a wake-up is due within a period of real time.
constexpr int WaitMilliseconds = 5000;

} // namespace

class TestSteadyTimer : public QObject
{
    Q_OBJECT

private slots:
    void aLateWakeUpEmitsTheMissedTimeoutsAtOnceAndKeepsThePhase();
    void aWakeUpFarTooLateEmitsFourAndDropsTheRest();
    void aTimerStoppedByOneOfItsTimeoutsEmitsNoFurtherOne();
    void aTimerRestartedByOneOfItsTimeoutsBeginsItsPeriodAnew();
    void aStoppedTimerEmitsNothing();

private:
    // Waits until a second timer on the same clock has woken: the timer under
    // test had its chance to wake by then too.
    void waitForOtherWakeUps(FakeMonotonicClock &clock);
};

void TestSteadyTimer::waitForOtherWakeUps(FakeMonotonicClock &clock)
{
    SteadyTimer witness(Period, clock);
    QSignalSpy woken(&witness, &SteadyTimer::timeout);
    witness.start();
    clock.time += Period;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(woken.count(), 1, WaitMilliseconds);
}

void TestSteadyTimer::aLateWakeUpEmitsTheMissedTimeoutsAtOnceAndKeepsThePhase()
{
    FakeMonotonicClock clock;
    const auto start = clock.time;
    SteadyTimer timer(Period, clock);
    QSignalSpy timeouts(&timer, &SteadyTimer::timeout);
    timer.start();
    QVERIFY(timer.isActive());
    // Due at 16 ms; woken at 50 ms, the ticks of 16, 32 and 48 ms run.
    clock.time = start + 50ms;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(timeouts.count(), 3, WaitMilliseconds);
    // The next is due at 64 ms, one period after the last due tick, not
    // one period after the wake-up at 50 ms.
    clock.time = start + 64ms;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(timeouts.count(), 4, WaitMilliseconds);
    QVERIFY(timer.isActive());
}

void TestSteadyTimer::aWakeUpFarTooLateEmitsFourAndDropsTheRest()
{
    FakeMonotonicClock clock;
    const auto start = clock.time;
    SteadyTimer timer(Period, clock);
    QSignalSpy timeouts(&timer, &SteadyTimer::timeout);
    timer.start();
    // Ten ticks due (16 to 160 ms): four run, six are dropped.
    clock.time = start + 10 * Period + 1ms;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(timeouts.count(), 4, WaitMilliseconds);
    clock.time = start + 11 * Period;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(timeouts.count(), 5, WaitMilliseconds);
}

void TestSteadyTimer::aTimerStoppedByOneOfItsTimeoutsEmitsNoFurtherOne()
{
    FakeMonotonicClock clock;
    SteadyTimer timer(Period, clock);
    int timeouts = 0;
    connect(&timer, &SteadyTimer::timeout, &timer, [&] {
        if (++timeouts == 2)
            timer.stop();
    });
    timer.start();
    clock.time += 4 * Period;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(timeouts, 2, WaitMilliseconds);
    QVERIFY(!timer.isActive());
    waitForOtherWakeUps(clock);
    QCOMPARE(timeouts, 2);
}

void TestSteadyTimer::aTimerRestartedByOneOfItsTimeoutsBeginsItsPeriodAnew()
{
    FakeMonotonicClock clock;
    SteadyTimer timer(Period, clock);
    int timeouts = 0;
    connect(&timer, &SteadyTimer::timeout, &timer, [&] {
        if (++timeouts == 1) {
            timer.stop();
            timer.start();
        }
    });
    timer.start();
    clock.time += 4 * Period;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(timeouts, 1, WaitMilliseconds);
    QVERIFY(timer.isActive());
    // Restarted at the wake-up: the next tick is due one period later.
    clock.time += Period;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(timeouts, 2, WaitMilliseconds);
}

void TestSteadyTimer::aStoppedTimerEmitsNothing()
{
    FakeMonotonicClock clock;
    SteadyTimer timer(Period, clock);
    QSignalSpy timeouts(&timer, &SteadyTimer::timeout);
    timer.start();
    timer.stop();
    QVERIFY(!timer.isActive());
    clock.time += 4 * Period;
    waitForOtherWakeUps(clock);
    QCOMPARE(timeouts.count(), 0);
}

QTEST_GUILESS_MAIN(TestSteadyTimer)
#include "test_steadytimer.moc"

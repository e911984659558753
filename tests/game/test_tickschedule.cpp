// The ball timer keeps its period against the monotonic clock: a late
// wake-up runs the ticks it missed, at most four, and the phase never moves
// with the wake-up.

#include "game/tickschedule.h"

#include <QTest>

#include <chrono>

using namespace std::chrono_literals;

namespace {

constexpr std::chrono::nanoseconds Period = 16ms;
const MonotonicClock::time_point Due = MonotonicClock::time_point(1h);

} // namespace

class TickScheduleTest : public QObject
{
    Q_OBJECT

private slots:
    // A wake-up ahead of its time runs nothing and keeps the due time.
    void aWakeUpBeforeTheDueTimeRunsNoTick()
    {
        const TickRun run = ticksDue(Due, Period, Due - 1ns);
        QCOMPARE(run.ticks, 0);
        QVERIFY(run.nextDue == Due);
    }

    void aWakeUpLessThanAPeriodLateRunsOneTickDueOnePeriodAfterTheLast_data()
    {
        QTest::addColumn<qint64>("lateNs");
        QTest::newRow("on time") << qint64(0);
        QTest::newRow("3 ms late") << qint64(3'000'000);
        QTest::newRow("just under a period late") << qint64(15'999'999);
    }

    // The next tick is due one period after the due tick, not after the
    // wake-up: a late wake-up does not slow the ball down.
    void aWakeUpLessThanAPeriodLateRunsOneTickDueOnePeriodAfterTheLast()
    {
        QFETCH(qint64, lateNs);
        const TickRun run = ticksDue(Due, Period, Due + std::chrono::nanoseconds(lateNs));
        QCOMPARE(run.ticks, 1);
        QVERIFY(run.nextDue == Due + Period);
    }

    void aWakeUpWholePeriodsLateRunsTheMissedTicksAtOnce_data()
    {
        QTest::addColumn<qint64>("lateNs");
        QTest::addColumn<int>("ticks");
        QTest::newRow("one period") << qint64(16'000'000) << 2;
        QTest::newRow("two and a half periods") << qint64(40'000'000) << 3;
        QTest::newRow("three periods") << qint64(48'000'000) << 4;
        QTest::newRow("just under four periods") << qint64(63'999'999) << 4;
    }

    void aWakeUpWholePeriodsLateRunsTheMissedTicksAtOnce()
    {
        QFETCH(qint64, lateNs);
        QFETCH(int, ticks);
        const TickRun run = ticksDue(Due, Period, Due + std::chrono::nanoseconds(lateNs));
        QCOMPARE(run.ticks, ticks);
        QVERIFY(run.nextDue == Due + ticks * Period);
    }

    // Beyond four ticks the rest are dropped, and the phase stays: the next
    // tick is due one period after the last dropped one.
    void moreThanFourMissedTicksRunFourAndDropTheRestOnTheSamePhase()
    {
        const TickRun run = ticksDue(Due, Period, Due + 10 * Period + 5ms);
        QCOMPARE(run.ticks, MaxTicksPerWakeUp);
        QCOMPARE(MaxTicksPerWakeUp, 4);
        QVERIFY(run.nextDue == Due + 11 * Period);
    }

    // Over half a minute of wake-ups that come up to just over three periods
    // late, the ticks run are exactly the ticks that fell due: 62.5 a second
    // at 16 ms.
    void lateWakeUpsLoseNoTickOverAGame()
    {
        const MonotonicClock::time_point start = Due;
        MonotonicClock::time_point due = start + Period;
        MonotonicClock::time_point now = start;
        const MonotonicClock::time_point end = start + 30s;
        long ticks = 0;
        unsigned lateness = 12345;
        while (now < end) {
            // A fixed sequence of lateness from 0 to just over 3 periods.
            lateness = lateness * 1103515245u + 12345u;
            now = due + std::chrono::microseconds((lateness >> 8) % 50'000);
            const TickRun run = ticksDue(due, Period, now);
            QVERIFY(run.ticks >= 1);
            ticks += run.ticks;
            due = run.nextDue;
        }
        const long fallenDue = static_cast<long>((now - start) / Period);
        QCOMPARE(ticks, fallenDue);
        QVERIFY(ticks >= static_cast<long>(30s / Period));
    }
};

QTEST_APPLESS_MAIN(TickScheduleTest)
#include "test_tickschedule.moc"

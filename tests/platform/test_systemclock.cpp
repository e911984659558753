// The game clock reads the local time of day, in the zone the program runs
// in, not the UTC of the system clock. The test runs in a zone 5:30 ahead of
// UTC, so that a reading in UTC differs in hours and minutes.

#include "platform/systemclock.h"

#include <QDateTime>
#include <QTest>

#include <ctime>

class TestSystemClock : public QObject
{
    Q_OBJECT

private slots:
    void theClockReadsTheLocalTimeOfDay();
};

void TestSystemClock::theClockReadsTheLocalTimeOfDay()
{
    // The zone is the test's own, whatever the platform it runs on.
    qputenv("TZ", "Asia/Kolkata");
    tzset();
    const SystemClock clock;
    // A second may turn between the two readings; then read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QTime before = QDateTime::currentDateTime().time();
        const TimeOfDay now = clock.now();
        const QTime after = QDateTime::currentDateTime().time();
        if (before.second() != after.second())
            continue;
        QCOMPARE(now, (TimeOfDay{after.hour(), after.minute(), after.second()}));
        QVERIFY(QDateTime::currentDateTime().offsetFromUtc() == 5 * 3600 + 30 * 60);
        return;
    }
    QFAIL("the second turned during every reading");
}

QTEST_APPLESS_MAIN(TestSystemClock)
#include "test_systemclock.moc"

// The ball keeps its speed when the program wakes late: the main window's
// TimerB runs one TimerB_Timer, one step of the ball, for every period of
// the monotonic clock, the missed ones at once (at most four), and none
// once the game has stopped. The clock is the test's.

#include "support/mainwindowfixture.h"
#include "support/trywait.h"

#include <QPushButton>
#include <QTest>

#include <chrono>

using namespace std::chrono_literals;

namespace {

constexpr auto Period = 16ms;
constexpr int WaitMilliseconds = 5000;
// "Anfänger": 8 twips right and 11 down per step, from (2280, 1200).
constexpr float StartLeft = 2280;
constexpr float StartTop = 1200;

} // namespace

class TestBallSpeed : public QObject
{
    Q_OBJECT

private slots:
    void aLateWakeUpMovesTheBallByTheStepsItMissed();
    void aWakeUpFarTooLateMovesTheBallByFourStepsAtMost();
};

void TestBallSpeed::aLateWakeUpMovesTheBallByTheStepsItMissed()
{
    MainWindowFixture w(DefaultWahl, MainWindowFixture::FakeTicks);
    QVERIFY(w.start());
    QtToolkit &ball = w.window->toolkit();
    w.window->findChild<QPushButton *>(QStringLiteral("cmdLos"))->click();
    // Three periods and a little: three steps in one wake-up.
    w.ticks->time += 3 * Period + 2ms;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(ball.ballTop(), StartTop + 3 * 11, WaitMilliseconds);
    QCOMPARE(ball.ballLeft(), StartLeft + 3 * 8);
    // The fourth step is due at four periods, not a period after the wake-up.
    w.ticks->time += Period - 2ms;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(ball.ballTop(), StartTop + 4 * 11, WaitMilliseconds);
    QCOMPARE(ball.ballLeft(), StartLeft + 4 * 8);
}

void TestBallSpeed::aWakeUpFarTooLateMovesTheBallByFourStepsAtMost()
{
    MainWindowFixture w(DefaultWahl, MainWindowFixture::FakeTicks);
    QVERIFY(w.start());
    QtToolkit &ball = w.window->toolkit();
    w.window->findChild<QPushButton *>(QStringLiteral("cmdLos"))->click();
    w.ticks->time += 20 * Period;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(ball.ballTop(), StartTop + 4 * 11, WaitMilliseconds);
    // The next step is due one period after the twentieth.
    w.ticks->time += Period;
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(ball.ballTop(), StartTop + 5 * 11, WaitMilliseconds);
    QCOMPARE(ball.ballLeft(), StartLeft + 5 * 8);
}

QTEST_MAIN(TestBallSpeed)
#include "test_ballspeed.moc"

#include "support/gamefixture.h"

#include <QTest>

#include <cmath>

class BallTest : public QObject
{
    Q_OBJECT

    struct Position
    {
        float left, top;
        int stepX, stepY;
    };

    static Position after(GameFixture &f)
    {
        return {f.toolkit.left, f.toolkit.top, f.form.state().StepX, f.form.state().StepY};
    }

    static void setUp(GameFixture &f, float left, float top, int stepX, int stepY)
    {
        f.toolkit.left = left;
        f.toolkit.top = top;
        f.form.state().StepX = static_cast<std::int16_t>(stepX);
        f.form.state().StepY = static_cast<std::int16_t>(stepY);
    }

private slots:
    void theFirstTicksMoveRightAndDownAtTheLevelsSpeed_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::addColumn<QList<float>>("lefts");
        QTest::addColumn<QList<float>>("tops");
        QTest::newRow("Anfänger") << QByteArray("\"Anf\xe4nger\"") << QList<float>{2288, 2296, 2304}
                                  << QList<float>{1211, 1222, 1233};
        QTest::newRow("Fortgeschrittener") << QByteArray("\"Fortgeschrittener\"")
                                           << QList<float>{2290, 2300, 2310} << QList<float>{1215, 1230, 1245};
        QTest::newRow("Profi") << QByteArray("\"Profi\"") << QList<float>{2295, 2310, 2325}
                               << QList<float>{1225, 1250, 1275};
    }
    void theFirstTicksMoveRightAndDownAtTheLevelsSpeed()
    {
        // One step per tick on both axes, from the start position (2280, 1200).
        QFETCH(QByteArray, level);
        QFETCH(QList<float>, lefts);
        QFETCH(QList<float>, tops);
        GameFixture f(wahlFile({level, "0,\"a\"", "0,\"b\"", "0,\"c\""}));
        for (int tick = 0; tick < 3; ++tick) {
            f.form.TimerB_Timer();
            QCOMPARE(f.toolkit.left, lefts[tick]);
            QCOMPARE(f.toolkit.top, tops[tick]);
        }
    }

    void theUpperLeftCornerTurnsBothStepsInOneTick()
    {
        // Top and left hold in the same tick (left on equality): the ball leaves diagonally.
        GameFixture f;
        setUp(f, 1344, 23, -8, -11);
        f.form.TimerB_Timer();
        QCOMPARE(f.toolkit.left, 1336.0f);
        QCOMPARE(f.toolkit.top, 12.0f);
        f.form.TimerB_Timer();
        QCOMPARE(f.toolkit.top, 1.0f);
        QCOMPARE(f.form.state().StepX, std::int16_t(-8));
        f.form.TimerB_Timer();
        QCOMPARE(f.toolkit.left, 1320.0f);
        QCOMPARE(f.toolkit.top, -10.0f);
        QCOMPARE(f.form.state().StepX, std::int16_t(8));
        QCOMPARE(f.form.state().StepY, std::int16_t(11));
        f.form.TimerB_Timer();
        QCOMPARE(f.toolkit.left, 1328.0f);
        QCOMPARE(f.toolkit.top, 1.0f);
    }

    void theBottomAndRightBoundsHoldOnTheWorkedTicks()
    {
        // In a 4800 × 3840 window: bottom bounce on tick 104, right bounce on tick 209.
        GameFixture f;
        for (int tick = 1; tick <= 209; ++tick) {
            f.form.TimerB_Timer();
            if (tick == 103)
                QCOMPARE(f.form.state().StepY, std::int16_t(11));
            if (tick == 104) {
                QCOMPARE(f.toolkit.top, 2344.0f);
                QCOMPARE(f.form.state().StepY, std::int16_t(-11));
            }
            if (tick == 105)
                QCOMPARE(f.toolkit.top, 2333.0f);
            if (tick == 208)
                QCOMPARE(f.form.state().StepX, std::int16_t(8));
        }
        QCOMPARE(f.toolkit.left, 3952.0f);
        QCOMPARE(f.form.state().StepX, std::int16_t(-8));
    }

    void everyBoundHoldsOnEquality_data()
    {
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::addColumn<int>("stepX");
        QTest::addColumn<int>("stepY");
        QTest::addColumn<int>("stepXAfter");
        QTest::addColumn<int>("stepYAfter");
        // The 4800 × 3840 window bounds the ball's edges at 4700 (right) and 3090 (bottom).
        QTest::newRow("right") << 3942.0f << 1000.0f << 8 << 11 << -8 << 11;
        QTest::newRow("bottom") << 2000.0f << 2329.0f << 8 << 11 << 8 << -11;
        QTest::newRow("top") << 2000.0f << 11.0f << 8 << -11 << 8 << 11;
        QTest::newRow("left") << 1328.0f << 1000.0f << -8 << 11 << 8 << 11;
        QTest::newRow("one short of right") << 3941.0f << 1000.0f << 8 << 11 << 8 << 11;
        QTest::newRow("one short of bottom") << 2000.0f << 2328.0f << 8 << 11 << 8 << 11;
        QTest::newRow("one short of top") << 2000.0f << 12.0f << 8 << -11 << 8 << -11;
        QTest::newRow("one short of left") << 1329.0f << 1000.0f << -8 << 11 << -8 << 11;
        QTest::newRow("fractional past left") << 1327.5f << 1000.0f << -8 << 11 << 8 << 11;
    }
    void everyBoundHoldsOnEquality()
    {
        // Every test is less-than-or-equal on the position the same tick has written.
        QFETCH(float, left);
        QFETCH(float, top);
        QFETCH(int, stepX);
        QFETCH(int, stepY);
        QFETCH(int, stepXAfter);
        QFETCH(int, stepYAfter);
        GameFixture f;
        setUp(f, left, top, stepX, stepY);
        f.form.TimerB_Timer();
        const Position p = after(f);
        QCOMPARE(p.left, left + static_cast<float>(stepX));
        QCOMPARE(p.top, top + static_cast<float>(stepY));
        QCOMPARE(p.stepX, stepXAfter);
        QCOMPARE(p.stepY, stepYAfter);
    }

    void aBallBelowTheBottomBoundJittersInPlaceAndKeepsGoingSideways()
    {
        // A window made smaller leaves the ball beyond the bound: StepY flips on every tick.
        GameFixture f;
        setUp(f, 2000, 2800, 8, 11);
        for (int tick = 0; tick < 6; ++tick)
            f.form.TimerB_Timer();
        QCOMPARE(f.toolkit.top, 2800.0f);
        QCOMPARE(f.toolkit.left, 2048.0f);
    }

    void aWindowTooNarrowForTheBallTurnsStepXTwiceAndKeepsItsSign()
    {
        // Right and left hold in one tick: two negations keep the sign.
        GameFixture f;
        f.toolkit.outerWidth = 1500;
        setUp(f, 1312, 1000, 8, 11);
        f.form.TimerB_Timer();
        QCOMPARE(f.toolkit.left, 1320.0f);
        QCOMPARE(f.form.state().StepX, std::int16_t(8));
    }

    void zeroStepsLeaveTheBallStandingAndStayZero()
    {
        // Negating 0 gives 0: a ball without steps stands still even at a bound.
        GameFixture f;
        setUp(f, 1320, 0, 0, 0);
        for (int tick = 0; tick < 3; ++tick)
            f.form.TimerB_Timer();
        QCOMPARE(f.toolkit.left, 1320.0f);
        QCOMPARE(f.toolkit.top, 0.0f);
        QCOMPARE(f.form.state().StepX, std::int16_t(0));
        QCOMPARE(f.form.state().StepY, std::int16_t(0));
    }

    void theBoundsAreReadAnewOnEveryTick()
    {
        // A larger window moves the right bound from the next tick on.
        GameFixture f;
        setUp(f, 3936, 1000, 8, 11);
        f.toolkit.outerWidth = 4810;
        f.form.TimerB_Timer();
        QCOMPARE(f.form.state().StepX, std::int16_t(8));
        f.toolkit.outerWidth = 4700;
        f.form.TimerB_Timer();
        QCOMPARE(f.form.state().StepX, std::int16_t(-8));
    }

    void aTickReadsBackWhatItWroteAsTheWindowHoldsIt()
    {
        // Top, then left, are moved; the tests read height, outer height, top; width, outer
        // width, left; top; x1, left; every read after a write sees what the window holds.
        GameFixture f;
        f.toolkit.snapsToPixels = true;
        setUp(f, 2280, 1200, 8, 11);
        f.toolkit.trace.clear();
        f.form.TimerB_Timer();
        const std::vector<std::string> expected{
            "ballTop = 1200", "setBallTop 1211", "ballLeft = 2280", "setBallLeft 2288",
            "ballHeight = 750", "windowOuterHeight = 3840", "ballTop = 1215",
            "ballWidth = 750", "windowOuterWidth = 4800", "ballLeft = 2295",
            "ballTop = 1215", "lineX1 = 1320", "ballLeft = 2295"};
        QCOMPARE(f.toolkit.trace, expected);
    }

    void theBoundsAreTestedOnThePositionTheWindowHolds_data()
    {
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::addColumn<int>("stepX");
        QTest::addColumn<int>("stepY");
        QTest::addColumn<float>("outerWidth");
        QTest::addColumn<int>("stepXAfter");
        QTest::addColumn<int>("stepYAfter");
        // Each bound is missed by the sum the tick wrote and reached by the whole pixel
        // the window holds: 2336 is held as 2340, 3938 as 3945, 4 as 0, 1327 as 1320.
        QTest::newRow("bottom") << 2000.0f << 2325.0f << 8 << 11 << 4800.0f << 8 << -11;
        QTest::newRow("right") << 3930.0f << 1500.0f << 8 << 11 << 4795.0f << -8 << 11;
        QTest::newRow("top") << 2000.0f << 15.0f << 8 << -11 << 4800.0f << 8 << 11;
        QTest::newRow("left") << 1335.0f << 1500.0f << -8 << 11 << 4800.0f << 8 << 11;
    }
    void theBoundsAreTestedOnThePositionTheWindowHolds()
    {
        // A tick that tested the sums it computed instead of reading the ball would miss these.
        QFETCH(float, left);
        QFETCH(float, top);
        QFETCH(int, stepX);
        QFETCH(int, stepY);
        QFETCH(float, outerWidth);
        QFETCH(int, stepXAfter);
        QFETCH(int, stepYAfter);
        GameFixture f;
        f.toolkit.snapsToPixels = true;
        f.toolkit.outerWidth = outerWidth;
        setUp(f, left, top, stepX, stepY);
        f.form.TimerB_Timer();
        QCOMPARE(f.form.state().StepX, std::int16_t(stepXAfter));
        QCOMPARE(f.form.state().StepY, std::int16_t(stepYAfter));
        QCOMPARE(std::fmod(f.toolkit.left, 15.0f), 0.0f);
        QCOMPARE(std::fmod(f.toolkit.top, 15.0f), 0.0f);
    }

    void resizingStretchesOnlyTheLowerEndOfTheLine()
    {
        // Form_Resize sets y2 of Line1 to the outer height; the left wall stays at 1320.
        GameFixture f;
        f.toolkit.outerHeight = 4321;
        f.form.Form_Resize();
        QCOMPARE(f.toolkit.y2, 4321.0f);
        QCOMPARE(f.toolkit.x1, 1320.0f);
    }
};

QTEST_GUILESS_MAIN(BallTest)
#include "test_ball.moc"

#include "support/gamefixture.h"

#include <QTest>

namespace {

// Where the ball stands, in twips, and its steps.
struct Ball
{
    float left, top;
    int stepX, stepY;
    bool operator==(const Ball &other) const = default;
};

char *toString(const Ball &ball)
{
    return QTest::toString(QStringLiteral("(%1, %2) stepping (%3, %4)")
                               .arg(ball.left).arg(ball.top).arg(ball.stepX).arg(ball.stepY));
}

Ball after(GameFixture &f)
{
    return {f.toolkit.left, f.toolkit.top, f.form.state().StepX, f.form.state().StepY};
}

void setUp(GameFixture &f, Ball ball)
{
    f.toolkit.left = ball.left;
    f.toolkit.top = ball.top;
    f.form.state().StepX = static_cast<std::int16_t>(ball.stepX);
    f.form.state().StepY = static_cast<std::int16_t>(ball.stepY);
}

} // namespace

Q_DECLARE_METATYPE(Ball)

class BallTest : public QObject
{
    Q_OBJECT

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
        setUp(f, {1344, 23, -8, -11});
        const Ball ticks[] = {{1336, 12, -8, -11}, {1328, 1, -8, -11}, {1320, -10, 8, 11}, {1328, 1, 8, 11}};
        for (const Ball &expected : ticks) {
            f.form.TimerB_Timer();
            QCOMPARE(after(f), expected);
        }
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

    void aStepTurnsWheneverItsBoundHolds_data()
    {
        QTest::addColumn<Ball>("start");
        QTest::addColumn<Ball>("end");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<float>("outerWidth");
        QTest::addColumn<bool>("snaps");
        const auto row = [](const char *name, Ball start, Ball end, int ticks = 1, float outerWidth = 4800,
                            bool snaps = false) { QTest::newRow(name) << start << end << ticks << outerWidth << snaps; };
        // The 4800 × 3840 window bounds the ball's edges at 4700 (right) and 3090 (bottom).
        row("right", {3942, 1000, 8, 11}, {3950, 1011, -8, 11});
        row("bottom", {2000, 2329, 8, 11}, {2008, 2340, 8, -11});
        row("top", {2000, 11, 8, -11}, {2008, 0, 8, 11});
        row("left", {1328, 1000, -8, 11}, {1320, 1011, 8, 11});
        row("one short of right", {3941, 1000, 8, 11}, {3949, 1011, 8, 11});
        row("one short of bottom", {2000, 2328, 8, 11}, {2008, 2339, 8, 11});
        row("one short of top", {2000, 12, 8, -11}, {2008, 1, 8, -11});
        row("one short of left", {1329, 1000, -8, 11}, {1321, 1011, -8, 11});
        row("fractional past left", {1327.5f, 1000, -8, 11}, {1319.5f, 1011, 8, 11});
        // Missed by the sum the tick wrote, reached by the whole pixel the window holds, a
        // multiple of 15 twips: 2336 is held as 2340, 3938 as 3945, 4 as 0, 1327 as 1320.
        row("bottom held at a pixel", {2000, 2325, 8, 11}, {2010, 2340, 8, -11}, 1, 4800, true);
        row("right held at a pixel", {3930, 1500, 8, 11}, {3945, 1515, -8, 11}, 1, 4795, true);
        row("top held at a pixel", {2000, 15, 8, -11}, {2010, 0, 8, 11}, 1, 4800, true);
        row("left held at a pixel", {1335, 1500, -8, 11}, {1320, 1515, 8, 11}, 1, 4800, true);
        // A window made smaller leaves the ball below the bound: StepY turns on every tick.
        row("below the bottom", {2000, 2800, 8, 11}, {2048, 2800, 8, 11}, 6);
        // Right and left hold in one tick: two turns keep the sign.
        row("window too narrow", {1312, 1000, 8, 11}, {1320, 1011, 8, 11}, 1, 1500);
        // Turning 0 gives 0: a ball without steps stands still even at a bound.
        row("no steps", {1320, 0, 0, 0}, {1320, 0, 0, 0}, 3);
    }
    void aStepTurnsWheneverItsBoundHolds()
    {
        // Every bound is less-than-or-equal, tested on the position the window holds once the
        // same tick has written it.
        QFETCH(Ball, start);
        QFETCH(Ball, end);
        QFETCH(int, ticks);
        QFETCH(float, outerWidth);
        QFETCH(bool, snaps);
        GameFixture f;
        f.toolkit.outerWidth = outerWidth;
        f.toolkit.snapsToPixels = snaps;
        setUp(f, start);
        for (int tick = 0; tick < ticks; ++tick)
            f.form.TimerB_Timer();
        QCOMPARE(after(f), end);
    }

    void theBoundsAreReadAnewOnEveryTick()
    {
        // A larger window moves the right bound from the next tick on.
        GameFixture f;
        setUp(f, {3936, 1000, 8, 11});
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
        setUp(f, {2280, 1200, 8, 11});
        f.toolkit.trace.clear();
        f.form.TimerB_Timer();
        const std::vector<std::string> expected{
            "ballTop = 1200", "setBallTop 1211", "ballLeft = 2280", "setBallLeft 2288",
            "ballHeight = 750", "windowOuterHeight = 3840", "ballTop = 1215",
            "ballWidth = 750", "windowOuterWidth = 4800", "ballLeft = 2295",
            "ballTop = 1215", "lineX1 = 1320", "ballLeft = 2295"};
        QCOMPARE(f.toolkit.trace, expected);
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

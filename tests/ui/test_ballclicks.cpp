#include "uitestsupport.h"

#include <QWindow>

namespace {

enum class Gesture { Click, DoubleClick, DoubleClickThenClick, RightClick };

// Real input on the main window: press and release go to the ball's
// current place; a double click as press, release, double click, release.
void perform(Hopsala &window, Gesture gesture)
{
    QWindow *handle = window.windowHandle();
    const QPoint at = centreInWindow(window.findChild<QWidget *>(QStringLiteral("Ball")));
    switch (gesture) {
    case Gesture::Click:
        QTest::mouseClick(handle, Qt::LeftButton, {}, at);
        break;
    case Gesture::DoubleClick:
        QTest::mouseDClick(handle, Qt::LeftButton, {}, at);
        break;
    case Gesture::DoubleClickThenClick:
        QTest::mouseDClick(handle, Qt::LeftButton, {}, at);
        QTest::mouseClick(handle, Qt::LeftButton, {}, at);
        break;
    case Gesture::RightClick:
        QTest::mouseDClick(handle, Qt::RightButton, {}, at);
        break;
    }
}

} // namespace

class TestBallClicks : public QObject
{
    Q_OBJECT

private slots:
    void clicksOnTheBallCountDuringAGame_data();
    void clicksOnTheBallCountDuringAGame();
    void noClickCountsWhileNoGameRuns();
    void aClickCountsWhenTheBallSlidAwayBeforeTheRelease();
    void aLevelChoiceDuringAGameStopsItWithoutABox();
};

Q_DECLARE_METATYPE(Gesture)

void TestBallClicks::clicksOnTheBallCountDuringAGame_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<QString>("doubleClicks");
    QTest::addColumn<QString>("clicks");
    QTest::newRow("double click") << Gesture::DoubleClick << "1" << "1";
    QTest::newRow("lone click") << Gesture::Click << "0" << "1";
    QTest::newRow("double click, then click") << Gesture::DoubleClickThenClick << "1" << "2";
    QTest::newRow("right button") << Gesture::RightClick << "0" << "0";
}

// A double click gives one click for its first press and one double click;
// its second press and release give nothing more.
void TestBallClicks::clicksOnTheBallCountDuringAGame()
{
    QFETCH(Gesture, gesture);
    QFETCH(QString, doubleClicks);
    QFETCH(QString, clicks);
    MainWindowFixture f;
    QVERIFY(f.start());
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    QVERIFY(f.timerActive("TimerZ"));
    perform(*f.window, gesture);
    QCOMPARE(f.caption("lblPunkte"), doubleClicks);
    QCOMPARE(f.caption("lblPunkte2"), clicks);
}

// Clicks count only while a game runs: not before the first, not after a level choice.
void TestBallClicks::noClickCountsWhileNoGameRuns()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    perform(*f.window, Gesture::DoubleClickThenClick);
    QCOMPARE(f.caption("lblPunkte"), QString());
    QCOMPARE(f.caption("lblPunkte2"), QString());
    f.control<QAction>("mnuFor")->trigger();
    perform(*f.window, Gesture::DoubleClickThenClick);
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("0"));
    QCOMPARE(f.caption("lblPunkte2"), QStringLiteral("0"));
}

// The ball keeps the mouse from the press on: a release after it has moved
// on still completes the click.
void TestBallClicks::aClickCountsWhenTheBallSlidAwayBeforeTheRelease()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    QWindow *handle = f.window->windowHandle();
    const QPoint pressedAt = centreInWindow(f.control("Ball"));
    QTest::mousePress(handle, Qt::LeftButton, {}, pressedAt);
    f.window->toolkit().setBallLeft(3600);
    f.window->toolkit().setBallTop(2000);
    QVERIFY(!f.control("Ball")->geometry().contains(f.control("Ball")->parentWidget()->mapFrom(
        f.window.get(), pressedAt)));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, pressedAt);
    QCOMPARE(f.caption("lblPunkte2"), QStringLiteral("1"));
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("0"));
}

// A level choice stops a running game with no end report, and stores the level.
void TestBallClicks::aLevelChoiceDuringAGameStopsItWithoutABox()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    ModalAnswerer answerer;
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    perform(*f.window, Gesture::DoubleClick);
    QVERIFY(f.timerActive("TimerZ") && f.timerActive("TimerB"));
    f.control<QAction>("mnuPro")->trigger();
    QVERIFY(!f.timerActive("TimerZ"));
    QVERIFY(!f.timerActive("TimerB"));
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("0"));
    QVERIFY(f.control<QAction>("mnuPro")->isChecked());
    QVERIFY(!f.control<QAction>("mnuAnf")->isChecked());
    // A box would have been shown, and answered, within the handler.
    QVERIFY(answerer.seen.isEmpty());
    QVERIFY(f.wahlBytes().startsWith("\"Profi\"\r\n"));
}

QTEST_MAIN(TestBallClicks)
#include "test_ballclicks.moc"

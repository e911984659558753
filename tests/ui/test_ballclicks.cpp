#include "support/mainwindowfixture.h"
#include "support/modalanswerer.h"
#include "support/widgetinput.h"
#include "ui/twips.h"

#include <QStyleHints>
#include <QTest>
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

enum class Spot { Ball, Beside, Return }; // Return presses "Los" from the keyboard

// The left button at one point of the main window, pressed and released at
// times of the test's choosing and delivered as the window system delivers
// them, so that Qt pairs presses into double clicks as it does for real
// input. Before each press the ball is put under the point or just beside
// it, as when the moving ball arrives under a still pointer.
class StillPointer
{
public:
    explicit StillPointer(Hopsala &window)
        : m_window(window)
        , m_client(window.centralWidget())
        , m_at(m_client->width() - 60, 100)
    {
        QTest::lastMouseTimestamp += 10 * QTest::mouseDoubleClickInterval;
    }

    ~StillPointer() { QTest::lastMouseTimestamp += 10 * QTest::mouseDoubleClickInterval; }

    void click(Spot spot, int afterMs)
    {
        if (spot == Spot::Return)
            return QTest::keyClick(m_window.windowHandle(), Qt::Key_Return);
        constexpr int HalfBall = 25;
        constexpr int Gap = 3;
        const int left = spot == Spot::Ball ? m_at.x() - HalfBall : m_at.x() + Gap;
        m_window.toolkit().setBallLeft(twipsFromPixels(left));
        m_window.toolkit().setBallTop(twipsFromPixels(m_at.y() - HalfBall));
        send(QEvent::MouseButtonPress, Qt::LeftButton, afterMs);
        send(QEvent::MouseButtonRelease, Qt::NoButton, 30);
    }

private:
    void send(QEvent::Type type, Qt::MouseButtons buttons, int afterMs)
    {
        QWindow *handle = m_window.windowHandle();
        const QPoint local = m_client->mapTo(&m_window, m_at);
        QTest::lastMouseTimestamp += afterMs;
        qt_handleMouseEvent(handle, local, handle->mapToGlobal(local), buttons, Qt::LeftButton,
                            type, {}, QTest::lastMouseTimestamp);
        QCoreApplication::processEvents();
    }

    Hopsala &m_window;
    QWidget *m_client;
    QPoint m_at;
};

// Counts the double-click events that Qt hands to a widget.
class DoubleClickEvents : public QObject
{
public:
    explicit DoubleClickEvents(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::MouseButtonDblClick;
        return false;
    }
};

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
    void onlyTwoQuickPressesOnTheBallMakeADoubleClick_data();
    void onlyTwoQuickPressesOnTheBallMakeADoubleClick();
    void aTapIsAClickAndADoubleTapOnTheBallADoubleClick_data();
    void aTapIsAClickAndADoubleTapOnTheBallADoubleClick();
};

Q_DECLARE_METATYPE(Gesture)
Q_DECLARE_METATYPE(QList<Spot>)

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

void TestBallClicks::onlyTwoQuickPressesOnTheBallMakeADoubleClick_data()
{
    QTest::addColumn<QList<Spot>>("presses");
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<QString>("doubleClicks");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<int>("qtDoubleClicksOnBall");
    const Spot ball = Spot::Ball;
    const Spot beside = Spot::Beside;
    QTest::newRow("beside, then on the ball") << QList{beside, ball} << 100 << "0" << "1" << 1;
    QTest::newRow("beside, then twice on the ball")
        << QList{beside, ball, ball} << 100 << "1" << "1" << 1;
    QTest::newRow("beside, then three times on the ball")
        << QList{beside, ball, ball, ball} << 100 << "1" << "2" << 2;
    QTest::newRow("twice on the ball") << QList{ball, ball} << 100 << "1" << "1" << 1;
    QTest::newRow("on the ball, then beside") << QList{ball, beside} << 100 << "0" << "1" << 0;
    QTest::newRow("on the ball, beside, on the ball")
        << QList{ball, beside, ball} << 100 << "0" << "2" << 0;
    QTest::newRow("twice on the ball, too slowly") << QList{ball, ball} << 600 << "0" << "2" << 0;
    QTest::newRow("on the ball, a new game by Return, on the ball")
        << QList{ball, Spot::Return, ball} << 100 << "0" << "1" << 1;
}

// A double click on the ball needs both of its presses on the ball: Qt pairs
// presses per window, and a pair whose first press went beside the ball is
// a first click on the ball. So the double clicks never outnumber the clicks.
void TestBallClicks::onlyTwoQuickPressesOnTheBallMakeADoubleClick()
{
    QFETCH(QList<Spot>, presses);
    QFETCH(int, gapMs);
    QFETCH(QString, doubleClicks);
    QFETCH(QString, clicks);
    QFETCH(int, qtDoubleClicksOnBall);
    MainWindowFixture f;
    QVERIFY(f.start());
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    // The test moves the ball itself.
    f.control<SteadyTimer>("TimerB")->stop();
    DoubleClickEvents qtDoubleClicks(f.control("Ball"));
    {
        StillPointer pointer(*f.window);
        for (Spot spot : presses)
            pointer.click(spot, gapMs);
    }
    QCOMPARE(qtDoubleClicks.count, qtDoubleClicksOnBall);
    QCOMPARE(f.caption("lblPunkte"), doubleClicks);
    QCOMPARE(f.caption("lblPunkte2"), clicks);
    QCOMPARE(f.bell->rings, doubleClicks.toInt());
}

void TestBallClicks::aTapIsAClickAndADoubleTapOnTheBallADoubleClick_data()
{
    QTest::addColumn<QList<Spot>>("taps");
    QTest::addColumn<QString>("doubleClicks");
    QTest::addColumn<QString>("clicks");
    QTest::newRow("twice on the ball") << QList{Spot::Ball, Spot::Ball} << "1" << "1";
    QTest::newRow("beside, then on the ball") << QList{Spot::Beside, Spot::Ball} << "0" << "1";
}

// Taps pair as presses do, within Qt's touch double-tap distance, which is
// wider than a mouse's: fingers rarely land twice on one pixel. No tap
// counts twice through the mouse events Qt makes of it.
void TestBallClicks::aTapIsAClickAndADoubleTapOnTheBallADoubleClick()
{
    QFETCH(QList<Spot>, taps);
    QFETCH(QString, doubleClicks);
    QFETCH(QString, clicks);
    MainWindowFixture f;
    QVERIFY(f.start());
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    f.control<SteadyTimer>("TimerB")->stop();
    static QPointingDevice *const finger = QTest::createTouchDevice();
    const QWidget *ball = f.control("Ball");
    // Two taps on the ball further apart than a mouse's double-click distance.
    const QPoint apart(2 * QGuiApplication::styleHints()->mouseDoubleClickDistance(), 0);
    QVERIFY(QGuiApplication::styleHints()->touchDoubleTapDistance() >= apart.x());
    QPoint onBall = centreInWindow(ball) - apart / 2;
    for (Spot spot : taps) {
        const QPoint at = spot == Spot::Ball ? onBall : onBall - QPoint(ball->width(), 0);
        QTest::touchEvent(f.window->windowHandle(), finger).press(0, at);
        QTest::touchEvent(f.window->windowHandle(), finger).release(0, at);
        onBall += apart;
    }
    QCOMPARE(f.caption("lblPunkte"), doubleClicks);
    QCOMPARE(f.caption("lblPunkte2"), clicks);
}

QTEST_MAIN(TestBallClicks)
#include "test_ballclicks.moc"

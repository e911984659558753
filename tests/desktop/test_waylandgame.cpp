// The real main window as a native Wayland client, run by wayland_test.py
// under a weston of its own, played with Qt's test input on its window.

#include "platform/steadytimer.h"
#include "support/programfolder.h"
#include "support/recordingbell.h"
#include "support/trywait.h"
#include "support/widgetinput.h"
#include "ui/hopsala.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr float TwipsPerPixel = 15;
constexpr float RightMargin = 100;
constexpr float BottomMargin = 750;

struct BallPlace
{
    float left;
    float top;
};

// On the axis that coordinate reads: the place from which the ball first
// stepped back, and the place before it; none until the ball has turned.
template<typename Coordinate>
std::optional<std::pair<float, float>> lastTwoBeforeTurning(const std::vector<BallPlace> &places,
                                                            Coordinate coordinate)
{
    for (std::size_t i = 2; i < places.size(); ++i) {
        if (coordinate(places[i]) < coordinate(places[i - 1]))
            return std::pair(coordinate(places[i - 2]), coordinate(places[i - 1]));
    }
    return std::nullopt;
}

} // namespace

class TestWaylandGame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void aGameStartedThroughTheWindowBouncesTheBallByItsOuterSizeWithDecorations();
};

void TestWaylandGame::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
}

// On Wayland Qt draws the window's title bar itself: the outer size that the
// ball's bounds come from holds it, and a game started by a click on "Los"
// moves the ball until it turns at the right and at the bottom bound.
void TestWaylandGame::aGameStartedThroughTheWindowBouncesTheBallByItsOuterSizeWithDecorations()
{
    const ProgramFolder folder(wahlFile({"\"Profi\"", "0,\"unbekannt\"", "0,\"unbekannt\"", "0,\"unbekannt\""}));
    // Nothing to hear in this test: the bell sounds nowhere.
    Hopsala window({.settingsPlace = {folder.path().toStdString()}, .bell = std::make_unique<RecordingBell>()});
    window.load();
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    HOPSALA_TRY_VERIFY(window.frameGeometry().height() > window.geometry().height() + 10);

    auto *timerB = window.findChild<SteadyTimer *>(QStringLiteral("TimerB"));
    std::vector<BallPlace> places;
    QtToolkit &toolkit = window.toolkit();
    // Connected after the game's own handler: each entry is a step's result.
    connect(timerB, &SteadyTimer::timeout, this,
            [&] { places.push_back({toolkit.ballLeft(), toolkit.ballTop()}); });
    const QWidget *los = window.findChild<QPushButton *>(QStringLiteral("cmdLos"));
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centreInWindow(los));
    QVERIFY(timerB->isActive());

    // Profi's steps lead right and down: the first step back on an axis is
    // the turn at its bound.
    auto left = [](const BallPlace &place) { return place.left; };
    auto top = [](const BallPlace &place) { return place.top; };
    HOPSALA_TRY_VERIFY_WITH_TIMEOUT(lastTwoBeforeTurning(places, left) && lastTwoBeforeTurning(places, top),
                             15000);

    const QRect frame = window.frameGeometry();
    const float rightBound = static_cast<float>(frame.width()) * TwipsPerPixel - RightMargin;
    const float bottomBound = static_cast<float>(frame.height()) * TwipsPerPixel - BottomMargin;
    const auto [beforeRight, atRight] = *lastTwoBeforeTurning(places, left);
    const float ballSize = toolkit.ballWidth();
    QVERIFY2(beforeRight + ballSize < rightBound && rightBound <= atRight + ballSize,
             qPrintable(QStringLiteral("turned at left %1 after %2; right bound %3 of outer width %4 px")
                            .arg(atRight).arg(beforeRight).arg(rightBound).arg(frame.width())));
    const auto [beforeBottom, atBottom] = *lastTwoBeforeTurning(places, top);
    QVERIFY2(beforeBottom + ballSize < bottomBound && bottomBound <= atBottom + ballSize,
             qPrintable(QStringLiteral("turned at top %1 after %2; bottom bound %3 of outer height %4 px")
                            .arg(atBottom).arg(beforeBottom).arg(bottomBound).arg(frame.height())));
}

QTEST_MAIN(TestWaylandGame)
#include "test_waylandgame.moc"

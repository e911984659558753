#include "platform/canberrabell.h"
#include "support/mainwindowfixture.h"
#include "support/modalanswerer.h"
#include "support/trywait.h"
#include "support/widgetinput.h"

#include <QTemporaryDir>
#include <QTest>

#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class TestBell : public QObject
{
    Q_OBJECT

private slots:
    void aGameRingsOncePerDoubleClickAndOnceAtItsEnd();
    void aBellThatCannotSoundGivesWayToTheWindowSystemBell();
    void theDesktopBellGivesUpWhenItsSoundLayerCannotOpen();
    void aSoundServerThatNeverAnswersHoldsUpNoExit();
};

// The beeps of a game reach the bell: one per double click while the game
// runs, none for a single click or before the game, one when time is up.
void TestBell::aGameRingsOncePerDoubleClickAndOnceAtItsEnd()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    clickBall(*f.window, true);
    QCOMPARE(f.bell->rings, 0);

    f.clock->time = {10, 20, 5};
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    clickBall(*f.window, true);
    clickBall(*f.window, false);
    clickBall(*f.window, true);
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("2"));
    QCOMPARE(f.bell->rings, 2);

    ModalAnswerer answerer(QStringLiteral("Jörg"));
    f.clock->time = {10, 20, 35};
    HOPSALA_TRY_COMPARE(answerer.seen.size(), 2);
    QCOMPARE(f.bell->rings, 3);
    QCOMPARE(f.windowSystemBell->rings, 0);
}

// When the bell cannot sound, the window system's bell sounds instead, and
// the game goes on as if nothing had happened.
void TestBell::aBellThatCannotSoundGivesWayToTheWindowSystemBell()
{
    MainWindowFixture f;
    f.bell->sounds = false;
    QVERIFY(f.start());
    ModalAnswerer answerer;
    QTest::mouseClick(f.control("cmdLos"), Qt::LeftButton);
    clickBall(*f.window, true);
    clickBall(*f.window, true);
    QCOMPARE(f.bell->rings, 2);
    QCOMPARE(f.windowSystemBell->rings, 2);
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("2"));
    QVERIFY(f.timerActive("TimerZ"));
    QVERIFY(answerer.seen.isEmpty());
    QCOMPARE(f.terminations, 0);
}

// Without a sound layer (here a backend that libcanberra lacks, named by
// CANBERRA_DRIVER as a player may name one) the desktop's bell answers false
// from then on, so that every later beep takes the window system's bell.
void TestBell::theDesktopBellGivesUpWhenItsSoundLayerCannotOpen()
{
    qputenv("CANBERRA_DRIVER", "hopsala-no-such-backend");
    CanberraBell bell;
    HOPSALA_TRY_VERIFY(!bell.ring());
    QVERIFY(!bell.ring());
    qunsetenv("CANBERRA_DRIVER");
}

// A sound server that takes the connection and never answers holds up no
// end of the program: the bell is gone at once, whatever its thread waits for.
void TestBell::aSoundServerThatNeverAnswersHoldsUpNoExit()
{
    QTemporaryDir dir;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = dir.filePath(QStringLiteral("pulse")).toUtf8();
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    QVERIFY(::bind(server, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    QVERIFY(::listen(server, 4) == 0); // and never accepts
    qputenv("PULSE_SERVER", "unix:" + path);
    qputenv("CANBERRA_DRIVER", "pulse");
    auto bell = std::make_unique<CanberraBell>();
    QVERIFY(bell->ring());
    pollfd connecting{server, POLLIN, 0};
    QVERIFY(::poll(&connecting, 1, 10000) == 1);
    auto gone = std::async(std::launch::async, [&bell] { bell.reset(); });
    QVERIFY(gone.wait_for(std::chrono::seconds(5)) == std::future_status::ready);
    qunsetenv("PULSE_SERVER");
    qunsetenv("CANBERRA_DRIVER");
    ::close(server);
}

QTEST_MAIN(TestBell)
#include "test_bell.moc"

#include "uitestsupport.h"

#include "ui/canberrabell.h"

class TestBell : public QObject
{
    Q_OBJECT

private slots:
    void aGameRingsOncePerDoubleClickAndOnceAtItsEnd();
    void aBellThatCannotSoundGivesWayToTheWindowSystemBell();
    void theDesktopBellGivesUpWhenItsSoundLayerCannotOpen();
    void theDesktopBellGivesUpWithoutItsSoundLibrary();
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
    QTRY_COMPARE(answerer.seen.size(), 2);
    QCOMPARE(f.bell->rings, 3);
    QCOMPARE(f.fallbackBeeps, 0);
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
    QCOMPARE(f.fallbackBeeps, 2);
    QCOMPARE(f.caption("lblPunkte"), QStringLiteral("2"));
    QVERIFY(f.timerActive("TimerZ"));
    QVERIFY(answerer.seen.isEmpty());
    QCOMPARE(f.terminations, 0);
}

// Without a sound layer the desktop's bell answers false from then on, so
// that every later beep takes the window system's bell.
void TestBell::theDesktopBellGivesUpWhenItsSoundLayerCannotOpen()
{
    CanberraBell bell("hopsala-no-such-backend");
    QTRY_VERIFY(!bell.ring());
    QVERIFY(!bell.ring());
}

// A desktop without libcanberra: the program starts all the same (the
// library is loaded, not linked), and the window system's bell takes every
// beep.
void TestBell::theDesktopBellGivesUpWithoutItsSoundLibrary()
{
    CanberraBell bell({}, "libhopsala-no-such-sound-library.so.0");
    QTRY_VERIFY(!bell.ring());
    QVERIFY(!bell.ring());
}

QTEST_MAIN(TestBell)
#include "test_bell.moc"

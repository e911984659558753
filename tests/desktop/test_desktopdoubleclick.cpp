// The main window as a native Wayland client, run by wayland_test.py under a
// weston of its own beside the real desktop portal, whose GNOME double-click
// time it set to 1000 ms.

#include "support/mainwindowfixture.h"
#include "support/trywait.h"

#include <QProcess>
#include <QTest>

class TestPortalDoubleClick : public QObject
{
    Q_OBJECT

private slots:
    void theDesktopsTimeComesThroughThePortalAndFollowsItsChanges();
};

// The double-click time set on a Wayland desktop reaches the ball through
// the portal once the window has shown, and again whenever it changes.
void TestPortalDoubleClick::theDesktopsTimeComesThroughThePortalAndFollowsItsChanges()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    const auto interval = [&f] { return f.window->desktopDoubleClick().intervalMs.value_or(0); };
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(interval(), 1000, 10000);
    const QStringList change{"set", "org.gnome.desktop.peripherals.mouse", "double-click", "200"};
    QCOMPARE(QProcess::execute(QStringLiteral("gsettings"), change), 0);
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(interval(), 200, 10000);
}

QTEST_MAIN(TestPortalDoubleClick)
#include "test_portaldoubleclick.moc"

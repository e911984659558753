// The main window as a native Wayland client, run by wayland_test.py under a
// weston of its own: beside the real desktop portal, whose GNOME double-click
// time it set to 1000 ms, or on KDE Plasma, whose kdeglobals sets 1000 ms.

#include "support/mainwindowfixture.h"
#include "support/trywait.h"

#include <QFile>
#include <QProcess>
#include <QTest>

class TestDesktopDoubleClick : public QObject
{
    Q_OBJECT

private slots:
    void theDesktopsTimeComesThroughThePortalAndFollowsItsChanges();
    void kdesTimeComesFromKdeglobalsAndFollowsItsAnnouncedChanges();
};

// The double-click time set on a Wayland desktop reaches the ball through
// the portal once the window has shown, and again whenever it changes.
void TestDesktopDoubleClick::theDesktopsTimeComesThroughThePortalAndFollowsItsChanges()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    const auto interval = [&f] { return f.window->desktopDoubleClick().intervalMs.value_or(0); };
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(interval(), 1000, 10000);
    const QStringList change{"set", "org.gnome.desktop.peripherals.mouse", "double-click", "200"};
    QCOMPARE(QProcess::execute(QStringLiteral("gsettings"), change), 0);
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(interval(), 200, 10000);
}

// KDE's double-click time reaches the ball from its kdeglobals once the
// window has shown, and again when KDE announces a change on the session bus.
void TestDesktopDoubleClick::kdesTimeComesFromKdeglobalsAndFollowsItsAnnouncedChanges()
{
    MainWindowFixture f;
    QVERIFY(f.start());
    const auto interval = [&f] { return f.window->desktopDoubleClick().intervalMs.value_or(0); };
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(interval(), 1000, 10000);
    QFile kdeglobals(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/kdeglobals"));
    QVERIFY(kdeglobals.open(QIODevice::WriteOnly) && kdeglobals.write("[KDE]\nDoubleClickInterval=200\n") > 0);
    kdeglobals.close();
    const QStringList announce{"emit", "--session", "--object-path", "/kdeglobals", "--signal",
                               "org.kde.kconfig.notify.ConfigChanged", "{'KDE': [b'DoubleClickInterval']}"};
    QCOMPARE(QProcess::execute(QStringLiteral("gdbus"), announce), 0);
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(interval(), 200, 10000);
}

QTEST_MAIN(TestDesktopDoubleClick)
#include "test_desktopdoubleclick.moc"

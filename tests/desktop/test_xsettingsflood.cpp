// The watcher of the desktop's X settings over Qt's own X connection, run by
// x11_test.py on the xcb platform under an Xvfb of its own, beside a broken
// settings manager that the test plays over a connection of its own.

#include "platform/xsettingswatcher.h"
#include "support/trywait.h"
#include "support/xsettingsbytes.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>

#include <string>
#include <utility>

namespace {

// Owns the XSETTINGS selection of screen 0 with a window of its own, where
// it publishes a double-click time; it may wait for the X server.
struct BrokenManager
{
    BrokenManager() { replaceOwner(); }
    ~BrokenManager() { xcb_disconnect(x); }

    void publish(int ms)
    {
        const QByteArray list = xsettingsList(false, {{0, "Net/DoubleClickTime", ms}});
        xcb_change_property(x, XCB_PROP_MODE_REPLACE, window, settings, settings, 8,
                            std::uint32_t(list.size()), list.constData());
        xcb_flush(x);
    }
    void announce()
    {
        xcb_client_message_event_t message{XCB_CLIENT_MESSAGE, 32, 0, root, manager, {}};
        message.data.data32[1] = selection;
        message.data.data32[2] = window;
        xcb_send_event(x, 0, root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&message));
        xcb_flush(x);
    }
    // A new window takes the selection over and the old one goes.
    void replaceOwner()
    {
        const xcb_window_t old = std::exchange(window, xcb_generate_id(x));
        xcb_create_window(x, 0, window, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        publish(1000);
        xcb_set_selection_owner(x, window, selection, XCB_CURRENT_TIME);
        announce();
        if (old != XCB_NONE)
            xcb_destroy_window(x, old);
    }
    xcb_atom_t atom(const std::string &name)
    {
        const auto cookie = xcb_intern_atom(x, 0, std::uint16_t(name.size()), name.data());
        return XReply<xcb_intern_atom_reply_t>(xcb_intern_atom_reply(x, cookie, nullptr), &std::free)
            ->atom;
    }

    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    xcb_window_t window = XCB_NONE;
    xcb_atom_t selection = atom("_XSETTINGS_S0");
    xcb_atom_t settings = atom("_XSETTINGS_SETTINGS");
    xcb_atom_t manager = atom("MANAGER");
};

using Burst = void (*)(BrokenManager &);

} // namespace

Q_DECLARE_METATYPE(Burst)

class TestXSettingsFlood : public QObject
{
    Q_OBJECT

private slots:
    void aBurstIsReadAtMostOnceAPeriodAndEndsAtTheLastSettings_data();
    void aBurstIsReadAtMostOnceAPeriodAndEndsAtTheLastSettings();
};

void TestXSettingsFlood::aBurstIsReadAtMostOnceAPeriodAndEndsAtTheLastSettings_data()
{
    QTest::addColumn<Burst>("send");
    QTest::newRow("property rewritten") << Burst([](BrokenManager &m) { m.publish(1000); });
    QTest::newRow("manager announced") << Burst([](BrokenManager &m) { m.announce(); });
    QTest::newRow("owner window made anew") << Burst([](BrokenManager &m) { m.replaceOwner(); });
}

// However many events another client's burst brings (each cost the game
// blocking round trips once), and however they fall into the turns of the
// event loop, the watcher reads the settings at most once a read period
// (once more at the burst's end), and its last reading is the manager's last.
void TestXSettingsFlood::aBurstIsReadAtMostOnceAPeriodAndEndsAtTheLastSettings()
{
    QFETCH(Burst, send);
    BrokenManager manager;
    int reads = 0;
    int lastMs = 0;
    XSettingsWatcher watcher(
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection(), 0,
        [&](const DesktopDoubleClick &reading) {
            ++reads;
            lastMs = reading.intervalMs.value_or(0);
        });
    HOPSALA_TRY_COMPARE(lastMs, 1000);
    const int before = reads;
    QElapsedTimer burst;
    burst.start();
    for (int sent = 1; sent <= 4000; ++sent) {
        send(manager);
        if (sent % 100 == 0)
            QCoreApplication::processEvents();
    }
    manager.publish(1234);
    HOPSALA_TRY_COMPARE_WITH_TIMEOUT(lastMs, 1234, 60000);
    const qint64 periods = burst.elapsed() / XSettingsWatcher::ReadPeriodMs;
    QVERIFY2(reads - before <= 2 + periods, qPrintable(QString::number(reads - before)));
}

QTEST_MAIN(TestXSettingsFlood)
#include "test_xsettingsflood.moc"

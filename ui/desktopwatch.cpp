#include "ui/desktopwatch.h"

#include "ui/portalwatcher.h"
#include "ui/xsettingswatcher.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>

namespace {

// The screen of the display Qt connected to: DISPLAY names it, as it named
// the display itself.
int displayScreen()
{
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        screen = 0;
    std::free(host);
    return screen;
}

} // namespace

void watchDesktopDoubleClick(DesktopDoubleClick &target, QObject *owner)
{
    const QString platform = QGuiApplication::platformName();
    // The offscreen platform offers an X11 interface too, without a display.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (platform == QLatin1String("xcb") && x11 && x11->connection())
        new XSettingsWatcher(
            x11->connection(), displayScreen(),
            [&target](const DesktopDoubleClick &reading) { target = reading; }, owner);
    else if (platform.startsWith(QLatin1String("wayland")))
        new PortalWatcher(target, owner);
}

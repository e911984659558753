#include "platform/desktopwatch.h"

#include "platform/kdeglobals.h"
#include "platform/kdewatcher.h"
#include "platform/portalwatcher.h"
#include "platform/xsettingswatcher.h"

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

DesktopWatch::DesktopWatch(DesktopDoubleClick &target, QObject *parent)
    : QObject(parent)
    , m_target(target)
{
    const QString platform = QGuiApplication::platformName();
    // The offscreen platform offers an X11 interface too, without a display.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const bool onX11 = platform == QLatin1String("xcb") && x11 && x11->connection();
    const bool onWayland = platform.startsWith(QLatin1String("wayland"));
    if (onX11) {
        new XSettingsWatcher(x11->connection(), displayScreen(), [this](const DesktopDoubleClick &reading) {
            m_published = reading;
            apply();
        }, this);
    } else if (onWayland) {
        m_portal = new PortalWatcher([this](std::optional<int> intervalMs) {
            m_published.intervalMs = intervalMs;
            apply();
        }, this);
    }
    if ((onX11 || onWayland) && isKdeDesktop()) {
        m_kde = new KdeWatcher([this](std::optional<int> intervalMs) {
            m_kdeIntervalMs = intervalMs;
            apply();
        }, this);
    }
}

void DesktopWatch::refresh()
{
    if (m_portal)
        m_portal->refresh();
    if (m_kde)
        m_kde->refresh();
}

void DesktopWatch::apply()
{
    m_target = {m_kdeIntervalMs ? m_kdeIntervalMs : m_published.intervalMs, m_published.distancePx};
}

#pragma once

#include "platform/desktopdoubleclick.h"

#include <QObject>

#include <optional>

class KdeWatcher;
class PortalWatcher;

// Keeps target at the double-click settings of the desktop the program runs
// on, for as long as it lives: an X11 desktop's from its XSETTINGS manager
// (time and distance), a Wayland desktop's from the desktop portal (time).
// On KDE Plasma, X11 or Wayland, the time that its own kdeglobals sets
// counts before theirs: KDE publishes none through XSETTINGS, and its portal
// backend tells no change. Elsewhere (the offscreen platform) target stays
// unset.
class DesktopWatch : public QObject
{
public:
    DesktopWatch(DesktopDoubleClick &target, QObject *parent);

    // A game starts: what a desktop may change without a word is asked
    // again, without waiting for the answer.
    void refresh();

private:
    void apply();

    DesktopDoubleClick &m_target;
    DesktopDoubleClick m_published; // by the XSETTINGS manager or the portal
    std::optional<int> m_kdeIntervalMs;
    PortalWatcher *m_portal = nullptr;
    KdeWatcher *m_kde = nullptr;
};

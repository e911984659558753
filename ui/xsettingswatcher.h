#pragma once

#include "ui/desktopdoubleclick.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <xcb/xcb.h>

// Follows the XSETTINGS manager of an X screen (GNOME's, KDE's and Xfce's
// settings daemons, xsettingsd) over Qt's own X connection, and keeps the
// double-click settings it publishes in target: read at once, read again
// whenever the manager changes its property, and from a new manager as
// soon as it announces itself. Without a manager the target is unset.
// The events come through Qt's event loop, so a change is in place before
// the next press is handled.
class XSettingsWatcher : public QObject, public QAbstractNativeEventFilter
{
public:
    XSettingsWatcher(xcb_connection_t *connection, int screen, DesktopDoubleClick &target,
                     QObject *parent = nullptr);
    ~XSettingsWatcher() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void followOwner();
    void readSettings();
    bool selectEvents(xcb_window_t window, std::uint32_t mask);

    xcb_connection_t *m_connection;
    DesktopDoubleClick &m_target;
    xcb_window_t m_root = XCB_NONE;
    xcb_window_t m_owner = XCB_NONE;
    xcb_atom_t m_selection = XCB_NONE;
    xcb_atom_t m_settings = XCB_NONE;
    xcb_atom_t m_manager = XCB_NONE;
};

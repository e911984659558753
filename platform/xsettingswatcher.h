#pragma once

#include "platform/desktopdoubleclick.h"
#include "platform/xreplypoller.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <xcb/xcb.h>

#include <functional>
#include <optional>
#include <string>

// Follows the XSETTINGS manager of an X screen (GNOME's, KDE's and Xfce's
// settings daemons, xsettingsd) over Qt's own X connection, and reports the
// double-click settings it publishes: read soon after the start, again
// whenever the manager changes its property, and from a new manager once it
// announces itself or the old one is gone. Without a manager the reading is
// unset; a damaged list is not reported, so the last reading stands.
//
// Another client may flood the connection with such events. An event only
// notes what is owed; the work starts from a timer, so at most once per turn
// of the event loop and once per ReadPeriodMs, and a burst of events costs
// one lookup of the owner, one read of the property. The replies are
// collected without waiting (XReplyPoller). A manager that rewrites its
// property in a flood is not heard for QuietMs: the X server sends none of
// those events then.
class XSettingsWatcher : public QObject, public QAbstractNativeEventFilter
{
public:
    // Takes each reading; called from the event loop, never within the
    // constructor.
    using Report = std::function<void(const DesktopDoubleClick &)>;

    XSettingsWatcher(xcb_connection_t *connection, int screen, Report report,
                     QObject *parent = nullptr);
    ~XSettingsWatcher() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // The least time between the starts of two reads: a flood costs at
    // most this many a second.
    static constexpr int ReadPeriodMs = 50;
    // More changes of the property than this since the last read began
    // make a flood: a sane manager writes it once when its settings change.
    static constexpr int FloodChanges = 64;
    // How long a flooding manager's changes are not taken.
    static constexpr int QuietMs = 1000;

private:
    // What the next read owes, each including the one before.
    enum class Owed { Nothing, Settings, Owner };

    void internAtom(std::size_t index);
    void watchRoot();
    void owe(Owed work);
    void schedule();
    void startOwed();
    void lookUpOwner();
    void watchOwner(xcb_window_t owner);
    void muteChanges();
    void readSettings();
    void finish(const std::optional<DesktopDoubleClick> &reading);

    xcb_connection_t *m_connection;
    Report m_report;
    XReplyPoller m_replies;
    QTimer m_turn;
    QElapsedTimer m_lastStart;
    Owed m_owed = Owed::Nothing;
    bool m_watching = false;
    bool m_muted = false; // the owner's changes are not taken
    int m_changes = 0;    // of the property since the last read began
    std::string m_selectionName;
    xcb_window_t m_root = XCB_NONE;
    xcb_window_t m_owner = XCB_NONE;
    // The last owner watched, and the events this client took from it
    // before: Qt takes some from the root window, which a broken manager may
    // name as its own.
    xcb_window_t m_watched = XCB_NONE;
    std::uint32_t m_ownerEvents = 0;
    xcb_atom_t m_selection = XCB_NONE;
    xcb_atom_t m_settings = XCB_NONE;
    xcb_atom_t m_manager = XCB_NONE;
};

#include "platform/xsettingswatcher.h"

#include "platform/xsettings.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace {

// Far more than any desktop's settings; a larger property is read cut short
// and so ignored.
constexpr std::uint32_t MaxPropertyWords = 64 * 1024;

constexpr std::uint32_t OwnerEvents =
    XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

xcb_window_t rootOf(xcb_connection_t *connection, int screen)
{
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; roots.rem > 0; --screen, xcb_screen_next(&roots)) {
        if (screen == 0)
            return roots.data->root;
    }
    return XCB_NONE;
}

// Sets the events this client takes from the window to events, which hold
// those it took before: Qt takes some from the root window over the same
// connection, and changes them only when it connects. A window gone
// meanwhile shows in the request that follows; the error here is dropped.
void selectEvents(xcb_connection_t *connection, xcb_window_t window, std::uint32_t events)
{
    const auto cookie =
        xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &events);
    xcb_discard_reply(connection, cookie.sequence);
}

// No reply: the window is gone, and with it its manager.
std::optional<DesktopDoubleClick> readingOf(const xcb_get_property_reply_t *reply)
{
    if (!reply || reply->type == XCB_NONE)
        return DesktopDoubleClick{}; // or a manager that publishes nothing
    if (reply->format != 8 || reply->bytes_after != 0)
        return std::nullopt;
    const auto *bytes = static_cast<const char *>(xcb_get_property_value(reply));
    const auto size = static_cast<std::size_t>(xcb_get_property_value_length(reply));
    return parseXSettings({bytes, size});
}

} // namespace

XSettingsWatcher::XSettingsWatcher(xcb_connection_t *connection, int screen, Report report,
                                   QObject *parent)
    : QObject(parent)
    , m_connection(connection)
    , m_report(std::move(report))
    , m_replies(connection)
    , m_selectionName("_XSETTINGS_S" + std::to_string(screen))
    , m_root(rootOf(connection, screen))
{
    m_turn.setSingleShot(true);
    m_turn.setTimerType(Qt::PreciseTimer); // a coarse one may fire early
    connect(&m_turn, &QTimer::timeout, this, &XSettingsWatcher::startOwed);
    if (m_root != XCB_NONE)
        internAtom(0);
}

XSettingsWatcher::~XSettingsWatcher()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void XSettingsWatcher::internAtom(std::size_t index)
{
    const std::string names[] = {m_selectionName, "_XSETTINGS_SETTINGS", "MANAGER"};
    xcb_atom_t *const atoms[] = {&m_selection, &m_settings, &m_manager};
    const std::string &name = names[index];
    const auto cookie = xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(name.size()),
                                        name.c_str());
    const bool last = index + 1 == std::size(names);
    m_replies.await<xcb_intern_atom_reply_t>(
        cookie.sequence, [this, index, last, atom = atoms[index]](auto reply) {
            if (!reply)
                return; // the connection broke
            *atom = reply->atom;
            last ? watchRoot() : internAtom(index + 1);
        });
}

// A new manager announces itself on the root window.
void XSettingsWatcher::watchRoot()
{
    const auto cookie = xcb_get_window_attributes(m_connection, m_root);
    m_replies.await<xcb_get_window_attributes_reply_t>(cookie.sequence, [this](auto reply) {
        if (!reply)
            return;
        selectEvents(m_connection, m_root,
                     reply->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_watching = true;
        owe(Owed::Owner);
    });
}

void XSettingsWatcher::owe(Owed work)
{
    m_owed = std::max(m_owed, work);
    schedule();
}

// The next read starts from a turn of its own, once the one before has
// ended and ReadPeriodMs (QuietMs when muted) after it started.
void XSettingsWatcher::schedule()
{
    if (!m_watching || m_owed == Owed::Nothing || m_replies.pending() || m_turn.isActive())
        return;
    const int wait = m_muted ? QuietMs : ReadPeriodMs;
    const qint64 since = m_lastStart.isValid() ? m_lastStart.elapsed() : wait;
    m_turn.start(static_cast<int>(std::max<qint64>(0, wait - since)));
}

void XSettingsWatcher::startOwed()
{
    const Owed work = std::exchange(m_owed, Owed::Nothing);
    m_lastStart.start();
    m_changes = 0;
    if (work == Owed::Owner)
        lookUpOwner();
    else
        readSettings();
}

void XSettingsWatcher::lookUpOwner()
{
    const auto cookie = xcb_get_selection_owner(m_connection, m_selection);
    m_replies.await<xcb_get_selection_owner_reply_t>(
        cookie.sequence, [this](auto reply) { watchOwner(reply ? reply->owner : XCB_NONE); });
}

// The property is read only after its changes are watched: none is missed.
void XSettingsWatcher::watchOwner(xcb_window_t owner)
{
    m_owner = XCB_NONE;
    m_muted = false;
    if (owner == XCB_NONE) {
        readSettings();
        return;
    }
    const auto cookie = xcb_get_window_attributes(m_connection, owner);
    m_replies.await<xcb_get_window_attributes_reply_t>(cookie.sequence, [this, owner](auto reply) {
        if (reply) {
            if (owner != std::exchange(m_watched, owner))
                m_ownerEvents = reply->your_event_mask;
            selectEvents(m_connection, owner, m_ownerEvents | OwnerEvents);
            m_owner = owner;
        }
        readSettings();
    });
}

// The X server sends no more of the owner's changes until the next read,
// which takes them again first.
void XSettingsWatcher::muteChanges()
{
    selectEvents(m_connection, m_owner, m_ownerEvents | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    xcb_flush(m_connection);
    m_muted = true;
    m_turn.stop();
    schedule();
}

void XSettingsWatcher::readSettings()
{
    if (m_owner == XCB_NONE) {
        finish(DesktopDoubleClick{});
        return;
    }
    if (std::exchange(m_muted, false))
        selectEvents(m_connection, m_owner, m_ownerEvents | OwnerEvents);
    const auto cookie = xcb_get_property(m_connection, 0, m_owner, m_settings,
                                         XCB_GET_PROPERTY_TYPE_ANY, 0, MaxPropertyWords);
    m_replies.await<xcb_get_property_reply_t>(cookie.sequence, [this](auto reply) {
        if (!reply)
            m_owner = XCB_NONE;
        finish(readingOf(reply.get()));
    });
}

void XSettingsWatcher::finish(const std::optional<DesktopDoubleClick> &reading)
{
    if (reading)
        m_report(*reading);
    schedule();
}

bool XSettingsWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & ~0x80) {
    case XCB_PROPERTY_NOTIFY: {
        const auto *notify = static_cast<const xcb_property_notify_event_t *>(message);
        if (notify->window != m_owner || notify->atom != m_settings)
            break;
        if (++m_changes == FloodChanges)
            muteChanges();
        owe(Owed::Settings);
        break;
    }
    case XCB_CLIENT_MESSAGE: {
        const auto *client = static_cast<const xcb_client_message_event_t *>(message);
        if (client->window == m_root && client->type == m_manager
            && client->data.data32[1] == m_selection)
            owe(Owed::Owner);
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (static_cast<const xcb_destroy_notify_event_t *>(message)->window == m_owner)
            owe(Owed::Owner);
        break;
    default:
        break;
    }
    return false; // Qt sees every event as before
}

#include "ui/xsettingswatcher.h"

#include "ui/xsettings.h"

#include <QCoreApplication>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

// Far more than any desktop's settings; a larger property is read cut short
// and so ignored.
constexpr std::uint32_t MaxPropertyWords = 64 * 1024;

template<typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template<typename Reply>
ReplyPointer<Reply> owned(Reply *reply)
{
    return {reply, &std::free};
}

xcb_window_t rootOf(xcb_connection_t *connection, int screen)
{
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; roots.rem > 0; --screen, xcb_screen_next(&roots)) {
        if (screen == 0)
            return roots.data->root;
    }
    return XCB_NONE;
}

} // namespace

XSettingsWatcher::XSettingsWatcher(xcb_connection_t *connection, int screen,
                                   DesktopDoubleClick &target, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
    , m_target(target)
    , m_root(rootOf(connection, screen))
{
    const std::string names[] = {"_XSETTINGS_S" + std::to_string(screen), "_XSETTINGS_SETTINGS",
                                 "MANAGER"};
    xcb_intern_atom_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(names[i].size()),
                                     names[i].c_str());
    xcb_atom_t *atoms[] = {&m_selection, &m_settings, &m_manager};
    for (int i = 0; i < 3; ++i) {
        if (auto reply = owned(xcb_intern_atom_reply(connection, cookies[i], nullptr)))
            *atoms[i] = reply->atom;
    }
    // A new manager announces itself on the root window.
    if (m_root != XCB_NONE && m_manager != XCB_NONE
        && selectEvents(m_root, XCB_EVENT_MASK_STRUCTURE_NOTIFY)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        followOwner();
    }
}

XSettingsWatcher::~XSettingsWatcher()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

// Adds to the events this client already takes from the window: Qt takes
// some from the root window over the same connection. False when the window
// is gone.
bool XSettingsWatcher::selectEvents(xcb_window_t window, std::uint32_t mask)
{
    auto attributes = owned(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    if (!attributes)
        return false;
    const std::uint32_t events = attributes->your_event_mask | mask;
    const auto cookie =
        xcb_change_window_attributes_checked(m_connection, window, XCB_CW_EVENT_MASK, &events);
    return owned(xcb_request_check(m_connection, cookie)) == nullptr;
}

// The property is read only after its changes are watched: none is missed.
void XSettingsWatcher::followOwner()
{
    auto reply = owned(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr));
    m_owner = reply ? reply->owner : XCB_NONE;
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    if (m_owner != XCB_NONE && !selectEvents(m_owner, mask))
        m_owner = XCB_NONE;
    readSettings();
}

void XSettingsWatcher::readSettings()
{
    if (m_owner == XCB_NONE) {
        m_target = {};
        return;
    }
    auto reply = owned(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, m_owner, m_settings, XCB_GET_PROPERTY_TYPE_ANY, 0,
                         MaxPropertyWords),
        nullptr));
    if (reply && reply->type == XCB_NONE)
        m_target = {}; // a manager that publishes nothing
    if (!reply || reply->format != 8 || reply->bytes_after != 0)
        return;
    const auto *bytes = static_cast<const char *>(xcb_get_property_value(reply.get()));
    const auto size = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
    if (const auto settings = parseXSettings({bytes, size}))
        m_target = *settings;
}

bool XSettingsWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & ~0x80) {
    case XCB_PROPERTY_NOTIFY: {
        const auto *notify = static_cast<const xcb_property_notify_event_t *>(message);
        if (notify->window == m_owner && notify->atom == m_settings)
            readSettings();
        break;
    }
    case XCB_CLIENT_MESSAGE: {
        const auto *client = static_cast<const xcb_client_message_event_t *>(message);
        if (client->window == m_root && client->type == m_manager
            && client->data.data32[1] == m_selection)
            followOwner();
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (static_cast<const xcb_destroy_notify_event_t *>(message)->window == m_owner)
            followOwner();
        break;
    default:
        break;
    }
    return false; // Qt sees every event as before
}

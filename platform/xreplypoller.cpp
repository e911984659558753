#include "platform/xreplypoller.h"

// libxcb declares the polling for a reply by its sequence number, which
// works for every request, among its interfaces for extensions.
#include <xcb/xcbext.h>

#include <utility>

namespace {

// A reply is mostly there within a few milliseconds; the timer runs only
// while one is pending.
constexpr int PollMs = 2;

} // namespace

XReplyPoller::XReplyPoller(xcb_connection_t *connection)
    : m_connection(connection)
{
    m_timer.setInterval(PollMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
}

XReplyPoller::~XReplyPoller()
{
    if (pending())
        xcb_discard_reply(m_connection, m_sequence);
}

void XReplyPoller::awaitAny(unsigned int sequence, std::function<void(void *)> done)
{
    m_sequence = sequence;
    m_done = std::move(done);
    xcb_flush(m_connection);
    m_timer.start();
}

void XReplyPoller::poll()
{
    void *reply = nullptr;
    xcb_generic_error_t *error = nullptr;
    if (xcb_poll_for_reply(m_connection, m_sequence, &reply, &error) == 0)
        return;
    std::free(error);
    m_timer.stop();
    // done may await the next request.
    std::exchange(m_done, nullptr)(reply);
}

#pragma once

#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>
#include <memory>

// A reply of libxcb's, which it allocates with malloc.
template<typename Reply>
using XReply = std::unique_ptr<Reply, decltype(&std::free)>;

// Collects the reply to one X request at a time without waiting for it: a
// timer polls for it while it is pending. The GUI thread never blocks on the
// X server, however long another client's flood keeps it busy.
class XReplyPoller
{
public:
    explicit XReplyPoller(xcb_connection_t *connection);
    // A reply still pending is dropped by libxcb when it comes.
    ~XReplyPoller();
    XReplyPoller(const XReplyPoller &) = delete;
    XReplyPoller &operator=(const XReplyPoller &) = delete;

    bool pending() const { return bool(m_done); }

    // Sends the requests the connection holds and, from a later turn of the
    // event loop, gives done the reply to the request of that sequence
    // number: null when the request failed or the connection broke. One
    // request at a time: the next waits for done, which may send it.
    template<typename Reply>
    void await(unsigned int sequence, std::function<void(XReply<Reply>)> done)
    {
        awaitAny(sequence, [done = std::move(done)](void *reply) {
            done(XReply<Reply>(static_cast<Reply *>(reply), &std::free));
        });
    }

private:
    void awaitAny(unsigned int sequence, std::function<void(void *)> done);
    void poll();

    xcb_connection_t *m_connection;
    QTimer m_timer;
    unsigned int m_sequence = 0;
    std::function<void(void *)> m_done;
};

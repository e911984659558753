#include "ui/canberrabell.h"

#include "ui/programidentity.h"

#include <QCoreApplication>
#include <QEvent>

#include <canberra.h>
#include <pthread.h>
#include <sched.h>

namespace {

// Beeps that arrive while the server is slow are kept up to this number;
// more would only sound as a late burst.
constexpr int MaxPending = 2;

// The identity under which the sound server lists the program; the id is
// that of the desktop entry and the icon.
int describeProgram(ca_context *context)
{
    return ca_context_change_props(context, CA_PROP_APPLICATION_NAME, ProgramIdentity::Name,
                                   CA_PROP_APPLICATION_ID, ProgramIdentity::DesktopId,
                                   CA_PROP_APPLICATION_ICON_NAME, ProgramIdentity::DesktopId,
                                   CA_PROP_APPLICATION_VERSION, ProgramIdentity::Version, nullptr);
}

// Null when the sound layer cannot give the bell. The bell goes into the
// server's sample cache at once: no later beep waits for the sound file.
ca_context *openContext(const std::string &driver)
{
    ca_context *context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS)
        return nullptr;
    int result = describeProgram(context);
    if (result == CA_SUCCESS && !driver.empty())
        result = ca_context_set_driver(context, driver.c_str());
    if (result == CA_SUCCESS)
        result = ca_context_open(context);
    if (result == CA_SUCCESS) {
        const int cached = ca_context_cache(context, CA_PROP_EVENT_ID, "bell", nullptr);
        // A backend without a cache (ALSA) reads the file for every play.
        if (cached != CA_ERROR_NOTSUPPORTED)
            result = cached;
    }
    if (result != CA_SUCCESS) {
        ca_context_destroy(context);
        return nullptr;
    }
    return context;
}

// A player who has switched event sounds off hears nothing; that is no
// failure of the bell.
bool play(ca_context *context)
{
    const int result = ca_context_play(context, 0, CA_PROP_EVENT_ID, "bell",
                                       CA_PROP_EVENT_DESCRIPTION, "Signalton",
                                       CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
    return result == CA_SUCCESS || result == CA_ERROR_DISABLED;
}

} // namespace

CanberraBell::CanberraBell(std::string driver)
    : m_driver(std::move(driver))
    , m_worker([this] { run(); })
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(&m_firstInput);
    else
        allowOpening();
}

void CanberraBell::allowOpening()
{
    {
        std::lock_guard lock(m_mutex);
        m_mayOpen = true;
    }
    m_wake.notify_one();
}

// Every beep follows the player's input: "Los" is pressed before the first
// double click, and a person needs some hundreds of milliseconds from there
// to the ball; opening the context takes a few, tens on a busy machine.
bool CanberraBell::FirstInput::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::TouchBegin:
        QCoreApplication::instance()->removeEventFilter(this);
        m_bell.allowOpening();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

CanberraBell::~CanberraBell()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

// A beep given before the context is open waits for it.
bool CanberraBell::ring()
{
    if (!m_usable)
        return false;
    {
        std::lock_guard lock(m_mutex);
        if (m_pending < MaxPending)
            ++m_pending;
    }
    m_wake.notify_one();
    return true;
}

bool CanberraBell::takeBeep()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop || m_pending > 0; });
    if (m_stop)
        return false;
    --m_pending;
    return true;
}

// Woken by a beep, a thread of normal policy often takes the CPU from the UI
// thread that woke it, for up to milliseconds; a batch thread waits its
// turn. The sound server's client thread, started below, inherits it.
// Opening the context loads the sound server's libraries and connects to
// it: at start-up that held up the window's first paint by a fifth and
// costs an idle window some megabytes; opened at the first beep it made that
// beep wait for all of it. So it opens at the player's first input, or at a
// beep that comes without any.
void CanberraBell::run()
{
    const sched_param unused{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &unused);
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_stop || m_mayOpen || m_pending > 0; });
        if (m_stop)
            return;
    }
    ca_context *context = openContext(m_driver);
    bool sounding = context != nullptr;
    while (sounding && takeBeep())
        sounding = play(context);
    m_usable = false;
    if (context)
        ca_context_destroy(context);
}

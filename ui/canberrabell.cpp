#include "ui/canberrabell.h"

#include "ui/programidentity.h"

#include <QCoreApplication>
#include <QEvent>

#include <canberra.h>
#include <dlfcn.h>
#include <pthread.h>
#include <sched.h>

namespace {

// Beeps that arrive while the server is slow are kept up to this number;
// more would only sound as a late burst.
constexpr int MaxPending = 2;

// libcanberra and the six libraries it pulls in are loaded on the bell's
// thread when it opens the context: linked into the program, they made up a
// few per cent of the time to the first frame and of an idle window's memory.
// The library stays loaded for the life of the process, as a linked one
// would: its sound server thread may outlive the context for a moment.
struct Canberra
{
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
    decltype(&ca_context_set_driver) setDriver = nullptr;
    decltype(&ca_context_open) open = nullptr;
    decltype(&ca_context_cache) cache = nullptr;
    decltype(&ca_context_play) play = nullptr;
    decltype(&ca_context_destroy) destroy = nullptr;
};

template <class Function>
bool resolve(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// False when the library or one of its functions is missing.
bool loadCanberra(const std::string &file, Canberra &ca)
{
    void *library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    return library && resolve(library, "ca_context_create", ca.create)
        && resolve(library, "ca_context_change_props", ca.changeProps)
        && resolve(library, "ca_context_set_driver", ca.setDriver)
        && resolve(library, "ca_context_open", ca.open)
        && resolve(library, "ca_context_cache", ca.cache)
        && resolve(library, "ca_context_play", ca.play)
        && resolve(library, "ca_context_destroy", ca.destroy);
}

// The identity under which the sound server lists the program; the id is
// that of the desktop entry and the icon.
int describeProgram(const Canberra &ca, ca_context *context)
{
    return ca.changeProps(context, CA_PROP_APPLICATION_NAME, ProgramIdentity::Name,
                          CA_PROP_APPLICATION_ID, ProgramIdentity::DesktopId,
                          CA_PROP_APPLICATION_ICON_NAME, ProgramIdentity::DesktopId,
                          CA_PROP_APPLICATION_VERSION, ProgramIdentity::Version, nullptr);
}

// Null when the sound layer cannot give the bell. The bell goes into the
// server's sample cache at once: no later beep waits for the sound file.
ca_context *openContext(const Canberra &ca, const std::string &driver)
{
    ca_context *context = nullptr;
    if (ca.create(&context) != CA_SUCCESS)
        return nullptr;
    int result = describeProgram(ca, context);
    if (result == CA_SUCCESS && !driver.empty())
        result = ca.setDriver(context, driver.c_str());
    if (result == CA_SUCCESS)
        result = ca.open(context);
    if (result == CA_SUCCESS) {
        const int cached = ca.cache(context, CA_PROP_EVENT_ID, "bell", nullptr);
        // A backend without a cache (ALSA) reads the file for every play.
        if (cached != CA_ERROR_NOTSUPPORTED)
            result = cached;
    }
    if (result != CA_SUCCESS) {
        ca.destroy(context);
        return nullptr;
    }
    return context;
}

// A player who has switched event sounds off hears nothing; that is no
// failure of the bell.
bool play(const Canberra &ca, ca_context *context)
{
    const int result = ca.play(context, 0, CA_PROP_EVENT_ID, "bell", CA_PROP_EVENT_DESCRIPTION,
                               "Signalton", CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
    return result == CA_SUCCESS || result == CA_ERROR_DISABLED;
}

} // namespace

CanberraBell::CanberraBell(std::string driver, std::string library)
    : m_driver(std::move(driver))
    , m_library(std::move(library))
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(&m_firstInput);
    else
        allowOpening();
}

// The thread, too, is no part of the first frame: it starts when the context
// may open, and opens it at once. Only the thread that made the bell starts it.
void CanberraBell::allowOpening()
{
    if (!m_worker.joinable())
        m_worker = std::thread([this] { run(); });
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
    if (m_worker.joinable())
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
    allowOpening();
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
// Opening the context loads libcanberra and the sound server's libraries
// and connects to the server: at start-up that held up the window's first
// paint by a fifth and costs an idle window some megabytes; opened at the
// first beep it made that beep wait for all of it. So it opens at the
// player's first input, or at a beep that comes without any.
void CanberraBell::run()
{
    const sched_param unused{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &unused);
    {
        const std::lock_guard lock(m_mutex);
        if (m_stop)
            return;
    }
    Canberra ca;
    ca_context *context = loadCanberra(m_library, ca) ? openContext(ca, m_driver) : nullptr;
    bool sounding = context != nullptr;
    while (sounding && takeBeep())
        sounding = play(ca, context);
    m_usable = false;
    if (context)
        ca.destroy(context);
}

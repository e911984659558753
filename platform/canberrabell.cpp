#include "platform/canberrabell.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QEvent>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include <canberra.h>
#include <dlfcn.h>
#include <pthread.h>
#include <sched.h>

namespace {

// Beeps that arrive while the server is slow are kept up to this number;
// more would only sound as a late burst.
constexpr int MaxPending = 2;

// libcanberra and the six libraries it pulls in are loaded on the bell's
// thread when it opens the context: linked into the program, they would be
// loaded before the first frame and held by every idle window (bench/README.md
// has the figures). The library stays loaded for the life of the process, as a linked one
// would: its sound server thread may outlive the context for a moment.
struct Canberra
{
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
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
bool loadCanberra(Canberra &ca)
{
    void *library = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
    return library && resolve(library, "ca_context_create", ca.create)
        && resolve(library, "ca_context_change_props", ca.changeProps)
        && resolve(library, "ca_context_open", ca.open)
        && resolve(library, "ca_context_cache", ca.cache)
        && resolve(library, "ca_context_play", ca.play)
        && resolve(library, "ca_context_destroy", ca.destroy);
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

// What the bell and its thread share. The thread holds it too, so that a
// thread that outlives the bell (one hanging in a sound server that never
// answers) still finds it.
struct CanberraBell::Shared
{
    // The identity under which the sound server lists the program, as the
    // application states it; the id is that of the desktop entry and the icon.
    const std::string name = QCoreApplication::applicationName().toStdString();
    const std::string id = QGuiApplication::desktopFileName().toStdString();
    const std::string version = QCoreApplication::applicationVersion().toStdString();
    std::atomic<bool> usable{true};
    std::mutex mutex;
    std::condition_variable wake;
    int pending = 0;      // guarded by mutex
    bool stop = false;    // guarded by mutex
    bool finished = false; // guarded by mutex
};

namespace {

int describeProgram(const Canberra &ca, ca_context *context, const CanberraBell::Shared &shared)
{
    return ca.changeProps(context, CA_PROP_APPLICATION_NAME, shared.name.c_str(), CA_PROP_APPLICATION_ID,
                          shared.id.c_str(), CA_PROP_APPLICATION_ICON_NAME, shared.id.c_str(),
                          CA_PROP_APPLICATION_VERSION, shared.version.c_str(), nullptr);
}

// Null when the sound layer cannot give the bell. The bell goes into the
// server's sample cache at once: no later beep waits for the sound file.
// libcanberra picks its backend itself, or as CANBERRA_DRIVER names it.
ca_context *openContext(const Canberra &ca, const CanberraBell::Shared &shared)
{
    ca_context *context = nullptr;
    if (ca.create(&context) != CA_SUCCESS)
        return nullptr;
    int result = describeProgram(ca, context, shared);
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

// Waits for the next beep; false when the bell is being destroyed.
bool takeBeep(CanberraBell::Shared &shared)
{
    std::unique_lock lock(shared.mutex);
    shared.wake.wait(lock, [&] { return shared.stop || shared.pending > 0; });
    if (shared.stop)
        return false;
    --shared.pending;
    return true;
}

// Woken by a beep, a thread of normal policy often takes the CPU from the UI
// thread that woke it, for up to milliseconds; a batch thread waits its
// turn. The sound server's client thread, started below, inherits it.
// Opening the context loads libcanberra and the sound server's libraries
// and connects to the server: at start-up that would hold up the window's
// first paint and cost an idle window memory; opened at the first beep it
// would make that beep wait for all of it. So it opens at the player's first
// input, or at a beep that comes without any.
void run(const std::shared_ptr<CanberraBell::Shared> &shared)
{
    const sched_param unused{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &unused);
    bool stopped = false;
    {
        const std::lock_guard lock(shared->mutex);
        stopped = shared->stop;
    }
    Canberra ca;
    ca_context *context = nullptr;
    if (!stopped && loadCanberra(ca))
        context = openContext(ca, *shared);
    bool sounding = context != nullptr;
    while (sounding && takeBeep(*shared))
        sounding = play(ca, context);
    shared->usable = false;
    if (context)
        ca.destroy(context);
    const std::lock_guard lock(shared->mutex);
    shared->finished = true;
    shared->wake.notify_all();
}

} // namespace

CanberraBell::CanberraBell()
    : m_shared(std::make_shared<Shared>())
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
        m_worker = std::thread([shared = m_shared] { run(shared); });
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

// The window closes only once its bell is gone: a thread that does not
// finish at once hangs in the sound server and is left to the end of the
// process, which its wait cannot hold up.
CanberraBell::~CanberraBell()
{
    if (!m_worker.joinable())
        return;
    std::unique_lock lock(m_shared->mutex);
    m_shared->stop = true;
    m_shared->wake.notify_all();
    const bool finished = m_shared->wake.wait_for(lock, std::chrono::milliseconds(250),
                                                  [this] { return m_shared->finished; });
    lock.unlock();
    if (finished)
        m_worker.join();
    else
        m_worker.detach();
}

// A beep given before the context is open waits for it.
bool CanberraBell::ring()
{
    if (!m_shared->usable)
        return false;
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->pending < MaxPending)
            ++m_shared->pending;
    }
    m_shared->wake.notify_all();
    allowOpening();
    return true;
}

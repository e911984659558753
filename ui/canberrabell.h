#pragma once

#include "ui/bell.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// The desktop's "bell" event of the XDG sound theme, played through
// libcanberra, so that the sound server applies the player's volume and
// mute for alert sounds.
//
// Opening the sound layer takes tens of milliseconds and a play waits for
// the server, so both happen on a thread of the bell's own, which opens the
// one context at the player's first press of a key or mouse button and
// holds it for the bell's lifetime; ring() only hands a beep over. Once the
// context cannot be opened or a play fails, ring() answers false for good;
// only a beep handed over before that stays unheard.
class CanberraBell : public Bell
{
public:
    // driver: the libcanberra backend to use, empty for libcanberra's own
    // choice; library: the file of libcanberra, loaded when the context opens.
    explicit CanberraBell(std::string driver = {}, std::string library = "libcanberra.so.0");
    ~CanberraBell() override;

    CanberraBell(const CanberraBell &) = delete;
    CanberraBell &operator=(const CanberraBell &) = delete;

    bool ring() override;

private:
    // The bell's thread: opens the context, plays the beeps handed over,
    // closes the context.
    void run();
    // Waits for the next beep; false when the bell is being destroyed.
    bool takeBeep();
    // Starts the bell's thread, which opens the context at once; once only.
    void allowOpening();

    const std::string m_driver;
    const std::string m_library;
    std::atomic<bool> m_usable{true};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    int m_pending = 0; // guarded by m_mutex
    bool m_stop = false; // guarded by m_mutex
    // Watches the application's events for the player's first input.
    class FirstInput : public QObject
    {
    public:
        explicit FirstInput(CanberraBell &bell) : m_bell(bell) {}
        bool eventFilter(QObject *watched, QEvent *event) override;

    private:
        CanberraBell &m_bell;
    };
    FirstInput m_firstInput{*this};
    std::thread m_worker; // runs once the context may open
};

#pragma once

#include "platform/bell.h"

#include <QObject>

#include <memory>
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
    CanberraBell();
    ~CanberraBell() override;

    CanberraBell(const CanberraBell &) = delete;
    CanberraBell &operator=(const CanberraBell &) = delete;

    bool ring() override;

    struct Shared;

private:
    // Starts the bell's thread, which opens the context at once; once only.
    void allowOpening();

    std::shared_ptr<Shared> m_shared;
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

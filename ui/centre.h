#pragma once

#include <QScreen>
#include <QWidget>

// Puts a window that is about to be shown in the middle of its screen's
// free area. The frame is not known yet, so the client area is centred.
inline void centreOnScreen(QWidget *window)
{
    if (const QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

#pragma once

#include "ui/desktopdoubleclick.h"

class QObject;

// Keeps target at the double-click settings of the desktop the program
// runs on, for as long as owner lives: an X11 desktop's from its XSETTINGS
// manager, a Wayland desktop's from the desktop portal. Elsewhere (the
// offscreen platform) target stays unset.
void watchDesktopDoubleClick(DesktopDoubleClick &target, QObject *owner);

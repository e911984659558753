#pragma once

class QWidget;

// Puts a window that is about to be shown in the middle of its screen's
// free area, frame and title bar included. A window manager frames a window
// only once it is shown: until then the client area is centred, and when the
// frame appears the window is centred once more as a whole. Without a
// window manager there is no frame, and the window stays where it is.
void centreOnScreen(QWidget *window);

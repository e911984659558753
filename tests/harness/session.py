"""A test's private X display and what a person does there with the
program's windows: waits for them, confirms boxes, copies their text, and
quits through the menu."""

import os

from .runner import Run
from .screen import MainWindow
from .service import waitUntil
from .services import WindowManager, XServer
from .x11 import Desktop, ManagedDesktop
from . import screen

SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768
STEP_SECONDS = 15  # a bound, not a pause: generous for a loaded CI machine
MAIN_TITLE = "^Hopsala$"
BOX_TITLE = "^Hopsala1$"
HIGH_TITLE = "^Highscore$"


class Session(Run):
    """The display, started before the test, and the desktop on it."""

    def begin(self):
        self.server = self.startService(XServer(self.work, "%dx%dx24" % (SCREEN_WIDTH, SCREEN_HEIGHT)))
        self.desktop = Desktop(self.server)
        self.onFailure(self.describeScreen)

    def programEnvironment(self):
        return self.desktop.env

    def startWindowManager(self):
        """Before the program starts: from then on the desktop is managed."""
        self.startService(WindowManager(self.work, self.server))
        self.desktop = ManagedDesktop(self.server)

    def waitForWindow(self, title, timeout=STEP_SECONDS):
        """The window, failing at once when the program ends instead."""
        def shown():
            if not self.program.isRunning():
                raise AssertionError("the program ended with status %s before a window "
                                     "titled %r showed" % (self.program.process.poll(), title))
            return self.desktop.windows(title)
        return waitUntil(shown, timeout, "a window titled %r" % title)[0]

    def mainWindow(self):
        """The main window once its ball is drawn."""
        main = MainWindow(self.desktop, self.program, self.waitForWindow(MAIN_TITLE))
        waitUntil(lambda: main.findBall(main.picture()), STEP_SECONDS, "the ball to be drawn")
        return main

    def confirmBox(self, title, timeout=STEP_SECONDS, picture=None):
        """Waits for the box, gives it the keyboard and presses Enter."""
        box = self.waitForWindow(title, timeout)
        self.desktop.focus(box)
        if picture:
            self.save(self.desktop.paintedPicture(box), picture)
        self.desktop.key("Return")
        waitUntil(lambda: box not in self.desktop.windows(title), STEP_SECONDS,
                  "the box titled %r to close on Enter" % title)

    def copyBoxText(self, title, timeout=STEP_SECONDS):
        """The text of the box, copied with Ctrl+C as a person copies it."""
        box = self.waitForWindow(title, timeout)
        self.desktop.focus(box)
        self.desktop.key("ctrl+c")
        return waitUntil(lambda: self.desktop.clipboardText(), STEP_SECONDS,
                         "the box's text in the clipboard")

    def quitThroughMenu(self, main):
        main.openMenu().choose(screen.BEENDEN)
        return self.program.waitForExit(STEP_SECONDS)

    def describeScreen(self):
        """For a failure report: the windows shown, each saved as a picture."""
        lines = []
        for window in self.desktop.windows(".*"):
            title = self.desktop.xdotool("getwindowname", window, check=False).stdout.strip()
            if not title:
                continue  # the root window
            path = os.path.join(self.work, "window-%d.png" % window)
            self.desktop.screenshot(window).savePng(path)
            lines.append("window %d %r at %r: %s" % (window, title,
                                                     self.desktop.geometry(window), path))
        return "\n".join(lines)

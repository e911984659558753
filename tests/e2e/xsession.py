"""A private X display (Xvfb) and the hands of a person in front of it
(xdotool for mouse and keyboard, xwd for the eyes).

No window manager runs: windows have no frame, and a window gets the keyboard
focus only when the program asks for it (Qt does so for every window it
activates) or when the test gives it with `xdotool windowfocus`.
"""

import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))

import xvfbserver  # noqa: E402
import xwdimage  # noqa: E402
from xvfbserver import WaitTimeout  # noqa: E402

SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768
SCREEN = "%dx%dx24" % (SCREEN_WIDTH, SCREEN_HEIGHT)
POLL_SECONDS = 0.05

# A selection's owner, which no command line tool tells, asked through libX11.
_SELECTION_OWNER = """
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = x.XGetSelectionOwner.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
display = x.XOpenDisplay(None) or sys.exit("cannot open the display")
print(x.XGetSelectionOwner(display, x.XInternAtom(display, sys.argv[1].encode(), 0)))
"""


def waitUntil(condition, timeout, what):
    """Polls condition every 50 ms until it returns something true and gives
    that back; fails naming what was awaited (a text, or a function making
    one at that moment) when timeout seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise WaitTimeout("waited %.1f s in vain for %s"
                              % (timeout, what() if callable(what) else what))
        time.sleep(POLL_SECONDS)


class XServer(xvfbserver.XServer):
    """The private display of one test, with the tests' screen."""

    def __init__(self, workDir):
        super().__init__(workDir, SCREEN)


class Rect:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def centre(self):
        return (self.x + self.width // 2, self.y + self.height // 2)

    def __repr__(self):
        return "Rect(%d, %d, %d, %d)" % (self.x, self.y, self.width, self.height)


class Desktop:
    """What a person does at the screen: look, move the mouse, click, type."""

    def __init__(self, server):
        self.server = server
        self.env = server.environment()

    def xdotool(self, *arguments, check=True):
        # xdotool reads the text to type in the encoding of its locale.
        env = dict(self.env, LC_ALL="C.UTF-8")
        result = subprocess.run(["xdotool", *map(str, arguments)], env=env,
                                capture_output=True, text=True, timeout=20)
        if check and result.returncode != 0:
            raise RuntimeError("xdotool %s failed: %s" % (" ".join(map(str, arguments)),
                                                          result.stderr.strip()))
        return result

    def windows(self, name=None, pid=None):
        """The mapped windows whose title matches the regular expression name,
        or, without a name, all mapped windows of the process pid."""
        arguments = ["search", "--onlyvisible"]
        if pid is not None:
            arguments += ["--pid", pid]
        arguments += ["--name", name if name is not None else ""]
        result = self.xdotool(*arguments, check=False)
        return [int(line) for line in result.stdout.split()]

    def waitForWindow(self, name, timeout=15):
        found = waitUntil(lambda: self.windows(name), timeout, "a window titled %r" % name)
        return found[0]

    def geometry(self, window):
        output = self.xdotool("getwindowgeometry", "--shell", window).stdout
        values = dict(re.findall(r"^(\w+)=(-?\d+)$", output, re.MULTILINE))
        return Rect(int(values["X"]), int(values["Y"]),
                    int(values["WIDTH"]), int(values["HEIGHT"]))

    def moveWindow(self, window, x, y):
        self.xdotool("windowmove", "--sync", window, x, y)

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", window)

    def click(self, x, y, repeat=1, delayMs=50):
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", "--repeat", repeat, "--delay", delayMs, 1)

    def clickWherePointerIs(self):
        """A click without moving: `mousemove --sync` to where the pointer
        already is would wait for a motion that never comes."""
        self.xdotool("click", 1)

    def selectionOwner(self, selection):
        """The window that owns the selection now, 0 when none does."""
        return int(subprocess.run([sys.executable, "-c", _SELECTION_OWNER, selection],
                                  env=self.env, capture_output=True, text=True, check=True,
                                  timeout=20).stdout)

    def key(self, *names):
        self.xdotool("key", "--delay", 50, *names)

    def typeText(self, text):
        self.xdotool("type", "--delay", 80, text)

    def paintedPicture(self, window, timeout=15):
        """The window's picture once it is drawn: a window just mapped is
        black until the program paints it."""
        def painted():
            picture = self.screenshot(window)
            black = picture.countPixels(lambda pixel: pixel == (0, 0, 0))
            return picture if black < picture.width * picture.height // 2 else None
        return waitUntil(painted, timeout, "window %d to be drawn" % window)

    def clipboardText(self):
        """The text a person would paste now, read by the helper that the
        test build names in HOPSALA_CLIPBOARD_TEXT."""
        env = dict(self.env, QT_QPA_PLATFORM="xcb")
        for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
            if name in os.environ:
                env[name] = os.environ[name]
        return subprocess.run([os.environ["HOPSALA_CLIPBOARD_TEXT"]], env=env,
                              capture_output=True, check=True, timeout=20).stdout.decode("utf-8")

    def screenshot(self, window=None):
        """The whole screen, or the contents of one window. Xvfb leaves Qt's
        popup menus out of the screen's picture (black), so menus are taken
        by their own window."""
        target = ["-root"] if window is None else ["-id", str(window)]
        dump = subprocess.run(["xwd", *target, "-silent"], env=self.env,
                              capture_output=True, check=True, timeout=20).stdout
        return xwdimage.parseXwd(dump)


class Program:
    """A copy of the program under test in a fresh directory of its own,
    beside a Wahl.txt of the given bytes (none when wahl is None)."""

    def __init__(self, desktop, programPath, workDir, wahl):
        self.desktop = desktop
        self.directory = os.path.join(workDir, "program")
        os.makedirs(self.directory, exist_ok=True)
        self.path = os.path.join(self.directory, os.path.basename(programPath))
        shutil.copy2(programPath, self.path)
        self.wahlPath = os.path.join(self.directory, "Wahl.txt")
        if wahl is not None:
            with open(self.wahlPath, "wb") as file:
                file.write(wahl)
        self.home = os.path.join(workDir, "home")
        os.makedirs(self.home, mode=0o700, exist_ok=True)
        self.logPath = os.path.join(workDir, "program.log")
        self.process = None

    def start(self, arguments=()):
        env = dict(self.desktop.env, HOME=self.home, XDG_RUNTIME_DIR=self.home,
                   QT_QPA_PLATFORM="xcb", LANG="C.UTF-8",
                   # No session bus on a bare X server: a bus address that
                   # fails at once keeps Qt's accessibility bridge from
                   # waiting on one at start-up.
                   DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(self.home, "no-bus"))
        # The sanitizers of a test build are told how to behave by the test run.
        for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
            if name in os.environ:
                env[name] = os.environ[name]
        with open(self.logPath, "ab") as log:
            # Started elsewhere: the program must find Wahl.txt beside itself.
            self.process = subprocess.Popen([self.path, *arguments], cwd=self.home, env=env,
                                            stdin=subprocess.DEVNULL, stdout=log,
                                            stderr=subprocess.STDOUT)
        return self

    def wahl(self):
        """The bytes of Wahl.txt beside the program, None when there is none."""
        try:
            with open(self.wahlPath, "rb") as file:
                return file.read()
        except FileNotFoundError:
            return None

    def waitForExit(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise WaitTimeout("the program did not end within %d s" % timeout) from None

    def isRunning(self):
        return self.process is not None and self.process.poll() is None

    def log(self):
        try:
            with open(self.logPath, "rb") as file:
                return file.read().decode("utf-8", "replace")
        except FileNotFoundError:
            return ""

    def stop(self):
        if self.isRunning():
            self.process.kill()
            self.process.wait()


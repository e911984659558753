"""The hands and eyes of a person at an X display: xdotool for mouse and
keyboard, xwd for pictures, xprop and xwininfo for what a window manager
tells.

Without a window manager windows have no frame, and a window gets the
keyboard focus only when the program asks for it (Qt does so for every
window it activates) or when the test gives it with `xdotool windowfocus`.
"""

import os
import re
import subprocess
import sys
import time

from .image import Image, readImage
from .program import sanitizerSettings
from .service import PATH, waitUntil

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


def selectionOwner(env, selection):
    """The window that owns the selection now, 0 when none does."""
    return int(subprocess.run([sys.executable, "-c", _SELECTION_OWNER, selection], env=env,
                              capture_output=True, text=True, check=True, timeout=20).stdout)


def xprop(env, target, name):
    """The numbers of a window property (target: ["-root"] or ["-id", id]),
    None when it is not set."""
    result = subprocess.run(["xprop", *target, name], env=env, capture_output=True, text=True,
                            timeout=20)
    # "NAME(TYPE) = 1, 2" or "NAME(TYPE): window id # 0x1, 0x2"; "NAME:  not found."
    _, typed, values = result.stdout.partition(")")
    if result.returncode != 0 or not typed:
        return None
    return [int(value, 0) for value in re.findall(r"0x[0-9a-f]+|\d+", values)]


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
        self.env = dict(server.clientEnvironment(), PATH=PATH)

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
        return selectionOwner(self.env, selection)

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
        env = dict(self.env, QT_QPA_PLATFORM="xcb", **sanitizerSettings())
        return subprocess.run([os.environ["HOPSALA_CLIPBOARD_TEXT"]], env=env,
                              capture_output=True, check=True, timeout=20).stdout.decode("utf-8")

    def screenshot(self, window=None):
        """The whole screen, or the contents of one window. Xvfb leaves Qt's
        popup menus out of the screen's picture (black), so menus are taken
        by their own window. Its time is that of the dump, before convert
        reads it."""
        target = ["-root"] if window is None else ["-id", str(window)]
        dump = subprocess.run(["xwd", *target, "-silent"], env=self.env,
                              capture_output=True, check=True, timeout=20).stdout
        return readImage("xwd:-", dump, takenAt=time.monotonic())


class ManagedDesktop(Desktop):
    """The desktop under a window manager: windows sit in frames, and
    xdotool's geometry of a framed window is off by the frame."""

    def rootProperty(self, name):
        return xprop(self.env, ["-root"], name)

    def clientArea(self, window):
        """The window's client area on the screen, as the X server has it
        (xdotool's geometry is off by the frame under a window manager)."""
        output = subprocess.run(["xwininfo", "-id", str(window)], env=self.env,
                                capture_output=True, text=True, check=True, timeout=20).stdout

        def value(label):
            return int(re.search(r"%s:\s+(-?\d+)" % label, output).group(1))
        return Rect(value("Absolute upper-left X"), value("Absolute upper-left Y"),
                    value("Width"), value("Height"))

    def outerFrame(self, window):
        """The window with the frame the window manager drew around it, None
        while it has none."""
        extents = xprop(self.env, ["-id", str(window)], "_NET_FRAME_EXTENTS")
        if not extents or not any(extents):
            return None
        left, right, top, bottom = extents
        client = self.clientArea(window)
        return Rect(client.x - left, client.y - top, client.width + left + right,
                    client.height + top + bottom)

    def screenAsShown(self):
        """The whole screen with every managed window's own picture over its
        client area, bottom to top: Xvfb's picture of the screen leaves some
        windows of Qt black (popups, High) that a real display shows."""
        screen = self.screenshot()
        rgb = bytearray(screen.rgb)
        for window in self.stacking():
            area = self.clientArea(window)
            picture = self.screenshot(window)
            for y in range(max(0, -area.y), min(picture.height, screen.height - area.y)):
                left, right = max(0, -area.x), min(picture.width, screen.width - area.x)
                start = ((area.y + y) * screen.width + area.x + left) * 3
                rgb[start:start + (right - left) * 3] = picture.row(y, left, right)
        return Image(screen.width, screen.height, rgb)

    def stacking(self):
        """The managed windows from the bottom to the top."""
        return self.rootProperty("_NET_CLIENT_LIST_STACKING") or []

    def activeWindow(self):
        active = self.rootProperty("_NET_ACTIVE_WINDOW")
        return active[0] if active else None

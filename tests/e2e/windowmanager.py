"""A window manager (openbox) on the private X display, and what a person
sees of it: frames, stacking, the active window."""

import os
import re
import subprocess

import xwdimage
from xsession import Desktop, Rect, waitUntil
from xvfbserver import stopProcess


class WindowManager:
    """openbox on the display, with its settings and caches in a private
    folder: windows get frames with title bars, focus and stacking as on a
    desktop. Its default key bindings stand, so Alt+F4 closes the active
    window as a person closes it."""

    def __init__(self, desktop, workDir):
        self.desktop = desktop
        self.home = os.path.join(workDir, "openbox-home")
        self.process = None

    def start(self, timeout=20):
        os.makedirs(self.home, mode=0o700, exist_ok=True)
        env = dict(self.desktop.env, HOME=self.home,
                   XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                   XDG_DATA_HOME=os.path.join(self.home, "data"),
                   XDG_RUNTIME_DIR=self.home)
        with open(os.path.join(self.home, "openbox.log"), "wb") as log:
            self.process = subprocess.Popen(["openbox", "--sm-disable"], env=env,
                                            stdin=subprocess.DEVNULL, stdout=log,
                                            stderr=subprocess.STDOUT)
        def managing():
            if self.process.poll() is not None:
                raise RuntimeError("openbox ended with %s" % self.process.returncode)
            return self.desktop.rootProperty("_NET_SUPPORTING_WM_CHECK")
        waitUntil(managing, timeout, "openbox to manage the screen")

    def stop(self):
        stopProcess(self.process)


class ManagedDesktop(Desktop):
    """The desktop under a window manager: windows sit in frames, and
    xdotool's geometry of a framed window is off by the frame."""

    def xprop(self, target, name):
        """The numbers of a window property (target: ["-root"] or ["-id", id]),
        None when it is not set."""
        result = subprocess.run(["xprop", *target, name], env=self.env, capture_output=True,
                                text=True, timeout=20)
        # "NAME(TYPE) = 1, 2" or "NAME(TYPE): window id # 0x1, 0x2"; "NAME:  not found."
        _, typed, values = result.stdout.partition(")")
        if result.returncode != 0 or not typed:
            return None
        return [int(value, 0) for value in re.findall(r"0x[0-9a-f]+|\d+", values)]

    def rootProperty(self, name):
        return self.xprop(["-root"], name)

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
        extents = self.xprop(["-id", str(window)], "_NET_FRAME_EXTENTS")
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
        return xwdimage.Image(screen.width, screen.height, rgb)

    def stacking(self):
        """The managed windows from the bottom to the top."""
        return self.rootProperty("_NET_CLIENT_LIST_STACKING") or []

    def activeWindow(self):
        active = self.rootProperty("_NET_ACTIVE_WINDOW")
        return active[0] if active else None

"""A weston compositor of one test's own: headless backend, pixman renderer,
a private socket in a private runtime folder, and --debug, which allows its
screenshots (weston-screenshooter)."""

import glob
import os
import shutil
import subprocess
import tempfile

import xwdimage
from services import readLog, startService, stopService, waitUntil

SOCKET = "wl-hopsala"
SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768


class WestonServer:
    def __init__(self, workDir):
        self.workDir = workDir
        # A unix socket's path holds at most 107 bytes: the folder is short.
        self.folder = tempfile.mkdtemp(prefix="hopsala-weston-")
        self.logPath = os.path.join(workDir, "weston.log")
        self.process = None

    def clientEnvironment(self):
        return {"XDG_RUNTIME_DIR": self.folder, "WAYLAND_DISPLAY": SOCKET,
                "QT_QPA_PLATFORM": "wayland"}

    def start(self, timeout=20):
        env = {"XDG_RUNTIME_DIR": self.folder, "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
               "HOME": self.folder}
        self.process = startService(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
             "--socket=" + SOCKET, "--width=%d" % SCREEN_WIDTH, "--height=%d" % SCREEN_HEIGHT,
             "--idle-time=0", "--no-config"], self.logPath, env)
        socket = os.path.join(self.folder, SOCKET)

        def ready():
            if self.process.poll() is not None:
                raise AssertionError("weston ended with status %s: %s"
                                     % (self.process.returncode, readLog(self.logPath)[-2000:]))
            return os.path.exists(socket) and os.path.exists(socket + ".lock")
        waitUntil(ready, timeout, "weston's socket")
        return self

    def screenshot(self):
        """A screenshot of the whole output, as an RGB image of xwdimage."""
        for old in glob.glob(os.path.join(self.folder, "wayland-screenshot*.png")):
            os.remove(old)
        env = dict(os.environ, **self.clientEnvironment())
        subprocess.run(["weston-screenshooter"], cwd=self.folder, env=env, check=True,
                       timeout=20, capture_output=True)
        shot = waitUntil(lambda: glob.glob(os.path.join(self.folder, "wayland-screenshot*.png")),
                         10, "the screenshot file")[0]
        ppm = subprocess.run(["convert", shot, "-depth", "8", "ppm:-"], check=True, timeout=20,
                             capture_output=True).stdout
        shutil.copy(shot, os.path.join(self.workDir, "screenshot.png"))
        return readPpm(ppm, xwdimage.Image)

    def stop(self):
        stopService(self.process)
        shutil.rmtree(self.folder, ignore_errors=True)


def readPpm(data, image):
    """A binary PPM (P6, 8 bits a channel) as image(width, height, rgb)."""
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    assert fields[0] == b"P6" and fields[3] == b"255", fields
    width, height = int(fields[1]), int(fields[2])
    return image(width, height, data[position + 1:position + 1 + 3 * width * height])

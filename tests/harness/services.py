"""The desktop services a player has, each a test's own: the X server, its
window manager and XSETTINGS manager, the accessibility bus, the sound
server, the Wayland compositor, a session bus and the desktop portal's
session on one."""

import array
import glob
import os
import pathlib
import re
import secrets
import select
import shutil
import signal
import struct
import subprocess
import threading
import time

from .image import readImage
from .service import PATH, Service, spawn, stopGroup, waitUntil
from .x11 import selectionOwner, xprop

FAMILY_WILD = 0xFFFF  # an Xauthority entry valid for every host and display
COOKIE_NAME = b"MIT-MAGIC-COOKIE-1"


def _authEntry(cookie):
    """One Xauthority entry for any host and display: the server reads the
    file before it has picked its display number, the clients after."""
    def counted(data):
        return struct.pack(">H", len(data)) + data
    return (struct.pack(">H", FAMILY_WILD) + counted(b"") + counted(b"")
            + counted(COOKIE_NAME) + counted(cookie))


class XServer(Service):
    """Xvfb on the first free display, reachable only through its unix
    socket and only with a fresh cookie; screen is WIDTHxHEIGHTxDEPTH."""

    name = "Xvfb"

    def __init__(self, work, screen="1024x768x24"):
        super().__init__(work)
        self.screen = screen
        self.display = None
        self._named = b""

    def prepare(self):
        self.authFile = os.path.join(self.folder, "Xauthority")
        with open(self.authFile, "wb") as file:
            file.write(_authEntry(secrets.token_bytes(16)))

    def command(self):
        # Without -noreset the server resets whenever its last client
        # leaves, as every short xdotool call does, and a program
        # connecting in that moment is turned away.
        return ["Xvfb", "-displayfd", str(self._writeEnd), "-screen", "0", self.screen,
                "-nolisten", "tcp", "-noreset", "-auth", self.authFile]

    def start(self, timeout=20):
        # The server writes its display number to the pipe once it takes clients.
        self._readEnd, self._writeEnd = os.pipe()
        try:
            return super().start(timeout, pass_fds=(self._writeEnd,))
        finally:
            os.close(self._writeEnd)
            os.close(self._readEnd)

    def ready(self):
        while select.select([self._readEnd], [], [], 0)[0]:
            chunk = os.read(self._readEnd, 64)
            if not chunk:
                break
            self._named += chunk
        if self._named.endswith(b"\n"):
            self.display = ":" + self._named.decode("ascii").strip()
        return self.display

    def clientEnvironment(self):
        return {"DISPLAY": self.display, "XAUTHORITY": self.authFile}

    def report(self):
        return "display %s: %s" % (self.display, super().report())


class WindowManager(Service):
    """openbox on the display, its settings and caches in its folder:
    windows get frames with title bars, focus and stacking as on a desktop.
    Its default key bindings stand, so Alt+F4 closes the active window as a
    person closes it."""

    name = "openbox"

    def __init__(self, work, server):
        super().__init__(work)
        self.server = server

    def command(self):
        return ["openbox", "--sm-disable"]

    def environment(self):
        return dict(super().environment(), **self.server.clientEnvironment(),
                    XDG_CONFIG_HOME=os.path.join(self.folder, "config"),
                    XDG_CACHE_HOME=os.path.join(self.folder, "cache"),
                    XDG_DATA_HOME=os.path.join(self.folder, "data"))

    def ready(self):
        env = dict(self.server.clientEnvironment(), PATH=PATH)
        return xprop(env, ["-root"], "_NET_SUPPORTING_WM_CHECK")


class XSettingsManager(Service):
    """xsettingsd on the display, the desktop's XSETTINGS manager, serving
    settings given as the lines of its configuration file."""

    name = "xsettingsd"

    def __init__(self, work, server, settings):
        super().__init__(work)
        self.server = server
        self.settings = settings
        self.owner = None

    def prepare(self):
        self.conf = os.path.join(self.folder, "xsettingsd.conf")
        pathlib.Path(self.conf).write_text(self.settings)

    def command(self):
        return ["xsettingsd", "-c", self.conf]

    def environment(self):
        return dict(super().environment(), **self.server.clientEnvironment())

    def ready(self):
        self.owner = selectionOwner(self.environment(), "_XSETTINGS_S0")
        return self.owner

    def serve(self, settings):
        """New settings, read again on SIGHUP; waits until they are served."""
        before = self.served()
        pathlib.Path(self.conf).write_text(settings)
        os.kill(self.process.pid, signal.SIGHUP)
        waitUntil(lambda: self.served() != before, 15, "xsettingsd to serve %r" % settings)

    def served(self):
        """The settings the manager's window serves now, as xprop lists their bytes."""
        return subprocess.run(["xprop", "-id", str(self.owner), "_XSETTINGS_SETTINGS"],
                              env=self.environment(), capture_output=True, text=True,
                              check=True, timeout=20).stdout


class AccessibilityBus(Service):
    """A session bus (dbus-run-session) with the accessibility bus on it
    (at-spi2-core's launcher, which starts the registry at once), as a
    desktop session gives a screen reader."""

    name = "buses"
    LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

    def prepare(self):
        self.addressPath = os.path.join(self.folder, "address")

    def command(self):
        # The launcher runs as the session's one command: the session bus
        # lives as long as it, and both end with the process group.
        script = 'echo "$DBUS_SESSION_BUS_ADDRESS" > "%s.new" && mv "%s.new" "%s" && exec %s --launch-immediately' % (
            (self.addressPath,) * 3 + (self.LAUNCHER,))
        return ["dbus-run-session", "--", "sh", "-c", script]

    def environment(self):
        return dict(super().environment(), TMPDIR=self.folder)

    def ready(self):
        if os.path.exists(self.addressPath):
            self.address = pathlib.Path(self.addressPath).read_text().strip()
            return True
        return False

    def clientEnvironment(self):
        return {"DBUS_SESSION_BUS_ADDRESS": self.address}


class SoundServer(Service):
    """PulseAudio: no daemon, no D-Bus, no system configuration, a private
    socket, and a null sink as the default sink, whose monitor can be
    recorded. The server's own events tell each sound played: one new sink
    input per sound."""

    name = "pulseaudio"
    SINK = "cap"
    RECORD_RATE = 16000
    NEW_SINK_INPUT = re.compile(r"Event 'new' on sink-input #(\d+)")

    def __init__(self, work):
        super().__init__(work)
        self.subscriber = self.recorder = None
        self.events = []  # (CLOCK_MONOTONIC seconds, line) of `pactl subscribe`
        self.lock = threading.Lock()

    def clientEnvironment(self):
        """What a client of this server needs: the socket, and no bus."""
        return {"PULSE_SERVER": "unix:" + os.path.join(self.folder, "native"),
                "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(self.folder, "no-bus")}

    def environment(self):
        return dict(super().environment(), **self.clientEnvironment())

    def command(self):
        # -n: none of the system's default.pa, so no D-Bus, no hardware.
        return ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                "--use-pid-file=no", "--log-target=stderr",
                "-L", "module-null-sink sink_name=%s" % self.SINK,
                "-L", "module-native-protocol-unix socket=%s auth-anonymous=1"
                % os.path.join(self.folder, "native")]

    def ready(self):
        return self.pactl("info", timeout=5).returncode == 0

    def pactl(self, *arguments, timeout=10):
        return subprocess.run(["pactl", *arguments], env=self.environment(), timeout=timeout,
                              capture_output=True, text=True)

    def start(self, timeout=15):
        super().start(timeout)
        result = self.pactl("set-default-sink", self.SINK)
        assert result.returncode == 0, result.stderr
        self.subscriber = spawn(["pactl", "subscribe"], self.environment(),
                                stdout=subprocess.PIPE, text=True)
        threading.Thread(target=self._readEvents, daemon=True).start()
        # pactl answers only once it is subscribed: a client event of its own
        # shows that the subscription stands.
        waitUntil(lambda: self.pactl("stat").returncode == 0 and self.eventsMatching("on client"),
                  10, "pactl subscribe to report")
        return self

    def _readEvents(self):
        for line in self.subscriber.stdout:
            with self.lock:
                self.events.append((time.monotonic(), line.strip()))

    def eventsMatching(self, text):
        with self.lock:
            return [(stamp, line) for stamp, line in self.events if text in line]

    def soundsStarted(self):
        """The CLOCK_MONOTONIC seconds at which each sound began to play."""
        with self.lock:
            return [stamp for stamp, line in self.events if self.NEW_SINK_INPUT.search(line)]

    def startRecording(self):
        self.recordPath = os.path.join(self.work, "monitor.wav")
        self.recorder = spawn(
            ["parec", "-d", self.SINK + ".monitor", "--file-format=wav",
             "--rate=%d" % self.RECORD_RATE, "--channels=1", "--format=s16le", self.recordPath],
            self.environment())
        # The recording stream shows as a source output once it runs.
        waitUntil(lambda: self.eventsMatching("'new' on source-output"), 10,
                  "parec to start recording")

    def stopRecording(self):
        """The recorded samples, -1.0 to 1.0."""
        stopGroup(self.recorder)
        self.recorder = None
        with open(self.recordPath, "rb") as file:
            data = file.read()
        # parec, ended by a signal, leaves the header's lengths unset.
        header = data.find(b"data")
        samples = array.array("h", data[header + 8:len(data) - (len(data) - header - 8) % 2])
        return [sample / 32768.0 for sample in samples]

    def stop(self):
        stopGroup(self.recorder)
        stopGroup(self.subscriber)
        super().stop()


def loudestWindow(samples, windowSamples=SoundServer.RECORD_RATE // 50):
    """The highest root mean square over windows of 20 ms."""
    best = 0.0
    for start in range(0, max(1, len(samples) - windowSamples), windowSamples // 2):
        window = samples[start:start + windowSamples]
        if window:
            best = max(best, (sum(value * value for value in window) / len(window)) ** 0.5)
    return best


class Compositor(Service):
    """weston: headless backend, pixman renderer, a private socket, and
    --debug, which allows its screenshots (weston-screenshooter)."""

    name = "weston"
    SOCKET = "wl-hopsala"

    def __init__(self, work, width=1024, height=768):
        super().__init__(work)
        self.width, self.height = width, height

    def command(self):
        return ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
                "--socket=" + self.SOCKET, "--width=%d" % self.width,
                "--height=%d" % self.height, "--idle-time=0", "--no-config"]

    def ready(self):
        socket = os.path.join(self.folder, self.SOCKET)
        return os.path.exists(socket) and os.path.exists(socket + ".lock")

    def clientEnvironment(self):
        return {"XDG_RUNTIME_DIR": self.folder, "WAYLAND_DISPLAY": self.SOCKET,
                "QT_QPA_PLATFORM": "wayland"}

    def screenshot(self):
        """A screenshot of the whole output, kept as screenshot.png in work."""
        shots = os.path.join(self.folder, "wayland-screenshot*.png")
        for old in glob.glob(shots):
            os.remove(old)
        subprocess.run(["weston-screenshooter"], cwd=self.folder, check=True, timeout=20,
                       env=dict(os.environ, **self.clientEnvironment()), capture_output=True)
        shot = waitUntil(lambda: glob.glob(shots), 10, "the screenshot file")[0]
        shutil.copy(shot, os.path.join(self.work, "screenshot.png"))
        return readImage(shot)


class SessionBus(Service):
    """A session bus of the test's own (dbus-daemon) whose only services are
    those named in SERVICES, started when first called and so in its
    process group; `gdbus` sends on it."""

    name = "bus"
    SERVICES = ()
    CONFIG = """<busconfig><type>session</type><listen>%s</listen><servicedir>%s</servicedir>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow own="*"/>
<allow eavesdrop="true"/></policy></busconfig>"""

    def clientEnvironment(self):
        return {"DBUS_SESSION_BUS_ADDRESS": "unix:path=%s/bus" % self.folder}

    def environment(self):
        return dict(super().environment(), **self.clientEnvironment(),
                    DBUS_SYSTEM_BUS_ADDRESS="unix:path=%s/no-bus" % self.folder)

    def prepare(self):
        for name in self.SERVICES:
            shutil.copy("/usr/share/dbus-1/services/%s.service" % name, self.folder)
        pathlib.Path(self.folder, "bus.conf").write_text(
            self.CONFIG % (self.clientEnvironment()["DBUS_SESSION_BUS_ADDRESS"], self.folder))

    def command(self):
        return ["dbus-daemon", "--nofork", "--config-file=%s/bus.conf" % self.folder]

    def ready(self):
        return os.path.exists(os.path.join(self.folder, "bus"))

    def run(self, *arguments):
        return subprocess.run(arguments, env=self.environment(), capture_output=True, text=True,
                              timeout=20)


class PortalSession(SessionBus):
    """The desktop portal's settings: a session bus whose only services are
    xdg-desktop-portal, its GTK backend (a client of the compositor) and
    dconf. The backend serves a fixed list of schemas: not GNOME's mouse
    settings but their former id, which a schema of the session's own binds
    to them, so that the portal tells their changes under it."""

    name = "portal"
    MOUSE = "org.gnome.desktop.peripherals.mouse"
    LEGACY_MOUSE = "org.gnome.settings-daemon.peripherals.mouse"
    SERVICES = ("org.freedesktop.portal.Desktop", "org.freedesktop.impl.portal.desktop.gtk",
                "ca.desrt.dconf")
    SCHEMA = """<schemalist><schema id="%s" path="/org/gnome/desktop/peripherals/mouse/">
<key name="double-click" type="i"><default>400</default></key></schema></schemalist>"""
    READ = ("gdbus call --session --timeout 5 --dest org.freedesktop.portal.Desktop "
            "--object-path /org/freedesktop/portal/desktop "
            "--method org.freedesktop.portal.Settings.Read").split()

    def __init__(self, work, compositor):
        super().__init__(work)
        self.compositor = compositor

    def environment(self):
        return dict(super().environment(), XDG_RUNTIME_DIR=self.compositor.folder,
                    WAYLAND_DISPLAY=self.compositor.SOCKET, XDG_CURRENT_DESKTOP="GNOME",
                    GSETTINGS_BACKEND="dconf", GSETTINGS_SCHEMA_DIR=self.folder)

    def prepare(self):
        super().prepare()
        pathlib.Path(self.folder, "legacy.gschema.xml").write_text(
            self.SCHEMA % self.LEGACY_MOUSE)
        subprocess.run(["glib-compile-schemas", self.folder], check=True, timeout=20)

    def ready(self):
        # The first call starts the portal, and the portal its backend.
        return self.run(*self.READ, "org.freedesktop.appearance", "color-scheme").returncode == 0

    def setDoubleClick(self, ms):
        result = self.run("gsettings", "set", self.MOUSE, "double-click", str(ms))
        assert result.returncode == 0, result.stderr

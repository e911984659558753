"""The desktop portal's settings for one test: a session bus of its own whose
only services, which it starts when first called and so in its process group,
are xdg-desktop-portal, its GTK backend (a client of the test's weston) and
dconf. The backend serves a fixed list of schemas: not GNOME's mouse settings
but their former id, which a schema of the session's own binds to them, so
that the portal tells their changes under it."""

import os
import pathlib
import shutil
import subprocess
import tempfile

from services import readLog, startService, stopService, waitUntil

MOUSE = "org.gnome.desktop.peripherals.mouse"
LEGACY_MOUSE = "org.gnome.settings-daemon.peripherals.mouse"
SERVICES = "org.freedesktop.portal.Desktop org.freedesktop.impl.portal.desktop.gtk ca.desrt.dconf"
CONFIG = """<busconfig><type>session</type><listen>%s</listen><servicedir>%s</servicedir>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow own="*"/>
<allow eavesdrop="true"/></policy></busconfig>"""
SCHEMA = """<schemalist><schema id="%s" path="/org/gnome/desktop/peripherals/mouse/">
<key name="double-click" type="i"><default>400</default></key></schema></schemalist>"""
READ = ("gdbus call --session --timeout 5 --dest org.freedesktop.portal.Desktop --object-path "
        "/org/freedesktop/portal/desktop --method org.freedesktop.portal.Settings.Read").split()


class PortalSession:
    def __init__(self, work_dir, wayland_display, xdg_runtime_dir):
        # A unix socket's path holds at most 107 bytes: the folder is short.
        self.folder = folder = tempfile.mkdtemp(prefix="hopsala-portal-")
        self.logPath = os.path.join(work_dir, "portal.log")
        self.address, self.process = "unix:path=%s/bus" % folder, None
        self.env = dict(PATH=os.environ.get("PATH", "/usr/bin:/bin"), HOME=folder,
                        XDG_RUNTIME_DIR=xdg_runtime_dir, WAYLAND_DISPLAY=wayland_display,
                        XDG_CURRENT_DESKTOP="GNOME", GSETTINGS_BACKEND="dconf",
                        DBUS_SESSION_BUS_ADDRESS=self.address, GSETTINGS_SCHEMA_DIR=folder,
                        DBUS_SYSTEM_BUS_ADDRESS="unix:path=%s/no-bus" % folder)

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, *failure):
        self.stop()

    def run(self, *arguments):
        return subprocess.run(arguments, env=self.env, capture_output=True, text=True, timeout=20)

    def start(self, timeout=20):
        for name in SERVICES.split():
            shutil.copy("/usr/share/dbus-1/services/%s.service" % name, self.folder)
        pathlib.Path(self.folder, "bus.conf").write_text(CONFIG % (self.address, self.folder))
        pathlib.Path(self.folder, "legacy.gschema.xml").write_text(SCHEMA % LEGACY_MOUSE)
        subprocess.run(["glib-compile-schemas", self.folder], check=True, timeout=20)
        self.process = startService(["dbus-daemon", "--nofork", "--config-file=%s/bus.conf"
                                     % self.folder], self.logPath, self.env)

        def answers():  # the first call starts the portal, and the portal its backend
            assert self.process.poll() is None, "the bus ended: " + readLog(self.logPath)
            return self.run(*READ, "org.freedesktop.appearance", "color-scheme").returncode == 0
        waitUntil(answers, timeout, lambda: "the portal's Settings.Read; bus log: "
                  + readLog(self.logPath)[-2000:])
        return self

    def set_double_click(self, ms):
        result = self.run("gsettings", "set", MOUSE, "double-click", str(ms))
        assert result.returncode == 0, result.stderr

    def environment(self):
        return {"DBUS_SESSION_BUS_ADDRESS": self.address}

    def stop(self):
        stopService(self.process)
        shutil.rmtree(self.folder, ignore_errors=True)

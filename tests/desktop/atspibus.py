"""A session bus of one test's own (dbus-run-session) with the accessibility
bus on it (at-spi2-core's launcher, which starts the registry at once), as a
desktop session gives a screen reader."""

import os
import shutil
import tempfile

from services import readLog, startService, stopService, waitUntil

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


class AccessibilityBus:
    def __init__(self, workDir):
        self.workDir = workDir
        # A unix socket's path holds at most 107 bytes: the folder is short.
        self.folder = tempfile.mkdtemp(prefix="hopsala-atspi-")
        os.chmod(self.folder, 0o700)
        self.logPath = os.path.join(workDir, "buses.log")
        self.addressPath = os.path.join(self.folder, "address")
        self.process = None
        self.address = None

    def start(self, timeout=20):
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.folder,
               "XDG_RUNTIME_DIR": self.folder, "TMPDIR": self.folder}
        # The launcher runs as the session's one command: the session bus
        # lives as long as it, and both end with the process group.
        script = 'echo "$DBUS_SESSION_BUS_ADDRESS" > "%s.new" && mv "%s.new" "%s" && exec %s --launch-immediately' % (
            (self.addressPath,) * 3 + (LAUNCHER,))
        self.process = startService(["dbus-run-session", "--", "sh", "-c", script],
                                    self.logPath, env)

        def ready():
            if self.process.poll() is not None:
                raise AssertionError("the session bus ended with status %s: %s"
                                     % (self.process.returncode, readLog(self.logPath)))
            return os.path.exists(self.addressPath)
        waitUntil(ready, timeout, "the session bus to name its address")
        with open(self.addressPath) as file:
            self.address = file.read().strip()
        return self

    def clientEnvironment(self):
        return {"DBUS_SESSION_BUS_ADDRESS": self.address}

    def stop(self):
        stopService(self.process)
        shutil.rmtree(self.folder, ignore_errors=True)

"""The program under test, started as a player starts a copy of it: from a
folder of its own beside a Wahl.txt of known bytes, with the sanitizer
settings of the test run passed on."""

import glob
import os
import re
import shutil
import subprocess

from .service import PATH, WaitTimeout, readLog, spawn, stopGroup

SANITIZERS = ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS")
# libfaketime, which a test preloads to set the program's clock forward.
FAKETIME = (glob.glob("/usr/lib/*/faketime/libfaketime.so.1") or ["libfaketime.so.1"])[0]


def sanitizerSettings():
    """How the sanitizers of a test build behave, as the test run tells them."""
    return {name: os.environ[name] for name in SANITIZERS if name in os.environ}


def wahl(*lines):
    """Wahl.txt as the program writes it: Windows-1252, every line ended by CR LF."""
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


def interpreter(path):
    """The dynamic loader that the program file names."""
    headers = subprocess.run(["readelf", "-lW", path], capture_output=True, text=True, check=True).stdout
    return re.search(r"program interpreter: ([^\]]+)\]", headers).group(1)


class Program:
    """A copy of the program in the folder of work named folder (bytes, so
    that a name need not be UTF-8), beside a Wahl.txt of the given bytes
    (none when wahl is None); env reaches the display or compositor and the
    buses, over a default of the xcb platform and no session bus."""

    def __init__(self, programPath, work, wahl, env, folder=b"program"):
        # A str with the bytes that are no UTF-8 escaped, as os and subprocess take it.
        self.directory = os.path.join(work, os.fsdecode(folder))
        os.makedirs(self.directory, exist_ok=True)
        self.path = shutil.copy2(programPath, self.directory)
        self.wahlPath = os.path.join(self.directory, "Wahl.txt")
        if wahl is not None:
            with open(self.wahlPath, "wb") as file:
                file.write(wahl)
        self.home = os.path.join(work, "home")
        os.makedirs(self.home, mode=0o700, exist_ok=True)
        self.logPath = os.path.join(work, "program.log")
        # A bus address that fails at once keeps Qt's accessibility bridge
        # from waiting on a session bus at start-up.
        self.env = dict(PATH=PATH, HOME=self.home, XDG_RUNTIME_DIR=self.home, LANG="C.UTF-8",
                        QT_QPA_PLATFORM="xcb",
                        DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(self.home, "no-bus"))
        self.env.update(env, **sanitizerSettings())
        self.process = None
        self.clockPath = None

    def withSettableClock(self):
        """The program's time of day runs as the machine's, until a test sets
        it forward: libfaketime, preloaded, reads its offset from a file of
        the test's at every call; the monotonic clock, and so every timer of
        Qt's, stays the machine's."""
        self.clockPath = os.path.join(os.path.dirname(self.logPath), "clock")
        self._writeClock(0)
        self.env.update(LD_PRELOAD=FAKETIME, FAKETIME_TIMESTAMP_FILE=self.clockPath,
                        FAKETIME_NO_CACHE="1", FAKETIME_DONT_FAKE_MONOTONIC="1")
        # The sanitizers' runtime no longer comes first among the libraries.
        self.env["ASAN_OPTIONS"] = ":".join(filter(None, [self.env.get("ASAN_OPTIONS"),
                                                         "verify_asan_link_order=0"]))
        return self

    def _writeClock(self, seconds):
        self.clockOffset = seconds
        with open(self.clockPath + ".new", "w") as file:
            file.write("%+d\n" % seconds)
        os.replace(self.clockPath + ".new", self.clockPath)

    def endTheGame(self):
        """Sets the program's clock 30 s forward, as a player's clock may be:
        the running game is over at its next tick, with all the clicks it
        counted, and no test waits out the rest of its 30 seconds."""
        self._writeClock(self.clockOffset + 30)

    def start(self, arguments=(), throughLoader=False):
        # Started elsewhere: the program must find Wahl.txt beside itself,
        # not beside the dynamic loader when that is what runs.
        loader = [interpreter(self.path)] if throughLoader else []
        self.process = spawn([*loader, self.path, *arguments], self.env, self.logPath, cwd=self.home)
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
        return readLog(self.logPath)

    def stop(self):
        stopGroup(self.process)

    def report(self):
        return "Wahl.txt now: %r\nprogram output:\n%s" % (self.wahl(), self.log())

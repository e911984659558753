"""A private X display for the tests and the benchmarks: Xvfb on the first
free display, reachable only through its unix socket and only with a fresh
cookie. Shared by tests/e2e/xsession.py and bench/run.py.
"""

import os
import secrets
import select
import struct
import subprocess
import time

FAMILY_WILD = 0xFFFF  # an Xauthority entry valid for every host and display
COOKIE_NAME = b"MIT-MAGIC-COOKIE-1"


class WaitTimeout(AssertionError):
    pass


def stopProcess(process, grace=10):
    """Ends a service started by a test or a benchmark: politely first, then
    for good; a process that has ended already is left as it is."""
    if process and process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def _authEntry(cookie):
    """One Xauthority entry for any host and display: the server reads the
    file before it has picked its display number, the clients after."""
    def counted(data):
        return struct.pack(">H", len(data)) + data
    return (struct.pack(">H", FAMILY_WILD) + counted(b"") + counted(b"")
            + counted(COOKIE_NAME) + counted(cookie))


class XServer:
    """Xvfb on the first free display, its log and its cookie in workDir;
    screen is WIDTHxHEIGHTxDEPTH."""

    def __init__(self, workDir, screen):
        self.workDir = workDir
        self.screen = screen
        self.process = None
        self.display = None
        self.authFile = os.path.join(workDir, "Xauthority")

    def start(self, timeout=20):
        with open(self.authFile, "wb") as file:
            file.write(_authEntry(secrets.token_bytes(16)))
        readEnd, writeEnd = os.pipe()
        log = open(os.path.join(self.workDir, "Xvfb.log"), "wb")
        try:
            # Without -noreset the server resets whenever its last client
            # leaves, as every short xdotool call does, and a program
            # connecting in that moment is turned away.
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(writeEnd), "-screen", "0", self.screen,
                 "-nolisten", "tcp", "-noreset", "-auth", self.authFile],
                pass_fds=(writeEnd,), stdin=subprocess.DEVNULL, stdout=log,
                stderr=subprocess.STDOUT)
        finally:
            os.close(writeEnd)
            log.close()
        try:
            self.display = ":" + self._readDisplayNumber(readEnd, timeout)
        finally:
            os.close(readEnd)

    def _readDisplayNumber(self, readEnd, timeout):
        received = b""
        deadline = time.monotonic() + timeout
        while not received.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            ready, _, _ = select.select([readEnd], [], [], max(0.0, remaining))
            if not ready:
                raise WaitTimeout("Xvfb named no display within %d s" % timeout)
            chunk = os.read(readEnd, 64)
            if not chunk:
                raise RuntimeError("Xvfb ended before naming its display; see Xvfb.log")
            received += chunk
        return received.decode("ascii").strip()

    def environment(self):
        """What every client of this display needs, and nothing else."""
        return {"DISPLAY": self.display, "XAUTHORITY": self.authFile,
                "PATH": os.environ.get("PATH", "/usr/bin:/bin")}

    def state(self):
        """For failure reports: whether the server still runs, and its log."""
        code = self.process.poll() if self.process else None
        with open(os.path.join(self.workDir, "Xvfb.log"), "rb") as log:
            output = log.read().decode("utf-8", "replace").strip()
        return "%s%s" % ("running" if code is None else "ended with %s" % code,
                         "; it said: " + output if output else "")

    def stop(self):
        stopProcess(self.process)

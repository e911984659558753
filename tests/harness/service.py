"""The shape every service of a test or a benchmark shares: started in a
process group of its own with its output in a log, waited for until ready
within a bound, and stopped with its whole group, also when a test fails."""

import os
import shutil
import signal
import subprocess
import tempfile
import time

POLL_SECONDS = 0.05
PATH = os.environ.get("PATH", "/usr/bin:/bin")


class WaitTimeout(AssertionError):
    pass


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


def readLog(path):
    try:
        with open(path, "rb") as file:
            return file.read().decode("utf-8", "replace").strip()
    except FileNotFoundError:
        return ""


def spawn(arguments, env, logPath=None, **options):
    """A process in a fresh process group, its output appended to logPath
    (dropped without one), so that stopGroup ends whatever it starts."""
    options.setdefault("stdin", subprocess.DEVNULL)
    if logPath is None:
        options.setdefault("stdout", subprocess.DEVNULL)
        options.setdefault("stderr", subprocess.DEVNULL)
        return subprocess.Popen(arguments, env=env, start_new_session=True, **options)
    with open(logPath, "ab") as log:
        return subprocess.Popen(arguments, env=env, stdout=log, stderr=subprocess.STDOUT,
                                start_new_session=True, **options)


def stopGroup(process, grace=5):
    """Ends the process group of a process that spawn started: politely,
    then by force; a group that has ended already is left as it is."""
    if process is None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(process.pid, sig)
        except ProcessLookupError:
            break
        try:
            process.wait(timeout=grace)
            break
        except subprocess.TimeoutExpired:
            continue
    process.wait(timeout=grace)


class Service:
    """One service: name names its log (in work, kept when a test fails) and
    its private folder (removed at the end). A subclass gives its command
    and may give its environment, what it prepares in the folder and when
    it is ready; the base fails at once when the service ends meanwhile."""

    name = "service"

    def __init__(self, work):
        self.work = work
        self.logPath = os.path.join(work, self.name + ".log")
        self.folder = None
        self.process = None

    def command(self):
        raise NotImplementedError

    def environment(self):
        return {"PATH": PATH, "HOME": self.folder, "XDG_RUNTIME_DIR": self.folder}

    def prepare(self):
        """What the service needs in its folder before it starts."""

    def ready(self):
        return True

    def clientEnvironment(self):
        """What a client of the service needs to reach it."""
        return {}

    def start(self, timeout=20, **options):
        # A unix socket's path holds at most 107 bytes: the folder is short.
        self.folder = tempfile.mkdtemp(prefix="hopsala-%s-" % self.name)
        os.chmod(self.folder, 0o700)
        self.prepare()
        self.process = spawn(self.command(), self.environment(), self.logPath, **options)

        def ready():
            if self.process.poll() is not None:
                raise AssertionError("%s ended with status %s: %s"
                                     % (self.name, self.process.returncode, self.log()[-2000:]))
            return self.ready()
        waitUntil(ready, timeout, lambda: "%s to be ready; it said: %s"
                  % (self.name, self.log()[-2000:]))
        return self

    def stop(self):
        stopGroup(self.process)
        if self.folder:
            shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, *failure):
        self.stop()

    def log(self):
        return readLog(self.logPath)

    def report(self):
        """For a failure report: whether it still runs, and what it said."""
        code = self.process.poll() if self.process else "never started"
        return "%s %s; it said:\n%s" % (self.name, "running" if code is None else
                                         "ended with %s" % code, self.log()[-3000:])

"""Starting and ending the desktop's services for one test: each runs in a
process group of its own, so that ending it ends whatever it started."""

import os
import signal
import subprocess

from xsession import WaitTimeout, waitUntil  # noqa: F401 (for the users of this module)


def startService(arguments, logPath, env, **options):
    """A process in a fresh process group, its output in logPath."""
    with open(logPath, "ab") as log:
        return subprocess.Popen(arguments, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                stderr=subprocess.STDOUT, start_new_session=True, **options)


def stopService(process, grace=5):
    """Ends the process group of process: politely, then by force."""
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
    if process.poll() is None:
        process.wait(timeout=grace)


def readLog(path):
    try:
        with open(path, "rb") as file:
            return file.read().decode("utf-8", "replace").strip()
    except FileNotFoundError:
        return ""

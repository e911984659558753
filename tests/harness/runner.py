"""The command line of every test script:

    SCRIPT --program build/Hopsala1 --test NAME [--work DIR] [--screenshots DIR]
           [--deadline SECONDS]

A test is a function given a Run: the program's path, an emptied work
folder, and what the test starts through it. At the deadline, or when the
test is ended from outside (SIGTERM), the test fails where it stands; a
failed test prints its traceback and what each of its services and programs
said, and every one of them is stopped, in the reverse order of their
start, whether the test passed or not. The work folder is kept only when a
test fails."""

import argparse
import contextlib
import os
import shutil
import signal
import subprocess
import time
import traceback

from .program import Program


class Deadline(Exception):
    pass


def _deadline(signum, frame):
    raise Deadline("the test was ended by %s" % signal.Signals(signum).name)


def endOnSignals(seconds=None):
    """From now on SIGTERM, and SIGALRM after seconds, fail where the test
    stands, so that its clean-up still runs."""
    signal.signal(signal.SIGTERM, _deadline)
    signal.signal(signal.SIGALRM, _deadline)
    if seconds:
        signal.alarm(seconds)


def freshWork(kind, command):
    """An empty work folder, below the current one, for a command run under
    services of its own, which also end when it is ended from outside."""
    work = os.path.join(os.getcwd(), "work", kind + "-" + os.path.basename(command[0]))
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    endOnSignals()
    return work


def runCommand(command, env):
    """The status of command, which must end within ctest's TIMEOUT of 120 s
    so that the services it runs beside are still ended; 1 when it did not."""
    try:
        return subprocess.run(command, env=env, timeout=90).returncode
    except subprocess.TimeoutExpired:
        print("%s did not end in time" % command[0])
        return 1


def _endedAnyway():
    """Once the test is over, its clean-up is not cut short."""
    signal.alarm(0)
    signal.signal(signal.SIGTERM, signal.SIG_IGN)


class Run:
    """One test's program, work folder and folder of screenshots, and the
    services and programs it started: each stopped at its end, each
    reported when it fails."""

    def __init__(self, arguments):
        self.programPath = arguments.program
        self.work = arguments.work
        self.screenshots = arguments.screenshots
        self.program = None
        self._stack = contextlib.ExitStack()
        self._reports = []

    def begin(self):
        """What every test of the kind starts with."""

    def startService(self, service):
        self._stack.enter_context(service)
        self.onFailure(service.report)
        return service

    def programEnvironment(self):
        """Where the program finds its display or compositor."""
        return {}

    def newProgram(self, wahl, env=None, folder=b"program"):
        """A copy of the program in the folder of that name beside a
        Wahl.txt of the bytes wahl, not yet started; env is added to the
        program's environment."""
        self.program = Program(self.programPath, self.work, wahl,
                               dict(self.programEnvironment(), **(env or {})), folder)
        self._stack.callback(self.program.stop)
        self.onFailure(self.program.report)
        return self.program

    def start(self, wahl, env=None, folder=b"program"):
        return self.newProgram(wahl, env, folder).start()

    def startToPlay(self, wahl, env=None):
        """The program started for a whole game, which the test ends, once
        played, by setting the program's clock forward (Program.endTheGame)."""
        return self.newProgram(wahl, env).withSettableClock().start()

    def onFailure(self, describe):
        """describe() gives a text for the failure report."""
        self._reports.append(describe)

    def save(self, picture, name):
        os.makedirs(self.screenshots, exist_ok=True)
        picture.savePng(os.path.join(self.screenshots, name + ".png"))

    def report(self):
        for describe in self._reports:
            try:
                print(describe())
            except Exception as error:  # the report of the first failure matters more
                print("a part of the report failed: %s" % error)

    def close(self):
        self._stack.close()


def main(tests, doc, run=Run):
    """Runs the test named on the command line; the exit status is 0 when it passed."""
    parser = argparse.ArgumentParser(description=doc.split("\n\n")[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--test", required=True, choices=sorted(test.__name__ for test in tests))
    parser.add_argument("--work", help="scratch directory, emptied first")
    parser.add_argument("--screenshots", default="screenshots")
    parser.add_argument("--deadline", type=int, default=100, help="seconds the test may take")
    arguments = parser.parse_args()
    arguments.program = os.path.abspath(arguments.program)
    arguments.work = os.path.abspath(arguments.work or os.path.join("work", arguments.test))
    arguments.screenshots = os.path.abspath(arguments.screenshots)
    shutil.rmtree(arguments.work, ignore_errors=True)
    os.makedirs(arguments.work)
    test = {test.__name__: test for test in tests}[arguments.test]
    began = time.monotonic()
    endOnSignals(arguments.deadline)
    session = run(arguments)
    try:
        session.begin()
        test(session)
    except Exception:
        _endedAnyway()
        traceback.print_exc()
        session.report()
        print("FAIL %s (%.1f s); files in %s" % (arguments.test, time.monotonic() - began,
                                                 arguments.work))
        return 1
    finally:
        _endedAnyway()
        session.close()
    shutil.rmtree(arguments.work, ignore_errors=True)
    print("PASS %s (%.1f s)" % (arguments.test, time.monotonic() - began))
    return 0

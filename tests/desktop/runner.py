"""The command line shared by the desktop tests:

    TEST.py --program build/Hopsala1 --test NAME --work DIR [--deadline SECONDS]

Each test is a function given its work folder and the program's path; what
it starts it stops itself, also when it fails: at the deadline, or when the
test is ended from outside (SIGTERM), the test fails where it stands, and its
own clean-up ends its services, which run in process groups of their own.
The work folder is kept only when a test fails."""

import argparse
import os
import shutil
import signal
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree


class Deadline(Exception):
    pass


def _deadline(signum, frame):
    raise Deadline("the test was ended by %s" % signal.Signals(signum).name)


def main(tests, doc):
    parser = argparse.ArgumentParser(description=doc.split("\n\n")[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--test", required=True, choices=sorted(test.__name__ for test in tests))
    parser.add_argument("--work", required=True, help="scratch directory, emptied first")
    parser.add_argument("--deadline", type=int, default=100, help="seconds the test may take")
    arguments = parser.parse_args()
    signal.signal(signal.SIGALRM, _deadline)
    signal.signal(signal.SIGTERM, _deadline)
    signal.alarm(arguments.deadline)
    program = os.path.abspath(arguments.program)
    work = os.path.abspath(arguments.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    began = time.monotonic()
    test = {test.__name__: test for test in tests}[arguments.test]
    try:
        test(program, work)
        signal.alarm(0)
    except Exception:
        signal.alarm(0)
        traceback.print_exc()
        print("FAIL %s (%.1f s); files in %s" % (arguments.test, time.monotonic() - began, work))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("PASS %s (%.1f s)" % (arguments.test, time.monotonic() - began))
    return 0

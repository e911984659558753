"""The command line shared by the desktop tests:

    TEST.py --program build/Hopsala1 --test NAME --work DIR

Each test is a function given its work folder and the program's path; what
it starts it stops itself, also when it fails. The work folder is kept only
when a test fails."""

import argparse
import os
import shutil
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree


def main(tests, doc):
    parser = argparse.ArgumentParser(description=doc.split("\n\n")[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--test", required=True, choices=sorted(test.__name__ for test in tests))
    parser.add_argument("--work", required=True, help="scratch directory, emptied first")
    arguments = parser.parse_args()
    program = os.path.abspath(arguments.program)
    work = os.path.abspath(arguments.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    began = time.monotonic()
    test = {test.__name__: test for test in tests}[arguments.test]
    try:
        test(program, work)
    except Exception:
        traceback.print_exc()
        print("FAIL %s (%.1f s); files in %s" % (arguments.test, time.monotonic() - began, work))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("PASS %s (%.1f s)" % (arguments.test, time.monotonic() - began))
    return 0

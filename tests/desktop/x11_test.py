#!/usr/bin/env python3
"""Runs a Qt test on the xcb platform under an Xvfb of its own, which ends
also when the test fails; the status is the test's:

    x11_test.py COMMAND...
"""

import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from harness import runner  # noqa: E402
from harness.services import XServer  # noqa: E402

if __name__ == "__main__":
    with XServer(runner.freshWork("xvfb", sys.argv[1:])) as server:
        env = dict(os.environ, **server.clientEnvironment(), QT_QPA_PLATFORM="xcb")
        sys.exit(runner.runCommand(sys.argv[1:], env))

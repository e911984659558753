#!/usr/bin/env python3
"""Runs a Qt test on the xcb platform under an Xvfb of its own, which ends
also when the test fails; the status is the test's:

    x11_test.py COMMAND...
"""

import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from harness import runner  # noqa: E402
from harness.services import XServer  # noqa: E402

if __name__ == "__main__":
    work = os.path.join(os.getcwd(), "work", "xvfb-" + os.path.basename(sys.argv[1]))
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    runner.endOnSignals()
    with XServer(work) as server:
        env = dict(os.environ, **server.clientEnvironment(), QT_QPA_PLATFORM="xcb")
        # Within ctest's TIMEOUT of 120 s, so that the server is still ended.
        sys.exit(subprocess.run(sys.argv[1:], env=env, timeout=90).returncode)

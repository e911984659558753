#!/usr/bin/env python3
"""The real program as a native Wayland client: under a weston of the
test's own, on Qt's wayland platform, judged by weston's screenshots.

    wayland_test.py --program build/Hopsala1 --test NAME --work DIR [--deadline SECONDS]
    wayland_test.py --run COMMAND...   (runs COMMAND under a weston of its own)
    wayland_test.py --run-with-portal COMMAND...   (and beside the desktop portal,
                                                   with GNOME's double-click time at 1000 ms)
    wayland_test.py --run-with-kde COMMAND...   (and on KDE Plasma: a session bus of its
                                                own, a kdeglobals that sets 1000 ms)
"""

import os
import subprocess
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from harness import runner, screen  # noqa: E402
from harness.program import wahl  # noqa: E402
from harness.service import waitUntil  # noqa: E402
from harness.services import Compositor, PortalSession, SessionBus  # noqa: E402
from harness.session import STEP_SECONDS  # noqa: E402

WAHL = wahl('"Anfänger"', '0,"unbekannt"', '0,"unbekannt"', '0,"unbekannt"')


def isCyan(pixel):
    return pixel == screen.CYAN


def theMainWindowShowsItsCyanFieldWithTheBallAtItsPlace(run):
    # On Wayland the main window shows a client area of 312 x 206 cyan pixels beside its left column, the ball at its starting place and the line at its x.
    weston = run.startService(Compositor(run.work))
    program = run.start(WAHL, weston.clientEnvironment())

    def field():
        assert program.isRunning(), "the program ended with %s" % program.process.returncode
        picture = weston.screenshot()
        box = picture.boundingBox(isCyan, minimumPerLine=20)
        if not box or box[2:] != (screen.CLIENT_WIDTH, screen.CLIENT_HEIGHT):
            return None
        client = picture.crop(*box)
        return client if screen.MainWindow.findBall(client) else None
    client = waitUntil(field, STEP_SECONDS, "a cyan field of 312 x 206 with the ball")
    ball = screen.MainWindow.findBall(client)
    start = screen.BALL_START
    assert (abs(ball.x - start.x) <= 2 and abs(ball.y - start.y) <= 2
            and 46 <= ball.width <= 50 and 46 <= ball.height <= 50), "ball at %r" % ball
    for x in range(screen.PLAY_FIELD_LEFT, client.width):
        for y in range(client.height):
            inBall = start.x <= x < start.x + 50 and start.y <= y < start.y + 50
            assert inBall or isCyan(client.pixel(x, y)), "(%d, %d) is not cyan" % (x, y)
    assert all(screen.isDark(client.pixel(screen.LINE_X, y)) for y in range(client.height))
    button = client.crop(screen.LOS_BUTTON.x, screen.LOS_BUTTON.y, screen.LOS_BUTTON.width,
                         screen.LOS_BUTTON.height)
    assert button.countPixels(isCyan) < button.width * button.height // 10, (
        "the button \"Los\" is not drawn")


# Widget tests that cannot hold under a headless compositor, and why.
NO_KEYBOARD = ("weston's headless backend has no seat: no window ever becomes active "
               "or gets the keyboard focus there")
HALVED_MARGINS = ("Qt 6.4's wayland platform at QT_SCALE_FACTOR=2 halves the odd margins of "
                  "its own decorations and grows every window by one logical pixel: a bare "
                  "QMainWindow of 312 x 228 becomes 313 x 229 there")
NO_CLIPBOARD = ("without a seat there is no data device, so no clipboard: Ctrl+C in a box "
                "copies nothing there")
NO_PLACES = ("a Wayland client does not place its windows and learns no position: whether a "
             "box's frame lies on the screen cannot be told there")
OFFSCREEN_ONLY = {
    "test_boxes": {"ctrlCCopiesTheMessage": NO_CLIPBOARD,
                   "theEndReportStaysOnOneLineAndTheBoxGrows": NO_PLACES},
    "test_highdpi": {"theWindowIsTwiceAsLargeInDevicePixelsAndKeepsItsTwips": HALVED_MARGINS},
    "test_toolkit": {"onlyTheStartButtonTakesTheFocusAndHasIt": NO_KEYBOARD},
    "test_accessibility": {"theMenuWorksFromTheKeyboardAndGivesTheFocusBackToLos": NO_KEYBOARD},
}


def qtestCommand(command, env):
    """command, a Qt test, limited to the functions that can hold here."""
    name = os.path.basename(command[0])
    skipped = OFFSCREEN_ONLY.get(name, {})
    if not skipped:
        return command
    listed = subprocess.run([command[0], "-functions"], env=env, capture_output=True, text=True,
                            timeout=60, check=True).stdout.split()
    functions = [function[:-2] for function in listed if function.endswith("()")]
    for function, reason in skipped.items():
        assert function in functions, "%s has no test %s to skip" % (name, function)
        print("SKIP   : %s::%s() on wayland: %s" % (name, function, reason))
    return command + [function for function in functions if function not in skipped]


def runUnderWeston(command, desktop=None):
    """Runs command under a weston of its own on the wayland platform, on
    the desktop named (None, "portal" or "kde"); its status is the command's."""
    work = runner.freshWork("weston", command)
    with Compositor(work) as weston:
        env = dict(os.environ, **weston.clientEnvironment())
        if desktop == "portal":
            with PortalSession(work, weston) as portal:
                portal.setDoubleClick(1000)
                return runTest(command, dict(env, **portal.clientEnvironment()))
        if desktop == "kde":
            config = os.path.join(work, "config")
            os.makedirs(config)
            with open(os.path.join(config, "kdeglobals"), "w") as kdeglobals:
                kdeglobals.write("[KDE]\nDoubleClickInterval=1000\n")
            with SessionBus(work) as bus:
                return runTest(command, dict(env, **bus.clientEnvironment(), XDG_CONFIG_HOME=config,
                                             XDG_CURRENT_DESKTOP="KDE"))
        return runTest(command, env)


def runTest(command, env):
    return runner.runCommand(qtestCommand(command, env), env)


if __name__ == "__main__":
    DESKTOPS = {"--run": None, "--run-with-portal": "portal", "--run-with-kde": "kde"}
    if len(sys.argv) > 2 and sys.argv[1] in DESKTOPS:
        sys.exit(runUnderWeston(sys.argv[2:], DESKTOPS[sys.argv[1]]))
    sys.exit(runner.main([theMainWindowShowsItsCyanFieldWithTheBallAtItsPlace], __doc__))

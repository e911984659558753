#!/usr/bin/env python3
"""The bell as the sound server hears it: the real program on a private X
display, pointed at a PulseAudio server of the test's own, played with
xdotool; the server's events count the sounds and its null sink's monitor
records them.

    sound_test.py --program build/Hopsala1 --test NAME --work DIR [--deadline SECONDS]
"""

import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from harness import runner, screen  # noqa: E402
from harness.ballhunter import BallHunter  # noqa: E402
from harness.program import wahl  # noqa: E402
from harness.service import WaitTimeout, waitUntil  # noqa: E402
from harness.services import SoundServer, loudestWindow  # noqa: E402
from harness.session import BOX_TITLE, STEP_SECONDS, Session  # noqa: E402

DOUBLE_CLICKS = 3
DOUBLE_CLICK_ATTEMPTS = 8  # the ball moves: a few double clicks miss it
COUNT_SECONDS = 2  # for lblPunkte to show a double click that hit
SOUND_SECONDS = 5  # from a click to the server's new sink input: a bound, not a pause
# Stored above what a game here scores, so that no name is asked for.
WAHL = wahl('"Anfänger"', '99,"Igel"', '0,"unbekannt"', '0,"unbekannt"')


def punkte(main):
    """lblPunkte's look: it changes only when a double click counts."""
    return main.label(main.picture(), screen.LBL_PUNKTE)


def connected(server):
    """Whether the program's bell holds a connection to the server."""
    clients = server.pactl("list", "clients").stdout
    return 'application.name = "Hopsala1"' in clients


def sounds(server):
    return len(server.soundsStarted())


def expectSounds(server, count, after):
    waitUntil(lambda: sounds(server) >= count, SOUND_SECONDS,
              lambda: "sound %d after %s; the server played %d" % (count, after, sounds(server)))
    assert sounds(server) == count, "%d sounds after %s, not %d" % (sounds(server), after, count)


def theServerPlaysOneBellPerDoubleClickInAGameAndOneAtItsEnd(s):
    # Each double click on the ball during a game and the game's end sound the desktop bell through the sound server, heard in its recording; double clicks before "Los" and single clicks sound nothing; the bell connects to the server at the first click, not before.
    server = s.startService(SoundServer(s.work))
    server.startRecording()
    program = s.startToPlay(WAHL, server.clientEnvironment())
    main = s.mainWindow()
    # The bell connects at the player's first input, not at start-up.
    assert not connected(server), "the bell connected before any input"
    ball = screen.BALL_START.centre()
    main.click(*ball, repeat=2)
    waitUntil(lambda: connected(server), SOUND_SECONDS, "the bell to connect at the first click")
    main.click(*ball)
    main.clickLos()
    counters = screen.Counters(main, STEP_SECONDS)
    counters.expectBothZero()
    assert sounds(server) == 0, "clicks before \"Los\" sounded %d times" % sounds(server)
    hunter = BallHunter(main)
    counted = 0
    for attempt in range(DOUBLE_CLICK_ATTEMPTS):
        before = punkte(main)
        hunter.doubleClickBall()
        try:
            waitUntil(lambda: punkte(main) != before, COUNT_SECONDS, "lblPunkte to change")
        except WaitTimeout:
            # Missed the moving ball: such clicks sound nothing.
            assert sounds(server) == counted, "%d sounds for %d counted double clicks" % (
                sounds(server), counted)
            continue
        counted += 1
        expectSounds(server, counted, "double click %d" % counted)
        if counted == DOUBLE_CLICKS:
            break
    assert counted == DOUBLE_CLICKS, "only %d of %d attempts counted" % (counted, attempt + 1)
    for _ in range(2):
        hunter.clickBall()
    program.endTheGame()
    s.waitForWindow(BOX_TITLE)
    expectSounds(server, DOUBLE_CLICKS + 1, "the end of the game")
    s.confirmBox(BOX_TITLE)
    samples = server.stopRecording()
    assert sounds(server) == DOUBLE_CLICKS + 1, "the server played %d sounds" % sounds(server)
    quiet = loudestWindow(samples[:SoundServer.RECORD_RATE // 5])
    loud = loudestWindow(samples)
    assert loud > 0.05 and loud > 20 * quiet, (
        "the recording holds no bell: loudest %.4f, its first 200 ms %.4f" % (loud, quiet))
    assert "PulseAudio" not in program.log() and "canberra" not in program.log().lower(), (
        program.log())
    print("bell recorded at %.3f of full scale (RMS over 20 ms), silence %.4f" % (loud, quiet))


if __name__ == "__main__":
    sys.exit(runner.main([theServerPlaysOneBellPerDoubleClickInAGameAndOneAtItsEnd], __doc__,
                         Session))

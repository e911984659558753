#!/usr/bin/env python3
"""End-to-end tests of the built program Hopsala1, driven from outside as a
person would: on a private X display, by mouse and keyboard, judged by what
the screen shows and by the bytes of Wahl.txt.

    e2e_test.py --program build/Hopsala1 --test NAME [--work DIR] [--screenshots DIR]
                [--deadline SECONDS]
"""

import copy
import os
import stat
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from harness import runner, screen  # noqa: E402
from harness.ballhunter import BallHunter  # noqa: E402
from harness.program import wahl  # noqa: E402
from harness.screen import MainWindow  # noqa: E402
from harness.service import waitUntil  # noqa: E402
from harness.services import XSettingsManager  # noqa: E402
from harness.session import (BOX_TITLE, HIGH_TITLE, MAIN_TITLE,  # noqa: E402
                             SCREEN_HEIGHT, SCREEN_WIDTH, STEP_SECONDS, Session)


def theMainWindowStartsAsDesignedWithTheStoredLevelChecked(s):
    # Start-up shows the window at its design size and colours, the ball still at its place, empty counters, and the level of Wahl.txt checked.
    s.start(wahl('"Profi"', '0,"unbekannt"', '0,"unbekannt"', '0,"unbekannt"'))
    main = s.mainWindow()
    assert main.frame.width == screen.CLIENT_WIDTH, main.frame
    assert 15 <= main.menuBarHeight <= 40, "client area 312 x 206 plus a menu bar: %r" % main.frame
    centreX, centreY = main.frame.centre()
    assert abs(centreX - SCREEN_WIDTH // 2) <= 1 and abs(centreY - SCREEN_HEIGHT // 2) <= 1, (
        "not centred on the screen: %r" % main.frame)
    picture = main.picture()
    s.save(main.fullPicture(), "main-window")
    ball = main.findBall(picture)
    start = screen.BALL_START
    assert (abs(ball.x - start.x) <= 2 and abs(ball.y - start.y) <= 2
            and 46 <= ball.width <= 50 and 46 <= ball.height <= 50), "ball at %r" % ball
    for x in range(screen.PLAY_FIELD_LEFT, picture.width):
        for y in range(picture.height):
            inBall = start.x <= x < start.x + 50 and start.y <= y < start.y + 50
            assert inBall or picture.pixel(x, y) == screen.CYAN, "(%d, %d) is not cyan" % (x, y)
    assert all(screen.isDark(picture.pixel(screen.LINE_X, y)) for y in range(picture.height))
    plain = bytes(screen.CYAN) * (41 * 25)
    for name, rect in (("lblZeit", screen.LBL_ZEIT), ("lblPunkte", screen.LBL_PUNKTE),
                       ("lblPunkte2", screen.LBL_PUNKTE2)):
        assert main.label(picture, rect) == plain, "%s is not empty" % name
    menu = main.openMenu()
    s.save(menu.picture, "menu-datei")
    assert menu.checkedLevel() == screen.PROFI, "checked: %r" % menu.checkedLevel()


def aWholeGameCountsTheDoubleClicksOnTheBallAndStoresTheNewRecord(s):
    # Every double click on the ball scores once, single clicks on it are errors, clicks beside it count nothing, and the record is stored with the entered name.
    program = s.startToPlay(wahl('"Anfänger"', '0,"unbekannt"', '7,"Igel"', '3,"Maus"'))
    main = s.mainWindow()
    main.clickLos()
    counters = screen.Counters(main, STEP_SECONDS)
    counters.expectBothZero()
    hunter = BallHunter(main)
    # A click beside the ball is followed by a double click, which finds the
    # counters alike only if the stray click counted nothing.
    for step in ("double", "beside", "double", "double", "beside", "double", "double"):
        if step == "beside":
            hunter.clickBesideBall()
            continue
        hunter.doubleClickBall()
        counters.expectDoubleClickCounted()
        if len(counters.doubleLooks) == 4:
            s.save(main.fullPicture(), "game-running")
    for _ in range(2):
        hunter.clickBall()
        counters.expectSingleClickCounted()
    program.endTheGame()
    s.confirmBox(BOX_TITLE, STEP_SECONDS, picture="end-of-game-box")
    prompt = s.waitForWindow(HIGH_TITLE)
    s.desktop.focus(prompt)
    s.desktop.key("ctrl+a")
    s.desktop.typeText("Jörg")
    s.save(s.desktop.paintedPicture(prompt), "name-prompt")
    s.desktop.key("Return")
    expected = wahl('"Anfänger"', '"5","Jörg"', '7,"Igel"', '3,"Maus"')
    waitUntil(lambda: program.wahl() == expected, STEP_SECONDS,
              lambda: "Wahl.txt to hold %r; it holds %r" % (expected, program.wahl()))
    assert s.quitThroughMenu(main) == 0
    assert program.wahl() == expected


def aLevelChosenFromTheMenuIsStoredAndCheckedAgainAfterARestart(s):
    # A level chosen in the menu is written to Wahl.txt at once and is the checked level at the next start; the program's own folder holds that file whatever its name (here "Spielä" in Latin-1, no UTF-8) and whether the program was started through the dynamic loader.
    program = s.start(wahl('"Anfänger"', '12,"Maus"', '9,"Igel"', '0,"unbekannt"'), folder=b"Spiel\xe4")
    main = s.mainWindow()
    menu = main.openMenu()
    assert menu.checkedLevel() == screen.ANFAENGER, "checked: %r" % menu.checkedLevel()
    menu.choose(screen.PROFI)
    expected = wahl('"Profi"', '12,"Maus"', '9,"Igel"', '0,"unbekannt"')
    waitUntil(lambda: program.wahl() == expected, STEP_SECONDS, "Wahl.txt to name Profi")
    menu = main.openMenu()
    assert menu.checkedLevel() == screen.PROFI, "checked: %r" % menu.checkedLevel()
    menu.choose(screen.BEENDEN)
    assert program.waitForExit(STEP_SECONDS) == 0
    program.start(throughLoader=True)
    main = s.mainWindow()
    menu = main.openMenu()
    assert menu.checkedLevel() == screen.PROFI, "after the restart: %r" % menu.checkedLevel()
    menu.choose(screen.BEENDEN)
    assert program.waitForExit(STEP_SECONDS) == 0
    assert program.wahl() == expected


def aMissingWahlTxtIsReportedAndEndsTheProgramWithStatusOne(s):
    # Without Wahl.txt the program shows an error box instead of its window, ends with status 1 once it is confirmed, and creates no file.
    program = s.start(None)
    s.waitForWindow(BOX_TITLE)
    assert not s.desktop.windows(MAIN_TITLE), "the main window shows beside the error box"
    s.confirmBox(BOX_TITLE, picture="error-box")
    assert program.waitForExit(STEP_SECONDS) == 1
    assert os.listdir(program.directory) == [os.path.basename(program.path)]


def aFifoAsWahlTxtIsReportedAtOnceAndEndsTheProgramWithStatusOne(s):
    # A FIFO named Wahl.txt holds nothing up: the German error box naming it shows within two seconds, and the program ends with status 1 once it is confirmed, leaving the FIFO as it was.
    s.newProgram(None)
    os.mkfifo(s.program.wahlPath)
    began = time.monotonic()
    s.program.start()
    s.confirmBox(BOX_TITLE, timeout=2, picture="fifo-error-box")
    assert s.program.waitForExit(2) == 1
    assert time.monotonic() - began < 4, "the start and the box together took %.1f s" % (time.monotonic() - began)
    assert "benannte Pipe (FIFO), keine gewöhnliche Datei." in s.program.log(), s.program.log()
    assert stat.S_ISFIFO(os.stat(s.program.wahlPath).st_mode)


def beendenDuringAGameEndsAtOnceAndLeavesWahlTxtAlone(s):
    # "Beenden" in a running game ends the program at once with status 0, without the end box and without writing Wahl.txt.
    original = wahl('"Fortgeschrittener"', '"4","Jörg"', ',', '0,"unbekannt"')
    program = s.start(original)
    main = s.mainWindow()
    start = main.findBall(main.picture())
    main.clickLos()
    waitUntil(lambda: (main.findBall(main.picture()) or start).x > start.x + 10, STEP_SECONDS,
              "the ball to move")
    main.openMenu().choose(screen.BEENDEN)
    assert program.waitForExit(STEP_SECONDS) == 0
    assert program.wahl() == original


def theHighScoreWindowShowsTheStoredRecordsAsRead(s):
    # The window High shows each level's score and name as stored, a number and its quoted text alike, an empty field as nothing, and the game goes on meanwhile.
    s.start(wahl('"Profi"', '14,"Fuchs"', ',', '"14","Fuchs"'))
    main = s.mainWindow()
    main.openMenu().choose(screen.HIGHSCORE)
    high = s.waitForWindow(HIGH_TITLE)
    frame = s.desktop.geometry(high)
    assert (frame.width, frame.height) == (screen.HIGH_CLIENT_WIDTH, screen.HIGH_CLIENT_HEIGHT)
    centreX, centreY = frame.centre()
    assert abs(centreX - SCREEN_WIDTH // 2) <= 1 and abs(centreY - SCREEN_HEIGHT // 2) <= 1, frame
    picture = s.desktop.paintedPicture(high)
    s.save(picture, "high-window")
    labels = [[picture.crop(rect.x, rect.y, rect.width, rect.height) for rect in row]
              for row in zip(screen.HIGH_SCORES, screen.HIGH_NAMES)]
    for level, row in enumerate(labels):
        for label in row:
            assert label.countPixels(screen.isWhiteOnBlue) == label.width * label.height, (
                "level %d: a label is not white on blue" % level)
    filled = [[label.countPixels(screen.isWhite) > 10 for label in row] for row in labels]
    assert filled == [[True, True], [False, False], [True, True]], filled
    assert [label.rgb for label in labels[0]] == [label.rgb for label in labels[2]], (
        "14 and \"14\" (and the same name) look different")
    s.desktop.moveWindow(high, 0, 0)  # it opens centred, over the button "Los"
    start = main.findBall(main.picture())
    main.clickLos()
    waitUntil(lambda: (main.findBall(main.picture()) or start).x > start.x + 10, STEP_SECONDS,
              "the ball to move while High is open")
    assert s.quitThroughMenu(main) == 0


def qtsOwnCommandLineOptionsChangeNothing(s):
    # The program takes no command line: Qt's own options, such as -reverse for a right-to-left layout, change nothing on the screen.
    program = s.start(wahl('"Anfänger"', '0,"unbekannt"', '0,"unbekannt"', '0,"unbekannt"'))
    plain = s.mainWindow()
    plainPicture = plain.fullPicture()
    assert s.quitThroughMenu(plain) == 0
    program.start(["-reverse", "-style", "windows", "-geometry", "100x100+0+0"])
    started = s.mainWindow()
    picture = started.fullPicture()
    s.save(picture, "command-line-ignored")
    assert (started.frame.x, started.frame.y, started.frame.width, started.frame.height) == (
        plain.frame.x, plain.frame.y, plain.frame.width, plain.frame.height), started.frame
    assert picture.rgb == plainPicture.rgb, "the window looks different with -reverse"
    assert s.quitThroughMenu(started) == 0


def pairsWhoseFirstPressMissedTheBallNeverMakeTheErrorsNegative(s):
    # Two quick clicks whose first one fell just in front of the moving ball are a click on the ball, not a double click: the end report never shows negative errors.
    program = s.startToPlay(wahl('"Anfänger"', '99,"Igel"', '99,"Igel"', '99,"Igel"'))
    main = s.mainWindow()
    main.clickLos()
    screen.Counters(main, STEP_SECONDS).expectBothZero()
    hunter = BallHunter(main)
    misses = tries = 0
    deadline = time.monotonic() + 20  # the game lasts 30 s
    while misses < 4 and time.monotonic() < deadline:
        outcome = hunter.clickInFrontThenOnBall()
        tries += outcome is not None
        misses += bool(outcome)
    assert misses >= 2, "only %d of %d pairs began surely beside the ball" % (misses, tries)
    program.endTheGame()
    report = s.copyBoxText(BOX_TITLE)
    line = next((line for line in report.splitlines() if line.startswith("Ende!")), None)
    assert line is not None, "no end report in %r" % report
    doubleClicks = int(line.split("Es wurden ")[1].split(" ")[0])
    errors = int(line.split("Fehler:")[1])
    assert errors >= 0, "%r after %d pairs beginning beside the ball" % (line, misses)
    assert doubleClicks <= tries, line
    s.confirmBox(BOX_TITLE)


def _centredFrame(desktop, window):
    """The window's frame once the window manager has framed it and it
    stands centred on the screen (to a pixel or two), else None."""
    frame = desktop.outerFrame(window)
    if frame is None:
        return None
    x, y = frame.x + frame.width / 2, frame.y + frame.height / 2
    centred = abs(x - SCREEN_WIDTH / 2) <= 2 and abs(y - SCREEN_HEIGHT / 2) <= 2
    return frame if centred else None


def _waitCentred(s, window, what):
    return waitUntil(lambda: _centredFrame(s.desktop, window), STEP_SECONDS,
                     lambda: "%s to stand centred with its frame; it is at %r"
                     % (what, s.desktop.outerFrame(window)))


def underAWindowManagerBothWindowsAreCentredWithTheirFrames(s):
    # Under a window manager the main window and High stand centred as a whole, frame and title bar included; "Highscore" chosen again raises High, and closing the main window through the window manager leaves High open until it is closed too.
    s.startWindowManager()
    program = s.start(wahl('"Anfänger"', '12,"Maus"',
                           '"123456789012345678901234567890","Maximiliane Müller-Lüdenscheidt"',
                           '0,"unbekannt"'))
    window = s.waitForWindow(MAIN_TITLE)
    _waitCentred(s, window, "the main window")
    main = MainWindow(s.desktop, program, window, s.desktop.clientArea(window))
    waitUntil(lambda: main.findBall(main.picture()), STEP_SECONDS, "the ball to be drawn")
    main.openMenu().choose(screen.HIGHSCORE)
    high = s.waitForWindow(HIGH_TITLE)
    _waitCentred(s, high, "High")
    waitUntil(lambda: s.desktop.stacking()[-1:] == [high], STEP_SECONDS, "High on top")
    s.desktop.paintedPicture(high)
    s.save(s.desktop.screenAsShown(), "openbox-centred")

    # The main window's lower edge shows below High: a click there raises it.
    below = (20, screen.CLIENT_HEIGHT - 6)
    main.click(*below)
    waitUntil(lambda: s.desktop.stacking()[-1:] == [window], STEP_SECONDS,
              lambda: "the main window on top after a click; stacking %r" % s.desktop.stacking())
    main.openMenu().choose(screen.HIGHSCORE)
    waitUntil(lambda: s.desktop.stacking()[-1:] == [high] and s.desktop.activeWindow() == high,
              STEP_SECONDS, lambda: "High raised and active again; stacking %r, active %r"
              % (s.desktop.stacking(), s.desktop.activeWindow()))
    assert s.desktop.windows(HIGH_TITLE) == [high], "a second High opened"

    main.click(*below)
    waitUntil(lambda: s.desktop.activeWindow() == window, STEP_SECONDS, "the main window active")
    s.desktop.key("alt+F4")
    waitUntil(lambda: not s.desktop.windows(MAIN_TITLE), STEP_SECONDS,
              "the main window to close on Alt+F4")
    assert program.isRunning(), "the program ended with the main window"
    assert s.desktop.windows(HIGH_TITLE) == [high], "High closed with the main window"
    s.desktop.click(*s.desktop.clientArea(high).centre())
    waitUntil(lambda: s.desktop.activeWindow() == high, STEP_SECONDS, "High active")
    s.desktop.key("alt+F4")
    assert program.waitForExit(STEP_SECONDS) == 0


def theDesktopsDoubleClickTimeDecidesWhichPressesPair(s):
    # Two presses on the ball pair into a double click when the second comes within the Net/DoubleClickTime of the desktop's XSETTINGS manager, and a time changed while the program runs decides from the next press on.
    manager = s.startService(XSettingsManager(s.work, s.server,
                                    "Net/DoubleClickTime 1000\nNet/DoubleClickDistance 8\n"))
    program = s.startToPlay(wahl('"Anfänger"', '99,"Igel"', '99,"Igel"', '99,"Igel"'))
    main = s.mainWindow()
    main.clickLos()
    counters = screen.Counters(main, STEP_SECONDS)
    counters.expectBothZero()
    hunter = BallHunter(main)
    hunter.pressTwiceOnBall(0.7)  # a pair within 1000 ms, though not within Qt's 400
    counters.expectDoubleClickCounted()
    manager.serve("Net/DoubleClickTime 200\nNet/DoubleClickDistance 8\n")
    hunter.pressTwiceOnBall(0.3)  # two clicks under 200 ms, though a pair under 400
    hunter.pressTwiceOnBall(0.05)  # and a pair still within 200 ms
    # The program takes its input in order: once the last pair counts, all did.
    waitUntil(lambda: main.label(main.picture(), screen.LBL_PUNKTE) not in counters.doubleLooks,
              STEP_SECONDS, "the last pair to count as a double click")
    program.endTheGame()
    # Errors are clicks less double clicks: 4 clicks, the first press of each pair included.
    report = s.copyBoxText(BOX_TITLE)
    assert "Ende! Es wurden 2 Doppelklicks geschafft. Fehler:2" in report.splitlines(), report
    s.confirmBox(BOX_TITLE)


def aRecordStoredByOneCopyOutlivesALevelChosenInAnother(s):
    # Two copies from one folder: a level chosen in the copy that started first keeps the record that the other stored meanwhile.
    first = s.startToPlay(wahl('"Anfänger"', '-1,"unbekannt"', '0,"unbekannt"', '0,"unbekannt"'))
    firstMain = s.mainWindow()
    second = copy.copy(first).start()
    try:
        window = waitUntil(lambda: set(s.desktop.windows(MAIN_TITLE)) - {firstMain.window},
                           STEP_SECONDS, "the second copy's window").pop()
        s.desktop.moveWindow(window, 0, 0)
        MainWindow(s.desktop, second, window).clickLos()
        second.endTheGame()
        s.confirmBox(BOX_TITLE)  # no double click, yet more than the -1 stored
        prompt = s.waitForWindow(HIGH_TITLE)
        s.desktop.focus(prompt)
        s.desktop.key("ctrl+a")
        s.desktop.typeText("Zweiter")
        s.desktop.key("Return")
        stored = wahl('"Anfänger"', '"0","Zweiter"', '0,"unbekannt"', '0,"unbekannt"')
        waitUntil(lambda: first.wahl() == stored, STEP_SECONDS, "the second copy's record")
        firstMain.openMenu().choose(screen.PROFI)
        expected = wahl('"Profi"', '"0","Zweiter"', '0,"unbekannt"', '0,"unbekannt"')
        waitUntil(lambda: first.wahl() == expected, STEP_SECONDS,
                  lambda: "Wahl.txt to hold %r; it holds %r" % (expected, first.wahl()))
    finally:
        second.stop()


TESTS = (
    theMainWindowStartsAsDesignedWithTheStoredLevelChecked,
    aWholeGameCountsTheDoubleClicksOnTheBallAndStoresTheNewRecord,
    aLevelChosenFromTheMenuIsStoredAndCheckedAgainAfterARestart,
    aMissingWahlTxtIsReportedAndEndsTheProgramWithStatusOne,
    aFifoAsWahlTxtIsReportedAtOnceAndEndsTheProgramWithStatusOne,
    beendenDuringAGameEndsAtOnceAndLeavesWahlTxtAlone,
    theHighScoreWindowShowsTheStoredRecordsAsRead,
    qtsOwnCommandLineOptionsChangeNothing,
    pairsWhoseFirstPressMissedTheBallNeverMakeTheErrorsNegative,
    underAWindowManagerBothWindowsAreCentredWithTheirFrames,
    theDesktopsDoubleClickTimeDecidesWhichPressesPair,
    aRecordStoredByOneCopyOutlivesALevelChosenInAnother,
)


if __name__ == "__main__":
    sys.exit(runner.main(TESTS, __doc__, Session))

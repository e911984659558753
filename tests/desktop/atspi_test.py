#!/usr/bin/python3
"""The program as a screen reader meets it: on a private X display, with a
session bus and the accessibility bus of the test's own, Qt's AT-SPI bridge
on, read and worked through pyatspi as Orca does (Debian's python3, which
has pyatspi).

    atspi_test.py --program build/Hopsala1 --test NAME --work DIR [--deadline SECONDS]
"""

import os
import re
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from harness import runner  # noqa: E402
from harness.ballhunter import BallHunter  # noqa: E402
from harness.program import wahl  # noqa: E402
from harness.service import WaitTimeout, waitUntil  # noqa: E402
from harness.services import AccessibilityBus  # noqa: E402
from harness.session import STEP_SECONDS, Session  # noqa: E402

pyatspi = None  # imported by the test, once the accessibility bus is there

DOUBLE_CLICK_ATTEMPTS = 8
COUNT_SECONDS = 2  # for a double click that hit to show
LEVELS = ["Anfänger", "Fortgeschrittener", "Profi"]
WAHL = wahl('"Anfänger"', '0,"unbekannt"', '7,"Igel"', '3,"Maus"')
NAME_EVENT = "object:property-change:accessible-name"
END_TEXT = re.compile(r"^Ende! Es wurden (\d+) Doppelklicks geschafft\. Fehler:(-?\d+)$")


class ScreenReader:
    """What Orca does: walks the tree of the application, listens to the
    events that announce new names and texts, and works actions."""

    def __init__(self, pyatspi, glib):
        self.pyatspi = pyatspi
        self.gone = glib.GError  # what a call on an object that has gone meanwhile raises
        self.context = glib.MainContext.default()
        self.events = []  # (type, source's role, source's name after the event)
        pyatspi.Registry.registerEventListener(self._heard, NAME_EVENT, "object:text-changed",
                                               "window:create")

    def _heard(self, event):
        try:
            self.events.append((event.type, event.source.getRole(), event.source.name))
        except Exception:  # the source may be gone already
            self.events.append((event.type, None, None))

    def pump(self):
        while self.context.iteration(False):
            pass

    def waitFor(self, find, what, timeout=STEP_SECONDS):
        def found():
            self.pump()
            try:
                return find()
            except self.gone:  # a box closed while the tree was walked: walk it again
                return None
        return waitUntil(found, timeout, what)

    def application(self, name):
        def find():
            desktop = self.pyatspi.Registry.getDesktop(0)
            for index in range(desktop.childCount):
                child = desktop.getChildAtIndex(index)
                if child is not None and child.name == name:
                    return child
            return None
        return self.waitFor(find, "the application %r on the accessibility bus" % name)

    @staticmethod
    def descendants(node):
        for index in range(node.childCount):
            child = node.getChildAtIndex(index)
            if child is None:
                continue
            yield child
            yield from ScreenReader.descendants(child)

    def all(self, node, role, name=None):
        """The descendants of a role (pyatspi's ROLE_…, which, unlike the role's
        name, AT-SPI keeps across versions), whose name matches the regular
        expression."""
        return [child for child in self.descendants(node) if child.getRole() == role
                and (name is None or re.fullmatch(name, child.name or ""))]

    def one(self, node, role, name, timeout=STEP_SECONDS):
        return self.waitFor(lambda: (self.all(node, role, name) or [None])[0],
                            "a %s named %r" % (role, name), timeout)

    def press(self, node, action="Press"):
        actions = node.queryAction()
        names = [actions.getName(index) for index in range(actions.nActions)]
        assert action in names, "%s %r offers %r" % (node.getRoleName(), node.name, names)
        assert actions.doAction(names.index(action))

    def heard(self, role, name):
        self.pump()
        return [event for event in self.events if event[0].startswith(NAME_EVENT)
                and event[1] == role and re.fullmatch(name, event[2] or "")]

    def tree(self, node, depth=0):
        """For failure reports: the tree as the screen reader sees it."""
        lines = ["  " * depth + "%s %r" % (node.getRoleName(), node.name)]
        for index in range(node.childCount):
            child = node.getChildAtIndex(index)
            if child is not None:
                lines += self.tree(child, depth + 1)
        return lines


def number(label):
    """The count a value label names, asked of the program, not of the cache
    that the events keep."""
    label.clear_cache()
    return int(label.name.rsplit(": ", 1)[1])


def playAndRead(reader, app, main):
    frame = reader.one(app, pyatspi.ROLE_FRAME, "Hopsala")
    los = reader.one(frame, pyatspi.ROLE_PUSH_BUTTON, "Los")
    menu = reader.one(frame, pyatspi.ROLE_POPUP_MENU, "Datei")
    entries = [item.name for item in reader.all(menu, pyatspi.ROLE_MENU_ITEM)]
    assert entries == LEVELS + ["Highscore", "Beenden"], entries
    reader.one(frame, pyatspi.ROLE_LABEL, "Verbleibende Sekunden")
    reader.press(los)
    seconds = reader.one(frame, pyatspi.ROLE_LABEL, r"Verbleibende Sekunden: \d+")
    first = number(seconds)
    assert 29 <= first <= 30, seconds.name
    doubles = reader.one(frame, pyatspi.ROLE_LABEL, r"Doppelklicks: 0")
    singles = reader.one(frame, pyatspi.ROLE_LABEL, r"Normale Klicks: 0")
    reader.waitFor(lambda: number(seconds) < first, "the seconds left to count down")
    assert reader.heard(pyatspi.ROLE_LABEL, r"Verbleibende Sekunden: \d+"), reader.events[-10:]
    hunter = BallHunter(main)
    for _ in range(DOUBLE_CLICK_ATTEMPTS):  # the ball moves: some double clicks miss it
        hunter.doubleClickBall()
        try:
            reader.waitFor(lambda: number(doubles) >= 1 and number(singles) >= 1,
                           "both counts to count", COUNT_SECONDS)
            break
        except WaitTimeout:
            continue
    # A double click whose first press missed the moving ball counts no click.
    assert number(doubles) >= 1 and number(singles) >= 1, (
        "the counts did not both count: %s, %s" % (doubles.name, singles.name))
    assert reader.heard(pyatspi.ROLE_LABEL, r"Doppelklicks: [1-9]\d*"), reader.events[-10:]
    assert reader.heard(pyatspi.ROLE_LABEL, r"Normale Klicks: [1-9]\d*"), reader.events[-10:]
    return frame, doubles, singles


def readEndAndPrompt(reader, app, program, doubles, singles):
    program.endTheGame()
    report = reader.waitFor(lambda: [node for node in reader.descendants(app)
                                     if END_TEXT.match(node.name or "")],
                            "the end box's text")[0]
    score, errors = map(int, END_TEXT.match(report.name).groups())
    # The errors are the clicks beyond the double clicks.
    assert score == number(doubles) and errors == number(singles) - score, (
        report.name, doubles.name, singles.name)
    box = reader.one(app, pyatspi.ROLE_ALERT, "Hopsala1")
    reader.press(reader.one(box, pyatspi.ROLE_PUSH_BUTTON, "OK"))
    prompt = reader.one(app, pyatspi.ROLE_DIALOG, "Highscore")
    reader.one(prompt, pyatspi.ROLE_LABEL,
               "Neuer Rekord: %d Doppelklicks! Trag deinen Namen ein:" % score)
    field = reader.one(prompt, pyatspi.ROLE_TEXT, ".*")
    field.queryEditableText().setTextContents("Jörg")
    reader.waitFor(lambda: field.queryText().getText(0, -1) == "Jörg", "the name in the field")
    reader.press(reader.one(prompt, pyatspi.ROLE_PUSH_BUTTON, "OK"))
    return score


def aScreenReaderReadsAndPlaysTheWholeGame(s):
    # Through the accessibility bus a screen reader finds the frame "Hopsala", starts a game with the action of "Los", hears the seconds and both counts change, and reads the menu, the end box, the name prompt and the high-score window.
    bus = s.startService(AccessibilityBus(s.work))
    os.environ.update(bus.clientEnvironment())  # before pyatspi opens its connection
    global pyatspi
    import pyatspi
    from gi.repository import GLib
    reader = ScreenReader(pyatspi, GLib)
    program = s.startToPlay(WAHL, dict(bus.clientEnvironment(), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    app = reader.application("Hopsala1")
    s.onFailure(lambda: "\n".join(reader.tree(app)))
    main = s.mainWindow()
    frame, doubles, singles = playAndRead(reader, app, main)
    score = readEndAndPrompt(reader, app, program, doubles, singles)
    expected = wahl('"Anfänger"', '"%d","Jörg"' % score, '7,"Igel"', '3,"Maus"')
    waitUntil(lambda: program.wahl() == expected, STEP_SECONDS, "the record in Wahl.txt")
    reader.press(reader.one(frame, pyatspi.ROLE_MENU_ITEM, "Highscore"))
    high = reader.one(app, pyatspi.ROLE_FRAME, "Highscore")
    names = sorted(label.name for label in reader.all(high, pyatspi.ROLE_LABEL))
    shown = sorted(LEVELS + ["%s, Doppelklicks: %s" % (level, score) for level, score
                             in zip(LEVELS, (score, 7, 3))]
                   + ["%s, Name: %s" % (level, name) for level, name
                      in zip(LEVELS, ("Jörg", "Igel", "Maus"))])
    assert names == shown, names
    reader.press(reader.one(frame, pyatspi.ROLE_MENU_ITEM, "Beenden"))
    assert program.waitForExit(STEP_SECONDS) == 0


if __name__ == "__main__":
    sys.exit(runner.main([aScreenReaderReadsAndPlaysTheWholeGame], __doc__, Session))

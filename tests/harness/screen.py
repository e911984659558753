"""What the windows of Hopsala1 look like on the screen, in pixels, and how
a person reaches their parts: the main window's controls, the ball, the menu
"Datei" and its entries. Positions inside the main window are relative to
its client area (below the menu bar), at 15 twips to a pixel."""

from .service import waitUntil
from .x11 import Rect

CLIENT_WIDTH, CLIENT_HEIGHT = 312, 206
CYAN = (0, 255, 255)
BALL_START = Rect(152, 80, 50, 50)
LINE_X = 88
PLAY_FIELD_LEFT = LINE_X + 2
LOS_BUTTON = Rect(8, 40, 49, 25)
LBL_ZEIT = Rect(8, 8, 41, 25)
LBL_PUNKTE = Rect(8, 96, 41, 25)
LBL_PUNKTE2 = Rect(8, 152, 41, 25)

HIGH_CLIENT_WIDTH, HIGH_CLIENT_HEIGHT = 251, 154
BLUE = (0, 0, 255)
# The score (left) and name (right) labels of the window High, one row a level.
HIGH_SCORES = (Rect(8, 32, 105, 17), Rect(8, 80, 105, 17), Rect(8, 128, 105, 17))
HIGH_NAMES = (Rect(136, 32, 105, 17), Rect(136, 80, 105, 17), Rect(136, 128, 105, 17))

ANFAENGER, FORTGESCHRITTENER, PROFI, HIGHSCORE, BEENDEN = range(5)
MENU_ENTRY_COUNT = 5  # the separator is no entry
MENU_BORDER = 3


def isBallPixel(pixel):
    """The ball's blue, white and violet, as against the window's cyan."""
    red, green, blue = pixel
    return red + (255 - green) + (255 - blue) > 120


def isDark(pixel):
    return sum(pixel) < 300


def isWhite(pixel):
    return min(pixel) > 200


def isWhiteOnBlue(pixel):
    """White, blue, or the blend of both at the edges of letters."""
    red, green, blue = pixel
    return abs(red - green) <= 8 and blue >= 240


class MainWindow:
    def __init__(self, desktop, program, window, frame=None):
        """frame: the window's client area and menu bar on the screen, where
        xdotool's geometry is off (under a window manager)."""
        self.desktop = desktop
        self.program = program
        self.window = window
        self.frame = frame or desktop.geometry(window)
        self.menuBarHeight = self.frame.height - CLIENT_HEIGHT

    def screenPoint(self, x, y):
        """The screen position of the client-area point (x, y)."""
        return (self.frame.x + x, self.frame.y + self.menuBarHeight + y)

    def fullPicture(self):
        """The window as shown, menu bar included."""
        return self.desktop.screenshot(self.window)

    def picture(self):
        """The client area alone."""
        return self.fullPicture().crop(0, self.menuBarHeight, self.frame.width, CLIENT_HEIGHT)

    def label(self, picture, rect):
        return picture.crop(rect.x, rect.y, rect.width, rect.height).rgb

    @staticmethod
    def findBall(picture):
        """The ball's extent in the client area, or None when it is not seen."""
        field = picture.crop(PLAY_FIELD_LEFT, 0, picture.width - PLAY_FIELD_LEFT, picture.height)
        box = field.boundingBox(isBallPixel, minimumPerLine=3, background=CYAN)
        if box is None:
            return None
        left, top, width, height = box
        return Rect(left + PLAY_FIELD_LEFT, top, width, height)

    def click(self, x, y, repeat=1):
        self.desktop.click(*self.screenPoint(x, y), repeat=repeat)

    def clickLos(self):
        self.click(*LOS_BUTTON.centre())

    def openMenu(self):
        """Clicks the menu title "Datei" and waits for its list to show."""
        before = set(self.desktop.windows(pid=self.program.process.pid))
        self.desktop.click(self.frame.x + 20, self.frame.y + self.menuBarHeight // 2)
        popups = waitUntil(
            lambda: set(self.desktop.windows(pid=self.program.process.pid)) - before,
            10, "the list of the menu \"Datei\"")
        return Menu(self.desktop, popups.pop())


class Counters:
    """The two counters as the screen shows them, judged without reading
    digits: lblPunkte2 showing n looks exactly like lblPunkte showing n, and
    no two numbers look alike."""

    def __init__(self, main, timeout):
        self.main = main
        self.timeout = timeout  # for each change to show
        self.doubleLooks = []  # lblPunkte's look for 0, 1, 2, ...
        self.singleLooks = []  # lblPunkte2's looks since the last double click

    def _read(self):
        picture = self.main.picture()
        return (self.main.label(picture, LBL_PUNKTE),
                self.main.label(picture, LBL_PUNKTE2))

    def _alike(self, double, single):
        if double == single and double not in self.doubleLooks:
            self.doubleLooks.append(double)
            self.singleLooks = [single]
            return True
        return False

    def expectBothZero(self):
        def zero(double, single):
            return len(set(double)) > 3 and self._alike(double, single)  # not empty
        waitUntil(lambda: zero(*self._read()), self.timeout, "both counters to show 0")

    def expectDoubleClickCounted(self):
        waitUntil(lambda: self._alike(*self._read()), self.timeout,
                  "both counters to show %d after a double click" % len(self.doubleLooks))

    def expectSingleClickCounted(self):
        def counted(double, single):
            if double == self.doubleLooks[-1] and single not in self.singleLooks:
                self.singleLooks.append(single)
                return True
            return False
        waitUntil(lambda: counted(*self._read()), self.timeout,
                  "a single click to count in lblPunkte2 alone")


def _bands(rows, maxGap=2, minHeight=5):
    """Runs of marked rows, joining runs split by at most maxGap rows (the
    dots of an umlaut, an underlined access key); too thin runs are lines."""
    runs = []
    for y, marked in enumerate(rows):
        if not marked:
            continue
        if runs and y - runs[-1][1] <= maxGap + 1:
            runs[-1][1] = y
        else:
            runs.append([y, y])
    return [(top, bottom) for top, bottom in runs if bottom - top + 1 >= minHeight]


class Menu:
    """The open list of the menu "Datei": its five entries, found by their
    lines of text in the list's own picture."""

    def __init__(self, desktop, window):
        self.desktop = desktop
        self.window = window
        self.frame = desktop.geometry(window)
        self.picture, self.entries = waitUntil(self._readEntries, 10,
                                               "the menu list to show its five entries")

    def _readEntries(self):
        picture = self.desktop.screenshot(self.window)
        inner = range(MENU_BORDER, picture.width - MENU_BORDER)
        rows = [any(isDark(picture.pixel(x, y)) for x in inner) for y in range(picture.height)]
        entries = _bands(rows)
        if len(entries) != MENU_ENTRY_COUNT or any(bottom - top > 30 for top, bottom in entries):
            return None
        return picture, entries

    def _textLeft(self, entry):
        top, bottom = self.entries[entry]
        return min(x for y in range(top, bottom + 1) for x in range(self.picture.width)
                   if isDark(self.picture.pixel(x, y)))

    def _gutter(self, entry, textLeft):
        """The strip left of an entry's text, where a check mark goes. Every
        entry begins with a capital letter, so their tops line up alike."""
        top = self.entries[entry][0]
        return self.picture.crop(MENU_BORDER, top - 3, textLeft - 2 - MENU_BORDER, 16).rgb

    def checkedLevel(self):
        """The one level entry whose mark strip differs from the two others,
        which look alike; None when no single one stands out."""
        textLeft = min(self._textLeft(HIGHSCORE), self._textLeft(BEENDEN))
        gutters = [self._gutter(level, textLeft) for level in (ANFAENGER, FORTGESCHRITTENER, PROFI)]
        for level in range(3):
            others = [gutters[other] for other in range(3) if other != level]
            if others[0] == others[1] and gutters[level] != others[0]:
                return level
        return None

    def choose(self, entry):
        top, bottom = self.entries[entry]
        self.desktop.click(self.frame.x + self.frame.width // 2,
                           self.frame.y + (top + bottom) // 2)

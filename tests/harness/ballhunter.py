"""A player's hand for a running game: it clicks the moving ball (or the
field beside it) from a fresh picture taken just before every click."""

import time

from . import screen

# Clicks further apart than Qt's double-click interval (400 ms) never pair up.
CLICK_GAP_SECONDS = 0.6
# From a picture to the click landing: capture, reading it and xdotool.
LEAD_SECONDS = 0.15
SIGHTING_MAX_AGE = 0.5
MIN_BALL_EXTENT = 45  # a ball seen smaller is cut by a wall or a box
BALL_HALF = 25
# The picture shows the drawn ball; the widget that takes the clicks may
# reach a pixel further.
MISS_MARGIN = 2
SPEED_BASELINE = 6  # pixels: the speed is read over a few of them
# Pixels of room before a wall that an aim keeps, against a late click.
WALL_MARGIN = 12
# Pixels a second: Profi's 25 twips a tick at 62.5 ticks a second is 104.
MAX_SPEED = 150
CLICK_LATENCY_SECONDS = 0.05  # from xdotool's start to the press


def _clearOfTheWalls(x, y):
    """Whether a ball centred at x, y has room before every wall: a
    prediction that runs into a wall misses the ball that turned there."""
    reach = BALL_HALF + WALL_MARGIN
    return (screen.PLAY_FIELD_LEFT + reach <= x <= screen.CLIENT_WIDTH - reach
            and reach <= y <= screen.CLIENT_HEIGHT - reach)


class BallHunter:
    def __init__(self, main):
        self.main = main
        self.lastClick = float("-inf")
        self.sighting = None  # (time, centre x, centre y) of the last picture
        self.lastPicture = None

    def _look(self):
        picture = self.main.picture()
        seenAt = picture.takenAt
        ball = self.main.findBall(picture)
        self.lastPicture = picture
        if ball is None or min(ball.width, ball.height) < MIN_BALL_EXTENT:
            self.sighting = None
            return None
        previous = self.sighting
        self.sighting = (seenAt, ball.x + ball.width / 2, ball.y + ball.height / 2)
        return previous

    def _aim(self, timeout=5):
        """Where the ball's centre will be when the click lands, from two
        pictures in a row; the loop also keeps clicks CLICK_GAP_SECONDS apart."""
        x, y, _, _ = self._predict(timeout)
        return round(x), round(y)

    def _predict(self, timeout):
        """The ball's centre when a click lands and its speed in pixels a
        second, x and y."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            previous = self._look()
            now = time.monotonic()
            if previous is None or self.sighting is None:
                continue
            if now - previous[0] > SIGHTING_MAX_AGE or now - self.lastClick < CLICK_GAP_SECONDS:
                continue
            seenAt, x, y = self.sighting
            elapsed = seenAt - previous[0]
            if elapsed <= 0:
                continue
            lead = now - seenAt + LEAD_SECONDS
            speedX, speedY = (x - previous[1]) / elapsed, (y - previous[2]) / elapsed
            aimX, aimY = x + speedX * lead, y + speedY * lead
            # Two pictures a few milliseconds apart, or one each side of a
            # turn, give no speed to trust; nor does a ball at a wall.
            if max(abs(speedX), abs(speedY)) > MAX_SPEED:
                continue
            if not (_clearOfTheWalls(x, y) and _clearOfTheWalls(aimX, aimY)):
                continue
            return aimX, aimY, speedX, speedY
        raise AssertionError("the ball was not seen whole in the play field for %d s" % timeout)

    def doubleClickBall(self):
        self.main.click(*self._aim(), repeat=2)
        self.lastClick = time.monotonic()

    def clickBall(self):
        self.main.click(*self._aim())
        self.lastClick = time.monotonic()

    def pressTwiceOnBall(self, apart, gap=1.2):
        """Two clicks apart seconds apart with the pointer still, gap seconds
        or more after the last click, where the ball's centre passes halfway
        between them: the ball is under the pointer at both. The speed is read
        between two sightings clear of the walls and too close in time for a
        turn between them, but far enough apart for a few pixels of way."""
        deadline = time.monotonic() + 10
        first = None
        while True:
            self._predict(deadline - time.monotonic())
            seenAt, x, y = self.sighting
            elapsed = seenAt - first[0] if first else 1
            if elapsed > 0.45:
                first = self.sighting
            if not 0.3 <= elapsed <= 0.45 or time.monotonic() - self.lastClick < gap:
                continue
            speedX, speedY = (x - first[1]) / elapsed, (y - first[2]) / elapsed
            lead = time.monotonic() - seenAt + LEAD_SECONDS
            x, y = x + speedX * lead, y + speedY * lead
            if _clearOfTheWalls(x, y) and _clearOfTheWalls(x + speedX * apart, y + speedY * apart):
                break
        target = self.main.screenPoint(round(x + speedX * apart / 2), round(y + speedY * apart / 2))
        self.main.desktop.click(*target, repeat=2, delayMs=round(apart * 1000))
        self.lastClick = time.monotonic()

    def clickBesideBall(self):
        """A click on the play field's corner furthest from the ball."""
        self._aim()
        _, x, y = self.sighting
        corners = [(cx, cy) for cx in (screen.PLAY_FIELD_LEFT + 8, screen.CLIENT_WIDTH - 8)
                   for cy in (8, screen.CLIENT_HEIGHT - 8)]
        target = max(corners, key=lambda corner: (corner[0] - x) ** 2 + (corner[1] - y) ** 2)
        self.main.click(*target)
        self.lastClick = time.monotonic()

    def _sightWhole(self):
        """(time, extent) of the ball seen whole in a fresh picture, or None."""
        picture = self.main.picture()
        seenAt = picture.takenAt
        ball = self.main.findBall(picture)
        if ball is None or min(ball.width, ball.height) < MIN_BALL_EXTENT:
            return None
        return seenAt, ball

    def _sideways(self, timeout=3):
        """Two sightings of the ball at least SPEED_BASELINE pixels apart
        sideways, the later one CLICK_GAP_SECONDS after the last click: their
        times and extents, or None when the ball is not seen so."""
        deadline = time.monotonic() + timeout
        first = None
        while time.monotonic() < deadline:
            sighting = self._sightWhole()
            if sighting is None:
                first = None
            elif first is None:
                first = sighting
            elif (abs(sighting[1].x - first[1].x) >= SPEED_BASELINE
                  and time.monotonic() - self.lastClick >= CLICK_GAP_SECONDS):
                return first, sighting
        return None

    def clickInFrontThenOnBall(self, gap=5, secondAfter=0.33):
        """Clicks a point just in front of the ball moving sideways and,
        before the double-click time is over, once more at the same point,
        which the ball has reached by then. Returns whether the first click
        missed the ball for sure (a picture taken after it shows the ball
        still short of the point) and None when the ball was too near a wall
        for a try."""
        sightings = self._sideways()
        if sightings is None:
            return None
        (seenBefore, before), (seenAt, ball) = sightings
        elapsed = seenAt - seenBefore
        speedX, speedY = (ball.x - before.x) / elapsed, (ball.y - before.y) / elapsed
        direction = 1 if speedX > 0 else -1
        lead = time.monotonic() - seenAt + CLICK_LATENCY_SECONDS
        edge = (ball.x + ball.width - 1 if direction > 0 else ball.x) + speedX * lead
        # The ball must not meet a wall before the second click.
        reach = edge + speedX * secondAfter + direction * gap
        if not screen.PLAY_FIELD_LEFT + 4 < reach < screen.CLIENT_WIDTH - 4:
            return None
        target = (round(edge + direction * gap),
                  round(ball.y + BALL_HALF + speedY * (lead + secondAfter / 2)))
        first = time.monotonic()
        self.main.click(*target)
        after = self._sightWhole()
        remaining = first + secondAfter - time.monotonic()
        if remaining > 0:
            time.sleep(remaining)  # the rhythm of a double click, not a wait for a state
        self.main.desktop.clickWherePointerIs()
        self.lastClick = time.monotonic()
        if after is None:
            return False
        ball = after[1]
        leadingEdge = ball.x + ball.width - 1 if direction > 0 else ball.x
        return (target[0] - leadingEdge) * direction > MISS_MARGIN

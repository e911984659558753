"""A player's hand for a running game: it clicks the moving ball (or the
field beside it) from a fresh picture taken just before every click."""

import time

import hopsalascreen as screen

# Clicks further apart than Qt's double-click interval (400 ms) never pair up.
CLICK_GAP_SECONDS = 0.6
# From a picture to the click landing: capture, reading it and xdotool.
LEAD_SECONDS = 0.15
SIGHTING_MAX_AGE = 0.5
MIN_BALL_EXTENT = 45  # a ball seen smaller is cut by a wall or a box


class BallHunter:
    def __init__(self, main):
        self.main = main
        self.lastClick = float("-inf")
        self.sighting = None  # (time, centre x, centre y) of the last picture
        self.lastPicture = None

    def _look(self):
        picture = self.main.picture()
        seenAt = time.monotonic()
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
            return (round(x + (x - previous[1]) / elapsed * lead),
                    round(y + (y - previous[2]) / elapsed * lead))
        raise AssertionError("the ball was not seen whole in the play field for %d s" % timeout)

    def doubleClickBall(self):
        self.main.click(*self._aim(), repeat=2)
        self.lastClick = time.monotonic()

    def clickBall(self):
        self.main.click(*self._aim())
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

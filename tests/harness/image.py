"""Pictures as RGB bytes, read from and written to files by ImageMagick's
convert, which knows the X server's dumps (xwd), PNG and the rest. Colours
are (red, green, blue), 0 to 255."""

import re
import subprocess

# A binary PPM's header: its magic, width, height and maximum, between
# blanks and comments (convert names the dumped window in one).
_GAP = rb"(?:\s|#[^\n]*\n)+"
PPM_HEADER = re.compile(rb"P6" + _GAP + rb"(\d+)" + _GAP + rb"(\d+)" + _GAP + rb"255\s")


class Image:
    """An RGB picture: three bytes a pixel, rows top to bottom, no padding;
    takenAt is the CLOCK_MONOTONIC second a screenshot was taken, if it is
    one."""

    def __init__(self, width, height, rgb, takenAt=None):
        if len(rgb) != width * height * 3:
            raise ValueError("pixel data does not fit %dx%d" % (width, height))
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)
        self.takenAt = takenAt

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.rgb[offset:offset + 3])

    def row(self, y, left=0, right=None):
        """The bytes of row y from column left up to, not including, right."""
        right = self.width if right is None else right
        start = y * self.width * 3
        return self.rgb[start + left * 3:start + right * 3]

    def crop(self, left, top, width, height):
        """The part inside the rectangle, clipped to the picture."""
        right = min(self.width, left + width)
        bottom = min(self.height, top + height)
        left, top = max(0, left), max(0, top)
        rows = [self.row(y, left, right) for y in range(top, bottom)]
        return Image(max(0, right - left), max(0, bottom - top), b"".join(rows), self.takenAt)

    def countPixels(self, predicate):
        return sum(1 for y in range(self.height) for x in range(self.width)
                   if predicate(self.pixel(x, y)))

    def boundingBox(self, predicate, minimumPerLine=1, background=None):
        """(left, top, width, height) of the columns and rows holding at least
        minimumPerLine pixels for which predicate is true; None when none do.
        The minimum keeps stray pixels of JPEG noise or antialiasing out.
        Rows wholly of the background colour, for which predicate must be
        false, are skipped unread."""
        columns = [0] * self.width
        rows = [0] * self.height
        plainRow = bytes(background) * self.width if background else None
        for y in range(self.height):
            line = self.row(y)
            if line == plainRow:
                continue
            for x in range(self.width):
                if predicate(tuple(line[x * 3:x * 3 + 3])):
                    columns[x] += 1
                    rows[y] += 1
        xs = [x for x, count in enumerate(columns) if count >= minimumPerLine]
        ys = [y for y, count in enumerate(rows) if count >= minimumPerLine]
        if not xs or not ys:
            return None
        return (xs[0], ys[0], xs[-1] - xs[0] + 1, ys[-1] - ys[0] + 1)

    def savePng(self, path):
        subprocess.run(["convert", "-size", "%dx%d" % (self.width, self.height), "-depth", "8",
                        "rgb:-", "png:" + path], input=self.rgb, check=True, timeout=20,
                       capture_output=True)


def readImage(source, data=None, takenAt=None):
    """The picture of a file, or of data when source is a format and "-" as
    convert takes them ("xwd:-")."""
    ppm = subprocess.run(["convert", source, "-depth", "8", "ppm:-"], input=data, check=True,
                         timeout=20, capture_output=True).stdout
    header = PPM_HEADER.match(ppm)
    if not header:
        raise ValueError("convert gave no binary PPM for %s" % source)
    width, height = int(header.group(1)), int(header.group(2))
    return Image(width, height, ppm[header.end():header.end() + width * height * 3], takenAt)

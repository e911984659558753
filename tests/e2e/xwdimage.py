"""Screenshots as the X server delivers them (xwd dumps) and as PNG files.

Only the standard library: the xwd header is parsed by hand and the PNG is
written with zlib. Colours are (red, green, blue), 0 to 255.
"""

import struct
import zlib

XWD_HEADER_FIELDS = 25  # CARD32 values, big-endian, before the window name
XWD_VERSION = 7
Z_PIXMAP = 2
LSB_FIRST = 0
XWD_COLOR_SIZE = 12  # pixel CARD32, red/green/blue CARD16, flags and pad bytes


class Image:
    """An RGB picture: three bytes a pixel, rows top to bottom, no padding."""

    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise ValueError("pixel data does not fit %dx%d" % (width, height))
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)

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
        return Image(max(0, right - left), max(0, bottom - top), b"".join(rows))

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
        with open(path, "wb") as file:
            file.write(pngBytes(self))


def _maskShift(mask):
    """Shift and width of a contiguous colour mask."""
    if mask == 0:
        raise ValueError("xwd colour mask is empty")
    shift = (mask & -mask).bit_length() - 1
    width = (mask >> shift).bit_length()
    if (mask >> shift) != (1 << width) - 1:
        raise ValueError("xwd colour mask 0x%x is not contiguous" % mask)
    return shift, width


def _byteIndex(mask, bytesPerPixel, byteOrder):
    """Where an 8-bit component lies in a pixel's bytes, or None when its
    mask is not one whole byte."""
    shift, width = _maskShift(mask)
    if width != 8 or shift % 8:
        return None
    significance = shift // 8
    return significance if byteOrder == LSB_FIRST else bytesPerPixel - 1 - significance


def _decodeSlow(data, width, height, bytesPerLine, bytesPerPixel, byteOrder, masks):
    endian = "little" if byteOrder == LSB_FIRST else "big"
    shifts = [_maskShift(mask) for mask in masks]
    rgb = bytearray(width * height * 3)
    out = 0
    for y in range(height):
        base = y * bytesPerLine
        for x in range(width):
            start = base + x * bytesPerPixel
            value = int.from_bytes(data[start:start + bytesPerPixel], endian)
            for mask, (shift, bits) in zip(masks, shifts):
                component = (value & mask) >> shift
                rgb[out] = component * 255 // ((1 << bits) - 1)
                out += 1
    return rgb


def parseXwd(blob):
    """The picture of an xwd dump in TrueColor/DirectColor ZPixmap format of
    24 or 32 bits a pixel, the formats of a 24-bit X screen."""
    if len(blob) < XWD_HEADER_FIELDS * 4:
        raise ValueError("xwd dump shorter than its header")
    header = struct.unpack(">%dI" % XWD_HEADER_FIELDS, blob[:XWD_HEADER_FIELDS * 4])
    (headerSize, version, pixmapFormat, _depth, width, height, _xoffset, byteOrder,
     _bitmapUnit, _bitOrder, _bitmapPad, bitsPerPixel, bytesPerLine, _visualClass,
     redMask, greenMask, blueMask, _bitsPerRgb, _mapEntries, colourCount) = header[:20]
    if version != XWD_VERSION or pixmapFormat != Z_PIXMAP:
        raise ValueError("unsupported xwd dump: version %d, format %d" % (version, pixmapFormat))
    if bitsPerPixel not in (24, 32):
        raise ValueError("unsupported xwd pixel size %d bits" % bitsPerPixel)
    bytesPerPixel = bitsPerPixel // 8
    start = headerSize + colourCount * XWD_COLOR_SIZE
    data = blob[start:start + bytesPerLine * height]
    if len(data) < bytesPerLine * height:
        raise ValueError("xwd dump cut short")
    masks = (redMask, greenMask, blueMask)
    indices = [_byteIndex(mask, bytesPerPixel, byteOrder) for mask in masks]
    if None in indices:
        return Image(width, height, _decodeSlow(data, width, height, bytesPerLine,
                                                bytesPerPixel, byteOrder, masks))
    if bytesPerLine != width * bytesPerPixel:
        data = b"".join(data[y * bytesPerLine:y * bytesPerLine + width * bytesPerPixel]
                        for y in range(height))
    rgb = bytearray(width * height * 3)
    for component, index in enumerate(indices):
        rgb[component::3] = data[index::bytesPerPixel]
    return Image(width, height, rgb)


def _chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))


def pngBytes(image):
    """A PNG of 8-bit RGB without interlacing; every row has filter type 0."""
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 2, 0, 0, 0)
    raw = b"".join(b"\x00" + image.row(y) for y in range(image.height))
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))

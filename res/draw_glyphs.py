#!/usr/bin/env python3
"""Draws the control bar's button glyphs and the two icons of Tallykeep.

Writes, beside this script:
  speedbutton1.bmp .. speedbutton4.bmp  16 colours, 32 x 16: the normal picture
      on the left, its grey-and-white disabled version on the right; olive
      (128, 128, 0) is the transparent colour and sits in the bottom-left pixel.
  tallykeep.ico, controlbar.ico         one 32 x 32 image in 256 colours each.

With --preview DIR it also writes 8x enlarged PNGs of everything for a look;
with --check it writes nothing and fails when a committed file is stale.
Plain Python, no imaging library: the outputs are committed, so the build
never runs this script.
"""

import argparse
import math
import os
import struct
import sys
import zlib

# The 16-colour palette of the glyph bitmaps: the VGA colours in Windows order,
# except that the unused fuchsia slot holds a light blue for the door's window.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (166, 202, 240), (0, 255, 255), (255, 255, 255),
]
OLIVE = 3
GREY = 8
WHITE = 15

# One letter per palette entry in the pictures below; '.' is transparent.
LETTERS = {
    'K': 0, 'M': 1, 'G': 2, '.': OLIVE, 'N': 4, 'P': 5, 'T': 6, 'S': 7,
    'D': 8, 'R': 9, 'L': 10, 'Y': 11, 'B': 12, 'C': 13, 'A': 14, 'W': 15,
}

# SpeedButton1 "開始": a door swung open towards the viewer (maroon leaf with a
# yellow knob on the left), yellow light filling the doorway and spilling out
# onto the floor.
OPEN_DOOR = """
.KK.............
.KMKKKKKKKKKKK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KYMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMMMKYYYYYYYK..
.KMKKKYYYYYYYYY.
.KK..YYYYYYYYYYY
"""

# SpeedButton3 "１つ戻す": a white ambulance facing left, a red cross on its
# side, a red warning light on the roof, a light-blue windscreen.
AMBULANCE = """
................
..........RR....
..........RR....
.....KKKKKKKKKKK
.....KWWWWWWWWWK
.....KWWWWRWWWWK
..KKKKWWWWRWWWWK
.KCCCKWWRRRRRWWK
KCCCCKWWWWRWWWWK
KWWWWKWWWWRWWWWK
KWWWWWWWWWWWWWWK
KRWWWWWWWWWWWWWK
KKKKKKKKKKKKKKKK
..KDK......KDK..
...K.......K....
................
"""

# SpeedButton4 "終了": a closed maroon door in its frame, a light-blue window,
# a yellow knob.
CLOSED_DOOR = """
................
...KKKKKKKKKK...
...KMMMMMMMMK...
...KMCCCCCCMK...
...KMCCCCCCMK...
...KMCCCCCCMK...
...KMMMMMMMMK...
...KMMMMMMMMK...
...KMMMMMMYYK...
...KMMMMMMYYK...
...KMMMMMMMMK...
...KMMMMMMMMK...
...KMMMMMMMMK...
...KMMMMMMMMK...
..KKKKKKKKKKKK..
................
"""


def circular_arrow():
    """SpeedButton2 "やり直し": a red ring turning clockwise, open between one
    and three o'clock, an arrowhead at its end pointing on round the circle.
    Drawn from shapes with 4 x 4 samples per pixel: mostly covered pixels are
    red, the fringe maroon."""
    cx, cy = 7.5, 8.0
    inner, outer = 3.4, 6.4
    gap_from, gap_to = 30.0, 100.0  # degrees clockwise from twelve o'clock
    head = math.radians(gap_from)
    ring_mid = (inner + outer) / 2
    px, py = cx + ring_mid * math.sin(head), cy - ring_mid * math.cos(head)
    tangent = (math.cos(head), math.sin(head))
    normal = (math.sin(head), -math.cos(head))
    half_base, length = 3.9, 4.2
    triangle = [
        (px + normal[0] * half_base, py + normal[1] * half_base),
        (px - normal[0] * half_base, py - normal[1] * half_base),
        (px + tangent[0] * length, py + tangent[1] * length),
    ]

    def in_triangle(x, y):
        def side(a, b):
            return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])
        d = [side(triangle[i], triangle[(i + 1) % 3]) for i in range(3)]
        return all(v >= 0 for v in d) or all(v <= 0 for v in d)

    def in_ring(x, y):
        r = math.hypot(x - cx, y - cy)
        angle = math.degrees(math.atan2(x - cx, cy - y)) % 360
        return inner <= r <= outer and not gap_from < angle < gap_to

    rows = []
    for y in range(16):
        row = ''
        for x in range(16):
            hits = sum(1 for sy in range(4) for sx in range(4)
                       if in_ring(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)
                       or in_triangle(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4))
            row += 'R' if hits >= 9 else 'M' if hits >= 4 else '.'
        rows.append(row)
    return '\n'.join(rows)


GLYPHS = [
    ('speedbutton1.bmp', OPEN_DOOR),
    ('speedbutton2.bmp', circular_arrow()),
    ('speedbutton3.bmp', AMBULANCE),
    ('speedbutton4.bmp', CLOSED_DOOR),
]


def parse(picture):
    rows = [line for line in picture.strip('\n').split('\n')]
    assert len(rows) == 16 and all(len(r) == 16 for r in rows), picture
    return [[LETTERS[c] for c in row] for row in rows]


def luminance(index):
    r, g, b = PALETTE16[index]
    return 0.299 * r + 0.587 * g + 0.114 * b


def disabled(image):
    """The grey-and-white version: dark parts grey, light parts white, and a
    white relief one pixel down and right of the grey, as Windows draws
    disabled pictures, so the shape stays readable on the button face."""
    out = [[OLIVE] * 16 for _ in range(16)]
    for y in range(16):
        for x in range(16):
            c = image[y][x]
            if c != OLIVE:
                out[y][x] = GREY if luminance(c) < 140 else WHITE
    for y in range(15):
        for x in range(15):
            if out[y][x] == GREY and image[y + 1][x + 1] == OLIVE:
                out[y + 1][x + 1] = WHITE
    return out


def side_by_side(left, right):
    return [left[y] + right[y] for y in range(16)]


def bmp4(pixels):
    """A 4-bit BI_RGB Windows bitmap, bottom-up, rows padded to 4 bytes."""
    height = len(pixels)
    width = len(pixels[0])
    row_bytes = ((width + 7) // 8) * 4
    data = bytearray()
    for row in reversed(pixels):
        packed = bytearray()
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            packed.append((hi << 4) | lo)
        packed += b'\0' * (row_bytes - len(packed))
        data += packed
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE16)
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    offset = 14 + len(header) + len(palette)
    filehead = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return filehead + header + palette + data


def ico8(pixels, palette):
    """A one-image 32 x 32 icon in 256 colours; palette index 0 is transparent."""
    size = 32
    xor = bytearray()
    for row in reversed(pixels):
        xor += bytes(row)
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if row[x] == 0 else 0)
        mask += struct.pack('>I', bits)
    pal = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    pal_bytes = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in pal)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + pal_bytes + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size, size, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


class Canvas:
    """A 32 x 32 picture in palette indexes, drawn with a few shape helpers."""

    def __init__(self):
        self.palette = [(0, 0, 0)]  # index 0: transparent
        self.pixels = [[0] * 32 for _ in range(32)]

    def colour(self, rgb):
        if rgb not in self.palette:
            self.palette.append(rgb)
        return self.palette.index(rgb)

    def put(self, x, y, rgb):
        if 0 <= x < 32 and 0 <= y < 32:
            self.pixels[y][x] = self.colour(rgb)

    def rect(self, x0, y0, x1, y1, rgb):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, rgb)

    def frame(self, x0, y0, x1, y1, rgb):
        for x in range(x0, x1 + 1):
            self.put(x, y0, rgb)
            self.put(x, y1, rgb)
        for y in range(y0, y1 + 1):
            self.put(x0, y, rgb)
            self.put(x1, y, rgb)

    def line(self, x0, y0, x1, y1, rgb):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), rgb)


def application_icon():
    """A playing card with a red heart, a green tally of five beside it."""
    c = Canvas()
    black, white, red = (0, 0, 0), (255, 255, 255), (224, 0, 0)
    shade, green, dark_green = (160, 160, 160), (0, 176, 0), (0, 96, 0)
    # Card, with a soft shadow to the right and below.
    c.rect(3, 3, 18, 27, shade)
    c.rect(1, 1, 16, 25, white)
    c.frame(1, 1, 16, 25, black)
    for x, y in ((1, 1), (16, 1), (1, 25)):
        c.pixels[y][x] = 0
    # Corner "A" marks.
    for x, y in ((4, 3), (3, 4), (5, 4), (3, 5), (4, 5), (5, 5), (3, 6), (5, 6)):
        c.put(x, y, red)
    # A heart in the middle.
    heart = [
        "..RRR...RRR..",
        ".RRRRR.RRRRR.",
        "RRRRRRRRRRRRR",
        "RRRRRRRRRRRRR",
        "RRRRRRRRRRRRR",
        ".RRRRRRRRRRR.",
        "..RRRRRRRRR..",
        "...RRRRRRR...",
        "....RRRRR....",
        ".....RRR.....",
        "......R......",
    ]
    for dy, row in enumerate(heart):
        for dx, ch in enumerate(row):
            if ch == 'R':
                c.put(3 + dx, 10 + dy, red)
    # Tally of five beside the card: four upright strokes, one across them.
    for x in (20, 23, 26, 29):
        c.rect(x, 11, x + 1, 30, dark_green)
    for i in range(15):
        x = 18 + i * 13 // 14
        c.rect(x, 27 - i, x + 1, 28 - i, green)
    return c


def control_bar_icon():
    """The control bar itself: a lime strip holding four small buttons."""
    c = Canvas()
    black, lime, dark = (0, 0, 0), (0, 255, 0), (0, 128, 0)
    face, light, shadow = (192, 192, 192), (255, 255, 255), (128, 128, 128)
    title = (0, 0, 128)
    c.rect(0, 6, 31, 25, lime)
    c.frame(0, 6, 31, 25, black)
    c.rect(1, 7, 30, 10, title)
    c.frame(1, 11, 30, 24, dark)
    marks = [(255, 255, 0), (255, 0, 0), (255, 255, 255), (128, 0, 0)]
    for i in range(4):
        x0 = 3 + i * 7
        c.rect(x0, 14, x0 + 5, 21, face)
        c.line(x0, 14, x0 + 5, 14, light)
        c.line(x0, 14, x0, 21, light)
        c.line(x0, 21, x0 + 5, 21, shadow)
        c.line(x0 + 5, 14, x0 + 5, 21, shadow)
        c.rect(x0 + 2, 16, x0 + 3, 19, marks[i])
    return c


def png(pixels, colours, scale):
    """An RGB PNG of the picture enlarged by scale; transparent shows as magenta
    (glyphs) or a check board (icons) so that it cannot be mistaken."""
    height = len(pixels) * scale
    width = len(pixels[0]) * scale
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            rgb = colours(pixels[y // scale][x // scale], x // scale, y // scale)
            raw += bytes(rgb)

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--preview', metavar='DIR', help='also write 8x enlarged PNGs there')
    parser.add_argument('--check', action='store_true',
                        help='write nothing; fail when a committed file differs from what the script draws')
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))

    outputs = {}
    previews = {}
    for name, picture in GLYPHS:
        normal = parse(picture)
        both = side_by_side(normal, disabled(normal))
        assert len(both) == 16 and all(len(row) == 32 for row in both), name + ': 32 x 16 pixels'
        assert both[15][0] == OLIVE, name + ': the bottom-left pixel must be the transparent olive'
        outputs[name] = bmp4(both)
        # Transparent pixels show the button face (silver) as they will on the bar.
        show = lambda i, x, y: (212, 208, 200) if i == OLIVE else PALETTE16[i]
        previews[name.replace('.bmp', '.png')] = (both, show)

    for name, canvas in (('tallykeep.ico', application_icon()), ('controlbar.ico', control_bar_icon())):
        assert len(canvas.palette) <= 256
        outputs[name] = ico8(canvas.pixels, canvas.palette)
        checker = lambda i, x, y, p=canvas.palette: p[i] if i else ((236, 236, 236) if (x + y) % 2 else (200, 200, 200))
        previews[name.replace('.ico', '.png')] = (canvas.pixels, checker)

    if args.check:
        stale = []
        for name, data in outputs.items():
            path = os.path.join(here, name)
            if not os.path.exists(path) or open(path, 'rb').read() != data:
                stale.append(name)
        if stale:
            sys.exit('draw_glyphs.py: not what the script draws (run it again): ' + ', '.join(stale))
        print('draw_glyphs.py: all %d files are what the script draws' % len(outputs))
        return

    for name, data in outputs.items():
        with open(os.path.join(here, name), 'wb') as f:
            f.write(data)
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for name, (pixels, colours) in previews.items():
            with open(os.path.join(args.preview, name), 'wb') as f:
                f.write(png(pixels, colours, 8))


if __name__ == '__main__':
    main()

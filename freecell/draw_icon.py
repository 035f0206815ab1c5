#!/usr/bin/env python3
"""Draws the game's icon, freecell.ico, beside this script.

Two cards fanned on the green table: a black spade behind, a red diamond in
front. One icon, two images (32 x 32 and 16 x 16) in 256 colours, palette
index 0 transparent. The icon is committed, so the build never runs this
script; --check fails when the committed file is stale, --preview DIR writes
an 8x enlarged PNG of each image.
"""

import argparse
import os
import struct
import sys
import zlib

TRANSPARENT = None
GREEN, DARK_GREEN = (0, 128, 0), (0, 80, 0)
WHITE, BLACK, RED = (255, 255, 255), (0, 0, 0), (208, 0, 0)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[TRANSPARENT] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def card(self, x0, y0, x1, y1):
        """A white card with a black edge and cut corners (what lies below
        shows through them)."""
        self.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, WHITE)
        for x in range(x0 + 1, x1):
            self.put(x, y0, BLACK)
            self.put(x, y1, BLACK)
        for y in range(y0 + 1, y1):
            self.put(x0, y, BLACK)
            self.put(x1, y, BLACK)

    def shape(self, rows, left, top, colour):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == '#':
                    self.put(left + dx, top + dy, colour)


SPADE = [
    "....#....",
    "...###...",
    "..#####..",
    ".#######.",
    "#########",
    "#########",
    ".##.#.##.",
    "....#....",
    "...###...",
]
DIAMOND = [
    "....#....",
    "...###...",
    "..#####..",
    ".#######.",
    "#########",
    ".#######.",
    "..#####..",
    "...###...",
    "....#....",
]
SMALL_SPADE = ["..#..", ".###.", "#####", "..#.."]
SMALL_DIAMOND = ["..#..", ".###.", "#####", ".###.", "..#.."]


def table(canvas):
    n = canvas.size
    canvas.rect(0, 0, n - 1, n - 1, GREEN)
    for i in range(n):
        for x, y in ((i, 0), (i, n - 1), (0, i), (n - 1, i)):
            canvas.put(x, y, DARK_GREEN)


def large():
    c = Canvas(32)
    table(c)
    c.card(2, 2, 18, 24)
    c.shape(SPADE, 4, 6, BLACK)
    c.card(14, 7, 29, 29)
    c.shape(DIAMOND, 17, 14, RED)
    return c


def small():
    c = Canvas(16)
    table(c)
    c.card(1, 1, 9, 12)
    c.shape(SMALL_SPADE, 2, 3, BLACK)
    c.card(7, 4, 14, 14)
    c.shape(SMALL_DIAMOND, 8, 7, RED)
    return c


def image(canvas, palette):
    size = canvas.size
    xor = bytearray()
    mask = bytearray()
    for row in reversed(canvas.pixels):
        xor += bytes(0 if p is TRANSPARENT else palette.index(p) for p in row)
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p is TRANSPARENT else 0)
        line = bits.to_bytes((size + 7) // 8, 'big')
        mask += line + b'\0' * (-len(line) % 4)  # rows of the mask end on 4 bytes
    table_bytes = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    table_bytes += b'\0' * (4 * 256 - len(table_bytes))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + table_bytes + bytes(xor) + bytes(mask)


def icon(canvases):
    palette = [BLACK]  # index 0 stands for transparent; its colour is never shown
    for canvas in canvases:
        for row in canvas.pixels:
            for p in row:
                if p is not TRANSPARENT and p not in palette[1:]:
                    palette.append(p)
    assert len(palette) <= 256
    images = [image(c, palette) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', canvas.size, canvas.size, 0, 0, 1, 8, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


def png(canvas, scale=8):
    n = canvas.size * scale
    raw = bytearray()
    for y in range(n):
        raw.append(0)
        for x in range(n):
            p = canvas.pixels[y // scale][x // scale]
            raw += bytes(p if p is not TRANSPARENT else (255, 0, 255))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', n, n, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--preview', metavar='DIR')
    parser.add_argument('--check', action='store_true')
    args = parser.parse_args()
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'freecell.ico')
    canvases = [large(), small()]
    data = icon(canvases)
    if args.check:
        if not os.path.exists(path) or open(path, 'rb').read() != data:
            print(f'{path} is stale: run {sys.argv[0]}', file=sys.stderr)
            return 1
        return 0
    with open(path, 'wb') as out:
        out.write(data)
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for canvas in canvases:
            with open(os.path.join(args.preview, f'freecell-{canvas.size}.png'), 'wb') as out:
                out.write(png(canvas))
    return 0


if __name__ == '__main__':
    sys.exit(main())

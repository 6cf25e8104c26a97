#!/usr/bin/env python3
"""Draws the program's icon, a calendar page, and writes it as a Windows
icon file with 16, 24, 32 and 48 pixel images (32-bit, with alpha).

    python3 tools/icon/make-icon.py resources/almanac.ico

The page: a white sheet with a thin grey edge, a red band at the top held by
two dark rings, a grid of day squares, and one day ringed in the calendar's
cyan "today" colour.
"""
import struct
import sys

RED = (200, 40, 40, 255)
DARK = (60, 60, 70, 255)
EDGE = (150, 150, 160, 255)
PAPER = (252, 252, 246, 255)
DAY = (205, 205, 195, 255)
TODAY = (0, 200, 220, 255)
CLEAR = (0, 0, 0, 0)


def draw(size):
    s = size / 48.0
    pixels = [[CLEAR] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(max(0, round(y0 * s)), min(size, round(y1 * s))):
            for x in range(max(0, round(x0 * s)), min(size, round(x1 * s))):
                pixels[y][x] = colour

    box(4, 6, 44, 45, EDGE)          # the sheet with its edge
    box(5, 7, 43, 44, PAPER)
    box(5, 7, 43, 17, RED)           # the band
    for x in (14, 31):               # the rings
        box(x, 3, x + 3, 11, DARK)
    for row in range(3):             # the days
        for column in range(4):
            x, y = 8 + column * 9, 20 + row * 8
            box(x, y, x + 6, y + 5, DAY)
    x, y = 8 + 2 * 9, 20 + 1 * 8     # today
    box(x - 1, y - 1, x + 7, y + 6, TODAY)
    box(x + 1, y + 1, x + 5, y + 4, DAY)
    return pixels


def image(size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(bytes(c for r, g, b, a in row for c in (b, g, r, a)) for row in reversed(pixels))
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # alpha carries the transparency
    return header + rows + mask


def main():
    sizes = [16, 24, 32, 48]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the About box picture (a cameo portrait in an oval gold frame) and
writes res/about.bmp: 48 x 48 pixels, 24 bits per pixel.

Black is the transparent colour of the picture, so everything outside the
frame is pure black and no drawn pixel is: edges are hard, because a soft
edge would blend towards black and show as a dark fringe.

Run it again after changing the drawing; the .bmp it writes is committed."""
import math
import struct
import sys

SIZE = 48
TRANSPARENT = (0, 0, 0)


def ellipse(cx, cy, rx, ry):
    def inside(u, v):
        return ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2 <= 1
    return inside


def shoulders(u, v):
    # The top half of a wide ellipse, cut off by the frame below.
    return v >= 0.64 and ellipse(0.5, 0.90, 0.30, 0.27)(u, v)


def neck(u, v):
    return abs(u - 0.5) <= 0.07 and 0.50 <= v <= 0.66


LAYERS = [
    (ellipse(0.5, 0.5, 0.40, 0.48), (196, 150, 52)),    # frame
    (ellipse(0.5, 0.5, 0.33, 0.41), (244, 232, 204)),   # background
    (shoulders, (44, 70, 130)),
    (neck, (44, 70, 130)),
    (ellipse(0.5, 0.39, 0.13, 0.15), (44, 70, 130)),    # head
]


def colour_at(x, y):
    # The pixel takes the colour of the topmost shape covering its centre.
    u, v = (x + 0.5) / SIZE, (y + 0.5) / SIZE
    colour = TRANSPARENT
    for inside, fill in LAYERS:
        if inside(u, v):
            colour = fill
    return colour


def bitmap_file():
    row_bytes = SIZE * 3  # already a multiple of four
    pixels = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up
        for x in range(SIZE):
            r, g, b = colour_at(x, y)
            pixels += bytes((b, g, r))
    assert len(pixels) == row_bytes * SIZE
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + pixels


def main(path):
    assert all(fill != TRANSPARENT for _, fill in LAYERS)
    with open(path, 'wb') as f:
        f.write(bitmap_file())


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/about.bmp')

#!/usr/bin/env python3
"""Draws the program icon (an open book with a ribbon) at 48, 32, 24 and 16
pixels, 32 bits per pixel, and writes res/memorion.ico.

Run it again after changing the drawing; the .ico it writes is committed."""
import math
import struct
import sys


def coverage(inside, x, y, samples=4):
    """Fraction of the pixel (x, y) for which inside(u, v) holds."""
    hits = 0
    for i in range(samples):
        for j in range(samples):
            if inside(x + (i + 0.5) / samples, y + (j + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(u, v):
        cx = min(max(u, x0 + r), x1 - r)
        cy = min(max(v, y0 + r), y1 - r)
        return x0 <= u <= x1 and y0 <= v <= y1 and math.hypot(u - cx, v - cy) <= r
    return inside


def page(left):
    # A page that bows slightly towards the spine.
    def inside(u, v):
        sag = 0.05 * (u - 0.5) ** 2 * 4
        top, bottom = 0.22 + sag, 0.80 + sag
        if left:
            return 0.12 <= u <= 0.49 and top <= v <= bottom
        return 0.51 <= u <= 0.88 and top <= v <= bottom
    return inside


def ribbon(u, v):
    if not (0.62 <= u <= 0.72 and 0.18 <= v <= 0.92):
        return False
    # Swallow-tail notch at the bottom.
    return not (v > 0.84 and abs(u - 0.67) < (v - 0.84) * 0.9)


def text_lines(u, v):
    for row in range(4):
        y = 0.33 + row * 0.11
        if y <= v <= y + 0.035 and (0.17 <= u <= 0.45 or 0.55 <= u <= 0.60):
            return True
    return False


LAYERS = [
    (rounded_rect(0.02, 0.02, 0.98, 0.98, 0.16), (46, 84, 150)),
    (page(True), (250, 246, 232)),
    (page(False), (250, 246, 232)),
    (text_lines, (120, 130, 150)),
    (ribbon, (214, 64, 52)),
]


def draw(size):
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0.0
            for shape, colour in LAYERS:
                c = coverage(lambda u, v: shape(u / size, v / size), x, y)
                if c == 0:
                    continue
                r = colour[0] * c + r * (1 - c)
                g = colour[1] * c + g * (1 - c)
                b = colour[2] * c + b * (1 - c)
                a = c + a * (1 - c)
            row.append((round(r), round(g), round(b), round(a * 255)))
        pixels.append(row)
    return pixels


def dib(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + mask


def main(path):
    sizes = [48, 32, 24, 16]
    images = [dib(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/memorion.ico')

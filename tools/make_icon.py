#!/usr/bin/env python3
"""Draws Varnock's icon: a camera with a blue lens and a magnifier's glint,
in the 16-colour palette, at 32 x 32 and 16 x 16. Writes src/res/varnock.ico.

    python3 tools/make_icon.py [output.ico]
"""
import math
import struct
import sys
from pathlib import Path

# The classic 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GRAY, RED, YELLOW, BLUE, AQUA, WHITE = 0, 4, 7, 8, 9, 11, 12, 14, 15


def rounded_box(u, v, left, top, right, bottom, radius):
    """True when (u, v) lies in the box with rounded corners."""
    if not (left <= u <= right and top <= v <= bottom):
        return False
    cx = min(max(u, left + radius), right - radius)
    cy = min(max(v, top + radius), bottom - radius)
    return (u - cx) ** 2 + (v - cy) ** 2 <= radius ** 2


def colour_at(u, v):
    """The palette index at (u, v) in the unit square, or None: see-through."""
    lens = math.hypot(u - 0.5, v - 0.58)
    if lens <= 0.085 and u < 0.5 and v < 0.58:
        return WHITE                      # the glint on the glass
    if lens <= 0.13:
        return AQUA
    if lens <= 0.19:
        return BLUE
    if lens <= 0.24:
        return NAVY
    if lens <= 0.29:
        return BLACK                      # the lens ring
    if rounded_box(u, v, 0.78, 0.35, 0.86, 0.42, 0.02):
        return RED                        # the ready light
    if rounded_box(u, v, 0.13, 0.2, 0.27, 0.3, 0.02):
        return YELLOW                     # the shutter release
    if rounded_box(u, v, 0.05, 0.28, 0.95, 0.88, 0.08):
        edge = (u < 0.09 or u > 0.91 or v < 0.32 or v > 0.84)
        return BLACK if edge else (SILVER if v < 0.42 else GRAY)
    if rounded_box(u, v, 0.33, 0.14, 0.67, 0.3, 0.03):
        return BLACK if (u < 0.36 or u > 0.64 or v < 0.17) else GRAY   # the viewfinder
    return None


def render(size):
    """Rows top to bottom of palette indices or None."""
    return [[colour_at((x + 0.5) / size, (y + 0.5) / size) for x in range(size)]
            for y in range(size)]


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def icon_image(size):
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colours = b""
    mask = b""
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        nibbles = [0 if p is None else p for p in row]
        colours += padded(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2)))
        bits = [1 if p is None else 0 for p in row]
        mask += padded(bytes(sum(bits[i + j] << (7 - j) for j in range(8))
                             for i in range(0, size, 8)))
    return header + palette + colours + mask


def icon_file(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent.parent / "src" / "res" / "varnock.ico"
    target.write_bytes(icon_file([32, 16]))
    for row in render(32):
        print("".join("." if p is None else "0123456789abcdef"[p] for p in row))


if __name__ == "__main__":
    main()

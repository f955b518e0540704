#!/usr/bin/env python3
"""Draws Varnock's icon: a camera with a blue lens and a magnifier's glint.
Every size is drawn for its size from the same picture: outlines stay at
least a pixel wide, edges fall on whole pixels at the small sizes, and the
finer details (the glint, the ready light, the viewfinder's rim) appear only
where there are pixels enough for them. 32-bit colour with alpha, edges
smoothed by 4 x 4 samples per pixel; the 256 pixel image PNG-compressed.
Writes src/res/varnock.ico.

    python3 tools/make_icon.py [output.ico]
"""
import math
import struct
import sys
import zlib
from pathlib import Path

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
SAMPLES = 4

OUTLINE = (24, 24, 32)
SILVER = (200, 204, 212)
GRAY = (120, 124, 134)
NAVY = (16, 32, 96)
BLUE = (32, 96, 208)
AQUA = (96, 200, 240)
WHITE = (255, 255, 255)
RED = (224, 40, 32)
YELLOW = (248, 208, 40)


def rounded_box(u, v, left, top, right, bottom, radius):
    """True when (u, v) lies in the box with rounded corners."""
    if not (left <= u <= right and top <= v <= bottom):
        return False
    cx = min(max(u, left + radius), right - radius)
    cy = min(max(v, top + radius), bottom - radius)
    return (u - cx) ** 2 + (v - cy) ** 2 <= radius ** 2


class Picture:
    """The camera at one size: its measures in the unit square, fitted to it."""

    def __init__(self, size):
        self.size = size
        pixel = 1.0 / size
        self.line = max(pixel, 0.04)               # outline: never under a pixel
        snap = (lambda x: round(x * size) / size) if size <= 32 else (lambda x: x)
        self.body = tuple(snap(x) for x in (0.05, 0.28, 0.95, 0.88))
        self.hump = tuple(snap(x) for x in (0.33, 0.14, 0.67, 0.3))
        self.lens = (0.5, 0.58)
        self.rings = [0.29, 0.24, 0.19, 0.13]       # outline, navy, blue, aqua
        self.details = size >= 24
        self.glint = size >= 20

    def colour_at(self, u, v):
        """(r, g, b) at (u, v), or None: see-through."""
        lens = math.hypot(u - self.lens[0], v - self.lens[1])
        if self.glint and lens <= 0.085 and u < self.lens[0] and v < self.lens[1]:
            return WHITE
        for radius, colour in zip(reversed(self.rings), (AQUA, BLUE, NAVY)):
            if lens <= radius:
                return colour
        if lens <= self.rings[0]:
            return NAVY if lens <= self.rings[0] - self.line else OUTLINE
        if self.details and rounded_box(u, v, 0.78, 0.35, 0.86, 0.42, 0.02):
            return RED
        if rounded_box(u, v, 0.13, 0.2, 0.27, 0.3, 0.02):
            return YELLOW
        left, top, right, bottom = self.body
        if rounded_box(u, v, left, top, right, bottom, 0.08):
            inside = rounded_box(u, v, left + self.line, top + self.line,
                                 right - self.line, bottom - self.line, 0.06)
            return (SILVER if v < 0.42 else GRAY) if inside else OUTLINE
        left, top, right, bottom = self.hump
        if rounded_box(u, v, left, top, right, bottom, 0.03):
            rim = self.details and (u < left + self.line or u > right - self.line
                                    or v < top + self.line)
            return OUTLINE if rim or not self.details else GRAY
        return None


def render(size):
    """Rows top to bottom of (r, g, b, a), each pixel the mean of its samples."""
    picture = Picture(size)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = picture.colour_at((x + (sx + 0.5) / SAMPLES) / size,
                                          (y + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            if a:
                row.append((r // a, g // a, b // a, 255 * a // (SAMPLES * SAMPLES)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def bitmap_image(size, pixels):
    """A 32-bit DIB with its AND mask, bottom-up, as an icon directory holds it."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b""
    mask = b""
    for row in reversed(pixels):
        colours += b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row)
        bits = [1 if p[3] == 0 else 0 for p in row]
        mask += padded(bytes(sum(bits[i + j] << (7 - j) for j in range(min(8, size - i)))
                             for i in range(0, size, 8)))
    return header + colours + mask


def png_image(size, pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_file(sizes):
    images = []
    for size in sizes:
        pixels = render(size)
        images.append(png_image(size, pixels) if size >= 256 else bitmap_image(size, pixels))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        # 0 in the directory stands for 256.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent.parent / "src" / "res" / "varnock.ico"
    target.write_bytes(icon_file(SIZES))
    for row in render(16):
        print("".join(" .:#"[p[3] * 3 // 255] for p in row))


if __name__ == "__main__":
    main()

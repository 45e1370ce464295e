#!/usr/bin/env python3
"""Draws the online panel's pictures (res/panel/pictures): the welcome banner as a 24-bit BMP
and the small news and tips signs as PNG, so that the panel shows both picture families.
Run it again after changing a drawing; the pictures are kept in the sources."""
import math
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "panel", "pictures")


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        rows += row + b"\0" * (stride - width * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + rows)


def write_png(path, width, height, pixel):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(pixel(x, y))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def banner(x, y):
    # The product's band: violet to coral, with three soft rings on the right.
    colour = mix((0x70, 0x48, 0xB8), (0xE0, 0x58, 0x48), x / 479)
    for cx, cy, radius in ((380, 48, 34), (430, 30, 20), (440, 74, 14)):
        d = math.hypot(x - cx, y - cy)
        if abs(d - radius) < 3:
            colour = mix(colour, (255, 255, 255), 0.55)
    return colour


def sign(fill):
    def pixel(x, y):
        d = math.hypot(x - 15.5, y - 15.5)
        if d > 15.5:
            return (0, 0, 0, 0)
        if d > 13.5:
            return (255, 255, 255, 255)
        return fill + (255,)
    return pixel


def main():
    os.makedirs(HERE, exist_ok=True)
    write_bmp(os.path.join(HERE, "welcome.bmp"), 480, 96, banner)
    write_png(os.path.join(HERE, "news.png"), 32, 32, sign((0x30, 0x70, 0xD0)))
    write_png(os.path.join(HERE, "tips.png"), 32, 32, sign((0xF0, 0xB8, 0x20)))


if __name__ == "__main__":
    main()

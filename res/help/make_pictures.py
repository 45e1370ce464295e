#!/usr/bin/env python3
"""Makes the pictures of the help folder (res/help/files/pictures/) from the module button
pictures drawn by res/art/make_art.py: each 32 x 32 TGA becomes a PNG that the help pages show
beside their title. Run it again after the artwork changes; its output is committed."""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.join(HERE, "..", "art", "generated")
OUT = os.path.join(HERE, "files", "pictures")

# Button picture resource -> picture name used by the pages.
PICTURES = {
    358: "quenta", 374: "online", 327: "explorer", 347: "syspicture", 343: "wallpaper",
    322: "translator", 340: "capture", 350: "acquire", 344: "wincolors", 348: "tools",
    339: "finder", 345: "windows", 328: "fonts", 351: "shortcuts", 341: "uninstall",
    323: "datatypes", 324: "diskinfo", 346: "sysinfo", 332: "misc", 400: "help",
}


def read_tga(path):
    data = open(path, "rb").read()
    id_length, colour_map_type, image_type = data[0], data[1], data[2]
    width, height, depth, descriptor = struct.unpack_from("<HHBB", data, 12)
    if colour_map_type != 0 or image_type != 2 or depth not in (24, 32):
        raise ValueError(f"{path}: only uncompressed true-colour TGA files are expected")
    step = depth // 8
    pixels = data[18 + id_length:]
    rows = []
    for y in range(height):
        source_row = y if descriptor & 0x20 else height - 1 - y
        row = bytearray()
        for x in range(width):
            i = (source_row * width + x) * step
            b, g, r = pixels[i], pixels[i + 1], pixels[i + 2]
            a = pixels[i + 3] if step == 4 else 255
            row += bytes((r, g, b, a))
        rows.append(bytes(row))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + row for row in rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as target:
        target.write(png)


def main():
    os.makedirs(OUT, exist_ok=True)
    for resource, name in sorted(PICTURES.items()):
        prefix = "zone" if resource >= 400 else "module"
        width, height, rows = read_tga(os.path.join(ART, f"{prefix}_{resource}.tga"))
        write_png(os.path.join(OUT, name + ".png"), width, height, rows)
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Writes the picker's two cursor files, resources/crosshair.cur and
resources/idle.cur.

    python3 scripts/make_cursors.py [output-folder]

Both are 32 x 32 single-image .cur files:

  crosshair.cur  8 bits per pixel with a 256-entry palette, hotspot (15, 15):
                 a black cross through the hotspot inside a black ring.
  idle.cur       32 bits per pixel (BGRA, no palette), hotspot (12, 4):
                 an arrow pointer, black outline and white fill, tip at the
                 hotspot.

Each image is a BITMAPINFOHEADER whose height counts the colour bitmap and
the AND mask together (64), the palette if any, the colour bitmap and the
one-bit AND mask, both stored bottom-up. The output is byte-for-byte
reproducible; the files are kept in the repository and embedded by the build.
"""

import os
import struct
import sys

SIZE = 32

CROSSHAIR_HOTSPOT = (15, 15)
IDLE_HOTSPOT = (12, 4)


# --- pixel patterns (rows top-down; None = transparent) --------------------

def crosshair_pixels():
    """A ring of radius 9..10 around the hotspot and a cross through it that
    reaches past the ring. Every drawn pixel is black."""
    cx, cy = CROSSHAIR_HOTSPOT
    black = set()
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x - cx, y - cy
            d2 = dx * dx + dy * dy
            if 8.5 ** 2 <= d2 <= 10.5 ** 2:
                black.add((x, y))
            if (dx == 0 and abs(dy) <= 13) or (dy == 0 and abs(dx) <= 13):
                black.add((x, y))
    return [[(0, 0, 0) if (x, y) in black else None for x in range(SIZE)]
            for y in range(SIZE)]


# The arrow with its tip at the top-left character. '#' outline, '.' fill.
ARROW = [
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.........#",
    "#..........#",
    "#......#####",
    "#...#..#",
    "#..##..#",
    "#.#  #..#",
    "##   #..#",
    "#     #..#",
    "      #..#",
    "       ##",
]


def arrow_pixels():
    tx, ty = IDLE_HOTSPOT
    rows = [[None] * SIZE for _ in range(SIZE)]
    for dy, line in enumerate(ARROW):
        for dx, ch in enumerate(line):
            if ch == "#":
                rows[ty + dy][tx + dx] = (0, 0, 0)
            elif ch == ".":
                rows[ty + dy][tx + dx] = (255, 255, 255)
    return rows


# --- file writing ----------------------------------------------------------

def and_mask(pixels):
    """One bit per pixel, 1 = transparent, rows bottom-up, 4 bytes a row."""
    out = bytearray()
    for row in reversed(pixels):
        bits = 0
        for x, p in enumerate(row):
            if p is None:
                bits |= 1 << (31 - x)
        out += struct.pack(">I", bits)
    return bytes(out)


def info_header(bit_count, image_bytes):
    return struct.pack("<IiiHHIIiiII",
                       40,            # biSize
                       SIZE,          # biWidth
                       SIZE * 2,      # biHeight: colour bitmap + mask
                       1,             # biPlanes
                       bit_count,     # biBitCount
                       0,             # biCompression = BI_RGB
                       image_bytes,   # biSizeImage: colour bitmap + mask
                       0, 0,          # resolution
                       0, 0)          # biClrUsed, biClrImportant


def cursor_file(image, hotspot):
    """A .cur file holding one 32 x 32 image with colour count 0."""
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0,
                        hotspot[0], hotspot[1], len(image), 6 + 16)
    return header + entry + image


def crosshair_cursor():
    pixels = crosshair_pixels()
    palette = [(0, 0, 0), (255, 255, 255)] + [(0, 0, 0)] * 254
    index = {c: i for i, c in reversed(list(enumerate(palette)))}
    colour = bytearray()
    for row in reversed(pixels):
        # Transparent pixels are black (index 0) so that the screen shows
        # through unchanged where the mask is set.
        colour += bytes(index[p] if p is not None else 0 for p in row)
    mask = and_mask(pixels)
    image = (info_header(8, len(colour) + len(mask))
             + b"".join(struct.pack("<BBBB", b, g, r, 0)
                        for r, g, b in palette)
             + bytes(colour) + mask)
    return cursor_file(image, CROSSHAIR_HOTSPOT)


def idle_cursor():
    pixels = arrow_pixels()
    colour = bytearray()
    for row in reversed(pixels):
        for p in row:
            if p is None:
                colour += b"\0\0\0\0"
            else:
                r, g, b = p
                colour += struct.pack("<BBBB", b, g, r, 255)
    mask = and_mask(pixels)
    image = info_header(32, len(colour) + len(mask)) + bytes(colour) + mask
    return cursor_file(image, IDLE_HOTSPOT)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources")
    os.makedirs(out_dir, exist_ok=True)
    files = {
        "crosshair.cur": (crosshair_cursor(), 2238),
        "idle.cur": (idle_cursor(), 4286),
    }
    for name, (data, expected) in files.items():
        if len(data) != expected:
            sys.exit(f"{name}: {len(data)} bytes, expected {expected}")
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print(f"wrote {name} ({len(data)} bytes)")


if __name__ == "__main__":
    main()

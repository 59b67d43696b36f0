#!/usr/bin/env python3
"""Writes the application icon, resources/pelvrin.ico.

    python3 scripts/make_icon.py [output-folder]

The picture is a target (a blue ring with a cross) with a mouse pointer whose
tip sits on the target's centre, and short click marks beside the tip. It is
made at 48, 32 and 16 pixels, each stored as a 32 bits-per-pixel (BGRA)
bitmap with its AND mask. The ring is drawn from shapes in a unit square,
anti-aliased by supersampling; at 48 pixels so are the pointer and the marks,
while at 32 and 16 they are drawn pixel by pixel so that they stay sharp
(16 pixels leaves the marks and the cross out). Standard library only; the
output is reproducible.
"""

import math
import os
import struct
import sys

sys.dont_write_bytecode = True  # keep scripts/ free of __pycache__
from make_cursors import ARROW as IDLE_ARROW  # noqa: E402

SIZES = (48, 32, 16)
SUBSAMPLES = 8  # per axis

CENTRE = (0.40, 0.40)
RING_OUTER = 0.36
RING_INNER = 0.27

BLUE = (0x1E, 0x6F, 0xD9)
PALE = (0xEE, 0xF4, 0xFF)
INK = (0x1A, 0x1A, 0x1A)
WHITE = (0xFF, 0xFF, 0xFF)
ORANGE = (0xF2, 0x8C, 0x1C)

# The pointer at 48 pixels, tip at (0, 0), about one unit high.
ARROW = [(0.0, 0.0), (0.0, 0.82), (0.20, 0.63), (0.33, 0.93),
         (0.47, 0.87), (0.34, 0.58), (0.60, 0.58)]
ARROW_SCALE = 0.56


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def inside(px, py, poly):
    result = False
    n = len(poly)
    for i in range(n):
        (ax, ay), (bx, by) = poly[i], poly[(i + 1) % n]
        if (ay > py) != (by > py):
            if px < ax + (py - ay) * (bx - ax) / (by - ay):
                result = not result
    return result


def edge_dist(px, py, poly):
    n = len(poly)
    return min(seg_dist(px, py, *poly[i], *poly[(i + 1) % n]) for i in range(n))


# At 16 and 32 pixels the pointer is drawn pixel by pixel, tip at the top
# left, '#' outline and '.' fill; at 32 it is the picker's idle pointer.
ARROW_16 = [
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#..####",
    "#.#..#",
    "## #..#",
    "    ##",
]
PIXEL_ARROWS = {16: ARROW_16, 32: IDLE_ARROW}

# The click marks at 32 pixels, as (column, row) offsets from the tip pixel:
# one stroke at 45 degrees between two at a slope of 2:1.
MARKS_32 = {(-3, -3), (-4, -4), (-5, -5),
            (-5, -2), (-6, -2), (-7, -3), (-8, -3),
            (-2, -5), (-2, -6), (-3, -7), (-3, -8)}


def centre_pixel(size):
    """The pixel on which the target is centred and the pointer's tip sits."""
    return 5 if size <= 16 else round(CENTRE[0] * size - 0.5)


def picture(size):
    """Returns a function giving the colour at a point, or None."""
    px = 1.0 / size
    c = centre_pixel(size)
    # The ring and the cross are centred on the middle of the centre pixel;
    # the pointer's tip is that pixel's top left corner, so that its upright
    # edge lies on the pixel grid.
    cx = cy = (c + 0.5) * px
    tip = c * px
    arrow = [(tip + x * ARROW_SCALE, tip + y * ARROW_SCALE) for x, y in ARROW]
    outline = 1.5 * px
    cross_half = 0.5 * px
    # Click marks: three short strokes fanning out from the tip, up and left.
    marks = []
    for angle in (200, 225, 250):
        a = math.radians(angle)
        r0, r1 = 0.13, 0.23
        marks.append((cx + r0 * math.cos(a), cy + r0 * math.sin(a),
                      cx + r1 * math.cos(a), cy + r1 * math.sin(a)))
    mark_half = size / 48 * px

    def pixel_arrow(x, y):
        art = PIXEL_ARROWS[size]
        row, col = int(y * size) - c, int(x * size) - c
        if 0 <= row < len(art) and 0 <= col < len(art[row]):
            return {"#": INK, ".": WHITE}.get(art[row][col])
        return None

    def colour(x, y):
        if size in PIXEL_ARROWS:
            p = pixel_arrow(x, y)
            if p is not None:
                return p
        elif inside(x, y, arrow):
            return INK if edge_dist(x, y, arrow) < outline else WHITE
        if size == 32:
            if (int(x * size) - c, int(y * size) - c) in MARKS_32:
                return ORANGE
        elif size > 32 and any(seg_dist(x, y, *m) < mark_half for m in marks):
            return ORANGE
        d = math.hypot(x - cx, y - cy)
        if d <= RING_OUTER:
            if d >= RING_INNER:
                return BLUE
            if size > 16 and (abs(x - cx) < cross_half or abs(y - cy) < cross_half):
                return BLUE
            return PALE
        return None

    return colour


def render(size):
    """Rows top-down of (r, g, b, a): the colour averaged over the covered
    samples, alpha the share of samples covered."""
    colour = picture(size)
    n = SUBSAMPLES
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(n):
                for sx in range(n):
                    c = colour((px + (sx + 0.5) / n) / size,
                               (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        a += 1
            if a:
                row.append((round(r / a), round(g / a), round(b / a),
                            round(255 * a / (n * n))))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(size):
    rows = render(size)
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += struct.pack("<BBBB", b, g, r, a)
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def icon_file():
    images = [(s, icon_image(s)) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources")
    os.makedirs(out_dir, exist_ok=True)
    data = icon_file()
    with open(os.path.join(out_dir, "pelvrin.ico"), "wb") as f:
        f.write(data)
    print(f"wrote pelvrin.ico ({len(data)} bytes)")


if __name__ == "__main__":
    main()

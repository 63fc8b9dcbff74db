#!/usr/bin/env python3
"""Draws Glimmer's icons and writes them as .ico files (16 and 32 pixels first, then 20, 24, 40
and 48 for screens of 120 and 144 DPI; 32-bit colour), and
the program's icon as PNG files in the sizes of a desktop icon theme.

Each picture is a list of filled shapes in a 0..1 square, rasterised with 4 x 4
supersampling so every size comes from one drawing. Running the script again gives
byte-identical files.
    scripts/make_icons.py [output folder]   (default: app/icons)
    scripts/make_icons.py --check [folder]  exit status 1 when the files there differ
    scripts/make_icons.py --theme FOLDER    FOLDER/hicolor/NxN/apps/glimmer.png for each size
    scripts/make_icons.py --png SIZE FILE   the program's icon as one PNG of SIZE pixels
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 32, 20, 24, 40, 48)
THEME_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SUPERSAMPLE = 4


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_outer, r_inner):
    return lambda x, y: r_inner * r_inner < (x - cx) ** 2 + (y - cy) ** 2 <= r_outer * r_outer


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def star(cx, cy, r_outer, r_inner, points=4):
    corners = []
    for k in range(points * 2):
        angle = math.pi * k / points - math.pi / 2
        r = r_outer if k % 2 == 0 else r_inner
        corners.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    return polygon(corners)


OUTLINE = (40, 40, 48, 255)

# The program: a camera body with its lens, and a four-pointed glint above it.
CAMERA = [
    (rounded_rect(0.06, 0.30, 0.94, 0.88, 0.08), OUTLINE),
    (rounded_rect(0.10, 0.34, 0.90, 0.84, 0.06), (96, 112, 136, 255)),
    (rect(0.30, 0.22, 0.56, 0.34), OUTLINE),
    (rect(0.70, 0.38, 0.84, 0.46), (230, 230, 220, 255)),
    (circle(0.47, 0.60, 0.22), OUTLINE),
    (circle(0.47, 0.60, 0.17), (60, 130, 200, 255)),
    (circle(0.42, 0.55, 0.06), (200, 230, 255, 255)),
    (star(0.82, 0.16, 0.16, 0.04), (255, 200, 40, 255)),
]

# The device root: a hand-held computer with a screen and a keyboard strip.
DEVICE = [
    (rounded_rect(0.04, 0.18, 0.96, 0.86, 0.06), OUTLINE),
    (rounded_rect(0.08, 0.22, 0.92, 0.82, 0.04), (190, 190, 200, 255)),
    (rect(0.14, 0.27, 0.86, 0.58), (30, 60, 40, 255)),
    (rect(0.17, 0.30, 0.83, 0.55), (120, 200, 140, 255)),
    (rect(0.14, 0.64, 0.86, 0.76), (110, 110, 120, 255)),
]

FOLDER_YELLOW = (240, 200, 80, 255)
FOLDER_DARK = (190, 140, 30, 255)

# A closed folder: tab, back and front.
FOLDER = [
    (polygon([(0.06, 0.22), (0.40, 0.22), (0.48, 0.32), (0.94, 0.32), (0.94, 0.84), (0.06, 0.84)]), OUTLINE),
    (polygon([(0.10, 0.26), (0.38, 0.26), (0.46, 0.36), (0.90, 0.36), (0.90, 0.80), (0.10, 0.80)]), FOLDER_DARK),
    (rect(0.10, 0.42, 0.90, 0.80), FOLDER_YELLOW),
]

# An open folder: the front flap tilted forward over the back.
FOLDER_OPEN = [
    (polygon([(0.06, 0.22), (0.40, 0.22), (0.48, 0.32), (0.86, 0.32), (0.86, 0.84), (0.06, 0.84)]), OUTLINE),
    (polygon([(0.10, 0.26), (0.38, 0.26), (0.46, 0.36), (0.82, 0.36), (0.82, 0.80), (0.10, 0.80)]), FOLDER_DARK),
    (polygon([(0.22, 0.46), (0.98, 0.46), (0.84, 0.86), (0.04, 0.86)]), OUTLINE),
    (polygon([(0.25, 0.50), (0.93, 0.50), (0.81, 0.82), (0.10, 0.82)]), FOLDER_YELLOW),
]

ICONS = {
    "glimmer.ico": CAMERA,
    "device.ico": DEVICE,
    "folder.ico": FOLDER,
    "folder_open.ico": FOLDER_OPEN,
}


def render(shapes, size):
    """Rows of (b, g, r, a) pixels, top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = None
                    for inside, fill in shapes:
                        if inside(x, y):
                            colour = fill
                    if colour:
                        a = colour[3] / 255.0
                        for c in range(3):
                            acc[c] += colour[c] * a
                        acc[3] += a
            alpha = acc[3] / (n * n)
            if acc[3] > 0:
                r, g, b = (round(acc[c] / acc[3]) for c in range(3))
            else:
                r = g = b = 0
            row.append((b, g, r, round(alpha * 255)))
        rows.append(row)
    return rows


def dib(rows, size):
    """BITMAPINFOHEADER, bottom-up BGRA pixels and the 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(p) for row in reversed(rows) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + pixels + bytes(mask)


def ico(shapes):
    images = [(size, dib(render(shapes, size), size)) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def png(rows, size):
    """An 8-bit RGBA PNG: no filter on any row, one deflate stream, no time or text chunks."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(c for b, g, r, a in row for c in (r, g, b, a)) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def write_theme(folder):
    for size in THEME_SIZES:
        apps = os.path.join(folder, "hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(apps, exist_ok=True)
        with open(os.path.join(apps, "glimmer.png"), "wb") as f:
            f.write(png(render(CAMERA, size), size))


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "--theme":
        write_theme(args[1])
        return 0
    if len(args) == 3 and args[0] == "--png":
        size = int(args[1])
        with open(args[2], "wb") as f:
            f.write(png(render(CAMERA, size), size))
        return 0
    check = bool(args) and args[0] == "--check"
    if check:
        args = args[1:]
    folder = args[0] if args else os.path.join(os.path.dirname(__file__), "..", "app", "icons")
    if check:
        stale = []
        for name, shapes in ICONS.items():
            path = os.path.join(folder, name)
            if not os.path.exists(path) or open(path, "rb").read() != ico(shapes):
                stale.append(name)
        if stale:
            print("differ from their drawing: " + ", ".join(stale))
            return 1
        return 0
    os.makedirs(folder, exist_ok=True)
    for name, shapes in ICONS.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(ico(shapes))
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Draws the program's pictures into resources/pictures.

Everything is drawn here from simple shapes, so the pictures can be made again exactly:
  - 24-bit BMP pictures, with fuchsia RGB(255,0,255) outside the shape (the picture
    controls and the shaped windows key that colour out);
  - app.ico, the program's icon, 16x16, 32x32 and 48x48 in 32-bit colour with alpha;
  - banner.jpg, the 620x80 strip at the top of the main window. The script writes it as a
    PPM and ImageMagick's convert encodes it (apt-get install imagemagick).

Only the Python 3 standard library is used. The outputs are checked in; the build does
not run this script.

usage: make-pictures.py [output-folder]   (default: resources/pictures beside this script)
"""

import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile

FUCHSIA = (255, 0, 255)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------------------------------
# Shapes: each is a function (x, y) -> bool over continuous pixel coordinates, where the
# pixel (i, j) covers [i, i+1) x [j, j+1).

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def round_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(points):
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            xa, ya = points[i]
            xb, yb = points[(i + 1) % n]
            if (ya > y) != (yb > y):
                xc = xa + (y - ya) * (xb - xa) / (yb - ya)
                if x < xc:
                    result = not result
        return result
    return inside


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px, py = ax + t * dx, ay + t * dy
    return math.hypot(x - px, y - py)


def polyline_distance(x, y, points):
    return min(segment_distance(x, y, *points[i], *points[i + 1]) for i in range(len(points) - 1))


def stroke(polylines, width):
    half = width / 2.0
    return lambda x, y: any(polyline_distance(x, y, p) <= half for p in polylines)


def arc(cx, cy, r, start_degrees, end_degrees, steps=24):
    """Points of a circular arc; angles grow clockwise on screen (y points down)."""
    points = []
    for i in range(steps + 1):
        a = math.radians(start_degrees + (end_degrees - start_degrees) * i / steps)
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def vertical(top_colour, bottom_colour, y0, y1):
    """A colour function: a vertical gradient between two rows."""
    def colour(_x, y):
        t = min(1.0, max(0.0, (y - y0) / float(y1 - y0)))
        return mix(top_colour, bottom_colour, t)
    return colour


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# ---------------------------------------------------------------------------------------
# Rendering: a picture is a list of layers (shape, colour), painted bottom first. Each pixel
# is sampled n x n times; a sample takes the colour of the topmost layer that covers it.

def render(width, height, layers, samples=4):
    """Returns rows of (colour, coverage): the mean colour of the covered samples and the
    part of the pixel that any layer covers (0..1)."""
    rows = []
    step = 1.0 / samples
    for j in range(height):
        row = []
        for i in range(width):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(samples):
                y = j + (sy + 0.5) * step
                for sx in range(samples):
                    x = i + (sx + 0.5) * step
                    for shape, colour in reversed(layers):
                        if shape(x, y):
                            c = colour(x, y) if callable(colour) else colour
                            total[0] += c[0]
                            total[1] += c[1]
                            total[2] += c[2]
                            covered += 1
                            break
            if covered:
                row.append((tuple(v / covered for v in total), covered / float(samples * samples)))
            else:
                row.append((None, 0.0))
        rows.append(row)
    return rows


def keyed(rows):
    """Rows of RGB for a colour-keyed picture: a pixel at least half covered keeps the mean
    colour of its shape, never blended with the key colour (which would leave a pink
    fringe); every other pixel is fuchsia."""
    out = []
    for row in rows:
        line = []
        for colour, coverage in row:
            if colour is None or coverage < 0.5:
                line.append(FUCHSIA)
            else:
                c = tuple(int(round(v)) for v in colour)
                # A drawn pixel never lands on the key colour itself.
                line.append((254, 0, 255) if c == FUCHSIA else c)
        out.append(line)
    return out


# ---------------------------------------------------------------------------------------
# File formats.

def bmp24(rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + pixels


def ico(images):
    """images: list of rows of (r, g, b, a); each becomes a 32-bit BMP entry with its mask."""
    entries = []
    payloads = []
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        pixels = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                pixels += bytes((b, g, r, a))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for i, (_r, _g, _b, a) in enumerate(row):
                if a == 0:
                    bits[i // 8] |= 0x80 >> (i % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        payload = header + pixels + mask
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(payload), offset))
        payloads.append(payload)
        offset += len(payload)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(payloads)


def ppm(rows):
    height = len(rows)
    width = len(rows[0])
    data = bytearray(b"P6\n%d %d\n255\n" % (width, height))
    for row in rows:
        for r, g, b in row:
            data += bytes((r, g, b))
    return bytes(data)


# ---------------------------------------------------------------------------------------
# The 16x16 and 24x24 pictures.

RED = (214, 56, 50)
RED_DARK = (158, 32, 28)
BLUE = (46, 118, 200)
BLUE_DARK = (26, 78, 150)
YELLOW = (246, 196, 48)
YELLOW_DARK = (176, 128, 14)
INK = (48, 48, 48)


def folder_layers(x0, y0, x1, y1):
    """A manila folder: the back with its tab, and the front a shade lighter."""
    back = union(round_rect(x0, y0 + 2, x1, y1, 1.5), round_rect(x0, y0, x0 + (x1 - x0) * 0.42, y0 + 4, 1.2))
    back_fill = union(round_rect(x0 + 1, y0 + 3, x1 - 1, y1 - 1, 1), round_rect(x0 + 1, y0 + 1, x0 + (x1 - x0) * 0.42 - 1, y0 + 4, 0.8))
    front = polygon([(x0 + 2, y0 + 6), (x1, y0 + 6), (x1 - 1, y1), (x0, y1)])
    front_fill = polygon([(x0 + 3, y0 + 7), (x1 - 1.2, y0 + 7), (x1 - 2, y1 - 1), (x0 + 1.2, y1 - 1)])
    return [
        (back, (170, 120, 30)),
        (back_fill, (226, 170, 60)),
        (front, (176, 126, 32)),
        (front_fill, vertical((252, 214, 110), (240, 184, 72), y0 + 7, y1)),
    ]


def picture_folder():
    return keyed(render(24, 24, folder_layers(1, 4, 23, 21)))


def picture_backupset():
    arrow = polygon([(17.5, 12.6), (21.6, 17.2), (19.0, 17.2), (19.0, 21.2), (16.0, 21.2), (16.0, 17.2), (13.4, 17.2)])
    layers = folder_layers(1, 2, 20, 17) + [
        (circle(17.5, 17.5, 6.3), WHITE),
        (circle(17.5, 17.5, 5.3), vertical((70, 150, 225), BLUE_DARK, 12, 23)),
        (arrow, WHITE),
    ]
    return keyed(render(24, 24, layers))


def cross(cx, cy, half, width):
    return stroke([[(cx - half, cy - half), (cx + half, cy + half)], [(cx - half, cy + half), (cx + half, cy - half)]], width)


def red_disc_with_cross():
    return [
        (circle(8, 8, 7.3), RED_DARK),
        (circle(8, 8, 6.3), vertical((236, 96, 86), (196, 40, 34), 1, 15)),
        (cross(8, 8, 2.9, 2.0), WHITE),
    ]


def picture_wrong():
    return keyed(render(16, 16, red_disc_with_cross()))


def picture_error():
    return keyed(render(16, 16, red_disc_with_cross()))


def picture_info():
    return keyed(render(16, 16, [
        (circle(8, 8, 7.3), BLUE_DARK),
        (circle(8, 8, 6.3), vertical((96, 166, 236), (36, 104, 190), 1, 15)),
        (circle(8, 4.6, 1.3), WHITE),
        (rect(7, 6.8, 9, 12.4), WHITE),
    ]))


def picture_about():
    # A question mark in a blue disc, ringed in white so it stands out on the banner.
    hook = arc(8, 6.0, 2.4, 190, 390, 16) + [(8.0, 8.6), (8.0, 9.6)]
    return keyed(render(16, 16, [
        (circle(8, 8, 7.4), WHITE),
        (circle(8, 8, 6.4), vertical((96, 166, 236), (30, 96, 180), 1, 15)),
        (stroke([hook], 1.7), WHITE),
        (circle(8, 12.2, 1.15), WHITE),
    ]))


def exclamation(cx, top, bottom, width, colour):
    return [
        (polygon([(cx - width / 2, top), (cx + width / 2, top), (cx + width * 0.3, bottom), (cx - width * 0.3, bottom)]), colour),
        (circle(cx, bottom + 1.9, width * 0.55), colour),
    ]


def picture_warning():
    outer = polygon([(8, 0.6), (15.6, 14.8), (0.4, 14.8)])
    inner = polygon([(8, 2.6), (14.0, 13.8), (2.0, 13.8)])
    return keyed(render(16, 16, [
        (outer, YELLOW_DARK),
        (inner, vertical((255, 222, 92), (240, 180, 30), 2, 14)),
    ] + exclamation(8, 5.4, 10.0, 1.9, INK)))


def picture_warning_sign():
    # A diamond road sign: amber with a dark edge and a "!".
    outer = polygon([(8, 0.2), (15.8, 8), (8, 15.8), (0.2, 8)])
    inner = polygon([(8, 1.7), (14.3, 8), (8, 14.3), (1.7, 8)])
    return keyed(render(16, 16, [
        (outer, (120, 80, 0)),
        (inner, vertical((255, 210, 70), (238, 160, 20), 2, 14)),
    ] + exclamation(8, 3.9, 9.0, 1.9, INK)))


def octagon(cx, cy, r):
    k = r * math.tan(math.pi / 8)
    return polygon([(cx - k, cy - r), (cx + k, cy - r), (cx + r, cy - k), (cx + r, cy + k),
                    (cx + k, cy + r), (cx - k, cy + r), (cx - r, cy + k), (cx - r, cy - k)])


def picture_error_sign():
    # An octagonal stop sign with a white bar.
    return keyed(render(16, 16, [
        (octagon(8, 8, 7.8), RED_DARK),
        (octagon(8, 8, 6.7), vertical((236, 84, 72), (190, 30, 26), 1, 15)),
        (round_rect(3.6, 6.8, 12.4, 9.2, 0.6), WHITE),
    ]))


def picture_log():
    sheet = polygon([(2.5, 0.5), (10.5, 0.5), (13.5, 3.5), (13.5, 15.5), (2.5, 15.5)])
    paper = polygon([(3.5, 1.5), (10.0, 1.5), (12.5, 4.0), (12.5, 14.5), (3.5, 14.5)])
    fold = polygon([(10.0, 1.0), (13.0, 4.0), (10.0, 4.0)])
    lines = [(rect(5, y, 11, y + 1), (120, 140, 170)) for y in (6, 8, 10, 12)]
    return keyed(render(16, 16, [(sheet, (110, 110, 110)), (paper, WHITE), (fold, (200, 200, 200))] + lines))


def picture_close():
    return keyed(render(16, 16, [
        (round_rect(0.5, 0.5, 15.5, 15.5, 3), (150, 150, 150)),
        (round_rect(1.5, 1.5, 14.5, 14.5, 2.2), vertical((250, 250, 250), (226, 226, 226), 1, 15)),
        (cross(8, 8, 3.4, 2.0), (80, 80, 80)),
    ]))


# ---------------------------------------------------------------------------------------
# The emblem (the icon's drawing): a blue rounded square holding a white tray with an
# arrow going down into it. Drawn in a unit square, then scaled.

def emblem_layers(x0, y0, size):
    def at(u, v):
        return (x0 + u * size, y0 + v * size)

    def box(u0, v0, u1, v1, r):
        (a, b), (c, d) = at(u0, v0), at(u1, v1)
        return round_rect(a, b, c, d, r * size)

    # On sixteenths, so the 16x16 image falls on whole pixels.
    tray = union(box(0.1875, 0.5625, 0.3125, 0.8125, 0.01), box(0.6875, 0.5625, 0.8125, 0.8125, 0.01),
                 box(0.1875, 0.6875, 0.8125, 0.8125, 0.01))
    arrow = polygon([at(0.4375, 0.125), at(0.5625, 0.125), at(0.5625, 0.375), at(0.6875, 0.375), at(0.5, 0.5625),
                     at(0.3125, 0.375), at(0.4375, 0.375)])
    return [
        (box(0.02, 0.02, 0.98, 0.98, 0.20), (22, 70, 140)),
        (box(0.06, 0.06, 0.94, 0.94, 0.17), vertical((72, 150, 226), (30, 92, 176), y0, y0 + size)),
        (tray, WHITE),
        (arrow, WHITE),
    ]


def icon_image(size):
    rows = render(size, size, emblem_layers(0, 0, size), samples=6)
    out = []
    for row in rows:
        line = []
        for colour, coverage in row:
            if colour is None or coverage == 0:
                line.append((0, 0, 0, 0))
            else:
                r, g, b = (int(round(v)) for v in colour)
                line.append((r, g, b, int(round(coverage * 255))))
        out.append(line)
    return out


# ---------------------------------------------------------------------------------------
# Window backgrounds: a white rounded panel with a soft blue border; fuchsia outside the
# rounded corners gives the window its shape.

def panel_layers(width, height, radius=12):
    layers = [(round_rect(0, 0, width, height, radius), (120, 156, 200))]
    shades = [(176, 200, 228), (206, 222, 240), (228, 238, 248), (243, 247, 252)]
    for k, colour in enumerate(shades, start=1):
        layers.append((round_rect(k, k, width - k, height - k, radius - k), colour))
    n = len(shades) + 1
    layers.append((round_rect(n, n, width - n, height - n, radius - n), WHITE))
    return layers


def picture_wait_background():
    # The emblem sits left of the two text lines, which start at x 94.
    return keyed(render(346, 107, panel_layers(346, 107) + emblem_layers(24, 18, 52), samples=2))


def picture_about_background():
    return keyed(render(346, 150, panel_layers(346, 150), samples=2))


# ---------------------------------------------------------------------------------------
# The banner: a calm gradient with the program's name in white, drawn with a small stroke
# font of its own. Glyphs are polylines in em units: the cap line at 0, the x-height at
# 0.3, the baseline at 1.0, descenders down to 1.3.

GLYPHS = {
    "H": (0.72, [[(0, 0), (0, 1)], [(0.72, 0), (0.72, 1)], [(0, 0.5), (0.72, 0.5)]]),
    "a": (0.66, [arc(0.31, 0.65, 0.33, 0, 360, 32), [(0.64, 0.3), (0.64, 1)]]),
    "l": (0.0, [[(0, 0), (0, 1)]]),
    "v": (0.62, [[(0, 0.3), (0.31, 1), (0.62, 0.3)]]),
    "o": (0.68, [arc(0.34, 0.65, 0.34, 0, 360, 32)]),
    "r": (0.40, [[(0, 0.3), (0, 1)], arc(0.36, 0.66, 0.36, 180, 275, 12)]),
    "k": (0.56, [[(0, 0), (0, 1)], [(0.54, 0.3), (0, 0.74)], [(0.18, 0.6), (0.56, 1)]]),
    "e": (0.68, [arc(0.34, 0.65, 0.34, 40, 360, 28), [(0.0, 0.65), (0.68, 0.65)]]),
    "p": (0.68, [[(0, 0.3), (0, 1.3)], arc(0.34, 0.65, 0.34, 0, 360, 32)]),
    "3": (0.56, [arc(0.28, 0.25, 0.25, 200, 450, 20), arc(0.28, 0.73, 0.27, 270, 520, 24)]),
}

BANNER_WIDTH = 620
BANNER_HEIGHT = 80
BANNER_LEFT = (22, 58, 104)
BANNER_RIGHT = (70, 146, 176)


def banner_background(x, y):
    t = x / float(BANNER_WIDTH - 1)
    base = mix(BANNER_LEFT, BANNER_RIGHT, t)
    # A faint lighter band through the middle keeps the strip from looking flat.
    lift = 10 * math.exp(-((y - 34) / 26.0) ** 2)
    return tuple(min(255.0, c + lift) for c in base)


def banner_rows(text="Halvorkeep3"):
    em = 34.0
    stroke_width = 4.6
    left, cap = 26.0, 20.0
    strokes = []
    x = left
    for ch in text:
        advance, lines = GLYPHS[ch]
        glyph = [[(left_x + x, cap + v * em) for (left_x, v) in [(u * em, v) for (u, v) in line]] for line in lines]
        strokes.extend(glyph)
        x += advance * em + stroke_width + 0.2 * em
    half = stroke_width / 2.0
    x_min = int(left - half - 1)
    x_max = int(x + half + 1)
    rows = []
    for j in range(BANNER_HEIGHT):
        row = []
        cy = j + 0.5
        for i in range(BANNER_WIDTH):
            cx = i + 0.5
            colour = banner_background(cx, cy)
            if x_min <= i <= x_max and cap - half - 1 <= j <= cap + 1.3 * em + half + 1:
                d = min(polyline_distance(cx, cy, p) for p in strokes)
                coverage = max(0.0, min(1.0, half + 0.5 - d))
                if coverage > 0:
                    colour = mix(colour, WHITE, coverage)
            row.append(tuple(int(round(c)) for c in colour))
        rows.append(row)
    return rows


def image_magick():
    for candidate in ("/usr/bin/convert", shutil.which("convert")):
        if candidate and os.path.exists(candidate):
            try:
                version = subprocess.run([candidate, "-version"], capture_output=True, text=True).stdout
            except OSError:
                continue
            if "ImageMagick" in version:
                return candidate
    sys.exit("make-pictures: ImageMagick's convert is needed for banner.jpg (apt-get install imagemagick)")


def write_banner(path):
    convert = image_magick()
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "banner.ppm")
        with open(source, "wb") as f:
            f.write(ppm(banner_rows()))
        subprocess.run([convert, source, "-strip", "-quality", "90", "-sampling-factor", "2x2,1x1,1x1",
                        "-interlace", "none", path], check=True)


# ---------------------------------------------------------------------------------------

PICTURES = [
    ("folder.bmp", picture_folder),
    ("backupset.bmp", picture_backupset),
    ("wrong.bmp", picture_wrong),
    ("about.bmp", picture_about),
    ("info.bmp", picture_info),
    ("warning.bmp", picture_warning),
    ("error.bmp", picture_error),
    ("warning-sign.bmp", picture_warning_sign),
    ("error-sign.bmp", picture_error_sign),
    ("log.bmp", picture_log),
    ("close.bmp", picture_close),
    ("wait-background.bmp", picture_wait_background),
    ("about-background.bmp", picture_about_background),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "pictures")
    os.makedirs(out, exist_ok=True)
    for name, draw in PICTURES:
        with open(os.path.join(out, name), "wb") as f:
            f.write(bmp24(draw()))
    with open(os.path.join(out, "app.ico"), "wb") as f:
        f.write(ico([icon_image(16), icon_image(32), icon_image(48)]))
    write_banner(os.path.join(out, "banner.jpg"))


if __name__ == "__main__":
    main()

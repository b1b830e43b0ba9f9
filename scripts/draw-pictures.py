#!/usr/bin/env python3
"""Draws the program's pictures into res/: the expand and collapse arrows
(15 x 8, monochrome), the menu picture (39 x 17, 16 colours) and the icon
(16, 24, 32, 48 and 64 pixels square, 256 colours: the small and large icon
at 100 %, 150 % and 200 %). The program scales the arrows and the menu
picture for the screen's DPI itself. Standard library only; the output is
byte-for-byte the same on every run, so the files can be committed."""

import os
import struct

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")

# The 16 colours of the standard VGA palette, in their usual order.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, LIGHT_GRAY, GRAY, WHITE = 0, 4, 7, 8, 15


def row_bytes(width, bits):
    """Bytes of one pixel row, padded to a multiple of four."""
    return ((width * bits + 31) // 32) * 4


def pack_rows(pixels, width, bits):
    """Packs rows of palette indices bottom-up, as DIBs store them."""
    out = bytearray()
    stride = row_bytes(width, bits)
    per_byte = 8 // bits
    for row in reversed(pixels):
        packed = bytearray(stride)
        for x, index in enumerate(row):
            shift = 8 - bits * (x % per_byte + 1)
            packed[x // per_byte] |= index << shift
        out += packed
    return bytes(out)


def info_header(width, height, bits, colours, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size,
                       0, 0, colours, 0)


def palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)


def write_bmp(name, pixels, bits, palette):
    height, width = len(pixels), len(pixels[0])
    bits_data = pack_rows(pixels, width, bits)
    header = info_header(width, height, bits, len(palette), len(bits_data))
    table = palette_bytes(palette)
    offset = 14 + len(header) + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits_data), 0, 0, offset)
    with open(os.path.join(RES, name), "wb") as f:
        f.write(file_header + header + table + bits_data)


def triangle(pointing_down):
    """15 x 8: the top-left pixel stays background, because loading with
    LR_LOADTRANSPARENT turns the colour of that pixel into the button face."""
    rows = [[WHITE_BIT] * 15 for _ in range(8)]
    for step in range(7):  # seven rows, 13 pixels wide down to 1
        y = 1 + step if pointing_down else 6 - step
        for x in range(1 + step, 14 - step):
            rows[y][x] = BLACK_BIT
    return rows


BLACK_BIT, WHITE_BIT = 0, 1  # indices into the monochrome palette below

# "MD5" in a bold 9-pixel-high hand-made face.
GLYPHS = {
    "M": ["XX.....XX",
          "XXX...XXX",
          "XXXX.XXXX",
          "XX.XXX.XX",
          "XX..X..XX",
          "XX.....XX",
          "XX.....XX",
          "XX.....XX",
          "XX.....XX"],
    "D": ["XXXXXX..",
          "XX...XX.",
          "XX....XX",
          "XX....XX",
          "XX....XX",
          "XX....XX",
          "XX....XX",
          "XX...XX.",
          "XXXXXX.."],
    "5": ["XXXXXXX",
          "XX.....",
          "XX.....",
          "XXXXXX.",
          ".....XX",
          ".....XX",
          ".....XX",
          "XX...XX",
          ".XXXXX."],
}


def menu_picture():
    width, height, gap = 39, 17, 2
    rows = [[NAVY] * width for _ in range(height)]
    text_width = sum(len(GLYPHS[c][0]) for c in "MD5") + gap * 2
    x0, y0 = (width - text_width) // 2, (height - 9) // 2
    for c in "MD5":
        glyph = GLYPHS[c]
        for dy, line in enumerate(glyph):
            for dx, mark in enumerate(line):
                if mark == "X":
                    rows[y0 + dy][x0 + dx] = WHITE
        x0 += len(glyph[0]) + gap
    return rows


# Icon: a sheet of paper with text lines and a dark-blue badge holding a
# white check mark.
def inside_polygon(points, x, y):
    """Convex polygon, corners clockwise on screen."""
    for i in range(len(points)):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % len(points)]
        if (bx - ax) * (y - ay) - (by - ay) * (x - ax) < 0:
            return False
    return True


def near_segment(ax, ay, bx, by, x, y, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2


def icon_shape(geometry):
    g = geometry
    x0, y0, x1, y1, fold = g["paper"]
    outer = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    e = g.get("edge", 1)  # the paper's outline, in pixels
    inner = [(x0 + e, y0 + e), (x1 - fold - 0.4 * e, y0 + e), (x1 - e, y0 + fold + 0.4 * e),
             (x1 - e, y1 - e), (x0 + e, y1 - e)]
    flap = [(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)]
    cx, cy, radius = g["badge"]
    check = g["check"]

    def colour(x, y):
        """RGB at a point, or None outside the picture."""
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 <= radius ** 2:
            if (near_segment(*check[0], *check[1], x, y, g["stroke"])
                    or near_segment(*check[1], *check[2], x, y, g["stroke"])):
                return (255, 255, 255)
            return (0, 0, 128) if d2 <= (radius - 1) ** 2 else (0, 0, 64)
        if inside_polygon(outer, x, y):
            if inside_polygon(flap, x, y):
                return (192, 192, 192)
            if not inside_polygon(inner, x, y):
                return (96, 96, 96)
            for lx0, ly, lx1 in g["lines"]:
                if lx0 <= x < lx1 and ly <= y < ly + g["line_height"]:
                    return (128, 128, 128)
            return (255, 255, 255)
        return None

    return colour


ICON_32 = {"paper": (4, 1, 24, 29, 6), "badge": (22.5, 22.5, 8.5),
           "check": ((18, 22.5), (21.5, 26), (27, 19)), "stroke": 1.5,
           "lines": [(8, 8, 18), (8, 12, 21), (8, 16, 17), (8, 20, 14)], "line_height": 2}


def scaled_geometry(size):
    """The 32-pixel drawing at size pixels; text lines and the paper's edge
    stay whole pixels, so that they come out sharp."""
    if size == 32:
        return ICON_32
    f = size / 32.0
    g = ICON_32
    x0, y0, x1, y1, fold = g["paper"]
    cx, cy, radius = g["badge"]
    return {
        "paper": (round(x0 * f), round(y0 * f), round(x1 * f), round(y1 * f), round(fold * f)),
        "badge": (cx * f, cy * f, radius * f),
        "check": tuple((x * f, y * f) for x, y in g["check"]),
        "stroke": g["stroke"] * f,
        "lines": [(round(a * f), round(y * f), round(b * f)) for a, y, b in g["lines"]],
        "line_height": max(1, round(g["line_height"] * f)),
        "edge": max(1, round(f)),
    }


# At 16 x 16 smoothing only blurs; the small image is placed by hand.
ICON_16_COLOURS = {"k": (96, 96, 96), "w": (255, 255, 255), "l": (192, 192, 192),
                   "g": (128, 128, 128), "n": (0, 0, 128), "d": (0, 0, 64),
                   "W": (255, 255, 255)}
ICON_16_PAPER = [
    "..kkkkkkkk......",
    "..kwwwwwwkk.....",
    "..kwwwwwwklk....",
    "..kwwwwwwkkkk...",
    "..kwwwwwwwwwk...",
    "..kwggggggwwk...",
    "..kwwwwwwwwwk...",
    "..kwggggggwwk...",
    "..kwwwwwwwwwk...",
    "..kwgggwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kwwwwwwwwwk...",
    "..kkkkkkkkkkk...",
]
ICON_16_BADGE = [  # laid over the paper at (8, 8)
    "..dddd..",
    ".dnnnnd.",
    "dnnnnnWd",
    "dnnnnWWd",
    "dWnnWWnd",
    "dWWWWnnd",
    ".dWWnnd.",
    "..dddd..",
]


def icon_16_colours():
    rows = [[ICON_16_COLOURS.get(c) for c in line] for line in ICON_16_PAPER]
    for y, line in enumerate(ICON_16_BADGE):
        for x, c in enumerate(line):
            if c != ".":
                rows[8 + y][8 + x] = ICON_16_COLOURS[c]
    return rows


def icon_palette():
    """The 16 VGA colours, a 6 x 6 x 6 colour cube and grey steps: 256."""
    palette = list(VGA)
    palette += [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    grey = 8
    while len(palette) < 256:
        palette.append((grey, grey, grey))
        grey += 10
    return palette


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))


def icon_image(size, palette):
    """8-bit image: palette indices and a transparency mask (1 = transparent)."""
    if size == 16:
        rows = icon_16_colours()
        indices = [[0 if c is None else nearest(palette, c) for c in row] for row in rows]
        mask = [[1 if c is None else 0 for c in row] for row in rows]
        return indices, mask
    colour = icon_shape(scaled_geometry(size))
    samples = 4
    indices, mask = [], []
    for y in range(size):
        index_row, mask_row = [], []
        for x in range(size):
            hits = []
            for sy in range(samples):
                for sx in range(samples):
                    c = colour(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                    if c is not None:
                        hits.append(c)
            if len(hits) * 2 < samples * samples:
                index_row.append(0)
                mask_row.append(1)
            else:
                mean = tuple(sum(c[i] for c in hits) // len(hits) for i in range(3))
                index_row.append(nearest(palette, mean))
                mask_row.append(0)
        indices.append(index_row)
        mask.append(mask_row)
    return indices, mask


def write_icon(name, sizes):
    palette = icon_palette()
    images = []
    for size in sizes:
        indices, mask = icon_image(size, palette)
        xor_bits = pack_rows(indices, size, 8)
        and_bits = pack_rows(mask, size, 1)
        # An icon image's header counts both the colour and the mask rows.
        header = info_header(size, size * 2, 8, 256, len(xor_bits) + len(and_bits))
        images.append((size, header + palette_bytes(palette) + xor_bits + and_bits))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, blob in images:
        # Colour count 0 stands for 256 colours.
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(os.path.join(RES, name), "wb") as f:
        f.write(directory + entries + blobs)


def main():
    mono = [(0, 0, 0), (255, 255, 255)]
    write_bmp("expand.bmp", triangle(pointing_down=True), 1, mono)
    write_bmp("collapse.bmp", triangle(pointing_down=False), 1, mono)
    write_bmp("menu.bmp", menu_picture(), 4, VGA)
    write_icon("Calverin.ico", [16, 24, 32, 48, 64])


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws Korvex's resource artwork and writes it beside this script.

Writes the program icon, the link and splitter cursors, the three list
placeholder bitmaps (180 x 115, 1 bit per pixel) and the three small pictures
of the HTML page layouts (64 x 48, 16 colours). Standard library only, and
deterministic: running it again gives the same bytes.

    python3 res/make_artwork.py
"""

import os
import struct

OUT_DIR = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour VGA palette, in the order Windows uses it.
VGA = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


# ---------------------------------------------------------------------------
# Canvas: a grid of palette indices (None = transparent), top row first.

class Canvas:
    def __init__(self, width, height, fill=None):
        self.w = width
        self.h = height
        self.px = [[fill] * width for _ in range(height)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def fill_rect(self, x0, y0, x1, y1, c):
        """Fills the inclusive rectangle (x0, y0)-(x1, y1)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def hline(self, x0, x1, y, c):
        for x in range(x0, x1 + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(y0, y1 + 1):
            self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        """Bresenham line, both ends included."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disk(self, cx, cy, r, c):
        """Every pixel whose centre lies within r of (cx, cy)."""
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def thick_line(self, x0, y0, x1, y1, half, c):
        """Every pixel whose centre lies within half of the segment."""
        vx, vy = x1 - x0, y1 - y0
        length2 = vx * vx + vy * vy
        for y in range(self.h):
            for x in range(self.w):
                px, py = x + 0.5 - x0, y + 0.5 - y0
                t = max(0.0, min(1.0, (px * vx + py * vy) / length2))
                ex, ey = px - t * vx, py - t * vy
                if ex * ex + ey * ey <= half * half:
                    self.set(x, y, c)

    def outline(self, c, of=None):
        """Gives every transparent pixel touching a drawn one (8 ways) colour c."""
        marks = []
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y][x] is not None:
                    continue
                for dy in (-1, 0, 1):
                    for dx in (-1, 0, 1):
                        nx, ny = x + dx, y + dy
                        if 0 <= nx < self.w and 0 <= ny < self.h:
                            v = self.px[ny][nx]
                            if v is not None and (of is None or v == of):
                                marks.append((x, y))
        for x, y in marks:
            self.px[y][x] = c


# ---------------------------------------------------------------------------
# A small proportional pixel font: 7 rows above the baseline, 2 below.

GLYPHS = {
    "N": ["#...#", "##..#", "#.#.#", "#.#.#", "#.#.#", "#..##", "#...#"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "S": [".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "t": [".#..", ".#..", "###.", ".#..", ".#..", ".#..", "..##"],
    "!": ["#", "#", "#", "#", "#", ".", "#"],
    " ": ["..", ".", ".", ".", ".", ".", "."],
}
CAP_ROWS = 7
DESCENT_ROWS = 2


def glyph_width(ch):
    return len(GLYPHS[ch][0])


def letter_gap(scale):
    """Pixels between letters: a little under one font unit keeps words together."""
    return max(1, scale - 1)


def text_width(text, scale):
    glyphs = sum(glyph_width(ch) for ch in text) * scale
    return glyphs + max(0, len(text) - 1) * letter_gap(scale)


def draw_text(canvas, text, left, top, scale, c):
    x = left
    for ch in text:
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    canvas.fill_rect(x + col * scale, top + row * scale,
                                     x + (col + 1) * scale - 1, top + (row + 1) * scale - 1, c)
        x += glyph_width(ch) * scale + letter_gap(scale)


def placeholder(lines):
    """180 x 115, black lines of text on white, centred on the capital height."""
    w, h, scale = 180, 115, 3
    cv = Canvas(w, h, 1)
    cv.frame(0, 0, w - 1, h - 1, 0)
    leading = (CAP_ROWS + DESCENT_ROWS + 2) * scale
    block = (len(lines) - 1) * leading + CAP_ROWS * scale
    top = (h - block) // 2
    for i, line in enumerate(lines):
        width = text_width(line, scale)
        assert width <= w - 16, line
        draw_text(cv, line, (w - width) // 2, top + i * leading, scale, 0)
    return cv


# ---------------------------------------------------------------------------
# The HTML layout pictures: a browser page in miniature.

def page(w, h):
    cv = Canvas(w, h, WHITE)
    cv.frame(0, 0, w - 1, h - 1, GRAY)
    return cv


def thumb(cv, x0, y0, x1, y1):
    """A framed thumbnail with a tiny part drawing in it."""
    cv.fill_rect(x0, y0, x1, y1, WHITE)
    cv.frame(x0, y0, x1, y1, BLACK)
    iw, ih = x1 - x0, y1 - y0
    # An outline of a part with a hole in it.
    px0, py0 = x0 + max(2, iw // 5), y0 + max(2, ih // 4)
    px1, py1 = x1 - max(2, iw // 5), y1 - max(2, ih // 4)
    cv.frame(px0, py0, px1, py1, BLUE)
    cx, cy = (px0 + px1) // 2, (py0 + py1) // 2
    if px1 - px0 >= 6 and py1 - py0 >= 4:
        cv.frame(cx - 1, cy - 1, cx + 1, cy + 1, RED)
    else:
        cv.set(cx, cy, RED)


def text_line(cv, x0, x1, y, c=GRAY):
    cv.hline(x0, x1, y, c)


def html_table():
    cv = page(64, 48)
    # Title line of the page.
    text_line(cv, 3, 30, 3, NAVY)
    # The table: a header row and three rows, thumbnail cell then text cells.
    tx0, tx1 = 3, 60
    cv.fill_rect(tx0, 6, tx1, 9, NAVY)
    for x0, x1 in ((5, 13), (22, 31), (37, 45), (50, 57)):
        text_line(cv, x0, x1, 7, WHITE)
    row_top = 10
    for r in range(3):
        y0, y1 = row_top + r * 12, row_top + r * 12 + 12
        cv.frame(tx0, y0, tx1, y1, SILVER)
        cv.vline(20, y0, y1, SILVER)
        cv.vline(35, y0, y1, SILVER)
        cv.vline(48, y0, y1, SILVER)
        thumb(cv, 5, y0 + 2, 18, y1 - 2)
        text_line(cv, 22, 33 - r * 2, y0 + 4, BLACK)
        text_line(cv, 22, 30, y0 + 7)
        text_line(cv, 37, 44, y0 + 4)
        text_line(cv, 50, 57 - r, y0 + 4)
        text_line(cv, 50, 55, y0 + 7)
    return cv


def html_grid(per_row):
    cv = page(64, 48)
    text_line(cv, 3, 30, 3, NAVY)
    left, right, top = 3, 60, 6
    gap = 2
    cell_w = (right - left + 1 - gap * (per_row - 1)) // per_row
    used = cell_w * per_row + gap * (per_row - 1)
    left += (right - left + 1 - used) // 2
    rows = 2
    cell_h = (47 - 2 - top - gap * (rows - 1)) // rows
    for r in range(rows):
        for c in range(per_row):
            x0 = left + c * (cell_w + gap)
            y0 = top + r * (cell_h + gap)
            x1, y1 = x0 + cell_w - 1, y0 + cell_h - 1
            cv.frame(x0, y0, x1, y1, SILVER)
            thumb(cv, x0 + 2, y0 + 2, x1 - 2, y1 - 6)
            text_line(cv, x0 + 2, x1 - 2 - (c + r) % 3, y1 - 3, BLACK)
    return cv


# ---------------------------------------------------------------------------
# The program icon: a drawing sheet under a magnifier.

# Letters of the pixel pictures below; '.' is transparent.
ART_COLOURS = {
    "K": BLACK, "M": MAROON, "N": NAVY, "S": SILVER, "G": GRAY, "R": RED,
    "B": BLUE, "A": AQUA, "W": WHITE, ".": None,
}

BORE = [
    "..BBB..",
    ".B...B.",
    "B.....B",
    "B.....B",
    "B.....B",
    ".B...B.",
    "..BBB..",
]

ICON_16 = [
    ".KKKKKKKK.......",
    ".KWWWWWWKK......",
    ".KWNNNNWKSK.....",
    ".KWWWWWWKKKK....",
    ".KWGGGWWWWWK....",
    ".KWWWWWWWWWK....",
    ".KWBBBBBBWWK....",
    ".KWBWWWWKKKK....",
    ".KWBWRWKAAAAK...",
    ".KWBRRKAWWAAAK..",
    ".KWBWRKAWAAAAK..",
    ".KWBWWKAAAAAAK..",
    ".KWBBBKAAAAAAK..",
    ".KWWWWWKAAAAKK..",
    ".KWGGGGGKKKKKMK.",
    ".KKKKKKKKK...KMK",
]


def stamp(cv, x0, y0, rows):
    """Draws a pixel picture; transparent letters leave the canvas as it is."""
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch != ".":
                cv.set(x0 + x, y0 + y, ART_COLOURS[ch])


def icon_image(size):
    cv = Canvas(size, size, None)
    if size == 16:
        stamp(cv, 0, 0, ICON_16)
        return cv
    # The sheet with a folded top-right corner.
    sx0, sy0, sx1, sy1, ear = 3, 1, 23, 29, 6
    cv.fill_rect(sx0, sy0, sx1, sy1, WHITE)
    for i in range(ear):
        cv.hline(sx1 - ear + 1 + i, sx1, sy0 + i, None)
    cv.hline(sx0, sx1 - ear, sy0, BLACK)
    cv.hline(sx0, sx1, sy1, BLACK)
    cv.vline(sx0, sy0, sy1, BLACK)
    cv.vline(sx1, sy0 + ear, sy1, BLACK)
    cv.line(sx1 - ear, sy0, sx1, sy0 + ear, BLACK)
    cv.vline(sx1 - ear, sy0, sy0 + ear, GRAY)
    cv.hline(sx1 - ear, sx1, sy0 + ear, GRAY)
    for i in range(1, ear):
        cv.hline(sx1 - ear + 1, sx1 - ear + i, sy0 + i, SILVER)
    # The drawing on the sheet: title lines, a part outline with a bore and its centre lines.
    cv.hline(6, 11, 4, NAVY)
    cv.hline(6, 9, 6, GRAY)
    cv.frame(6, 10, 17, 23, BLUE)
    stamp(cv, 8, 13, BORE)
    cv.hline(10, 12, 16, RED)
    cv.vline(11, 15, 17, RED)
    cv.hline(4, 5, 16, RED)
    cv.vline(11, 11, 12, RED)
    cv.vline(11, 20, 21, RED)
    cv.hline(6, 17, 26, GRAY)
    cv.set(6, 25, GRAY)
    cv.set(17, 25, GRAY)
    # The magnifier: handle, then the lens with the part's corner enlarged, then the rim.
    lx, ly, lr = 21.0, 19.0, 7.0
    cv.thick_line(25.5, 23.5, 29.5, 27.5, 2.3, BLACK)
    cv.thick_line(25.8, 23.8, 29.0, 27.0, 1.1, MAROON)
    cv.disk(lx, ly, lr - 1.2, AQUA)
    cv.thick_line(16.5, 22.5, 23.0, 22.5, 0.9, BLUE)
    cv.thick_line(16.0, 22.0, 16.0, 16.0, 0.9, BLUE)
    cv.fill_rect(18, 15, 19, 16, WHITE)
    cv.set(20, 15, WHITE)
    cv.set(18, 17, WHITE)
    for y in range(size):
        for x in range(size):
            d2 = (x + 0.5 - lx) ** 2 + (y + 0.5 - ly) ** 2
            if (lr - 2.2) ** 2 < d2 <= (lr - 1.2) ** 2:
                cv.set(x, y, GRAY)
            elif (lr - 1.2) ** 2 < d2 <= lr ** 2:
                cv.set(x, y, BLACK)
    return cv


# ---------------------------------------------------------------------------
# Cursors. '.' transparent, '#' black, 'o' white.

HAND = [
    ".....##..........",
    "....#oo#.........",
    "....#oo#.........",
    "....#oo#.........",
    "....#oo###.......",
    "....#oo#oo###....",
    "....#oo#oo#oo###.",
    "....#oo#oo#oo#oo#",
    ".##.#oo#oo#oo#oo#",
    "#oo##oo#oo#oo#oo#",
    "#ooo#ooooooooooo#",
    ".#oo#ooooooooooo#",
    ".#oooooooooooooo#",
    "..#ooooooooooooo#",
    "..#ooooooooooooo#",
    "...#oooooooooooo#",
    "...#ooooooooooo#",
    "....#oooooooooo#",
    "....#oooooooooo#",
    "....############",
]
HAND_HOTSPOT = (5, 0)


def hand_cursor():
    cv = Canvas(32, 32, None)
    for y, row in enumerate(HAND):
        for x, ch in enumerate(row):
            if ch == "#":
                cv.set(x, y, 0)
            elif ch == "o":
                cv.set(x, y, 1)
    return cv


def splitter_cursor():
    """A vertical bar with arrows to the left and right, outlined in white."""
    cv = Canvas(32, 32, None)
    for x in (15, 16):
        cv.vline(x, 6, 25, 0)
    for side in (0, 1):
        def put(x, y):
            cv.set(x if side == 0 else 31 - x, y, 0)
        for x in range(7, 14):
            put(x, 15)
            put(x, 16)
        for dx in range(5):
            for y in range(15 - dx, 17 + dx):
                put(3 + dx, y)
    cv.outline(1, of=0)
    return cv


SPLITTER_HOTSPOT = (15, 15)


# ---------------------------------------------------------------------------
# File writers.

def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def pack_rows(cv, bits, value_of):
    """Bottom-up rows of bits-per-pixel indices, each padded to 4 bytes."""
    out = bytearray()
    per_byte = 8 // bits
    stride = ((cv.w * bits + 31) // 32) * 4
    for y in range(cv.h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(cv.w):
            v = value_of(cv.get(x, y)) & ((1 << bits) - 1)
            shift = 8 - bits * (x % per_byte + 1)
            row[x // per_byte] |= v << shift
        out += row
    return bytes(out)


def info_header(w, h, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, image_size, 0, 0, colours, 0)


def bmp_file(cv, bits, colours):
    pixels = pack_rows(cv, bits, lambda v: v)
    pal = palette_bytes(colours)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info_header(cv.w, cv.h, bits, len(pixels), len(colours)) + pal + pixels


def icon_entry_image(cv, bits, colours, xor_value, and_value):
    """The image of one icon or cursor directory entry: header, palette, XOR and AND masks."""
    xor = pack_rows(cv, bits, xor_value)
    mask = pack_rows(cv, 1, and_value)
    header = info_header(cv.w, cv.h * 2, bits, len(xor) + len(mask), 0)
    return header + palette_bytes(colours) + xor + mask


def directory_file(kind, entries):
    """An .ico (kind 1) or .cur (kind 2) file; entries are (canvas, colour count, a, b, image)
    where a, b are planes and bit count for icons and the hotspot for cursors."""
    out = bytearray(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for cv, ncolours, a, b, image in entries:
        out += struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, ncolours % 256, 0, a, b,
                           len(image), offset)
        offset += len(image)
    for entry in entries:
        out += entry[4]
    return bytes(out)


def ico_file(images):
    entries = []
    for cv in images:
        image = icon_entry_image(cv, 4, VGA,
                                 lambda v: 0 if v is None else v,
                                 lambda v: 1 if v is None else 0)
        entries.append((cv, 16, 1, 4, image))
    return directory_file(1, entries)


def cur_file(cv, hotspot):
    # XOR 0 / AND 0 is black, XOR 1 / AND 0 is white, AND 1 leaves the screen.
    image = icon_entry_image(cv, 1, [(0, 0, 0), (255, 255, 255)],
                             lambda v: 0 if v is None else v,
                             lambda v: 1 if v is None else 0)
    return directory_file(2, [(cv, 2, hotspot[0], hotspot[1], image)])


def write(name, data):
    with open(os.path.join(OUT_DIR, name), "wb") as f:
        f.write(data)


def main():
    mono = [(0, 0, 0), (255, 255, 255)]
    write("no_preview.bmp", bmp_file(placeholder(["No Preview!"]), 1, mono))
    write("preview_not_found.bmp", bmp_file(placeholder(["Preview", "Not Found"]), 1, mono))
    write("preview_not_supported.bmp", bmp_file(placeholder(["Preview", "Not", "Supported"]), 1, mono))
    write("html_table.bmp", bmp_file(html_table(), 4, VGA))
    write("html_grid4.bmp", bmp_file(html_grid(4), 4, VGA))
    write("html_grid3.bmp", bmp_file(html_grid(3), 4, VGA))
    write("korvex.ico", ico_file([icon_image(32), icon_image(16)]))
    write("hand.cur", cur_file(hand_cursor(), HAND_HOTSPOT))
    write("splitter.cur", cur_file(splitter_cursor(), SPLITTER_HOTSPOT))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws all of Huebrick's artwork and writes it as Windows resources.

    python3 tools/artgen.py [OUTPUT_DIR]

OUTPUT_DIR defaults to res/ beside this tools/ folder. Writes:

    skin.bmp   the built-in skin (face on the left, pressed buttons on the right)
    about.bmp  the picture of the about box
    app.ico    the program icon (32x32 true colour, 16x16 256 colours; 20, 24, 40 and 48
               pixels as PNG with hard-edged discs, which pack small, for scaled displays)
    tray.ico   the notification-area icon, with a lighter rim (16x16 256 colours; 20 to 48
               pixels as PNG like the program icon)

Everything is drawn here, pixel by pixel, with the Python standard library
only, so the art can be changed and rebuilt on any machine. The output is
deterministic: only integer arithmetic and fixed supersampling grids are used,
and palettes are sorted, so running it twice gives byte-identical files.

Light comes from the top left everywhere: raised things get a light top/left
edge and a dark bottom/right edge, recessed things the opposite.
"""

import os
import struct
import sys
import zlib

import bmp

MAGENTA = (255, 0, 255)

# ---------------------------------------------------------------------------
# Skin geometry. The window code hit-tests and blits with exactly these
# rectangles (left, top, right, bottom; right and bottom exclusive), so they
# are the single source for the drawing below and for tools/check_art.py.
# ---------------------------------------------------------------------------

SKIN_W, SKIN_H = 166, 132
FACE_W = 83                # the face is x 0..82; pressed pictures sit 83 px right
PRESSED_DX = 83

BTN_SNAP = (6, 5, 19, 15)
BTN_TOPMOST = (22, 5, 35, 15)
BTN_MINIMIZE = (48, 5, 61, 15)
BTN_CLOSE = (64, 5, 77, 15)

DISPLAY_TOP = (18, 20, 65, 40)
DISPLAY_BOTTOM = (18, 40, 65, 60)
DISPLAY = (18, 20, 65, 60)

RED_LESS, RED_FIELD, RED_MORE = (18, 69, 28, 80), (27, 69, 54, 80), (55, 69, 65, 80)
GREEN_LESS, GREEN_FIELD, GREEN_MORE = (18, 81, 28, 92), (27, 81, 54, 92), (55, 81, 65, 92)
BLUE_LESS, BLUE_FIELD, BLUE_MORE = (18, 93, 28, 104), (27, 93, 54, 104), (55, 93, 65, 104)

WHITE_LESS = (5, 111, 15, 122)
WHITE_MORE = (68, 111, 78, 122)
HEX_FIELDS = ((17, 112, 33, 121), (33, 112, 49, 121), (49, 112, 65, 121))

# The program draws the numbers itself in these colours; they are stored in
# the skin's top row (right half) so that other skins can change them.
TEXT_COLOURS = (
    ((83, 0), (93, 89, 90)),      # hex digits of the white row
    ((84, 0), (255, 43, 35)),     # red value
    ((85, 0), (0, 146, 0)),       # green value
    ((86, 0), (0, 71, 255)),      # blue value
)

PUSH_BUTTONS = (
    BTN_SNAP, BTN_TOPMOST, BTN_MINIMIZE, BTN_CLOSE,
    RED_LESS, RED_MORE, GREEN_LESS, GREEN_MORE, BLUE_LESS, BLUE_MORE,
    WHITE_LESS, WHITE_MORE,
)

CONTROL_RECTS = PUSH_BUTTONS + (
    DISPLAY_TOP, DISPLAY_BOTTOM, RED_FIELD, GREEN_FIELD, BLUE_FIELD,
) + HEX_FIELDS


def pressed_rect(r):
    return (r[0] + PRESSED_DX, r[1], r[2] + PRESSED_DX, r[3])


def notch_columns(y):
    """Face columns that are see-through in row y (the two side grips)."""
    if y in (20, 67, 68):
        return (0, FACE_W - 1)
    if 21 <= y <= 66:
        return (0, 1, FACE_W - 2, FACE_W - 1)
    return ()


ABOUT_W, ABOUT_H = 228, 118
ABOUT_MAIL_RECT = (86, 52, 203, 64)
ABOUT_AIM_RECT = (86, 64, 127, 76)
ABOUT_MAIL = "huebrick@example.org"
ABOUT_AIM = "Huebrick"

# ---------------------------------------------------------------------------
# Colour helpers
# ---------------------------------------------------------------------------


def mix(a, b, num, den=256):
    """a blended toward b by num/den, rounded to the nearest integer."""
    return tuple((x * (den - num) + y * num + den // 2) // den for x, y in zip(a, b))


# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0), alpha=False):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]
        # Alpha is only tracked for the true-colour icon (0..255).
        self.a = [[255 if not alpha else 0] * w for _ in range(h)] if alpha else None

    def copy(self):
        c = Canvas(self.w, self.h)
        c.px = [row[:] for row in self.px]
        if self.a is not None:
            c.a = [row[:] for row in self.a]
        return c

    def inside(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h

    def get(self, x, y):
        return self.px[y][x]

    def set(self, x, y, c, a=255):
        if self.inside(x, y):
            self.px[y][x] = c
            if self.a is not None:
                self.a[y][x] = a

    def blend(self, x, y, c, num, den=256):
        if self.inside(x, y) and num > 0:
            if num >= den:
                self.set(x, y, c)
            else:
                self.px[y][x] = mix(self.px[y][x], c, num, den)

    def fill(self, rect, c):
        x0, y0, x1, y1 = rect
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c
            if self.a is not None:
                for x in range(max(0, x0), min(self.w, x1)):
                    self.a[y][x] = 255

    def hline(self, x0, x1, y, c):
        """Inclusive on both ends."""
        for x in range(x0, x1 + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(y0, y1 + 1):
            self.set(x, y, c)

    def vgradient(self, rect, top, bottom):
        x0, y0, x1, y1 = rect
        n = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            c = mix(top, bottom, (y - y0) * 256 // n)
            for x in range(x0, x1):
                self.set(x, y, c)

    def blit(self, src, rect, dx, dy):
        x0, y0, x1, y1 = rect
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x + dx, y + dy, src.px[y][x])


# ---------------------------------------------------------------------------
# Fonts. Hand-made bitmap glyphs: '#' ink, '.' paper. Every glyph of a font
# has the same number of rows; the baseline is the row given per font.
# ---------------------------------------------------------------------------

# Regular text face: cap height 7, x-height 5, descenders 2 (9 rows).
FONT_SMALL_BASE = 6
FONT_SMALL = {
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", ".....", "....."],
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", ".....", "....."],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#", ".....", "....."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#", ".....", "....."],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###", "...", "..."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#", ".....", "....."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###.", ".....", "....."],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####.", ".....", "....."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#", ".....", "....."],
    "a": ["....", "....", ".##.", "...#", ".###", "#..#", ".###", "....", "...."],
    "b": ["#...", "#...", "###.", "#..#", "#..#", "#..#", "###.", "....", "...."],
    "c": ["....", "....", ".###", "#...", "#...", "#...", ".###", "....", "...."],
    "d": ["...#", "...#", ".###", "#..#", "#..#", "#..#", ".###", "....", "...."],
    "e": ["....", "....", ".##.", "#..#", "####", "#...", ".###", "....", "...."],
    "g": ["....", "....", ".###", "#..#", "#..#", "#..#", ".###", "...#", ".##."],
    "h": ["#...", "#...", "###.", "#..#", "#..#", "#..#", "#..#", "....", "...."],
    "i": ["#", ".", "#", "#", "#", "#", "#", ".", "."],
    "k": ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#", "....", "...."],
    "l": ["#.", "#.", "#.", "#.", "#.", "#.", ".#", "..", ".."],
    "m": [".....", ".....", "####.", "#.#.#", "#.#.#", "#.#.#", "#.#.#", ".....", "....."],
    "n": ["....", "....", "###.", "#..#", "#..#", "#..#", "#..#", "....", "...."],
    "o": ["....", "....", ".##.", "#..#", "#..#", "#..#", ".##.", "....", "...."],
    "p": ["....", "....", "###.", "#..#", "#..#", "#..#", "###.", "#...", "#..."],
    "r": ["...", "...", "#.#", "##.", "#..", "#..", "#..", "...", "..."],
    "s": ["....", "....", ".###", "#...", ".##.", "...#", "###.", "....", "...."],
    "t": [".#.", ".#.", "###", ".#.", ".#.", ".#.", "..#", "...", "..."],
    "u": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###", "....", "...."],
    "v": [".....", ".....", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", ".....", "....."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", ".....", "....."],
    "y": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###", "...#", ".##."],
    "0": [".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##.", "....", "...."],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###", "...", "..."],
    ".": ["", "", "", "", "", "", "#", "", ""],
    ":": ["", "", "", "#", "", "", "#", "", ""],
    "-": ["", "", "", "", "###", "", "", "", ""],
    "&": [".##..", "#..#.", "#.#..", ".#...", "#.#.#", "#..#.", ".##.#", ".....", "....."],
    "@": [".###.", "#...#", "#.###", "#.#.#", "#.###", "#....", ".###.", ".....", "....."],
    " ": ["..", "", "", "", "", "", "", "", ""],
}

# Tiny capitals for the name engraved under the controls.
FONT_TINY_BASE = 4
FONT_TINY = {
    "H": ["#.#", "#.#", "###", "#.#", "#.#"],
    "U": ["#.#", "#.#", "#.#", "#.#", "###"],
    "E": ["###", "#..", "##.", "#..", "###"],
    "B": ["##.", "#.#", "##.", "#.#", "##."],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "I": ["#", "#", "#", "#", "#"],
    "C": [".##", "#..", "#..", "#..", ".##"],
    "K": ["#.#", "#.#", "##.", "#.#", "#.#"],
}

# Title face for the about box: bold, cap height 10, x-height 7.
FONT_BOLD_BASE = 9
FONT_BOLD = {
    "H": ["##...##", "##...##", "##...##", "##...##", "#######",
          "#######", "##...##", "##...##", "##...##", "##...##"],
    "u": ["......", "......", "......", "##..##", "##..##", "##..##",
          "##..##", "##..##", "##.###", ".##.##"],
    "e": ["......", "......", "......", ".####.", "##..##", "##..##",
          "######", "##....", "##...#", ".####."],
    "b": ["##....", "##....", "##....", "#####.", "##..##", "##..##",
          "##..##", "##..##", "##..##", "#####."],
    "r": [".....", ".....", ".....", "##.##", "#####", "###..",
          "##...", "##...", "##...", "##..."],
    "i": ["##", "##", "..", "##", "##", "##", "##", "##", "##", "##"],
    "c": [".....", ".....", ".....", ".####", "##...", "##...",
          "##...", "##...", "##...", ".####"],
    "k": ["##....", "##....", "##....", "##..##", "##.##.", "####..",
          "###...", "####..", "##.##.", "##..##"],
}


def glyph_width(font, ch):
    return max(len(r) for r in font[ch])


def text_width(font, text, spacing=1):
    if not text:
        return 0
    return sum(glyph_width(font, ch) for ch in text) + spacing * (len(text) - 1)


def draw_text(cv, font, base, x, y_base, text, colour, spacing=1, shadow=None):
    """Draws text with its baseline on row y_base; returns the end x."""
    if shadow is not None:
        sc, sdx, sdy = shadow
        draw_text(cv, font, base, x + sdx, y_base + sdy, text, sc, spacing)
    for ch in text:
        g = font[ch]
        for r, row in enumerate(g):
            for c, v in enumerate(row):
                if v == "#":
                    cv.set(x + c, y_base - base + r, colour)
        x += glyph_width(font, ch) + spacing
    return x - spacing


# ---------------------------------------------------------------------------
# Shapes
# ---------------------------------------------------------------------------

SS = 4  # supersampling grid per axis for anti-aliased shapes


def rrect_cover(rect, r, x, y):
    """Subsamples (out of SS*SS) of pixel (x, y) inside the rounded rectangle
    rect (exclusive right/bottom) with corner radius r, all in whole pixels."""
    x0, y0, x1, y1 = rect
    n = 0
    for sy in range(SS):
        py = y * 2 * SS + 2 * sy + 1          # in 1/(2*SS) px units
        for sx in range(SS):
            px = x * 2 * SS + 2 * sx + 1
            # clamp to the inner rectangle the corners are rounded around
            cx = min(max(px, (x0 + r) * 2 * SS), (x1 - r) * 2 * SS)
            cy = min(max(py, (y0 + r) * 2 * SS), (y1 - r) * 2 * SS)
            dx, dy = px - cx, py - cy
            if (x0 * 2 * SS <= px < x1 * 2 * SS and y0 * 2 * SS <= py < y1 * 2 * SS
                    and dx * dx + dy * dy <= (r * 2 * SS) ** 2):
                n += 1
    return n


def draw_tile(cv, rect, r, top, bottom, rim, light, dark, use_alpha=False):
    """A rounded, bevelled slab of the skin's graphite: an outline (rim), a
    lit upper edge and a shaded lower edge, drawn anti-aliased over whatever
    is on the canvas (or into the alpha channel for true-colour icons)."""
    x0, y0, x1, y1 = rect
    full = SS * SS
    inner1 = (x0 + 1, y0 + 1, x1 - 1, y1 - 1)
    inner2 = (x0 + 2, y0 + 2, x1 - 2, y1 - 2)
    h = y1 - y0
    steps = max(2, min(h, 8))      # a few even bands keep palettes small
    for y in range(y0, y1):
        body = mix(top, bottom, ((y - y0) * steps // h) * 256 // (steps - 1))
        for x in range(x0, x1):
            c0 = rrect_cover(rect, r, x, y)
            if c0 == 0:
                continue
            c1 = rrect_cover(inner1, max(0, r - 1), x, y)
            c2 = rrect_cover(inner2, max(0, r - 2), x, y)
            # colour: rim outside inner1, bevel between inner1 and inner2
            upper = (y - y0) * 2 < h
            bevel = light if upper else dark
            col = mix(mix(rim, bevel, (c1 * 4 // full) * 64), body, (c2 * 4 // full) * 64)
            if use_alpha:
                a_old = cv.a[y][x]
                if a_old == 0:
                    cv.set(x, y, col, c0 * 255 // full)
                else:
                    cv.px[y][x] = mix(cv.px[y][x], col, c0 * 256 // full)
                    cv.a[y][x] = max(a_old, c0 * 255 // full)
            else:
                cv.blend(x, y, col, (c0 * 4 // full) * 64)


# The mixing motif: three overlapping discs that add up like light does.
# Each overlap gets a hand-picked colour so that the middle reads as white and
# none of them hits the skin's transparency key.
LIGHT_MIX = {
    0b001: (236, 56, 60),     # red
    0b010: (56, 196, 92),     # green
    0b100: (52, 112, 240),    # blue
    0b011: (255, 212, 64),    # red + green = yellow
    0b101: (214, 76, 224),    # red + blue = violet (never pure key magenta)
    0b110: (60, 210, 228),    # green + blue = cyan
    0b111: (255, 255, 255),   # all three = white
}


def draw_light_discs(cv, cx4, cy4, r4, spread4, coarse=False, hard=False, clip=None):
    """Draws the three discs grouped around (cx4, cy4); all sizes in quarter
    pixels. Edges are anti-aliased against what is already on the canvas.

    coarse rounds edge colours to steps of 8, which keeps 8-bit palettes
    small; hard gives every pixel the one colour covering most of it, for
    icons that cannot be partly transparent or must stay crisp."""
    # red top-left, green top-right, blue below: a near-equilateral triangle
    dx = spread4
    dy_top = spread4 * 58 // 100
    dy_bot = spread4 * 115 // 100
    centres = [(cx4 - dx, cy4 - dy_top), (cx4 + dx, cy4 - dy_top), (cx4, cy4 + dy_bot)]
    x0 = (cx4 - dx - r4) // 4 - 1
    x1 = (cx4 + dx + r4) // 4 + 2
    y0 = (cy4 - dy_top - r4) // 4 - 1
    y1 = (cy4 + dy_bot + r4) // 4 + 2
    n = SS * SS
    rr = (r4 * SS) ** 2
    for y in range(y0, y1):
        for x in range(x0, x1):
            if clip is not None and not (clip[0] <= x < clip[2] and clip[1] <= y < clip[3]):
                continue
            if not cv.inside(x, y):
                continue
            counts = {}
            for sy in range(SS):
                py = y * 4 * SS + (2 * sy + 1) * 2
                for sx in range(SS):
                    px = x * 4 * SS + (2 * sx + 1) * 2
                    key = 0
                    for i, (ccx, ccy) in enumerate(centres):
                        ddx = px - ccx * SS
                        ddy = py - ccy * SS
                        if ddx * ddx + ddy * ddy <= rr:
                            key |= 1 << i
                    counts[key] = counts.get(key, 0) + 1
            if counts.get(0, 0) == n:
                continue
            if hard:
                key = max(sorted(counts), key=lambda k: counts[k])
                if key:
                    cv.set(x, y, LIGHT_MIX[key])
                continue
            under = cv.get(x, y)
            acc = [0, 0, 0]
            for key, k in counts.items():
                col = LIGHT_MIX[key] if key else under
                for j in range(3):
                    acc[j] += col[j] * k
            c = tuple((v + n // 2) // n for v in acc)
            if coarse:
                c = tuple((v // 8) * 8 + 4 if 0 < v < 252 else v for v in c)
            cv.px[y][x] = c


def draw_glyph(cv, x, y, rows, colours):
    """rows: strings; each non-'.' character indexes into colours."""
    for r, row in enumerate(rows):
        for c, v in enumerate(row):
            if v != "." and v != " ":
                cv.set(x + c, y + r, colours[v])


# ---------------------------------------------------------------------------
# The skin
# ---------------------------------------------------------------------------

# Body: dark graphite with a gentle top-to-bottom fall-off.
BODY_TOP = (84, 90, 101)
BODY_BOTTOM = (58, 62, 71)
OUTLINE = (22, 24, 29)
BODY_LIGHT = (120, 127, 139)     # bevel catching the light (top/left)
BODY_DARK = (40, 43, 50)         # bevel in shadow (bottom/right)
BODY_SIDE_LIGHT = (98, 104, 116)
BODY_SIDE_DARK = (48, 51, 59)

KEY_TOP = (134, 141, 153)
KEY_BOTTOM = (102, 108, 120)
KEY_LIGHT = (170, 176, 187)
KEY_DARK = (78, 83, 94)
KEY_OUTLINE = (26, 28, 33)
KEY_INK = (240, 242, 246)

PRESS_FACE = (70, 75, 85)
PRESS_DARK = (44, 47, 54)
PRESS_LIGHT = (88, 94, 105)
PRESS_INK = (214, 218, 225)

LIT_FACE = (66, 66, 74)
LIT_RED = (255, 84, 64)
LIT_SILVER = (226, 230, 236)

RED_TINT = (255, 232, 230)
GREEN_TINT = (226, 246, 224)
BLUE_TINT = (228, 236, 255)
HEX_TINT = (226, 228, 232)

# Key glyphs are bold (two-pixel strokes) so they stay readable at this size
# and have an exact centre on the even-width keys.
GLYPH_MINUS = ["......", "......", "######", "######", "......", "......"]
GLYPH_PLUS = ["..##..", "..##..", "######", "######", "..##..", "..##.."]
GLYPH_MINIMIZE = [".......", ".......", ".......", ".......", "#######", "#######"]
GLYPH_CLOSE = ["##...##", ".##.##.", "..###..", "..###..", ".##.##.", "##...##"]
GLYPH_PIN = [".###.", ".###.", ".###.", "#####", "..+..", "..+.."]
GLYPH_MAGNET = [".#####.", "###.###", "##...##", "##...##", "##...##", "++...++"]


def body_colour(y):
    # 14 even steps: smooth to the eye, cheap on the 8-bit palette
    return mix(BODY_TOP, BODY_BOTTOM, (y * 14 // SKIN_H) * 256 // 13)


def draw_body(cv):
    # Each row runs between the outline columns, which step inward where the
    # side grips are cut out.
    for y in range(SKIN_H):
        notch = notch_columns(y)
        left = 0
        while left in notch:
            left += 1
        right = FACE_W - 1
        while right in notch:
            right -= 1
        for x in range(FACE_W):
            if x < left or x > right:
                cv.set(x, y, MAGENTA)
            else:
                cv.set(x, y, body_colour(y))
        if y == 0 or y == SKIN_H - 1:
            cv.hline(left, right, y, OUTLINE)
        else:
            cv.set(left, y, OUTLINE)
            cv.set(right, y, OUTLINE)
    # inner bevel: light along the top and left, dark along the bottom and right
    cv.hline(1, FACE_W - 2, 1, BODY_LIGHT)
    cv.hline(1, FACE_W - 2, SKIN_H - 2, BODY_DARK)
    for y in range(1, SKIN_H - 1):
        notch = notch_columns(y)
        left = 0
        while left in notch:
            left += 1
        right = FACE_W - 1
        while right in notch:
            right -= 1
        if y != SKIN_H - 2:
            cv.set(left + 1, y, BODY_SIDE_LIGHT)
        if y != 1:
            cv.set(right - 1, y, BODY_SIDE_DARK)


def key_frame(cv, rect, square=""):
    """Outline of a key. Corners are softened into the body, except on the
    sides named in square ("l", "r"), where the key joins another part."""
    x0, y0, x1, y1 = rect[0], rect[1], rect[2] - 1, rect[3] - 1
    cv.hline(x0 + 1, x1 - 1, y0, KEY_OUTLINE)
    cv.hline(x0 + 1, x1 - 1, y1, KEY_OUTLINE)
    cv.vline(x0, y0 + 1, y1 - 1, KEY_OUTLINE)
    cv.vline(x1, y0 + 1, y1 - 1, KEY_OUTLINE)
    for x, side in ((x0, "l"), (x1, "r")):
        for y in (y0, y1):
            if side in square:
                cv.set(x, y, KEY_OUTLINE)
            else:
                cv.set(x, y, mix(body_colour(y), KEY_OUTLINE, 110))


def key_up(cv, rect, glyph, colours=None, square=""):
    """A raised key: gradient face, light top/left, dark bottom/right."""
    x0, y0, x1, y1 = rect[0], rect[1], rect[2] - 1, rect[3] - 1
    cv.vgradient((x0 + 1, y0 + 1, x1, y1), KEY_TOP, KEY_BOTTOM)
    cv.hline(x0 + 1, x1 - 1, y0 + 1, KEY_LIGHT)
    cv.vline(x0 + 1, y0 + 1, y1 - 1, mix(KEY_LIGHT, KEY_TOP, 128))
    cv.hline(x0 + 1, x1 - 1, y1 - 1, KEY_DARK)
    cv.vline(x1 - 1, y0 + 2, y1 - 1, KEY_DARK)
    key_frame(cv, rect, square)
    put_glyph(cv, rect, glyph, 0, colours or {"#": KEY_INK, "+": KEY_INK})


def key_down(cv, rect, glyph, colours=None, lit=False, square=""):
    """The same key pushed in: darker, shadow inside the top/left edge,
    glyph one pixel down and right. A lit key (the two that latch on) also
    glows: its glyph turns to colour and bleeds a little light around it."""
    x0, y0, x1, y1 = rect[0], rect[1], rect[2] - 1, rect[3] - 1
    face = LIT_FACE if lit else PRESS_FACE
    cv.fill((x0 + 1, y0 + 1, x1, y1), face)
    cv.hline(x0 + 1, x1 - 1, y0 + 1, PRESS_DARK)
    cv.vline(x0 + 1, y0 + 1, y1 - 1, PRESS_DARK)
    cv.hline(x0 + 2, x1 - 1, y1 - 1, PRESS_LIGHT)
    key_frame(cv, rect, square)
    colours = colours or {"#": PRESS_INK, "+": PRESS_INK}
    if lit:
        glow = Canvas(cv.w, cv.h, (0, 0, 0))
        put_glyph(glow, rect, glyph, 1, {"#": (1, 1, 1), "+": (1, 1, 1)})
        for y in range(y0 + 2, y1 - 1):
            for x in range(x0 + 2, x1 - 1):
                if glow.get(x, y) != (0, 0, 0):
                    continue
                near = sum(1 for dy in (-1, 0, 1) for dx in (-1, 0, 1)
                           if glow.inside(x + dx, y + dy) and glow.get(x + dx, y + dy) != (0, 0, 0))
                if near:
                    cv.set(x, y, mix(face, colours["#"], min(3, near) * 22))
    put_glyph(cv, rect, glyph, 1, colours)


def put_glyph(cv, rect, glyph, offset, colours):
    """Centres a key glyph on its key; offset pushes it down-right."""
    w = max(len(r) for r in glyph)
    h = len(glyph)
    bw = rect[2] - rect[0]
    bh = rect[3] - rect[1]
    gx = rect[0] + (bw - w) // 2 + offset
    gy = rect[1] + (bh - h) // 2 + offset
    draw_glyph(cv, gx, gy, glyph, colours)


def draw_spinner(cv, less, field, more, tint):
    """One channel row: [-][ value ][+] framed as a single unit."""
    x0, y0 = less[0], less[1]
    x1, y1 = more[2] - 1, more[3] - 1
    # the value well: tinted, with a soft inner shadow along the top/left
    cv.fill((field[0], y0, more[0] + 1, y1 + 1), tint)
    cv.hline(field[0] + 1, more[0] - 1, y0 + 1, mix(tint, OUTLINE, 40))
    cv.vline(field[0] + 1, y0 + 2, y1 - 1, mix(tint, OUTLINE, 22))
    key_up(cv, less, GLYPH_MINUS, square="r")
    key_up(cv, more, GLYPH_PLUS, square="l")
    # outline the whole unit so the keys and the well read as one part
    cv.hline(x0 + 1, x1 - 1, y0, KEY_OUTLINE)
    cv.hline(x0 + 1, x1 - 1, y1, KEY_OUTLINE)


def draw_hex_strip(cv):
    """The three hex readouts of the white row, as one light strip. Its frame
    lies just outside the fields so the digits never land on a dark line."""
    x0, y0 = HEX_FIELDS[0][0] - 1, HEX_FIELDS[0][1] - 1
    x1, y1 = HEX_FIELDS[-1][2], HEX_FIELDS[-1][3]
    cv.fill((x0, y0, x1 + 1, y1 + 1), HEX_TINT)
    key_frame(cv, (x0, y0, x1 + 1, y1 + 1))
    cv.hline(x0 + 1, x1 - 1, y0 + 1, mix(HEX_TINT, OUTLINE, 40))
    cv.vline(x0 + 1, y0 + 2, y1 - 1, mix(HEX_TINT, OUTLINE, 22))
    for f in HEX_FIELDS[1:]:
        cv.vline(f[0], y0 + 2, y1 - 1, mix(HEX_TINT, OUTLINE, 56))


def draw_display(cv):
    """The colour display: recessed well with the start-up picture inside."""
    x0, y0, x1, y1 = DISPLAY[0], DISPLAY[1], DISPLAY[2] - 1, DISPLAY[3] - 1
    # recess: dark lip just outside the picture, shadow above/left, light below/right
    cv.hline(x0 - 2, x1 + 2, y0 - 2, RECESS_DARK)
    cv.vline(x0 - 2, y0 - 2, y1 + 2, RECESS_DARK)
    cv.hline(x0 - 2, x1 + 2, y1 + 2, RECESS_LIGHT)
    cv.vline(x1 + 2, y0 - 2, y1 + 2, RECESS_LIGHT)
    cv.set(x1 + 2, y0 - 2, body_colour(y0 - 2))
    cv.set(x0 - 2, y1 + 2, body_colour(y1 + 2))
    cv.hline(x0 - 1, x1 + 1, y0 - 1, OUTLINE)
    cv.hline(x0 - 1, x1 + 1, y1 + 1, OUTLINE)
    cv.vline(x0 - 1, y0 - 1, y1 + 1, OUTLINE)
    cv.vline(x1 + 1, y0 - 1, y1 + 1, OUTLINE)
    draw_splash(cv, DISPLAY)


ENGRAVE_DARK = (40, 43, 50)
ENGRAVE_LIGHT = (80, 85, 96)
RECESS_DARK = (46, 49, 57)
RECESS_LIGHT = (104, 110, 122)
SPLASH_BG_TOP = (30, 34, 44)
SPLASH_BG_BOTTOM = (14, 16, 22)


def draw_splash(cv, rect):
    x0, y0, x1, y1 = rect
    w, h = x1 - x0, y1 - y0

    def bg(x, y):
        return mix(SPLASH_BG_TOP, SPLASH_BG_BOTTOM, ((y - y0) * 8 // h) * 256 // 7)

    for y in range(y0, y1):
        for x in range(x0, x1):
            cv.set(x, y, bg(x, y))
    cx4 = (x0 * 2 + w) * 2          # centre, quarter pixels
    cy4 = (y0 + 14) * 4
    draw_light_discs(cv, cx4, cy4, 7 * 4 + 2, 4 * 4 + 1, coarse=True, clip=rect)
    name = "Huebrick"
    tw = text_width(FONT_SMALL, name)
    draw_text(cv, FONT_SMALL, FONT_SMALL_BASE, x0 + (w - tw) // 2, y1 - 4, name,
              (226, 230, 238))


def draw_face(cv):
    draw_body(cv)
    draw_display(cv)
    key_up(cv, BTN_SNAP, GLYPH_MAGNET, {"#": KEY_INK, "+": (188, 194, 204)})
    key_up(cv, BTN_TOPMOST, GLYPH_PIN, {"#": KEY_INK, "+": (188, 194, 204)})
    key_up(cv, BTN_MINIMIZE, GLYPH_MINIMIZE)
    key_up(cv, BTN_CLOSE, GLYPH_CLOSE)
    # three little lamps between the title keys: the program's colours
    lamps = ((236, 56, 60), (56, 196, 92), (52, 112, 240))
    for i, c in enumerate(lamps):
        lx = 36 + i * 4
        cv.fill((lx, 8, lx + 3, 11), c)
        cv.set(lx, 8, mix(c, (255, 255, 255), 128))
        cv.set(lx + 2, 10, mix(c, (0, 0, 0), 80))
    draw_spinner(cv, RED_LESS, RED_FIELD, RED_MORE, RED_TINT)
    draw_spinner(cv, GREEN_LESS, GREEN_FIELD, GREEN_MORE, GREEN_TINT)
    draw_spinner(cv, BLUE_LESS, BLUE_FIELD, BLUE_MORE, BLUE_TINT)
    for rect, letter, c in ((RED_LESS, "R", (255, 110, 100)),
                            (GREEN_LESS, "G", (110, 220, 120)),
                            (BLUE_LESS, "B", (120, 160, 255))):
        draw_text(cv, FONT_SMALL, FONT_SMALL_BASE, 9, rect[1] + 8, letter, c,
                  shadow=(BODY_DARK, 1, 1))
    key_up(cv, WHITE_LESS, GLYPH_MINUS)
    key_up(cv, WHITE_MORE, GLYPH_PLUS)
    draw_hex_strip(cv)
    # the name, engraved into the bottom of the case
    name = "HUEBRICK"
    tw = text_width(FONT_TINY, name, 2)
    tx = (FACE_W - tw + 1) // 2
    draw_text(cv, FONT_TINY, FONT_TINY_BASE, tx, 128, name, ENGRAVE_DARK, 2,
              shadow=(ENGRAVE_LIGHT, 0, 1))


def draw_pressed(face):
    """Every push button drawn pushed in, on a copy of the face so that the
    pixels around the rounded corners match the face exactly."""
    cv = face.copy()
    key_down(cv, BTN_SNAP, GLYPH_MAGNET, {"#": LIT_RED, "+": LIT_SILVER}, lit=True)
    key_down(cv, BTN_TOPMOST, GLYPH_PIN, {"#": LIT_RED, "+": LIT_SILVER}, lit=True)
    key_down(cv, BTN_MINIMIZE, GLYPH_MINIMIZE)
    key_down(cv, BTN_CLOSE, GLYPH_CLOSE)
    for less, more in ((RED_LESS, RED_MORE), (GREEN_LESS, GREEN_MORE),
                       (BLUE_LESS, BLUE_MORE)):
        key_down(cv, less, GLYPH_MINUS, square="r")
        key_down(cv, more, GLYPH_PLUS, square="l")
    key_down(cv, WHITE_LESS, GLYPH_MINUS)
    key_down(cv, WHITE_MORE, GLYPH_PLUS)
    return cv


def make_skin():
    cv = Canvas(SKIN_W, SKIN_H, MAGENTA)
    draw_face(cv)
    pressed = draw_pressed(cv)
    for r in PUSH_BUTTONS:
        cv.blit(pressed, r, PRESSED_DX, 0)
    for (x, y), c in TEXT_COLOURS:
        cv.set(x, y, c)
    guard_skin(cv)
    return cv


def guard_skin(cv):
    """Refuse to write a skin whose see-through pixels are off: a stray key
    colour would punch a hole into the window. tools/check_art.py checks the
    written file independently."""
    for y in range(SKIN_H):
        for x in range(FACE_W):
            if (cv.get(x, y) == MAGENTA) != (x in notch_columns(y)):
                raise SystemExit("artgen: key colour wrong at face pixel (%d,%d)" % (x, y))
    for r in CONTROL_RECTS + tuple(pressed_rect(b) for b in PUSH_BUTTONS):
        for y in range(r[1], r[3]):
            for x in range(r[0], r[2]):
                if cv.get(x, y) == MAGENTA:
                    raise SystemExit("artgen: key colour inside control %r" % (r,))


# ---------------------------------------------------------------------------
# About box
# ---------------------------------------------------------------------------

ABOUT_BG = (246, 247, 249)
ABOUT_FRAME = (168, 174, 186)
ABOUT_INK = (34, 38, 46)
ABOUT_SOFT = (104, 110, 124)
ABOUT_LINK = (16, 86, 214)

# colour chips along the bottom: round the hue circle, then the greys
ABOUT_CHIPS = (
    (236, 56, 60), (246, 130, 52), (255, 206, 64), (150, 208, 70),
    (56, 196, 92), (48, 190, 170), (60, 190, 228), (52, 112, 240),
    (110, 84, 226), (178, 76, 212), (226, 70, 150), (250, 250, 252),
    (150, 156, 168), (58, 62, 71),
)


def draw_logo(cv, rect, use_alpha=False, radius=None, hard=False, rim=OUTLINE):
    """The program's mark: a little graphite slab with the three light discs."""
    x0, y0, x1, y1 = rect
    w = x1 - x0
    r = radius if radius is not None else max(2, w // 8)
    draw_tile(cv, rect, r, BODY_TOP, BODY_BOTTOM, rim, BODY_LIGHT, BODY_DARK, use_alpha)

    # the discs' radius and spread scale with the slab
    r4 = w * 4 * 22 // 100
    spread4 = w * 4 * 14 // 100
    # the group is taller below its centre than above; centre its bounds
    cx4 = (x0 + x1) * 2
    cy4 = (y0 + y1) * 2 - spread4 * 285 // 1000
    draw_light_discs(cv, cx4, cy4, r4, spread4, coarse=True, hard=hard,
                     clip=(x0 + 2, y0 + 2, x1 - 2, y1 - 2))


def make_about():
    cv = Canvas(ABOUT_W, ABOUT_H, ABOUT_BG)
    # frame: a hairline with a white inner line, like a sheet of card
    cv.hline(0, ABOUT_W - 1, 0, ABOUT_FRAME)
    cv.hline(0, ABOUT_W - 1, ABOUT_H - 1, ABOUT_FRAME)
    cv.vline(0, 0, ABOUT_H - 1, ABOUT_FRAME)
    cv.vline(ABOUT_W - 1, 0, ABOUT_H - 1, ABOUT_FRAME)
    cv.hline(1, ABOUT_W - 2, 1, (255, 255, 255))
    cv.vline(1, 1, ABOUT_H - 2, (255, 255, 255))

    draw_logo(cv, (10, 10, 58, 58))

    col = 66
    draw_text(cv, FONT_BOLD, FONT_BOLD_BASE, col, 20, "Huebrick", ABOUT_INK, 1)
    draw_text(cv, FONT_SMALL, FONT_SMALL_BASE, col, 32, "Version 1.0", ABOUT_SOFT)
    draw_text(cv, FONT_SMALL, FONT_SMALL_BASE, col, 43, "colour mixer & eye-dropper", ABOUT_INK)
    cv.hline(col, ABOUT_W - 11, 48, (220, 223, 229))

    # contact lines: labels right-aligned against the clickable areas
    mx0, my0, mx1, my1 = ABOUT_MAIL_RECT
    ax0, ay0, ax1, ay1 = ABOUT_AIM_RECT
    for label, base in (("Mail:", my0 + 8), ("AIM:", ay0 + 8)):
        draw_text(cv, FONT_SMALL, FONT_SMALL_BASE, mx0 - 3 - text_width(FONT_SMALL, label),
                  base, label, ABOUT_SOFT)
    end = draw_text(cv, FONT_SMALL, FONT_SMALL_BASE, mx0 + 2, my0 + 8, ABOUT_MAIL, ABOUT_LINK)
    # underline two rows under the baseline, broken around the descenders
    uy = my0 + 10
    ink = [x for x in range(mx0, end + 1)
           if cv.get(x, uy) == ABOUT_LINK or cv.get(x, uy - 1) == ABOUT_LINK]
    for x in range(mx0 + 2, end + 1):
        if not any(abs(x - i) <= 1 for i in ink):
            cv.set(x, uy, ABOUT_LINK)
    draw_text(cv, FONT_SMALL, FONT_SMALL_BASE, ax0 + 2, ay0 + 8, ABOUT_AIM, ABOUT_INK)

    # a row of colour chips to finish the card
    n = len(ABOUT_CHIPS)
    gap = 2
    left, right = 10, ABOUT_W - 10
    cw = (right - left - gap * (n - 1)) // n
    x = left + (right - left - (cw * n + gap * (n - 1))) // 2
    y0, y1 = 92, 106
    for c in ABOUT_CHIPS:
        draw_tile(cv, (x, y0, x + cw, y1), 2, c, c,
                  mix(c, (0, 0, 0), 110), mix(c, (255, 255, 255), 90),
                  mix(c, (0, 0, 0), 40))
        x += cw + gap
    return cv


# ---------------------------------------------------------------------------
# Icons
# ---------------------------------------------------------------------------

def make_icon(size, hard=False, rim=OUTLINE):
    cv = Canvas(size, size, (0, 0, 0), alpha=True)
    draw_logo(cv, (1, 1, size - 1, size - 1), use_alpha=True, radius=max(3, size * 5 // 32), hard=hard, rim=rim)
    return cv


# At 16 pixels the discs are placed by hand: 8-pixel rounds on whole pixels
# are crisper than any anti-aliasing an icon without alpha could show.
DISC8 = ["..####..", ".######.", "########", "########",
         "########", "########", ".######.", "..####.."]


TRAY_RIM = (138, 144, 156)


def make_icon16(tray=False):
    cv = Canvas(16, 16, (0, 0, 0), alpha=True)
    # the tray version gets a lighter rim so it keeps its shape on dark taskbars
    draw_tile(cv, (0, 0, 16, 16), 3, BODY_TOP, BODY_BOTTOM,
              TRAY_RIM if tray else OUTLINE, BODY_LIGHT, BODY_DARK, True)
    keys = [[0] * 16 for _ in range(16)]
    for bit, (ox, oy) in ((1, (2, 2)), (2, (6, 2)), (4, (4, 6))):
        for r, row in enumerate(DISC8):
            for c, v in enumerate(row):
                if v == "#":
                    keys[oy + r][ox + c] |= bit
    for y in range(16):
        for x in range(16):
            if keys[y][x]:
                cv.set(x, y, LIGHT_MIX[keys[y][x]])
    # icons without alpha: cut at half coverage
    for y in range(16):
        for x in range(16):
            cv.a[y][x] = 255 if cv.a[y][x] >= 128 else 0
    return cv


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------


def palette_of(cv, extra=()):
    cols = set(extra)
    for row in cv.px:
        cols.update(row)
    pal = sorted(cols)
    if len(pal) > 256:
        raise SystemExit("artgen: %d colours do not fit an 8-bit palette" % len(pal))
    return pal


def and_mask(cv):
    stride = ((cv.w + 31) // 32) * 4
    out = bytearray()
    for y in range(cv.h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(cv.w):
            if cv.a[y][x] == 0:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def ico_image32(cv):
    xor = bytearray()
    for y in range(cv.h - 1, -1, -1):
        for x in range(cv.w):
            r, g, b = cv.px[y][x]
            a = cv.a[y][x]
            if a == 0:
                r = g = b = 0
            xor += bytes((b, g, r, a))
    mask = and_mask(cv)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + mask


def ico_image8(cv):
    # transparent pixels are black in the colour bitmap and set in the mask
    for y in range(cv.h):
        for x in range(cv.w):
            if cv.a[y][x] == 0:
                cv.px[y][x] = (0, 0, 0)
    pal = palette_of(cv, extra=((0, 0, 0),))
    pal = pal + [(0, 0, 0)] * (256 - len(pal))
    index = {}
    for i, c in enumerate(pal):
        index.setdefault(c, i)
    stride = (cv.w + 3) & ~3
    xor = bytearray()
    for y in range(cv.h - 1, -1, -1):
        xor += bytes(index[c] for c in cv.px[y]) + b"\0" * (stride - cv.w)
    mask = and_mask(cv)
    pal_bytes = b"".join(bytes((b, g, r, 0)) for (r, g, b) in pal)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h * 2, 1, 8, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + pal_bytes + bytes(xor) + mask


def ico_png(cv):
    """A true-colour image with alpha as PNG, which icons hold since Windows Vista: the
    sizes of scaled displays at a fraction of a bitmap's bytes (unfiltered rows pack best)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + b"".join(bytes(cv.px[y][x] if cv.a[y][x] else (0, 0, 0)) + bytes((cv.a[y][x],))
                                      for x in range(cv.w)) for y in range(cv.h))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", cv.w, cv.h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def ico_bytes(images):
    """images: list of (width, height, bitcount, data)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, bpp, data in images:
        out += struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for _, _, _, data in images:
        out += data
    return out


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(here), "res")
    os.makedirs(out, exist_ok=True)
    bmp.write(os.path.join(out, "skin.bmp"), make_skin().px, 8)
    bmp.write(os.path.join(out, "about.bmp"), make_about().px, 8)
    write(os.path.join(out, "app.ico"), ico_bytes([
        (32, 32, 32, ico_image32(make_icon(32))),
        (16, 16, 8, ico_image8(make_icon16())),
    ] + [(size, size, 32, ico_png(make_icon(size, hard=True))) for size in (20, 24, 40, 48)]))
    write(os.path.join(out, "tray.ico"), ico_bytes([
        (16, 16, 8, ico_image8(make_icon16(tray=True))),
    ] + [(size, size, 32, ico_png(make_icon(size, hard=True, rim=TRAY_RIM))) for size in (20, 24, 32, 40, 48)]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

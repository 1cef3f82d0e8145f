#!/usr/bin/env python3
"""Draws "prism", the sample user skin that ships with Huebrick, and its mask.

    python3 tools/sampleskin.py [OUTPUT_DIR]

OUTPUT_DIR defaults to res/sample/ beside this tools/ folder. Writes:

    prism.bmp       the skin image, 24-bit
    prism_mask.bmp  its mask, 24-bit, the same size

Prism is a wide instrument: a round lens on the left (the colour display, cut
into a top and a bottom half), three vertical channel columns (plus key, value,
minus key, with the hexadecimal value underneath), a white column, and the
four title keys stacked along the right end. Below the face lies a strip that
the window never shows: the pressed pictures of the twelve keys, each exactly
FACE_TO_PRESSED below its face, and a row of text-colour chips.

The mask gives every area its colour (see MASK_* below and SKINS.txt); white
means "no area". The geometry lives in one place, the layout() function, which
both the drawing and the mask use. The end-to-end skin journey loads the pair in the
real program; tools/check_art.py makes sure the committed files are what this writes.

Everything is integer or correctly rounded floating-point arithmetic (+ - * /
and sqrt only), so two runs always give byte-identical files.
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)

import artgen as art  # noqa: E402  (the built-in skin's palette, fonts and glyphs)
import bmp  # noqa: E402

mix = art.mix

# ---------------------------------------------------------------------------
# Geometry. Rectangles are (left, top, right, bottom), right/bottom exclusive.
# ---------------------------------------------------------------------------

FACE_W, FACE_H = 209, 64           # the window
FACE_TO_PRESSED = 68               # pressed pictures lie this far below their face
SKIN_W, SKIN_H = FACE_W, FACE_H + FACE_TO_PRESSED

LENS_C = (32, 32)                  # centre of the lens (pixel corner coordinates)
LENS_R = 32                        # outer radius of the lens housing
DISPLAY_R = 24                     # radius of the colour display
BAR = (44, 4, FACE_W, 61)          # the case that the lens sits on
BAR_R = 9                          # corner radius of its right end
FILLET = 5.0                       # how softly lens and case run into each other

COLUMN_X = (67, 101, 135)          # left edges of the red, green and blue columns
COLUMN_W = 31
WHITE_X, WHITE_W = 169, 15
DIVIDER_X = 187
TITLE_X, TITLE_W, TITLE_H = 191, 13, 10
TITLE_Y = {"close": 9, "minimize": 21, "ontop": 33, "snap": 45}

PLUS_Y = (9, 20)                   # key rows, outline included
FIELD_Y = (20, 31)                 # decimal value rows (11)
MINUS_Y = (31, 42)
HEX_Y = (46, 55)                   # hexadecimal value rows (9)

# Mask colours, as the program reads them.
MASK_NOTHING = (255, 255, 255)
MASK_BODY = (255, 0, 0)
MASK_DISPLAY_TOP = (0, 50, 50)
MASK_DISPLAY_BOTTOM = (0, 100, 100)
BUTTON_GREEN = {
    "snap": 10, "ontop": 25, "minimize": 40, "close": 55,
    "lessred": 70, "morered": 85, "lessgreen": 100, "moregreen": 115,
    "lessblue": 130, "moreblue": 145, "lesswhite": 160, "morewhite": 175,
}
FIELD_BLUE = {"reddec": 140, "greendec": 160, "bluedec": 180,
              "redhex": 200, "greenhex": 220, "bluehex": 240}
MARKER_BLUE = {"default": 0, "reddec": 20, "greendec": 40, "bluedec": 60,
               "redhex": 80, "greenhex": 100, "bluehex": 120}

# Text colours of the six values (the chips in the pressed strip carry them).
TEXT_COLOURS = {
    "default": (214, 218, 226),
    "reddec": (255, 104, 88),
    "greendec": (104, 226, 124),
    "bluedec": (112, 168, 255),
    "redhex": (232, 150, 142),
    "greenhex": (150, 214, 158),
    "bluehex": (156, 184, 240),
}
CHIP_Y = FACE_TO_PRESSED + 50
CHIP_X0, CHIP_W, CHIP_H, CHIP_STEP = 8, 5, 5, 7

CHANNELS = ("red", "green", "blue")


def lens_inside(x, y, r):
    """Pixel (x, y) belongs to the disc of radius r around the lens centre
    (tested at the pixel's centre; exact in integers)."""
    dx = 2 * x + 1 - 2 * LENS_C[0]
    dy = 2 * y + 1 - 2 * LENS_C[1]
    return dx * dx + dy * dy <= 4 * r * r


def rounded_cells(rect, radius):
    """Pixels of a rectangle whose corners are cut round (centre test)."""
    x0, y0, x1, y1 = rect
    cells = set()
    for y in range(y0, y1):
        for x in range(x0, x1):
            cx = min(max(2 * x + 1, 2 * (x0 + radius)), 2 * (x1 - radius))
            cy = min(max(2 * y + 1, 2 * (y0 + radius)), 2 * (y1 - radius))
            dx, dy = 2 * x + 1 - cx, 2 * y + 1 - cy
            if dx * dx + dy * dy <= 4 * radius * radius:
                cells.add((x, y))
    return cells


def key_cells(rect, cut):
    """A key: its rectangle without the corner pixels named in cut
    ("tl", "tr", "bl", "br"), which the body's rounded outline takes."""
    x0, y0, x1, y1 = rect
    cells = {(x, y) for y in range(y0, y1) for x in range(x0, x1)}
    corners = {"tl": (x0, y0), "tr": (x1 - 1, y0), "bl": (x0, y1 - 1), "br": (x1 - 1, y1 - 1)}
    for c in cut:
        cells.discard(corners[c])
    return cells


def rect_cells(rect):
    x0, y0, x1, y1 = rect
    return {(x, y) for y in range(y0, y1) for x in range(x0, x1)}


def shift(cells, dx, dy):
    return {(x + dx, y + dy) for x, y in cells}


# -- the outline of the case: lens disc united with the bar, softly filleted --

def _sd_circle(px, py):
    dx, dy = px - LENS_C[0], py - LENS_C[1]
    return math.sqrt(dx * dx + dy * dy) - LENS_R


def _sd_bar(px, py):
    """The case behind the lens: a box whose right end is rounded."""
    x0, y0, x1, y1 = BAR
    r = BAR_R
    if px > x1 - r:
        cy = min(max(py, y0 + r), y1 - r)
        dx, dy = px - (x1 - r), py - cy
        return math.sqrt(dx * dx + dy * dy) - r
    qx = x0 - px
    qy = max(y0 - py, py - y1)
    if qx > 0 and qy > 0:
        return math.sqrt(qx * qx + qy * qy)
    return max(qx, qy)


def case_sd(px, py):
    """Signed distance (roughly) to the case outline; negative inside."""
    a, b = _sd_circle(px, py), _sd_bar(px, py)
    k = FILLET
    h = max(k - abs(a - b), 0.0) / k
    return min(a, b) - h * h * k * 0.25


def case_cells():
    return {(x, y) for y in range(FACE_H) for x in range(FACE_W)
            if case_sd(x + 0.5, y + 0.5) < 0}


def layout():
    """Every area of the face in skin coordinates: name -> set of pixels.
    Buttons also get name + ":pressed" (their face moved FACE_TO_PRESSED down)."""
    areas = {}
    display = {(x, y) for y in range(FACE_H) for x in range(FACE_W)
               if lens_inside(x, y, DISPLAY_R)}
    areas["displaytop"] = {(x, y) for x, y in display if y < LENS_C[1]}
    areas["displaybottom"] = {(x, y) for x, y in display if y >= LENS_C[1]}
    for name, x0 in zip(CHANNELS, COLUMN_X):
        x1 = x0 + COLUMN_W
        areas["more" + name] = key_cells((x0, PLUS_Y[0], x1, PLUS_Y[1]), ("tl", "tr"))
        areas["less" + name] = key_cells((x0, MINUS_Y[0], x1, MINUS_Y[1]), ("bl", "br"))
        areas[name + "dec"] = rect_cells((x0 + 3, FIELD_Y[0], x1 - 1, FIELD_Y[1]))
        areas[name + "hex"] = rect_cells((x1 - 17, HEX_Y[0], x1 - 1, HEX_Y[1]))
    wx1 = WHITE_X + WHITE_W
    areas["morewhite"] = key_cells((WHITE_X, PLUS_Y[0], wx1, PLUS_Y[1]), ("tl", "tr"))
    areas["lesswhite"] = key_cells((WHITE_X, MINUS_Y[0], wx1, MINUS_Y[1]), ("bl", "br"))
    for name, y in TITLE_Y.items():
        areas[name] = rounded_cells((TITLE_X, y, TITLE_X + TITLE_W, y + TITLE_H), 4)
    taken = set()
    for cells in areas.values():
        taken |= cells
    areas["body"] = case_cells() - taken
    for name in BUTTON_GREEN:
        areas[name + ":pressed"] = shift(areas[name], 0, FACE_TO_PRESSED)
    return areas


def area_colour(name):
    if name == "body":
        return MASK_BODY
    if name == "displaytop":
        return MASK_DISPLAY_TOP
    if name == "displaybottom":
        return MASK_DISPLAY_BOTTOM
    if name.endswith(":pressed"):
        return (0, BUTTON_GREEN[name[:-8]] + 5, 0)
    if name in BUTTON_GREEN:
        return (0, BUTTON_GREEN[name], 0)
    return (0, 0, FIELD_BLUE[name])


def chip_rect(i):
    x = CHIP_X0 + i * CHIP_STEP
    return (x, CHIP_Y, x + CHIP_W, CHIP_Y + CHIP_H)


MARKER_ORDER = ("default", "reddec", "greendec", "bluedec", "redhex", "greenhex", "bluehex")


# ---------------------------------------------------------------------------
# Drawing
# ---------------------------------------------------------------------------

OUTLINE = art.OUTLINE
BODY_TOP = (88, 94, 106)
BODY_BOTTOM = (56, 60, 69)
BODY_LIGHT = art.BODY_LIGHT
BODY_DARK = art.BODY_DARK
KEY_TOP, KEY_BOTTOM = art.KEY_TOP, art.KEY_BOTTOM
KEY_LIGHT, KEY_DARK, KEY_OUTLINE = art.KEY_LIGHT, art.KEY_DARK, art.KEY_OUTLINE
KEY_INK = art.KEY_INK
PRESS_FACE, PRESS_DARK, PRESS_LIGHT, PRESS_INK = (
    art.PRESS_FACE, art.PRESS_DARK, art.PRESS_LIGHT, art.PRESS_INK)
LIT_FACE, LIT_RED, LIT_SILVER = art.LIT_FACE, art.LIT_RED, art.LIT_SILVER
WELL = (22, 24, 30)
WELL_SHADE = (12, 13, 17)
WELL_LIP = (70, 75, 86)
BENCH = (40, 42, 48)               # where nothing is: never shown
ENGRAVE_DARK, ENGRAVE_LIGHT = (38, 41, 48), (104, 110, 122)
CHANNEL_INK = {"red": (255, 110, 100), "green": (110, 220, 120), "blue": (120, 160, 255)}


def body_colour(y):
    return mix(BODY_TOP, BODY_BOTTOM, y * 256 // (FACE_H - 1))


def light_of(nx, ny):
    """0..256: how much a surface facing (nx, ny) catches the top-left light."""
    d = -(nx + ny) / math.sqrt(2.0)
    return max(0, min(256, int(128 + d * 128 + 0.5)))


def draw_case(cv, case):
    for (x, y) in case:
        cv.set(x, y, body_colour(y))
    # the outermost ring is the outline; the next one the bevel, lit by its normal
    ring1 = {(x, y) for (x, y) in case
             if any((x + dx, y + dy) not in case for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}
    inner = case - ring1
    ring2 = {(x, y) for (x, y) in inner
             if any((x + dx, y + dy) in ring1 for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}
    for (x, y) in ring1:
        cv.set(x, y, OUTLINE)
    for (x, y) in ring2:
        px, py = x + 0.5, y + 0.5
        e = 0.25
        gx = case_sd(px + e, py) - case_sd(px - e, py)
        gy = case_sd(px, py + e) - case_sd(px, py - e)
        n = math.sqrt(gx * gx + gy * gy) or 1.0
        t = light_of(gx / n, gy / n)
        cv.set(x, y, mix(mix(BODY_DARK, BODY_LIGHT, t), body_colour(y), 40))


SUB = 4  # supersampling grid per axis


def disc_cover(r, x, y):
    """Subsamples (of SUB*SUB) of pixel (x, y) inside the lens-centred disc of radius r."""
    n = 0
    for sy in range(SUB):
        py = y + (2 * sy + 1) / (2 * SUB) - LENS_C[1]
        for sx in range(SUB):
            px = x + (2 * sx + 1) / (2 * SUB) - LENS_C[0]
            if px * px + py * py <= r * r:
                n += 1
    return n


def draw_lens(cv, display):
    """The bezel round the colour display: a raised metal ring, then a dark
    recess down to the display opening."""
    full = SUB * SUB
    cx, cy = LENS_C
    for y in range(FACE_H):
        for x in range(0, 2 * LENS_R):
            if (x, y) in display:
                continue
            px, py = x + 0.5 - cx, y + 0.5 - cy
            d = math.sqrt(px * px + py * py)
            if d > LENS_R - 1.5 or d < DISPLAY_R - 0.5:
                continue
            nx, ny = (px / d, py / d) if d else (0.0, 0.0)
            t = light_of(nx, ny)
            base = cv.get(x, y)
            # the ring: lit on the top-left outside, in shadow inside the recess
            ring_out = disc_cover(LENS_R - 2.5, x, y)
            ring_in = disc_cover(DISPLAY_R + 3.5, x, y)
            groove = disc_cover(DISPLAY_R + 1.6, x, y)
            metal = mix(mix((60, 64, 74), (156, 162, 174), t), body_colour(y), 30)
            top = mix(base, metal, ring_out * 256 // full)
            wall = mix((34, 37, 44), (112, 118, 130), 256 - t)   # recess: opposite light
            top = mix(top, wall, ring_in * 256 // full)
            top = mix(top, OUTLINE, groove * 256 // full)
            cv.set(x, y, top)
    # a thin highlight on the ring's crest
    for y in range(FACE_H):
        for x in range(0, 2 * LENS_R):
            px, py = x + 0.5 - cx, y + 0.5 - cy
            d = math.sqrt(px * px + py * py)
            if abs(d - (LENS_R - 3.0)) < 0.5 and (px + py) < -6:
                cv.set(x, y, mix(cv.get(x, y), (200, 206, 216), 150))


# -- the picture in the display: white light through a prism --

SPECTRUM = ((236, 56, 60), (246, 130, 52), (255, 206, 64), (86, 200, 92),
            (52, 150, 240), (130, 84, 226))


def _tri_inside(px, py, tri):
    (ax, ay), (bx, by), (cx, cy) = tri

    def side(x0, y0, x1, y1):
        return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0)
    s1, s2, s3 = side(ax, ay, bx, by), side(bx, by, cx, cy), side(cx, cy, ax, ay)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def _seg_dist(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    t = ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)
    t = max(0.0, min(1.0, t))
    dx, dy = px - (ax + t * vx), py - (ay + t * vy)
    return math.sqrt(dx * dx + dy * dy)


def splash_sample(px, py):
    """Colour of one point of the display picture: a glass prism in the dark
    with a beam of white light falling in from the upper left and leaving as
    a fan of colours towards the lower right."""
    cx, cy = LENS_C
    # background: deep glass, a touch lighter in the middle
    dx, dy = px - cx, py - cy
    d2 = (dx * dx + dy * dy) / (DISPLAY_R * DISPLAY_R)
    col = mix((42, 48, 62), (12, 14, 20), int(min(1.0, d2) * 256))
    top = (cx - 1.0, cy - 12.0)
    left = (cx - 12.0, cy + 8.0)
    right = (cx + 10.0, cy + 8.0)
    entry = (top[0] + (left[0] - top[0]) * 0.42, top[1] + (left[1] - top[1]) * 0.42)
    exit_ = (top[0] + (right[0] - top[0]) * 0.55, top[1] + (right[1] - top[1]) * 0.55)
    # the incoming beam with a soft glow round it
    d = _seg_dist(px, py, cx - 26.0, cy - 13.0, entry[0], entry[1])
    if d < 2.4:
        col = mix(col, (255, 255, 255), 256 if d < 0.7 else int((2.4 - d) / 1.7 * 150))
    # the fan of colours leaving the right face, widening as it goes
    if px > exit_[0]:
        s = (py - exit_[1]) / (px - exit_[0])
        s0, s1 = 0.10, 0.80
        if s0 <= s < s1:
            i = int((s - s0) / (s1 - s0) * len(SPECTRUM))
            fade = min(1.0, (px - exit_[0]) / 5.0)
            col = mix(col, mix((255, 255, 255), SPECTRUM[i], int(fade * 256)), 236)
    if _tri_inside(px, py, (top, left, right)):
        # glass: brighter towards the lit left face, a faint band where the light crosses
        t = (px - left[0]) / (right[0] - left[0])
        glass = mix((176, 196, 226), (96, 112, 144), int(t * 256))
        col = mix(col, glass, 92)
        if _seg_dist(px, py, entry[0], entry[1], exit_[0], exit_[1]) < 1.3:
            col = mix(col, (244, 246, 255), 150)
    # the prism's edges: the left one catches the light
    e_left = _seg_dist(px, py, top[0], top[1], left[0], left[1])
    e_right = _seg_dist(px, py, right[0], right[1], top[0], top[1])
    e_base = _seg_dist(px, py, left[0], left[1], right[0], right[1])
    if e_left < 0.7:
        col = mix(col, (236, 242, 252), 230)
    elif e_right < 0.7:
        col = mix(col, (150, 164, 190), 200)
    elif e_base < 0.7:
        col = mix(col, (120, 132, 156), 200)
    return col


def draw_splash(cv, display):
    n = SUB * SUB
    for (x, y) in sorted(display):
        acc = [0, 0, 0]
        for sy in range(SUB):
            for sx in range(SUB):
                c = splash_sample(x + (2 * sx + 1) / (2 * SUB), y + (2 * sy + 1) / (2 * SUB))
                for j in range(3):
                    acc[j] += c[j]
        cv.set(x, y, tuple((v + n // 2) // n for v in acc))


# -- keys --

def put_glyph(cv, rect, glyph, offset, colours):
    w = max(len(r) for r in glyph)
    h = len(glyph)
    gx = rect[0] + (rect[2] - rect[0] - w) // 2 + offset
    gy = rect[1] + (rect[3] - rect[1] - h) // 2 + offset
    art.draw_glyph(cv, gx, gy, glyph, colours)


def draw_key(cv, cells, rect, glyph, colours, pressed=False, lit=False):
    """A key over exactly the given cells (its area in the mask): outline on
    the area's border, raised or pushed-in face inside."""
    x0, y0, x1, y1 = rect
    border = {(x, y) for (x, y) in cells
              if any((x + dx, y + dy) not in cells for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}
    inner = cells - border
    edge2 = {(x, y) for (x, y) in inner
             if any((x + dx, y + dy) in border for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}
    for (x, y) in cells:
        if (x, y) in border:
            # corners that the cut left diagonal get a softer outline
            n = sum(1 for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)) if (x + dx, y + dy) in cells)
            c = KEY_OUTLINE if n >= 2 else mix(body_colour(y), KEY_OUTLINE, 150)
            cv.set(x, y, c)
            continue
        if pressed:
            face = LIT_FACE if lit else PRESS_FACE
            c = face
            if (x, y) in edge2:
                up = (x, y - 1) in border or (x - 1, y) in border
                c = PRESS_DARK if up else PRESS_LIGHT
        else:
            c = mix(KEY_TOP, KEY_BOTTOM, (y - y0) * 256 // max(1, y1 - y0 - 1))
            if (x, y) in edge2:
                if (x, y - 1) in border:
                    c = KEY_LIGHT
                elif (x - 1, y) in border:
                    c = mix(KEY_LIGHT, KEY_TOP, 128)
                elif (x, y + 1) in border or (x + 1, y) in border:
                    c = KEY_DARK
        cv.set(x, y, c)
    if pressed and lit:
        glow = {}
        probe = art.Canvas(cv.w, cv.h, (0, 0, 0))
        put_glyph(probe, rect, glyph, 1, {"#": (1, 1, 1), "+": (1, 1, 1)})
        for (x, y) in inner - edge2:
            if probe.get(x, y) != (0, 0, 0):
                continue
            near = sum(1 for dy in (-1, 0, 1) for dx in (-1, 0, 1)
                       if probe.inside(x + dx, y + dy) and probe.get(x + dx, y + dy) != (0, 0, 0))
            if near:
                glow[(x, y)] = mix(LIT_FACE, colours["#"], min(3, near) * 22)
        for (x, y), c in glow.items():
            cv.set(x, y, c)
    put_glyph(cv, rect, glyph, 1 if pressed else 0, colours)


def draw_well(cv, rect):
    """A dark value window: outline round it, a shadow along its top."""
    x0, y0, x1, y1 = rect
    cv.fill(rect, WELL)
    cv.hline(x0, x1 - 1, y0, WELL_SHADE)
    cv.vline(x0, y0, y1 - 1, mix(WELL, WELL_SHADE, 128))


def frame(cv, rect, colour):
    x0, y0, x1, y1 = rect
    cv.hline(x0, x1 - 1, y0, colour)
    cv.hline(x0, x1 - 1, y1 - 1, colour)
    cv.vline(x0, y0, y1 - 1, colour)
    cv.vline(x1 - 1, y0, y1 - 1, colour)


def draw_column(cv, x0, x1):
    """The value window between a column's keys, walled in on both sides."""
    cv.vline(x0, FIELD_Y[0], FIELD_Y[1] - 1, OUTLINE)
    cv.vline(x1 - 1, FIELD_Y[0], FIELD_Y[1] - 1, OUTLINE)
    draw_well(cv, (x0 + 1, FIELD_Y[0], x1 - 1, FIELD_Y[1]))


def draw_face(cv, areas):
    case = case_cells()
    display = areas["displaytop"] | areas["displaybottom"]
    draw_case(cv, case)
    draw_lens(cv, display)
    draw_splash(cv, display)
    ink = {"#": KEY_INK, "+": KEY_INK}
    for name, x0 in zip(CHANNELS, COLUMN_X):
        x1 = x0 + COLUMN_W
        draw_column(cv, x0, x1)
        draw_key(cv, areas["more" + name], (x0, PLUS_Y[0], x1, PLUS_Y[1]), art.GLYPH_PLUS, ink)
        draw_key(cv, areas["less" + name], (x0, MINUS_Y[0], x1, MINUS_Y[1]), art.GLYPH_MINUS, ink)
        # hexadecimal window with the channel's letter in front of it
        hx0 = x1 - 17
        frame(cv, (hx0 - 3, HEX_Y[0] - 1, x1, HEX_Y[1] + 1), OUTLINE)
        draw_well(cv, (hx0 - 2, HEX_Y[0], x1 - 1, HEX_Y[1]))
        letter = name[0].upper()
        art.draw_text(cv, art.FONT_SMALL, art.FONT_SMALL_BASE, x0 + 2, HEX_Y[0] + 7, letter,
                      CHANNEL_INK[name], shadow=(BODY_DARK, 1, 1))
    wx1 = WHITE_X + WHITE_W
    draw_column(cv, WHITE_X, wx1)
    # a white lamp in the white column's window
    lamp = (WHITE_X + 4, FIELD_Y[0] + 3, wx1 - 4, FIELD_Y[1] - 3)
    cv.fill(lamp, (236, 238, 242))
    cv.hline(lamp[0], lamp[2] - 1, lamp[1], (255, 255, 255))
    cv.hline(lamp[0], lamp[2] - 1, lamp[3] - 1, (186, 190, 198))
    draw_key(cv, areas["morewhite"], (WHITE_X, PLUS_Y[0], wx1, PLUS_Y[1]), art.GLYPH_PLUS, ink)
    draw_key(cv, areas["lesswhite"], (WHITE_X, MINUS_Y[0], wx1, MINUS_Y[1]), art.GLYPH_MINUS, ink)
    art.draw_text(cv, art.FONT_SMALL, art.FONT_SMALL_BASE, WHITE_X + 5, HEX_Y[0] + 7, "W",
                  (226, 228, 234), shadow=(BODY_DARK, 1, 1))
    # engraved divider before the title keys
    for y in range(8, 56):
        cv.set(DIVIDER_X, y, ENGRAVE_DARK)
        cv.set(DIVIDER_X + 1, y, ENGRAVE_LIGHT)
    soft = {"#": KEY_INK, "+": (188, 194, 204)}
    for name, glyph, cols in (("close", art.GLYPH_CLOSE, ink), ("minimize", art.GLYPH_MINIMIZE, ink),
                              ("ontop", art.GLYPH_PIN, soft), ("snap", art.GLYPH_MAGNET, soft)):
        y = TITLE_Y[name]
        draw_key(cv, areas[name], (TITLE_X, y, TITLE_X + TITLE_W, y + TITLE_H), glyph, cols)


def draw_pressed(cv, areas):
    """The twelve keys pushed in, each drawn where its face is and then moved
    into the strip below, so its edges match the face exactly."""
    work = cv.copy()
    ink = {"#": PRESS_INK, "+": PRESS_INK}
    lit = {"#": LIT_RED, "+": LIT_SILVER}
    for name, x0 in zip(CHANNELS, COLUMN_X):
        x1 = x0 + COLUMN_W
        draw_key(work, areas["more" + name], (x0, PLUS_Y[0], x1, PLUS_Y[1]), art.GLYPH_PLUS, ink, True)
        draw_key(work, areas["less" + name], (x0, MINUS_Y[0], x1, MINUS_Y[1]), art.GLYPH_MINUS, ink, True)
    wx1 = WHITE_X + WHITE_W
    draw_key(work, areas["morewhite"], (WHITE_X, PLUS_Y[0], wx1, PLUS_Y[1]), art.GLYPH_PLUS, ink, True)
    draw_key(work, areas["lesswhite"], (WHITE_X, MINUS_Y[0], wx1, MINUS_Y[1]), art.GLYPH_MINUS, ink, True)
    for name, glyph, cols, on in (("close", art.GLYPH_CLOSE, ink, False),
                                  ("minimize", art.GLYPH_MINIMIZE, ink, False),
                                  ("ontop", art.GLYPH_PIN, lit, True),
                                  ("snap", art.GLYPH_MAGNET, lit, True)):
        y = TITLE_Y[name]
        draw_key(work, areas[name], (TITLE_X, y, TITLE_X + TITLE_W, y + TITLE_H), glyph, cols, True, on)
    for name in BUTTON_GREEN:
        for (x, y) in areas[name]:
            cv.set(x, y + FACE_TO_PRESSED, work.get(x, y))


def draw_chips(cv):
    for i, key in enumerate(MARKER_ORDER):
        cv.fill(chip_rect(i), TEXT_COLOURS[key])


def make_skin(areas):
    cv = art.Canvas(SKIN_W, SKIN_H, BENCH)
    draw_face(cv, areas)
    draw_pressed(cv, areas)
    draw_chips(cv)
    return cv


def make_mask(areas):
    cv = art.Canvas(SKIN_W, SKIN_H, MASK_NOTHING)
    for name, cells in areas.items():
        c = area_colour(name)
        for (x, y) in cells:
            cv.set(x, y, c)
    for i, key in enumerate(MARKER_ORDER):
        cv.fill(chip_rect(i), (0, 0, MARKER_BLUE[key]))
    return cv


def generate(out_dir):
    areas = layout()
    os.makedirs(out_dir, exist_ok=True)
    bmp.write(os.path.join(out_dir, "prism.bmp"), make_skin(areas).px)
    bmp.write(os.path.join(out_dir, "prism_mask.bmp"), make_mask(areas).px)


def main(argv):
    generate(argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(HERE), "res", "sample"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Checks Huebrick's artwork files against what the program relies on.

    python3 tools/check_art.py [--no-regen] [RES_DIR]

RES_DIR defaults to res/ beside this tools/ folder. It checks:

  * skin.bmp: 166x132, 8 bits per pixel with a palette; the magenta
    transparency key appears in the face only in the two side grips, never
    in a control; the right half is magenta except for the twelve pressed
    buttons and the four text colours in its top row.
  * about.bmp: 228x118, 8 bits per pixel.
  * app.ico: a 32x32 32-bit image and a 16x16 8-bit image; tray.ico: one
    16x16 8-bit image; both well-formed for windres.
  * unless --no-regen: tools/artgen.py, run into a temporary folder, writes
    byte-identical files (so the committed art is current and the generator
    deterministic).

The rules are written out here on their own rather than imported from the
generator, so that a mistake in one is caught by the other.

Exits 0 when everything holds, 1 with one line per problem otherwise.
"""

import os
import struct
import subprocess
import sys
import tempfile

MAGENTA = (255, 0, 255)

SKIN_SIZE = (166, 132)
ABOUT_SIZE = (228, 118)
FACE_W = 83

FACE_BUTTONS = {
    "snap": (6, 5, 19, 15),
    "on-top": (22, 5, 35, 15),
    "minimize": (48, 5, 61, 15),
    "close": (64, 5, 77, 15),
    "less red": (18, 69, 28, 80),
    "more red": (55, 69, 65, 80),
    "less green": (18, 81, 28, 92),
    "more green": (55, 81, 65, 92),
    "less blue": (18, 93, 28, 104),
    "more blue": (55, 93, 65, 104),
    "less white": (5, 111, 15, 122),
    "more white": (68, 111, 78, 122),
}

PRESSED = {
    "snap": (89, 5, 102, 15),
    "on-top": (105, 5, 118, 15),
    "minimize": (131, 5, 144, 15),
    "close": (147, 5, 160, 15),
    "less red": (101, 69, 111, 80),
    "more red": (138, 69, 148, 80),
    "less green": (101, 81, 111, 92),
    "more green": (138, 81, 148, 92),
    "less blue": (101, 93, 111, 104),
    "more blue": (138, 93, 148, 104),
    "less white": (88, 111, 98, 122),
    "more white": (151, 111, 161, 122),
}

OTHER_CONTROLS = {
    "display top": (18, 20, 65, 40),
    "display bottom": (18, 40, 65, 60),
    "red field": (27, 69, 54, 80),
    "green field": (27, 81, 54, 92),
    "blue field": (27, 93, 54, 104),
    "hex field 1": (17, 112, 33, 121),
    "hex field 2": (33, 112, 49, 121),
    "hex field 3": (49, 112, 65, 121),
}

TEXT_PIXELS = {
    (83, 0): (93, 89, 90),
    (84, 0): (255, 43, 35),
    (85, 0): (0, 146, 0),
    (86, 0): (0, 71, 255),
}

ARTWORK = ("skin.bmp", "about.bmp", "app.ico", "tray.ico")


class Problems(list):
    def add(self, fmt, *args):
        self.append(fmt % args if args else fmt)


def face_key_columns(y):
    """Columns of the face that must be magenta in row y: the side grips are
    two pixels deep on rows 21..66 and one pixel deep on rows 20, 67, 68."""
    if y in (20, 67, 68):
        return {0, 82}
    if 21 <= y <= 66:
        return {0, 1, 81, 82}
    return set()


def in_rect(x, y, r):
    return r[0] <= x < r[2] and r[1] <= y < r[3]


# ---------------------------------------------------------------------------
# BMP
# ---------------------------------------------------------------------------


def read_bmp8(path, problems):
    """Returns (width, height, rows of (r, g, b)) or None; rows top first."""
    name = os.path.basename(path)
    try:
        data = open(path, "rb").read()
    except OSError as e:
        problems.add("%s: cannot read: %s", name, e)
        return None
    if len(data) < 54 or data[:2] != b"BM":
        problems.add("%s: not a BMP file", name)
        return None
    bf_size, _, _, off_bits = struct.unpack_from("<IHHI", data, 2)
    (bi_size, w, h, planes, bpp, compression, size_image, _, _,
     clr_used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    ok = True
    if bf_size != len(data):
        problems.add("%s: bfSize %d but the file has %d bytes", name, bf_size, len(data))
    if bi_size != 40:
        problems.add("%s: header size %d, expected a 40-byte BITMAPINFOHEADER", name, bi_size)
        ok = False
    if planes != 1:
        problems.add("%s: %d planes, expected 1", name, planes)
    if bpp != 8:
        problems.add("%s: %d bits per pixel, expected 8", name, bpp)
        ok = False
    if compression != 0:
        problems.add("%s: compressed (%d), expected BI_RGB", name, compression)
        ok = False
    if h <= 0:
        problems.add("%s: height %d, expected a bottom-up bitmap (positive height)", name, h)
        ok = False
    if not 1 <= clr_used <= 256:
        problems.add("%s: biClrUsed %d, expected the palette size (1..256)", name, clr_used)
        ok = False
    if not ok:
        return None
    stride = (w + 3) & ~3
    pal_off = 14 + bi_size
    if off_bits != pal_off + 4 * clr_used:
        problems.add("%s: pixel data at %d, expected right after the %d-entry palette (%d)",
                     name, off_bits, clr_used, pal_off + 4 * clr_used)
        return None
    if len(data) < off_bits + stride * h:
        problems.add("%s: pixel data cut short", name)
        return None
    if size_image not in (0, stride * h):
        problems.add("%s: biSizeImage %d, expected %d", name, size_image, stride * h)
    pal = []
    for i in range(clr_used):
        b, g, r, _ = data[pal_off + 4 * i: pal_off + 4 * i + 4]
        pal.append((r, g, b))
    rows = []
    for y in range(h):
        start = off_bits + (h - 1 - y) * stride
        row = []
        for x in range(w):
            idx = data[start + x]
            if idx >= clr_used:
                problems.add("%s: pixel (%d,%d) uses palette index %d of %d", name, x, y,
                             idx, clr_used)
                return None
            row.append(pal[idx])
        rows.append(row)
    return w, h, rows


def check_skin(path, problems):
    img = read_bmp8(path, problems)
    if img is None:
        return
    w, h, px = img
    if (w, h) != SKIN_SIZE:
        problems.add("skin.bmp: %dx%d, expected %dx%d", w, h, *SKIN_SIZE)
        return

    # the face: magenta exactly in the grips
    wrong_key, missing_key = [], []
    for y in range(h):
        cols = face_key_columns(y)
        for x in range(FACE_W):
            is_key = px[y][x] == MAGENTA
            if is_key and x not in cols:
                wrong_key.append((x, y))
            elif not is_key and x in cols:
                missing_key.append((x, y))
    if wrong_key:
        problems.add("skin.bmp: %d magenta pixels in the face outside the side grips, "
                     "first at %s", len(wrong_key), wrong_key[0])
    if missing_key:
        problems.add("skin.bmp: %d side-grip pixels of the face are not magenta, first at %s",
                     len(missing_key), missing_key[0])

    controls = dict(FACE_BUTTONS)
    controls.update(OTHER_CONTROLS)
    for name, r in sorted(controls.items()):
        bad = [(x, y) for y in range(r[1], r[3]) for x in range(r[0], r[2])
               if px[y][x] == MAGENTA]
        if bad:
            problems.add("skin.bmp: %s %s has %d magenta pixels, first at %s",
                         name, r, len(bad), bad[0])

    # the right half: magenta but for the pressed pictures and the text colours
    for name, r in sorted(PRESSED.items()):
        f = FACE_BUTTONS[name]
        if (r[0] - FACE_W, r[1], r[2] - FACE_W, r[3]) != f:
            problems.add("check_art: pressed %s %s is not the face rect %s moved %d right",
                         name, r, f, FACE_W)
        bad = [(x, y) for y in range(r[1], r[3]) for x in range(r[0], r[2])
               if px[y][x] == MAGENTA]
        if bad:
            problems.add("skin.bmp: pressed %s %s has %d magenta pixels, first at %s",
                         name, r, len(bad), bad[0])
        same = all(px[y][x] == px[y][x - FACE_W]
                   for y in range(r[1], r[3]) for x in range(r[0], r[2]))
        if same:
            problems.add("skin.bmp: pressed %s looks exactly like the face's button", name)
        # the outermost ring of a pressed picture must match the face, or a
        # seam shows around the button whenever it is pushed
        seam = [(x, y) for y in range(r[1], r[3]) for x in range(r[0], r[2])
                if (x in (r[0], r[2] - 1) or y in (r[1], r[3] - 1))
                and px[y][x] != px[y][x - FACE_W]]
        if seam:
            problems.add("skin.bmp: pressed %s differs from the face on its border, "
                         "first at %s", name, seam[0])
    stray = []
    for y in range(h):
        for x in range(FACE_W, w):
            if (x, y) in TEXT_PIXELS:
                if px[y][x] != TEXT_PIXELS[(x, y)]:
                    problems.add("skin.bmp: text colour pixel %s is %s, expected %s",
                                 (x, y), px[y][x], TEXT_PIXELS[(x, y)])
                continue
            if any(in_rect(x, y, r) for r in PRESSED.values()):
                continue
            if px[y][x] != MAGENTA:
                stray.append((x, y))
    if stray:
        problems.add("skin.bmp: %d non-magenta pixels in the right half outside the pressed "
                     "buttons, first at %s", len(stray), stray[0])


def check_about(path, problems):
    img = read_bmp8(path, problems)
    if img is None:
        return
    w, h, _ = img
    if (w, h) != ABOUT_SIZE:
        problems.add("about.bmp: %dx%d, expected %dx%d", w, h, *ABOUT_SIZE)


# ---------------------------------------------------------------------------
# ICO
# ---------------------------------------------------------------------------


def check_ico(path, expected, problems):
    """expected: list of (width, height, bits per pixel), in directory order."""
    name = os.path.basename(path)
    try:
        data = open(path, "rb").read()
    except OSError as e:
        problems.add("%s: cannot read: %s", name, e)
        return
    if len(data) < 6:
        problems.add("%s: too short for an icon directory", name)
        return
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        problems.add("%s: not an icon file (reserved %d, type %d)", name, reserved, kind)
        return
    if count != len(expected):
        problems.add("%s: %d images, expected %d", name, count, len(expected))
        return
    if len(data) < 6 + 16 * count:
        problems.add("%s: icon directory cut short", name)
        return
    spans = []
    for i, (ew, eh, ebpp) in enumerate(expected):
        bw, bh, ncol, res, planes, bpp, size, off = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        what = "%s image %d" % (name, i + 1)
        if (bw or 256, bh or 256) != (ew, eh):
            problems.add("%s: directory says %dx%d, expected %dx%d", what, bw, bh, ew, eh)
        if bpp != ebpp:
            problems.add("%s: directory says %d bits per pixel, expected %d", what, bpp, ebpp)
        if planes != 1:
            problems.add("%s: directory says %d planes, expected 1", what, planes)
        if res != 0:
            problems.add("%s: reserved byte is %d", what, res)
        if ncol != 0:
            problems.add("%s: colour count %d, expected 0 for 8 bits and more", what, ncol)
        if off < 6 + 16 * count or off + size > len(data):
            problems.add("%s: data at %d..%d lies outside the file (%d bytes)",
                         what, off, off + size, len(data))
            continue
        spans.append((off, off + size))
        if size < 40:
            problems.add("%s: only %d bytes", what, size)
            continue
        (bi_size, w, h, bplanes, bbpp, comp, _, _, _, clr_used,
         _) = struct.unpack_from("<IiiHHIIiiII", data, off)
        if bi_size != 40:
            problems.add("%s: header size %d, expected a 40-byte BITMAPINFOHEADER", what, bi_size)
            continue
        if (w, h) != (ew, 2 * eh):
            problems.add("%s: bitmap %dx%d, expected %dx%d (height doubled for the mask)",
                         what, w, h, ew, 2 * eh)
            continue
        if bplanes != 1 or bbpp != ebpp or comp != 0:
            problems.add("%s: bitmap has %d planes, %d bits, compression %d; expected 1, %d, 0",
                         what, bplanes, bbpp, comp, ebpp)
            continue
        ncolours = 0
        if ebpp <= 8:
            ncolours = clr_used or (1 << ebpp)
            if ncolours > (1 << ebpp):
                problems.add("%s: %d palette entries for %d bits", what, ncolours, ebpp)
                continue
        xor_stride = ((ew * ebpp + 31) // 32) * 4
        and_stride = ((ew + 31) // 32) * 4
        need = 40 + 4 * ncolours + xor_stride * eh + and_stride * eh
        if size != need:
            problems.add("%s: %d bytes, expected %d (header, palette, colour bitmap, mask)",
                         what, size, need)
            continue
        xor_off = off + 40 + 4 * ncolours
        and_off = xor_off + xor_stride * eh
        transparent = 0
        for y in range(eh):
            for x in range(ew):
                masked = data[and_off + y * and_stride + (x >> 3)] & (0x80 >> (x & 7))
                if masked:
                    transparent += 1
                if ebpp == 32:
                    alpha = data[xor_off + y * xor_stride + 4 * x + 3]
                    if bool(masked) != (alpha == 0):
                        problems.add("%s: mask and alpha disagree at (%d,%d)", what, x, eh - 1 - y)
                        break
        if transparent == ew * eh:
            problems.add("%s: every pixel is transparent", what)
    spans.sort()
    for (a0, a1), (b0, b1) in zip(spans, spans[1:]):
        if b0 < a1:
            problems.add("%s: image data overlaps (%d..%d and %d..%d)", name, a0, a1, b0, b1)


# ---------------------------------------------------------------------------


def check_dir(res, problems):
    check_skin(os.path.join(res, "skin.bmp"), problems)
    check_about(os.path.join(res, "about.bmp"), problems)
    check_ico(os.path.join(res, "app.ico"), [(32, 32, 32), (16, 16, 8)], problems)
    check_ico(os.path.join(res, "tray.ico"), [(16, 16, 8)], problems)


def check_regenerate(res, problems):
    gen = os.path.join(os.path.dirname(os.path.abspath(__file__)), "artgen.py")
    with tempfile.TemporaryDirectory(prefix="huebrick-art-") as tmp:
        r = subprocess.run([sys.executable, gen, tmp], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, universal_newlines=True)
        if r.returncode != 0:
            problems.add("artgen.py failed (exit %d): %s", r.returncode, r.stdout.strip())
            return
        for f in ARTWORK:
            try:
                committed = open(os.path.join(res, f), "rb").read()
            except OSError:
                continue  # already reported
            fresh = open(os.path.join(tmp, f), "rb").read()
            if committed != fresh:
                problems.add("%s differs from what tools/artgen.py draws now; "
                             "run python3 tools/artgen.py", f)


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    flags = [a for a in argv[1:] if a.startswith("--")]
    unknown = [f for f in flags if f != "--no-regen"]
    if unknown or len(args) > 1:
        print("usage: check_art.py [--no-regen] [RES_DIR]", file=sys.stderr)
        return 2
    here = os.path.dirname(os.path.abspath(__file__))
    res = args[0] if args else os.path.join(os.path.dirname(here), "res")
    problems = Problems()
    check_dir(res, problems)
    if "--no-regen" not in flags:
        check_regenerate(res, problems)
    if problems:
        for p in problems:
            print("check_art: " + p, file=sys.stderr)
        print("check_art: %d problem(s)" % len(problems), file=sys.stderr)
        return 1
    print("check_art: artwork OK (%s)" % ", ".join(ARTWORK))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

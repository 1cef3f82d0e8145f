"""The skin on the real screen: the window's shape and face, the splash picture, the field
texts' colours, a repaint after being covered, a user skin chosen in the file dialog or dropped
from outside, and the splash turned off and on."""

import os
import shutil
import struct
import tempfile

import xdnd
from harness import (Failure, Screen, TestWindow, expect, expect_equal, poll, reg_add, reg_query, run,
                     screenshot, windows_named, xdotool)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WIDTH, HEIGHT = 83, 132
DISPLAY = (18, 20, 65, 60)
FIELDS = [(27, 69, 54, 80), (27, 81, 54, 92), (27, 93, 54, 104), (17, 112, 33, 121), (33, 112, 49, 121),
          (49, 112, 65, 121)]
TEXT_COLOURS = [(255, 43, 35), (0, 146, 0), (0, 71, 255), (93, 89, 90), (93, 89, 90), (93, 89, 90)]
SNAP = (6, 5, 19, 15)
NOTCHES = [(0, 20), (1, 21), (81, 30), (82, 20)]


def read_bmp(path):
    """(width, height, pixel(x, y) -> (r, g, b)) of an uncompressed 8- or 24-bit BMP."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    size, width, height, _, bits = struct.unpack_from("<IiiHH", data, 14)
    palette = [tuple(data[14 + size + 4 * i:14 + size + 4 * i + 3][::-1]) for i in range(256)] if bits == 8 else []
    stride = (width * bits // 8 + 3) & ~3
    rows = abs(height)

    def pixel(x, y):
        row = offset + stride * (rows - 1 - y if height > 0 else y)
        if bits == 8:
            return palette[data[row + x]]
        return tuple(data[row + 3 * x:row + 3 * x + 3][::-1])
    return width, rows, pixel


def write_bmp(path, width, height, pixel):
    """A 24-bit bottom-up BMP of pixel(x, y) -> (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        body += row + bytes(stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + bytes(body))


def inside(box, x, y):
    return box[0] <= x < box[2] and box[1] <= y < box[3]


def in_notch(x, y):
    # Transparent only at the sides of rows 20 to 68: two pixels wide, one in rows 20, 67, 68.
    if y < 20 or y > 68:
        return False
    return x in (0, 82) or (20 < y < 67 and x in (1, 81))


def window_pixels(screen, program):
    wx, wy, _, _ = program.geometry()
    return lambda x, y: screen.pixel(wx + x, wy + y)


def keys_again(program, point, *keys):
    """Keys right after another focusing click: this one lands at a point of the body away
    from the last click, so that the two are no double click (which minimises the window)."""
    program.click(*point)
    xdotool("key", "--delay", "30", *keys)


def start(launch, splash=False):
    xdotool("mousemove", 5, 5)   # away from the window: no tooltip over it
    if not splash:
        reg_add("splashScreen", "REG_DWORD", 0)
    return launch()


def face_mismatches(at, desktop, display=(255, 255, 255), hidden=lambda x, y: False):
    """Pixels (x, y, seen, expected) where the window at(x, y) is not the built-in face with the
    display in the given colour (None: not compared), the desktop in the notches, the snap
    button latched and the fields left out."""
    _, _, skin = read_bmp(os.path.join(ROOT, "res", "skin.bmp"))
    wrong = []
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if any(inside(f, x, y) for f in FIELDS) or hidden(x, y):
                continue
            if in_notch(x, y):
                expected = desktop(x, y)
            elif inside(DISPLAY, x, y):
                if display is None:
                    continue
                expected = display
            elif inside(SNAP, x, y):
                expected = skin(x + 83, y)    # snapping is on by default: the button is latched
            else:
                expected = skin(x, y)
            if at(x, y) != expected:
                wrong.append((x, y, at(x, y), expected))
    return wrong


def case_the_face_is_the_skin_and_the_notches_show_the_desktop(launch):
    desktop = Screen()
    program = start(launch)
    x0, y0, w, h = program.geometry()
    expect_equal((WIDTH, HEIGHT), (w, h), "window size")
    _, _, skin = read_bmp(os.path.join(ROOT, "res", "skin.bmp"))
    shown = poll(lambda: (lambda s: s if window_pixels(s, program)(40, 40) == (255, 255, 255) else None)(Screen()),
                 5, what="the white display")
    at = window_pixels(shown, program)
    path = screenshot("skin-face")
    wrong = face_mismatches(at, lambda x, y: desktop.pixel(x0 + x, y0 + y))
    expect(not wrong, "%d pixels differ from the skin, first %r (see %s)" % (len(wrong), wrong[:5], path))
    for x, y in NOTCHES:
        expect_equal(desktop.pixel(x0 + x, y0 + y), at(x, y), "notch pixel %d,%d" % (x, y))
    program.key("ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")


def case_splash_shows_first_then_the_colour(launch):
    program = start(launch, splash=True)
    _, _, skin = read_bmp(os.path.join(ROOT, "res", "skin.bmp"))

    def display_matches(reference):
        at = window_pixels(Screen(), program)
        same = sum(at(x, y) == reference(x, y) for y in range(DISPLAY[1], DISPLAY[3], 3)
                   for x in range(DISPLAY[0], DISPLAY[2], 3))
        total = len(range(DISPLAY[1], DISPLAY[3], 3)) * len(range(DISPLAY[0], DISPLAY[2], 3))
        return same == total
    poll(lambda: display_matches(skin), 5, what="the splash picture in the display")
    screenshot("skin-splash")
    poll(lambda: display_matches(lambda x, y: (255, 255, 255)), 5, what="the white display after the splash")
    screenshot("skin-after-splash")
    program.key("ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")


def case_field_texts_have_their_colours(launch):
    program = start(launch)
    program.type("rgb")      # the texts drawn after a change, not only at the start
    program.wait_title("FE FE FE - Huebrick")
    screenshot("skin-fields")
    at = window_pixels(Screen(), program)
    for box, colour in zip(FIELDS, TEXT_COLOURS):
        count = sum(at(x, y) == colour for y in range(box[1], box[3]) for x in range(box[0], box[2]))
        expect(count > 3, "field %r: %d pixels of %r" % (box, count, colour))
    keys_again(program, (2, 60), "ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")


def case_covered_and_uncovered_window_repaints_whole(launch):
    program = start(launch)
    x0, y0, _, _ = program.geometry()
    poll(lambda: window_pixels(Screen(), program)(40, 40) == (255, 255, 255), 5, what="the white display")
    before = Screen()
    cover = TestWindow(x0 - 10, y0 - 10, WIDTH + 20, HEIGHT + 20, 0x3060C0, "Huebrick skin cover")
    poll(lambda: Screen().pixel(x0 + 40, y0 + 40) == (0x30, 0x60, 0xC0), 5, what="the cover over the window")
    screenshot("skin-covered")
    cover.stop()

    def whole():
        now = Screen()
        return all(now.pixel(x0 + x, y0 + y) == before.pixel(x0 + x, y0 + y)
                   for y in range(HEIGHT) for x in range(WIDTH))
    try:
        poll(whole, 5, what="the window painted again")
    finally:
        screenshot("skin-uncovered")
    program.key("ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")


def masked_skin(folder):
    """A 120 x 90 skin with a mask that makes a 100 x 72 window with a display, two
    buttons and a field; returns the Windows path of the skin."""
    body, display, field = (200, 120, 40), (20, 20, 20), (230, 230, 200)

    def picture(x, y):
        if 20 <= x < 60 and 12 <= y < 48:
            return display
        if 66 <= x < 100 and 50 <= y < 60:
            return field
        if 70 <= x < 80 and 12 <= y < 20:
            return (250, 250, 250)    # close button face
        if 14 <= x < 24 and 82 <= y < 90:
            return (250, 0, 0)        # its pressed picture
        return body

    def mask(x, y):
        for colour, box in (((0, 50, 50), (20, 12, 60, 30)), ((0, 100, 100), (20, 30, 60, 48)),
                            ((0, 55, 0), (70, 12, 80, 20)), ((0, 60, 0), (14, 82, 24, 90)),
                            ((0, 0, 140), (66, 50, 100, 60)), ((0, 0, 20), (110, 0, 111, 1)),
                            ((255, 0, 0), (10, 8, 110, 80))):
            if inside(box, x, y):
                return colour
        return (255, 255, 255)
    write_bmp(os.path.join(folder, "steel.bmp"), 120, 90, picture)
    write_bmp(os.path.join(folder, "steel_mask.bmp"), 120, 90, mask)
    return "Z:" + os.path.join(folder, "steel.bmp").replace("/", "\\"), body


def choose_in_dialog(windows_path):
    dialog = poll(lambda: (windows_named("^Oooh a new skin! :\\)$") or [None])[0], 10, what="the file dialog")
    xdotool("type", "--delay", "20", windows_path)
    xdotool("key", "Return")
    poll(lambda: dialog not in windows_named("^Oooh a new skin! :\\)$"), 10, what="the dialog to close")


def case_user_skin_from_the_dialog_and_back(launch):
    folder = tempfile.mkdtemp(prefix="huebrick-skin-")
    try:
        windows_path, body = masked_skin(folder)
        program = start(launch)
        program.key("ctrl+u")
        choose_in_dialog(windows_path)
        poll(lambda: program.geometry()[2:] == (100, 72), 10, what="the window at the user skin's size")
        poll(lambda: window_pixels(Screen(), program)(30, 20) == (255, 255, 255), 5, what="the display filled")
        path = screenshot("skin-user")
        at = window_pixels(Screen(), program)
        expect_equal(body, at(2, 60), "the user skin's body (%s)" % path)
        expect_equal((250, 250, 250), at(65, 6), "its close button")

        keys_again(program, (2, 60), "ctrl+d")
        poll(lambda: program.geometry()[2:] == (WIDTH, HEIGHT), 10, what="the built-in size again")
        poll(lambda: window_pixels(Screen(), program)(40, 40) == (255, 255, 255), 5, what="the display filled")
        screenshot("skin-back-to-built-in")
        keys_again(program, (2, 100), "ctrl+u")
        choose_in_dialog(windows_path)
        poll(lambda: program.geometry()[2:] == (100, 72), 10, what="the user skin again")
        keys_again(program, (2, 60), "ctrl+q")
        expect_equal(0, program.exit_code(), "exit code")
        expect_equal(("REG_SZ", windows_path), reg_query().get("skinFileName"), "saved skin")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def case_the_shipped_sample_skin_takes_its_masks_shape(launch):
    sample = os.path.join(ROOT, "res", "sample", "prism.bmp")
    reg_add("skinFileName", "REG_SZ", "Z:" + sample.replace("/", "\\"))
    program = start(launch)
    # The mask makes a 209 x 64 bar with a round lens, nothing like the built-in face.
    expect_equal((209, 64), program.geometry()[2:], "the sample skin's window size")
    poll(lambda: window_pixels(Screen(), program)(32, 20) == (255, 255, 255), 5, what="the lens filled")
    screenshot("skin-prism")
    # Its own hit areas: the red column's lower key lowers red.
    program.click(82, 36)
    program.wait_title("FE FF FF - Huebrick")
    program.key("ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")


def dropped(program, path, point=(2, 60)):
    """Drops a file on the window from outside, as a file manager would, at a point of its body."""
    wx, wy, _, _ = program.geometry()
    expect(xdnd.drop(program.window, wx + point[0], wy + point[1], [path]), "the window refused the drop of " + path)


def case_skins_dropped_from_outside_with_and_without_mask_and_a_broken_one(launch):
    folder = tempfile.mkdtemp(prefix="huebrick-drop-")
    try:
        windows_path, body = masked_skin(folder)
        broken = os.path.join(folder, "broken.bmp")
        with open(broken, "wb") as f:
            f.write(b"BM not a picture at all")
        # Without a mask a skin is the built-in arrangement: here the built-in face with red
        # and blue swapped (which keeps the magenta notches).
        width, height, face = read_bmp(os.path.join(ROOT, "res", "skin.bmp"))
        write_bmp(os.path.join(folder, "swapped.bmp"), width, height, lambda x, y: face(x, y)[::-1])
        program = start(launch)
        dropped(program, os.path.join(folder, "swapped.bmp"))
        poll(lambda: window_pixels(Screen(), program)(2, 5) == face(2, 5)[::-1], 10, what="the swapped face")
        at = window_pixels(Screen(), program)
        expect_equal((WIDTH, HEIGHT), program.geometry()[2:], "the size of a skin without mask")
        for x, y in ((40, 8), (20, 74), (41, 127), (70, 100)):
            expect_equal(face(x, y)[::-1], at(x, y), "the swapped face at %d,%d" % (x, y))

        dropped(program, os.path.join(folder, "steel.bmp"))
        poll(lambda: program.geometry()[2:] == (100, 72), 10, what="the window at the dropped skin's size")
        poll(lambda: window_pixels(Screen(), program)(30, 20) == (255, 255, 255), 5, what="the display filled")
        screenshot("skin-dropped")
        expect_equal(body, window_pixels(Screen(), program)(2, 60), "the dropped skin's body")

        dropped(program, broken)
        box = poll(lambda: (windows_named("^Huebrick - Error$") or [None])[0], 10, what="the error message")
        # Behind the message the built-in face is already back on the screen, whole.
        expect_equal((WIDTH, HEIGHT), program.geometry()[2:], "the size behind the message")
        path = screenshot("skin-drop-refused")
        wx, wy, _, _ = program.geometry()
        out = run("xdotool", "getwindowgeometry", "--shell", str(box)).stdout
        g = dict(line.split("=") for line in out.split())
        bx, by, bw, bh = (int(g[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        covered = lambda x, y: bx <= wx + x < bx + bw and by <= wy + y < by + bh
        wrong = face_mismatches(window_pixels(Screen(), program), lambda x, y: None, None,
                                lambda x, y: covered(x, y) or in_notch(x, y))
        expect(not wrong, "%d pixels beside the message are not the built-in face, first %r (see %s)"
               % (len(wrong), wrong[:5], path))
        xdotool("windowfocus", box)
        xdotool("key", "Return")
        poll(lambda: not windows_named("^Huebrick - Error$"), 5, what="the message to close")
        keys_again(program, (2, 100), "ctrl+q")
        expect_equal(0, program.exit_code(), "exit code")
        expect_equal(("REG_SZ", ""), reg_query().get("skinFileName"), "no skin saved after the failure")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def case_the_splash_turned_off_and_on(launch):
    # Ctrl+P turns the splash on and shows it at once; on the next start it shows first.
    program = start(launch)
    program.wait_title("FF FF FF - Huebrick")
    poll(lambda: window_pixels(Screen(), program)(40, 40) == (255, 255, 255), 5, what="the white display")
    _, _, skin = read_bmp(os.path.join(ROOT, "res", "skin.bmp"))
    splash_pixel = skin(40, 40)
    expect(splash_pixel != (255, 255, 255), "the splash picture must differ from white at 40,40")
    program.key("ctrl+p")
    poll(lambda: window_pixels(Screen(), program)(40, 40) == splash_pixel, 5, what="the splash after Ctrl+P")
    poll(lambda: window_pixels(Screen(), program)(40, 40) == (255, 255, 255), 5, what="the colour after the splash")
    keys_again(program, (2, 100), "ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")
    expect_equal(("REG_DWORD", 1), reg_query().get("splashScreen"), "splash saved on")

    # Ctrl+P while the splash shows changes nothing; once it has ended it turns the splash off.
    program = launch()
    poll(lambda: window_pixels(Screen(), program)(40, 40) == splash_pixel, 5, what="the splash at start")
    program.key("ctrl+p")
    poll(lambda: window_pixels(Screen(), program)(40, 40) == (255, 255, 255), 5, what="the colour after the splash")
    keys_again(program, (2, 100), "ctrl+p")
    keys_again(program, (2, 60), "ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")
    expect_equal(("REG_DWORD", 0), reg_query().get("splashScreen"), "splash saved off")

    # Off: the first picture of the next start already shows the colour.
    program = launch()
    expect_equal((255, 255, 255), window_pixels(Screen(), program)(40, 40), "the display at once")
    program.key("ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")

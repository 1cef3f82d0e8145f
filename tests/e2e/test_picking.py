"""Picking on the real screen in every display mode: each zoom size and averaging size chosen
from the menu, the split display's upper and lower halves, and a magnified image that persists.

The target is a test window of four colours meeting at the screen point (300, 250): the pointer
sits on the first pixel of the bottom-right quadrant, so every magnified view has the quadrants'
corner exactly at the top-left of the pointer's block, and every averaging square takes known
numbers of pixels from each quadrant."""

import contextlib
import time

from harness import Screen, TestWindow, expect, expect_equal, poll, reg_add, reg_query, screenshot, xdotool

TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT = (0x10, 0x20, 0x30), (0x40, 0x50, 0x60), (0x70, 0x80, 0x90), \
    (0xA0, 0xB0, 0xC0)
CORNER = (300, 250)
GREY = (0x80, 0x80, 0x80)
DISPLAY, UPPER, LOWER = (18, 20, 65, 60), (18, 20, 65, 40), (18, 40, 65, 60)
RED = (255, 0, 0)


def quadrants():
    rgb = tuple(r << 16 | g << 8 | b for r, g, b in (TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT))
    return TestWindow(CORNER[0] - 100, CORNER[1] - 100, 200, 200, rgb, "picking target")


def title_of(rgb):
    return "%02X %02X %02X - Huebrick" % rgb


def start(launch, **settings):
    reg_add("splashScreen", "REG_DWORD", 0)
    reg_add("colorHistory", "REG_BINARY", "80808000")
    for name, value in settings.items():
        reg_add(name, "REG_DWORD", value)
    program = launch()
    program.wait_title(title_of(GREY))
    return program


def choose(program, *keys):
    """Opens the menu with a right click on the body and chooses an item by keys."""
    xdotool("windowfocus", program.window)
    program.click(2, 100, 3)
    xdotool("key", "--delay", "40", *keys, "Return")


def zoom_item(z):
    return ("t", "z") + ("Down",) * [1, 2, 4, 8, 16].index(z)


def averaging_item(n):
    return ("t", "a") + ("Down",) * [1, 3, 9, 21].index(n)


@contextlib.contextmanager
def picking(program, x, y, started=None):
    """Holds the left button at a point of the window and lets it go at the end (accepting the
    pick). started() tells when the pick has begun; without it the hold just outlasts the
    program's 100 ms wait before a pick."""
    wx, wy, _, _ = program.geometry()
    xdotool("mousemove", wx + x, wy + y, "mousedown", 1)
    try:
        if started:
            poll(started, 5, 0.05, "the pick to begin")
        else:
            time.sleep(0.3)
        yield wx, wy
    finally:
        xdotool("mouseup", 1)


def shows(program, box, expected):
    """Whether every pixel of the window's box is expected(x, y) on the screen now; expected
    may be one colour."""
    screen = Screen()
    wx, wy, _, _ = program.geometry()
    colour = expected if callable(expected) else (lambda x, y: expected)
    return all(screen.pixel(wx + x, wy + y) == colour(x, y) for y in range(box[1], box[3])
               for x in range(box[0], box[2]))


def magnified(left, top, centre, marker):
    """What a magnified view of the corner shows at x, y: the pointer's block starts at left,
    top; the marker, when drawn, is at centre."""
    def at(x, y):
        if marker and (x, y) == centre:
            return RED
        return ((TOP_LEFT, TOP_RIGHT), (BOTTOM_LEFT, BOTTOM_RIGHT))[y >= top][x >= left]
    return at


def mean(n):
    """The truncated mean of the n x n square at the corner: n // 2 columns and rows lie left of
    and above it."""
    before, after = n // 2, n - n // 2
    weights = ((TOP_LEFT, before * before), (TOP_RIGHT, after * before), (BOTTOM_LEFT, before * after),
               (BOTTOM_RIGHT, after * after))
    return tuple(sum(c[i] * w for c, w in weights) // (n * n) for i in range(3))


def close(program):
    xdotool("windowfocus", program.window)
    xdotool("key", "ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")


def case_every_zoom_size_magnifies_the_pointers_pixel_into_its_block(launch):
    quadrants()
    program = start(launch, splitScreen=0)
    for z in (1, 2, 4, 8, 16):
        choose(program, *zoom_item(z))
        with picking(program, 41, 40, lambda: shows(program, (41, 40, 42, 41), RED)):
            xdotool("mousemove", *CORNER)
            program.wait_title(title_of(BOTTOM_RIGHT))
            # The pointer's pixel is the z x z block centred on the display's centre (41, 40).
            view = magnified(41 - z // 2, 40 - z // 2, (41, 40), True)
            poll(lambda: shows(program, DISPLAY, view), 5, 0.05, "the %dx view of the corner" % z)
            screenshot("pick-zoom-%d" % z)
        poll(lambda: shows(program, DISPLAY, BOTTOM_RIGHT), 5, 0.05, "the display filled after the %dx pick" % z)
    close(program)
    expect_equal(("REG_DWORD", 16), reg_query().get("zoomFactor"), "saved zoom")


def case_every_averaging_size_takes_the_mean_of_its_square(launch):
    quadrants()
    program = start(launch, splitScreen=0, zoomFactor=0)
    for n in (1, 3, 9, 21):
        choose(program, *averaging_item(n))
        with picking(program, 41, 40):
            xdotool("mousemove", *CORNER)
            program.wait_title(title_of(mean(n)))
            # Without magnification the whole display shows the colour during the pick.
            poll(lambda: shows(program, DISPLAY, mean(n)), 5, 0.05, "the display in the %d x %d mean" % (n, n))
        program.wait_title(title_of(mean(n)))
    close(program)
    expect_equal(("REG_DWORD", 21), reg_query().get("antiDitherTol"), "saved averaging size")
    history = reg_query()["colorHistory"][1]
    expect_equal([GREY] + [mean(n) for n in (1, 3, 9, 21)],
                 [tuple(history[i:i + 3]) for i in range(0, len(history), 4)], "each pick recorded once")


def case_split_upper_half_shows_the_colour_and_keeps_the_lower(launch):
    quadrants()
    program = start(launch, zoomFactor=4)
    with picking(program, 41, 30):
        xdotool("mousemove", *CORNER)
        program.wait_title(title_of(BOTTOM_RIGHT))
        poll(lambda: shows(program, UPPER, BOTTOM_RIGHT), 5, 0.05, "the upper half in the colour")
        expect(shows(program, LOWER, GREY), "the lower half changed during an upper-half pick")
    poll(lambda: shows(program, DISPLAY, BOTTOM_RIGHT), 5, 0.05, "the whole display filled at the end")
    close(program)


def case_split_lower_half_without_zoom_shows_the_single_pixel(launch):
    quadrants()
    program = start(launch, zoomFactor=0, antiDitherTol=21)
    with picking(program, 41, 50):
        xdotool("mousemove", *CORNER)
        # The colour is the average; the lower half shows the one pixel under the pointer.
        program.wait_title(title_of(mean(21)))
        poll(lambda: shows(program, LOWER, BOTTOM_RIGHT), 5, 0.05, "the lower half in the pointer's pixel")
        expect(shows(program, UPPER, GREY), "the upper half changed during a lower-half pick")
    poll(lambda: shows(program, DISPLAY, mean(21)), 5, 0.05, "the whole display in the average at the end")
    close(program)


def case_zoom_persists_keeps_the_image_to_pick_from(launch):
    quadrants()
    program = start(launch, zoomFactor=4, stickyZoom=1)
    # A pick in the lower half only moves the magnifier: no marker, the colour stays.
    view = magnified(41 - 2, 50 - 2, None, False)
    with picking(program, 41, 50):
        xdotool("mousemove", *CORNER)
        poll(lambda: shows(program, LOWER, view), 5, 0.05, "the magnified corner without a marker")
        expect_equal(title_of(GREY), program.title(), "the title during a persisting pick")
    time.sleep(0.2)
    expect(shows(program, LOWER, view), "the magnified image did not stay after the pick")
    expect(shows(program, UPPER, GREY), "the upper half changed")
    screenshot("pick-zoom-persists")

    # A pick begun in the upper half reads that kept image.
    with picking(program, 41, 30) as (wx, wy):
        for (x, y), colour in (((60, 56), BOTTOM_RIGHT), ((20, 42), TOP_LEFT), ((60, 42), TOP_RIGHT)):
            xdotool("mousemove", wx + x, wy + y)
            program.wait_title(title_of(colour))
            poll(lambda: shows(program, UPPER, colour), 5, 0.05, "the upper half in the picked colour")
    time.sleep(0.2)
    expect(shows(program, LOWER, view), "the kept image changed after the second pick")
    close(program)
    expect_equal(("REG_DWORD", 1), reg_query().get("stickyZoom"), "saved zoom persists")

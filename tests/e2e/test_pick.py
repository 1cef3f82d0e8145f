"""Picking: zoom and averaging sizes from the menu, zoom persists. The pointer sits where the target's
four quadrants meet: views and means are exact."""

import contextlib
import time

from harness import DISPLAY, RED, plain_window, popup, expect, expect_equal, history, poll, screenshot, start, \
    visible_windows, xdotool

QUADRANTS = TOP_LEFT, TOP_RIGHT, BOTTOM_LEFT, BOTTOM_RIGHT = (16, 32, 48), (64, 80, 96), (112, 128, 144), \
    (160, 176, 192)
CORNER = (300, 250)
GREY = (0x80, 0x80, 0x80)
UPPER, LOWER = (18, 20, 65, 40), (18, 40, 65, 60)


def grey_start(**settings):
    plain_window(200, 150, 200, 200, "picking target", *QUADRANTS)
    program = start(colorHistory=bytes(GREY + (0,)), **settings)
    program.wait_title(GREY)
    return program


@contextlib.contextmanager
def picking(program, x, y, marker=False):
    """Holds the left button at a point of the window: until the marker shows there, or past the delay of a pick."""
    with program.hold(x, y) as place:
        if marker:
            poll(lambda: program.shows((x, y, x + 1, y + 1), RED), "the marker at %d,%d" % (x, y))
        else:
            time.sleep(0.3)
        yield place


def magnified(left, top, marker=None):
    """A magnified view of the corner whose pointer block starts at left, top."""
    return lambda x, y: RED if (x, y) == marker else ((TOP_LEFT, TOP_RIGHT), (BOTTOM_LEFT, BOTTOM_RIGHT))[
        y >= top][x >= left]


def mean(n):
    """The truncated mean of the n x n square at the corner, n // 2 columns and rows left of and above it."""
    a, b = n // 2, n - n // 2
    weights = ((TOP_LEFT, a * a), (TOP_RIGHT, b * a), (BOTTOM_LEFT, a * b), (BOTTOM_RIGHT, b * b))
    return tuple(sum(c[i] * w for c, w in weights) // (n * n) for i in range(3))


def pick_corner(program, corner, z, n, shot=None):
    """A pick from the display's centre at a corner: held, the pointer's pixel is the z x z block there.
    shot names a screenshot taken meanwhile (the README shows some)."""
    with picking(program, 41, 40, marker=True):
        xdotool("mousemove", *corner)
        program.wait_title(mean(n))
        poll(lambda: program.shows(DISPLAY, magnified(41 - z // 2, 40 - z // 2, (41, 40))), "the %dx view" % z)
        if shot:
            screenshot(shot)
    poll(lambda: program.shows(DISPLAY, mean(n)), "the display filled after the pick, %dx, %d x %d" % (z, n, n))
    time.sleep(0.6)     # the next press on the display this soon would be a double click: a paste


def case_each_zoom_and_averaging_size():
    program = grey_start(splitScreen=0)
    # (menu, its item, zoom, averaging): each zoom size, then each averaging size at the last zoom; items
    # chosen by keys
    sizes = [("z", i, z, 1) for i, z in enumerate((1, 2, 4, 8, 16))]
    sizes += [("a", i, 16, n) for i, n in ((1, 3), (2, 9), (3, 21))]
    for i, (menu, downs, z, n) in enumerate(sizes):
        program.key()                   # the menu from the keyboard, then of a right click on the body
        if i < 2:
            before = visible_windows()
            # X focus, not the pointer. Shift is held a moment first: F10 without it is the system menu.
            keys = [["keydown", "shift", "sleep", "0.1", "key", "F10", "keyup", "shift"], ["key", "Menu"]][i]
            xdotool("windowfocus", program.window, *keys)
            popup("the menu at the window", lambda g: g[:2] == program.geometry()[:2], before)
        else:
            program.click(2, 100, 3)
        xdotool("key", "--delay", 40, "t", menu, *["Down"] * downs, "Return")
        pick_corner(program, CORNER, z, n, "pick" if (z, n) == (4, 1) else None)
    values = program.close()
    expect_equal((16, 21), (values["zoomFactor"], values["antiDitherTol"]), "saved zoom and averaging")
    expect_equal([GREY, BOTTOM_RIGHT, mean(3), mean(9), mean(21)], history(values), "each pick recorded once")


def case_zoom_persists():
    # A pick in the lower half only moves the magnifier, without marker or colour; the image
    # stays, and a pick begun in the upper half reads it, showing the colour in that half. (The
    # halves of an ordinary pick are the Wine lane's.)
    program = grey_start(zoomFactor=4, stickyZoom=1)
    view = magnified(39, 48)
    with picking(program, 41, 50) as (wx, wy):
        xdotool("mousemove", *CORNER)
        poll(lambda: program.shows(LOWER, view), "the magnified corner without a marker")
    time.sleep(0.2)
    expect(program.shows(LOWER, view) and program.shows(UPPER, GREY), "the image or the colour changed")
    with picking(program, 41, 30):
        for (x, y), colour in (((20, 42), TOP_LEFT), ((60, 56), BOTTOM_RIGHT), ((60, 42), TOP_RIGHT)):
            xdotool("mousemove", wx + x, wy + y)
            program.wait_title(colour)
            poll(lambda: program.shows(UPPER, colour), "the upper half in the picked colour")
    time.sleep(0.2)
    expect(program.shows(LOWER, view), "the kept image changed after a pick from it")
    expect_equal([GREY, TOP_RIGHT], history(program.close()), "each pick recorded once")

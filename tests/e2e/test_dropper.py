"""The mouse on the real program: a click on each channel button, a held one that repeats
faster and faster, scrubbing off the button, the eye-dropper's magnified view of another window,
a pick in the split display's lower half, and copying the colour with a right click."""

import contextlib
import time

from harness import (Screen, TestWindow, clipboard, expect, expect_equal, poll, reg_add, reg_query,
                     screenshot, set_clipboard, xdotool)


def grey_start(launch, *settings):
    reg_add("splashScreen", "REG_DWORD", 0)
    reg_add("colorHistory", "REG_BINARY", "80808000")
    for name, value in settings:
        reg_add(name, "REG_DWORD", value)
    program = launch()
    program.wait_title("80 80 80 - Huebrick")
    return program


@contextlib.contextmanager
def left_button_held(x, y):
    """Presses the left button at a screen point and always lets it go again."""
    xdotool("mousemove", x, y, "mousedown", 1)
    try:
        yield
    finally:
        xdotool("mouseup", 1)


def red_of(title):
    return int(title.split()[0], 16)


def press_keys(program, *keys):
    # A click does not take the keyboard focus from another process's window here; this does.
    xdotool("windowfocus", program.window)
    poll(lambda: xdotool("getwindowfocus").stdout.strip() == str(program.window), what="the keyboard focus")
    xdotool("key", "--delay", "30", *keys)


def close_and_read_history(program):
    press_keys(program, "ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")
    kind, data = reg_query()["colorHistory"]
    return [tuple(data[i:i + 3]) for i in range(0, len(data), 4)]


def case_holding_more_red_steps_at_once_then_faster(launch):
    program = grey_start(launch)
    wx, wy, _, _ = program.geometry()
    changes = []            # (seconds since the press, red) at each change seen
    with left_button_held(wx + 60, wy + 74):
        start = time.monotonic()
        red = 0x80
        while time.monotonic() - start < 1.2:
            now = red_of(program.title())
            if now != red:
                red = now
                changes.append((time.monotonic() - start, red))
    print("title changes (s, red):", [(round(t, 3), r) for t, r in changes])
    expect(changes, "holding More Red changed nothing")
    expect_equal(0x81, changes[0][1], "the first step comes at once, alone")
    steps = changes[-1][1] - 0x80
    expect(steps >= 8, "only %d steps in about a second" % steps)
    # The repeat speeds up: the last 0.4 s hold more steps than the first 0.4 s.
    early = max([r for t, r in changes if t <= 0.4] + [0x80]) - 0x80
    late = changes[-1][1] - max([r for t, r in changes if t <= 0.8] + [0x80])
    expect(late > early, "no acceleration: %d steps early, %d late" % (early, late))
    final = red_of(program.title())
    expect(final - changes[-1][1] <= 1, "steps after the last one seen: %d then %d" % (changes[-1][1], final))
    time.sleep(0.3)     # a few repeat intervals: none may come after the release
    expect_equal(final, red_of(program.title()), "red after the release")
    history = close_and_read_history(program)
    expect_equal([(0x80, 0x80, 0x80), (final, 0x80, 0x80)], history, "one history entry for the whole press")


def case_a_click_on_each_channel_button_steps_once(launch):
    program = grey_start(launch)
    steps = (((60, 74), "81 80 80"), ((23, 74), "80 80 80"), ((60, 86), "80 81 80"), ((23, 86), "80 80 80"),
             ((60, 98), "80 80 81"), ((23, 98), "80 80 80"), ((73, 116), "81 81 81"), ((10, 116), "80 80 80"))
    for (x, y), title in steps:
        program.click(x, y)
        program.wait_title(title + " - Huebrick")
    history = close_and_read_history(program)
    expect_equal([(0x80, 0x80, 0x80)] + [tuple(int(v, 16) for v in t.split()) for _, t in steps], history,
                 "one history entry a click")


def case_dragging_off_the_button_scrubs_the_channel(launch):
    program = grey_start(launch)
    wx, wy, _, _ = program.geometry()
    with left_button_held(wx + 60, wy + 74):
        # The press steps at once; the move must come after it has been handled, since the
        # program takes the pointer's movement from where the press found it.
        program.wait_title("81 80 80 - Huebrick")
        xdotool("mousemove", wx + 80, wy + 74)
        poll(lambda: red_of(program.title()) >= 0x80 + 21, what="red to rise by the 20 pixels")
        red = red_of(program.title())
        # One step at the press, +20 for the move; a repeat before the move could add one or two.
        expect(0x80 + 21 <= red <= 0x80 + 23, "red after scrubbing +20: %02X" % red)
        xdotool("mousemove", wx + 80, wy + 64)
        poll(lambda: red_of(program.title()) == red + 10, what="red to rise by 10 for moving up")
        xdotool("mousemove", wx + 60, wy + 74)      # back on the button: scrubbing pauses, no repeat
        time.sleep(0.4)
        expect_equal(red + 10, red_of(program.title()), "red once back on the button")
    history = close_and_read_history(program)
    expect_equal([(0x80, 0x80, 0x80), (red + 10, 0x80, 0x80)], history, "history after scrubbing")


def marker_shows(x, y):
    return Screen().pixel(x, y) == (255, 0, 0)


def case_magnified_view_shows_the_pointer_area_with_the_marker(launch):
    TestWindow(300, 200, 100, 100, 0x33CC66, "dropper zoom target")
    program = grey_start(launch, ("zoomFactor", 4), ("splitScreen", 0))
    wx, wy, _, _ = program.geometry()
    before = Screen()
    expect(before.pixel(299, 250) != (0x33, 0xCC, 0x66), "the place left of the target must differ from it")
    with left_button_held(wx + 41, wy + 40):
        poll(lambda: marker_shows(wx + 41, wy + 40), 5, 0.05, "the magnifier's red marker")
        xdotool("mousemove", 300, 250)      # on the target's first column
        program.wait_title("33 CC 66 - Huebrick")
        check_magnified_target(before, wx, wy)
        press_keys(program, "Escape")   # Escape ends the pick without keeping the colour
        program.wait_title("80 80 80 - Huebrick")
    history = close_and_read_history(program)
    expect_equal([(0x80, 0x80, 0x80)], history, "Escape recorded nothing")


def check_magnified_target(before, wx, wy):
    # The view: each screen pixel a 4 x 4 block; the pointer's block is 39..42 x 38..41 with the
    # marker at the centre 41,40; the target to its right, the background to its left.
    poll(lambda: Screen().pixel(wx + 44, wy + 40) == (0x33, 0xCC, 0x66), 5, 0.05, "the magnified target")
    path = screenshot("dropper-zoom-4")
    screen = Screen()
    expect_equal((255, 0, 0), screen.pixel(wx + 41, wy + 40), "the marker")
    for x, y in ((39, 38), (42, 41), (40, 40), (44, 40), (63, 22), (60, 58)):
        expect_equal((0x33, 0xCC, 0x66), screen.pixel(wx + x, wy + y), "target block at %d,%d" % (x, y))
    # Every display pixel shows the screen pixel it magnifies, as the screen was before.
    wrong = []
    for y in range(20, 60):
        for x in range(18, 65):
            if (x, y) == (41, 40):
                continue
            source = (300 - 8 + (x - 7) // 4, 250 - 8 + (y - 6) // 4)
            if screen.pixel(wx + x, wy + y) != before.pixel(*source):
                wrong.append((x, y, screen.pixel(wx + x, wy + y), before.pixel(*source)))
    expect(not wrong, "%d display pixels differ from the magnified screen, first %r" % (len(wrong), wrong[:3]))
    print("zoom screenshot:", path)


def case_split_display_picks_in_the_lower_half(launch):
    TestWindow(200, 150, 120, 90, 0xC03010, "dropper split target")
    program = grey_start(launch, ("zoomFactor", 2))
    wx, wy, _, _ = program.geometry()
    with left_button_held(wx + 41, wy + 50):
        poll(lambda: marker_shows(wx + 41, wy + 50), 5, 0.05, "the marker in the lower half")
        xdotool("mousemove", 250, 200)
        program.wait_title("C0 30 10 - Huebrick")
        poll(lambda: Screen().pixel(wx + 30, wy + 55) == (0xC0, 0x30, 0x10), 5, 0.05, "the magnified target")
        expect_equal((0x80, 0x80, 0x80), Screen().pixel(wx + 41, wy + 30), "the upper half keeps the old colour")
    poll(lambda: Screen().pixel(wx + 41, wy + 30) == (0xC0, 0x30, 0x10), 5, 0.05, "the whole display after the pick")
    history = close_and_read_history(program)
    expect_equal([(0x80, 0x80, 0x80), (0xC0, 0x30, 0x10)], history, "the pick recorded once")


def case_right_click_copies_the_colour_text(launch):
    reg_add("splashScreen", "REG_DWORD", 0)
    reg_add("colorHistory", "REG_BINARY", "33669900")
    program = launch()
    program.wait_title("33 66 99 - Huebrick")
    for (x, y), text in (((41, 30), "336699"), ((40, 74), "051"), ((41, 116), "66"), ((41, 50), "336699")):
        set_clipboard("before")
        poll(lambda: clipboard() == "before", what="the clipboard to take the test text")
        program.click(x, y, 3)
        poll(lambda: clipboard() == text, what="%r on the clipboard after a right click at %d,%d" % (text, x, y))
    press_keys(program, "ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")

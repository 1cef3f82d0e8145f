"""Mixing a colour with the keys and the channel buttons: what steps, what the history records,
undo and redo across a restart, a held key or button, scrubbing."""

import time

from harness import WHITE, expect, expect_equal, history, poll, start, xdotool

GREY = (0x80, 0x80, 0x80)


def case_keys_step_record_and_undo_across_a_restart():
    program = start()
    program.key("r", "r", "r")
    program.wait_title("FC FF FF")
    expect_equal((252, 255, 255), program.at()(41, 30), "colour display")
    program.key("shift+g", "b")         # green is at 255 already: nothing new to record
    program.wait_title("FC FF FE")
    program.key("Left", "Down", "Up")   # the arrows step all three and record nothing
    program.wait_title("FB FE FD")
    expect_equal([WHITE, (254, 255, 255), (253, 255, 255), (252, 255, 255), (252, 255, 254)],
                 history(program.close()), "history: one entry a key press")

    program = start()
    program.wait_title("FC FF FE")
    program.key("ctrl+z", "ctrl+z")
    program.wait_title("FD FF FF")
    program.key("ctrl+shift+z")
    program.wait_title("FC FF FF")
    xdotool("keydown", "r")             # the server repeats the key while it is down
    try:
        poll(lambda: int(program.title()[:2], 16) <= 0xF9, lambda: "auto-repeat (title %r)" % program.title(), 10)
    finally:
        xdotool("keyup", "r")
    program.key("ctrl+f")               # handled after the key-up: the colour is final once the title is decimal
    poll(lambda: "," in program.title(), "the decimal title")
    red = int(program.title().split(",")[0])
    # the new colour drops the one that could have been redone
    expect_equal([WHITE, (254, 255, 255), (253, 255, 255), (252, 255, 255), (red, 255, 255)],
                 history(program.close()), "history after undo, redo and a held key")


def case_channel_buttons_click_hold_and_scrub():
    program = start(colorHistory=bytes(GREY + (0,)))
    red_of = lambda program: int(program.title().split()[0], 16)
    steps = (((60, 74), "81 80 80"), ((23, 74), "80 80 80"), ((60, 86), "80 81 80"), ((23, 86), "80 80 80"),
             ((60, 98), "80 80 81"), ((23, 98), "80 80 80"), ((73, 116), "81 81 81"), ((10, 116), "80 80 80"))
    for point, title in steps:
        program.click(*point)
        program.wait_title(title)
    expected = [GREY] + [tuple(int(v, 16) for v in title.split()) for _, title in steps]

    # Holding More Red steps at once, then repeats (its schedule is proved natively; that the release
    # ends it, in the Wine lane).
    with program.hold(60, 74):
        program.wait_title("81 80 80")
        poll(lambda: red_of(program) >= 0x86, "the held button to repeat")
    time.sleep(0.2)                     # the release reaches the program
    held = red_of(program)

    # Dragging off the button scrubs: one step a pixel right or up; back on the button it pauses.
    with program.hold(60, 74) as (wx, wy):
        program.wait_title("%02X 80 80" % (held + 1))   # the press steps first; the move must come after
        xdotool("mousemove", wx + 80, wy + 74)
        poll(lambda: red_of(program) >= held + 21, "red to rise by the 20 pixels")
        red = red_of(program)           # a repeat before the move could add one or two
        expect(held + 21 <= red <= held + 23, "red after scrubbing +20: %02X" % red)
        xdotool("mousemove", wx + 80, wy + 64)
        poll(lambda: red_of(program) == red + 10, "red to rise by 10 for moving up")
        xdotool("mousemove", wx + 60, wy + 74)
        time.sleep(0.4)
        expect_equal(red + 10, red_of(program), "red once back on the button")
    expect_equal(expected + [(held, 0x80, 0x80), (red + 10, 0x80, 0x80)], history(program.close()),
                 "history: one entry a click, a hold, a scrub")

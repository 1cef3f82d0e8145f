"""At 192 dpi (LogPixels, read by each program at its start): the window at its saved place and
twice the size, each skin pixel 2 x 2 screen pixels; a pick takes the pixel under the pointer, a
click on a doubled button acts, and the place saved is the window's own."""

import time

from harness import HEIGHT, SKIN, WIDTH, expect, expect_equal, mismatches, plain_window, run, screenshot, start, xdotool

DESKTOP = r"HKCU\Control Panel\Desktop"
LEFT, RIGHT = (16, 32, 48), (64, 80, 96)


def case_doubled_window_picks_clicks_and_keeps_its_place():
    run("wine", "reg", "add", DESKTOP, "/v", "LogPixels", "/t", "REG_DWORD", "/d", 192, "/f")
    try:
        plain_window(300, 250, 2, 2, "two pixels", LEFT, RIGHT)
        program = start(xPos=100, yPos=60, colorHistory=bytes((0x80, 0x80, 0x80, 0)))
        expect_equal((100, 60, 2 * WIDTH, 2 * HEIGHT), program.geometry(), "the window doubled at its place")
        xdotool("mousemove", 5, 5)
        wrong = mismatches(program.at(), (0, 244, 2 * WIDTH, 2 * HEIGHT),
                           lambda x, y: None if SKIN[y // 2][x // 2] == (255, 0, 255) else SKIN[y // 2][x // 2])
        expect(not wrong, "%d pixels of the bottom strip differ, first %r" % (len(wrong), wrong[:4]))
        with program.hold(82, 60):      # the upper display
            time.sleep(0.3)
            xdotool("mousemove", 301, 250)
            program.wait_title(RIGHT)
            screenshot("scaled")
        program.click(120, 148)         # More Red
        program.wait_title((RIGHT[0] + 1,) + RIGHT[1:])
        values = program.close()
        expect_equal((100, 60), (values["xPos"], values["yPos"]), "the place saved")
    finally:
        run("wine", "reg", "delete", DESKTOP, "/v", "LogPixels", "/f", check=False)

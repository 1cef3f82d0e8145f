"""The skin: the built-in face pixel by pixel with its see-through notches, the splash and its
toggle; user skins from the file dialog and the setting (drops are the Wine lane's)."""

import os
import tempfile

from harness import (DISPLAY, HEIGHT, ROOT, SKIN, WHITE, WIDTH, bmp, expect, expect_equal, geometry,
                     mismatches, poll, screen, screenshot, start, windows_named, xdotool)

FIELDS = [(27, 69, 54, 80), (27, 81, 54, 92), (27, 93, 54, 104), (17, 112, 65, 121)]


def expect_face(program, face=SKIN, desktop=None, display=WHITE, hidden=lambda x, y: False):
    """The window is the face (texts left out, snap latched), the display in its colour and the desktop
    in the notches, the skin's magenta (each when given)."""
    xdotool("mousemove", 5, 5)          # away from the window: no tooltip over it
    def expected(x, y):
        inside = lambda box: box[0] <= x < box[2] and box[1] <= y < box[3]
        return None if any(map(inside, FIELDS)) or hidden(x, y) else desktop and desktop(x, y) \
            if SKIN[y][x] == (255, 0, 255) else display if inside(DISPLAY) else \
            face[y][x + WIDTH] if inside((6, 5, 19, 15)) else face[y][x]
    wrong = mismatches(program.at(), (0, 0, WIDTH, HEIGHT), expected)
    expect(not wrong, "%d pixels differ from the face, first %r" % (len(wrong), wrong[:4]))


def case_built_in_face_and_splash():
    xdotool("mousemove", 5, 5)
    desktop = screen()
    program = start(fresh=True)
    poll(lambda: program.shows(DISPLAY, lambda x, y: SKIN[y][x]), "the splash picture in the display")
    program.key("ctrl+p")               # while the splash shows it changes nothing
    poll(lambda: program.shows(DISPLAY, WHITE), "the white display after the splash")
    expect_face(program, desktop=program.at(desktop))

    program.key("ctrl+p")               # off, then on: shown at once
    program.key("ctrl+p")
    poll(lambda: program.shows(DISPLAY, lambda x, y: SKIN[y][x]), "the splash after Ctrl+P")
    poll(lambda: program.shows(DISPLAY, WHITE), "the colour after the splash")
    program.key("ctrl+p")
    expect_equal(0, program.close()["splashScreen"], "splash saved off")


def choose(program, path):
    """Opens a skin in the file dialog (Ctrl+U) by typing its Windows path."""
    program.key("ctrl+u")
    poll(lambda: windows_named("^Oooh a new skin! :\\)$"), "the file dialog", 10)
    xdotool("type", "--delay", 20, "Z:" + path.replace("/", "\\"))
    xdotool("key", "Return")


def case_user_skins_from_the_dialog_and_the_setting():
    with tempfile.TemporaryDirectory(prefix="huebrick-skin-") as folder:
        prism = os.path.join(ROOT, "res", "sample", "prism.bmp")
        program = start()
        choose(program, prism)
        poll(lambda: program.geometry()[2:] == (209, 64), "the window at the sample skin's size", 10)
        expect_equal("Z:" + prism.replace("/", "\\"), program.close()["skinFileName"], "saved skin")

        program = start()               # the shipped sample skin comes back with its mask's shape
        expect_equal((209, 64), program.geometry()[2:], "the sample skin's window size")
        screenshot("prism")
        poll(lambda: program.at()(32, 20) == WHITE, "the lens filled")
        program.click(82, 36)           # its own hit areas: the red column's lower key
        program.wait_title("FE FF FF")

        with open(os.path.join(folder, "broken.bmp"), "wb") as f:
            f.write(b"BM not a picture at all")
        choose(program, os.path.join(folder, "broken.bmp"))
        box = poll(lambda: windows_named("^Huebrick - Error$"), "the error message", 10)[0]
        # behind the message the built-in face is back, whole (and at its size)
        (bx, by, bw, bh), (wx, wy, _, _) = geometry(box), program.geometry()
        expect_face(program, display=None, hidden=lambda x, y: bx <= wx + x < bx + bw and by <= wy + y < by + bh)
        xdotool("windowfocus", box)
        xdotool("key", "Return")
        poll(lambda: not windows_named("^Huebrick - Error$"), "the message to close")

        # Without a mask a skin takes the built-in arrangement: here red and blue swapped.
        swapped = [[c[::-1] for c in row] for row in SKIN]
        bmp.write(os.path.join(folder, "swapped.bmp"), swapped)
        choose(program, os.path.join(folder, "swapped.bmp"))
        poll(lambda: program.at()(2, 5) == swapped[5][2], "the swapped face", 10)
        expect_face(program, swapped, display=(254, 255, 255))
        program.key("ctrl+d")
        poll(lambda: program.at()(2, 5) == SKIN[5][2], "the built-in skin again")
        expect_equal("", program.close()["skinFileName"], "no skin saved after Ctrl+D")

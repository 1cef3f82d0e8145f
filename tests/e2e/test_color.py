"""The colour on the real program from the keyboard and the X clipboard, and its history."""

import subprocess

from harness import Failure, Screen, clipboard, expect, expect_equal, poll, reg_add, reg_query, xdotool

WHITE = (255, 255, 255)


def start(launch):
    reg_add("splashScreen", "REG_DWORD", 0)
    program = launch()
    # One click to focus: the harness's key() and type() click again each time, and two
    # clicks on the body close together are a double click, which minimises the window.
    program.focus()
    return program


def keys(*names):
    xdotool("key", "--delay", "30", *names)


def typed(text):
    xdotool("type", "--delay", "30", text)


def saved_history():
    """The colorHistory value as a list of (r, g, b), oldest first."""
    kind, data = reg_query().get("colorHistory", (None, b""))
    expect_equal("REG_BINARY", kind, "colorHistory type")
    expect(len(data) % 4 == 0, "colorHistory length %d" % len(data))
    return [tuple(data[i:i + 3]) for i in range(0, len(data), 4)]


def close(program):
    keys("ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")


def display_pixel(program, x=41, y=30):
    wx, wy, _, _ = program.geometry()
    return Screen().pixel(wx + x, wy + y)


def offer(program, text):
    """Puts text on the X clipboard for a paste. Wine takes an X clipboard change over a
    moment later, and a paste before that reads what Wine held: so first the program copies
    its own colour, which pasted again changes nothing, and owns the X clipboard with it."""
    expect(copy_text(program.title()) != text, "offered text %r is what the program copies" % text)
    take_clipboard_back(program)
    # xclip stays behind to serve the text; with the test's output open it would hold the
    # test runner up until the display ends
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text, text=True, check=True, timeout=10,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def take_clipboard_back(program):
    """The program copies its colour, which also ends the xclip that served the last offer."""
    copied = copy_text(program.title())
    keys("ctrl+c")
    poll(lambda: clipboard().rstrip("\0") == copied, 5, what="%r on the X clipboard" % copied)


def copy_text(title):
    """What Copy puts on the clipboard for a title: the title's values without blanks and, in
    the decimal form, without leading zeros."""
    values = title[:-len(" - Huebrick")].replace(",", " ").split()
    if "," not in title:
        return "".join(values)
    if "." in title:
        return ",".join(values)
    return ",".join(str(int(v)) for v in values)


def paste(program, text, expected_title, key="ctrl+v"):
    """Pastes text and waits for its colour; pastes again while Wine still has the old text."""
    offer(program, text)

    def pasted():
        keys(key)
        try:
            poll(lambda: program.title() == expected_title, 0.5, what=expected_title)
            return True
        except Failure:
            return False
    poll(pasted, 10, interval=0, what="the paste of %r (title %r)" % (text, program.title()))


def case_typed_letters_step_and_record_each_press(launch):
    program = start(launch)
    typed("rrr")
    program.wait_title("FC FF FF - Huebrick")
    expect_equal((252, 255, 255), display_pixel(program), "colour display")
    typed("G")      # green is at 255 already: the press still records, but nothing new
    typed("b")
    program.wait_title("FC FF FE - Huebrick")
    close(program)
    # every press ends with its key-up, and each key-up records the colour
    expect_equal([WHITE, (254, 255, 255), (253, 255, 255), (252, 255, 255), (252, 255, 254)], saved_history(),
                 "history")


def case_a_held_key_repeats_and_records_once(launch):
    program = start(launch)
    xdotool("keydown", "r")
    try:
        program.wait_title("FE FF FF - Huebrick")   # the first character steps at once
        # the server's auto-repeat sends more characters while the key stays down
        poll(lambda: int(program.title()[:2], 16) <= 0xFB, 10, what="auto-repeat (title %r)" % program.title())
    finally:
        xdotool("keyup", "r")
    # Ctrl+F goes through the queue after the key-up: once the title is decimal, the
    # key-up has been handled and the colour is final.
    keys("ctrl+f")
    poll(lambda: "," in program.title(), 5, what="the decimal title")
    red = int(program.title().split(",")[0])
    expect(red <= 0xFB, "red after the held key: %d" % red)
    close(program)
    expect_equal([WHITE, (red, 255, 255)], saved_history(), "one entry for the whole hold")


def case_undo_and_redo_keys(launch):
    program = start(launch)
    typed("rg")
    program.wait_title("FE FE FF - Huebrick")
    keys("ctrl+z")
    program.wait_title("FE FF FF - Huebrick")
    keys("ctrl+z")
    program.wait_title("FF FF FF - Huebrick")
    keys("ctrl+z")      # at the oldest colour: stays
    keys("ctrl+shift+z")
    program.wait_title("FE FF FF - Huebrick")
    keys("ctrl+shift+z")
    program.wait_title("FE FE FF - Huebrick")
    expect_equal((254, 254, 255), display_pixel(program), "colour display after redo")
    # a new colour after an undo drops the redo colours
    keys("ctrl+z")
    typed("b")
    program.wait_title("FE FF FE - Huebrick")
    keys("ctrl+shift+z")
    close(program)
    expect_equal([WHITE, (254, 255, 255), (254, 255, 254)], saved_history(), "history")


def case_ctrl_f_cycles_the_title_through_the_three_forms(launch):
    program = start(launch)
    typed("rrr")
    program.wait_title("FC FF FF - Huebrick")
    for title in ("252, 255, 255 - Huebrick", "0.99, 1.00, 1.00 - Huebrick", "FC FF FF - Huebrick"):
        keys("ctrl+f")
        program.wait_title(title)
    keys("ctrl+f")
    program.wait_title("252, 255, 255 - Huebrick")
    close(program)
    expect_equal(("REG_DWORD", 1), reg_query().get("colorFormat"), "saved format")


def case_copy_puts_the_selected_form_on_the_x_clipboard(launch):
    program = start(launch)
    typed("rrr")
    program.wait_title("FC FF FF - Huebrick")
    for text, next_title in (("FCFFFF", "252, 255, 255 - Huebrick"), ("252,255,255", "0.99, 1.00, 1.00 - Huebrick"),
                             ("0.99,1.00,1.00", "FC FF FF - Huebrick")):
        keys("ctrl+c")
        poll(lambda: clipboard().rstrip("\0") == text, 5, what="%r on the X clipboard (have %r)" % (text, clipboard()))
        keys("ctrl+f")
        program.wait_title(next_title)
    close(program)


def case_paste_from_the_x_clipboard_sets_colour_and_form(launch):
    program = start(launch)
    forms = (("12,34,56", "012, 034, 056", (12, 34, 56)), ("0080ff", "00 80 FF", (0, 128, 255)),
             ("1.00, 0.50, 0.00", "1.00, 0.50, 0.00", (255, 127, 0)), ("0xFF8000", "FF 80 00", (255, 128, 0)),
             ("ff", "00 00 FF", (0, 0, 255)), (" 255 ,128, 0 ", "255, 128, 000", (255, 128, 0)),
             ("1,0.5,0", "1.00, 0.50, 0.00", (255, 127, 0)), ("10 20 30", "010, 020, 030", (10, 20, 30)))
    for i, (text, title, colour) in enumerate(forms):
        paste(program, text, title + " - Huebrick", "shift+Insert" if i % 2 else "ctrl+v")
        expect_equal(colour, display_pixel(program), "colour display after pasting %r" % text)
    take_clipboard_back(program)
    close(program)
    expect_equal([WHITE] + [colour for _, _, colour in forms], saved_history(), "history")
    expect_equal(("REG_DWORD", 1), reg_query().get("colorFormat"), "saved format")


def case_a_refused_paste_changes_nothing(launch):
    program = start(launch)
    paste(program, "12,34,56", "012, 034, 056 - Huebrick")
    # The arrow keys after each paste mark that it has been handled.
    for refused in ("FF 80 00", "255,128", "#FF8000", "300,0,0", "12,34,56 - Huebrick", "255,128,0 7", "1.5,0,0",
                    "1234567"):
        offer(program, refused)
        for _ in range(3):
            keys("ctrl+v", "Left")
            program.wait_title("011, 033, 055 - Huebrick")
            keys("Right")
            program.wait_title("012, 034, 056 - Huebrick")
    take_clipboard_back(program)
    close(program)
    expect_equal([WHITE, (12, 34, 56)], saved_history(), "history")
    expect_equal(("REG_DWORD", 1), reg_query().get("colorFormat"), "saved format")


def case_the_history_survives_a_restart(launch):
    program = start(launch)
    typed("gg")
    program.wait_title("FF FD FF - Huebrick")
    close(program)
    program = start(launch)
    expect_equal("FF FD FF - Huebrick", program.title(), "title at the next start")
    expect_equal((255, 253, 255), display_pixel(program), "colour display at the next start")
    keys("ctrl+z")
    program.wait_title("FF FE FF - Huebrick")
    keys("ctrl+z")
    program.wait_title("FF FF FF - Huebrick")
    close(program)
    # the undone colours stay in the saved history
    expect_equal([WHITE, (255, 254, 255), (255, 253, 255)], saved_history(), "history")


def case_arrow_keys_step_all_three_without_recording(launch):
    program = start(launch)
    keys("Left", "Left", "Down")
    program.wait_title("FC FC FC - Huebrick")
    keys("Up", "Right")
    program.wait_title("FE FE FE - Huebrick")
    keys("Right", "Right")    # white mode stops at 255
    program.wait_title("FF FF FF - Huebrick")
    keys("Down")
    program.wait_title("FE FE FE - Huebrick")
    close(program)
    expect_equal([WHITE], saved_history(), "history")

"""Copy and paste through the X clipboard: Ctrl+F cycles the form, Ctrl+C copies it, a paste of
each form family sets colour and form, a right click copies. (What a paste refuses is the Wine lane's.)"""

from harness import WHITE, clipboard, expect_equal, history, poll, set_clipboard, start


def offer(program, text):
    """Puts text on the X clipboard. Wine sees an X clipboard change a moment late, pasting what it
    held: so the program first copies its colour (a paste of it changes nothing) and owns the clipboard."""
    set_clipboard("")
    program.key("ctrl+c")
    poll(clipboard, "the program's copy on the X clipboard")
    set_clipboard(text)


def paste(program, text, title, key="ctrl+v"):
    """Pastes text until the title shows its colour: Wine may still hold the last text."""
    offer(program, text)
    poll(lambda: program.key(key) or poll(lambda: program.title() == title + " - Huebrick", "", 0.5, quiet=True),
         lambda: "the paste of %r (title %r)" % (text, program.title()), 10)


def case_forms_copy_paste_and_right_click():
    program = start()
    program.key("r", "r", "r")
    program.wait_title("FC FF FF")
    for text, next_title in (("FCFFFF", "252, 255, 255"), ("252,255,255", "0.99, 1.00, 1.00"),
                             ("0.99,1.00,1.00", "FC FF FF")):
        program.key("ctrl+c")
        poll(lambda: clipboard() == text, lambda: "%r on the X clipboard (have %r)" % (text, clipboard()))
        program.key("ctrl+f")
        program.wait_title(next_title)

    # One paste of each form family sets the colour and takes its form.
    pastes = (("1, 0.5, 0", "1.00, 0.50, 0.00", (255, 127, 0)), ("0x0080ff", "00 80 FF", (0, 128, 255)),
              ("12,34,56", "012, 034, 056", (12, 34, 56)))
    for i, (text, title, colour) in enumerate(pastes):
        paste(program, text, title, "shift+Insert" if i == 1 else "ctrl+v")
        expect_equal(colour, program.at()(41, 30), "colour display after pasting %r" % text)

    # A right click copies what is under the pointer: the colour, or one field's text.
    for (x, y), text in (((41, 30), "12,34,56"), ((40, 74), "012"), ((41, 116), "22")):
        set_clipboard("before")
        poll(lambda: clipboard() == "before", "the clipboard to take the test text")
        program.click(x, y, 3)
        poll(lambda: clipboard() == text, "%r on the clipboard after a right click at %d,%d" % (text, x, y))
    expect_equal([WHITE, (254, 255, 255), (253, 255, 255), (252, 255, 255)] + [c for _, _, c in pastes],
                 history(program.close()), "history")

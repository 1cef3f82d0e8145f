"""Start-up and shut-down of the real program: placement, closing, the settings written
at the close and read at the next start, the single-instance rule, the end of a session."""

import subprocess

from harness import (expect, expect_equal, poll, reg_add, reg_query, screenshot, display_size,
                     windows_named)

DEFAULTS = [
    ("alwaysOnTop", "REG_DWORD", 0), ("antiDitherTol", "REG_DWORD", 0), ("autoFormat", "REG_DWORD", 1),
    ("colorFormat", "REG_DWORD", 0), ("colorHistory", "REG_BINARY", bytes([0xFF, 0xFF, 0xFF, 0])),
    ("inSystemTray", "REG_DWORD", 0), ("showToolTips", "REG_DWORD", 1), ("singleInstance", "REG_DWORD", 0),
    ("skinFileName", "REG_SZ", ""), ("snapTol", "REG_DWORD", 8), ("splashScreen", "REG_DWORD", 1),
    ("splitScreen", "REG_DWORD", 1), ("stickyZoom", "REG_DWORD", 0), ("zoomFactor", "REG_DWORD", 0),
]


def case_first_start_opens_centred_and_close_saves_the_defaults(launch):
    program = launch()
    width, height = display_size()
    x, y, w, h = program.geometry()
    expect_equal((width // 2 - 41, height // 2 - 66, 83, 132), (x, y, w, h), "window geometry")
    expect_equal("FF FF FF - Huebrick", program.title(), "title")
    screenshot("startup")

    program.key("ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")
    values = reg_query()
    # Wine lists values by name; the order of writing is checked in the Wine lane.
    expect_equal(16, len(values), "number of values")
    for name, kind, value in DEFAULTS:
        expect_equal((kind, value), values.get(name), name)
    expect_equal(("REG_DWORD", x), values["xPos"], "xPos")
    expect_equal(("REG_DWORD", y), values["yPos"], "yPos")


def case_stored_values_come_back_unchanged(launch):
    for name, value in (("zoomFactor", 16), ("snapTol", 12), ("colorFormat", 7), ("xPos", 100), ("yPos", 60)):
        reg_add(name, "REG_DWORD", value)
    program = launch()
    expect_equal((100, 60), program.geometry()[:2], "stored position")
    # An unknown format shows the decimal texts.
    expect_equal("255, 255, 255 - Huebrick", program.title(), "title for format 7")
    program.key("ctrl+q")
    expect_equal(0, program.exit_code(), "exit code")
    values = reg_query()
    for name, value in (("zoomFactor", 16), ("snapTol", 12), ("colorFormat", 7), ("xPos", 100), ("yPos", 60)):
        expect_equal(("REG_DWORD", value), values.get(name), name)


def case_single_instance_lets_a_second_start_end_at_once(launch):
    reg_add("singleInstance", "REG_DWORD", 1)
    first = launch()
    second = launch(expect_window=False)
    expect_equal(0, second.exit_code(), "second start's exit code")
    expect_equal(1, len(windows_named(r" - Huebrick$")), "windows open")
    expect(first.running(), "the first instance still runs")
    first.key("ctrl+q")
    expect_equal(0, first.exit_code(), "exit code")


def case_without_single_instance_a_second_window_opens(launch):
    first = launch()
    second = launch(expect_window=False)
    second.window = second.wait_for_window(exclude=(first.window,))
    expect_equal(2, len(windows_named(r" - Huebrick$")), "windows open")
    second.key("ctrl+q")
    expect_equal(0, second.exit_code(), "second exit code")
    first.key("ctrl+q")
    expect_equal(0, first.exit_code(), "first exit code")


def case_the_end_of_a_session_keeps_its_colours(launch):
    reg_add("splashScreen", "REG_DWORD", 0)
    program = launch()
    program.type("rr")
    program.wait_title("FD FF FF - Huebrick")
    # Logoff ends the process right after WM_ENDSESSION, without WM_DESTROY.
    subprocess.run(["wineboot", "--end-session"], timeout=30, capture_output=True)
    poll(lambda: not program.running(), 10, what="the program to end")
    values = reg_query()
    # Each typed letter steps and records on its key-up.
    expect_equal(("REG_BINARY", bytes([0xFF, 0xFF, 0xFF, 0, 0xFE, 0xFF, 0xFF, 0, 0xFD, 0xFF, 0xFF, 0])),
                 values.get("colorHistory"), "history saved at logoff")

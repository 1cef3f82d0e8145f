"""Starting and ending: the first start centred, the defaults saved at the close and read back,
a second start with and without the single-instance rule, the end of a session."""

import subprocess

import harness
from harness import (HEIGHT, QUIET, WIDTH, Program, display_size, dpi, expect_equal, history, poll, registry,
                     screenshot, start, tray, visible_windows, windows_named, xdotool)

DEFAULTS = dict(alwaysOnTop=0, antiDitherTol=0, autoFormat=1, colorFormat=0, colorHistory=bytes.fromhex("FFFFFF00"),
                inSystemTray=0, showToolTips=1, singleInstance=0, skinFileName="", snapTol=8, splashScreen=1,
                splitScreen=1, stickyZoom=0, zoomFactor=0)


def case_first_start_stored_values_single_instance_and_logoff():
    program = start(fresh=True)
    x, y = display_size()[0] // 2 - 41, display_size()[1] // 2 - 66
    expect_equal((x, y, 83, 132), program.geometry(), "first start's geometry, centred")
    screenshot("window")
    expect_equal(dict(DEFAULTS, xPos=x, yPos=y), program.close(), "values saved at the first close")

    # Stored values come back and are saved unchanged (an unknown format too). At
    # 192 dpi the window is twice the size at the same place (the Wine lane's ScaledTest proves
    # presses and picks at each factor).
    stored = dict(zoomFactor=16, snapTol=12, colorFormat=7, xPos=100, yPos=60)
    dpi(192)
    program = start(**stored)
    expect_equal((100, 60, 2 * WIDTH, 2 * HEIGHT), program.geometry(), "stored place, doubled")
    xdotool("mousemove", 5, 5)
    screenshot("scaled")
    second = start()                # without the single-instance rule a second window opens
    second.close()
    values = program.close()
    dpi(96)
    expect_equal(stored, {name: values[name] for name in stored}, "stored values saved again")

    program = start(singleInstance=1, colorHistory=DEFAULTS["colorHistory"])
    second = Program(["wine", harness.EXE])
    poll(lambda: not second.running(), "a second start to end under the single-instance rule", 10)
    expect_equal(0, second.process.returncode, "its exit code")
    expect_equal([program.window], windows_named(" - Huebrick$"), "windows open")
    # It brings the first back when that one is minimised, or hidden in the tray.
    # (Minimised, Wine parks it at the screen's bottom left.)
    place = program.geometry()
    for keys in (["ctrl+m"], ["ctrl+t", "ctrl+m"]):
        if "ctrl+t" in keys:            # the tray's window, coming up, can take the keys: let it first
            program.key("ctrl+t")
            poll(lambda: tray() and not program.focused(), "", 1, quiet=True)
        program.key("ctrl+m")
        poll(lambda: program.window not in visible_windows() or program.geometry() != place, "the window to go")
        second = Program(["wine", harness.EXE])
        poll(lambda: not second.running(), "the second start to end", 10)
        poll(lambda: program.window in visible_windows() and program.geometry() == place,
             "the first window back after a second start, after %r" % keys)

    program.key("r", "r")
    program.wait_title("253, 255, 255")
    # Logoff ends the process right after WM_ENDSESSION, without WM_DESTROY.
    subprocess.run(["wineboot", "--end-session"], timeout=30, **QUIET)
    poll(lambda: not program.running(), "the program to end at logoff", 10)
    expect_equal([(255, 255, 255), (254, 255, 255), (253, 255, 255)], history(registry()), "history saved at logoff")

"""The window: dragged it docks to another window and the screen's edges (or, snapping off, does not);
always on top; a tooltip; the about box; tray mode."""

import os

from harness import (HEIGHT, ROOT, SKIN, WIDTH, bmp, display_size, expect, expect_equal, geometry, mismatches,
                     plain_window, poll, popup, screen, start, tray, visible_windows, xdotool)

GRAB = (40, 64)             # a point of the body, away from every button and tool


def drag_through(program, moves):
    """Drags the window by its body through (unsnapped place, expected place, what), button held."""
    with program.hold(*GRAB) as (x, y):
        x, y = x + GRAB[0], y + GRAB[1]
        for (left, top), expected, what in moves:
            tx, ty = left + GRAB[0], top + GRAB[1]
            for i in range(1, 7):
                xdotool("mousemove", x + (tx - x) * i // 6, y + (ty - y) * i // 6)
            x, y = tx, ty
            poll(lambda: program.geometry()[:2] == expected, lambda: "%s: the window at %r, not %r" % (
                what, expected, program.geometry()[:2]))


def case_snapping_and_always_on_top():
    # A real drag docks to another window and the work area; each side and distance is proven natively.
    width, height = display_size()
    plain_window(200, 150, 150, 200, "Huebrick snap target", (0x33, 0x66, 0xCC))
    program = start()
    drag_through(program, [
        ((355, 180), (350, 180), "5 px right: docked to its right edge"),
        ((345, 181), (350, 181), "5 px over it: still docked"),
        ((width - WIDTH - 6, height - HEIGHT - 4), (width - WIDTH, height - HEIGHT), "the bottom right corner"),
        ((width - WIDTH - 9, height - HEIGHT - 9), (width - WIDTH - 9, height - HEIGHT - 9), "9 px from both")])
    program.key("ctrl+s", "ctrl+a")
    # the Snap button shows its released picture, Always on Top its pressed one (WIDTH to the right)
    poll(lambda: program.shows((6, 5, 19, 15), lambda x, y: SKIN[y][x]) and
         program.shows((22, 5, 35, 15), lambda x, y: SKIN[y][x + WIDTH]), "snap off, on top latched")
    drag_through(program, [(place, place, "snapping off") for place in ((353, 180), (5, 3), (240, 352))])
    values = program.close()
    expect_equal((240, 352, 0, 1), tuple(values[k] for k in ("xPos", "yPos", "snapTol", "alwaysOnTop")), "saved")


def case_tooltips_about_box_and_tray():
    width, height = display_size()
    program = start()
    xdotool("mousemove", 10, 700)
    before = visible_windows()
    wx, wy, _, _ = program.geometry()
    xdotool("mousemove", wx + 68, wy + 9)     # two small steps, as a hand coming to rest
    xdotool("mousemove", wx + 70, wy + 10)
    # The tip over Close: a light box with dark text.
    tip = popup("the tooltip over Close", lambda g: g[2] > g[3], before)
    (tx, ty, tw, th), pixel = geometry(tip), screen()
    inside = [sum(pixel(tx + i, ty + j)) for i in range(2, tw - 2) for j in range(2, th - 2)]
    expect(20 < sum(p < 200 for p in inside) < sum(p > 600 for p in inside), "no dark text on the light tip")
    xdotool("mousemove", wx + 38, wy + 29)    # over the display the tip goes
    xdotool("mousemove", wx + 40, wy + 30)
    poll(lambda: tip not in visible_windows(), "the tip to go over the display")
    xdotool("mousemove", 10, 700)

    # F2 opens the about box centred, showing its picture; F2, a click on it or Escape closes it.
    about = bmp.read(os.path.join(ROOT, "res", "about.bmp"))
    place = (width // 2 - 114, height // 2 - 59, 228, 118)
    for close_by in (("key", "F2"), ("mousemove", place[0] + 20, place[1] + 100, "click", 1), ("key", "Escape")):
        program.key("F2")
        box = popup("the about box", lambda g: g == place, before)
        pixel = screen()
        wrong = mismatches(lambda x, y: pixel(place[0] + x, place[1] + y), (0, 0, 228, 118), lambda x, y: about[y][x])
        expect(not wrong, "%d pixels differ from the about picture, first %r" % (len(wrong), wrong[:1]))
        xdotool(*close_by)
        poll(lambda: box not in visible_windows(), "the about box to close by %r" % (close_by,))

    # Tray mode: the icon; minimised the window hides, a double click on the icon brings it back.
    program.key("ctrl+t")
    icon = geometry(poll(tray, "the tray window"))
    ix, iy = icon[0] + 13, icon[1] + icon[3] - 13
    pixel = screen()
    expect(len({pixel(ix + dx, iy + dy) for dx in range(-6, 7) for dy in range(-6, 7)}) > 4, "no icon drawn")
    place = program.geometry()
    program.key("ctrl+m")
    poll(lambda: program.window not in visible_windows(), "the window to hide")
    xdotool("mousemove", ix, iy, "click", 3)        # a right click on the icon: the menu at the pointer
    menu = popup("the menu at the pointer", lambda g: g[:2] == (ix, iy))
    xdotool("mousemove", 600, 600, "click", 1)
    poll(lambda: menu not in visible_windows(), "the menu to close at a click elsewhere")
    xdotool("mousemove", ix, iy, "click", "--repeat", 2, "--delay", 80, 1)
    poll(lambda: program.window in visible_windows(), "the window to come back")
    expect_equal(place, program.geometry(), "place after coming back")
    expect_equal(1, program.close()["inSystemTray"], "saved inSystemTray")
    program = start()
    poll(tray, "the tray icon at the next start")
    program.key("ctrl+t")
    poll(lambda: tray() is None, "the icon to go")

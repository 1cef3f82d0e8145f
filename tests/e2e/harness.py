"""Drives the real huebrick.exe under Wine and Xvfb (set up by scripts/test.sh): start, close, keys,
clicks, its title, the screen, the X clipboard, the registry. Waits poll; asserts name the caller's line."""

import contextlib
import os
import re
import subprocess
import sys
import time
import traceback

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import bmp  # noqa: E402

KEY = r"HKCU\Software\Vexel\Huebrick"
SHOTS = os.environ.get("HUEBRICK_SHOTS", os.path.join(os.getcwd(), "e2e-shots"))
EXE = TEST_WINDOW_EXE = None    # set by run_case.py
started = []                    # every process a case started; run_case.py ends those left running
SKIN = bmp.read(os.path.join(ROOT, "res", "skin.bmp"))      # SKIN[y][x]; pressed pictures WIDTH to the right
WIDTH, HEIGHT = 83, 132
DISPLAY = (18, 20, 65, 60)      # the colour display's box in the built-in skin
WHITE, RED = (255, 255, 255), (255, 0, 0)
QUIET = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)   # Wine's helpers keep pipes open


class Skipped(Exception):
    """A case that cannot run under this Wine; run_case.py prints why."""


WINE = os.environ.get("HUEBRICK_WINE", "8")     # the Wine the lane runs under (scripts/test.sh)


def fail(message):
    caller = next(f for f in reversed(traceback.extract_stack()) if f.filename != __file__)
    raise AssertionError("%s:%d: %s" % (os.path.basename(caller.filename), caller.lineno, message))


def expect(condition, message):
    if not condition:
        fail(message)


def expect_equal(expected, actual, what):
    if expected != actual:
        fail("%s: expected %r, got %r" % (what, expected, actual))


def poll(condition, what, timeout=5.0, interval=0.02, quiet=False):
    """condition()'s first true value; what (or what()) names it when it does not come (quiet: None)."""
    end = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > end:
            return None if quiet else fail("timed out waiting for " + (what() if callable(what) else what))
        time.sleep(interval)
    return value


def run(*args, check=True):
    result = subprocess.run([str(a) for a in args], capture_output=True, text=True, timeout=60)
    if check and result.returncode:
        raise AssertionError("%s failed: %s" % (" ".join(map(str, args)), result.stderr.strip()))
    return result.stdout.strip()


def xdotool(*args):
    return run("xdotool", *args)


def reg_add(**values):
    for name, v in values.items():
        kind = {int: "REG_DWORD", bytes: "REG_BINARY", str: "REG_SZ"}[type(v)]
        run("wine", "reg", "add", KEY, "/v", name, "/t", kind, "/d", v.hex() if kind == "REG_BINARY" else v, "/f")


def dpi(value):     # the display's DPI for programs started from now on (scripts/wine-env.sh)
    subprocess.run(["bash", "-c", '. "$0"/scripts/wine-env.sh && wine_set_dpi "$1" "$2"', ROOT, str(value),
                    TEST_WINDOW_EXE], check=True, timeout=200, **QUIET)


def registry():
    read = dict(REG_DWORD=lambda d: int(d, 16), REG_BINARY=bytes.fromhex, REG_SZ=str)
    query = run("wine", "reg", "query", KEY, check=False)
    return {m[1]: read[m[2]](m[3].strip()) for m in re.finditer(r"^ {4}(\S+) {4}(REG_\w+) {4}?(.*)$", query, re.M)}


def history(values):
    return [tuple(values["colorHistory"][i:i + 3]) for i in range(0, len(values["colorHistory"]), 4)]


def display_size():
    """The whole X screen (xdotool's geometry is one monitor's when there are several)."""
    root = run("xwininfo", "-root")
    return tuple(int(re.search(name + r": *(\d+)", root).group(1)) for name in ("Width", "Height"))


def screen():
    """One grab of the whole screen, as pixel(x, y)."""
    raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], capture_output=True, check=True,
                         timeout=30).stdout
    width = display_size()[0]
    return lambda x, y: tuple(raw[(y * width + x) * 3:(y * width + x) * 3 + 3])


def screenshot(name):
    os.makedirs(SHOTS, exist_ok=True)
    run("import", "-window", "root", os.path.join(SHOTS, name + ".png"))
    return os.path.join(SHOTS, name + ".png")


def mismatches(pixel, box, expected):
    """The points (x, y, seen, expected) of box (left, top, right, bottom) where pixel is not expected (None: any)."""
    return [(x, y, pixel(x, y), expected(x, y)) for y in range(box[1], box[3]) for x in range(box[0], box[2])
            if expected(x, y) not in (None, pixel(x, y))]


def clipboard():
    return run("xclip", "-o", "-selection", "clipboard", check=False).rstrip("\0")


def set_clipboard(text):
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text, text=True, check=True, timeout=10, **QUIET)


def windows_named(pattern):
    return [int(w) for w in run("xdotool", "search", "--name", pattern, check=False).split()]


def tray():
    """The window Wine's explorer shows notification icons in when the display has no tray, or None:
    Wine 8 titles it "Wine System Tray", Wine 10 leaves its title empty."""
    return next(iter(int(w) for w in run("xdotool", "search", "--onlyvisible", "--class", r"^explorer\.exe$",
                                         check=False).split()), None)


def visible_windows():
    return set(int(w) for w in run("xdotool", "search", "--onlyvisible", "--class", ".", check=False).split())


def geometry(window):
    g = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", window).split())
    return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])


def popup(what, fits, before=frozenset()):
    """The first visible window, not among before, whose geometry (x, y, width, height) fits."""
    return poll(lambda: next((w for w in visible_windows() - before if fits(geometry(w))), None), what)


def start(fresh=False, **settings):
    """Starts huebrick.exe on the settings (and the splash off unless fresh); waits for its window."""
    reg_add(**settings if fresh else dict({"splashScreen": 0}, **settings))
    others = {p.window for p in started if p.running()}     # X gives a closed one's id out again
    program = Program(["wine", EXE])
    # Generous: Wine's own processes (the desktop, services) end a little after the last program and
    # start again with the next one, which on a busy machine can take many seconds.
    state = lambda: "running" if program.running() else "ended with %s" % program.process.returncode  # noqa: E731
    program.window = poll(lambda: next((w for w in windows_named(" - Huebrick$") if w not in others), None),
                          lambda: "the Huebrick window (the program %s)" % state(), 40)
    return program


class Program:
    def __init__(self, command):
        self.process, self.clicks, self.window = subprocess.Popen(command, **QUIET), 0, None
        started.append(self)

    def title(self):
        return xdotool("getwindowname", self.window)

    def wait_title(self, colour):
        colour = colour if isinstance(colour, str) else "%02X %02X %02X" % colour
        poll(lambda: self.title() == colour + " - Huebrick", lambda: "title %r (have %r)" % (colour, self.title()))

    def geometry(self):
        return geometry(self.window)

    def at(self, grab=None):
        """The screen's pixels, now or in a grab, in window coordinates."""
        pixel, (wx, wy, _, _) = grab or screen(), self.geometry()
        return lambda x, y: pixel(wx + x, wy + y)

    def shows(self, box, expected):
        """Whether every pixel of box is expected(x, y), or the colour expected."""
        return not mismatches(self.at(), box, expected if callable(expected) else lambda x, y: expected)

    def focused(self):
        return run("xdotool", "getwindowfocus", check=False) == str(self.window)

    def key(self, *keys):
        # After another program's window had the keys, a click activates ours as a user's would, and
        # the X focus is asked for (no window manager hands it back). Two points: a double click minimises.
        if not self.focused():
            self.clicks += 1
            self.click(2 + 6 * (self.clicks % 2), 2)
            xdotool("windowfocus", self.window)
        poll(self.focused, "the keyboard focus")
        if keys:
            xdotool("key", "--delay", 30, *keys)

    def click(self, x, y, button=1):
        wx, wy, _, _ = self.geometry()
        xdotool("mousemove", wx + x, wy + y, "click", button)

    @contextlib.contextmanager
    def hold(self, x, y):
        """Holds the left button down at a point of the window for the block; yields the window's place."""
        wx, wy, _, _ = self.geometry()
        xdotool("mousemove", wx + x, wy + y, "mousedown", 1)
        try:
            yield wx, wy
        finally:
            xdotool("mouseup", 1)

    def running(self):
        return self.process.poll() is None

    def close(self):
        self.key("ctrl+q")
        poll(lambda: not self.running(), "the program to end", 10)
        expect_equal(0, self.process.returncode, "exit code")
        return registry()

    def stop(self):
        self.process.kill()         # nothing if it has ended
        self.process.wait(10)


def keep_desktop():
    """Starts the hidden window that keeps Wine's desktop open (scripts/wine-env.sh) unless it runs."""
    subprocess.run(["bash", "-c", '. "$0"/scripts/wine-env.sh && wine_keep_desktop "$1"', ROOT, TEST_WINDOW_EXE],
                   check=True, timeout=200)


def plain_window(x, y, width, height, title, *colours):
    """A window of one colour (r, g, b), or of four quadrants (top left, top right, bottom left, bottom right)."""
    quadrants = "/".join("%02X%02X%02X" % c for c in (colours * 4)[:4])
    window = Program(["wine", TEST_WINDOW_EXE] + [str(a) for a in (x, y, width, height)] + [quadrants, title])
    poll(lambda: windows_named("^%s$" % re.escape(title)), "the test window " + title, 40)
    return window

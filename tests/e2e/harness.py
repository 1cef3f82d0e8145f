"""Drives the real huebrick.exe under Wine and Xvfb: starts and closes it, sends keys and clicks,
reads its title, the screen, the X clipboard and the registry. DISPLAY and WINEPREFIX come from
scripts/test.sh; every wait polls, none sleeps more than a few tens of milliseconds at a time.
The asserting helpers name the journey's line that called them."""

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
started = []                    # every process a case started; run_case.py ends those left
SKIN = bmp.read(os.path.join(ROOT, "res", "skin.bmp"))      # SKIN[y][x]: the built-in face
WIDTH, HEIGHT = 83, 132
WHITE, RED = (255, 255, 255), (255, 0, 0)


class Failure(AssertionError):
    pass


def fail(message):
    here = os.path.abspath(__file__)
    line = next(("%s:%d: " % (os.path.basename(f.filename), f.lineno) for f in reversed(traceback.extract_stack())
                 if os.path.abspath(f.filename) != here), "")
    raise Failure(line + message)


def expect(condition, message):
    if not condition:
        fail(message)


def expect_equal(expected, actual, what):
    if expected != actual:
        fail("%s: expected %r, got %r" % (what, expected, actual))


def poll(condition, what, timeout=5.0, interval=0.02):
    """condition()'s first true value; fails after timeout seconds."""
    end = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > end:
            fail("timed out waiting for " + (what() if callable(what) else what))
        time.sleep(interval)
    return value


def run(*args, check=True, **kw):
    result = subprocess.run([str(a) for a in args], capture_output=True, text=True, timeout=30, **kw)
    if check and result.returncode:
        raise Failure("%s failed: %s" % (" ".join(map(str, args)), result.stderr.strip()))
    return result.stdout.strip()


def xdotool(*args):
    return run("xdotool", *args)


def reg_add(**values):
    """Stores values: int as REG_DWORD, bytes as REG_BINARY, str as REG_SZ."""
    for name, v in values.items():
        kind = {int: "REG_DWORD", bytes: "REG_BINARY", str: "REG_SZ"}[type(v)]
        run("wine", "reg", "add", KEY, "/v", name, "/t", kind, "/d", v.hex() if kind == "REG_BINARY" else v, "/f")


def registry():
    """The program's values: REG_DWORD as int, REG_BINARY as bytes, REG_SZ as str."""
    values = {}
    for m in re.finditer(r"^ {4}(\S+) {4}(REG_\w+) {4}?(.*)$", run("wine", "reg", "query", KEY, check=False), re.M):
        kind, data = m.group(2), m.group(3).strip()
        values[m.group(1)] = int(data, 16) if kind == "REG_DWORD" else bytes.fromhex(data) if kind == "REG_BINARY" \
            else data
    return values


def history(values):
    data = values["colorHistory"]
    return [tuple(data[i:i + 3]) for i in range(0, len(data), 4)]


def title_of(rgb):
    return "%02X %02X %02X" % rgb


def display_size():
    return tuple(map(int, xdotool("getdisplaygeometry").split()))


def screen():
    """One grab of the whole screen: its pixel(x, y)."""
    raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], capture_output=True, check=True,
                         timeout=30).stdout
    width = display_size()[0]
    return lambda x, y: tuple(raw[(y * width + x) * 3:(y * width + x) * 3 + 3])


def screenshot(name):
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    run("import", "-window", "root", path)
    return path


def clipboard():
    return run("xclip", "-o", "-selection", "clipboard", check=False).rstrip("\0")


def set_clipboard(text):
    # xclip stays behind to serve the text: kept off our output, or ctest would wait for it
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text, text=True, check=True, timeout=10,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def windows_named(pattern):
    return [int(w) for w in run("xdotool", "search", "--name", pattern, check=False).split()]


def visible_windows():
    """The mapped Wine windows (each has a WM_CLASS)."""
    return set(int(w) for w in run("xdotool", "search", "--onlyvisible", "--class", ".", check=False).split())


def geometry(window):
    g = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", window).split())
    return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])


def start(fresh=False, **settings):
    """Starts huebrick.exe after storing settings (the splash off unless fresh) and waits for its
    window, one that no program still running has."""
    reg_add(**settings if fresh else dict({"splashScreen": 0}, **settings))
    program = Program()
    others = {p.window for p in started if isinstance(p, Program) and p.running()}   # X reuses ids of closed ones
    started.append(program)
    program.window = poll(lambda: next((w for w in windows_named(" - Huebrick$") if w not in others), None),
                          "the Huebrick window", 15)
    return program


class Program:
    def __init__(self):
        self.clicks = 0
        self.process = subprocess.Popen(["wine", EXE], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def title(self):
        return xdotool("getwindowname", self.window)

    def wait_title(self, colour):
        expected = colour + " - Huebrick"
        poll(lambda: self.title() == expected, lambda: "title %r (have %r)" % (expected, self.title()))

    def geometry(self):
        return geometry(self.window)

    def at(self, grab=None):
        """The screen's pixels (now, or of a grab) in window coordinates."""
        pixel, (wx, wy, _, _) = grab or screen(), self.geometry()
        return lambda x, y: pixel(wx + x, wy + y)

    def shows(self, box, expected):
        """Whether every pixel of box is expected(x, y) (or the colour expected) now."""
        at, colour = self.at(), expected if callable(expected) else (lambda x, y: expected)
        return all(at(x, y) == colour(x, y) for y in range(box[1], box[3]) for x in range(box[0], box[2]))

    def focused(self):
        return run("xdotool", "getwindowfocus", check=False) == str(self.window)     # fails at PointerRoot

    def key(self, *keys):
        """Keys to the window. A click on the body activates it, as a user would, when another
        program's window had the keyboard; the X focus is asked for too, since without a window
        manager a click does not take it back. The click alternates between two points of the
        top edge: two clicks in one place make a double click, which minimises."""
        if not self.focused():
            self.clicks += 1
            self.click(2 + 6 * (self.clicks % 2), 2)
            xdotool("windowfocus", self.window)
        poll(self.focused, "the keyboard focus")
        if keys:
            xdotool("key", "--delay", 30, *keys)

    def type(self, text):
        self.key()
        xdotool("type", "--delay", 30, text)

    def click(self, x, y, button=1):
        wx, wy, _, _ = self.geometry()
        xdotool("mousemove", wx + x, wy + y, "click", button)

    def running(self):
        return self.process.poll() is None

    def close(self):
        """Ctrl+Q, a clean exit, and the values it saved."""
        self.key("ctrl+q")
        try:
            expect_equal(0, self.process.wait(10), "exit code")
        except subprocess.TimeoutExpired:
            fail("the program did not end")
        return registry()

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait(10)


class TestWindow:
    """A plain window at a known place: of one colour 0xRRGGBB, or of four quadrants meeting at
    its centre for a tuple (top left, top right, bottom left, bottom right)."""

    def __init__(self, x, y, width, height, rgb, title="Huebrick test window"):
        colours = "/".join("%06X" % c for c in (rgb if isinstance(rgb, tuple) else (rgb,)))
        self.process = subprocess.Popen(["wine", TEST_WINDOW_EXE] + [str(a) for a in (x, y, width, height)] + [colours, title],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started.append(self)
        poll(lambda: windows_named("^%s$" % re.escape(title)), "the test window " + title, 15)

    stop = Program.stop
    running = Program.running

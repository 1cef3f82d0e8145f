"""Drives the real huebrick.exe under Wine and Xvfb: start and stop it, find its window,
send keys and clicks, read its title, the screen, the clipboard and the registry.

The environment (DISPLAY, WINEPREFIX) comes from scripts/test.sh. Every wait polls;
none sleeps longer than a few tens of milliseconds at a time."""

import os
import re
import subprocess
import time

KEY = r"HKCU\Software\Vexel\Huebrick"
TEST_WINDOW_EXE = None   # set by run_case.py
started = []             # helper programs a case started; run_case.py ends them
SHOTS = os.environ.get("HUEBRICK_SHOTS", os.path.join(os.getcwd(), "e2e-shots"))


class Failure(AssertionError):
    pass


def run(*args, check=True, timeout=30, **kw):
    result = subprocess.run(args, capture_output=True, text=True, timeout=timeout, **kw)
    if check and result.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(args), result.returncode, result.stderr.strip()))
    return result


def poll(condition, timeout=5.0, interval=0.02, what="condition"):
    """Returns condition()'s first true value, or fails after timeout seconds."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


def expect(condition, message):
    if not condition:
        raise Failure(message)


def expect_equal(expected, actual, what):
    if expected != actual:
        raise Failure("%s: expected %r, got %r" % (what, expected, actual))


# The registry

def reset_settings():
    run("wine", "reg", "delete", KEY, "/f", check=False)


def reg_add(name, kind, value):
    run("wine", "reg", "add", KEY, "/v", name, "/t", kind, "/d", str(value), "/f")


def reg_query():
    """The key's values as {name: (type, value)}; numbers as int, binary as bytes."""
    result = run("wine", "reg", "query", KEY, check=False)
    values = {}
    for line in result.stdout.splitlines():
        m = re.match(r"^\s{4}(\S+)\s{4}(REG_\w+)\s{4}?(.*)$", line)
        if not m:
            continue
        name, kind, data = m.group(1), m.group(2), m.group(3).strip()
        if kind == "REG_DWORD":
            values[name] = (kind, int(data, 16))
        elif kind == "REG_BINARY":
            values[name] = (kind, bytes.fromhex(data))
        else:
            values[name] = (kind, data)
    return values


# The screen

def display_size():
    w, h = run("xdotool", "getdisplaygeometry").stdout.split()
    return int(w), int(h)


def screenshot(name):
    """Saves the whole screen as a PNG and returns its path."""
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    run("import", "-window", "root", path)
    return path


class Screen:
    """One grab of the whole screen, read pixel by pixel."""

    def __init__(self):
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], capture_output=True,
                             check=True, timeout=30).stdout
        self.width, self.height = display_size()
        self.raw = raw

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])


def clipboard():
    return run("xclip", "-o", "-selection", "clipboard", check=False).stdout


def set_clipboard(text):
    # xclip stays behind to serve the selection: keep it off our output, or ctest waits for it.
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text, text=True, check=True, timeout=10,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def xdotool(*args):
    return run("xdotool", *[str(a) for a in args])


def windows_named(pattern):
    result = run("xdotool", "search", "--name", pattern, check=False)
    return [int(w) for w in result.stdout.split()]


class Program:
    """One running huebrick.exe."""

    def __init__(self, exe):
        self.exe = exe
        self.process = None
        self.window = None

    def start(self, expect_window=True, timeout=15):
        self.process = subprocess.Popen(["wine", self.exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if expect_window:
            self.window = self.wait_for_window(timeout)
        return self

    def wait_for_window(self, timeout=15, exclude=()):
        def found():
            ids = [w for w in windows_named(r" - Huebrick$") if w not in exclude]
            return ids[0] if ids else None
        return poll(found, timeout, what="the Huebrick window")

    def title(self):
        return run("xdotool", "getwindowname", str(self.window)).stdout.strip()

    def wait_title(self, expected, timeout=5):
        poll(lambda: self.title() == expected, timeout, what="title %r (have %r)" % (expected, self.title()))

    def geometry(self):
        out = run("xdotool", "getwindowgeometry", "--shell", str(self.window)).stdout
        g = dict(line.split("=") for line in out.split())
        return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])

    def focus(self):
        # A click on the frame's corner (body, no control) activates the window like a user
        # would; only when needed, since two clicks in a row make a double click (minimise).
        focused = run("xdotool", "getwindowfocus", check=False).stdout.strip()
        if focused == str(self.window):
            return
        wx, wy, _, _ = self.geometry()
        xdotool("mousemove", wx + 2, wy + 2, "click", 1)
        # Without a window manager a click on a window Wine counts as active already does not
        # bring the X focus back from another program's window: ask for it too.
        run("xdotool", "windowfocus", str(self.window), check=False)

    def key(self, *keys):
        self.focus()
        xdotool("key", "--delay", "30", *keys)

    def type(self, text):
        self.focus()
        xdotool("type", "--delay", "30", text)

    def click(self, x, y, button=1):
        """Clicks at a point in window coordinates."""
        wx, wy, _, _ = self.geometry()
        xdotool("mousemove", wx + x, wy + y, "click", button)

    def exit_code(self, timeout=10):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end")

    def running(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        """Ends the program if a case left it running (without saving)."""
        if self.running():
            self.process.kill()
            self.process.wait(10)


class TestWindow:
    """A plain window at a known place, from huebrick_testwindow.exe: of one colour 0xRRGGBB, or
    of four quadrants meeting at its centre for a tuple (top left, top right, bottom left,
    bottom right)."""

    def __init__(self, x, y, width, height, rgb, title="Huebrick test window"):
        self.title = title
        colours = "/".join("%06X" % c for c in (rgb if isinstance(rgb, tuple) else (rgb,)))
        self.process = subprocess.Popen(["wine", TEST_WINDOW_EXE, str(x), str(y), str(width), str(height),
                                         colours, title],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started.append(self)
        self.window = poll(lambda: (windows_named("^%s$" % re.escape(title)) or [None])[0], 15,
                           what="the test window")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)

"""Drops files on an X window the way a file manager does, through the XDND protocol.

Debian has no command-line tool for this, so this is a small XDND source written against libX11
through ctypes: it owns XdndSelection, sends XdndEnter, XdndPosition and XdndDrop to the target,
serves the text/uri-list the target asks for, and waits for XdndFinished.

usage: python3 xdnd.py X_WINDOW ROOT_X ROOT_Y FILE..."""

import ctypes
import ctypes.util
import os
import sys
import time
import urllib.parse

X = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")

Window = Atom = Time = ctypes.c_ulong
CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31
XDND_VERSION = 5


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", Window), ("requestor", Window),
                ("selection", Atom), ("target", Atom), ("property", Atom), ("time", Time)]


class SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", Time)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("request", SelectionRequest),
                ("notify", SelectionNotify), ("pad", ctypes.c_long * 24)]


X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XInternAtom.restype = Atom
X.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
X.XDefaultRootWindow.restype = Window
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XCreateSimpleWindow.restype = Window
X.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
X.XSetSelectionOwner.argtypes = [ctypes.c_void_p, Atom, Window, Time]
X.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
X.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int, ctypes.c_int,
                              ctypes.c_char_p, ctypes.c_int]
X.XPending.argtypes = [ctypes.c_void_p]
X.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
X.XFlush.argtypes = [ctypes.c_void_p]
X.XDestroyWindow.argtypes = [ctypes.c_void_p, Window]
X.XCloseDisplay.argtypes = [ctypes.c_void_p]


class DropFailed(Exception):
    pass


def uri_list(paths):
    return "".join("file://" + urllib.parse.quote(os.path.abspath(p)) + "\r\n" for p in paths).encode()


def drop(target, x, y, paths, timeout=10.0):
    """Drops the files at root point x, y on the X window target. Returns whether the target
    accepted the drop (its XdndFinished says so)."""
    display = X.XOpenDisplay(None)
    if not display:
        raise DropFailed("cannot open the display")
    atom = lambda name: X.XInternAtom(display, name.encode(), False)
    names = ("XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished", "XdndSelection",
             "XdndActionCopy", "text/uri-list", "XdndLeave")
    a = {name: atom(name) for name in names}
    data = uri_list(paths)
    source = X.XCreateSimpleWindow(display, X.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    X.XSetSelectionOwner(display, a["XdndSelection"], source, 0)

    def send(kind, *values):
        event = Event()
        event.client.type = CLIENT_MESSAGE
        event.client.window = target
        event.client.message_type = a[kind]
        event.client.format = 32
        for i, v in enumerate(values):
            event.client.l[i] = v
        X.XSendEvent(display, target, False, 0, ctypes.byref(event))
        X.XFlush(display)

    def serve(request):
        reply = Event()
        reply.notify.type = SELECTION_NOTIFY
        reply.notify.requestor = request.requestor
        reply.notify.selection = request.selection
        reply.notify.target = request.target
        reply.notify.time = request.time
        reply.notify.property = 0
        if request.target == a["text/uri-list"]:
            X.XChangeProperty(display, request.requestor, request.property, request.target, 8, 0,
                              data, len(data))
            reply.notify.property = request.property
        X.XSendEvent(display, request.requestor, False, 0, ctypes.byref(reply))
        X.XFlush(display)

    def wait_for(kind):
        """Serves selection requests until the target sends the client message kind."""
        end = time.monotonic() + timeout
        event = Event()
        while time.monotonic() < end:
            while X.XPending(display):
                X.XNextEvent(display, ctypes.byref(event))
                if event.type == SELECTION_REQUEST:
                    serve(event.request)
                elif event.type == CLIENT_MESSAGE and event.client.message_type == a[kind]:
                    return tuple(event.client.l)
            time.sleep(0.005)
        raise DropFailed("no %s from the target" % kind)

    try:
        send("XdndEnter", source, XDND_VERSION << 24, a["text/uri-list"], 0, 0)
        send("XdndPosition", source, 0, (x << 16) | y, 0, a["XdndActionCopy"])
        status = wait_for("XdndStatus")
        if not status[1] & 1:
            send("XdndLeave", source, 0)
            return False
        send("XdndDrop", source, 0, 0)
        finished = wait_for("XdndFinished")
        # Version 5 targets say in bit 0 whether they took the drop; older ones always did.
        return bool(finished[1] & 1) or finished[1] == 0
    finally:
        X.XDestroyWindow(display, source)
        X.XCloseDisplay(display)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    accepted = drop(int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4:])
    print("accepted" if accepted else "refused")
    sys.exit(0 if accepted else 1)

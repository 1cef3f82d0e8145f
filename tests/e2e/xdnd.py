"""Drops files on an X window the way a file manager does, through the XDND protocol: a small
XDND source against libX11 through ctypes (Debian has no tool for it). It owns XdndSelection,
sends XdndEnter, XdndPosition and XdndDrop, serves the text/uri-list the target asks for and
waits for XdndFinished."""

import ctypes
import ctypes.util
import os
import time
import urllib.parse

X = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
ulong, ptr = ctypes.c_ulong, ctypes.c_void_p
CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31
HEAD = [("type", ctypes.c_int), ("serial", ulong), ("send_event", ctypes.c_int), ("display", ptr)]


class ClientMessage(ctypes.Structure):
    _fields_ = HEAD + [("window", ulong), ("message_type", ulong), ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class Selection(ctypes.Structure):      # a SelectionRequest; a SelectionNotify lacks the owner
    _fields_ = HEAD + [("owner", ulong), ("requestor", ulong), ("selection", ulong), ("target", ulong),
                       ("property", ulong), ("time", ulong)]


class Notify(ctypes.Structure):
    _fields_ = HEAD + [("requestor", ulong), ("selection", ulong), ("target", ulong), ("property", ulong),
                       ("time", ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("request", Selection), ("notify", Notify),
                ("pad", ctypes.c_long * 24)]


X.XInternAtom.restype = X.XDefaultRootWindow.restype = X.XCreateSimpleWindow.restype = ulong
X.XOpenDisplay.restype = ptr
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XInternAtom.argtypes = [ptr, ctypes.c_char_p, ctypes.c_int]
X.XCreateSimpleWindow.argtypes = [ptr, ulong, ctypes.c_int, ctypes.c_int] + [ctypes.c_uint] * 3 + [ulong] * 2
X.XSendEvent.argtypes = [ptr, ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
X.XChangeProperty.argtypes = [ptr, ulong, ulong, ulong, ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
for name in ("XDefaultRootWindow", "XPending", "XFlush", "XCloseDisplay"):
    getattr(X, name).argtypes = [ptr]
X.XSetSelectionOwner.argtypes = [ptr, ulong, ulong, ulong]
X.XNextEvent.argtypes = [ptr, ctypes.POINTER(Event)]
X.XDestroyWindow.argtypes = [ptr, ulong]


def drop(target, x, y, paths, timeout=10.0):
    """Drops the files at root point x, y on the X window target; whether the target took them."""
    display = X.XOpenDisplay(None)
    a = {n: X.XInternAtom(display, n.encode(), False) for n in (
        "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished", "XdndSelection", "XdndActionCopy",
        "text/uri-list", "XdndLeave")}
    uris = "".join("file://" + urllib.parse.quote(os.path.abspath(p)) + "\r\n" for p in paths).encode()
    source = X.XCreateSimpleWindow(display, X.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    X.XSetSelectionOwner(display, a["XdndSelection"], source, 0)

    def send(to, event):
        X.XSendEvent(display, to, False, 0, ctypes.byref(event))
        X.XFlush(display)

    def message(kind, *values):
        event = Event()
        event.client.type, event.client.window, event.client.message_type, event.client.format = \
            CLIENT_MESSAGE, target, a[kind], 32
        for i, v in enumerate(values):
            event.client.l[i] = v
        send(target, event)

    def wait_for(kind):
        """Serves the target's requests for the file list until it sends the message kind."""
        end, event = time.monotonic() + timeout, Event()
        while time.monotonic() < end:
            while X.XPending(display):
                X.XNextEvent(display, ctypes.byref(event))
                if event.type == SELECTION_REQUEST:
                    r, reply = event.request, Event()
                    reply.notify.type, reply.notify.requestor, reply.notify.selection = SELECTION_NOTIFY, r.requestor, \
                        r.selection
                    reply.notify.target, reply.notify.time, reply.notify.property = r.target, r.time, 0
                    if r.target == a["text/uri-list"]:
                        X.XChangeProperty(display, r.requestor, r.property, r.target, 8, 0, uris, len(uris))
                        reply.notify.property = r.property
                    send(r.requestor, reply)
                elif event.type == CLIENT_MESSAGE and event.client.message_type == a[kind]:
                    return tuple(event.client.l)
            time.sleep(0.005)
        raise TimeoutError("no %s from the target" % kind)

    try:
        message("XdndEnter", source, 5 << 24, a["text/uri-list"], 0, 0)
        message("XdndPosition", source, 0, (x << 16) | y, 0, a["XdndActionCopy"])
        if not wait_for("XdndStatus")[1] & 1:
            message("XdndLeave", source, 0)
            return False
        message("XdndDrop", source, 0, 0)
        finished = wait_for("XdndFinished")[1]
        return bool(finished & 1) or finished == 0      # version 5 targets say in bit 0 whether they took it
    finally:
        X.XDestroyWindow(display, source)
        X.XCloseDisplay(display)

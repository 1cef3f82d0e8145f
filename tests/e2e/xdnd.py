"""Drops files on an X window as a file manager does, through XDND (Debian has no tool for it): owns
XdndSelection, sends XdndEnter, Position and Drop, serves the text/uri-list asked for, waits for XdndFinished."""

import ctypes
import ctypes.util
import os
import time
import urllib.parse

X = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
# An XEvent as 24 longs: on 64-bit X every field of the events used here takes one long. After type,
# serial, send_event and display come: ClientMessage window, message_type, format, data (5 longs);
# SelectionRequest owner, requestor, selection, target, property, time; SelectionNotify the same
# without owner.
Event = ctypes.c_long * 24
CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31
# Each function's result and arguments, one letter a type: a 64-bit display pointer or XID must not pass as int.
TYPES = dict(p=ctypes.c_void_p, x=ctypes.c_ulong, i=ctypes.c_int, l=ctypes.c_long, s=ctypes.c_char_p,
             e=ctypes.POINTER(Event))
for signature in ("p XOpenDisplay s", "x XInternAtom psi", "x XDefaultRootWindow p", "x XCreateSimpleWindow pxiiiiixx",
                  "i XSendEvent pxile", "i XChangeProperty pxxxiisi", "i XSetSelectionOwner pxxx", "i XNextEvent pe",
                  "i XDestroyWindow px", "i XPending p", "i XCloseDisplay p"):
    result, name, arguments = signature.split()
    getattr(X, name).restype, getattr(X, name).argtypes = TYPES[result], [TYPES[a] for a in arguments]


def drop(target, x, y, paths, timeout=10.0):
    """Drops the files at root point x, y on the X window target; whether the target took them."""
    display = X.XOpenDisplay(None)
    atom = lambda name: X.XInternAtom(display, name.encode(), False)
    uris = "".join("file://" + urllib.parse.quote(os.path.abspath(p)) + "\r\n" for p in paths).encode()
    source = X.XCreateSimpleWindow(display, X.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    X.XSetSelectionOwner(display, atom("XdndSelection"), source, 0)

    # sent on the next XPending, which flushes
    send = lambda to, *fields: X.XSendEvent(display, to, False, 0, ctypes.byref(Event(*fields)))
    message = lambda kind, *data: send(target, CLIENT_MESSAGE, 0, 0, 0, target, atom(kind), 32, source, *data)

    def wait_for(kind):
        """Serves the target's requests for the file list until it sends the message kind."""
        end, event = time.monotonic() + timeout, Event()
        while time.monotonic() < end:
            while X.XPending(display):
                X.XNextEvent(display, ctypes.byref(event))
                if event[0] == SELECTION_REQUEST:
                    requestor, selection, wanted, prop, when = event[5:10]     # text/uri-list, the one type offered
                    X.XChangeProperty(display, requestor, prop, wanted, 8, 0, uris, len(uris))
                    send(requestor, SELECTION_NOTIFY, 0, 0, 0, requestor, selection, wanted, prop, when)
                elif event[0] == CLIENT_MESSAGE and event[5] == atom(kind):
                    return event[7:12]
            time.sleep(0.005)
        raise TimeoutError("no %s from the target" % kind)

    try:
        message("XdndEnter", 5 << 24, atom("text/uri-list"), 0, 0)
        message("XdndPosition", 0, (x << 16) | y, 0, atom("XdndActionCopy"))
        if not wait_for("XdndStatus")[1] & 1:
            message("XdndLeave", 0)
            return False
        message("XdndDrop", 0, 0)
        finished = wait_for("XdndFinished")[1]
        return bool(finished & 1) or finished == 0      # version 5 targets say in bit 0 whether they took it
    finally:
        X.XDestroyWindow(display, source)
        X.XCloseDisplay(display)

// Drives the main window's pointer handlers the way the system does: the pointer is moved
// first (the handlers read GetCursorPos), then the message is sent with the window point.
#pragma once

#include <windows.h>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"

inline std::string hexColor(COLORREF c)
{
    char text[16];
    snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(c));
    return text;
}

inline POINT screenPoint(int x, int y)
{
    POINT p = { app.windowRect.left + x, app.windowRect.top + y };
    return p;
}

// Window coordinates as a mouse message carries them (each word unsigned).
inline LPARAM windowPoint(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

inline void sendPointer(HWND window, UINT message, WPARAM keys, int x, int y)
{
    POINT p = screenPoint(x, y);
    SetCursorPos(p.x, p.y);
    SendMessageA(window, message, keys, windowPoint(x, y));
}

inline void leftDown(HWND window, int x, int y) { sendPointer(window, WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
inline void leftMove(HWND window, int x, int y) { sendPointer(window, WM_MOUSEMOVE, MK_LBUTTON, x, y); }
inline void leftUp(HWND window, int x, int y) { sendPointer(window, WM_LBUTTONUP, 0, x, y); }
inline void rightUp(HWND window, int x, int y, WPARAM keys = 0) { sendPointer(window, WM_RBUTTONUP, keys, x, y); }

// Moves to a screen point while the left button is held.
inline void leftMoveOnScreen(HWND window, int x, int y)
{
    leftMove(window, x - app.windowRect.left, y - app.windowRect.top);
}

// A press held on the colour display until the delay has run out: the pick is under way.
inline void startPick(HWND window, int x, int y)
{
    leftDown(window, x, y);
    onTimer(window, TIMER_DROPPER_DELAY);
}

// Whether the timer was running; it is stopped either way.
inline bool stopTimer(HWND window, UINT_PTR timer)
{
    return KillTimer(window, timer) != FALSE;
}

inline bool cursorIs(LPCSTR shape)
{
    return GetCursor() == LoadCursorA(NULL, shape);
}

// Drives the main window's pointer handlers the way the system does: the pointer is moved
// first (the handlers read GetCursorPos), then the message is sent with the window point.
// Also the fixture the eye-dropper tests share.
#pragma once

#include <windows.h>
#include <cstdio>
#include <memory>
#include <string>

#include "harness.h"
#include "dropper_reference.h"
#include "app/app.h"
#include "app/appstate.h"
#include "dropper/dropper.h"
#include "res/resource.h"

static const COLORREF grey = 0x808080;

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

// The window point goes as a mouse message carries it, each word unsigned.
inline void sendPointer(HWND window, UINT message, WPARAM keys, int x, int y)
{
    POINT p = screenPoint(x, y);
    SetCursorPos(p.x, p.y);
    SendMessageA(window, message, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
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

// The program as the eye-dropper tests start it: grey, no splash; and the pattern window
// over the whole screen for those that pick.
class DropperTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        presetGrey();
    }
    void TearDown() override
    {
        pattern.reset();
        ProgramTest::TearDown();
        freeSamplingBuffers();
    }
    static void presetGrey()
    {
        setDword("splashScreen", 0);
        const BYTE history[] = { 0x80, 0x80, 0x80, 0x00 };
        setBinary("colorHistory", history, sizeof history);
    }
    void showPattern()
    {
        pattern.reset(new PatternWindow());
        int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        const POINT probes[] = { { 0, 0 }, { w / 2, h / 2 }, { w - 1, h - 1 }, { w - 1, 0 }, { 0, h - 1 } };
        ASSERT_TRUE(pumpUntil([&] {
            HDC screen = GetDC(NULL);
            bool shows = true;
            for (const POINT& p : probes)
                shows = shows && GetPixel(screen, p.x, p.y) == patternColor(p.x, p.y);
            ReleaseDC(NULL, screen);
            return shows;
        }, 5000)) << "the pattern never reached the screen";
    }
    std::unique_ptr<PatternWindow> pattern;
};

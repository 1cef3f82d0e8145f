// The main window procedure: hands each message to its handler, and the timers' routing.
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "dropper/dropper.h"
#include "res/resource.h"
#include "skin/skin.h"
#include "window/window.h"

#include <tpcshrd.h>

static void onPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    presentBackBuffer(NULL);
    app.windowPainted = true;
    EndPaint(window, &paint);
}

// A window being shown is painted without the system's erase first, which would work out
// its visible region once more: for a shape of many rectangles another half second under
// Wine while the window stands black.
static void onWindowPosChanging(WINDOWPOS* position)
{
    if (position->flags & SWP_SHOWWINDOW)
        position->flags |= SWP_NOREDRAW;
}

static void onWindowPosChanged(HWND window, const WINDOWPOS* position)
{
    keepWindowRect(window);
    if (position->flags & SWP_SHOWWINDOW)
        InvalidateRect(window, NULL, FALSE);
}

static void onMouseMove(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (app.leftButtonDown)
        onPressedMove(window, wParam, lParam);
    else if (app.showToolTips)
        updateToolTip(window, lParam);
}

void onTimer(HWND window, UINT_PTR timer)
{
    switch (timer) {
    case TIMER_SPLASH: endSplash(window); break;
    case TIMER_DROPPER_DELAY: onDropperDelay(window); break;
    case TIMER_SAMPLING: sampleScreen(); break;
    case TIMER_REPEAT: repeatTick(window); break;
    case TIMER_TOOLTIPS: createToolTips(window); break;
    case TIMER_TRAY_ICON: onTaskbarCreated(window); break;
    case TIMER_SAVE: onSaveTimer(window); break;
    }
}

// The shell's broadcast when it starts again; registered at the window's creation.
static UINT taskbarCreated;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == taskbarCreated && taskbarCreated != 0) {
        onTaskbarCreated(window);
        return 0;
    }
    if (message == app.bringForwardMessage && message != 0) {
        onBringForward(window);
        return 0;
    }
    // clang-format off
    switch (message) {
    case WM_CREATE:
        taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
        onCreate(window);
        return 0;
    case WM_DESTROY:         onDestroy(window); return 0;
    case WM_ENDSESSION:      onEndSession(window, wParam != 0); return 0;
    case WM_PAINT:           onPaint(window); return 0;
    // No frame to draw; the system's drawing of none works out the window's visible region,
    // which for a shape of many rectangles costs Wine half a second while the window is black.
    case WM_NCPAINT:         return 0;
    case WM_NCACTIVATE:      return TRUE; // likewise: no frame to show active
    case WM_SETTINGCHANGE:   refreshWindowMetrics(window); return 0;
    case WM_DISPLAYCHANGE:   refreshWindowMetrics(window); bringWindowBack(window); return 0;
    case WM_KEYUP:           onKeyUp(window, wParam); saveSoon(window); break; // only Windows makes the menu key's WM_CONTEXTMENU of it
    case WM_CONTEXTMENU:     onContextMenu(window, lParam); return 0;
    case WM_CHAR:            onChar(window, wParam, lParam); return 0;
    case WM_COMMAND:         onCommand(window, LOWORD(wParam)); saveSoon(window); return 0;
    case WM_TIMER:           onTimer(window, wParam); return 0;
    case WM_MOUSEMOVE:       onMouseMove(window, wParam, lParam); return 0;
    case WM_LBUTTONDOWN:     onLeftButtonDown(window, wParam, lParam); return 0;
    case WM_LBUTTONUP:       onLeftButtonUp(window, wParam, lParam); saveSoon(window); return 0;
    case WM_LBUTTONDBLCLK:   onLeftDoubleClick(window, wParam, lParam); return 0;
    case WM_RBUTTONUP:       onRightButtonUp(window, wParam, lParam); return 0;
    case WM_CAPTURECHANGED:  onCaptureChanged(window, reinterpret_cast<HWND>(lParam)); saveSoon(window); return 0;
    case WM_WINDOWPOSCHANGING: onWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)); break;
    case WM_WINDOWPOSCHANGED: onWindowPosChanged(window, reinterpret_cast<WINDOWPOS*>(lParam)); saveSoon(window); break;
    case WM_TABLET_QUERYSYSTEMGESTURESTATUS: return onGestureQuery(lParam);
    case WM_DROPFILES:       onDropFiles(window, reinterpret_cast<HDROP>(wParam)); saveSoon(window); return 0;
    case WM_USER:            onTrayCallback(window, lParam); return 0;
    case WM_DPICHANGED:      onDpiChanged(window, LOWORD(wParam), reinterpret_cast<RECT*>(lParam)); return 0;
    case WM_GETDPISCALEDSIZE: onGetDpiScaledSize(wParam, reinterpret_cast<SIZE*>(lParam)); return TRUE;
    case WM_SIZE:            onSize(window, wParam); return 0;
    }
    // clang-format on
    return DefWindowProcA(window, message, wParam, lParam);
}

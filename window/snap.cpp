// Placement on the monitors, and snapping the dragged window to work areas and other windows.
#include "window/window.h"
#include "app/appstate.h"
#include "window/lateload.h"
#include "window/snapmath.h"
#include "skin/skin.h"

#include <dwmapi.h>

struct SnapSearch {
    HWND self;
    int32_t tol; // in window pixels: the stored distance counts skin pixels
    SnapState state;
};

static SnapRect snapRectFrom(const RECT& r)
{
    SnapRect s = { r.left, r.top, r.right, r.bottom };
    return s;
}

static BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT bounds, LPARAM)
{
    UnionRect(&app.virtualScreen, &app.virtualScreen, bounds);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (app.monitorCount < maxMonitors && GetMonitorInfoA(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        app.monitors[app.monitorCount] = { r.left, r.top, r.right, r.bottom };
        app.workAreas[app.monitorCount++] = info.rcWork;
    }
    return TRUE;
}

// Every monitor with its work area, and the virtual screen around them.
void readMonitors()
{
    SetRectEmpty(&app.virtualScreen);
    app.monitorCount = 0;
    EnumDisplayMonitors(NULL, NULL, addMonitor, 0);
    if (app.monitorCount == 0) {
        int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        SetRect(&app.virtualScreen, left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                top + GetSystemMetrics(SM_CYVIRTUALSCREEN));
        const RECT& r = app.virtualScreen;
        app.monitors[0] = { r.left, r.top, r.right, r.bottom };
        app.workAreas[0] = app.workArea;
        app.monitorCount = 1;
    }
}

// A minimised window (also one hidden in the tray) is parked where the system puts it:
// windowRect keeps the place it had, which is the one saved and restored.
void refreshWindowMetrics(HWND window)
{
    RECT r;
    if (!GetWindowRect(window, &r) || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &app.workArea, 0))
        fatal(-2);
    if (!IsIconic(window))
        app.windowRect = r;
    readMonitors();
}

// The place saved is where the window is, also when the system moved it; minimised it keeps
// the place it had.
void keepWindowRect(HWND window)
{
    RECT r;
    if (!IsIconic(window) && GetWindowRect(window, &r))
        app.windowRect = r;
}

bool isOnSomeWorkArea(const RECT& r)
{
    RECT common;
    for (int i = 0; i < app.monitorCount; i++)
        if (IntersectRect(&common, &r, &app.workAreas[i]))
            return true;
    return false;
}

static RECT workAreaOf(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info))
        return app.workArea;
    return info.rcWork;
}

static RECT nearestWorkArea(const RECT& r)
{
    return workAreaOf(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

static int scaleOn(HMONITOR monitor, UINT dpi)
{
    RECT work = workAreaOf(monitor);
    return windowScale(dpi, work.right - work.left, work.bottom - work.top, app.skinWidth, app.skinHeight);
}

int scaleOnMonitor(HWND window, UINT dpi)
{
    return scaleOn(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), dpi);
}

// A window moved onto a monitor of another DPI (or any window at a DPI change of the system)
// takes the factor there, at the place suggested. A drag keeps the grabbed skin point under
// the pointer: dragRect, which the next move starts from, takes the new size around it.
void onDpiChanged(HWND window, UINT dpi, const RECT* suggested)
{
    if (IsIconic(window))
        return; // moving it would move its icon; the restore checks the factor
    int before = app.scale;
    app.scale = scaleOn(MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST), dpi);
    SetRect(&app.windowRect, suggested->left, suggested->top, suggested->left, suggested->top);
    if (app.draggingWindow) {
        RECT& d = app.dragRect;
        const POINT& p = app.lastCursorPos;
        d.left = p.x - skinCoordinate(p.x - d.left, before) * app.scale;
        d.top = p.y - skinCoordinate(p.y - d.top, before) * app.scale;
        SetRect(&d, d.left, d.top, d.left + app.skinWidth * app.scale, d.top + app.skinHeight * app.scale);
        app.windowRect = d;
    }
    hideToolTip(); // its rectangle was the button's at the old factor
    shapeWindow(window, 0);
    InvalidateRect(window, NULL, FALSE);
}

// Asked before a move to another DPI: the window's size at the factor there.
void onGetDpiScaledSize(HWND window, UINT dpi, SIZE* size)
{
    int n = scaleOnMonitor(window, dpi);
    size->cx = app.skinWidth * n;
    size->cy = app.skinHeight * n;
}

// Back from minimised or the tray, the window's monitor may have another DPI than before.
LRESULT onSysCommand(HWND window, WPARAM command, LPARAM lParam)
{
    LRESULT result = DefWindowProcA(window, WM_SYSCOMMAND, command, lParam);
    if ((command & 0xFFF0) != SC_RESTORE || IsIconic(window))
        return result;
    int n = scaleOnMonitor(window, windowDpi(window));
    if (n != app.scale) {
        app.scale = n;
        hideToolTip();
        shapeWindow(window, SWP_NOMOVE);
        InvalidateRect(window, NULL, FALSE);
    }
    return result;
}

// After a change of displays a window left on no monitor comes back onto the nearest one.
// (A minimised one keeps its place: moving it would move its icon, not the window.)
void bringWindowBack(HWND window)
{
    RECT& r = app.windowRect;
    if (IsIconic(window) || isOnSomeWorkArea(r))
        return;
    RECT work = nearestWorkArea(r);
    int width = r.right - r.left, height = r.bottom - r.top;
    int left = work.left + (work.right - work.left - width) / 2;
    int top = work.top + (work.bottom - work.top - height) / 2;
    SetRect(&r, left, top, left + width, top + height);
    SetWindowPos(window, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

static BOOL CALLBACK snapToWindowProc(HWND other, LPARAM search)
{
    SnapSearch* s = reinterpret_cast<SnapSearch*>(search);
    if (!IsWindowVisible(other) || IsZoomed(other) || IsIconic(other) || other == s->self)
        return TRUE;
    RECT r, frame = {};
    DWORD cloaked = 0;
    bool framed = windowAttribute(other, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame);
    windowAttribute(other, DWMWA_CLOAKED, &cloaked, sizeof cloaked);
    SnapRect visible = snapRectFrom(frame), target;
    if (GetWindowRect(other, &r) && snapTarget(snapRectFrom(r), framed ? &visible : NULL, cloaked != 0, &target))
        snapToRect(snapRectFrom(app.dragRect), s->tol, target, &s->state);
    return TRUE;
}

// The snapped place is always worked out from dragRect, which follows the pointer
// exactly, so the window lets go of an edge as soon as the pointer moves on.
void moveWindowSnapped(HWND window, int dx, int dy)
{
    OffsetRect(&app.dragRect, dx, dy);
    SnapRect drag = snapRectFrom(app.dragRect);
    SnapSearch search;
    search.self = window;
    search.tol = app.snapTol * app.scale;
    startSnap(drag, search.tol, &search.state);
    EnumWindows(snapToWindowProc, reinterpret_cast<LPARAM>(&search));
    // The work areas of the monitors the window is dragged over; off them, the nearest one's.
    bool overSome = false;
    for (int i = 0; i < app.monitorCount; i++) {
        const PixelBox& m = app.monitors[i];
        if (drag.left < m.right && m.left < drag.right && drag.top < m.bottom && m.top < drag.bottom) {
            snapToWorkArea(drag, snapRectFrom(app.workAreas[i]), &search.state);
            overSome = true;
        }
    }
    if (!overSome)
        snapToWorkArea(drag, snapRectFrom(nearestWorkArea(app.dragRect)), &search.state);

    int width = app.dragRect.right - app.dragRect.left, height = app.dragRect.bottom - app.dragRect.top;
    SetRect(&app.windowRect, search.state.x, search.state.y, search.state.x + width, search.state.y + height);
    SetWindowPos(window, NULL, search.state.x, search.state.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// Placement on the monitors, and snapping the dragged window to work areas and other windows.
#include "window/window.h"
#include "app/appstate.h"
#include "window/lateload.h"
#include "window/snapmath.h"
#include "skin/skin.h"

#include <dwmapi.h>

#include <climits>

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
    if (!GetMonitorInfoA(monitor, &info))
        info.rcWork = *bounds;
    if (app.monitorCount < maxMonitors) {
        app.monitors[app.monitorCount] = { bounds->left, bounds->top, bounds->right, bounds->bottom };
        app.workAreas[app.monitorCount++] = info.rcWork;
    }
    return TRUE;
}

// Every monitor with its work area, and the virtual screen around them.
void readMonitors()
{
    SetRectEmpty(&app.virtualScreen);
    app.monitorCount = 0;
    if (!app.enumDisplayMonitors)
        app.enumDisplayMonitors = EnumDisplayMonitors;
    app.enumDisplayMonitors(NULL, NULL, addMonitor, 0);
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

// How far two spans overlap; negative, how far apart they lie.
static long long overlap(long low, long high, long otherLow, long otherHigh)
{
    return static_cast<long long>(high < otherHigh ? high : otherHigh) - (low > otherLow ? low : otherLow);
}

// The monitor holding the larger part of r, as the system decides a window's DPI; for a
// rectangle on none, the nearest. An index into app.monitors.
static int monitorHolding(const RECT& r)
{
    int best = 0;
    long long bestScore = LLONG_MIN;
    for (int i = 0; i < app.monitorCount; i++) {
        const PixelBox& m = app.monitors[i];
        long long width = overlap(r.left, r.right, m.left, m.right), height = overlap(r.top, r.bottom, m.top, m.bottom);
        // overlapping: the area; apart: minus the gap, so the nearest comes next
        long long score
            = width > 0 && height > 0 ? width * height : (width < 0 ? width : 0) + (height < 0 ? height : 0);
        if (score > bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

RECT workAreaHolding(const RECT& r)
{
    return app.workAreas[monitorHolding(r)];
}

// The whole factor at a DPI for the skin as loaded, on the monitor holding the place.
static int scaleAt(UINT dpi, const RECT& place)
{
    RECT work = workAreaHolding(place);
    return windowScale(dpi, work.right - work.left, work.bottom - work.top, app.skinWidth, app.skinHeight);
}

int scaleForWindow(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return scaleAt(windowDpi(window), r);
}

// Asked inside a move to a monitor of another DPI, before WM_DPICHANGED: the window's size at
// the factor there. The place is the one the move goes to (a drag sets it first); the factor
// promised is the one applied, or the rectangle the system suggests would not fit.
void onGetDpiScaledSize(UINT dpi, SIZE* size)
{
    readMonitors();
    app.promisedDpi = dpi;
    app.promisedScale = scaleAt(dpi, app.windowRect);
    size->cx = app.skinWidth * app.promisedScale;
    size->cy = app.skinHeight * app.promisedScale;
}

// A window moved onto a monitor of another DPI (or any window at a DPI change of the system)
// takes the factor there, at the place suggested. A drag keeps the grabbed skin point under the
// pointer, as far as the window's larger part then stays on that monitor: regrown around the
// pointer it could lie mostly on the monitor it left, whose DPI would come back at once, and
// the window would change size with every move (or inside this very call).
void onDpiChanged(HWND window, UINT dpi, const RECT* suggested)
{
    setWindowIcons(window, dpi);
    bool promised = app.promisedDpi == dpi;
    app.promisedDpi = 0;
    if (IsIconic(window))
        return; // moving it would move its icon; the restore checks the factor
    readMonitors();
    int before = app.scale;
    app.scale = promised ? app.promisedScale : scaleAt(dpi, *suggested);
    int width = app.skinWidth * app.scale, height = app.skinHeight * app.scale;
    RECT& r = app.windowRect;
    SetRect(&r, suggested->left, suggested->top, suggested->left + width, suggested->top + height);
    if (app.draggingWindow) {
        const POINT& p = app.lastCursorPos;
        const RECT& d = app.dragRect;
        int left = p.x - skinCoordinate(p.x - d.left, before) * app.scale;
        int top = p.y - skinCoordinate(p.y - d.top, before) * app.scale;
        const PixelBox& m = app.monitors[monitorHolding(*suggested)];
        SnapRect kept = centreOn({ left, top, left + width, top + height }, { m.left, m.top, m.right, m.bottom });
        RECT grabbed = { kept.left, kept.top, kept.right, kept.bottom };
        if (monitorHolding(grabbed) == monitorHolding(*suggested))
            r = grabbed;
        app.dragRect = r;
    }
    hideToolTip(); // its rectangle was the button's at the old factor
    shapeWindow(window, 0);
    InvalidateRect(window, NULL, FALSE);
}

// Back from minimised or the tray, however that came (the window's own button, another program
// restoring it), the window's monitor may have another DPI than before.
void onSize(HWND window, WPARAM type)
{
    bool restored = app.minimised && type != SIZE_MINIMIZED;
    app.minimised = type == SIZE_MINIMIZED;
    if (!restored)
        return;
    int n = scaleForWindow(window);
    if (n != app.scale) {
        app.scale = n;
        hideToolTip();
        shapeWindow(window, SWP_NOMOVE);
        InvalidateRect(window, NULL, FALSE);
    }
}

// After a change of displays a window left on no monitor comes back onto the nearest one.
// (A minimised one keeps its place: moving it would move its icon, not the window.)
void bringWindowBack(HWND window)
{
    RECT& r = app.windowRect;
    if (IsIconic(window) || isOnSomeWorkArea(r))
        return;
    RECT work = workAreaHolding(r);
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
        snapToWorkArea(drag, snapRectFrom(workAreaHolding(app.dragRect)), &search.state);

    int width = app.dragRect.right - app.dragRect.left, height = app.dragRect.bottom - app.dragRect.top;
    SetRect(&app.windowRect, search.state.x, search.state.y, search.state.x + width, search.state.y + height);
    SetWindowPos(window, NULL, search.state.x, search.state.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

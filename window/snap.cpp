// Snapping the dragged window to the work area's and other windows' edges.
#include "window/window.h"
#include "app/appstate.h"
#include "window/snapmath.h"

struct SnapSearch {
    HWND self;
    SnapState state;
};

static SnapRect snapRectFrom(const RECT& r)
{
    SnapRect s = { r.left, r.top, r.right, r.bottom };
    return s;
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
}

static BOOL CALLBACK snapToWindowProc(HWND other, LPARAM search)
{
    SnapSearch* s = reinterpret_cast<SnapSearch*>(search);
    if (!IsWindowVisible(other) || IsZoomed(other) || IsIconic(other) || other == s->self)
        return TRUE;
    RECT r;
    if (GetWindowRect(other, &r))
        snapToRect(snapRectFrom(app.dragRect), app.snapTol, snapRectFrom(r), &s->state);
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
    startSnap(drag, app.snapTol, &search.state);
    EnumWindows(snapToWindowProc, reinterpret_cast<LPARAM>(&search));
    snapToWorkArea(drag, snapRectFrom(app.workArea), &search.state);

    int width = app.dragRect.right - app.dragRect.left, height = app.dragRect.bottom - app.dragRect.top;
    SetRect(&app.windowRect, search.state.x, search.state.y, search.state.x + width, search.state.y + height);
    SetWindowPos(window, NULL, search.state.x, search.state.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

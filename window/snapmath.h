// Snapping arithmetic of the window drag: candidates from other windows and the work area.
#pragma once

#include <cstdint>

struct SnapRect {
    int32_t left, top, right, bottom;
};

// The search of one snapped move. Coordinates lie within +-2^24 and the tolerance
// within -1..2^20 (usablePosition, usableSnapTol), so 32 bits hold every distance.
struct SnapState {
    int32_t bestX, bestY; // smallest distances found so far
    int32_t x, y;         // the window's left and top being chosen
};

// Starts a search: best = tol + 1, position = the drag rectangle's left/top.
void startSnap(const SnapRect& drag, int32_t tol, SnapState* s);
// Offers the edges of one other window (call in Z order, topmost first).
void snapToRect(const SnapRect& drag, int32_t tol, const SnapRect& other, SnapState* s);
// Offers a work area's edges after the windows' (one call for each monitor the window
// is over); afterwards s->x, s->y are the final position.
void snapToWorkArea(const SnapRect& drag, const SnapRect& work, SnapState* s);

// The whole factor a skin of this size is drawn at on a monitor of this DPI and work area:
// the whole number nearest to dpi / 96 (halves up), made smaller while the window would not
// fit the work area; never below 1.
int32_t windowScale(int32_t dpi, int32_t workWidth, int32_t workHeight, int32_t skinWidth, int32_t skinHeight);
// The skin pixel a window pixel shows at a factor (also for points left of or above it).
int32_t skinCoordinate(int32_t windowCoordinate, int32_t scale);
// The window moved the least distance that puts its centre inside the monitor, so that the larger
// part of it lies there (the system gives a window the DPI of the monitor holding most of it).
SnapRect centreOn(const SnapRect& window, const SnapRect& monitor);
// The rectangle another window offers: its visible frame where the system gives one (Windows 10
// and 11 count invisible resize borders into the window rectangle) and it lies within the window
// rectangle, else the window rectangle; none (false) when the window is cloaked, on another
// virtual desktop or suspended though "visible". frame is null where the system gave none.
bool snapTarget(const SnapRect& window, const SnapRect* frame, bool cloaked, SnapRect* target);

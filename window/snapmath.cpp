// Snapping arithmetic of the window drag: candidates from other windows and the work area.
#include "window/snapmath.h"

namespace {

int32_t distance(int32_t a, int32_t b)
{
    return a > b ? a - b : b - a;
}

// Takes the candidate when strictly nearer than the best so far, so among equal
// distances the first offered (higher in Z order, earlier edge) keeps the place.
void offer(int32_t dist, int32_t position, int32_t* best, int32_t* chosen)
{
    if (dist < *best) {
        *best = dist;
        *chosen = position;
    }
}

} // namespace

void startSnap(const SnapRect& drag, int32_t tol, SnapState* s)
{
    s->bestX = tol + 1;
    s->bestY = tol + 1;
    s->x = drag.left;
    s->y = drag.top;
}

void snapToRect(const SnapRect& d, int32_t tol, const SnapRect& r, SnapState* s)
{
    int32_t width = d.right - d.left, height = d.bottom - d.top;
    // Side-by-side docking only makes sense when the other window is level with us.
    if (r.top < d.bottom + tol + 1 && d.top - tol - 1 < r.bottom) {
        offer(distance(d.left, r.left), r.left, &s->bestX, &s->x);
        offer(distance(d.left, r.right), r.right, &s->bestX, &s->x);
        offer(distance(d.right, r.left), r.left - width, &s->bestX, &s->x);
        offer(distance(d.right, r.right), r.right - width, &s->bestX, &s->x);
    }
    if (r.left < d.right + tol + 1 && d.left - tol - 1 < r.right) {
        offer(distance(d.top, r.top), r.top, &s->bestY, &s->y);
        offer(distance(d.top, r.bottom), r.bottom, &s->bestY, &s->y);
        offer(distance(d.bottom, r.top), r.top - height, &s->bestY, &s->y);
        offer(distance(d.bottom, r.bottom), r.bottom - height, &s->bestY, &s->y);
    }
}

// The work area wins only when strictly nearer than any window edge, and its
// left (top) edge is tried before its right (bottom) one.
void snapToWorkArea(const SnapRect& d, const SnapRect& work, SnapState* s)
{
    int32_t width = d.right - d.left, height = d.bottom - d.top;
    // Left before right, top before bottom; a later work area (another monitor) wins only
    // when strictly nearer still.
    int32_t left = distance(d.left, work.left), right = distance(d.right, work.right);
    if (left < s->bestX) {
        s->bestX = left;
        s->x = work.left;
    } else if (right < s->bestX) {
        s->bestX = right;
        s->x = work.right - width;
    }
    int32_t top = distance(d.top, work.top), bottom = distance(d.bottom, work.bottom);
    if (top < s->bestY) {
        s->bestY = top;
        s->y = work.top;
    } else if (bottom < s->bestY) {
        s->bestY = bottom;
        s->y = work.bottom - height;
    }
}

int32_t windowScale(int32_t dpi, int32_t workWidth, int32_t workHeight, int32_t skinWidth, int32_t skinHeight)
{
    int32_t n = (dpi + 48) / 96;
    while (n > 1 && (skinWidth * n > workWidth || skinHeight * n > workHeight))
        n--;
    return n < 1 ? 1 : n;
}

int32_t skinCoordinate(int32_t windowCoordinate, int32_t scale)
{
    return windowCoordinate >= 0 ? windowCoordinate / scale : -((scale - 1 - windowCoordinate) / scale);
}

// The new low edge of a span whose middle must lie strictly between from and to. Its middle
// counts twice to stay whole; exactly on a monitor's edge both halves would be equal.
static int32_t centreSpan(int32_t low, int32_t high, int32_t from, int32_t to)
{
    int32_t size = high - low;
    if (low + high <= 2 * from)
        return from - (size - 1) / 2;
    if (low + high >= 2 * to)
        return to - size + (size - 1) / 2;
    return low;
}

SnapRect centreOn(const SnapRect& window, const SnapRect& monitor)
{
    int32_t left = centreSpan(window.left, window.right, monitor.left, monitor.right);
    int32_t top = centreSpan(window.top, window.bottom, monitor.top, monitor.bottom);
    SnapRect moved = { left, top, left + window.right - window.left, top + window.bottom - window.top };
    return moved;
}

bool snapTarget(const SnapRect& window, const SnapRect* frame, bool cloaked, SnapRect* target)
{
    if (cloaked)
        return false;
    bool inside = frame && window.left <= frame->left && frame->left < frame->right && frame->right <= window.right
        && window.top <= frame->top && frame->top < frame->bottom && frame->bottom <= window.bottom;
    *target = inside ? *frame : window;
    return true;
}

// Snapping arithmetic of the window drag: candidates from other windows and the work area.
#include "window/snapmath.h"

namespace {

int64_t distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

// A candidate position can leave the 32-bit range only for absurd rectangles;
// saturating keeps the window somewhere representable.
int32_t toInt32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Takes the candidate when strictly nearer than the best so far, so among equal
// distances the first offered (higher in Z order, earlier edge) keeps the place.
void offer(int64_t dist, int64_t position, int64_t* best, int32_t* chosen) {
    if (dist < *best) {
        *best = dist;
        *chosen = toInt32(position);
    }
}

}  // namespace

void startSnap(const SnapRect& drag, int32_t tol, SnapState* s) {
    s->bestX = int64_t(tol) + 1;
    s->bestY = int64_t(tol) + 1;
    s->x = drag.left;
    s->y = drag.top;
}

void snapToRect(const SnapRect& d, int32_t tol, const SnapRect& r, SnapState* s) {
    int64_t t = tol;
    int64_t width = int64_t(d.right) - d.left, height = int64_t(d.bottom) - d.top;
    // Side-by-side docking only makes sense when the other window is level with us.
    if (r.top < d.bottom + t + 1 && d.top - t - 1 < r.bottom) {
        offer(distance(d.left, r.left), r.left, &s->bestX, &s->x);
        offer(distance(d.left, r.right), r.right, &s->bestX, &s->x);
        offer(distance(d.right, r.left), r.left - width, &s->bestX, &s->x);
        offer(distance(d.right, r.right), r.right - width, &s->bestX, &s->x);
    }
    if (r.left < d.right + t + 1 && d.left - t - 1 < r.right) {
        offer(distance(d.top, r.top), r.top, &s->bestY, &s->y);
        offer(distance(d.top, r.bottom), r.bottom, &s->bestY, &s->y);
        offer(distance(d.bottom, r.top), r.top - height, &s->bestY, &s->y);
        offer(distance(d.bottom, r.bottom), r.bottom - height, &s->bestY, &s->y);
    }
}

// The work area wins only when strictly nearer than any window edge, and its
// left (top) edge is tried before its right (bottom) one.
void snapToWorkArea(const SnapRect& d, const SnapRect& work, SnapState* s) {
    int64_t width = int64_t(d.right) - d.left, height = int64_t(d.bottom) - d.top;
    if (distance(d.left, work.left) < s->bestX)
        s->x = work.left;
    else if (distance(d.right, work.right) < s->bestX)
        s->x = toInt32(work.right - width);
    if (distance(d.top, work.top) < s->bestY)
        s->y = work.top;
    else if (distance(d.bottom, work.bottom) < s->bestY)
        s->y = toInt32(work.bottom - height);
}

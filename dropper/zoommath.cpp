// Geometry of the eye-dropper: zoom view layout, averaging square and off-screen strips.
#include "dropper/zoommath.h"

namespace {

// Doubles the half width from one block until the blocks around the centre cover
// low..high; the pointer's block starts half a block before the centre.
int32_t halfSpan(int32_t center, int32_t low, int32_t high, int32_t z)
{
    int32_t w = z;
    while (center - w > low || center + w - z / 2 < high)
        w *= 2;
    return w;
}

int32_t atMost(int32_t v, int32_t most)
{
    return v < most ? v : most;
}

} // namespace

void layoutZoom(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z, ZoomLayout* out)
{
    int32_t cx = left + (right - left) / 2, cy = top + (bottom - top) / 2;
    int32_t w = halfSpan(cx, left, right, z), h = halfSpan(cy, top, bottom, z);
    *out = { cx, cy, cx - w - z / 2, cy - h - z / 2, 2 * w, 2 * h, 2 * w / z, 2 * h / z };
}

// The exclusive right and bottom are clamped to the desktop's own exclusive
// bounds, so the screen's last column and row are averaged like any other.
PixelBox averagingSquare(int32_t x, int32_t y, int32_t n, const PixelBox& desktop)
{
    int32_t left = x - n / 2, top = y - n / 2;
    int32_t right = left + n, bottom = top + n;
    if (left < desktop.left)
        left = desktop.left;
    if (top < desktop.top)
        top = desktop.top;
    if (right > desktop.right)
        right = desktop.right;
    if (bottom > desktop.bottom)
        bottom = desktop.bottom;
    // Off the desktop nothing remains: an empty box on its edge, never an inverted one.
    if (left > desktop.right)
        left = desktop.right;
    if (top > desktop.bottom)
        top = desktop.bottom;
    if (right < left)
        right = left;
    if (bottom < top)
        bottom = top;
    return { left, top, right, bottom };
}

// Strips are relative to the unshifted dest origin; the left and top ones also move
// the copy so that the screen's first column / row starts where they end. A pointer
// far off the screen may be millions of pixels away: a strip ends at the view's edge.
void clipZoomSource(int32_t cursorX, int32_t cursorY, const ZoomLayout& layout, int32_t z, const PixelBox& screen,
                    ZoomSource* out)
{
    int32_t firstX = cursorX - layout.sourceWidth / 2, firstY = cursorY - layout.sourceHeight / 2;
    int32_t srcX = firstX, srcY = firstY;
    int32_t destX = layout.destX, destY = layout.destY;
    int32_t count = 0;
    if (srcX < screen.left) {
        int32_t off = atMost(screen.left - srcX, layout.sourceWidth) * z;
        out->strips[count++] = { 0, 0, off, layout.destHeight };
        destX += off;
        srcX = screen.left;
    }
    if (firstX + layout.sourceWidth > screen.right) {
        int32_t on = screen.right > firstX ? screen.right - firstX : 0;
        out->strips[count++] = { on * z, 0, layout.destWidth, layout.destHeight };
    }
    if (srcY < screen.top) {
        int32_t off = atMost(screen.top - srcY, layout.sourceHeight) * z;
        out->strips[count++] = { 0, 0, layout.destWidth, off };
        destY += off;
        srcY = screen.top;
    }
    if (firstY + layout.sourceHeight > screen.bottom) {
        int32_t on = screen.bottom > firstY ? screen.bottom - firstY : 0;
        out->strips[count++] = { 0, on * z, layout.destWidth, layout.destHeight };
    }
    out->srcX = srcX;
    out->srcY = srcY;
    out->destX = destX;
    out->destY = destY;
    out->stripCount = count;
    for (int32_t i = count; i < 4; ++i)
        out->strips[i] = { 0, 0, 0, 0 };
}

bool onSomeMonitor(int32_t x, int32_t y, const PixelBox* monitors, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        const PixelBox& m = monitors[i];
        if (x >= m.left && x < m.right && y >= m.top && y < m.bottom)
            return true;
    }
    return false;
}

bool withinOneMonitor(const PixelBox& box, const PixelBox* monitors, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        const PixelBox& m = monitors[i];
        if (box.left >= m.left && box.right <= m.right && box.top >= m.top && box.bottom <= m.bottom)
            return true;
    }
    return false;
}

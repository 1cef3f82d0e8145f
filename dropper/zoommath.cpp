// Geometry of the eye-dropper: zoom view layout, averaging square and off-screen strips.
#include "dropper/zoommath.h"

namespace {

// Everything is worked out in 64 bits and saturated on the way out, so stray
// settings or odd coordinates give odd pictures, never undefined arithmetic.
int32_t toInt32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Once the magnified image is this wide it covers any box a 32-bit rectangle can
// describe; the loop stops here even for an inverted or absurd box.
constexpr int64_t maxHalfSpan = int64_t(1) << 33;

int64_t halfSpan(int64_t center, int64_t low, int64_t high, int64_t z) {
    int64_t half = z / 2;
    int64_t w = z;
    while (!(center - w <= low && center + w - half >= high) && w < maxHalfSpan) w *= 2;
    return w;
}

}  // namespace

// Menu factors are 1..16. Anything up to 256 still lays out sensibly (one screen
// pixel then fills a 256-pixel block, larger than any display area a skin can
// reasonably have); beyond that, and for negative factors whose doubling would
// never meet the test, the display shows the solid colour instead.
int32_t usableZoom(int32_t storedZoom) {
    return storedZoom >= 1 && storedZoom <= maxZoom ? storedZoom : 0;
}

void layoutZoom(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t zoom,
                ZoomLayout* out) {
    int64_t z = zoom < 1 ? 1 : zoom;
    int64_t cx = left + (int64_t(right) - left) / 2;
    int64_t cy = top + (int64_t(bottom) - top) / 2;
    int64_t half = z / 2;
    int64_t w = halfSpan(cx, left, right, z);
    int64_t h = halfSpan(cy, top, bottom, z);
    out->centerX = toInt32(cx);
    out->centerY = toInt32(cy);
    out->destX = toInt32(cx - w - half);
    out->destY = toInt32(cy - h - half);
    out->destWidth = toInt32(2 * w);
    out->destHeight = toInt32(2 * h);
    out->sourceWidth = toInt32(2 * w / z);
    out->sourceHeight = toInt32(2 * h / z);
}

// 255 x 255 = 65025 pixels is already far more than the menu's 21 x 21 and
// slow at one window lookup per pixel; a larger stored side would make every
// 1 ms tick read millions of pixels. It also keeps the unsigned 32-bit channel
// sums (at most 65025 x 255) far from wrapping.
int32_t usableAntiDither(int32_t stored) {
    if (stored <= 1) return 1;
    return stored > maxAntiDither ? maxAntiDither : stored;
}

// The exclusive right and bottom are clamped to the desktop's own exclusive
// bounds, so the screen's last column and row are averaged like any other.
PixelBox averagingSquare(int32_t x, int32_t y, int32_t n, const PixelBox& desktop) {
    int64_t side = n < 1 ? 1 : n;
    int64_t left = x - side / 2, top = y - side / 2;
    int64_t right = left + side, bottom = top + side;
    if (left < desktop.left) left = desktop.left;
    if (top < desktop.top) top = desktop.top;
    if (right > desktop.right) right = desktop.right;
    if (bottom > desktop.bottom) bottom = desktop.bottom;
    // Off the desktop nothing remains: an empty box on its edge, never an inverted one.
    if (left > desktop.right) left = desktop.right;
    if (top > desktop.bottom) top = desktop.bottom;
    if (right < left) right = left;
    if (bottom < top) bottom = top;
    return {toInt32(left), toInt32(top), toInt32(right), toInt32(bottom)};
}

void clipZoomSource(int32_t cursorX, int32_t cursorY, const ZoomLayout& layout, int32_t zoom,
                    int32_t screenWidth, int32_t screenHeight, ZoomSource* out) {
    int64_t z = zoom;
    int64_t srcX = cursorX - int64_t(layout.sourceWidth) / 2;
    int64_t srcY = cursorY - int64_t(layout.sourceHeight) / 2;
    int64_t destX = layout.destX, destY = layout.destY;
    int32_t count = 0;
    auto addStrip = [&](int64_t l, int64_t t, int64_t r, int64_t b) {
        out->strips[count++] = {toInt32(l), toInt32(t), toInt32(r), toInt32(b)};
    };
    // Strips are relative to the unshifted dest origin; the left and top ones
    // also move the copy so that screen column / row 0 starts where they end.
    if (srcX < 0) {
        addStrip(0, 0, -srcX * z, layout.destHeight);
        destX += -srcX * z;
        srcX = 0;
    }
    if (srcX + layout.sourceWidth > screenWidth)
        addStrip((screenWidth - srcX) * z, 0, int64_t(layout.sourceWidth) * z, layout.destHeight);
    if (srcY < 0) {
        addStrip(0, 0, layout.destWidth, -srcY * z);
        destY += -srcY * z;
        srcY = 0;
    }
    if (srcY + layout.sourceHeight > screenHeight)
        addStrip(0, (screenHeight - srcY) * z, layout.destWidth, int64_t(layout.sourceHeight) * z);
    out->srcX = toInt32(srcX);
    out->srcY = toInt32(srcY);
    out->destX = toInt32(destX);
    out->destY = toInt32(destY);
    out->stripCount = count;
    for (int32_t i = count; i < 4; ++i) out->strips[i] = {0, 0, 0, 0};
}

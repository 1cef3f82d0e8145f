// Geometry of the eye-dropper: zoom view layout, averaging square and off-screen strips.
#pragma once

#include <cstdint>

// Where the magnified view goes, in window coordinates; source is in screen pixels.
struct ZoomLayout {
    int32_t centerX, centerY;
    int32_t destX, destY, destWidth, destHeight;
    int32_t sourceWidth, sourceHeight;
};

// A rectangle of pixels; right and bottom are exclusive.
struct PixelBox {
    int32_t left, top, right, bottom;
};

// What one tick of the magnified view copies and which parts it blackens.
struct ZoomSource {
    int32_t srcX, srcY;   // screen origin of the copy, moved onto the screen
    int32_t destX, destY; // window origin of the copy, moved with it
    int32_t stripCount;
    PixelBox strips[4]; // off-screen parts, relative to the layout's dest origin
};

// The largest zoom factor and averaging side; usableZoom and usableAntiDither
// (app/settingsrules.h) keep stored values within them. The arithmetic below relies
// on that, on boxes of at most 8192 a side and on screen coordinates within +-2^24.
constexpr int32_t maxZoom = 256;
constexpr int32_t maxAntiDither = 255;

// Lays out the view over the box (right/bottom exclusive) at zoom 1..maxZoom.
void layoutZoom(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t zoom, ZoomLayout* out);
// The n x n square around (x, y) clipped to the desktop; empty when none of it is on it.
PixelBox averagingSquare(int32_t x, int32_t y, int32_t n, const PixelBox& desktop);
// Moves the copy onto the screen (the virtual screen of every monitor, whose left and top
// may be negative) and lists the strips that must be black.
void clipZoomSource(int32_t cursorX, int32_t cursorY, const ZoomLayout& layout, int32_t zoom, const PixelBox& screen,
                    ZoomSource* out);
// Whether a screen point lies on a monitor: between monitors of different sizes the
// virtual screen has points on none, which count as beyond the screen.
bool onSomeMonitor(int32_t x, int32_t y, const PixelBox* monitors, int32_t count);
// Whether the box lies wholly on one monitor, so that none of its points needs that test.
bool withinOneMonitor(const PixelBox& box, const PixelBox* monitors, int32_t count);

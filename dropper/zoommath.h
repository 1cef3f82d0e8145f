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
    int32_t srcX, srcY;     // screen origin of the copy, moved onto the screen
    int32_t destX, destY;   // window origin of the copy, moved with it
    int32_t stripCount;
    PixelBox strips[4];     // off-screen parts, relative to the layout's dest origin
};

// The largest zoom the layout accepts; see zoommath.cpp.
constexpr int32_t maxZoom = 256;
// The largest averaging side; see zoommath.cpp.
constexpr int32_t maxAntiDither = 255;

// The stored zoom factor if the view can lay it out (1..maxZoom), else 0: solid colour.
int32_t usableZoom(int32_t storedZoom);
// Lays out the view over the box (right/bottom exclusive); a zoom below 1 counts as 1.
void layoutZoom(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t zoom,
                ZoomLayout* out);
// The side of the averaged square: 1 (single pixel) up to maxAntiDither.
int32_t usableAntiDither(int32_t stored);
// The n x n square around (x, y) clipped to the desktop; empty when none of it is on it.
PixelBox averagingSquare(int32_t x, int32_t y, int32_t n, const PixelBox& desktop);
// Moves the copy onto the primary screen and lists the strips that must be black.
void clipZoomSource(int32_t cursorX, int32_t cursorY, const ZoomLayout& layout, int32_t zoom,
                    int32_t screenWidth, int32_t screenHeight, ZoomSource* out);

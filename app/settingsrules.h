// The value rules of the stored settings, kept free of <windows.h> for the native tests.
#pragma once

#include <cstdint>

// What the program may use of a stored value. The loader applies these once, so the
// geometry behind them works in plain 32-bit arithmetic. maxZoom and maxAntiDither
// are in dropper/zoommath.h.

// The stored zoom factor if the view can lay it out (1..maxZoom), else 0: solid colour.
int32_t usableZoom(int32_t stored);
// The side of the averaged square: 1 (single pixel) up to maxAntiDither.
int32_t usableAntiDither(int32_t stored);
// The snapping distance: up to 1 << 20; any negative one is -1, on but never in reach.
int32_t usableSnapTol(int32_t stored);
// A window position within +-(1 << 24), which no desktop comes near.
int32_t usablePosition(int32_t stored);

// Snapping restores this distance when switched on: the stored one if usable, else 8.
int32_t savedSnapTolFor(int32_t storedSnapTol);

// Where a window with no stored position opens: centred on the work area's size,
// measured from the screen origin.
void defaultWindowPosition(int32_t workLeft, int32_t workTop, int32_t workRight, int32_t workBottom, int32_t width,
                           int32_t height, int32_t* x, int32_t* y);

// The radio items that stand for a stored zoom factor and averaging size.
int zoomMenuItem(int32_t zoomFactor);
int antiDitherMenuItem(int32_t antiDitherTol);

// A stored path is used only when it holds more than its terminator.
bool storedPathUsable(uint32_t storedBytes);

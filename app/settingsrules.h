// The value rules of the stored settings, kept free of <windows.h> for the native tests.
#pragma once

#include <cstdint>

// Snapping restores this distance when switched on: the stored one if usable, else 8.
int32_t savedSnapTolFor(int32_t storedSnapTol);

// Where a window with no stored position opens: centred on the work area's size,
// measured from the screen origin.
void defaultWindowPosition(int32_t workLeft, int32_t workTop, int32_t workRight, int32_t workBottom,
                           int32_t width, int32_t height, int32_t* x, int32_t* y);

// The radio items that stand for a stored zoom factor and averaging size.
int zoomMenuItem(int32_t zoomFactor);
int antiDitherMenuItem(int32_t antiDitherTol);

// A stored path is used only when it holds more than its terminator.
bool storedPathUsable(uint32_t storedBytes);

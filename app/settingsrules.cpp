// The value rules of the stored settings.
#include "app/settingsrules.h"
#include "dropper/zoommath.h"
#include "res/resource.h"

// Menu factors are 1..16. Anything up to 256 still lays out sensibly (one screen
// pixel then fills a 256-pixel block, larger than any display area a skin can
// reasonably have); beyond that, and for factors below 1, the display shows the
// solid colour instead.
int32_t usableZoom(int32_t stored)
{
    return stored >= 1 && stored <= maxZoom ? stored : 0;
}

// 255 x 255 = 65025 pixels is already far more than the menu's 21 x 21 and
// slow at one window lookup per pixel; a larger stored side would make every
// 1 ms tick read millions of pixels. It also keeps the unsigned 32-bit channel
// sums (at most 65025 x 255) far from wrapping.
int32_t usableAntiDither(int32_t stored)
{
    if (stored <= 1)
        return 1;
    return stored > maxAntiDither ? maxAntiDither : stored;
}

// A distance beyond a million pixels already reaches every edge on any desktop.
int32_t usableSnapTol(int32_t stored)
{
    const int32_t most = 1 << 20;
    if (stored < 0)
        return -1;
    return stored > most ? most : stored;
}

int32_t usablePosition(int32_t stored)
{
    const int32_t most = 1 << 24;
    if (stored < -most)
        return -most;
    return stored > most ? most : stored;
}

int32_t savedSnapTolFor(int32_t storedSnapTol)
{
    return storedSnapTol > 0 ? storedSnapTol : 8;
}

void defaultWindowPosition(int32_t workLeft, int32_t workTop, int32_t workRight, int32_t workBottom, int32_t width,
                           int32_t height, int32_t* x, int32_t* y)
{
    // C++ division truncates toward zero.
    *x = (workRight - workLeft) / 2 - width / 2;
    *y = (workBottom - workTop) / 2 - height / 2;
}

int zoomMenuItem(int32_t zoomFactor)
{
    switch (zoomFactor) {
    case 1: return CMD_ZOOM_1X;
    case 2: return CMD_ZOOM_2X;
    case 4: return CMD_ZOOM_4X;
    case 8: return CMD_ZOOM_8X;
    case 16: return CMD_ZOOM_16X;
    default: return CMD_ZOOM_MAX;
    }
}

int antiDitherMenuItem(int32_t antiDitherTol)
{
    switch (antiDitherTol) {
    case 3: return CMD_DITHER_SMALL;
    case 9: return CMD_DITHER_MEDIUM;
    case 21: return CMD_DITHER_LARGE;
    default: return CMD_DITHER_NONE;
    }
}

bool storedPathUsable(uint32_t storedBytes)
{
    return storedBytes > 1;
}

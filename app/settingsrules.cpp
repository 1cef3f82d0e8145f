// The value rules of the stored settings.
#include "app/settingsrules.h"

int32_t savedSnapTolFor(int32_t storedSnapTol)
{
    return storedSnapTol > 0 ? storedSnapTol : 8;
}

void defaultWindowPosition(int32_t workLeft, int32_t workTop, int32_t workRight, int32_t workBottom,
                           int32_t width, int32_t height, int32_t* x, int32_t* y)
{
    // 64-bit so that absurd work areas cannot overflow; C++ division truncates toward zero.
    *x = static_cast<int32_t>((static_cast<int64_t>(workRight) - workLeft) / 2 - width / 2);
    *y = static_cast<int32_t>((static_cast<int64_t>(workBottom) - workTop) / 2 - height / 2);
}

int zoomMenuItem(int32_t zoomFactor)
{
    switch (zoomFactor) {
    case 1: return 510;
    case 2: return 511;
    case 4: return 512;
    case 8: return 513;
    case 16: return 514;
    default: return 599;
    }
}

int antiDitherMenuItem(int32_t antiDitherTol)
{
    switch (antiDitherTol) {
    case 3: return 401;
    case 9: return 402;
    case 21: return 403;
    default: return 400;
    }
}

bool storedPathUsable(uint32_t storedBytes)
{
    return storedBytes > 1;
}

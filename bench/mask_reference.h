// The plain way of building a mask's areas, one run at a time: the measure the program's
// scan must match (the Wine tests) and beat (the mask benchmark).
#pragma once

#include <windows.h>

#include "skin/skin.h"

// Unites the run into the area its colour marks; false for a colour that is no area.
inline bool addMaskRun(int x, int y, int length, COLORREF color)
{
    HRGN* region = maskAreaRegion(color);
    if (!region)
        return false;
    HRGN run = CreateRectRgn(x, y, x + length, y + 1);
    if (!*region) {
        *region = run;
    } else {
        CombineRgn(*region, *region, run, RGN_OR);
        DeleteObject(run);
    }
    return true;
}

// A region made from horizontal runs handed over row by row, top to bottom and left to
// right, as a mask or a colour key is scanned.
#pragma once

#include <windows.h>

struct RunRegion {
    RECT* rects; // malloc'd, in the system's banded form; freed by finishRunRegion
    DWORD count, capacity;
    DWORD bandStart; // first rectangle of the last finished band
    DWORD rowStart;  // first rectangle of the row being added
};

// Adds [x, x + length) of row y; rows come in increasing order, runs of a row left to right
// and apart (touching runs are one run). Start from a zeroed RunRegion.
void addRun(RunRegion* runs, int x, int y, int length);
// The region of every run added, or null when there was none.
HRGN finishRunRegion(RunRegion* runs);

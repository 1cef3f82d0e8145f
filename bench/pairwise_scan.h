// The mask scan as the program did it before it built each area in one call: the mask read
// in strips, each area's runs united pairwise like a binary counter (each run copied about
// log2(runs) times). Kept to measure the program's scan against; areas only, no text colours.
#pragma once

#include <windows.h>

#include "skin/pixels.h"
#include "skin/skin.h"

struct PairwiseStack {
    HRGN* area; // the region slot the stack fills
    HRGN pieces[32];
    unsigned runs[32];
    int count;
};

struct PairwiseScan {
    COLORREF colors[64]; // the colours met so far and their stacks (null: no area)
    PairwiseStack* stacks[64];
    PairwiseStack store[64];
    int colorCount, stackCount;
};

inline PairwiseStack* pairwiseStackFor(PairwiseScan* scan, COLORREF color)
{
    for (int i = 0; i < scan->colorCount; i++)
        if (scan->colors[i] == color)
            return scan->stacks[i];
    HRGN* area = maskAreaRegion(color);
    PairwiseStack* stack = NULL;
    if (area) {
        stack = &scan->store[scan->stackCount++];
        stack->area = area;
        stack->count = 0;
    }
    if (scan->colorCount < 64) {
        scan->colors[scan->colorCount] = color;
        scan->stacks[scan->colorCount++] = stack;
    }
    return stack;
}

inline void pairwisePush(PairwiseStack* stack, int x, int y, int length)
{
    stack->pieces[stack->count] = CreateRectRgn(x, y, x + length, y + 1);
    stack->runs[stack->count++] = 1;
    while (stack->count >= 2 && stack->runs[stack->count - 1] == stack->runs[stack->count - 2]) {
        HRGN top = stack->pieces[--stack->count];
        CombineRgn(stack->pieces[stack->count - 1], stack->pieces[stack->count - 1], top, RGN_OR);
        DeleteObject(top);
        stack->runs[stack->count - 1] *= 2;
    }
}

inline HRGN pairwiseUnite(PairwiseStack* stack)
{
    if (stack->count == 0)
        return NULL;
    HRGN region = stack->pieces[--stack->count];
    while (stack->count > 0) {
        HRGN older = stack->pieces[--stack->count];
        CombineRgn(region, older, region, RGN_OR);
        DeleteObject(older);
    }
    return region;
}

inline void pairwiseScanMask(HBITMAP mask, int width, int height)
{
    PairwiseScan* scan = new PairwiseScan();
    HDC maskDC = CreateCompatibleDC(NULL);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    const int stripPixels = 1 << 20;
    int stripRows = width >= stripPixels ? 1 : stripPixels / width;
    if (stripRows > height)
        stripRows = height;
    PixelBuffer strip;
    createPixelBuffer(&strip, width, stripRows);
    for (int top = 0; top < height; top += stripRows) {
        int rows = height - top < stripRows ? height - top : stripRows;
        capturePixels(&strip, maskDC, 0, top, width, rows);
        for (int r = 0; r < rows; r++) {
            const DWORD* row = strip.bits + static_cast<size_t>(r) * width;
            for (int x = 0; x < width;) {
                DWORD pixel = row[x] & 0xFFFFFF;
                int end = x + 1;
                while (end < width && (row[end] & 0xFFFFFF) == pixel)
                    end++;
                PairwiseStack* stack = pairwiseStackFor(scan, RGB(pixel >> 16, (pixel >> 8) & 0xFF, pixel & 0xFF));
                if (stack)
                    pairwisePush(stack, x, top + r, end - x);
                x = end;
            }
        }
    }
    freePixelBuffer(&strip);
    SelectObject(maskDC, oldMask);
    DeleteDC(maskDC);
    for (int i = 0; i < scan->stackCount; i++)
        *scan->store[i].area = pairwiseUnite(&scan->store[i]);
    delete scan;
    finishMaskAreas();
}

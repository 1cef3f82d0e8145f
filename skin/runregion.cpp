// Regions from runs: the rectangles are gathered in the system's banded form and made
// into a region in few calls. Uniting run by run makes and copies a region for every run;
// on a large mask that was most of the load time.
#include "skin/runregion.h"
#include "app/appstate.h"

#include <cstdlib>

// A row that repeats the band above it in every run only makes that band taller: the
// form CombineRgn gives, so that equal areas compare equal.
static void closeRow(RunRegion* runs)
{
    RECT* r = runs->rects;
    DWORD rowCount = runs->count - runs->rowStart, bandCount = runs->rowStart - runs->bandStart;
    bool repeats = bandCount == rowCount && r[runs->bandStart].bottom == r[runs->rowStart].top;
    for (DWORD i = 0; repeats && i < rowCount; i++)
        repeats = r[runs->bandStart + i].left == r[runs->rowStart + i].left
            && r[runs->bandStart + i].right == r[runs->rowStart + i].right;
    if (repeats) {
        for (DWORD i = runs->bandStart; i < runs->rowStart; i++)
            r[i].bottom = r[runs->rowStart].bottom;
        runs->count = runs->rowStart;
    } else {
        runs->bandStart = runs->rowStart;
    }
    runs->rowStart = runs->count;
}

void addRun(RunRegion* runs, int x, int y, int length)
{
    if (runs->count > runs->rowStart && runs->rects[runs->rowStart].top != y)
        closeRow(runs);
    if (runs->count == runs->capacity) {
        DWORD capacity = runs->capacity ? 2 * runs->capacity : 256;
        RECT* grown = static_cast<RECT*>(realloc(runs->rects, capacity * sizeof(RECT)));
        if (!grown)
            fatal(-1);
        runs->rects = grown;
        runs->capacity = capacity;
    }
    SetRect(&runs->rects[runs->count++], x, y, x + length, y + 1);
}

// Rectangles per ExtCreateRegion call. Wine makes such a region by uniting the rectangles
// one by one, which costs the square of their number; the pieces are united pairwise.
static const DWORD chunkRects = 16;

struct RegionChunk {
    RGNDATAHEADER header;
    RECT rects[chunkRects];
};

static HRGN chunkRegion(const RECT* r, DWORD count)
{
    RegionChunk chunk;
    RGNDATAHEADER& header = chunk.header;
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = count;
    header.nRgnSize = count * sizeof(RECT);
    // Bands run top to bottom: only the sides need a search.
    header.rcBound = r[0];
    header.rcBound.bottom = r[count - 1].bottom;
    for (DWORD i = 0; i < count; i++) {
        chunk.rects[i] = r[i];
        if (r[i].left < header.rcBound.left)
            header.rcBound.left = r[i].left;
        if (r[i].right > header.rcBound.right)
            header.rcBound.right = r[i].right;
    }
    HRGN region = ExtCreateRegion(NULL, sizeof header + header.nRgnSize, reinterpret_cast<RGNDATA*>(&chunk));
    if (!region)
        fatal(-1);
    return region;
}

// The chunks are united like a binary counter: only pieces of equal weight are joined,
// so each rectangle is copied about log2(chunks) times.
static HRGN makeRegion(const RECT* r, DWORD count)
{
    HRGN pieces[32];
    DWORD weights[32];
    int n = 0;
    for (DWORD first = 0; first < count; first += chunkRects) {
        pieces[n] = chunkRegion(r + first, count - first < chunkRects ? count - first : chunkRects);
        weights[n++] = 1;
        while (n >= 2 && (first + chunkRects >= count || weights[n - 1] == weights[n - 2])) {
            n--;
            CombineRgn(pieces[n - 1], pieces[n - 1], pieces[n], RGN_OR);
            DeleteObject(pieces[n]);
            weights[n - 1] += weights[n];
        }
    }
    return pieces[0];
}

HRGN finishRunRegion(RunRegion* runs)
{
    if (runs->count == 0)
        return NULL;
    if (runs->count > runs->rowStart)
        closeRow(runs);
    HRGN region = makeRegion(runs->rects, runs->count);
    free(runs->rects);
    *runs = RunRegion();
    return region;
}

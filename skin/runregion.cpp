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
    runs->rects[runs->count++] = { x, y, x + length, y + 1 };
}

// Rectangles per ExtCreateRegion call. Wine makes such a region by uniting the rectangles
// one by one, which costs the square of their number.
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

// Narrow bands are made a piece of up to pieceRects rectangles at a time, each rectangle a
// polygon of one CreatePolyPolygonRgn call: the system scans them into bands in one pass
// down the rows. That pass costs the square of the rectangles a row crosses, so a band of
// more than narrowBand rectangles goes the ExtCreateRegion way.
static const DWORD pieceRects = 2048, narrowBand = 16;

struct PolygonBuffer {
    POINT corners[4 * pieceRects];
    INT cornerCounts[pieceRects];
};

// The rectangles go in from the last: Wine files each edge by searching its table from
// the front, which then finds the place at once.
static HRGN polygonRegion(PolygonBuffer* buffer, const RECT* r, DWORD count)
{
    POINT* corner = buffer->corners;
    for (DWORD i = count; i-- > 0;) {
        const RECT& rect = r[i];
        *corner++ = { rect.left, rect.top };
        *corner++ = { rect.right, rect.top };
        *corner++ = { rect.right, rect.bottom };
        *corner++ = { rect.left, rect.bottom };
    }
    HRGN region = CreatePolyPolygonRgn(buffer->corners, buffer->cornerCounts, count, ALTERNATE);
    if (!region)
        fatal(-1);
    return region;
}

static DWORD bandEnd(const RECT* r, DWORD first, DWORD count)
{
    DWORD end = first + 1;
    while (end < count && r[end].top == r[first].top)
        end++;
    return end;
}

// The pieces are united as they come, a piece with the one before while that one holds at
// most twice its rectangles: each rectangle is copied about log2(pieces) times.
static HRGN makeRegion(const RECT* r, DWORD count)
{
    PolygonBuffer* buffer = static_cast<PolygonBuffer*>(malloc(sizeof(PolygonBuffer)));
    if (!buffer)
        fatal(-1);
    for (INT& corners : buffer->cornerCounts)
        corners = 4;
    HRGN pieces[32];
    DWORD weights[32];
    int n = 0;
    for (DWORD first = 0; first < count;) {
        DWORD end = bandEnd(r, first, count);
        if (end - first > narrowBand) {
            end = first + chunkRects;
            pieces[n] = chunkRegion(r + first, chunkRects);
        } else {
            while (end < count) { // whole narrow bands, while the piece has room
                DWORD next = bandEnd(r, end, count);
                if (next - end > narrowBand || next - first > pieceRects)
                    break;
                end = next;
            }
            pieces[n] = polygonRegion(buffer, r + first, end - first);
        }
        weights[n++] = end - first;
        first = end;
        while (n >= 2 && (first == count || weights[n - 2] <= 2 * weights[n - 1])) {
            n--;
            CombineRgn(pieces[n - 1], pieces[n - 1], pieces[n], RGN_OR);
            DeleteObject(pieces[n]);
            weights[n - 1] += weights[n];
        }
    }
    free(buffer);
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

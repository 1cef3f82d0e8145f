// The undo/redo ring of colours, and its saved form.
#include "color/history.h"

namespace {

const uint32_t slotMask = historySize - 1;

} // namespace

void resetHistory(ColorHistory* h)
{
    h->oldest = 0;
    h->newest = 0;
    h->current = 0;
    h->entries[0] = 0xFFFFFF;
}

void recordColor(ColorHistory* h, uint32_t c)
{
    if (h->entries[h->current & slotMask] == c)
        return;
    uint32_t n = (h->current + 1) & slotMask;
    h->entries[n] = c;
    h->current = n;
    h->newest = n;
    // A full ring loses its oldest colour.
    if (n == h->oldest)
        h->oldest = (h->oldest + 1) & slotMask;
}

void undoColor(ColorHistory* h)
{
    if (h->current != h->oldest)
        h->current = (h->current - 1) & slotMask;
}

void redoColor(ColorHistory* h)
{
    if (h->current != h->newest)
        h->current = (h->current + 1) & slotMask;
}

uint32_t currentColor(const ColorHistory* h)
{
    return h->entries[h->current & slotMask];
}

uint32_t historyCount(const ColorHistory* h)
{
    return ((h->newest - h->oldest) & slotMask) + 1;
}

size_t saveHistoryBytes(const ColorHistory* h, uint8_t out[4096])
{
    uint32_t count = historyCount(h);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t c = h->entries[(h->oldest + i) & slotMask];
        for (uint32_t b = 0; b < 4; ++b)
            out[i * 4 + b] = static_cast<uint8_t>(c >> (8 * b));
    }
    return static_cast<size_t>(count) * 4;
}

bool loadHistoryBytes(ColorHistory* h, const uint8_t* bytes, size_t count)
{
    if (count < 4 || count > historySize * 4) {
        h->current = h->newest;
        return false;
    }
    size_t n = count / 4;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = bytes + i * 4;
        h->entries[i] = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8
            | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
    h->oldest = 0;
    h->newest = static_cast<uint32_t>(n - 1);
    h->current = h->newest;
    return true;
}

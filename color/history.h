// The undo/redo ring of colours, and its saved form.
#pragma once

#include <cstddef>
#include <cstdint>

const uint32_t historySize = 1024;

// The held colours run from oldest forward to newest, wrapping past the last slot;
// current is always on that path. Never empty.
struct ColorHistory {
    uint32_t entries[historySize];
    uint32_t oldest, newest, current;
};

// The single white entry of a first run.
void resetHistory(ColorHistory* h);

// Adds c after current, dropping the redo colours; nothing when c is already current.
void recordColor(ColorHistory* h, uint32_t c);

// Step back or forward unless already at the oldest or newest colour.
void undoColor(ColorHistory* h);
void redoColor(ColorHistory* h);

uint32_t currentColor(const ColorHistory* h);
uint32_t historyCount(const ColorHistory* h);

// The held colours oldest first, each as 4 little-endian bytes; returns the byte count.
size_t saveHistoryBytes(const ColorHistory* h, uint8_t out[4096]);

// Loads 4..4096 bytes as colours into slot 0 on, current at the newest. Anything else
// leaves the history as it was (only current moves to newest) and returns false.
bool loadHistoryBytes(ColorHistory* h, const uint8_t* bytes, size_t count);

// Colour arithmetic behind the channel buttons: packing, stepping and the auto-repeat timing.
#pragma once

#include <cstdint>

// The channels as a COLORREF (0x00BBGGRR), each byte the channel truncated toward zero.
uint32_t packColor(const double rgb[3]);

// Byte 0 red, byte 1 green, byte 2 blue; byte 3 is ignored.
void unpackColor(uint32_t c, double rgb[3]);

// Equal steps move all three channels together without leaving 0..255 (white mode);
// otherwise each channel moves by its own step and is clamped to 0..255.
void applyColorStep(double rgb[3], int32_t dr, int32_t dg, int32_t db);

// One tick of a held channel button speeds the repeat up: 150, 131, 113, ... down to 15 ms.
void advanceRepeat(int32_t* repeatInterval, int32_t* repeatStep);

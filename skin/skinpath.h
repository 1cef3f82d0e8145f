// Skin file names (image and mask) and the BMP header tests of a user skin.
#pragma once

#include <cstddef>
#include <cstdint>

typedef bool (*FileExistsFn)(const char* path, void* context);

// Last occurrence of word in text, ignoring ASCII case; false if none or word is empty.
bool findLastNoCase(const char* text, const char* word, size_t* position);
// The skin's mask name: the last ".bmp" (any case) becomes "_mask.bmp". False, with
// out empty, when the name has no ".bmp" or out is too small.
bool makeMaskPath(const char* skinPath, char* out, size_t outSize);
// Works out which image and mask the user meant by named (who may have picked the
// mask). mask is empty when the name has no ".bmp". False when a buffer is too small.
bool resolveSkinPaths(const char* named, char* skin, size_t skinSize, char* mask, size_t maskSize,
                      FileExistsFn fileExists, void* context);
// From the file's first 28 bytes: true with the skin's size only if it is usable.
bool skinSizeFromHeader(const uint8_t* bytes, size_t count, int32_t* width, int32_t* height);

// The file header, the longest info header read and the bit-field colour masks after it.
const size_t bmpHeaderBytes = 66;
// Whether judging or drawing the file takes all of its bytes: a run-length stream is checked
// to its end, and top-down rows are drawn from memory.
bool bmpNeedsWholeFile(const uint8_t* header, size_t got);
// From the file's first got bytes (at least bmpHeaderBytes, or all when bmpNeedsWholeFile)
// and its size: true with the skin's size only if the header is usable, the file holds all
// the pixel data it announces and a run-length stream stays inside the picture. topDown
// tells whether the rows run top to bottom.
bool bmpFileUsable(const uint8_t* bytes, size_t got, uint64_t fileSize, int32_t* width, int32_t* height,
                   bool* topDown = nullptr);
// Whether an RLE8 (bits 8) or RLE4 (bits 4) stream draws something and keeps every run,
// move and row inside a picture of width x height.
bool runLengthStreamFits(const uint8_t* stream, size_t size, int32_t width, int32_t height, uint32_t bits);
// Whether the path names a device (CON, PRN, AUX, NUL, COM1-9, LPT1-9) rather than a file:
// in any folder, with any extension, as the system reads such names.
bool isDeviceName(const char* path);

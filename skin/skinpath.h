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

// The file header and the longest info header read.
const size_t bmpHeaderBytes = 54;
// From the file's first got bytes (at most bmpHeaderBytes) and its size: true with the skin's
// size only if the header is usable and the file holds all the pixel data it announces.
bool bmpFileUsable(const uint8_t* header, size_t got, uint64_t fileSize, int32_t* width, int32_t* height);

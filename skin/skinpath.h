// Skin file names (image and mask) and the BMP header test of a user skin.
#pragma once

#include <cstddef>
#include <cstdint>

// Buffers for a resolved pair: the file dialog allows 511 characters, and the
// mask name is at most 5 longer ("_mask.bmp" in place of ".bmp").
struct SkinPaths {
    char skin[512];
    char mask[517];
};

typedef bool (*FileExistsFn)(const char* path, void* context);

// Last occurrence of word in text, ignoring ASCII case; false if none or word is empty.
bool findLastNoCase(const char* text, const char* word, size_t* position);
// The skin's mask name: the last ".bmp" (any case) becomes "_mask.bmp". False, with
// out empty, when the name has no ".bmp" or out is too small.
bool makeMaskPath(const char* skinPath, char* out, size_t outSize);
// Works out which image and mask the user meant by named (who may have picked the
// mask). mask is empty when the name has no ".bmp". False when a buffer is too small.
bool resolveSkinPaths(const char* named, char* skin, size_t skinSize, char* mask,
                      size_t maskSize, FileExistsFn fileExists, void* context);
// From the file's first 28 bytes: true with the skin's size only if it is usable.
bool skinSizeFromHeader(const uint8_t* bytes, size_t count, int32_t* width, int32_t* height);

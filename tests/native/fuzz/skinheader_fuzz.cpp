// Fuzz target: the BMP header test and the skin/mask name rules on arbitrary bytes.
#include "skin/skinpath.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Answers "exists" from successive bits of the input's first byte, so the
// fuzzer can steer every branch of the name rules.
struct BitFiles {
    uint8_t bits;
    int asked;
};

bool bitExists(const char* path, void* context) {
    if (path == nullptr || strlen(path) > 600) abort();  // asked only about sane names
    BitFiles* files = static_cast<BitFiles*>(context);
    return (files->bits >> (files->asked++ & 7)) & 1;
}

void checkHeader(const uint8_t* data, size_t size) {
    int32_t w = 0, h = 0;
    if (skinSizeFromHeader(data, size, &w, &h)) {
        if (size != 28 || w < 1 || h < 1 || w > 8192 || h > 8192 || int64_t(w) * h > (16 << 20))
            abort();
    }
}

void checkNames(const uint8_t* data, size_t size) {
    if (size == 0) return;
    BitFiles files{data[0], 0};
    // The name as a NUL-terminated copy; an embedded NUL just ends it early.
    char* named = static_cast<char*>(malloc(size));
    memcpy(named, data + 1, size - 1);
    named[size - 1] = '\0';
    size_t length = strlen(named);

    // Small and exact-fit buffers on odd sizes, the real ones on even sizes.
    size_t skinSize = data[0] & 1 ? (data[0] >> 1) % 40 : 512;
    size_t maskSize = data[0] & 1 ? (data[0] >> 3) % 48 : 517;
    char* skin = static_cast<char*>(malloc(skinSize + 1));
    char* mask = static_cast<char*>(malloc(maskSize + 1));
    skin[skinSize] = mask[maskSize] = 'Z';  // guard bytes beyond the given sizes
    if (resolveSkinPaths(named, skin, skinSize, mask, maskSize, bitExists, &files)) {
        if (strlen(skin) >= skinSize || strlen(mask) >= maskSize || strlen(skin) > length) abort();
        if (mask[0] != '\0' && strlen(mask) != length + 5 && strcmp(mask, named) != 0) abort();
    }
    if (skin[skinSize] != 'Z' || mask[maskSize] != 'Z') abort();

    if (makeMaskPath(named, mask, maskSize)) {
        size_t at = 0;
        if (!findLastNoCase(named, ".bmp", &at) || strlen(mask) != length + 5 ||
            memcmp(mask, named, at) != 0 || memcmp(mask + at, "_mask.bmp", 9) != 0)
            abort();
    }
    if (mask[maskSize] != 'Z') abort();
    free(mask);
    free(skin);
    free(named);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkHeader(data, size);
    if (size > 28) checkHeader(data, 28);
    checkNames(data, size);
    return 0;
}

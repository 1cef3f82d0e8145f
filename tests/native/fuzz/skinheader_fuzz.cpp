// Fuzz target: the BMP header and run-length stream tests and the skin/mask name rules on
// arbitrary bytes.
#include "skin/skinpath.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

static void require(bool ok)
{
    if (!ok)
        abort();
}

// Answers "exists" from successive bits of the input's first byte, so the fuzzer can
// steer every branch of the name rules.
static bool bitExists(const char*, void* context)
{
    unsigned& bits = *static_cast<unsigned*>(context);
    bits = bits >> 1 | (bits & 1) << 7;
    return bits & 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int32_t w = 0, h = 0;
    if (skinSizeFromHeader(data, size < 28 ? size : 28, &w, &h))
        require(w >= 1 && h >= 1 && w <= 8192 && h <= 8192 && int64_t(w) * h <= (16 << 20));
    if (size == 0)
        return 0;
    // The input as a whole file, run-length stream and all, and as a stream on its own in a
    // picture whose sides the first byte gives.
    bool down = false;
    if (bmpFileUsable(data, size, size, &w, &h, &down)) {
        // Drawing reads the rows (or the stream the header announces) from the pixel offset, or
        // from the headers' end when it is 0, and bit-field masks after the info header: all within
        // the file. Only info headers' heights, negative, run top-down.
        uint32_t at[9] = {}; // the header from byte 2 on, 4 bytes a field (a little-endian host)
        memcpy(at, data + 2, std::min(size - 2, sizeof at));
        bool core = at[3] == 12, runLength = !core && (at[7] == 1 || at[7] == 2);
        uint64_t bits = at[core ? 5 : 6] >> 16, start = at[2] ? at[2] : 14ull + at[3];
        uint64_t rows = runLength ? at[8] : (w * bits + 31) / 32 * 4 * h;
        require(start + rows <= size && (core || at[7] != 3 || size >= 66) && down == (!core && int32_t(at[5]) < 0));
    }
    runLengthStreamFits(data + 1, size - 1, 1 + data[0] % 16, 1 + data[0] / 16, data[0] & 1 ? 4 : 8);

    // The name after the first byte; small buffers on odd first bytes, the real ones on even.
    std::string named(reinterpret_cast<const char*>(data) + 1, size - 1);
    named = named.c_str();
    unsigned bits = data[0];
    size_t skinSize = bits & 1 ? (bits >> 1) % 40 : 512, maskSize = bits & 1 ? (bits >> 3) % 48 : 517;
    std::vector<char> skin(skinSize + 1, 'Z'), mask(maskSize + 1, 'Z'); // a guard byte past each
    if (resolveSkinPaths(named.c_str(), skin.data(), skinSize, mask.data(), maskSize, bitExists, &bits)) {
        require(strlen(skin.data()) <= named.size());
        require(mask[0] == '\0' || strlen(mask.data()) == named.size() + 5 || named == mask.data());
    }
    size_t at = 0;
    require(skin[skinSize] == 'Z' && mask[maskSize] == 'Z');
    if (makeMaskPath(named.c_str(), mask.data(), maskSize))
        require(findLastNoCase(named.c_str(), ".bmp", &at)
                && mask.data() == named.substr(0, at) + "_mask.bmp" + named.substr(at + 4));
    require(mask[maskSize] == 'Z');
    return 0;
}

// Skin file names (image and mask), device names, and the BMP header and pixel stream tests of a
// user skin.
#include "skin/skinpath.h"

#include <cstring>

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool equalNoCase(const char* a, const char* b, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

// out = text with count characters at position replaced by insert; false if out is too small.
bool replaceAt(const char* text, size_t position, size_t count, const char* insert, char* out, size_t outSize)
{
    size_t length = strlen(text), insertLength = strlen(insert);
    size_t needed = length - count + insertLength + 1;
    if (out == nullptr || outSize < needed)
        return false;
    memmove(out, text, position);
    memcpy(out + position, insert, insertLength);
    memcpy(out + position + insertLength, text + position + count, length - position - count + 1);
    return true;
}

void clear(char* out, size_t outSize)
{
    if (out != nullptr && outSize > 0)
        out[0] = '\0';
}

uint32_t read16(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}
uint32_t read32(const uint8_t* p)
{
    return read16(p) | read16(p + 2) << 16;
}

// The back buffer is a display-compatible bitmap of the skin's size and every
// mask run becomes a region operation; if either cannot be created the process
// ends. 8192 per side and 16M pixels (64 MiB at 32 bits) stay creatable, so a
// bigger header is refused up front and the built-in skin is used instead.
constexpr int64_t maxSkinSide = 8192;
constexpr int64_t maxSkinPixels = int64_t(16) << 20;

} // namespace

bool findLastNoCase(const char* text, const char* word, size_t* position)
{
    if (text == nullptr || word == nullptr)
        return false;
    size_t textLength = strlen(text), wordLength = strlen(word);
    if (wordLength == 0 || wordLength > textLength)
        return false;
    for (size_t i = textLength - wordLength + 1; i-- > 0;) {
        if (equalNoCase(text + i, word, wordLength)) {
            if (position != nullptr)
                *position = i;
            return true;
        }
    }
    return false;
}

// A name without ".bmp" has no mask: scanning the image as its own mask would
// only turn its colours into stray areas.
bool makeMaskPath(const char* skinPath, char* out, size_t outSize)
{
    size_t position;
    if (findLastNoCase(skinPath, ".bmp", &position) && replaceAt(skinPath, position, 4, "_mask.bmp", out, outSize))
        return true;
    clear(out, outSize);
    return false;
}

bool resolveSkinPaths(const char* named, char* skin, size_t skinSize, char* mask, size_t maskSize,
                      FileExistsFn fileExists, void* context)
{
    clear(skin, skinSize);
    clear(mask, maskSize);
    if (named == nullptr || skin == nullptr || mask == nullptr || named[0] == '\0')
        return false;
    size_t length = strlen(named);
    bool hasBmp = findLastNoCase(named, ".bmp", nullptr);
    // Fail before touching anything if the plain answer would not fit.
    if (length + 1 > skinSize || maskSize < (hasBmp ? length + 6 : 1))
        return false;
    bool hasMask = hasBmp && makeMaskPath(named, mask, maskSize);
    auto exists = [&](const char* path) { return fileExists != nullptr && fileExists(path, context); };

    // The user may have picked the mask itself: then the image is the name
    // without "_mask", and the named file is its mask.
    size_t position;
    if (!(hasMask && exists(mask)) && findLastNoCase(named, "_mask.bmp", &position)
        && replaceAt(named, position, 9, ".bmp", skin, skinSize) && exists(skin)) {
        memcpy(mask, named, length + 1);
        return true;
    }
    memcpy(skin, named, length + 1); // mask still holds makeMaskPath's answer
    return true;
}

bool skinSizeFromHeader(const uint8_t* bytes, size_t count, int32_t* width, int32_t* height)
{
    if (bytes == nullptr || count != 28 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    uint32_t headerSize = read32(bytes + 14);
    int64_t w, h;
    if (headerSize == 12) { // BITMAPCOREHEADER: unsigned 16-bit sizes
        w = read16(bytes + 18);
        h = read16(bytes + 20);
    } else if (headerSize >= 16) { // every longer header has 32-bit signed sizes here
        w = int32_t(read32(bytes + 18));
        h = int32_t(read32(bytes + 22));
    } else {
        return false;
    }
    if (h < 0)
        h = -h; // top-down bitmaps; INT32_MIN becomes 2^31 and fails below
    if (w < 1 || h < 1 || w > maxSkinSide || h > maxSkinSide || w * h > maxSkinPixels)
        return false;
    if (width != nullptr)
        *width = int32_t(w);
    if (height != nullptr)
        *height = int32_t(h);
    return true;
}

// Whether a bit count and compression make a picture the system's loader shows as drawn.
static bool pixelFormatUsable(uint32_t bits, uint32_t compression)
{
    switch (compression) {
    case 0: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; // BI_RGB
    case 1: return bits == 8;                                                                     // BI_RLE8
    case 2: return bits == 4;                                                                     // BI_RLE4
    case 3: return bits == 16 || bits == 32;                                                      // BI_BITFIELDS
    default: return false;
    }
}

// Bit fields give colours only when they hold some bits of the pixel and no two share one:
// masks all zero, all ones or overlapping draw black.
static bool colorMasksUsable(const uint8_t* masks, uint32_t bits)
{
    uint32_t r = read32(masks), g = read32(masks + 4), b = read32(masks + 8);
    uint64_t all = uint64_t(r) | g | b;
    return all != 0 && all >> bits == 0 && (r & g) == 0 && (g & b) == 0 && (r & b) == 0;
}

static bool runLengthCoded(uint32_t infoSize, uint32_t compression)
{
    return infoSize != 12 && (compression == 1 || compression == 2);
}

bool bmpNeedsWholeFile(const uint8_t* header, size_t got)
{
    if (header == nullptr || got < 38)
        return false;
    uint32_t infoSize = read32(header + 14);
    return runLengthCoded(infoSize, read32(header + 30)) || (infoSize != 12 && int32_t(read32(header + 22)) < 0);
}

// Only what the system's loader shows as drawn is usable: a header it reads otherwise gives
// an all-black face. LoadImageA also takes a file cut short and makes a picture of whatever
// lies past its end, so the announced pixel data must all be there.
bool bmpFileUsable(const uint8_t* bytes, size_t got, uint64_t fileSize, int32_t* width, int32_t* height, bool* topDown)
{
    int32_t w, h;
    if (bytes == nullptr || got < 28 || !skinSizeFromHeader(bytes, 28, &w, &h))
        return false;
    uint32_t offset = read32(bytes + 10), infoSize = read32(bytes + 14);
    uint32_t planes, bits, compression = 0, imageSize = 0;
    bool down = false;
    if (infoSize == 12) { // BITMAPCOREHEADER: no compression, no 16 or 32 bits
        planes = read16(bytes + 22);
        bits = read16(bytes + 24);
        if (bits == 16 || bits == 32)
            return false;
    } else {
        if (got < 38)
            return false;
        down = int32_t(read32(bytes + 22)) < 0;
        planes = read16(bytes + 26);
        bits = read16(bytes + 28);
        compression = read32(bytes + 30);
        imageSize = read32(bytes + 34);
    }
    if (planes != 1 || !pixelFormatUsable(bits, compression))
        return false;
    if (compression == 3 && (got < bmpHeaderBytes || !colorMasksUsable(bytes + 54, bits)))
        return false;
    bool runLength = runLengthCoded(infoSize, compression);
    if (runLength && down) // compressed rows only run bottom-up
        return false;
    uint64_t needed = runLength ? imageSize // only the header knows the length
                                : (uint64_t(w) * bits + 31) / 32 * 4 * uint64_t(h);
    // An offset of 0 means the pixels follow the headers.
    uint64_t start = offset != 0 ? offset : 14ull + infoSize;
    if (start < 14ull + infoSize || start + needed > fileSize)
        return false;
    if (runLength && (start + needed > got || !runLengthStreamFits(bytes + start, needed, w, h, bits)))
        return false;
    if (width != nullptr)
        *width = w;
    if (height != nullptr)
        *height = h;
    if (topDown != nullptr)
        *topDown = down;
    return true;
}

// Follows the stream as the system's decoder does: a pair is a run of count pixels, or after
// a zero count an end of line (0), of picture (1), a move (2, then across and down) or count
// pixels as they are, padded to 16 bits.
bool runLengthStreamFits(const uint8_t* stream, size_t size, int32_t width, int32_t height, uint32_t bits)
{
    int64_t x = 0, y = 0;
    bool drawn = false;
    for (size_t i = 0; i + 1 < size;) {
        uint32_t count = stream[i], code = stream[i + 1];
        i += 2;
        if (count == 0 && code == 0) {
            x = 0;
            if (++y > height)
                return false;
            continue;
        }
        if (count == 0 && code == 1)
            break;
        if (count == 0 && code == 2) {
            if (i + 2 > size)
                return false;
            x += stream[i];
            y += stream[i + 1];
            i += 2;
            if (x > width || y > height)
                return false;
            continue;
        }
        if (count == 0) { // as they are: code pixels
            size_t length = bits == 8 ? code : (code + 1) / 2;
            i += (length + 1) & ~size_t(1);
            count = code;
        }
        x += count;
        drawn = true;
        if (i > size || x > width || y >= height)
            return false;
    }
    return drawn;
}

bool isDeviceName(const char* path)
{
    if (path == nullptr)
        return false;
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    if (name == path && name[0] != '\0' && name[1] == ':') // a drive's current folder
        name += 2;
    size_t length = 0;
    while (name[length] != '\0' && name[length] != '.' && name[length] != ':')
        length++;
    while (length > 0 && name[length - 1] == ' ')
        length--;
    static const char* const devices[] = { "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$" };
    for (const char* device : devices)
        if (strlen(device) == length && equalNoCase(name, device, length))
            return true;
    // COM1 to COM9 and LPT1 to LPT9, also with the superscript digits 1, 2 and 3.
    if (length != 4 || !(equalNoCase(name, "COM", 3) || equalNoCase(name, "LPT", 3)))
        return false;
    unsigned char digit = static_cast<unsigned char>(name[3]);
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

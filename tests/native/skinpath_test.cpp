// Tests of skin file naming (image and mask) and the BMP header test.
#include "skin/skinpath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

// The last ".bmp", in any case, becomes "_mask.bmp"; the picked file may be the mask itself.
// The file dialog allows 511 characters; the mask name is at most 5 longer.
TEST(SkinPath, SkinAndMaskNames)
{
    const std::string longest = std::string(507, 'a') + ".bmp", tooLong = std::string(508, 'a') + ".txt";
    struct Row {
        const char* name;
        std::string named;
        std::set<std::string> present;
        std::string skin, mask;
        size_t maskSize = 517;
    };
    const std::vector<Row> rows = {
        { "the image with its mask",
          "steel.bmp",
          { "steel.bmp", "steel_mask.bmp" },
          "steel.bmp",
          "steel_mask.bmp",
          15 },
        { "no room for the mask", "steel.bmp", {}, "", "", 14 },
        { "the mask named, image present",
          "STEEL_MASK.BMP",
          { "STEEL.bmp", "STEEL_MASK.BMP" },
          "STEEL.bmp",
          "STEEL_MASK.BMP" },
        { "the mask named, no image", "steel_mask.bmp", { "steel_mask.bmp" }, "steel_mask.bmp", "steel_mask_mask.bmp" },
        { "its own mask exists",
          "a_mask.bmp",
          { "a.bmp", "a_mask.bmp", "a_mask_mask.bmp" },
          "a_mask.bmp",
          "a_mask_mask.bmp" },
        { "nothing exists", "C:\\x.bmp\\a.bmp.bmp", {}, "C:\\x.bmp\\a.bmp.bmp", "C:\\x.bmp\\a.bmp_mask.bmp" },
        { "no .bmp: no mask", "picture", { "picture" }, "picture", "" },
        { "the longest name", longest, {}, longest, longest.substr(0, 507) + "_mask.bmp" },
        { "one character more", tooLong, {}, "", "" },
        { "no name", "", {}, "", "" },
    };
    // A pretend file system: context is the set of names that exist.
    auto exists
        = [](const char* path, void* files) { return static_cast<std::set<std::string>*>(files)->count(path) > 0; };
    for (Row r : rows) {
        char skin[512], mask[517];
        memset(skin, 'x', sizeof skin), memset(mask, 'x', sizeof mask);
        EXPECT_EQ(resolveSkinPaths(r.named.c_str(), skin, sizeof skin, mask, r.maskSize, exists, &r.present),
                  !r.skin.empty())
            << r.name;
        EXPECT_EQ(skin, r.skin) << r.name;
        EXPECT_EQ(mask, r.mask) << r.name;
    }
}

// A file's first 54 bytes in the given format, the file's size and the size it is drawn at.
struct BmpFile {
    std::vector<uint8_t> bytes;
    uint64_t size;
    std::pair<int32_t, int32_t> drawn;
};
static BmpFile bmp(int32_t width, int32_t height, uint32_t infoSize = 40, uint16_t bits = 24, uint32_t compression = 0,
                   uint32_t imageSize = 0, uint16_t planes = 1)
{
    std::vector<uint8_t> b(54, 0);
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b[at + i] = uint8_t(v >> (8 * i));
    };
    bool core = infoSize == 12; // 16-bit sizes, no compression
    b[0] = 'B', b[1] = 'M';
    put(10, 14 + infoSize, 4), put(14, infoSize, 4);
    put(18, uint32_t(width), core ? 2 : 4), put(core ? 20 : 22, uint32_t(height), core ? 2 : 4);
    put(core ? 22 : 26, planes, 2), put(core ? 24 : 28, bits, 2);
    if (!core)
        put(30, compression, 4), put(34, imageSize, 4);
    uint64_t pixels = compression == 1 || compression == 2
        ? imageSize
        : (uint64_t(width) * bits + 31) / 32 * 4 * std::llabs(height);
    return { b, 14 + infoSize + pixels, { width, int32_t(std::llabs(height)) } };
}

TEST(SkinPath, OnlyFilesTheLoaderShowsAsDrawnAreUsable)
{
    BmpFile lowerCase = bmp(8, 2);
    lowerCase.bytes[0] = 'b';
    struct Row {
        const char* name;
        BmpFile file;
        bool ok;
        int64_t sizeChange = 0;
        size_t got = 54;
    };
    const std::vector<Row> rows = {
        { "24 bits", bmp(8, 2), true },
        { "1 bit", bmp(8, 2, 40, 1), true },
        { "core header, 24 bits", bmp(8, 2, 12), true },
        { "run-length 8 bits", bmp(8, 2, 40, 8, 1, 20), true },
        { "bit fields, 16 bits", bmp(8, 2, 40, 16, 3), true },
        { "top-down", bmp(83, -132), true },
        { "OS/2 2.x short header", bmp(8, 2, 16), true },
        { "core header, largest side", bmp(8192, 2048, 12), true },
        { "16M pixels exactly", bmp(8192, -2048), true },
        // Pixel data cut short: the loader would draw whatever lies past the file's end.
        { "one byte cut off", bmp(8, 2), false, -1 },
        { "run-length data cut short", bmp(8, 2, 40, 8, 1, 20), false, -1 },
        { "header cut short", bmp(8, 2), false, 0, 37 },
        // Formats the loader reads as an all-black face.
        { "two planes", bmp(8, 2, 40, 24, 0, 0, 2), false },
        { "7 bits", bmp(8, 2, 40, 7), false },
        { "no bit count (a compressed image)", bmp(8, 2, 40, 0, 4, 20), false },
        { "RLE8 with 24 bits", bmp(8, 2, 40, 24, 1, 20), false },
        { "RLE4 with 8 bits", bmp(8, 2, 40, 8, 2, 20), false },
        { "bit fields with 24 bits", bmp(8, 2, 40, 24, 3), false },
        { "unknown compression", bmp(8, 2, 40, 24, 9), false },
        { "core header, 32 bits", bmp(8, 2, 12, 32), false },
        // Sizes and headers no skin has.
        { "negative width", bmp(-8, 2), false },
        { "INT32_MIN height", bmp(8, INT32_MIN), false },
        { "lower-case bm", lowerCase, false },
        { "info size 13", bmp(8, 2, 13), false },
    };
    for (const Row& r : rows) {
        int32_t w = -7, h = -7; // untouched on failure
        bool ok = bmpFileUsable(r.file.bytes.data(), r.got, r.file.size + r.sizeChange, &w, &h);
        EXPECT_EQ(ok, r.ok) << r.name;
        EXPECT_EQ(std::make_pair(w, h), ok ? r.file.drawn : std::make_pair(-7, -7)) << r.name;
    }
}

// Tests of skin file naming (image and mask) and the BMP header test.
#include "skin/skinpath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// The file dialog allows 511 characters; the mask name is at most 5 longer.
struct SkinPaths {
    char skin[512];
    char mask[517];
};

// The last ".bmp", in any case, becomes "_mask.bmp".
TEST(SkinPath, MaskNames) {
    struct Row { const char* skin; size_t size; bool ok; const char* mask; };
    const Row rows[] = {
        {"steel.bmp", 64, true, "steel_mask.bmp"},
        {"STEEL.BMP", 64, true, "STEEL_mask.bmp"},
        {"C:\\x.bmp\\a.bmp.bmp", 64, true, "C:\\x.bmp\\a.bmp_mask.bmp"},
        {"steel", 64, false, ""},
        {"a.bmp", 11, true, "a_mask.bmp"},  // 10 characters and the terminator
        {"a.bmp", 10, false, ""},
    };
    for (const Row& r : rows) {
        char out[64];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(makeMaskPath(r.skin, out, r.size), r.ok) << r.skin << " in " << r.size;
        EXPECT_STREQ(out, r.mask) << r.skin << " in " << r.size;
    }
}

// A pretend file system: context is the set of names that exist.
bool fakeExists(const char* path, void* context) {
    return static_cast<std::set<std::string>*>(context)->count(path) > 0;
}

TEST(SkinPath, ThePickedFileMayBeTheMask) {
    struct Row { const char* name; const char* named; std::set<std::string> present; const char *skin, *mask; };
    const std::vector<Row> rows = {
        {"the image with its mask", "steel.bmp", {"steel.bmp", "steel_mask.bmp"}, "steel.bmp", "steel_mask.bmp"},
        {"the mask named, image present", "S\\STEEL_MASK.BMP", {"S\\STEEL.bmp", "S\\STEEL_MASK.BMP"},
         "S\\STEEL.bmp", "S\\STEEL_MASK.BMP"},
        {"the mask named, no image", "steel_mask.bmp", {"steel_mask.bmp"}, "steel_mask.bmp", "steel_mask_mask.bmp"},
        {"a mask of the mask exists", "steel_mask.bmp", {"steel.bmp", "steel_mask.bmp", "steel_mask_mask.bmp"},
         "steel_mask.bmp", "steel_mask_mask.bmp"},
        {"nothing exists", "gone.bmp", {}, "gone.bmp", "gone_mask.bmp"},
        {"no .bmp: no mask", "picture", {"picture"}, "picture", ""},
    };
    for (const Row& r : rows) {
        std::set<std::string> files = r.present;
        SkinPaths p;
        ASSERT_TRUE(resolveSkinPaths(r.named, p.skin, sizeof p.skin, p.mask, sizeof p.mask, fakeExists, &files))
            << r.name;
        EXPECT_STREQ(p.skin, r.skin) << r.name;
        EXPECT_STREQ(p.mask, r.mask) << r.name;
    }
}

TEST(SkinPath, LongNamesFailCleanly) {
    // 511 characters are the most the dialog and SkinPaths hold.
    for (size_t length : {511u, 512u})
        for (std::string tail : {".bmp", ".txt"}) {
            std::string named = std::string(length - 4, 'a') + tail;
            std::string mask = tail == ".bmp" ? named.substr(0, length - 4) + "_mask.bmp" : "";
            SkinPaths p;
            memset(&p, 'x', sizeof p);
            bool ok = resolveSkinPaths(named.c_str(), p.skin, sizeof p.skin, p.mask, sizeof p.mask, nullptr, nullptr);
            EXPECT_EQ(ok, length == 511) << length << tail;
            EXPECT_EQ(std::string(p.skin), ok ? named : "") << length << tail;
            EXPECT_EQ(std::string(p.mask), ok ? mask : "") << length << tail;
        }
    // The mask buffer alone too small: fails too, rather than losing the mask.
    char skin[64], mask[15];
    EXPECT_TRUE(resolveSkinPaths("steel.bmp", skin, sizeof skin, mask, 15, nullptr, nullptr));
    EXPECT_FALSE(resolveSkinPaths("steel.bmp", skin, sizeof skin, mask, 14, nullptr, nullptr));
    EXPECT_FALSE(resolveSkinPaths("", skin, sizeof skin, mask, sizeof mask, nullptr, nullptr));
}

// The first 28 bytes of a BMP file: type, info header size, then width and height
// (16-bit in a 12-byte core header, 32-bit otherwise).
std::vector<uint8_t> header(const char* type, uint32_t infoSize, int32_t width, int32_t height) {
    std::vector<uint8_t> b(28, 0);
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = uint8_t(v >> (8 * i));
    };
    b[0] = uint8_t(type[0]), b[1] = uint8_t(type[1]);
    put(14, infoSize, 4);
    int side = infoSize == 12 ? 2 : 4;
    put(18, uint32_t(width), side);
    put(18 + side, uint32_t(height), side);
    return b;
}

TEST(SkinPath, BmpHeaderSizes) {
    struct Row { const char* name; std::vector<uint8_t> bytes; size_t count; bool ok; int32_t w, h; };
    const std::vector<Row> rows = {
        {"bottom-up", header("BM", 40, 83, 132), 28, true, 83, 132},
        {"top-down, same size", header("BM", 40, 83, -132), 28, true, 83, 132},
        {"OS/2 2.x short header", header("BM", 16, 30, 40), 28, true, 30, 40},
        {"core header, largest side", header("BM", 12, 8192, 2048), 28, true, 8192, 2048},
        {"zero width", header("BM", 40, 0, 132), 28, false, 0, 0},
        {"negative width", header("BM", 40, -83, 132), 28, false, 0, 0},
        {"INT32_MIN height", header("BM", 40, 83, INT32_MIN), 28, false, 0, 0},
        {"16M pixels exactly", header("BM", 40, 8192, -2048), 28, true, 8192, 2048},
        {"one row over 16M pixels", header("BM", 40, 8192, 2049), 28, false, 0, 0},
        {"height over 8192", header("BM", 40, 1, -8193), 28, false, 0, 0},
        {"lower-case bm", header("bm", 40, 83, 132), 28, false, 0, 0},
        {"info size 13", header("BM", 13, 83, 132), 28, false, 0, 0},
        {"cut short", header("BM", 40, 83, 132), 27, false, 0, 0},
        {"more than the header", header("BM", 40, 83, 132), 29, false, 0, 0},
    };
    for (Row r : rows) {
        int32_t w = -7, h = -7;  // untouched on failure
        r.bytes.resize(29);
        EXPECT_EQ(skinSizeFromHeader(r.bytes.data(), r.count, &w, &h), r.ok) << r.name;
        EXPECT_EQ(w, r.ok ? r.w : -7) << r.name;
        EXPECT_EQ(h, r.ok ? r.h : -7) << r.name;
    }
}

// A whole file's first 54 bytes: an 8 x 2 picture of the given format, and the file's size.
struct BmpFile { std::vector<uint8_t> bytes; uint64_t size; };
BmpFile bmp(uint32_t infoSize, uint16_t planes, uint16_t bits, uint32_t compression = 0, uint32_t imageSize = 0) {
    std::vector<uint8_t> b = header("BM", infoSize, 8, 2);
    b.resize(54);
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = uint8_t(v >> (8 * i));
    };
    bool core = infoSize == 12;
    put(10, 14 + infoSize, 4);
    put(core ? 22 : 26, planes, 2);
    put(core ? 24 : 28, bits, 2);
    if (!core) put(30, compression, 4), put(34, imageSize, 4);
    uint64_t pixels = compression == 1 || compression == 2 ? imageSize : (8ull * bits + 31) / 32 * 4 * 2;
    return {b, 14 + infoSize + pixels};
}

TEST(SkinPath, OnlyFilesTheLoaderShowsAsDrawnAreUsable) {
    struct Row { const char* name; BmpFile file; int64_t sizeChange; bool ok; };
    const std::vector<Row> rows = {
        {"24 bits", bmp(40, 1, 24), 0, true},
        {"1 bit", bmp(40, 1, 1), 0, true},
        {"run-length 8 bits", bmp(40, 1, 8, 1, 20), 0, true},
        {"bit fields, 16 bits", bmp(40, 1, 16, 3), 0, true},
        {"core header, 24 bits", bmp(12, 1, 24), 0, true},
        {"one byte cut off", bmp(40, 1, 24), -1, false},
        {"run-length data cut short", bmp(40, 1, 8, 1, 20), -1, false},
        {"two planes", bmp(40, 2, 24), 0, false},
        {"7 bits", bmp(40, 1, 7), 0, false},
        {"no bit count (a compressed image)", bmp(40, 1, 0, 4, 20), 0, false},
        {"run-length 8 with 24 bits", bmp(40, 1, 24, 1, 20), 0, false},
        {"run-length 4 with 8 bits", bmp(40, 1, 8, 2, 20), 0, false},
        {"bit fields with 24 bits", bmp(40, 1, 24, 3), 0, false},
        {"unknown compression", bmp(40, 1, 24, 9), 0, false},
        {"core header, 32 bits", bmp(12, 1, 32), 0, false},
    };
    for (const Row& r : rows) {
        int32_t w = -7, h = -7;
        bool ok = bmpFileUsable(r.file.bytes.data(), r.file.bytes.size(), r.file.size + r.sizeChange, &w, &h);
        EXPECT_EQ(ok, r.ok) << r.name;
        if (ok) EXPECT_EQ(w * 1000 + h, 8002) << r.name;
    }
}

}  // namespace

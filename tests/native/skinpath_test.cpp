// Tests of skin file naming (image and mask) and the BMP header test.
#include "skin/skinpath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// The last ".bmp", in any case, becomes "_mask.bmp".
TEST(MaskPathTest, Table) {
    struct Row { const char* skin; size_t size; bool ok; const char* mask; };
    const Row rows[] = {
        {"steel.bmp", 64, true, "steel_mask.bmp"},
        {"STEEL.BMP", 64, true, "STEEL_mask.bmp"},
        {"x.bmp.bmp", 64, true, "x.bmp_mask.bmp"},
        {"\xC4.BMP", 64, true, "\xC4_mask.bmp"},  // bytes above ASCII are compared as they are
        {"C:\\a.bmp\\readme", 64, true, "C:\\a_mask.bmp\\readme"},  // the last ".bmp", wherever it is
        {"steel_mask.bmp", 64, true, "steel_mask_mask.bmp"},
        {".bmp", 64, true, "_mask.bmp"},
        {"steel", 64, false, ""},
        {"", 64, false, ""},
        {"a.bmp", 11, true, "a_mask.bmp"},  // 10 characters and the terminator
        {"a.bmp", 10, false, ""},
    };
    for (const Row& r : rows) {
        char out[64];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(makeMaskPath(r.skin, out, r.size), r.ok) << r.skin << " in " << r.size;
        EXPECT_STREQ(out, r.mask) << r.skin << " in " << r.size;
    }
    char out[4] = {'x'};
    EXPECT_FALSE(makeMaskPath("a.bmp", out, 0));
    EXPECT_EQ(out[0], 'x');  // a zero-sized buffer is never written
}

// A pretend file system: context is the set of names that exist.
bool fakeExists(const char* path, void* context) {
    return static_cast<std::set<std::string>*>(context)->count(path) > 0;
}

TEST(ResolveSkinPathsTest, Table) {
    struct Row {
        const char* name; const char* named; std::set<std::string> present;
        const char* skin; const char* mask;
    };
    const std::vector<Row> rows = {
        {"the image with its mask", "C:\\s\\steel.bmp", {"C:\\s\\steel.bmp", "C:\\s\\steel_mask.bmp"},
         "C:\\s\\steel.bmp", "C:\\s\\steel_mask.bmp"},
        {"the mask named, image present", "C:\\s\\steel_mask.bmp",
         {"C:\\s\\steel.bmp", "C:\\s\\steel_mask.bmp"}, "C:\\s\\steel.bmp", "C:\\s\\steel_mask.bmp"},
        {"the mask named, no image", "steel_mask.bmp", {"steel_mask.bmp"},
         "steel_mask.bmp", "steel_mask_mask.bmp"},
        {"a mask of the mask exists", "steel_mask.bmp",
         {"steel.bmp", "steel_mask.bmp", "steel_mask_mask.bmp"}, "steel_mask.bmp", "steel_mask_mask.bmp"},
        {"capital mask named", "STEEL_MASK.BMP", {"STEEL.bmp", "STEEL_MASK.BMP"},
         "STEEL.bmp", "STEEL_MASK.BMP"},
        {"several _mask.bmp: the last one", "a_mask.bmp_mask.bmp", {"a_mask.bmp.bmp"},
         "a_mask.bmp.bmp", "a_mask.bmp_mask.bmp"},
        {"nothing exists", "gone.bmp", {}, "gone.bmp", "gone_mask.bmp"},
        {"no .bmp: no mask", "C:\\s\\picture", {"C:\\s\\picture"}, "C:\\s\\picture", ""},
        {"_mask without .bmp", "x_mask.png", {"x.png"}, "x_mask.png", ""},
    };
    for (const Row& r : rows) {
        std::set<std::string> files = r.present;
        SkinPaths p;
        ASSERT_TRUE(resolveSkinPaths(r.named, p.skin, sizeof p.skin, p.mask, sizeof p.mask,
                                     fakeExists, &files)) << r.name;
        EXPECT_STREQ(p.skin, r.skin) << r.name;
        EXPECT_STREQ(p.mask, r.mask) << r.name;
    }
    // Without a callback nothing exists: a named mask is taken as an image.
    SkinPaths p;
    ASSERT_TRUE(resolveSkinPaths("steel_mask.bmp", p.skin, sizeof p.skin, p.mask, sizeof p.mask,
                                 nullptr, nullptr));
    EXPECT_STREQ(p.skin, "steel_mask.bmp");
    EXPECT_STREQ(p.mask, "steel_mask_mask.bmp");
}

TEST(ResolveSkinPathsTest, LongNamesFailCleanly) {
    // 511 characters are the most the dialog and SkinPaths hold.
    for (size_t length : {511u, 512u})
        for (const char* tail : {".bmp", "_mask.bmp", ".txt"}) {
            std::string named(length - strlen(tail), 'a');
            named += tail;
            std::set<std::string> files = {named};
            SkinPaths p;
            memset(&p, 'x', sizeof p);
            bool ok = resolveSkinPaths(named.c_str(), p.skin, sizeof p.skin, p.mask, sizeof p.mask,
                                       fakeExists, &files);
            EXPECT_EQ(ok, length == 511) << length << tail;
            if (ok) {
                EXPECT_EQ(std::string(p.skin), named);
            } else {
                EXPECT_STREQ(p.skin, "");
                EXPECT_STREQ(p.mask, "");
            }
        }
    // The mask buffer alone too small: fails too, rather than losing the mask.
    char skin[64], mask[15];
    EXPECT_TRUE(resolveSkinPaths("steel.bmp", skin, sizeof skin, mask, 15, nullptr, nullptr));
    EXPECT_FALSE(resolveSkinPaths("steel.bmp", skin, sizeof skin, mask, 14, nullptr, nullptr));
    EXPECT_TRUE(resolveSkinPaths("steel", skin, sizeof skin, mask, 1, nullptr, nullptr));
    EXPECT_FALSE(resolveSkinPaths("steel", skin, sizeof skin, mask, 0, nullptr, nullptr));
    EXPECT_FALSE(resolveSkinPaths("", skin, sizeof skin, mask, sizeof mask, nullptr, nullptr));
    EXPECT_FALSE(resolveSkinPaths(nullptr, skin, sizeof skin, mask, sizeof mask, nullptr, nullptr));
}

// The first 28 bytes of a BMP file.
std::vector<uint8_t> header(const char* type, uint32_t infoSize, int32_t width, int32_t height) {
    std::vector<uint8_t> b(28, 0);
    b[0] = uint8_t(type[0]);
    b[1] = uint8_t(type[1]);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
    };
    put32(2, 123456);  // file size
    put32(10, 54);     // pixel offset
    put32(14, infoSize);
    if (infoSize == 12) {  // 16-bit width, height, planes, bit count
        b[18] = uint8_t(width), b[19] = uint8_t(uint32_t(width) >> 8);
        b[20] = uint8_t(height), b[21] = uint8_t(uint32_t(height) >> 8);
        b[22] = 1;
        b[24] = 24;
    } else {
        put32(18, uint32_t(width));
        put32(22, uint32_t(height));
        b[26] = 1;
    }
    return b;
}

TEST(SkinHeaderTest, Table) {
    struct Row { const char* name; std::vector<uint8_t> bytes; size_t count; bool ok; int32_t w, h; };
    const std::vector<Row> rows = {
        {"bottom-up", header("BM", 40, 83, 132), 28, true, 83, 132},
        {"top-down, same size", header("BM", 40, 83, -132), 28, true, 83, 132},
        {"V5 header", header("BM", 124, 1, 1), 28, true, 1, 1},
        {"OS/2 2.x short header", header("BM", 16, 30, 40), 28, true, 30, 40},
        {"core header, largest side", header("BM", 12, 8192, 2048), 28, true, 8192, 2048},
        {"zero width", header("BM", 40, 0, 132), 28, false, 0, 0},
        {"zero height", header("BM", 40, 83, 0), 28, false, 0, 0},
        {"negative width", header("BM", 40, -83, 132), 28, false, 0, 0},
        {"INT32_MIN height", header("BM", 40, 83, INT32_MIN), 28, false, 0, 0},
        {"16M pixels exactly", header("BM", 40, 8192, -2048), 28, true, 8192, 2048},
        {"one row over 16M pixels", header("BM", 40, 8192, 2049), 28, false, 0, 0},
        {"side over 8192", header("BM", 40, 8193, 1), 28, false, 0, 0},
        {"height over 8192", header("BM", 40, 1, -8193), 28, false, 0, 0},
        {"tall and thin", header("BM", 40, 1, 8192), 28, true, 1, 8192},
        {"lower-case bm", header("bm", 40, 83, 132), 28, false, 0, 0},
        {"info size 11", header("BM", 11, 83, 132), 28, false, 0, 0},
        {"info size 13", header("BM", 13, 83, 132), 28, false, 0, 0},
        {"short read", header("BM", 40, 83, 132), 27, false, 0, 0},
    };
    for (const Row& r : rows) {
        int32_t w = -7, h = -7;
        EXPECT_EQ(skinSizeFromHeader(r.bytes.data(), r.count, &w, &h), r.ok) << r.name;
        if (r.ok) {
            EXPECT_EQ(w, r.w) << r.name;
            EXPECT_EQ(h, r.h) << r.name;
        } else {
            EXPECT_EQ(w, -7) << r.name;  // untouched on failure
            EXPECT_EQ(h, -7) << r.name;
        }
    }
    // More bytes than the header is a caller's mistake, not a header.
    std::vector<uint8_t> longer = header("BM", 40, 83, 132);
    longer.push_back(0);
    int32_t w, h;
    EXPECT_FALSE(skinSizeFromHeader(longer.data(), longer.size(), &w, &h));
    EXPECT_FALSE(skinSizeFromHeader(nullptr, 28, &w, &h));
}

}  // namespace

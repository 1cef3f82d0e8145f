// Tests of skin file naming (image and mask) and the BMP header test.
#include "skin/skinpath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(FindLastNoCaseTest, Table) {
    struct Row { const char* text; const char* word; bool found; size_t position; };
    const Row rows[] = {
        {"steel.bmp", ".bmp", true, 5},
        {"STEEL.BMP", ".bmp", true, 5},
        {"x.Bmp", ".BMP", true, 1},
        {"a.bmp.BmP", ".bmp", true, 5},
        {"a.bmp\\b.png", ".bmp", true, 1},
        {"aaaa", "aa", true, 2},
        {"steel.png", ".bmp", false, 0},
        {"", ".bmp", false, 0},
        {".bm", ".bmp", false, 0},
        {"abc", "", false, 0},
        {"\xC4.BMP", ".bmp", true, 1},  // bytes above ASCII are compared as they are
    };
    for (const Row& r : rows) {
        size_t position = 12345;
        EXPECT_EQ(findLastNoCase(r.text, r.word, &position), r.found) << r.text;
        if (r.found) {
            EXPECT_EQ(position, r.position) << r.text;
        }
    }
    EXPECT_FALSE(findLastNoCase("\xC4", "\xE4", nullptr));
}

TEST(MaskPathTest, Table) {
    struct Row { const char* skin; bool ok; const char* mask; };
    const Row rows[] = {
        {"steel.bmp", true, "steel_mask.bmp"},
        {"C:\\skins\\steel.bmp", true, "C:\\skins\\steel_mask.bmp"},
        {"STEEL.BMP", true, "STEEL_mask.bmp"},
        {"Steel.Bmp", true, "Steel_mask.bmp"},
        {"x.bmp.bmp", true, "x.bmp_mask.bmp"},
        {"C:\\a.bmp\\b.BMP", true, "C:\\a.bmp\\b_mask.bmp"},
        {"C:\\a.bmp\\readme", true, "C:\\a_mask.bmp\\readme"},  // the last ".bmp", wherever it is
        {"steel_mask.bmp", true, "steel_mask_mask.bmp"},
        {".bmp", true, "_mask.bmp"},
        {"steel", false, ""},
        {"steel.png", false, ""},
        {"", false, ""},
    };
    for (const Row& r : rows) {
        char out[64];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(makeMaskPath(r.skin, out, sizeof out), r.ok) << r.skin;
        EXPECT_STREQ(out, r.mask) << r.skin;
    }
}

TEST(MaskPathTest, BufferSizes) {
    // "a.bmp" -> "a_mask.bmp": 10 characters and the terminator.
    char out[16];
    memset(out, 'x', sizeof out);
    EXPECT_TRUE(makeMaskPath("a.bmp", out, 11));
    EXPECT_STREQ(out, "a_mask.bmp");
    memset(out, 'x', sizeof out);
    EXPECT_FALSE(makeMaskPath("a.bmp", out, 10));
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(out[1], 'x');
    memset(out, 'x', sizeof out);
    EXPECT_FALSE(makeMaskPath("a.bmp", out, 0));
    EXPECT_EQ(out[0], 'x');  // a zero-sized buffer is never written
}

// A pretend file system; records what was asked, in order.
struct FakeFiles {
    std::set<std::string> present;
    std::vector<std::string> asked;
};

bool fakeExists(const char* path, void* context) {
    FakeFiles* files = static_cast<FakeFiles*>(context);
    files->asked.push_back(path);
    return files->present.count(path) > 0;
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
        {"capitals", "STEEL.BMP", {"STEEL.BMP"}, "STEEL.BMP", "STEEL_mask.bmp"},
        {"capital mask named", "STEEL_MASK.BMP", {"STEEL.bmp", "STEEL_MASK.BMP"},
         "STEEL.bmp", "STEEL_MASK.BMP"},
        {"several _mask.bmp: the last one", "a_mask.bmp_mask.bmp", {"a_mask.bmp.bmp"},
         "a_mask.bmp.bmp", "a_mask.bmp_mask.bmp"},
        {"image without mask", "plain.bmp", {"plain.bmp"}, "plain.bmp", "plain_mask.bmp"},
        {"nothing exists", "gone.bmp", {}, "gone.bmp", "gone_mask.bmp"},
        {"no .bmp: no mask", "C:\\s\\picture", {"C:\\s\\picture"}, "C:\\s\\picture", ""},
        {"_mask without .bmp", "x_mask.png", {"x.png"}, "x_mask.png", ""},
    };
    for (const Row& r : rows) {
        FakeFiles files{r.present, {}};
        SkinPaths p;
        ASSERT_TRUE(resolveSkinPaths(r.named, p.skin, sizeof p.skin, p.mask, sizeof p.mask,
                                     fakeExists, &files)) << r.name;
        EXPECT_STREQ(p.skin, r.skin) << r.name;
        EXPECT_STREQ(p.mask, r.mask) << r.name;
    }
}

TEST(ResolveSkinPathsTest, AsksForTheMaskFirstThenTheImage) {
    FakeFiles files{{"C:\\s\\steel.bmp"}, {}};
    SkinPaths p;
    ASSERT_TRUE(resolveSkinPaths("C:\\s\\steel_mask.bmp", p.skin, sizeof p.skin, p.mask,
                                 sizeof p.mask, fakeExists, &files));
    std::vector<std::string> want = {"C:\\s\\steel_mask_mask.bmp", "C:\\s\\steel.bmp"};
    EXPECT_EQ(files.asked, want);
    // A plain image name never asks for anything but its mask... and not even that
    // is needed to decide: the answer is the same either way.
    files.asked.clear();
    ASSERT_TRUE(resolveSkinPaths("C:\\s\\steel.bmp", p.skin, sizeof p.skin, p.mask,
                                 sizeof p.mask, fakeExists, &files));
    EXPECT_LE(files.asked.size(), 1u);
    // Without a callback nothing exists.
    ASSERT_TRUE(resolveSkinPaths("steel_mask.bmp", p.skin, sizeof p.skin, p.mask, sizeof p.mask,
                                 nullptr, nullptr));
    EXPECT_STREQ(p.skin, "steel_mask.bmp");
    EXPECT_STREQ(p.mask, "steel_mask_mask.bmp");
}

TEST(ResolveSkinPathsTest, LongNamesFailCleanly) {
    struct Row { size_t length; bool ok; };
    // 511 characters are the most the dialog and SkinPaths hold.
    const Row rows[] = {{10, true}, {511, true}, {512, false}, {600, false}, {5000, false}};
    for (const Row& r : rows)
        for (const char* tail : {".bmp", "_mask.bmp", ".txt"}) {
            std::string named(r.length - strlen(tail), 'a');
            named += tail;
            FakeFiles files{{named}, {}};
            SkinPaths p;
            memset(&p, 'x', sizeof p);
            bool ok = resolveSkinPaths(named.c_str(), p.skin, sizeof p.skin, p.mask, sizeof p.mask,
                                       fakeExists, &files);
            EXPECT_EQ(ok, r.ok) << r.length << tail;
            if (ok) {
                EXPECT_EQ(std::string(p.skin), named);
            } else {
                EXPECT_STREQ(p.skin, "");
                EXPECT_STREQ(p.mask, "");
            }
        }
    // The mask buffer alone too small: fails too, rather than losing the mask.
    char skin[64], mask[8];
    EXPECT_FALSE(resolveSkinPaths("steel.bmp", skin, sizeof skin, mask, sizeof mask, nullptr, nullptr));
    EXPECT_TRUE(resolveSkinPaths("steel", skin, sizeof skin, mask, sizeof mask, nullptr, nullptr));
    EXPECT_TRUE(resolveSkinPaths("steel", skin, sizeof skin, mask, 1, nullptr, nullptr));
    EXPECT_FALSE(resolveSkinPaths("steel", skin, sizeof skin, mask, 0, nullptr, nullptr));
    EXPECT_TRUE(resolveSkinPaths("steel", skin, 6, mask, 1, nullptr, nullptr));
    EXPECT_FALSE(resolveSkinPaths("steel", skin, 5, mask, 1, nullptr, nullptr));
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
        {"V4 header", header("BM", 108, 200, 100), 28, true, 200, 100},
        {"V5 header", header("BM", 124, 1, 1), 28, true, 1, 1},
        {"OS/2 2.x short header", header("BM", 16, 30, 40), 28, true, 30, 40},
        {"core header", header("BM", 12, 83, 132), 28, true, 83, 132},
        {"core header, largest side", header("BM", 12, 8192, 2048), 28, true, 8192, 2048},
        {"core header, zero width", header("BM", 12, 0, 132), 28, false, 0, 0},
        {"core header, zero height", header("BM", 12, 83, 0), 28, false, 0, 0},
        {"core header, 65535 wide", header("BM", 12, 65535, 1), 28, false, 0, 0},
        {"zero width", header("BM", 40, 0, 132), 28, false, 0, 0},
        {"zero height", header("BM", 40, 83, 0), 28, false, 0, 0},
        {"negative width", header("BM", 40, -83, 132), 28, false, 0, 0},
        {"INT32_MIN height", header("BM", 40, 83, INT32_MIN), 28, false, 0, 0},
        {"INT32_MIN width", header("BM", 40, INT32_MIN, 1), 28, false, 0, 0},
        {"INT32_MAX width", header("BM", 40, INT32_MAX, 1), 28, false, 0, 0},
        {"INT32_MAX height", header("BM", 40, 1, INT32_MAX), 28, false, 0, 0},
        {"16M pixels exactly", header("BM", 40, 8192, -2048), 28, true, 8192, 2048},
        {"one row over 16M pixels", header("BM", 40, 8192, 2049), 28, false, 0, 0},
        {"side over 8192", header("BM", 40, 8193, 1), 28, false, 0, 0},
        {"height over 8192", header("BM", 40, 1, -8193), 28, false, 0, 0},
        {"tall and thin", header("BM", 40, 1, 8192), 28, true, 1, 8192},
        {"huge both", header("BM", 40, 100000, 100000), 28, false, 0, 0},
        {"wrong type XY", header("XY", 40, 83, 132), 28, false, 0, 0},
        {"lower-case bm", header("bm", 40, 83, 132), 28, false, 0, 0},
        {"info size 0", header("BM", 0, 83, 132), 28, false, 0, 0},
        {"info size 11", header("BM", 11, 83, 132), 28, false, 0, 0},
        {"info size 13", header("BM", 13, 83, 132), 28, false, 0, 0},
        {"short read", header("BM", 40, 83, 132), 27, false, 0, 0},
        {"nothing read", header("BM", 40, 83, 132), 0, false, 0, 0},
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

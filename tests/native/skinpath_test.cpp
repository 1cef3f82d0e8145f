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
        { "the image with its mask", "st.bmp", { "st.bmp", "st_mask.bmp" }, "st.bmp", "st_mask.bmp", 12 },
        { "no room for the mask", "st.bmp", {}, "", "", 11 },
        { "the mask named, image present", "ST_MASK.BMP", { "ST.bmp", "ST_MASK.BMP" }, "ST.bmp", "ST_MASK.BMP" },
        { "the mask named, no image", "st_mask.bmp", { "st_mask.bmp" }, "st_mask.bmp", "st_mask_mask.bmp" },
        { "own mask too", "a_mask.bmp", { "a.bmp", "a_mask.bmp", "a_mask_mask.bmp" }, "a_mask.bmp", "a_mask_mask.bmp" },
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

// A file's headers in the given format (bit fields: 8 bits a colour, or 5, 6 and 5; a run-length
// stream of two rows of 8 pixels), the file's size and the size it is drawn at, its height
// negative when the rows run top-down.
struct BmpFile {
    std::vector<uint8_t> bytes;
    uint64_t size;
    std::pair<int32_t, int32_t> drawn;
};
static BmpFile bmp(int32_t width, int32_t height, uint32_t infoSize = 40, uint16_t bits = 24, uint32_t compression = 0,
                   uint32_t imageSize = 0, uint16_t planes = 1)
{
    std::vector<uint8_t> b(compression == 1 || compression == 2 ? 54 + imageSize : 66, 0);
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
    if (compression == 3)
        put(54, bits == 16 ? 0xF800 : 0xFF0000, 4), put(58, bits == 16 ? 0x7E0 : 0xFF00, 4),
            put(62, bits == 16 ? 0x1F : 0xFF, 4);
    const uint8_t stream[] = { 8, 1, 0, 0, 8, 1, 0, 1 };
    if ((compression == 1 || compression == 2) && imageSize >= sizeof stream)
        std::copy(stream, stream + sizeof stream, b.begin() + 54);
    uint64_t pixels = compression == 1 || compression == 2
        ? imageSize
        : (uint64_t(width) * bits + 31) / 32 * 4 * std::llabs(height);
    return { b, 14 + infoSize + pixels, { width, height } };
}

TEST(SkinPath, OnlyFilesTheLoaderShowsAsDrawnAreUsable)
{
    BmpFile lowerCase = bmp(8, 2);
    lowerCase.bytes[0] = 'b';
    auto fields = [](uint16_t bits, uint32_t red, uint32_t green, uint32_t blue) {
        BmpFile file = bmp(8, 2, 40, bits, 3);
        memcpy(&file.bytes[54], &red, 4), memcpy(&file.bytes[58], &green, 4), memcpy(&file.bytes[62], &blue, 4);
        return file;
    };
    struct Row {
        const char* name;
        BmpFile file;
        bool ok;
        int64_t sizeChange = 0;
        size_t got = SIZE_MAX; // all the bytes made
    };
    const std::vector<Row> rows = {
        { "24 bits", bmp(8, 2), true },
        { "1 bit", bmp(8, 2, 40, 1), true },
        { "core header, 24 bits", bmp(8, 2, 12), true },
        { "run-length 8 bits", bmp(8, 2, 40, 8, 1, 20), true },
        { "bit fields 5, 6 and 5", bmp(8, 2, 40, 16, 3), true },
        { "bit fields, 32 bits, no blue", fields(32, 0xFF0000, 0xFF00, 0), true },
        { "top-down", bmp(83, -132), true },
        { "OS/2 2.x short header", bmp(8, 2, 16), true },
        { "core header, largest side", bmp(8192, 2048, 12), true },
        { "16M pixels exactly", bmp(8192, -2048), true },
        // Pixel data cut short: the loader would draw whatever lies past the file's end.
        { "one byte cut off a padded row", bmp(9, 2, 40, 1), false, -1 },
        { "run-length data cut short", bmp(8, 2, 40, 8, 1, 20), false, -1 },
        { "header cut short", bmp(8, 2), false, 0, 37 },
        { "run-length stream not read", bmp(8, 2, 40, 8, 1, 20), false, 0, 54 },
        { "bit-field masks not read", bmp(8, 2, 40, 32, 3), false, 0, 54 },
        // Formats the loader reads as an all-black face.
        { "two planes", bmp(8, 2, 40, 24, 0, 0, 2), false },
        { "7 bits", bmp(8, 2, 40, 7), false },
        { "no bit count (a compressed image)", bmp(8, 2, 40, 0, 4, 20), false },
        { "RLE8 with 24 bits", bmp(8, 2, 40, 24, 1, 20), false },
        { "RLE4 with 8 bits", bmp(8, 2, 40, 8, 2, 20), false },
        { "bit fields with 24 bits", bmp(8, 2, 40, 24, 3), false },
        { "unknown compression", bmp(8, 2, 40, 24, 9), false },
        { "core header, 32 bits", bmp(8, 2, 12, 32), false },
        { "top-down run-length", bmp(8, -2, 40, 8, 1, 20), false },
        { "run-length stream past the row", bmp(4, 2, 40, 8, 1, 20), false },
        { "bit fields all zero", fields(16, 0, 0, 0), false },
        { "bit fields, red and green overlapping", fields(16, 0xF800, 0xFFE0, 0x1F), false },
        { "bit fields, green and blue overlapping", fields(32, 0xFF0000, 0xFF00, 0xFFFF), false },
        { "bit fields, red and blue overlapping", fields(32, 0xFF0000, 0xFF00, 0xFF00FF), false },
        { "bit fields, red past 16 bits", fields(16, 0x1F800, 0x7E0, 0x1F), false },
        { "bit fields, green past 16 bits", fields(16, 0xF800, 0x107E0, 0x1F), false },
        { "bit fields, blue past 16 bits", fields(16, 0xF800, 0x7E0, 0x1001F), false },
        // Sizes and headers no skin has.
        { "negative width", bmp(-8, 2), false },
        { "INT32_MIN height", bmp(8, INT32_MIN), false },
        { "lower-case bm", lowerCase, false },
        { "info size 13", bmp(8, 2, 13), false },
    };
    for (const Row& r : rows) {
        int32_t w = -7, h = -7; // untouched on failure
        bool down = false;
        size_t got = std::min(r.got, r.file.bytes.size());
        bool ok = bmpFileUsable(r.file.bytes.data(), got, r.file.size + r.sizeChange, &w, &h, &down);
        EXPECT_EQ(ok, r.ok) << r.name;
        EXPECT_EQ(std::make_pair(w, down ? -h : h), ok ? r.file.drawn : std::make_pair(-7, -7)) << r.name;
    }
}

// A stream is followed as the decoder reads it: 8 x 2 pictures unless said otherwise.
TEST(SkinPath, RunLengthStreamsStayInsideThePicture)
{
    const struct {
        const char* name;
        std::vector<uint8_t> stream;
        bool fits;
        uint32_t bits = 8;
        int32_t width = 8;
    } rows[] = {
        { "a row, a move to below the last row at the stream's end", { 8, 1, 0, 0, 0, 2, 3, 1 }, true },
        { "a move cut short", { 8, 1, 0, 2, 0 }, false },
        { "an end of picture before more pixels", { 8, 1, 0, 1, 9, 1 }, true },
        { "an end of line at the last row, no end of picture", { 8, 1, 0, 0, 8, 1, 0, 0 }, true },
        { "an end of line past the last row", { 8, 1, 0, 0, 8, 1, 0, 0, 0, 0 }, false },
        { "half a pair at the stream's end", { 8, 1, 0 }, true },
        { "255 pixels in a 166-pixel row", { 255, 1, 0, 1 }, false, 8, 166 },
        { "a row of 166 pixels", { 166, 1, 0, 1 }, true, 8, 166 },
        { "a move past the right edge", { 4, 1, 0, 2, 5, 0, 0, 1 }, false },
        { "a move past the last row", { 0, 2, 0, 3 }, false },
        { "nothing drawn", { 0, 0, 0, 1 }, false },
        { "odd run as it is, padded", { 0, 3, 1, 2, 3, 0, 2, 9, 0, 1 }, true },
        { "odd run as it is, no padding", { 0, 3, 1, 2, 3, 2, 9, 0, 1 }, false },
        { "run as it is past the row", { 0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1 }, false },
        { "run as it is padded past the stream", { 0, 4, 1, 2 }, false },
        { "RLE4 run past the row", { 9, 0x12, 0, 1 }, false, 4 },
        { "RLE4 odd run as it is", { 0, 5, 0x12, 0x34, 0x50, 0, 3, 0x12 }, true, 4 },
        { "RLE4 move past the last row", { 1, 0x12, 0, 2, 0, 3 }, false, 4 },
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.fits, runLengthStreamFits(r.stream.data(), r.stream.size(), r.width, 2, r.bits)) << r.name;
}

// The system opens a device for these names, in any folder and with any extension.
TEST(SkinPath, DeviceNamesAreNoFiles)
{
    for (const char* device : { "COM1", "C:\\skins\\AUX.bmp", "nul.txt", "C:lpt9.bmp", "\\\\.\\COM3",
                                "COM1:", "con .bmp", "x/prn", "CONOUT$", "conin$.bmp" })
        EXPECT_TRUE(isDeviceName(device)) << device;
    for (const char* file : { "COM10.bmp", "COM.bmp", "console.bmp", "C:\\AUX\\steel.bmp", "LPT1x.bmp", "" })
        EXPECT_FALSE(isDeviceName(file)) << file;
    // Ports are numbered from 1; superscript 1, 2 and 3 count as digits, as Windows reads them.
    for (std::string port : { "C:\\skins\\COM", "lpt" })
        for (char digit : std::string("0123456789\xB9\xB2\xB3\xB4"))
            EXPECT_EQ(digit != '0' && digit != '\xB4', isDeviceName((port + digit + ".bmp").c_str())) << port << digit;
}

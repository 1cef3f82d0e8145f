// Tests of the colour texts: formatting, titles and reading pasted text back.
#include "color/colortext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const uint32_t keep = 0xFFFFFFFFu;

TEST(ColorText, FormatsCopyTexts)
{
    // The hex text keeps its leading zeros, the decimal text has none; floats round to two
    // decimals. The fields are pinned by the titles below, which are made of them.
    const struct { double rgb[3]; const char *hex, *dec, *fraction; } cases[] = {
        {{255, 128, 0}, "FF8000", "255,128,0", "1.00,0.50,0.00"},
        {{1, 10, 171}, "010AAB", "1,10,171", "0.00,0.04,0.67"},
    };
    for (const auto& c : cases) {
        ColorTexts t;
        buildColorTexts(c.rgb, &t);
        EXPECT_STREQ(t.hexText, c.hex);
        EXPECT_STREQ(t.decText, c.dec);
        EXPECT_STREQ(t.floatText, c.fraction);
    }
}

TEST(ColorText, DamagedValuesStayInsideTheBuffers)
{
    const double odd[][3] = {
        {-1, 256, 1e12}, {-1e300, 1e300, NAN}, {-2147483648.0, 2147483647.0, 12345678.0}};
    for (const auto& rgb : odd) {
        ColorTexts t;
        buildColorTexts(rgb, &t);
        // snprintf cuts every text to its buffer; only that they are terminated matters here.
        EXPECT_LT(strlen(t.decField[0]), 4u);
        EXPECT_LT(strlen(t.hexField[2]), 3u);
        EXPECT_LT(strlen(t.floatField[1]), 5u);
        EXPECT_LT(strlen(t.hexText), 7u);
        EXPECT_LT(strlen(t.decText), 12u);
        EXPECT_LT(strlen(t.floatText), 15u);
    }
}

TEST(ColorText, TitlesAndTips)
{
    const struct { int32_t format; const char *title, *tip; } cases[] = {
        {Hex, "FF 80 00 - Huebrick", "FF 80 00"},
        {Dec, "255, 128, 000 - Huebrick", "255, 128, 000"},
        {Float, "1.00, 0.50, 0.00 - Huebrick", "1.00, 0.50, 0.00"},
        {7, "255, 128, 000 - Huebrick", "255, 128, 000"}, // damaged setting
        {-1, "255, 128, 000 - Huebrick", "255, 128, 000"},
    };
    const double rgb[3] = {255, 128, 0};
    ColorTexts t;
    buildColorTexts(rgb, &t);
    const char* const fields[9] = {t.decField[0], t.decField[1], t.decField[2],
                                   t.hexField[0], t.hexField[1], t.hexField[2],
                                   t.floatField[0], t.floatField[1], t.floatField[2]};
    for (const auto& c : cases) {
        char title[28]; // the longest title and its terminator
        char tip[64];
        buildTitleTexts(c.format, fields, title, sizeof title, tip, sizeof tip);
        EXPECT_STREQ(title, c.title) << "format " << c.format;
        EXPECT_STREQ(tip, c.tip) << "format " << c.format;
        // A title never reads back as a colour.
        EXPECT_FALSE(parseColorText(title, pasteWholeColor, nullptr)) << title;
    }
}

struct ParseCase {
    const char* text;
    uint32_t selector;
    bool ok;
    uint32_t red = 0, green = 0, blue = 0;
    int32_t form = -1;
};

void checkParse(const ParseCase& c)
{
    PasteResult r = {11, 22, 33, 44};
    bool ok = parseColorText(c.text, c.selector, &r);
    // PrintToString shows the blanks as escapes.
    SCOPED_TRACE(testing::Message() << testing::PrintToString(std::string(c.text)) << " selector 0x"
                                    << std::hex << c.selector);
    ASSERT_EQ(ok, c.ok);
    // A failed paste changes nothing.
    std::vector<int64_t> want = {11, 22, 33, 44};
    if (ok)
        want = {c.red, c.green, c.blue, c.form};
    EXPECT_EQ((std::vector<int64_t>{r.red, r.green, r.blue, r.form}), want);
}

TEST(ColorText, ReadsWholeColours)
{
    const ParseCase cases[] = {
        // One word: RRGGBB in hexadecimal, leading zeros left out.
        {"FF8000", 0, true, 255, 128, 0, Hex},
        {"ff8000", 0, true, 255, 128, 0, Hex},
        {"0xFF8000", 0, true, 255, 128, 0, Hex},
        {"  FF8000 \r\n", 0, true, 255, 128, 0, Hex},
        {"FF", 0, true, 0, 0, 255, Hex},
        {"255", 0, true, 0, 2, 85, Hex},
        {"+FFFFFF", 0, true, 255, 255, 255, Hex},
        {"000000000000FF8000", 0, true, 255, 128, 0, Hex},
        {"#FF8000", 0, false},
        {"1000000", 0, false},
        {"-1", 0, false},
        {"0x", 0, false},
        {"FF800G", 0, false},
        {"", 0, false},
        {" \t\r\n ", 0, false},
        // Words separated by blanks: three decimal values.
        {"255 128 0", 0, true, 255, 128, 0, Dec},
        {"\t255\n128\r0\r\n", 0, true, 255, 128, 0, Dec},
        {"+1 +2 -0", 0, true, 1, 2, 0, Dec},
        {"255 128", 0, false},
        {"255 128 0 7", 0, false},
        {"FF 80 00", 0, false},
        {"12 34 5x", 0, false},
        {"1.0 0 0", 0, false},
        {"300 0 0", 0, false},
        {"0 -1 0", 0, false},
        // Commas without a full stop: decimal fields.
        {"255,128,0", 0, true, 255, 128, 0, Dec},
        {"255, 128, 000", 0, true, 255, 128, 0, Dec},
        {" 255 ,128, 0 ", 0, true, 255, 128, 0, Dec},
        {",,255,,,128,0", 0, true, 255, 128, 0, Dec},     // runs of commas before a field count as one
        {"10 x, 20 y z, 30", 0, true, 10, 20, 30, Dec},    // only a field's first word is read
        {"255,128", 0, false},
        {"255,128,", 0, false},
        {"255,128,0 7", 0, false},
        {"255,128,,0", 0, false},                          // the last value is a word, not a field
        {"10, 20, 30x", 0, false},
        {"x10, 20, 30", 0, false},
        {", , 1", 0, false},
        {"256,0,0", 0, false},
        {"-1,0,0", 0, false},
        {"0,4294967296,0", 0, false},                      // saturates rather than wrapping to 0
        // Commas and a full stop: fractions of 1, scaled by 255 and truncated.
        {"1.00, 0.50, 0.00", 0, true, 255, 127, 0, Float},
        {"1,0.5,0", 0, true, 255, 127, 0, Float},
        {"0.2,.4,1.", 0, true, 51, 102, 255, Float},
        {"+1.0,-0.0,-0.003", 0, true, 255, 0, 0, Float},  // -0.765 truncates to 0
        {"1e0,5E-1,0.0e5", 0, true, 255, 127, 0, Float},
        {"1e0,5E-1,0e5", 0, false},                        // no full stop: decimal words
        {"1.0039,0,0", 0, true, 255, 0, 0, Float},
        {"1.00, 0.50", 0, false},
        {"1.5,0,0", 0, false},
        {"-0.004,0,0", 0, false},                          // -1.02 truncates to -1
        {"0,0,1.004", 0, false},
        {"0.5,inf,0.1", 0, false},                         // what only some C libraries read
        {"0x1p-1,0,0.5", 0, false},
        {"1e999,0,0.5", 0, false},
        {"1e,0,0.5", 0, false},
        {".,0,0", 0, false},
        {"0.5,0.5,0.5.", 0, false},
        {"255,128,0 .", 0, false},                         // a full stop anywhere makes it fractions
    };
    for (const ParseCase& c : cases)
        checkParse(c);
}

TEST(ColorText, ReadsOneChannel)
{
    const uint32_t redHex = pasteHexFlag | pasteRedBit;
    const uint32_t greenHex = pasteHexFlag | pasteGreenBit;
    const uint32_t blueHex = pasteHexFlag | pasteBlueBit;
    const uint32_t redDec = pasteDecimalFlag | pasteRedBit;
    const uint32_t greenDec = pasteDecimalFlag | pasteGreenBit;
    const uint32_t blueDec = pasteDecimalFlag | pasteBlueBit;
    const ParseCase cases[] = {
        {"c0", greenHex, true, keep, 192, keep, -1},
        {"1c0", greenHex, true, keep, 448, keep, -1},  // too large: the channel stays, the paste counts
        {"0XFF", redHex, true, 255, keep, keep, -1},
        {"  7f\n", blueHex, true, keep, keep, 127, -1},
        {"FF8000", redHex, true, 0xFF8000, keep, keep, -1},
        {"128", redDec, true, 128, keep, keep, -1},
        {"999", blueDec, true, keep, keep, 999, -1},
        {"+12", greenDec, true, keep, 12, keep, -1},
        {"c0", greenDec, false},
        {"0x10", redDec, false},
        {"0x", redHex, false},
        {"12 34", redDec, false},
        {"12,", redDec, false},
        {"1.5", redDec, false},
        {" \t ", blueDec, false},
        // The number is read as a 32-bit strtoul reads it: too large saturates, '-' negates
        // modulo 2^32, and leading zeros never count toward the limit.
        {"4294967294", redDec, true, 0xFFFFFFFEu, keep, keep, -1},
        {"4294967296", redDec, true, 0xFFFFFFFFu, keep, keep, -1},
        {"-4294967296", redDec, true, 0xFFFFFFFFu, keep, keep, -1},
        {"-4294967295", redDec, true, 1, keep, keep, -1},
        {"-1", blueHex, true, keep, keep, 0xFFFFFFFFu, -1},
        {"-0x10", redHex, true, 0xFFFFFFF0u, keep, keep, -1},
        {"100000000", redHex, true, 0xFFFFFFFFu, keep, keep, -1},
        {"0000000000000000000000000042", redDec, true, 42, keep, keep, -1},
    };
    for (const ParseCase& c : cases)
        checkParse(c);
}

TEST(ColorText, CopyTextsReadBack)
{
    // Every value meets every channel. Hex and decimal come back exactly; float texts only
    // to two decimals (steps of 2.55, then truncation: at most 1 up, 2 down), but they
    // read back to the same text.
    for (int v = 0; v <= 255; ++v) {
        const double rgb[3] = {double(v), double(255 - v), double(v * 7 % 256)};
        ColorTexts t;
        buildColorTexts(rgb, &t);
        SCOPED_TRACE(testing::Message() << rgb[0] << "," << rgb[1] << "," << rgb[2]);
        PasteResult r;
        for (const char* text : {t.hexText, t.decText}) {
            ASSERT_TRUE(parseColorText(text, pasteWholeColor, &r)) << text;
            EXPECT_EQ(r.form, text == t.hexText ? Hex : Dec);
            EXPECT_EQ(double(r.red), rgb[0]);
            EXPECT_EQ(double(r.green), rgb[1]);
            EXPECT_EQ(double(r.blue), rgb[2]);
        }
        ASSERT_TRUE(parseColorText(t.floatText, pasteWholeColor, &r));
        EXPECT_EQ(r.form, Float);
        const double back[3] = {double(r.red), double(r.green), double(r.blue)};
        ColorTexts again;
        buildColorTexts(back, &again);
        EXPECT_STREQ(again.floatText, t.floatText);
        for (int i = 0; i < 3; ++i) {
            EXPECT_GE(back[i], rgb[i] - 2);
            EXPECT_LE(back[i], rgb[i] + 1);
        }
    }
}

TEST(ColorText, LongTextsAreReadInOnePass)
{
    // Megabytes of blanks or digits around the values must neither fail nor crawl.
    const size_t big = 4 << 20;
    const struct { std::string text; bool ok; uint32_t red = 0, green = 0, blue = 0; } cases[] = {
        {std::string(big, ' ') + "255,128,0" + std::string(big, '\n'), true, 255, 128, 0},
        {"1 2 " + std::string(big, '0') + "3", true, 1, 2, 3},
        {std::string(big, '0') + "FF8000", true, 255, 128, 0},
        {std::string(big, ','), false},
        {std::string(big, '.') + ",", false},
        {"0." + std::string(big, '5') + ",0,0", false}, // no copy text has such a number
        {std::string(big, '9') + " 1 1", false},
    };
    for (const auto& c : cases) {
        PasteResult r;
        bool ok = parseColorText(c.text.c_str(), pasteWholeColor, &r);
        ASSERT_EQ(ok, c.ok) << c.text.substr(0, 40) << "...";
        if (ok) {
            EXPECT_EQ((std::vector<uint32_t>{r.red, r.green, r.blue}),
                      (std::vector<uint32_t>{c.red, c.green, c.blue}));
        }
    }
    PasteResult r;
    ASSERT_TRUE(parseColorText(std::string(big, '9').c_str(), pasteDecimalFlag | pasteBlueBit, &r));
    EXPECT_EQ(r.blue, 0xFFFFFFFFu);
}

} // namespace

// Tests of the colour texts: formatting, titles and reading pasted text back.
#include "color/colortext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const uint32_t keep = 0xFFFFFFFFu;

TEST(ColorText, FormatsEveryText)
{
    const double rgb[3] = {255, 128, 0};
    ColorTexts t;
    buildColorTexts(rgb, &t);
    EXPECT_STREQ(t.decField[0], "255");
    EXPECT_STREQ(t.decField[1], "128");
    EXPECT_STREQ(t.decField[2], "000");
    EXPECT_STREQ(t.hexField[0], "FF");
    EXPECT_STREQ(t.hexField[1], "80");
    EXPECT_STREQ(t.hexField[2], "00");
    EXPECT_STREQ(t.floatField[0], "1.00");
    EXPECT_STREQ(t.floatField[1], "0.50");
    EXPECT_STREQ(t.floatField[2], "0.00");
    EXPECT_STREQ(t.hexText, "FF8000");
    EXPECT_STREQ(t.decText, "255,128,0");
    EXPECT_STREQ(t.floatText, "1.00,0.50,0.00");

    const double small[3] = {1, 10, 171};
    buildColorTexts(small, &t);
    EXPECT_STREQ(t.decField[0], "001");
    EXPECT_STREQ(t.decField[1], "010");
    EXPECT_STREQ(t.hexText, "010AAB");
    EXPECT_STREQ(t.decText, "1,10,171");
    EXPECT_STREQ(t.floatText, "0.00,0.04,0.67");
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
    struct TitleCase {
        double rgb[3];
        int32_t format;
        const char* title;
        const char* tip;
    };
    const TitleCase cases[] = {
        {{255, 128, 0}, Hex, "FF 80 00 - Huebrick", "FF 80 00"},
        {{255, 128, 0}, Dec, "255, 128, 000 - Huebrick", "255, 128, 000"},
        {{255, 128, 0}, Float, "1.00, 0.50, 0.00 - Huebrick", "1.00, 0.50, 0.00"},
        {{255, 255, 255}, Float, "1.00, 1.00, 1.00 - Huebrick", "1.00, 1.00, 1.00"},
        {{255, 128, 0}, 7, "255, 128, 000 - Huebrick", "255, 128, 000"},   // damaged setting
        {{255, 128, 0}, -1, "255, 128, 000 - Huebrick", "255, 128, 000"},
    };
    for (const TitleCase& c : cases) {
        ColorTexts t;
        buildColorTexts(c.rgb, &t);
        const char* const fields[9] = {t.decField[0], t.decField[1], t.decField[2],
                                       t.hexField[0], t.hexField[1], t.hexField[2],
                                       t.floatField[0], t.floatField[1], t.floatField[2]};
        char title[28]; // the longest title and its terminator
        char tip[64];
        buildTitleTexts(c.format, fields, title, sizeof title, tip, sizeof tip);
        EXPECT_STREQ(title, c.title) << "format " << c.format;
        EXPECT_STREQ(tip, c.tip) << "format " << c.format;
        // A title never reads back as a colour.
        PasteResult r;
        EXPECT_FALSE(parseColorText(title, pasteWholeColor, &r)) << title;
    }
}

struct ParseCase {
    const char* text;
    uint32_t selector;
    bool ok;
    uint32_t red = 0, green = 0, blue = 0;
    int32_t form = -1;
};

std::string shown(const char* text)
{
    std::string s = "'";
    for (const char* p = text; *p; ++p) {
        if (*p == '\t')
            s += "\\t";
        else if (*p == '\n')
            s += "\\n";
        else if (*p == '\r')
            s += "\\r";
        else
            s += *p;
    }
    return s + "'";
}

void checkParse(const ParseCase& c)
{
    PasteResult r = {11, 22, 33, 44};
    bool ok = parseColorText(c.text, c.selector, &r);
    SCOPED_TRACE(testing::Message() << shown(c.text) << " selector 0x" << std::hex << c.selector);
    ASSERT_EQ(ok, c.ok);
    if (!ok) {
        // A failed paste changes nothing.
        EXPECT_EQ(r.red, 11u);
        EXPECT_EQ(r.green, 22u);
        EXPECT_EQ(r.blue, 33u);
        EXPECT_EQ(r.form, 44);
        return;
    }
    EXPECT_EQ(r.red, c.red);
    EXPECT_EQ(r.green, c.green);
    EXPECT_EQ(r.blue, c.blue);
    EXPECT_EQ(r.form, c.form);
}

TEST(ColorText, ReadsWholeColours)
{
    const ParseCase cases[] = {
        // One word: RRGGBB in hexadecimal, leading zeros left out.
        {"FF8000", 0, true, 255, 128, 0, Hex},
        {"0xff8000", 0, true, 255, 128, 0, Hex},
        {"0XFF8000", 0, true, 255, 128, 0, Hex},
        {"ff8000", 0, true, 255, 128, 0, Hex},
        {"  FF8000 \r\n", 0, true, 255, 128, 0, Hex},
        {"FF", 0, true, 0, 0, 255, Hex},
        {"255", 0, true, 0, 2, 85, Hex},
        {"0", 0, true, 0, 0, 0, Hex},
        {"-0", 0, true, 0, 0, 0, Hex},
        {"+FFFFFF", 0, true, 255, 255, 255, Hex},
        {"000000000000FF8000", 0, true, 255, 128, 0, Hex},
        {"#FF8000", 0, false},
        {"1000000", 0, false},
        {"FFFFFFFFFFFFFFFFFFFFFF", 0, false},
        {"-1", 0, false},
        {"0x", 0, false},
        {"0xg", 0, false},
        {"FF800G", 0, false},
        {"x", 0, false},
        {"", 0, false},
        {" \t\r\n ", 0, false},
        // Words separated by blanks: three decimal values.
        {"255 128 0", 0, true, 255, 128, 0, Dec},
        {"\t255\n128\r0\r\n", 0, true, 255, 128, 0, Dec},
        {"  255   128   000  ", 0, true, 255, 128, 0, Dec},
        {"+1 +2 -0", 0, true, 1, 2, 0, Dec},
        {"255 128", 0, false},
        {"255 128 0 7", 0, false},
        {"FF 80 00", 0, false},
        {"12 34 5x", 0, false},
        {"1.0 0 0", 0, false},
        {"300 0 0", 0, false},
        {"0 0 256", 0, false},
        {"-1 0 0", 0, false},
        {"0 -1 0", 0, false},
        {"1000000 0 0", 0, false},
        {"4294967296 0 0", 0, false},
        // Commas without a full stop: decimal fields.
        {"255,128,0", 0, true, 255, 128, 0, Dec},
        {"255, 128, 000", 0, true, 255, 128, 0, Dec},
        {" 255 ,128, 0 ", 0, true, 255, 128, 0, Dec},
        {"\t255\t,\t128\t,\t0\t", 0, true, 255, 128, 0, Dec},
        {",,255,,,128,0", 0, true, 255, 128, 0, Dec},     // runs of commas before a field count as one
        {"10 x, 20, 30", 0, true, 10, 20, 30, Dec},        // only a field's first word is read
        {"10, 20 x y, 30", 0, true, 10, 20, 30, Dec},
        {"255,128", 0, false},
        {"255,128,", 0, false},
        {"255,128,0 7", 0, false},
        {"255,128,0,", 0, false},
        {"255,128,,0", 0, false},                          // the last value is a word, not a field
        {"10, 20, 30x", 0, false},
        {"x10, 20, 30", 0, false},
        {", , 1", 0, false},
        {",", 0, false},
        {"256,0,0", 0, false},
        {"-1,0,0", 0, false},
        {"0,0,4294967295", 0, false},
        {"0,99999999999999999999,0", 0, false},
        {"255, 128, 000 - Huebrick", 0, false},
        // Commas and a full stop: fractions of 1, scaled by 255 and truncated.
        {"1.00,0.50,0.00", 0, true, 255, 127, 0, Float},
        {"1.00, 0.50, 0.00", 0, true, 255, 127, 0, Float},
        {"1, 0.5, 0", 0, true, 255, 127, 0, Float},
        {"0.2,.4,1.", 0, true, 51, 102, 255, Float},
        {"+1.0,-0.0,-0.003", 0, true, 255, 0, 0, Float},  // -0.765 truncates to 0
        {"1e0,5E-1,0.0e5", 0, true, 255, 127, 0, Float},
        {"1e0,5E-1,0e5", 0, false},                        // no full stop: decimal words
        {"1.0039,0,0", 0, true, 255, 0, 0, Float},
        {"1.00, 0.50", 0, false},
        {"1.5,0,0", 0, false},
        {"-0.004,0,0", 0, false},                          // -1.02 truncates to -1
        {"0,0,1.004", 0, false},
        {"nan,0.5,0.1", 0, false},
        {"0.5,inf,0.1", 0, false},
        {"0.5,0.5,infinity", 0, false},
        {"0x1p-1,0,0.5", 0, false},
        {"1e999,0,0.5", 0, false},
        {"1e,0,0.5", 0, false},
        {".,0,0", 0, false},
        {"0.5,0.5,0.5.", 0, false},
        {"1.00, 0.50, 0.00 - Huebrick", 0, false},
        {"1.00,0.50,0.00 x", 0, false},
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
        {"0xFF", redHex, true, 255, keep, keep, -1},
        {"  7f\n", blueHex, true, keep, keep, 127, -1},
        {"-1", blueHex, true, keep, keep, keep, -1},   // strtoul wraps it to all bits set
        {"128", redDec, true, 128, keep, keep, -1},
        {"000", greenDec, true, keep, 0, keep, -1},
        {"999", blueDec, true, keep, keep, 999, -1},
        {"99999999999999999999", redDec, true, keep, keep, keep, -1},
        {"+12", greenDec, true, keep, 12, keep, -1},
        {"c0", greenDec, false},
        {"0x10", redDec, false},
        {"0x", redHex, false},
        {"12 34", redDec, false},
        {"12,", redDec, false},
        {"1.5", redDec, false},
        {"", redHex, false},
        {" \t ", blueDec, false},
        {"FF8000", redHex, true, 0xFF8000, keep, keep, -1},
    };
    for (const ParseCase& c : cases)
        checkParse(c);
}

TEST(ColorText, ReadsNumbersLikeA32BitStrtoul)
{
    // Checked through the single-channel path, which hands the number back unfiltered.
    struct NumberCase {
        const char* text;
        uint32_t selector;
        uint32_t value;
    };
    const NumberCase cases[] = {
        {"4294967295", pasteDecimalFlag | pasteRedBit, 0xFFFFFFFFu},
        {"4294967294", pasteDecimalFlag | pasteRedBit, 0xFFFFFFFEu},
        {"4294967296", pasteDecimalFlag | pasteRedBit, 0xFFFFFFFFu},
        {"-4294967296", pasteDecimalFlag | pasteRedBit, 0xFFFFFFFFu},
        {"-4294967295", pasteDecimalFlag | pasteRedBit, 1},
        {"-2", pasteDecimalFlag | pasteRedBit, 0xFFFFFFFEu},
        {"FFFFFFFF", pasteHexFlag | pasteRedBit, 0xFFFFFFFFu},
        {"100000000", pasteHexFlag | pasteRedBit, 0xFFFFFFFFu},
        {"-0x10", pasteHexFlag | pasteRedBit, 0xFFFFFFF0u},
        {"0000000000000000000000000042", pasteDecimalFlag | pasteRedBit, 42},
    };
    for (const NumberCase& c : cases) {
        PasteResult r;
        ASSERT_TRUE(parseColorText(c.text, c.selector, &r)) << c.text;
        EXPECT_EQ(r.red, c.value) << c.text;
    }
}

TEST(ColorText, CopyTextsReadBack)
{
    // Every channel value meets every other in the samples; hex and decimal come back
    // exactly, float texts only to two decimals, so they read back to the same text.
    for (int a = 0; a <= 255; ++a)
        for (int k = 0; k < 6; ++k) {
            int b = (a * 7 + k * 51) % 256;
            int c = 255 - (a * 13 + k * 37) % 256;
            const double combos[3][3] = {{double(a), double(b), double(c)},
                                         {double(c), double(a), double(b)},
                                         {double(b), double(c), double(a)}};
            for (const auto& rgb : combos) {
                ColorTexts t;
                buildColorTexts(rgb, &t);
                SCOPED_TRACE(testing::Message() << rgb[0] << "," << rgb[1] << "," << rgb[2]);
                PasteResult r;
                ASSERT_TRUE(parseColorText(t.hexText, pasteWholeColor, &r));
                EXPECT_EQ(r.form, Hex);
                EXPECT_EQ(double(r.red), rgb[0]);
                EXPECT_EQ(double(r.green), rgb[1]);
                EXPECT_EQ(double(r.blue), rgb[2]);
                ASSERT_TRUE(parseColorText(t.decText, pasteWholeColor, &r));
                EXPECT_EQ(r.form, Dec);
                EXPECT_EQ(double(r.red), rgb[0]);
                EXPECT_EQ(double(r.green), rgb[1]);
                EXPECT_EQ(double(r.blue), rgb[2]);
                ASSERT_TRUE(parseColorText(t.floatText, pasteWholeColor, &r));
                EXPECT_EQ(r.form, Float);
                const double back[3] = {double(r.red), double(r.green), double(r.blue)};
                for (int i = 0; i < 3; ++i) {
                    // Two decimals are steps of 2.55, then truncation: at most 1 up, 2 down.
                    EXPECT_GE(back[i], rgb[i] - 2);
                    EXPECT_LE(back[i], rgb[i] + 1);
                }
                ColorTexts again;
                buildColorTexts(back, &again);
                EXPECT_STREQ(again.floatText, t.floatText);

                // The decimal and float tips read back as their copy texts do.
                std::string decTip = std::string(t.decField[0]) + ", " + t.decField[1] + ", " + t.decField[2];
                ASSERT_TRUE(parseColorText(decTip.c_str(), pasteWholeColor, &r)) << decTip;
                EXPECT_EQ(double(r.red), rgb[0]);
                EXPECT_EQ(double(r.blue), rgb[2]);
                std::string floatTip = std::string(t.floatField[0]) + ", " + t.floatField[1] + ", " + t.floatField[2];
                PasteResult f;
                ASSERT_TRUE(parseColorText(floatTip.c_str(), pasteWholeColor, &f)) << floatTip;
                EXPECT_EQ(f.red, back[0]);
                EXPECT_EQ(f.green, back[1]);
                EXPECT_EQ(f.blue, back[2]);
                for (int i = 0; i < 3; ++i) {
                    ASSERT_TRUE(parseColorText(t.hexField[i], pasteHexFlag | (1u << i), &r));
                    ASSERT_TRUE(parseColorText(t.decField[i], pasteDecimalFlag | (1u << i), &r));
                    const uint32_t got[3] = {r.red, r.green, r.blue};
                    EXPECT_EQ(double(got[i]), rgb[i]);
                }
            }
        }
}

TEST(ColorText, FloatReadBackCanLoseOne)
{
    // '0.50' is 127.5 after scaling: truncation gives 127, not the 128 that was copied.
    const double rgb[3] = {128, 1, 4};
    ColorTexts t;
    buildColorTexts(rgb, &t);
    EXPECT_STREQ(t.floatText, "0.50,0.00,0.02");
    PasteResult r;
    ASSERT_TRUE(parseColorText(t.floatText, pasteWholeColor, &r));
    EXPECT_EQ(r.red, 127u);
    EXPECT_EQ(r.green, 0u);
    EXPECT_EQ(r.blue, 5u);
}

TEST(ColorText, LongTextsAreReadInOnePass)
{
    // Megabytes of blanks or digits around the values must neither fail nor crawl.
    const size_t big = 4 << 20;
    struct LongCase {
        std::string text;
        bool ok;
        uint32_t red = 0, green = 0, blue = 0;
    };
    const LongCase cases[] = {
        {std::string(big, ' ') + "255,128,0" + std::string(big, '\n'), true, 255, 128, 0},
        {"1 2 " + std::string(big, '0') + "3", true, 1, 2, 3},
        {std::string(big, '0') + "FF8000", true, 255, 128, 0},
        {std::string(big, ','), false},
        {std::string(big, '.') + ",", false},
        {"0." + std::string(big, '5') + ",0,0", false}, // no copy text has such a number
        {"1,2," + std::string(big, 'x'), false},
        {"1 2 3 " + std::string(big, 'x'), false},
        {std::string(big, '9') + " 1 1", false},
    };
    for (const LongCase& c : cases) {
        PasteResult r;
        bool ok = parseColorText(c.text.c_str(), pasteWholeColor, &r);
        ASSERT_EQ(ok, c.ok) << c.text.substr(0, 40) << "...";
        if (ok) {
            EXPECT_EQ(r.red, c.red);
            EXPECT_EQ(r.green, c.green);
            EXPECT_EQ(r.blue, c.blue);
        }
    }
    EXPECT_FALSE(parseColorText(std::string(big, '9').c_str(), pasteWholeColor, nullptr));
    PasteResult r;
    ASSERT_TRUE(parseColorText(std::string(big, '9').c_str(), pasteDecimalFlag | pasteBlueBit, &r));
    EXPECT_EQ(r.blue, 0xFFFFFFFFu);
}

} // namespace

// Tests of the colour texts: formatting, titles and reading pasted text back.
#include "color/colortext.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(ColorText, CopyTexts)
{
    // The hex text keeps its leading zeros, the decimal text has none; floats round to two
    // decimals. The fields are pinned by the titles below, which are made of them.
    const struct { double rgb[3]; const char *hex, *dec, *fraction; } cases[] = {
        {{255, 128, 0}, "FF8000", "255,128,0", "1.00,0.50,0.00"},
        {{1, 10, 171}, "010AAB", "1,10,171", "0.00,0.04,0.67"},
        {{255, 255, 255}, "FFFFFF", "255,255,255", "1.00,1.00,1.00"},
    };
    for (const auto& c : cases) {
        ColorTexts t;
        buildColorTexts(c.rgb, &t);
        EXPECT_STREQ(t.hexText, c.hex);
        EXPECT_STREQ(t.decText, c.dec);
        EXPECT_STREQ(t.floatText, c.fraction);
    }
}

TEST(ColorText, TitlesAndTips)
{
    const struct { int32_t format; const char *title, *tip; } cases[] = {
        {Hex, "FF 80 00 - Huebrick", "FF 80 00"},
        {Dec, "255, 128, 000 - Huebrick", "255, 128, 000"},
        {Float, "1.00, 0.50, 0.00 - Huebrick", "1.00, 0.50, 0.00"},
        {7, "255, 128, 000 - Huebrick", "255, 128, 000"}, // a damaged setting shows decimals
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
        EXPECT_FALSE(parseColorText(title, pasteWholeColor, nullptr)) << "a title is no colour: " << title;
    }
}

const uint32_t keep = 0xFFFFFFFFu;

struct ParseCase {
    std::string text;
    uint32_t selector;
    bool ok;
    uint32_t red = 0, green = 0, blue = 0;
    int32_t form = -1;
};

void checkParses(const std::vector<ParseCase>& cases)
{
    for (const ParseCase& c : cases) {
        PasteResult r = {11, 22, 33, 44};
        bool ok = parseColorText(c.text.c_str(), c.selector, &r);
        // PrintToString shows the blanks as escapes.
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text.substr(0, 40)) << " selector 0x"
                                        << std::hex << c.selector);
        EXPECT_EQ(ok, c.ok);
        // A failed paste changes nothing.
        std::vector<int64_t> want = {11, 22, 33, 44};
        if (ok && c.ok)
            want = {c.red, c.green, c.blue, c.form};
        EXPECT_EQ((std::vector<int64_t>{r.red, r.green, r.blue, r.form}), want);
    }
}

TEST(ColorText, ReadsWholeColours)
{
    const std::string mega(1 << 20, ' '), zeros(1 << 20, '0');
    checkParses({
        // One word: RRGGBB in hexadecimal, leading zeros left out.
        {"FF8000", 0, true, 255, 128, 0, Hex},
        {"ff8000", 0, true, 255, 128, 0, Hex},
        {"0xFF8000", 0, true, 255, 128, 0, Hex},
        {"\t FF8000 \r\n", 0, true, 255, 128, 0, Hex},
        {"F", 0, true, 0, 0, 15, Hex},
        {zeros + "FF8000", 0, true, 255, 128, 0, Hex},
        {"FFFFFF", 0, true, 255, 255, 255, Hex},
        {"1000000", 0, false},
        {"1234567", 0, false},
        {"#FF8000", 0, false},
        {"-1", 0, false},
        {"FF800G", 0, false},
        {" \t\r\n ", 0, false},
        // Words separated by blanks: three decimal values.
        {"255 128 0", 0, true, 255, 128, 0, Dec},
        {"1 2 " + zeros + "3", 0, true, 1, 2, 3, Dec},
        {"+1 +2 -0", 0, true, 1, 2, 0, Dec},
        {"255 128", 0, false},
        {"255 128 0 7", 0, false},
        {"FF 80 00", 0, false},
        {"256 0 0", 0, false},
        {"1.0 0 0", 0, false},
        // Commas without a full stop: decimal fields.
        {"255,128,0", 0, true, 255, 128, 0, Dec},
        {"255, 128, 000", 0, true, 255, 128, 0, Dec},
        {mega + "255 ,128, 0" + mega, 0, true, 255, 128, 0, Dec},
        {",,255,,,128,0", 0, true, 255, 128, 0, Dec},     // runs of commas before a field count as one
        {"10 x, 20 y z, 30", 0, true, 10, 20, 30, Dec},    // only a field's first word is read
        {"255,128", 0, false},
        {"255,128,0 7", 0, false},
        {"255,128,,0", 0, false},                          // the last value is a word, not a field
        {"10, 20, 30x", 0, false},
        {"256,0,0", 0, false},
        {"0,4294967296,0", 0, false},                      // saturates rather than wrapping to 0
        // Commas and a full stop: fractions of 1, scaled by 255 and cut toward zero.
        {"1.00, 0.50, 0.00", 0, true, 255, 127, 0, Float},
        {"0.2,.4,1.", 0, true, 51, 102, 255, Float},
        {"+1.0,-0.0,-0.003", 0, true, 255, 0, 0, Float},  // -0.765 is cut to 0
        {"1e0,5E-1,0.0e5", 0, true, 255, 127, 0, Float},
        {"1.0039,0,0", 0, true, 255, 0, 0, Float},
        {"1e0,5E-1,0e5", 0, false},                        // no full stop: decimal words
        {"1.5,0,0", 0, false},
        {"-0.004,0,0", 0, false},                          // -1.02 is cut to -1
        {"0,0,1.004", 0, false},
        {"0.5,inf,0.1", 0, false},                         // what only some C libraries read
        {"1e,0,0.5", 0, false},                            // an exponent needs digits
        {".,0,0", 0, false},
        {"0." + std::string(61, '5') + ",0,0", 0, true, 141, 0, 0, Float},
        {"0." + std::string(62, '5') + ",0,0", 0, false},  // 64 characters: no copy text has such a number
        {"255,128,0 .", 0, false},                         // a full stop anywhere makes it fractions
    });
}

TEST(ColorText, ReadsOneChannel)
{
    const uint32_t redHex = pasteHexFlag | pasteRedBit, greenHex = pasteHexFlag | pasteGreenBit;
    const uint32_t redDec = pasteDecimalFlag | pasteRedBit, blueDec = pasteDecimalFlag | pasteBlueBit;
    checkParses({
        {"c0", greenHex, true, keep, 192, keep, -1},
        {"1c0", greenHex, true, keep, 448, keep, -1},  // too large: the channel stays, the paste counts
        {"  0XFF\n", redHex, true, 255, keep, keep, -1},
        {"999", blueDec, true, keep, keep, 999, -1},
        {"c0", redDec, false},
        {"0x10", redDec, false},
        {"1.5", redDec, false},
        // The number is read as a 32-bit strtoul reads it: too large saturates, '-' negates
        // modulo 2^32.
        {"4294967296", redDec, true, 0xFFFFFFFFu, keep, keep, -1},
        {"-4294967295", redDec, true, 1, keep, keep, -1},
        {"-0x10", redHex, true, 0xFFFFFFF0u, keep, keep, -1},
    });
}

std::vector<double> channels(const PasteResult& r) { return {double(r.red), double(r.green), double(r.blue)}; }

TEST(ColorText, CopyTextsReadBack)
{
    // Hex and decimal come back exactly; float texts to two decimals (steps of 2.55, then
    // cut: at most 1 up, 2 down), and they read back to the same text.
    for (int v = 0; v <= 255; ++v) {
        const double rgb[3] = {double(v), double(255 - v), double(v * 7 % 256)};
        ColorTexts t, again;
        buildColorTexts(rgb, &t);
        PasteResult hex, dec, fraction;
        ASSERT_TRUE(parseColorText(t.hexText, pasteWholeColor, &hex) && parseColorText(t.decText, 0, &dec)
                    && parseColorText(t.floatText, 0, &fraction)) << t.floatText;
        EXPECT_EQ(channels(hex), std::vector<double>(rgb, rgb + 3)) << t.hexText;
        EXPECT_EQ(channels(dec), std::vector<double>(rgb, rgb + 3)) << t.decText;
        std::vector<double> back = channels(fraction);
        buildColorTexts(back.data(), &again);
        EXPECT_STREQ(again.floatText, t.floatText);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(back[i] >= rgb[i] - 2 && back[i] <= rgb[i] + 1) << t.floatText;
    }
}

} // namespace

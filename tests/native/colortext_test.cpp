// Tests of the colour texts: formatting, titles and reading pasted text back. The fuzz
// target checks that every copy text reads back.
#include "color/colortext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ColorText, CopyTextsAndTitles)
{
    // The hex text keeps its leading zeros, the decimal text has none; floats round to two
    // decimals.
    const double orange[3] = { 255, 128, 0 };
    ColorTexts t;
    buildColorTexts(orange, &t);
    EXPECT_EQ(std::vector<std::string>({ t.hexText, t.decText, t.floatText }),
              std::vector<std::string>({ "FF8000", "255,128,0", "1.00,0.50,0.00" }));
    // The fields, seen through the title and tip made of them; a damaged setting shows decimals.
    const struct {
        int32_t format;
        const char* tip;
    } titles[] = {
        { Hex, "FF 80 00" },
        { Dec, "255, 128, 000" },
        { Float, "1.00, 0.50, 0.00" },
        { 7, "255, 128, 000" },
    };
    const char* const fields[9] = { t.decField[0], t.decField[1],   t.decField[2],   t.hexField[0],  t.hexField[1],
                                    t.hexField[2], t.floatField[0], t.floatField[1], t.floatField[2] };
    for (const auto& c : titles) {
        char title[28], tip[64]; // the longest title just fits
        buildTitleTexts(c.format, fields, title, sizeof title, tip, sizeof tip);
        EXPECT_STREQ(tip, c.tip);
        EXPECT_EQ(std::string(title), std::string(c.tip) + " - Huebrick");
        EXPECT_FALSE(parseColorText(title, pasteWholeColor, nullptr)) << "a title is no colour: " << title;
    }
}

TEST(ColorText, ReadsPastedText)
{
    // Single channels are read against strtoul by the fuzz target; one worked example here.
    const uint32_t keep = 0xFFFFFFFFu;
    const std::string mega(1 << 20, ' '), zeros(1 << 20, '0');
    const struct {
        std::string text;
        bool ok;
        uint32_t red = 0, green = 0, blue = 0;
        int32_t form = -1;
        uint32_t selector = 0;
    } cases[] = {
        // One word: RRGGBB in hexadecimal, leading zeros left out.
        { "FF8000", true, 255, 128, 0, Hex },
        { "F", true, 0, 0, 15, Hex },
        { "\t 0xff8000 \r\n", true, 255, 128, 0, Hex },
        { zeros + "FFFFFF", true, 255, 255, 255, Hex },
        { "1234567", false },
        { "#FF8000", false },
        // Words separated by blanks: three decimal values.
        { "255 128 0", true, 255, 128, 0, Dec },
        { "FF 80 00", false },
        { "256 0 0", false },
        // Commas without a full stop: decimal fields, of which only the first word is read.
        // Runs of commas before a field count as one.
        { "255,128,0", true, 255, 128, 0, Dec },
        { ",,255,,,128,0", true, 255, 128, 0, Dec },
        { mega + "255 , 128, 000" + mega, true, 255, 128, 0, Dec },
        { "10 x, 20 y z, 30", true, 10, 20, 30, Dec },
        { "255,128", false },
        { "255,128,0 7", false },
        { "255,128,,0", false }, // the last value is a word, not a field
        // Commas and a full stop: fractions of 1, scaled by 255 and cut toward zero.
        { "1.00, 0.50, 0.00", true, 255, 127, 0, Float },
        { "0.2,.4,1.", true, 51, 102, 255, Float },
        { "1.0039,-0.0,-0.003", true, 255, 0, 0, Float }, // 255.99 and -0.765 are cut
        { "1e0,5E-1,0.0e5", true, 255, 127, 0, Float },
        { "1.5,0,0", false },
        { "0,0,1.004", false },
        { "-0.004,0,0", false }, // -1.02 is cut to -1
        // What only some C libraries read; an exponent and a number need digits.
        { "0.5,inf,0.1", false },
        { "1e,0,0.5", false },
        { ".,0,0", false },
        { "0." + std::string(61, '5') + ",0,0", true, 141, 0, 0, Float },
        { "0." + std::string(62, '5') + ",0,0", false }, // 64 characters: no copy text has such a number
        { "255,128,0 .", false },                        // a full stop anywhere makes it fractions
        // One channel: too large, the channel stays but the paste counts.
        { "  0x1C0\n", true, keep, 448, keep, -1, pasteHexFlag | pasteGreenBit },
    };
    for (const auto& c : cases) {
        PasteResult r = { 11, 22, 33, 44 }; // a refused paste changes nothing
        bool ok = parseColorText(c.text.c_str(), c.selector, &r);
        SCOPED_TRACE(testing::PrintToString(c.text.substr(0, 40)));
        EXPECT_EQ(ok, c.ok);
        std::vector<int64_t> want = { 11, 22, 33, 44 };
        if (ok && c.ok)
            want = { c.red, c.green, c.blue, c.form };
        EXPECT_EQ((std::vector<int64_t>{ r.red, r.green, r.blue, r.form }), want);
    }
}

// The colour texts as the Windows build formats them (through the system C library), for
// every channel value, against arithmetic done without any formatter.
#include <gtest/gtest.h>
#include <cstring>
#include <string>

#include "color/colortext.h"

static std::string hex2(int v)
{
    const char* digits = "0123456789ABCDEF";
    return std::string(1, digits[v >> 4]) + digits[v & 15];
}

// v / 255 to two decimals, rounded to nearest: no channel value lies on a midpoint.
static std::string fraction(int v)
{
    int hundredths = (v * 200 + 255) / 510;
    return std::to_string(hundredths / 100) + "." + std::to_string(hundredths / 10 % 10) + std::to_string(hundredths % 10);
}

static std::string dec3(int v)
{
    return std::string(1, '0' + v / 100) + char('0' + v / 10 % 10) + char('0' + v % 10);
}

TEST(ColorTexts, EveryChannelValueFormatsExactly)
{
    for (int v = 0; v < 256; v++) {
        const double rgb[3] = { double(v), double(255 - v), double(v / 2) };
        ColorTexts texts;
        memset(&texts, 0xAA, sizeof texts);
        buildColorTexts(rgb, &texts);
        const int channel[3] = { v, 255 - v, v / 2 };
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(dec3(channel[i]), texts.decField[i]) << v;
            EXPECT_EQ(hex2(channel[i]), texts.hexField[i]) << v;
            EXPECT_EQ(fraction(channel[i]), texts.floatField[i]) << v;
        }
        EXPECT_EQ(hex2(channel[0]) + hex2(channel[1]) + hex2(channel[2]), texts.hexText) << v;
        EXPECT_EQ(std::to_string(channel[0]) + "," + std::to_string(channel[1]) + "," + std::to_string(channel[2]),
                  texts.decText) << v;
        EXPECT_EQ(fraction(channel[0]) + "," + fraction(channel[1]) + "," + fraction(channel[2]), texts.floatText) << v;
    }
}

TEST(ColorTexts, TitlesInEveryFormatAndTipsFitTheirBuffers)
{
    const char* texts[9] = { "255", "128", "000", "FF", "80", "00", "1.00", "0.50", "0.00" };
    const struct { int format; const char* title; const char* tip; } cases[] = {
        { 0, "FF 80 00 - Huebrick", "FF 80 00" },
        { 1, "255, 128, 000 - Huebrick", "255, 128, 000" },
        { 2, "1.00, 0.50, 0.00 - Huebrick", "1.00, 0.50, 0.00" },
        { 7, "255, 128, 000 - Huebrick", "255, 128, 000" },
    };
    for (const auto& c : cases) {
        char title[28], tip[64];
        memset(title, 0xAA, sizeof title);
        memset(tip, 0xAA, sizeof tip);
        buildTitleTexts(c.format, texts, title, sizeof title, tip, sizeof tip);
        EXPECT_STREQ(c.title, title) << c.format;
        EXPECT_STREQ(c.tip, tip) << c.format;
    }
    char small[8];
    char tip[4];
    buildTitleTexts(0, texts, small, sizeof small, tip, sizeof tip);
    EXPECT_STREQ("FF 80 0", small);     // cut like snprintf: size - 1 characters and the NUL
    EXPECT_STREQ("FF ", tip);
}

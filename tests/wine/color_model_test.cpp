// The colour on the real window: steps, absolute sets, texts, title and the held button's repeat.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "skin/skin.h"
#include "res/resource.h"

#include <climits>
#include <cstring>

namespace {

COLORREF rgb(int r, int g, int b) { return RGB(r, g, b); }

std::string describe(COLORREF c)
{
    char text[32];
    snprintf(text, sizeof text, "%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

class ColorModelTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
    void TearDown() override
    {
        for (SkinButton& button : app.skinButtons)
            button.pressed = false;
        app.channelPressed = false;
        app.channelScrubbing = false;
        if (window)
            KillTimer(window, TIMER_REPEAT);
        ProgramTest::TearDown();
    }
    double channel(int i) { return app.valueFields[redDecField + i].value; }
};

TEST_F(ColorModelTest, AdjustStepsTogetherOrClampsEachChannel)
{
    const struct { COLORREF start; int32_t dr, dg, db; COLORREF after; } cases[] = {
        { rgb(10, 20, 250), 10, 10, 10, rgb(15, 25, 255) },     // the shared step is cut to 5
        { rgb(5, 20, 30), -10, -10, -10, rgb(0, 15, 25) },
        { rgb(10, 20, 255), 1, 1, 1, rgb(10, 20, 255) },        // brightest at 255: no more white
        { rgb(0, 128, 9), -1, -1, -1, rgb(0, 128, 9) },
        { rgb(0, 10, 20), INT32_MAX, INT32_MAX, INT32_MAX, rgb(235, 245, 255) },
        { rgb(250, 245, 255), INT32_MIN, INT32_MIN, INT32_MIN, rgb(5, 0, 10) },
        { rgb(40, 50, 60), 0, 0, 0, rgb(40, 50, 60) },
        { rgb(255, 0, 0), 1, 0, 0, rgb(255, 0, 0) },
        { rgb(10, 0, 0), 300, 0, 0, rgb(255, 0, 0) },
        { rgb(10, 0, 0), -300, 0, 0, rgb(0, 0, 0) },
        { rgb(100, 100, 100), 5, -5, 0, rgb(105, 95, 100) },
        { rgb(100, 100, 100), INT32_MIN, INT32_MAX, 1, rgb(0, 255, 101) },
        { rgb(1, 2, 3), 0, 0, -7, rgb(1, 2, 0) },
    };
    for (const auto& c : cases) {
        setColor(c.start);
        adjustColor(c.dr, c.dg, c.db);
        std::string label = describe(c.start) + " by " + std::to_string(c.dr) + "," + std::to_string(c.dg) + ","
            + std::to_string(c.db);
        EXPECT_EQ(describe(c.after), describe(app.curColor)) << label;
        EXPECT_EQ(GetRValue(c.after), channel(0)) << label;
        EXPECT_EQ(GetGValue(c.after), channel(1)) << label;
        EXPECT_EQ(GetBValue(c.after), channel(2)) << label;
        char hex[8];
        snprintf(hex, sizeof hex, "%.2X%.2X%.2X", GetRValue(c.after), GetGValue(c.after), GetBValue(c.after));
        EXPECT_STREQ(hex, app.hexText) << label;
        char title[32];
        snprintf(title, sizeof title, "%.2X %.2X %.2X - Huebrick", GetRValue(c.after), GetGValue(c.after),
                 GetBValue(c.after));
        EXPECT_EQ(title, windowTitle(window)) << label;
        // the whole display is repainted in the new colour
        EXPECT_EQ(describe(c.after), describe(backPixel(41, 25))) << label;
        EXPECT_EQ(describe(c.after), describe(backPixel(41, 55))) << label;
    }
    EXPECT_EQ(1u, historyCount(&app.history));  // steps alone record nothing
}

TEST_F(ColorModelTest, TheEightButtonActionsStepTheirChannels)
{
    const struct { SkinButtonIndex button; int dr, dg, db; } actions[] = {
        { moreRedButton, 1, 0, 0 }, { lessRedButton, -1, 0, 0 },
        { moreGreenButton, 0, 1, 0 }, { lessGreenButton, 0, -1, 0 },
        { moreBlueButton, 0, 0, 1 }, { lessBlueButton, 0, 0, -1 },
        { moreWhiteButton, 1, 1, 1 }, { lessWhiteButton, -1, -1, -1 },
    };
    for (const auto& a : actions) {
        setColor(rgb(100, 110, 120));
        ASSERT_TRUE(app.skinButtons[a.button].action != NULL) << a.button;
        app.skinButtons[a.button].action(window);
        EXPECT_EQ(describe(rgb(100 + a.dr, 110 + a.dg, 120 + a.db)), describe(app.curColor)) << "button " << a.button;
    }
}

TEST_F(ColorModelTest, AStepDuringAPressPaintsOnlyTheZoomPart)
{
    ASSERT_TRUE(app.splitScreen);
    setColor(rgb(50, 60, 70));
    refreshColorDisplay(app.displayRegion);
    app.channelPressed = true;
    adjustColor(10, 0, 0);
    EXPECT_EQ(describe(rgb(50, 60, 70)), describe(backPixel(41, 25))) << "upper half keeps the old colour";
    EXPECT_EQ(describe(rgb(60, 60, 70)), describe(backPixel(41, 55))) << "lower half shows the new one";
    app.channelPressed = false;
    adjustColor(0, 10, 0);
    EXPECT_EQ(describe(rgb(60, 70, 70)), describe(backPixel(41, 25)));
    EXPECT_EQ(describe(rgb(60, 70, 70)), describe(backPixel(41, 55)));
}

TEST_F(ColorModelTest, SetChannelsLeavesChannelsOf256OrMore)
{
    const struct { uint32_t r, g, b; COLORREF after; } cases[] = {
        { 1, 300, 3, rgb(1, 20, 3) },
        { 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, rgb(10, 20, 30) },
        { 256, 255, 0, rgb(10, 255, 0) },
        { 0, 0x80000000, 0x100, rgb(0, 20, 30) },
        { 255, 254, 0xFFFFFFFF, rgb(255, 254, 30) },
    };
    for (const auto& c : cases) {
        setColor(rgb(10, 20, 30));
        setChannels(c.r, c.g, c.b);
        EXPECT_EQ(describe(c.after), describe(app.curColor)) << c.r << " " << c.g << " " << c.b;
        EXPECT_EQ(GetGValue(c.after), channel(1)) << c.r << " " << c.g << " " << c.b;
        char dec[16];
        snprintf(dec, sizeof dec, "%d,%d,%d", GetRValue(c.after), GetGValue(c.after), GetBValue(c.after));
        EXPECT_STREQ(dec, app.decText) << c.r << " " << c.g << " " << c.b;
    }
}

TEST_F(ColorModelTest, SetColorReadsThreeBytesAndIgnoresTheFourth)
{
    const struct { COLORREF given; int r, g, b; } cases[] = {
        { 0x00FF8000, 0, 128, 255 }, { 0x5AFF8000, 0, 128, 255 }, { 0xFF000000, 0, 0, 0 },
        { 0x01020304, 4, 3, 2 }, { 0xFFFFFFFF, 255, 255, 255 },
    };
    for (const auto& c : cases) {
        setColor(c.given);
        EXPECT_EQ(c.given & 0xFFFFFFu, app.curColor) << std::hex << c.given;
        EXPECT_EQ(c.r, channel(0)) << std::hex << c.given;
        EXPECT_EQ(c.g, channel(1)) << std::hex << c.given;
        EXPECT_EQ(c.b, channel(2)) << std::hex << c.given;
    }
}

TEST_F(ColorModelTest, FormattingFillsEveryText)
{
    const struct {
        COLORREF color;
        const char* fields[9];
        const char *hex, *dec, *flt;
    } cases[] = {
        { rgb(255, 128, 0), { "255", "128", "000", "FF", "80", "00", "1.00", "0.50", "0.00" },
          "FF8000", "255,128,0", "1.00,0.50,0.00" },
        { rgb(1, 2, 3), { "001", "002", "003", "01", "02", "03", "0.00", "0.01", "0.01" },
          "010203", "1,2,3", "0.00,0.01,0.01" },
        { rgb(0, 0, 0), { "000", "000", "000", "00", "00", "00", "0.00", "0.00", "0.00" },
          "000000", "0,0,0", "0.00,0.00,0.00" },
        { rgb(255, 255, 255), { "255", "255", "255", "FF", "FF", "FF", "1.00", "1.00", "1.00" },
          "FFFFFF", "255,255,255", "1.00,1.00,1.00" },
    };
    for (const auto& c : cases) {
        // sentinels reveal any text left unwritten
        for (ValueField& field : app.valueFields) {
            memset(field.text, 0xAA, sizeof field.text - 1);
            field.text[sizeof field.text - 1] = '\0';
        }
        memset(app.hexText, 'x', sizeof app.hexText - 1);
        memset(app.decText, 'x', sizeof app.decText - 1);
        memset(app.floatText, 'x', sizeof app.floatText - 1);
        setColor(c.color);
        for (int i = 0; i < valueFieldCount; i++)
            EXPECT_STREQ(c.fields[i], app.valueFields[i].text) << describe(c.color) << " field " << i;
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(channel(i), app.valueFields[redHexField + i].value) << describe(c.color);
            EXPECT_DOUBLE_EQ(channel(i) / 255.0, app.valueFields[redFloatField + i].value) << describe(c.color);
        }
        EXPECT_STREQ(c.hex, app.hexText);
        EXPECT_STREQ(c.dec, app.decText);
        EXPECT_STREQ(c.flt, app.floatText);
    }
}

TEST_F(ColorModelTest, TitleAndTipFollowTheFormat)
{
    const struct { int format; COLORREF color; const char *title, *tip; } cases[] = {
        { 0, rgb(255, 128, 0), "FF 80 00 - Huebrick", "FF 80 00" },
        { 1, rgb(255, 128, 0), "255, 128, 000 - Huebrick", "255, 128, 000" },
        { 2, rgb(255, 128, 0), "1.00, 0.50, 0.00 - Huebrick", "1.00, 0.50, 0.00" },
        { 2, rgb(255, 255, 255), "1.00, 1.00, 1.00 - Huebrick", "1.00, 1.00, 1.00" },
        { 7, rgb(255, 128, 0), "255, 128, 000 - Huebrick", "255, 128, 000" },
        { -1, rgb(0, 9, 10), "000, 009, 010 - Huebrick", "000, 009, 010" },
    };
    for (const auto& c : cases) {
        setColor(c.color);
        setColorFormat(c.format);
        EXPECT_EQ(c.title, windowTitle(window)) << c.format;
        EXPECT_STREQ(c.tip, app.trayIconData.szTip) << c.format;
        // a colour change alone brings the title up to date in the same format
        adjustColor(0, 0, 0);
        EXPECT_EQ(c.title, windowTitle(window)) << c.format;
    }
}

// The held button repeats while the pointer rests on it and the repeat speeds up tick by tick.
TEST_F(ColorModelTest, RepeatTickStepsOnlyOnTheHeldButtonAndAccelerates)
{
    RECT r;
    GetWindowRect(window, &r);
    ASSERT_EQ(r.left, app.windowRect.left);
    ASSERT_EQ(r.top, app.windowRect.top);
    const POINT onMoreRed = { r.left + 60, r.top + 74 };
    const POINT onLessRed = { r.left + 23, r.top + 74 };
    const POINT outside = { r.right + 30, r.bottom + 30 };

    setColor(rgb(100, 100, 100));
    app.channelPressed = true;
    app.skinButtons[moreRedButton].pressed = true;
    startRepeat(window);
    EXPECT_EQ(150, app.repeatInterval);

    // where the pointer is at each tick, the red expected after it and the next interval
    const struct { POINT at; int red; int interval; } ticks[] = {
        { onMoreRed, 101, 131 }, { onMoreRed, 102, 113 }, { onLessRed, 102, 96 }, { outside, 102, 80 },
        { onMoreRed, 103, 65 }, { onMoreRed, 104, 51 }, { onMoreRed, 105, 38 }, { onMoreRed, 106, 26 },
        { onMoreRed, 107, 15 }, { onMoreRed, 108, 15 }, { onLessRed, 108, 15 }, { onMoreRed, 109, 15 },
    };
    int n = 0;
    for (const auto& t : ticks) {
        ++n;
        ASSERT_TRUE(SetCursorPos(t.at.x, t.at.y));
        POINT seen;
        GetCursorPos(&seen);
        ASSERT_EQ(t.at.x, seen.x) << "tick " << n;
        ASSERT_EQ(t.at.y, seen.y) << "tick " << n;
        repeatTick(window);
        EXPECT_EQ(t.red, channel(0)) << "tick " << n;
        EXPECT_EQ(100, channel(1)) << "tick " << n;
        EXPECT_EQ(t.interval, app.repeatInterval) << "tick " << n;
        EXPECT_TRUE(KillTimer(window, TIMER_REPEAT)) << "tick " << n << ": timer 4 not set again";
    }
    EXPECT_EQ(1u, historyCount(&app.history));
}

TEST_F(ColorModelTest, RepeatTickRunsTheFirstPressedButtonUnderThePointer)
{
    RECT r;
    GetWindowRect(window, &r);
    const struct { SkinButtonIndex button; int x, y; COLORREF after; } cases[] = {
        { moreWhiteButton, 73, 116, rgb(101, 101, 101) },
        { lessWhiteButton, 10, 116, rgb(99, 99, 99) },
        { lessBlueButton, 23, 98, rgb(100, 100, 99) },
        { moreGreenButton, 60, 86, rgb(100, 101, 100) },
        { moreGreenButton, 60, 98, rgb(100, 100, 100) },    // pointer on More Blue, which is not held
        { lessRedButton, 41, 74, rgb(100, 100, 100) },      // pointer on the red value field
    };
    for (const auto& c : cases) {
        setColor(rgb(100, 100, 100));
        app.channelPressed = true;
        app.skinButtons[c.button].pressed = true;
        startRepeat(window);
        ASSERT_TRUE(SetCursorPos(r.left + c.x, r.top + c.y));
        repeatTick(window);
        EXPECT_EQ(describe(c.after), describe(app.curColor)) << "button " << c.button << " at " << c.x << "," << c.y;
        app.skinButtons[c.button].pressed = false;
    }
}

TEST_F(ColorModelTest, RepeatTickStopsOnceScrubbingBegan)
{
    RECT r;
    GetWindowRect(window, &r);
    setColor(rgb(100, 100, 100));
    app.channelPressed = true;
    app.skinButtons[moreRedButton].pressed = true;
    startRepeat(window);
    ASSERT_TRUE(SetCursorPos(r.left + 60, r.top + 74));
    app.channelScrubbing = true;
    repeatTick(window);
    EXPECT_FALSE(KillTimer(window, TIMER_REPEAT)) << "timer 4 was set again";
    EXPECT_EQ(100, channel(0));
    EXPECT_EQ(150, app.repeatInterval);
}

} // namespace

// The colour on the real window: steps reaching every text and the display, the texts as
// the system C library formats them, and the title and tray tip in each format.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "color/colortext.h"
#include "res/resource.h"
#include "skin/skin.h"

#include <climits>
#include <cstring>

namespace {

COLORREF rgb(int r, int g, int b) { return RGB(r, g, b); }

class ColorModelTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
    double channel(int i) { return app.valueFields[redDecField + i].value; }
};

TEST_F(ColorModelTest, StepsClampAndReachTextsTitleAndDisplay)
{
    const struct { COLORREF start; int32_t dr, dg, db; COLORREF after; } cases[] = {
        { rgb(10, 20, 250), 10, 10, 10, rgb(15, 25, 255) },     // the shared step is cut to 5
        { rgb(10, 20, 255), 1, 1, 1, rgb(10, 20, 255) },        // brightest at 255: no more white
        { rgb(100, 100, 100), INT32_MIN, INT32_MAX, 1, rgb(0, 255, 101) },
        { 0x5A000080, 0, 0, 0, rgb(128, 0, 0) },                // the fourth byte is no channel
    };
    for (const auto& c : cases) {
        setColor(c.start);
        adjustColor(c.dr, c.dg, c.db);
        std::string label = describe(c.start) + " by " + std::to_string(c.dr) + "," + std::to_string(c.dg) + ","
            + std::to_string(c.db);
        EXPECT_EQ(c.after, app.curColor) << label;
        EXPECT_EQ(GetRValue(c.after), channel(0)) << label;
        EXPECT_EQ(GetGValue(c.after), channel(1)) << label;
        EXPECT_EQ(GetBValue(c.after), channel(2)) << label;
        char hex[8];
        snprintf(hex, sizeof hex, "%.2X%.2X%.2X", GetRValue(c.after), GetGValue(c.after), GetBValue(c.after));
        EXPECT_STREQ(hex, app.hexText) << label;
        EXPECT_EQ(std::string(hex, 2) + " " + std::string(hex + 2, 2) + " " + std::string(hex + 4, 2) + " - Huebrick",
                  windowTitle(window)) << label;
        // the whole display is repainted in the new colour
        EXPECT_EQ(describe(c.after), describe(backPixel(41, 25))) << label;
        EXPECT_EQ(describe(c.after), describe(backPixel(41, 55))) << label;
    }
    EXPECT_EQ(1u, historyCount(&app.history));  // steps alone record nothing
}

// The Windows build formats through the system C library; the float texts are checked at
// the channel values that lie closest to a rounding midpoint.
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
        { rgb(88, 116, 139), { "088", "116", "139", "58", "74", "8B", "0.35", "0.45", "0.55" },
          "58748B", "88,116,139", "0.35,0.45,0.55" },
        { rgb(14, 37, 241), { "014", "037", "241", "0E", "25", "F1", "0.05", "0.15", "0.95" },
          "0E25F1", "14,37,241", "0.05,0.15,0.95" },
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
        EXPECT_STREQ(c.hex, app.hexText);
        EXPECT_STREQ(c.dec, app.decText);
        EXPECT_STREQ(c.flt, app.floatText);
    }
}

// The format commands and a later colour change both publish the title and the tip; a
// damaged format shows the decimal texts.
TEST_F(ColorModelTest, TitleAndTipFollowTheFormat)
{
    const struct { int command, format; COLORREF color; const char *title, *tip; } cases[] = {
        { CMD_FORMAT_HEX, 0, rgb(255, 128, 0), "FF 80 00 - Huebrick", "FF 80 00" },
        { CMD_FORMAT_DEC, 0, rgb(7, 42, 199), "007, 042, 199 - Huebrick", "007, 042, 199" },
        { CMD_FORMAT_FLOAT, 0, rgb(255, 128, 0), "1.00, 0.50, 0.00 - Huebrick", "1.00, 0.50, 0.00" },
        // the longest title fills its buffer exactly
        { CMD_FORMAT_FLOAT, 0, rgb(255, 255, 255), "1.00, 1.00, 1.00 - Huebrick", "1.00, 1.00, 1.00" },
        { 0, 7, rgb(255, 128, 0), "255, 128, 000 - Huebrick", "255, 128, 000" },
        { 0, -1, rgb(0, 9, 10), "000, 009, 010 - Huebrick", "000, 009, 010" },
    };
    for (const auto& c : cases) {
        setColor(rgb(0, 0, 0));
        if (c.command)
            onCommand(window, c.command);
        else
            setColorFormat(c.format);
        setColor(c.color);
        refreshColorDisplay(app.displayRegion);
        EXPECT_EQ(c.title, windowTitle(window)) << c.command << " " << c.format;
        EXPECT_STREQ(c.tip, app.trayIconData.szTip) << c.command << " " << c.format;
        if (c.command) {
            onCommand(window, CMD_NEXT_FORMAT);
            onCommand(window, c.command);
            EXPECT_EQ(c.title, windowTitle(window)) << c.command << " after a format change";
            EXPECT_STREQ(c.tip, app.trayIconData.szTip) << c.command << " after a format change";
        }
    }
    // Ctrl+F's command steps through the three forms and back to the first.
    setColor(rgb(254, 255, 255));
    setColorFormat(1);
    for (const char* title : { "1.00, 1.00, 1.00 - Huebrick", "FE FF FF - Huebrick", "254, 255, 255 - Huebrick" }) {
        onCommand(window, CMD_NEXT_FORMAT);
        EXPECT_EQ(title, windowTitle(window));
    }
}

// On Windows the texts come from _vsnprintf, which leaves a cut text unterminated: the
// formatter must cut it like snprintf, size - 1 characters and the NUL.
TEST(ColorTexts, ShortBuffersAreCutAndTerminated)
{
    const char* texts[9] = { "255", "128", "000", "FF", "80", "00", "1.00", "0.50", "0.00" };
    char title[8], tip[4];
    memset(title, 0xAA, sizeof title);
    memset(tip, 0xAA, sizeof tip);
    buildTitleTexts(0, texts, title, sizeof title, tip, sizeof tip);
    EXPECT_STREQ("FF 80 0", title);
    EXPECT_STREQ("FF ", tip);
}

} // namespace

// Start-up against the real registry, window manager and menus: the window's styles, the
// menu marks of default and stored settings, and placement back onto the work area.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"

static bool greyed(int command) { return (menuState(command) & MF_GRAYED) != 0; }

TEST_F(ProgramTest, FirstStartHasItsStylesAndTheDefaultMarks)
{
    startProgram();
    LONG style = GetWindowLongA(window, GWL_STYLE), exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    EXPECT_EQ(static_cast<LONG>(WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX), style & ~(WS_VISIBLE | WS_CLIPSIBLINGS));
    EXPECT_TRUE(exStyle & WS_EX_ACCEPTFILES);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_TOPMOST);

    const struct { int command; bool isChecked; } marks[] = {
        { CMD_SPLIT_SCREEN, true }, { CMD_STICKY_ZOOM, false }, { CMD_AUTO_FORMAT, true },
        { CMD_ZOOM_MAX, true }, { CMD_DITHER_NONE, true }, { CMD_SNAP_TO_SCREEN, true },
        { CMD_ALWAYS_ON_TOP, false }, { CMD_TOOL_TIPS, true }, { CMD_SINGLE_INSTANCE, false },
        { CMD_SPLASH_SCREEN, true }, { CMD_SYSTEM_TRAY, false }, { CMD_DEFAULT_SKIN, true },
        { CMD_USER_SKIN, false }, { CMD_FORMAT_HEX, false },
    };
    for (const auto& m : marks)
        EXPECT_EQ(m.isChecked, menuChecked(m.command)) << "command " << m.command;
    EXPECT_FALSE(greyed(CMD_STICKY_ZOOM));
}

// A zoom factor the menu does not offer marks Max.
TEST_F(ProgramTest, StoredSettingsSetTheMenuMarks)
{
    const struct { const char* name; DWORD value; int command; bool isChecked; } cases[] = {
        { "zoomFactor", 5, CMD_ZOOM_MAX, true },
        { "antiDitherTol", 9, CMD_DITHER_MEDIUM, true },
        { "alwaysOnTop", 5, CMD_ALWAYS_ON_TOP, true },
        { "singleInstance", 1, CMD_SINGLE_INSTANCE, true },
        { "showToolTips", 0, CMD_TOOL_TIPS, false },
        { "splashScreen", 0, CMD_SPLASH_SCREEN, false },
        { "autoFormat", 0, CMD_AUTO_FORMAT, false },
        { "snapTol", 0, CMD_SNAP_TO_SCREEN, false },
        { "stickyZoom", 1, CMD_STICKY_ZOOM, true },
    };
    for (const auto& c : cases)
        setDword(c.name, c.value);
    startProgram();
    for (const auto& c : cases)
        EXPECT_EQ(c.isChecked, menuChecked(c.command)) << c.name;
    EXPECT_FALSE(menuChecked(CMD_DITHER_NONE));
    EXPECT_EQ(5, app.zoomFactor);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(app.skinButtons[onTopButton].pressed);
    EXPECT_FALSE(app.skinButtons[snapButton].pressed);
}

TEST_F(ProgramTest, SplitScreenOffGreysZoomPersistsButKeepsItsMark)
{
    setDword("splitScreen", 0);
    setDword("stickyZoom", 1);
    startProgram();
    EXPECT_FALSE(menuChecked(CMD_SPLIT_SCREEN));
    EXPECT_TRUE(greyed(CMD_STICKY_ZOOM));
    EXPECT_TRUE(menuChecked(CMD_STICKY_ZOOM));
    EXPECT_EQ(app.displayRegion, app.zoomRegion);

    onCommand(window, CMD_SPLIT_SCREEN);
    EXPECT_TRUE(menuChecked(CMD_SPLIT_SCREEN));
    EXPECT_FALSE(greyed(CMD_STICKY_ZOOM));
    EXPECT_TRUE(menuChecked(CMD_STICKY_ZOOM));
    EXPECT_EQ(app.displayBottomRegion, app.zoomRegion);
}

TEST_F(ProgramTest, WindowWhollyOffTheWorkAreaIsRecentred)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const struct { LONG x, y; bool recentred; } cases[] = {
        { work.right + 1, 100, true },
        { work.right, 100, false },     // touching the edge still counts as on the work area
        { 100, work.bottom + 1, true },
        { -84, 100, true },             // right edge -1 lies left of the work area
        { -83, 100, false },
        { 100, -133, true },
    };
    for (const auto& c : cases) {
        clearSettings();
        setDword("xPos", static_cast<DWORD>(c.x));
        setDword("yPos", static_cast<DWORD>(c.y));
        startProgram();
        RECT r;
        GetWindowRect(window, &r);
        if (c.recentred) {
            EXPECT_EQ((work.right - work.left) / 2 - 41, r.left) << c.x << "," << c.y;
            EXPECT_EQ((work.bottom - work.top) / 2 - 66, r.top) << c.x << "," << c.y;
        } else {
            EXPECT_EQ(c.x, r.left) << c.x << "," << c.y;
            EXPECT_EQ(c.y, r.top) << c.x << "," << c.y;
        }
        closeProgram();
    }
}

// Start-up against the real registry, window manager and menus: defaults, stored
// settings coming back, the menu marks, placement and the accelerator table.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"

static bool checked(int command) { return (menuState(command) & MF_CHECKED) != 0; }
static bool greyed(int command) { return (menuState(command) & MF_GRAYED) != 0; }

TEST_F(ProgramTest, FirstStartUsesDefaultsCentredOnTheWorkArea)
{
    startProgram();
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ((work.right - work.left) / 2 - 41, r.left);
    EXPECT_EQ((work.bottom - work.top) / 2 - 66, r.top);
    EXPECT_EQ(83, r.right - r.left);
    EXPECT_EQ(132, r.bottom - r.top);

    EXPECT_TRUE(app.splitScreen);
    EXPECT_TRUE(app.autoFormat);
    EXPECT_EQ(8, app.snapTol);
    EXPECT_EQ(8, app.savedSnapTol);
    EXPECT_TRUE(app.showToolTips);
    EXPECT_TRUE(app.splashScreen);
    EXPECT_FALSE(app.alwaysOnTop || app.singleInstance || app.inSystemTray || app.stickyZoom);
    EXPECT_EQ(NULL, app.skinFileName);
    EXPECT_EQ(0xFFFFFFu, app.curColor);

    char title[64];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ("FF FF FF - Huebrick", title);
    LONG style = GetWindowLongA(window, GWL_STYLE), exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    EXPECT_EQ(static_cast<LONG>(WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX), style & ~(WS_VISIBLE | WS_CLIPSIBLINGS));
    EXPECT_TRUE(exStyle & WS_EX_ACCEPTFILES);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
}

TEST_F(ProgramTest, MenuMarksFollowTheDefaults)
{
    startProgram();
    const struct { int command; bool isChecked; } marks[] = {
        { CMD_SPLIT_SCREEN, true }, { CMD_STICKY_ZOOM, false }, { CMD_AUTO_FORMAT, true },
        { CMD_ZOOM_MAX, true }, { CMD_ZOOM_1X, false }, { CMD_DITHER_NONE, true }, { CMD_DITHER_SMALL, false },
        { CMD_SNAP_TO_SCREEN, true }, { CMD_ALWAYS_ON_TOP, false }, { CMD_TOOL_TIPS, true },
        { CMD_SINGLE_INSTANCE, false }, { CMD_SPLASH_SCREEN, true }, { CMD_SYSTEM_TRAY, false },
        { CMD_DEFAULT_SKIN, true }, { CMD_USER_SKIN, false },
        { CMD_FORMAT_HEX, false }, { CMD_FORMAT_DEC, false }, { CMD_FORMAT_FLOAT, false },
    };
    for (const auto& m : marks)
        EXPECT_EQ(m.isChecked, checked(m.command)) << "command " << m.command;
    EXPECT_FALSE(greyed(CMD_STICKY_ZOOM));
}

TEST_F(ProgramTest, StoredSettingsSetTheMenuMarks)
{
    const struct { const char* name; DWORD value; int command; bool isChecked; } cases[] = {
        { "zoomFactor", 16, CMD_ZOOM_16X, true },
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
        EXPECT_EQ(c.isChecked, checked(c.command)) << c.name;
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(app.skinButtons[onTopButton].pressed);
    EXPECT_FALSE(app.skinButtons[snapButton].pressed);
}

TEST_F(ProgramTest, ZoomAndAntiDitherValuesOutsideTheMenuMarkMaxAndNone)
{
    setDword("zoomFactor", 5);
    setDword("antiDitherTol", 1);
    startProgram();
    EXPECT_TRUE(checked(CMD_ZOOM_MAX));
    EXPECT_TRUE(checked(CMD_DITHER_NONE));
    EXPECT_EQ(5, app.zoomFactor);
    EXPECT_EQ(1, app.antiDitherTol);
}

TEST_F(ProgramTest, SplitScreenOffGreysZoomPersistsButKeepsItsMark)
{
    setDword("splitScreen", 0);
    setDword("stickyZoom", 1);
    startProgram();
    EXPECT_FALSE(checked(CMD_SPLIT_SCREEN));
    EXPECT_TRUE(greyed(CMD_STICKY_ZOOM));
    EXPECT_TRUE(checked(CMD_STICKY_ZOOM));
    EXPECT_EQ(app.displayRegion, app.zoomRegion);

    onCommand(window, CMD_SPLIT_SCREEN);
    EXPECT_TRUE(checked(CMD_SPLIT_SCREEN));
    EXPECT_FALSE(greyed(CMD_STICKY_ZOOM));
    EXPECT_TRUE(checked(CMD_STICKY_ZOOM));
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

TEST(Accelerators, EveryKeyMapsToItsCommandWithExactModifiers)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(NULL), "RES_MENU_ACCL");
    ASSERT_TRUE(table);
    ACCEL entries[64];
    int count = CopyAcceleratorTableA(table, entries, 64);
    const BYTE ctrl = FVIRTKEY | FCONTROL, shift = FVIRTKEY | FSHIFT, plain = FVIRTKEY;
    const struct { BYTE flags; WORD key; WORD command; } expected[] = {
        { plain, VK_LEFT, 300 }, { plain, VK_DOWN, 300 }, { plain, VK_RIGHT, 301 }, { plain, VK_UP, 301 },
        { ctrl, 'C', 310 }, { ctrl, VK_INSERT, 310 }, { ctrl, 'X', 311 }, { ctrl, 'V', 312 },
        { shift, VK_INSERT, 312 }, { ctrl, 'Z', 313 }, { static_cast<BYTE>(ctrl | FSHIFT), 'Z', 314 },
        { plain, VK_RETURN, 315 }, { plain, VK_ESCAPE, 316 }, { ctrl, 'F', 350 }, { ctrl, 'D', 200 },
        { ctrl, 'U', 201 }, { ctrl, 'P', 202 }, { plain, VK_F2, 113 }, { ctrl, 'S', 100 }, { ctrl, 'A', 101 },
        { ctrl, 'T', 102 }, { ctrl, 'I', 103 }, { ctrl, 'M', 110 }, { ctrl, 'Q', 112 },
    };
    ASSERT_EQ(static_cast<int>(sizeof expected / sizeof expected[0]), count);
    for (int i = 0; i < count; i++) {
        EXPECT_EQ(expected[i].flags, entries[i].fVirt & ~0x80) << "entry " << i;
        EXPECT_EQ(expected[i].key, entries[i].key) << "entry " << i;
        EXPECT_EQ(expected[i].command, entries[i].cmd) << "entry " << i;
    }
    DestroyAcceleratorTable(table);
}

static void collectItems(HMENU menu, std::string indent, std::string* out)
{
    char text[128];
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        text[0] = '\0';
        GetMenuItemInfoA(menu, i, TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            *out += indent + "-\n";
        } else if (info.hSubMenu) {
            *out += indent + text + "\n";
            collectItems(info.hSubMenu, indent + "  ", out);
        } else {
            *out += indent + std::to_string(info.wID) + " " + text + "\n";
        }
    }
}

TEST(Menu, TreeTextsAndIdentifiers)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(NULL), "RES_MENU_POPUP");
    ASSERT_TRUE(menu);
    std::string tree;
    collectItems(menu, "", &tree);
    EXPECT_EQ("Main\n"
              "  &Edit\n    310 &Copy\n    312 &Paste\n    313 &Undo\n    314 &Redo\n"
              "  -\n"
              "  &Tools\n"
              "    &Screen Mode\n      501 &Split Screen\n      500 &Zoom persists\n"
              "    &Color format\n      351 &Auto\n      -\n      352 &Hex\t(RRGGBB) [00-FF]\n"
              "      353 &Dec\t(rrr, ggg, bbb) [0-255]\n      354 &Float\t(r.rr, g.gg, b.bb) [0.00-1.00]\n"
              "    &Zoom\n      510 &1x\n      511 &2x\n      512 &4x\n      513 &8x\n      514 &16x\n      599 &Max\n"
              "    &Anti-dither\n      400 &None\n      401 &Small\t3x3\n      402 &Medium\t9x9\n      403 &Large\t21x21\n"
              "  &Settings\n    101 Always on &top\n    100 &Snap to screen\n    104 T&ool tips\n    -\n"
              "    103 Single &Instance\n    202 S&plash screen\n    102 S&ystem tray\n    -\n"
              "    200 &Default skin\n    201 &User skin...\n"
              "  -\n  113 &About\n  -\n  110 &Minimize\n  112 C&lose\n",
              tree);
    DestroyMenu(menu);
}

// The command table reaching its handlers, and the letter keys.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"

#include <functional>

static bool checked(int command) { return (menuState(command) & MF_CHECKED) != 0; }

class CommandTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
};

TEST_F(CommandTest, SettingCommandsFlipTheirSettingAndMark)
{
    const struct { int command; std::function<bool()> value; } toggles[] = {
        { CMD_SNAP_TO_SCREEN, [] { return app.snapTol != 0; } },
        { CMD_ALWAYS_ON_TOP, [] { return app.alwaysOnTop; } },
        { CMD_SINGLE_INSTANCE, [] { return app.singleInstance; } },
        { CMD_TOOL_TIPS, [] { return app.showToolTips; } },
        { CMD_SPLASH_SCREEN, [] { return app.splashScreen; } },
        { CMD_AUTO_FORMAT, [] { return app.autoFormat; } },
        { CMD_STICKY_ZOOM, [] { return app.stickyZoom; } },
        { CMD_SPLIT_SCREEN, [] { return app.splitScreen; } },
    };
    for (const auto& t : toggles) {
        bool before = t.value();
        EXPECT_EQ(before, checked(t.command)) << t.command;
        onCommand(window, t.command);
        EXPECT_EQ(!before, t.value()) << t.command;
        EXPECT_EQ(!before, checked(t.command)) << t.command;
        if (app.splashShowing)  // the splash setting is locked while the splash shows
            onTimer(window, TIMER_SPLASH);
        onCommand(window, t.command);
        EXPECT_EQ(before, t.value()) << t.command;
        pumpMessages(0);
    }
}

TEST_F(CommandTest, AlwaysOnTopChangesTheWindowAndItsButton)
{
    onCommand(window, CMD_ALWAYS_ON_TOP);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(app.skinButtons[onTopButton].pressed);
    onCommand(window, CMD_ALWAYS_ON_TOP);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(app.skinButtons[onTopButton].pressed);
}

TEST_F(CommandTest, RadioGroupsSetTheirValue)
{
    const struct { int command; int* field; int value; int first, last; } radios[] = {
        { CMD_ZOOM_1X, &app.zoomFactor, 1, 510, 599 }, { CMD_ZOOM_2X, &app.zoomFactor, 2, 510, 599 },
        { CMD_ZOOM_4X, &app.zoomFactor, 4, 510, 599 }, { CMD_ZOOM_8X, &app.zoomFactor, 8, 510, 599 },
        { CMD_ZOOM_16X, &app.zoomFactor, 16, 510, 599 }, { CMD_ZOOM_MAX, &app.zoomFactor, 0, 510, 599 },
        { CMD_DITHER_SMALL, &app.antiDitherTol, 3, 400, 403 },
        { CMD_DITHER_MEDIUM, &app.antiDitherTol, 9, 400, 403 },
        { CMD_DITHER_LARGE, &app.antiDitherTol, 21, 400, 403 },
        { CMD_DITHER_NONE, &app.antiDitherTol, 1, 400, 403 },
    };
    for (const auto& r : radios) {
        onCommand(window, r.command);
        EXPECT_EQ(r.value, *r.field) << r.command;
        for (int item : { 400, 401, 402, 403, 510, 511, 512, 513, 514, 599 })
            if (item >= r.first && item <= r.last) {
                EXPECT_EQ(item == r.command, checked(item)) << r.command << " item " << item;
            }
    }
}

TEST_F(CommandTest, FormatCommandsRewriteTheTitle)
{
    onChar(window, 'r');
    EXPECT_EQ("FE FF FF - Huebrick", windowTitle(window));
    onCommand(window, CMD_NEXT_FORMAT);
    EXPECT_EQ("254, 255, 255 - Huebrick", windowTitle(window));
    onCommand(window, CMD_NEXT_FORMAT);
    EXPECT_EQ("1.00, 1.00, 1.00 - Huebrick", windowTitle(window));
    onCommand(window, CMD_NEXT_FORMAT);
    EXPECT_EQ("FE FF FF - Huebrick", windowTitle(window));
    onCommand(window, CMD_FORMAT_DEC);
    EXPECT_EQ(1, app.colorFormat);
    onCommand(window, CMD_FORMAT_FLOAT);
    EXPECT_EQ(2, app.colorFormat);
    onCommand(window, CMD_FORMAT_HEX);
    EXPECT_EQ(0, app.colorFormat);
    EXPECT_FALSE(checked(CMD_FORMAT_HEX));
}

TEST_F(CommandTest, LettersStepAndOnlyTheirKeyUpRecords)
{
    const struct { WPARAM character; COLORREF after; } steps[] = {
        { 'r', 0xFFFFFE }, { 'g', 0xFFFEFE }, { 'b', 0xFEFEFE }, { 'w', 0xFDFDFD }, { 'W', 0xFEFEFE },
        { 'R', 0xFEFEFF }, { 'G', 0xFEFFFF }, { 'B', 0xFFFFFF }, { 'x', 0xFFFFFF }, { '1', 0xFFFFFF },
    };
    for (const auto& s : steps) {
        onChar(window, s.character);
        EXPECT_EQ(s.after, app.curColor) << static_cast<char>(s.character);
    }
    onChar(window, 'r');
    onChar(window, 'r');
    onKeyUp(window, VK_SHIFT);
    EXPECT_EQ(1u, historyCount(&app.history));
    onKeyUp(window, 'R');
    EXPECT_EQ(2u, historyCount(&app.history));
    EXPECT_EQ(0xFFFFFDu, currentColor(&app.history));
}

TEST_F(CommandTest, ArrowCommandsStepWhiteWithoutRecording)
{
    onCommand(window, CMD_LESS_WHITE);
    onCommand(window, CMD_LESS_WHITE);
    EXPECT_EQ(0xFDFDFDu, app.curColor);
    onCommand(window, CMD_MORE_WHITE);
    EXPECT_EQ(0xFEFEFEu, app.curColor);
    EXPECT_EQ(1u, historyCount(&app.history));
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(0xFFFFFFu, app.curColor);     // back to the recorded colour
}

TEST_F(CommandTest, UndoAndRedoWalkTheHistory)
{
    onChar(window, 'r');
    onKeyUp(window, 'R');
    onChar(window, 'g');
    onKeyUp(window, 'G');
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(0xFFFFFEu, app.curColor);
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(0xFFFFFFu, app.curColor);
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(0xFFFFFFu, app.curColor);
    onCommand(window, CMD_REDO);
    onCommand(window, CMD_REDO);
    EXPECT_EQ(0xFFFEFEu, app.curColor);
}

TEST_F(CommandTest, CloseSavesAndPostsQuit)
{
    onCommand(window, CMD_ZOOM_4X);
    onCommand(window, CMD_CLOSE);
    EXPECT_EQ(4u, queryDword("zoomFactor"));
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, message.wParam);
    EXPECT_EQ(NULL, app.backDC);
}

TEST_F(CommandTest, UnknownCommandsDoNothing)
{
    COLORREF before = app.curColor;
    for (int command : { 0, 99, 105, 111, 203, 302, 317, 355, 404, 502, 515, 600, 65535 })
        onCommand(window, command);
    EXPECT_EQ(before, app.curColor);
    EXPECT_EQ(0, app.colorFormat);
}

// The command table reaching its handlers, the letter keys, and what Enter, Escape, undo
// and redo do to the history.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "res/resource.h"
#include "skin/skin.h"

#include <cctype>
#include <functional>

class CommandTest : public ProgramTest {
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
        ProgramTest::TearDown();
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
        EXPECT_EQ(before, menuChecked(t.command)) << t.command;
        onCommand(window, t.command);
        EXPECT_EQ(!before, t.value()) << t.command;
        EXPECT_EQ(!before, menuChecked(t.command)) << t.command;
        if (app.splashShowing)  // the splash setting is locked while the splash shows
            onTimer(window, TIMER_SPLASH);
        onCommand(window, t.command);
        EXPECT_EQ(before, t.value()) << t.command;
        pumpMessages(0);
    }
}

TEST_F(CommandTest, RadioGroupsSetTheirValueAndMoveTheirMark)
{
    const struct { int command; int* field; int value; } radios[] = {
        { CMD_ZOOM_1X, &app.zoomFactor, 1 }, { CMD_ZOOM_2X, &app.zoomFactor, 2 },
        { CMD_ZOOM_4X, &app.zoomFactor, 4 }, { CMD_ZOOM_8X, &app.zoomFactor, 8 },
        { CMD_ZOOM_16X, &app.zoomFactor, 16 }, { CMD_ZOOM_MAX, &app.zoomFactor, 0 },
        { CMD_DITHER_SMALL, &app.antiDitherTol, 3 }, { CMD_DITHER_MEDIUM, &app.antiDitherTol, 9 },
        { CMD_DITHER_LARGE, &app.antiDitherTol, 21 }, { CMD_DITHER_NONE, &app.antiDitherTol, 1 },
    };
    for (const auto& r : radios) {
        onCommand(window, r.command);
        EXPECT_EQ(r.value, *r.field) << r.command;
        for (const auto& other : radios)
            if (other.field == r.field) {
                EXPECT_EQ(other.command == r.command, menuChecked(other.command)) << r.command << " " << other.command;
            }
    }
}

// The character decides the step; only the letters' own key-ups record.
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
    onKeyUp(window, VK_SHIFT);
    onKeyUp(window, 'X');
    EXPECT_EQ(1u, historyCount(&app.history));
    onKeyUp(window, 'W');
    EXPECT_EQ(2u, historyCount(&app.history));
    EXPECT_EQ(0xFFFFFEu, currentColor(&app.history));
}

// Enter ends a press on a channel button and records it once; Escape drops its steps.
TEST_F(CommandTest, EnterEndsAPressAndEscapeCancelsIt)
{
    app.channelPressed = true;
    app.skinButtons[lessBlueButton].pressed = true;
    startRepeat(window);
    adjustColor(0, 0, -5);
    EXPECT_EQ(1u, historyCount(&app.history)) << "the steps of a press record nothing yet";
    onCommand(window, CMD_ACCEPT);
    EXPECT_FALSE(app.channelPressed);
    EXPECT_FALSE(app.skinButtons[lessBlueButton].pressed);
    EXPECT_FALSE(KillTimer(window, TIMER_REPEAT)) << "the repeat outlived the press";
    EXPECT_EQ(2u, historyCount(&app.history));
    EXPECT_EQ(describe(RGB(255, 255, 250)), describe(currentColor(&app.history)));

    app.channelPressed = true;
    app.skinButtons[lessRedButton].pressed = true;
    adjustColor(-40, 0, 0);
    onCommand(window, CMD_CANCEL);
    EXPECT_FALSE(app.channelPressed);
    EXPECT_EQ(describe(RGB(255, 255, 250)), describe(app.curColor));
    EXPECT_EQ("FF FF FA - Huebrick", windowTitle(window));
    EXPECT_EQ(2u, historyCount(&app.history));

    // without a press both keys leave the colour and the history alone
    onCommand(window, CMD_LESS_WHITE);
    onCommand(window, CMD_ACCEPT);
    onCommand(window, CMD_CANCEL);
    EXPECT_EQ(describe(RGB(254, 254, 249)), describe(app.curColor));
    EXPECT_EQ(2u, historyCount(&app.history));
}

// Undo at the oldest and redo at the newest colour move nowhere, but still put the recorded
// colour back over unrecorded arrow steps; a colour recorded after undoing drops the colours
// redo would have brought back.
TEST_F(CommandTest, UndoRedoAndRecordingAfterAnUndo)
{
    auto press = [this](char letter) {
        onChar(window, letter);
        onKeyUp(window, static_cast<WPARAM>(toupper(letter)));
    };
    onCommand(window, CMD_LESS_WHITE);
    onCommand(window, CMD_LESS_WHITE);
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(describe(RGB(255, 255, 255)), describe(app.curColor));
    EXPECT_EQ("FF FF FF - Huebrick", windowTitle(window));
    EXPECT_EQ(describe(RGB(255, 255, 255)), describe(backPixel(41, 25)));

    press('r');
    press('g');
    onCommand(window, CMD_UNDO);
    onCommand(window, CMD_UNDO);
    press('b');
    onCommand(window, CMD_LESS_WHITE);
    onCommand(window, CMD_REDO);
    EXPECT_EQ(describe(RGB(255, 255, 254)), describe(app.curColor));
    EXPECT_EQ("FF FF FE - Huebrick", windowTitle(window));
    EXPECT_EQ(2u, historyCount(&app.history));
}

// The colour history driven the way the window drives it: keys, undo, redo, presses, restarts.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "dropper/dropper.h"
#include "res/resource.h"

#include <string>
#include <vector>

namespace {

std::string describe(COLORREF c)
{
    char text[32];
    snprintf(text, sizeof text, "%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// The held colours oldest first.
std::vector<COLORREF> heldColors()
{
    std::vector<COLORREF> colors;
    const ColorHistory& h = app.history;
    for (uint32_t i = h.oldest;; i = (i + 1) % historySize) {
        colors.push_back(h.entries[i]);
        if (i == h.newest)
            break;
    }
    return colors;
}

std::string describe(const std::vector<COLORREF>& colors)
{
    std::string text;
    for (COLORREF c : colors)
        text += "[" + describe(c) + "]";
    return text;
}

class ColorHistoryTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        setDword("splashScreen", 0);
    }
    void TearDown() override
    {
        for (SkinButton& button : app.skinButtons)
            button.pressed = false;
        app.channelPressed = false;
        app.channelScrubbing = false;
        ProgramTest::TearDown();
    }
    // One typed letter with its key-up, as a short key press gives them.
    void press(char character)
    {
        onChar(window, character);
        onKeyUp(window, static_cast<WPARAM>(toupper(character)));
    }
};

const COLORREF white = RGB(255, 255, 255);

TEST_F(ColorHistoryTest, RecordingAfterUndoDropsTheRedoColours)
{
    startProgram();
    press('r');     // B
    press('g');     // C
    const COLORREF b = RGB(254, 255, 255), c = RGB(254, 254, 255);
    EXPECT_EQ(describe({ white, b, c }), describe(heldColors()));
    onCommand(window, CMD_UNDO);
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(describe(white), describe(app.curColor));
    EXPECT_EQ("FF FF FF - Huebrick", windowTitle(window));
    press('b');     // D
    const COLORREF d = RGB(255, 255, 254);
    EXPECT_EQ(describe({ white, d }), describe(heldColors()));
    onCommand(window, CMD_REDO);
    EXPECT_EQ(describe(d), describe(app.curColor));
    EXPECT_EQ(d, currentColor(&app.history));

    closeProgram();
    DWORD type = 0;
    std::vector<BYTE> saved;
    ASSERT_TRUE(queryValue("colorHistory", &type, &saved));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    const std::vector<BYTE> expected = { 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFE, 0 };
    EXPECT_EQ(expected, saved);
}

TEST_F(ColorHistoryTest, UndoToAnEarlierColourKeepsTheLaterOnesForRedo)
{
    startProgram();
    press('r');
    press('r');
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(describe(RGB(254, 255, 255)), describe(app.curColor));
    // a held key that ends where it began records the colour already current: nothing
    onChar(window, 'R');
    onChar(window, 'r');
    onKeyUp(window, 'R');
    EXPECT_EQ(3u, historyCount(&app.history));
    onCommand(window, CMD_REDO);
    EXPECT_EQ(describe(RGB(253, 255, 255)), describe(app.curColor));
}

TEST_F(ColorHistoryTest, TheEndOfAPressRecordsOnce)
{
    startProgram();
    RECT r;
    GetWindowRect(window, &r);
    app.channelPressed = true;
    app.skinButtons[lessBlueButton].pressed = true;
    lessBlue(window);
    startRepeat(window);
    ASSERT_TRUE(SetCursorPos(r.left + 23, r.top + 98));
    for (int i = 0; i < 4; i++)
        repeatTick(window);
    EXPECT_EQ(describe(RGB(255, 255, 250)), describe(app.curColor));
    EXPECT_EQ(1u, historyCount(&app.history)) << "the steps of a press record nothing yet";
    acceptPress(window);
    EXPECT_EQ(describe({ white, RGB(255, 255, 250) }), describe(heldColors()));
    EXPECT_FALSE(app.channelPressed);
    EXPECT_FALSE(app.skinButtons[lessBlueButton].pressed);
    EXPECT_FALSE(KillTimer(window, TIMER_REPEAT)) << "the repeat outlived the press";
    // Enter during a press ends it the same way
    app.channelPressed = true;
    app.skinButtons[moreRedButton].pressed = true;
    adjustColor(0, 0, 3);
    onCommand(window, CMD_ACCEPT);
    EXPECT_EQ(describe({ white, RGB(255, 255, 250), RGB(255, 255, 253) }), describe(heldColors()));
}

TEST_F(ColorHistoryTest, CancellingAPressReturnsToTheCurrentEntry)
{
    startProgram();
    app.channelPressed = true;
    app.skinButtons[lessRedButton].pressed = true;
    adjustColor(-40, 0, 0);
    onCommand(window, CMD_CANCEL);
    EXPECT_EQ(describe(white), describe(app.curColor));
    EXPECT_EQ(1u, historyCount(&app.history));
    EXPECT_EQ("FF FF FF - Huebrick", windowTitle(window));
}

TEST_F(ColorHistoryTest, UndoAtTheOldestAndRedoAtTheNewestStillResetTheColour)
{
    startProgram();
    onCommand(window, CMD_LESS_WHITE);
    onCommand(window, CMD_LESS_WHITE);
    EXPECT_EQ(describe(RGB(253, 253, 253)), describe(app.curColor));
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(describe(white), describe(app.curColor));
    EXPECT_EQ("FF FF FF - Huebrick", windowTitle(window));
    EXPECT_EQ(describe(white), describe(backPixel(41, 25)));

    press('g');
    onCommand(window, CMD_MORE_WHITE);
    onCommand(window, CMD_MORE_WHITE);
    EXPECT_EQ(describe(RGB(255, 254, 255)), describe(app.curColor));    // red and blue at 255 stop white
    onCommand(window, CMD_LESS_WHITE);
    onCommand(window, CMD_REDO);
    EXPECT_EQ(describe(RGB(255, 254, 255)), describe(app.curColor));
    EXPECT_EQ(2u, historyCount(&app.history));
}

TEST_F(ColorHistoryTest, ArrowStepsAreNotRecorded)
{
    startProgram();
    press('r');     // A
    press('r');     // B
    for (int i = 0; i < 5; i++)
        onCommand(window, CMD_LESS_WHITE);
    EXPECT_EQ(3u, historyCount(&app.history));
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(describe(RGB(254, 255, 255)), describe(app.curColor));
}

TEST_F(ColorHistoryTest, TheNextStartBeginsAtTheNewestSavedColour)
{
    const BYTE saved[] = { 1, 2, 3, 0, 4, 5, 6, 0, 0x10, 0x20, 0x30, 0 };
    setBinary("colorHistory", saved, sizeof saved);
    startProgram();
    EXPECT_EQ(describe(RGB(0x10, 0x20, 0x30)), describe(app.curColor));
    EXPECT_EQ("10 20 30 - Huebrick", windowTitle(window));
    EXPECT_EQ(describe(RGB(0x10, 0x20, 0x30)), describe(backPixel(41, 25)));
    onCommand(window, CMD_UNDO);
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(describe(RGB(1, 2, 3)), describe(app.curColor));
    // the undone colours stay saved, and the newest is where the next run starts
    closeProgram();
    startProgram();
    EXPECT_EQ(describe(RGB(0x10, 0x20, 0x30)), describe(app.curColor));
    EXPECT_EQ(3u, historyCount(&app.history));
}

} // namespace

// Painting read back from the back buffer and the window: the colour display and the
// region a refresh fills, field texts that leave no remains, latched buttons and the splash.
#include "harness.h"
#include "skin_helpers.h"
#include "app/app.h"
#include "color/color.h"
#include "res/resource.h"

namespace {

const RECT displayBox = { 18, 20, 65, 60 };

// Pixels of a picture inside a box that differ from a colour.
int countOtherThan(const Picture& picture, const RECT& box, COLORREF color)
{
    int count = 0;
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++)
            count += picture.at(x, y) != color;
    return count;
}

// Whether two pictures agree on a box.
bool sameInBox(const Picture& a, const Picture& b, const RECT& box)
{
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++)
            if (a.at(x, y) != b.at(x, y))
                return false;
    return true;
}

Picture back() { return capturePicture(app.backDC, 83, 132); }
Picture shown() { return capturePicture(app.windowDC, 83, 132); }

RECT fieldBox(int field)
{
    RECT box;
    GetRgnBox(app.valueFields[field].region, &box);
    return box;
}

class PaintTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
        pumpMessages(20);
    }
};

// A refresh fills the region given, in the back buffer and on the window, and no more;
// without a region only the fields and the title follow the colour.
TEST_F(PaintTest, RefreshFillsOnlyTheRegionGiven)
{
    Picture before = back();
    setColor(RGB(1, 2, 3));
    refreshColorDisplay(NULL);
    Picture after = back();
    EXPECT_EQ(0, countOtherThan(after, displayBox, RGB(255, 255, 255)));
    EXPECT_EQ(0, countOtherThan(shown(), displayBox, RGB(255, 255, 255)));
    EXPECT_FALSE(sameInBox(before, after, fieldBox(redDecField))) << "the fields were not redrawn";
    EXPECT_EQ("01 02 03 - Huebrick", windowTitle(window));

    refreshColorDisplay(app.displayRegion);
    EXPECT_EQ(0, countOtherThan(back(), displayBox, RGB(1, 2, 3)));
    EXPECT_EQ(0, countOtherThan(shown(), displayBox, RGB(1, 2, 3)));
    EXPECT_NE(RGB(1, 2, 3), backPixel(17, 19)) << "the frame around the display keeps the skin";
}

TEST_F(PaintTest, ShorterTextLeavesNoRemains)
{
    // The fields as a fresh load draws them for 111, 111, 111 ...
    setColor(RGB(111, 111, 111));
    onCommand(window, CMD_DEFAULT_SKIN);
    Picture fresh = back();
    // ... and the same texts drawn over the wider 888-like "200" and "C8".
    setColor(RGB(200, 200, 200));
    refreshColorDisplay(app.displayRegion);
    Picture wide = back();
    setColor(RGB(111, 111, 111));
    refreshColorDisplay(app.displayRegion);
    Picture after = back(), afterShown = shown();
    for (int field = redDecField; field <= blueHexField; field++) {
        RECT box = fieldBox(field);
        EXPECT_FALSE(sameInBox(fresh, wide, box)) << "field " << field << " did not change at all";
        EXPECT_TRUE(sameInBox(fresh, after, box)) << "field " << field << " keeps remains of the old text";
        EXPECT_TRUE(sameInBox(fresh, afterShown, box)) << "field " << field << " on the window";
    }
}

// A latched title button is drawn by its state into the back buffer as well as on the
// window, so that a repaint keeps it.
TEST_F(PaintTest, LatchedTitleButtonsShowInBackBufferAndWindow)
{
    Picture skin = builtInSkinPicture();
    const struct { int command; SkinButtonIndex button; RECT box; } latches[] = {
        { CMD_SNAP_TO_SCREEN, snapButton, { 6, 5, 19, 15 } }, { CMD_ALWAYS_ON_TOP, onTopButton, { 22, 5, 35, 15 } },
    };
    for (const auto& l : latches)
        for (int round = 0; round < 2; round++) {
            onCommand(window, l.command);
            bool pressed = app.skinButtons[l.button].pressed;
            Picture expected(83, 132);
            for (int y = l.box.top; y < l.box.bottom; y++)
                for (int x = l.box.left; x < l.box.right; x++)
                    expected.at(x, y) = skin.at(x + (pressed ? 83 : 0), y);
            EXPECT_TRUE(sameInBox(expected, back(), l.box)) << l.command << (pressed ? " on" : " off");
            EXPECT_TRUE(sameInBox(expected, shown(), l.box)) << l.command << (pressed ? " on" : " off");
        }
}

// The splash picture holds the display until its timer, whatever the colour does; a skin
// load shows it again.
TEST_F(ProgramTest, SplashHoldsTheDisplayUntilItsTimer)
{
    startProgram();     // the splash is on by default
    ASSERT_TRUE(app.splashShowing);
    // Held until the checks are done, however slowly they run; re-armed below.
    KillTimer(window, TIMER_SPLASH);
    Picture skin = builtInSkinPicture();
    pumpMessages(20);
    setColor(RGB(200, 0, 0));
    refreshColorDisplay(app.displayRegion);
    EXPECT_TRUE(sameInBox(skin, shown(), displayBox)) << "the window shows the skin's display picture";
    EXPECT_TRUE(sameInBox(skin, back(), displayBox)) << "the back buffer still holds it";
    EXPECT_EQ("C8 00 00 - Huebrick", windowTitle(window)) << "fields and title still follow";

    SetTimer(window, TIMER_SPLASH, 10, NULL);
    ASSERT_TRUE(pumpUntil([] { return !app.splashShowing; }, 5000));
    EXPECT_EQ(0, countOtherThan(back(), displayBox, RGB(200, 0, 0)));
    EXPECT_EQ(0, countOtherThan(shown(), displayBox, RGB(200, 0, 0)));

    onCommand(window, CMD_DEFAULT_SKIN);
    EXPECT_TRUE(app.splashShowing) << "a skin load shows the splash again";
    EXPECT_TRUE(sameInBox(skin, shown(), displayBox));
}

}  // namespace

// Painting: the colour display, the value fields and their text colours, the splash,
// released buttons and the repaint from the back buffer.
#include "harness.h"
#include "skin_helpers.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "res/resource.h"
#include "skin/skin.h"

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

int countOf(const Picture& picture, const RECT& box, COLORREF color)
{
    return (box.right - box.left) * (box.bottom - box.top) - countOtherThan(picture, box, color);
}

Picture back() { return capturePicture(app.backDC, 83, 132); }
Picture shown() { return capturePicture(app.windowDC, 83, 132); }

// Whether two pictures agree on a box.
bool sameInBox(const Picture& a, const Picture& b, const RECT& box)
{
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++)
            if (a.at(x, y) != b.at(x, y))
                return false;
    return true;
}

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

TEST_F(PaintTest, DisplayShowsTheColourInBackBufferAndWindow)
{
    EXPECT_FALSE(app.splashShowing);
    EXPECT_EQ(0, countOtherThan(back(), displayBox, RGB(255, 255, 255)));
    EXPECT_EQ(0, countOtherThan(shown(), displayBox, RGB(255, 255, 255)));

    const COLORREF colours[] = { RGB(10, 200, 30), RGB(0, 0, 0), RGB(255, 0, 255), RGB(1, 2, 3) };
    for (COLORREF c : colours) {
        setColor(c);
        refreshColorDisplay(app.displayRegion);
        EXPECT_EQ(0, countOtherThan(back(), displayBox, c)) << std::hex << c;
        EXPECT_EQ(0, countOtherThan(shown(), displayBox, c)) << std::hex << c;
        // Only the display: the frame around it keeps the skin.
        EXPECT_NE(c, backPixel(17, 19)) << std::hex << c;
    }
    // A fill of one half leaves the other as it was.
    setColor(RGB(9, 9, 9));
    refreshColorDisplay(app.displayBottomRegion);
    EXPECT_EQ(0, countOtherThan(back(), { 18, 40, 65, 60 }, RGB(9, 9, 9)));
    EXPECT_EQ(0, countOtherThan(back(), { 18, 20, 65, 40 }, RGB(1, 2, 3)));
}

TEST_F(PaintTest, FieldTextsHaveTheirSkinColours)
{
    const struct { ValueFieldIndex field; COLORREF color; } texts[] = {
        { redDecField, RGB(255, 43, 35) }, { greenDecField, RGB(0, 146, 0) }, { blueDecField, RGB(0, 71, 255) },
        { redHexField, RGB(93, 89, 90) }, { greenHexField, RGB(93, 89, 90) }, { blueHexField, RGB(93, 89, 90) },
    };
    Picture backNow = back(), shownNow = shown();
    Picture skin = builtInSkinPicture();
    for (const auto& t : texts) {
        RECT box = fieldBox(t.field);
        EXPECT_GT(countOf(backNow, box, t.color), 3) << "field " << t.field << " in the back buffer";
        EXPECT_GT(countOf(shownNow, box, t.color), 3) << "field " << t.field << " on the window";
        // The skin's own field has no pixel of that colour: the text put it there.
        EXPECT_EQ(0, countOf(skin, box, t.color)) << "field " << t.field;
    }
    EXPECT_TRUE(sameInBox(backNow, shownNow, { 0, 64, 83, 132 }));
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

TEST_F(PaintTest, RefreshWithoutRegionLeavesTheDisplay)
{
    Picture before = back();
    setColor(RGB(1, 2, 3));
    refreshColorDisplay(NULL);
    Picture after = back(), afterShown = shown();
    EXPECT_EQ(0, countOtherThan(after, displayBox, RGB(255, 255, 255)));
    EXPECT_EQ(0, countOtherThan(afterShown, displayBox, RGB(255, 255, 255)));
    EXPECT_FALSE(sameInBox(before, after, fieldBox(redDecField))) << "the fields were not redrawn";
    EXPECT_EQ("01 02 03 - Huebrick", windowTitle(window));
}

TEST_F(PaintTest, ReleaseTakesTheFirstPressedChannelButtonOnly)
{
    Picture skin = builtInSkinPicture();
    const RECT moreRed = { 55, 69, 65, 80 }, lessGreen = { 18, 81, 28, 92 };
    // A picture of the face with the given buttons pressed.
    auto expectedWith = [&](bool moreRedPressed, bool lessGreenPressed, const Picture& base) {
        Picture p = base;
        for (const auto& b : { std::make_pair(moreRed, moreRedPressed), std::make_pair(lessGreen, lessGreenPressed) })
            for (int y = b.first.top; y < b.first.bottom; y++)
                for (int x = b.first.left; x < b.first.right; x++)
                    p.at(x, y) = skin.at(x + (b.second ? 83 : 0), y);
        return p;
    };
    Picture base = shown();
    app.skinButtons[moreRedButton].pressed = true;
    app.skinButtons[lessGreenButton].pressed = true;
    drawButton(moreRedButton, true);
    drawButton(lessGreenButton, true);
    EXPECT_TRUE(sameInBox(expectedWith(true, true, base), shown(), { 0, 60, 83, 100 }));

    // lessRed, moreRed, lessGreen, ...: more red comes first.
    releaseChannelButton();
    EXPECT_FALSE(app.skinButtons[moreRedButton].pressed);
    EXPECT_TRUE(app.skinButtons[lessGreenButton].pressed);
    EXPECT_TRUE(sameInBox(expectedWith(false, true, base), shown(), { 0, 60, 83, 100 }));

    releaseChannelButton();
    EXPECT_FALSE(app.skinButtons[lessGreenButton].pressed);
    EXPECT_TRUE(sameInBox(expectedWith(false, false, base), shown(), { 0, 60, 83, 100 }));

    // With none pressed nothing happens; title buttons are never released here.
    app.skinButtons[closeButton].pressed = true;
    releaseChannelButton();
    EXPECT_TRUE(app.skinButtons[closeButton].pressed);
    app.skinButtons[closeButton].pressed = false;
}

TEST_F(PaintTest, RepaintCopiesTheBackBuffer)
{
    setColor(RGB(30, 60, 90));
    refreshColorDisplay(app.displayRegion);
    // What only the window shows: a held button and a scribble; and what only the back
    // buffer holds: a mark in the frame.
    drawButton(moreBlueButton, true);
    PatBlt(app.windowDC, 0, 0, 83, 10, BLACKNESS);
    SetPixel(app.backDC, 40, 2, RGB(1, 2, 3));
    ASSERT_FALSE(sameInBox(back(), shown(), { 0, 0, 83, 132 }));

    InvalidateRect(window, NULL, FALSE);
    UpdateWindow(window);
    Picture backNow = back(), shownNow = shown();
    int wrong = 0;
    for (int y = 0; y < 132; y++)
        for (int x = 0; x < 83; x++)
            if (PtInRegion(app.windowRegion, x, y) && backNow.at(x, y) != shownNow.at(x, y) && wrong++ < 5)
                ADD_FAILURE() << x << "," << y << std::hex << ": window " << shownNow.at(x, y) << ", back buffer "
                              << backNow.at(x, y);
    EXPECT_EQ(0, wrong);
    EXPECT_EQ(RGB(1, 2, 3), shownNow.at(40, 2));
    EXPECT_EQ(0, countOtherThan(shownNow, displayBox, RGB(30, 60, 90)));
}

TEST_F(PaintTest, LatchedTitleButtonsShowInBackBufferAndWindow)
{
    Picture skin = builtInSkinPicture();
    const struct { int command; SkinButtonIndex button; RECT box; } latches[] = {
        { CMD_SNAP_TO_SCREEN, snapButton, { 6, 5, 19, 15 } },
        { CMD_ALWAYS_ON_TOP, onTopButton, { 22, 5, 35, 15 } },
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

class SplashTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startProgram();     // the splash is on by default
    }
};

TEST_F(SplashTest, SplashHoldsTheDisplayUntilItsTimer)
{
    ASSERT_TRUE(app.splashShowing);
    // Held until the checks are done, however slowly they run; re-armed below.
    KillTimer(window, TIMER_SPLASH);
    Picture skin = builtInSkinPicture();
    pumpMessages(20);
    EXPECT_TRUE(sameInBox(skin, shown(), displayBox)) << "the window shows the skin's display picture";
    EXPECT_TRUE(sameInBox(skin, back(), displayBox)) << "the back buffer still holds it";

    setColor(RGB(200, 0, 0));
    refreshColorDisplay(app.displayRegion);
    EXPECT_TRUE(sameInBox(skin, shown(), displayBox));
    EXPECT_TRUE(sameInBox(skin, back(), displayBox));
    EXPECT_EQ("C8 00 00 - Huebrick", windowTitle(window)) << "fields and title still follow";

    SetTimer(window, TIMER_SPLASH, 10, NULL);
    ASSERT_TRUE(pumpUntil([] { return !app.splashShowing; }, 5000));
    EXPECT_EQ(0, countOtherThan(back(), displayBox, RGB(200, 0, 0)));
    EXPECT_EQ(0, countOtherThan(shown(), displayBox, RGB(200, 0, 0)));
}

TEST_F(SplashTest, SkinLoadShowsTheSplashAgain)
{
    ASSERT_TRUE(pumpUntil([] { return !app.splashShowing; }, 5000));
    onCommand(window, CMD_DEFAULT_SKIN);
    EXPECT_TRUE(app.splashShowing);
    EXPECT_TRUE(sameInBox(builtInSkinPicture(), shown(), displayBox));
    ASSERT_TRUE(pumpUntil([] { return !app.splashShowing; }, 5000));
    EXPECT_EQ(0, countOtherThan(shown(), displayBox, app.curColor));
}

}  // namespace

// Reading the screen for the eye-dropper over a known pattern: the averaged square at the
// screen's edges and corners, the program's own display left out, the magnified view with
// its marker and black off-screen strips, what the display keeps at the end of a pick, and
// stored zoom factors the menu never offers.
#include "dropper_driver.h"
#include "color/color.h"
#include "skin/pixels.h"
#include "skin/skin.h"

#include <algorithm>
#include <climits>
#include <vector>

static int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
static int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// The square of side n around (x, y) as the program averages it, from the pattern alone:
// a side beyond 255 is capped, one of 1 or less is the pixel itself.
static COLORREF expectedMean(int x, int y, int n, COLORREF fallback)
{
    n = std::min(std::max(n, 1), 255);
    int left = x - n / 2, top = y - n / 2;
    return patternMean(std::max(left, 0), std::max(top, 0), std::min(left + n, screenWidth()),
                       std::min(top + n, screenHeight()), fallback);
}

// What the magnified view must show at every pixel of region, for the pointer at a screen
// point: each screen pixel a zoom-by-zoom block, black off the screen, the red marker.
static std::string viewMismatches(HDC dc, HRGN region, POINT pointer, bool marker)
{
    const ZoomLayout& l = app.zoomLayout;
    const int z = app.activeZoom;
    const int srcX = pointer.x - l.sourceWidth / 2, srcY = pointer.y - l.sourceHeight / 2;
    RECT box;
    GetRgnBox(region, &box);
    PixelBuffer shown;
    if (!createPixelBuffer(&shown, box.right - box.left, box.bottom - box.top)
        || !capturePixels(&shown, dc, box.left, box.top, shown.width, shown.height)) {
        freePixelBuffer(&shown);
        return "the pixels could not be read";
    }
    int bad = 0, checked = 0;
    std::string first;
    for (int y = box.top; y < box.bottom; y++) {
        for (int x = box.left; x < box.right; x++) {
            if (!PtInRegion(region, x, y))
                continue;
            int sx = srcX + (x - l.destX) / z, sy = srcY + (y - l.destY) / z;
            bool off = sx < 0 || sy < 0 || sx >= screenWidth() || sy >= screenHeight();
            COLORREF want = off ? 0 : patternColor(sx, sy);
            if (marker && x == l.centerX && y == l.centerY)
                want = RGB(255, 0, 0);
            COLORREF got = pixelAt(shown, x - box.left, y - box.top);
            checked++;
            if (got != want && bad++ == 0)
                first = "at " + std::to_string(x) + "," + std::to_string(y) + " want " + hexColor(want) + " got "
                        + hexColor(got);
        }
    }
    freePixelBuffer(&shown);
    if (checked == 0)
        return "no pixel checked";
    return bad ? std::to_string(bad) + " of " + std::to_string(checked) + " pixels differ, first " + first : "";
}

// Every pixel of region in the back buffer, to compare before and after.
static std::vector<COLORREF> snapshot(HRGN region)
{
    std::vector<COLORREF> pixels;
    RECT box;
    GetRgnBox(region, &box);
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++)
            if (PtInRegion(region, x, y))
                pixels.push_back(backPixel(x, y));
    return pixels;
}

static int pixelsNot(HRGN region, COLORREF color)
{
    int count = 0;
    for (COLORREF c : snapshot(region))
        count += c != color;
    return count;
}

class DropperViewTest : public DropperTest {
protected:
    void setModes(bool split, bool sticky, int zoom)
    {
        if (app.splitScreen != split)
            onCommand(window, CMD_SPLIT_SCREEN);
        if (app.stickyZoom != sticky)
            onCommand(window, CMD_STICKY_ZOOM);
        app.zoomFactor = zoom;
        setColor(grey);
        refreshColorDisplay(app.displayRegion);
    }
};

// Only the part of the square on the screen counts, the screen's last column and row
// included (the pattern differs there, so leaving them out would show); wholly off the
// screen nothing is read.
TEST_F(DropperViewTest, AveragedSquareIsClippedToTheScreen)
{
    showPattern();
    const int w = screenWidth(), h = screenHeight();
    const COLORREF sentinel = 0x00ABCDEF;
    const struct { int x, y, n; } rows[] = {
        { 300, 200, 3 }, { 0, 0, 9 }, { 2, 1, 21 }, { w - 1, 300, 3 }, { 500, h - 1, 21 }, { w - 1, h - 1, 3 },
        { w - 3, h - 5, 21 }, { 0, 0, 1 }, { w - 1, h - 1, 1 }, { 300, 301, 0 }, { 300, 301, INT_MIN },
        { 512, 384, INT_MAX }, { -100, -100, 21 }, { w + 50, 10, 21 },
    };
    for (const auto& r : rows)
        EXPECT_EQ(hexColor(expectedMean(r.x, r.y, r.n, sentinel)),
                  hexColor(averageScreenColor(r.x, r.y, r.n, sentinel))) << "at " << r.x << "," << r.y << " n=" << r.n;
}

// Points of the program's own active display are never averaged, whatever they show.
TEST_F(DropperViewTest, AveragingLeavesOutTheOwnDisplay)
{
    setDword("splitScreen", 0);
    startProgram();
    showPattern();
    startPick(window, 41, 40);
    ASSERT_EQ(app.displayRegion, app.zoomRegion);
    POINT origin = { app.windowRect.left, app.windowRect.top };
    // The display is 18..64 x 20..59 of the window.
    const struct { int n, x, y; bool allInside; } rows[] = {
        { 21, 41, 40, true }, { 9, 22, 24, true }, { 21, 18, 20, false }, { 9, 64, 59, false }, { 21, 17, 40, false },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "n " << r.n << " at " << r.x << "," << r.y);
        app.antiDitherTol = r.n;
        setColor(grey);
        POINT p = screenPoint(r.x, r.y);
        unsigned counted = 0;
        COLORREF want = referenceAverage(p.x, p.y, r.n, app.zoomRegion, origin, grey, &counted);
        EXPECT_EQ(r.allInside, counted == 0);
        leftMoveOnScreen(window, p.x, p.y);
        EXPECT_EQ(hexColor(want), hexColor(app.curColor));
    }
    leftUp(window, 41, 40);
}

// The view is checked pixel by pixel, in the back buffer and on the window; the colour
// comes from the same read of the screen, averaged over n.
TEST_F(DropperViewTest, MagnifiedViewShowsThePointersSurroundings)
{
    startProgram();
    showPattern();
    const int w = screenWidth(), h = screenHeight();
    const struct { bool split, sticky; int zoom; POINT pointer; int n; } rows[] = {
        { false, false, 16, { 333, 111 }, 21 },     // the square larger than the view's source
        { false, false, 16, { 0, 0 }, 21 },         // black strips on the left and at the top
        { false, false, 4, { w - 1, h - 1 }, 0 },   // on the right and at the bottom
        { false, false, 2, { w - 1, 300 }, 21 },    // on the right only
        { false, false, 1, { 300, 0 }, 3 },         // at the top only
        { true, false, 4, { 400, 250 }, 9 },        // the lower half of a split display
        { true, true, 8, { 2, h - 3 }, 9 },         // zoom persists: no marker, the colour kept
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "zoom " << r.zoom << " split " << r.split << " sticky " << r.sticky
                                        << " pointer " << r.pointer.x << "," << r.pointer.y);
        setModes(r.split, r.sticky, r.zoom);
        app.antiDitherTol = r.n;
        std::vector<COLORREF> upperBefore = snapshot(app.displayTopRegion);
        startPick(window, 41, r.split ? 50 : 40);
        ASSERT_TRUE(app.dropperActive);
        EXPECT_EQ(r.split ? app.displayBottomRegion : app.displayRegion, app.zoomRegion);
        leftMoveOnScreen(window, r.pointer.x, r.pointer.y);
        EXPECT_EQ("", viewMismatches(app.backDC, app.zoomRegion, r.pointer, !r.sticky)) << "back buffer";
        EXPECT_EQ("", viewMismatches(app.windowDC, app.zoomRegion, r.pointer, !r.sticky)) << "window";
        COLORREF picked = r.sticky ? grey : expectedMean(r.pointer.x, r.pointer.y, r.n, grey);
        EXPECT_EQ(hexColor(picked), hexColor(app.curColor));
        char title[32];
        snprintf(title, sizeof title, "%02X %02X %02X - Huebrick", GetRValue(picked), GetGValue(picked),
                 GetBValue(picked));
        EXPECT_EQ(title, windowTitle(window)) << "the title follows the pick";
        if (r.split) {
            EXPECT_TRUE(upperBefore == snapshot(app.displayTopRegion)) << "the upper half must stay";
        }
        onCommand(window, CMD_CANCEL);
    }
}

// At the end of a pick the whole display shows the colour, unless split screen and zoom
// persists are both on: then both halves stay as they are.
TEST_F(DropperViewTest, AcceptFillsTheDisplayUnlessZoomPersistsInASplitDisplay)
{
    startProgram();
    showPattern();
    const POINT pointer = { 420, 260 };
    const COLORREF under = patternColor(pointer.x, pointer.y);
    const struct { bool split, sticky; int zoom; int pickY; bool keepsDisplay; COLORREF colour; } rows[] = {
        { false, true, 4, 40, false, under },   // zoom persists means nothing without the split
        { true, true, 0, 30, true, under },
        { true, true, 0, 50, true, grey },      // the lower half shows the pixel, the colour stays
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "split " << r.split << " sticky " << r.sticky << " zoom " << r.zoom
                                        << " picked at y " << r.pickY);
        setModes(r.split, r.sticky, r.zoom);
        startPick(window, 41, r.pickY);
        leftMoveOnScreen(window, pointer.x, pointer.y);
        std::vector<COLORREF> during = snapshot(app.displayRegion);
        if (r.split && r.zoom == 0 && r.pickY >= 40) {
            EXPECT_EQ(0, pixelsNot(app.displayBottomRegion, under));
        }
        leftUp(window, pointer.x - app.windowRect.left, pointer.y - app.windowRect.top);
        EXPECT_FALSE(app.dropperActive);
        EXPECT_EQ(hexColor(r.colour), hexColor(app.curColor));
        EXPECT_EQ(hexColor(r.colour), hexColor(currentColor(&app.history)));
        if (r.keepsDisplay)
            EXPECT_TRUE(during == snapshot(app.displayRegion)) << "the display must stay as it was";
        else
            EXPECT_EQ(0, pixelsNot(app.displayRegion, r.colour)) << "pixels not filled with the colour";
    }
}

// Factors off the menu that the layout cannot serve give the solid colour; others lay out
// as they are, and the setting itself is kept either way.
TEST_F(DropperViewTest, ZoomFactorsOffTheMenuNeverBreakThePick)
{
    startProgram();
    showPattern();
    const POINT pointer = { 333, 222 };
    for (int zoom : { -1, 257, 256 }) {
        SCOPED_TRACE(testing::Message() << "zoomFactor " << zoom);
        setModes(false, false, zoom);
        startPick(window, 41, 40);
        ASSERT_TRUE(app.dropperActive);
        EXPECT_EQ(zoom == 256 ? 256 : 0, app.activeZoom);
        leftMoveOnScreen(window, pointer.x, pointer.y);
        pumpMessages(30);   // a few sampling ticks too
        EXPECT_EQ(hexColor(patternColor(pointer.x, pointer.y)), hexColor(app.curColor));
        if (app.activeZoom == 0)
            EXPECT_EQ(0, pixelsNot(app.displayRegion, app.curColor)) << "the display shows the solid colour";
        else
            EXPECT_EQ("", viewMismatches(app.backDC, app.zoomRegion, pointer, true));
        EXPECT_EQ(zoom, app.zoomFactor);
        leftUp(window, 41, 40);
    }
}

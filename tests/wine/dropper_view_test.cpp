// The eye-dropper inside the running program: the zoom layout of each kind of pick, the
// magnified view over a known pattern (marker, black off-screen strips), what the display
// keeps at the end of a pick, stored zoom factors, and the program's own display left out.
#include "harness.h"
#include "dropper_driver.h"
#include "dropper_reference.h"
#include "color/color.h"
#include "dropper/dropper.h"
#include "skin/pixels.h"
#include "skin/skin.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

static const COLORREF grey = 0x808080;
static const RECT displayRect = { 18, 20, 65, 60 };

static int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
static int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

static bool patternShows()
{
    HDC screen = GetDC(NULL);
    bool shows = true;
    const POINT probes[] = { { 0, 0 }, { 511, 383 }, { screenWidth() - 1, screenHeight() - 1 }, { 490, 340 } };
    for (const POINT& p : probes)
        shows = shows && GetPixel(screen, p.x, p.y) == patternColor(p.x, p.y);
    ReleaseDC(NULL, screen);
    return shows;
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

static std::string titleOf(COLORREF c)
{
    char text[32];
    snprintf(text, sizeof text, "%02X %02X %02X - Huebrick", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

class DropperViewTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        presetGrey();
    }
    void TearDown() override
    {
        pattern.reset();
        ProgramTest::TearDown();
    }
    static void presetGrey()
    {
        setDword("splashScreen", 0);
        const BYTE history[] = { 0x80, 0x80, 0x80, 0x00 };
        setBinary("colorHistory", history, sizeof history);
    }
    void showPattern()
    {
        pattern.reset(new PatternWindow());
        ASSERT_TRUE(pumpUntil(patternShows, 5000)) << "the pattern never reached the screen";
    }
    void setSplit(bool on)
    {
        if (app.splitScreen != on)
            onCommand(window, CMD_SPLIT_SCREEN);
    }
    void setSticky(bool on)
    {
        if (app.stickyZoom != on)
            onCommand(window, CMD_STICKY_ZOOM);
    }
    std::unique_ptr<PatternWindow> pattern;
};

TEST_F(DropperViewTest, EachPickLaysOutItsZoomRegion)
{
    startProgram();
    const struct {
        bool split; int zoom; int x, y; bool bottom; RECT box; ZoomLayout want;
    } rows[] = {
        { false, 4, 41, 40, false, { 18, 20, 65, 60 }, { 41, 40, 7, 6, 64, 64, 16, 16 } },
        { true, 1, 41, 50, true, { 18, 40, 65, 60 }, { 41, 50, 9, 34, 64, 32, 64, 32 } },
        { false, 16, 30, 25, false, { 18, 20, 65, 60 }, { 41, 40, 1, 0, 64, 64, 4, 4 } },
        { false, 5, 60, 55, false, { 18, 20, 65, 60 }, { 41, 40, -1, -2, 80, 80, 16, 16 } },
        { true, 4, 20, 58, true, { 18, 40, 65, 60 }, { 41, 50, 7, 32, 64, 32, 16, 8 } },
        { true, 4, 41, 30, false, { 18, 20, 65, 40 }, { 41, 30, 7, 12, 64, 32, 16, 8 } },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "split " << r.split << " zoom " << r.zoom << " at " << r.x << "," << r.y);
        setSplit(r.split);
        app.zoomFactor = r.zoom;
        startPick(window, r.x, r.y);
        ASSERT_TRUE(app.dropperActive);
        EXPECT_EQ(r.bottom, app.dropperInBottomHalf);
        HRGN region = !r.split ? app.displayRegion : r.bottom ? app.displayBottomRegion : app.displayTopRegion;
        EXPECT_EQ(region, app.zoomRegion);
        EXPECT_EQ(r.zoom, app.activeZoom);
        const RECT& b = app.zoomBox;
        EXPECT_TRUE(EqualRect(&r.box, &b)) << b.left << "," << b.top << "," << b.right << "," << b.bottom;
        const ZoomLayout& l = app.zoomLayout;
        EXPECT_EQ(r.want.centerX, l.centerX);
        EXPECT_EQ(r.want.centerY, l.centerY);
        EXPECT_EQ(r.want.destX, l.destX);
        EXPECT_EQ(r.want.destY, l.destY);
        EXPECT_EQ(r.want.destWidth, l.destWidth);
        EXPECT_EQ(r.want.destHeight, l.destHeight);
        EXPECT_EQ(r.want.sourceWidth, l.sourceWidth);
        EXPECT_EQ(r.want.sourceHeight, l.sourceHeight);
        onCommand(window, CMD_CANCEL);
        EXPECT_FALSE(app.dropperActive);
    }
}

// The view is checked pixel by pixel, in the back buffer and on the window, against the
// pattern under the pointer; off the screen it is black.
TEST_F(DropperViewTest, MagnifiedViewShowsThePointersSurroundings)
{
    startProgram();
    showPattern();
    const int w = screenWidth(), h = screenHeight();
    // n is the averaged side: the colour and the view come from one read of the screen.
    const struct { bool split, sticky; int zoom; int pickX, pickY; POINT pointer; int n; } rows[] = {
        { false, false, 4, 41, 40, { 300, 200 }, 0 },
        { false, false, 16, 41, 40, { 300, 200 }, 0 },
        { false, false, 1, 41, 40, { 301, 203 }, 3 },
        { false, false, 2, 41, 40, { 700, 500 }, 21 },
        { false, false, 8, 41, 40, { 35, 700 }, 9 },
        { false, false, 16, 41, 40, { 333, 111 }, 21 },  // the square larger than the view's source
        { false, false, 4, 41, 40, { 0, 300 }, 9 },     // black strip on the left
        { false, false, 4, 41, 40, { 300, 0 }, 0 },     // at the top
        { false, false, 4, 41, 40, { w - 1, 300 }, 21 },    // on the right
        { false, false, 4, 41, 40, { 300, h - 1 }, 3 },     // at the bottom
        { false, false, 16, 41, 40, { 0, 0 }, 21 },
        { false, false, 4, 41, 40, { w - 1, h - 1 }, 0 },
        { true, false, 4, 41, 50, { 400, 250 }, 9 },    // lower half of a split display
        { true, true, 4, 41, 50, { 400, 250 }, 9 },     // sticky: no marker, colour kept
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "zoom " << r.zoom << " split " << r.split << " sticky " << r.sticky
                                        << " pointer " << r.pointer.x << "," << r.pointer.y);
        setSplit(r.split);
        setSticky(r.sticky);
        app.zoomFactor = r.zoom;
        app.antiDitherTol = r.n;
        setColor(grey);
        refreshColorDisplay(app.displayRegion);
        std::vector<COLORREF> topBefore = snapshot(app.displayTopRegion);
        startPick(window, r.pickX, r.pickY);
        ASSERT_TRUE(app.dropperActive);
        leftMoveOnScreen(window, r.pointer.x, r.pointer.y);
        EXPECT_EQ("", viewMismatches(app.backDC, app.zoomRegion, r.pointer, !r.sticky)) << "back buffer";
        EXPECT_EQ("", viewMismatches(app.windowDC, app.zoomRegion, r.pointer, !r.sticky)) << "window";
        int left = r.pointer.x - r.n / 2, top = r.pointer.y - r.n / 2;
        COLORREF mean = patternMean(left < 0 ? 0 : left, top < 0 ? 0 : top, std::min(left + r.n, w),
                                    std::min(top + r.n, h), grey);
        COLORREF picked = r.sticky ? grey : r.n > 1 ? mean : patternColor(r.pointer.x, r.pointer.y);
        EXPECT_EQ(hexColor(picked), hexColor(app.curColor));
        EXPECT_EQ(titleOf(picked), windowTitle(window)) << "the title follows the pick";
        if (r.split) {
            EXPECT_TRUE(topBefore == snapshot(app.displayTopRegion)) << "the upper half must stay";
        }
        onCommand(window, CMD_CANCEL);
    }
}

// At the end of a pick the whole display shows the colour, unless split screen and
// sticky zoom are both on: then both halves stay as they are.
TEST_F(DropperViewTest, AcceptFillsTheDisplayUnlessStickySplit)
{
    startProgram();
    showPattern();
    const POINT pointer = { 420, 260 };
    const COLORREF under = patternColor(pointer.x, pointer.y);
    const struct { bool split, sticky; int zoom; int pickY; bool keepsDisplay; COLORREF colour; } rows[] = {
        { false, false, 4, 40, false, under },
        { false, true, 4, 40, false, under },
        { true, false, 4, 50, false, under },
        { true, true, 4, 50, true, grey },
        { true, false, 0, 30, false, under },
        { true, true, 0, 30, true, under },
        { true, true, 0, 50, true, grey },
        { true, true, 8, 30, true, under },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "split " << r.split << " sticky " << r.sticky << " zoom " << r.zoom
                                        << " picked at y " << r.pickY);
        setSplit(r.split);
        setSticky(r.sticky);
        app.zoomFactor = r.zoom;
        setColor(grey);
        refreshColorDisplay(app.displayRegion);
        startPick(window, 41, r.pickY);
        leftMoveOnScreen(window, pointer.x, pointer.y);
        std::vector<COLORREF> during = snapshot(app.displayRegion);
        if (r.split && r.zoom == 0 && r.pickY >= 40) {   // the lower half shows the pixel itself
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

// Stored factors the layout cannot serve give the solid colour; others lay out as stored.
TEST_F(DropperViewTest, StoredZoomFactorsNeverBreakThePick)
{
    const struct { int stored; int active; } rows[] = {
        { -1, 0 }, { INT_MIN, 0 }, { 1000000, 0 }, { 257, 0 }, { 0, 0 }, { 5, 5 }, { 16, 16 }, { 256, 256 },
    };
    const POINT pointer = { 333, 222 };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "stored zoomFactor " << r.stored);
        clearSettings();
        presetGrey();
        setDword("zoomFactor", static_cast<DWORD>(r.stored));
        setDword("splitScreen", 0);
        startProgram();
        if (!pattern)
            showPattern();
        EXPECT_EQ(r.stored, app.zoomFactor);
        startPick(window, 41, 40);
        ASSERT_TRUE(app.dropperActive);
        EXPECT_EQ(r.active, app.activeZoom);
        leftMoveOnScreen(window, pointer.x, pointer.y);
        pumpMessages(30);   // a few sampling ticks too
        leftMoveOnScreen(window, pointer.x, pointer.y);
        EXPECT_EQ(hexColor(patternColor(pointer.x, pointer.y)), hexColor(app.curColor));
        if (r.active == 0) {
            EXPECT_EQ(0, pixelsNot(app.displayRegion, app.curColor)) << "the display shows the solid colour";
        } else {
            EXPECT_EQ("", viewMismatches(app.backDC, app.zoomRegion, pointer, true));
        }
        EXPECT_EQ(r.stored, app.zoomFactor) << "the setting itself is kept";
        leftUp(window, 41, 40);
        closeProgram();
        EXPECT_EQ(static_cast<DWORD>(r.stored), queryDword("zoomFactor"));
    }
}

// Points of the program's own active display are never averaged, whatever they show.
TEST_F(DropperViewTest, AveragingLeavesOutTheOwnDisplay)
{
    setDword("splitScreen", 0);
    startProgram();
    showPattern();
    RECT box;
    ASSERT_EQ(SIMPLEREGION, GetRgnBox(app.displayRegion, &box));
    ASSERT_TRUE(EqualRect(&box, &displayRect));
    startPick(window, 41, 40);
    ASSERT_EQ(app.displayRegion, app.zoomRegion);
    const struct { int n, x, y; bool allInside; } rows[] = {
        { 3, 41, 40, true }, { 21, 41, 40, true }, { 9, 22, 24, true }, { 21, 18, 20, false },
        { 9, 64, 59, false }, { 21, 41, 70, false }, { 3, 10, 10, false }, { 21, 17, 40, false },
    };
    POINT origin = { app.windowRect.left, app.windowRect.top };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "n " << r.n << " at " << r.x << "," << r.y);
        app.antiDitherTol = r.n;
        setColor(grey);
        POINT p = screenPoint(r.x, r.y);
        unsigned count = 0, red = 0, green = 0, blue = 0;
        for (int x = p.x - r.n / 2; x < p.x - r.n / 2 + r.n; x++)
            for (int y = p.y - r.n / 2; y < p.y - r.n / 2 + r.n; y++) {
                POINT inWindow = { x - origin.x, y - origin.y };
                if (PtInRect(&displayRect, inWindow))
                    continue;
                COLORREF c = patternColor(x, y);
                red += GetRValue(c);
                green += GetGValue(c);
                blue += GetBValue(c);
                count++;
            }
        EXPECT_EQ(r.allInside, count == 0);
        COLORREF want = count ? RGB(red / count, green / count, blue / count) : grey;
        leftMoveOnScreen(window, p.x, p.y);
        EXPECT_EQ(hexColor(want), hexColor(app.curColor));
        EXPECT_EQ(hexColor(referenceAverage(p.x, p.y, r.n, app.zoomRegion, origin, grey)), hexColor(app.curColor));
    }
    leftUp(window, 41, 40);
}

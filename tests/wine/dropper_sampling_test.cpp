// Reading the screen for the eye-dropper: the averaged square against the known pattern and
// the pixel-by-pixel reference, the screen's edges, the program's own display left out, and
// the magnified view with its marker and black off-screen strips.
#include "harness.h"
#include "dropper_reference.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "dropper/dropper.h"
#include "res/resource.h"

#include <climits>
#include <cstdio>
#include <string>

static std::string hex(COLORREF c)
{
    char text[16];
    snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(c));
    return text;
}

static COLORREF screenRead(int x, int y)
{
    HDC screen = GetDC(NULL);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(NULL, screen);
    return c;
}

// The pattern has reached the screen when a few spread points show it.
static bool patternShows(int left, int top, int right, int bottom)
{
    const POINT probes[] = { { left, top }, { right - 1, bottom - 1 }, { (left + right) / 2, (top + bottom) / 2 },
                             { right - 1, top }, { left, bottom - 1 } };
    for (const POINT& p : probes)
        if (screenRead(p.x, p.y) != patternColor(p.x, p.y))
            return false;
    return true;
}

static int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
static int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// The square of side n around (x, y) as the program averages it, from the pattern alone.
static COLORREF expectedMean(int x, int y, int n, COLORREF fallback)
{
    int left = x - n / 2, top = y - n / 2, right = left + n, bottom = top + n;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > screenWidth()) right = screenWidth();
    if (bottom > screenHeight()) bottom = screenHeight();
    return patternMean(left, top, right, bottom, fallback);
}

class ScreenSamplingTest : public testing::Test {
protected:
    void TearDown() override { freeSamplingBuffers(); }
};

TEST_F(ScreenSamplingTest, AverageEqualsPatternMeanAndReference)
{
    PatternWindow pattern;
    ASSERT_TRUE(pumpUntil([] { return patternShows(0, 0, screenWidth(), screenHeight()); }, 5000));
    const int w = screenWidth(), h = screenHeight();
    const COLORREF sentinel = 0x00ABCDEF;
    const struct { int x, y; } points[] = {
        { 300, 200 }, { 511, 383 }, { 0, 0 }, { 1, 1 }, { w - 1, h - 1 }, { w - 1, 400 }, { 600, h - 1 },
        { 4, h / 2 }, { w / 2, 3 }, { w - 2, h - 2 },
    };
    for (const auto& p : points) {
        for (int n : { 1, 3, 9, 21 }) {
            COLORREF want = expectedMean(p.x, p.y, n, sentinel);
            COLORREF reference = referenceAverage(p.x, p.y, n, NULL, POINT(), sentinel);
            COLORREF got = n > 1 ? averageScreenColor(p.x, p.y, n, sentinel) : screenPixel(p.x, p.y, sentinel);
            EXPECT_EQ(hex(want), hex(got)) << "at " << p.x << "," << p.y << " n=" << n;
            EXPECT_EQ(hex(reference), hex(got)) << "reference at " << p.x << "," << p.y << " n=" << n;
        }
    }
}

// In the top-left corner only the part on the screen counts; on the last column and row
// those pixels count too (the square's exclusive edge is the screen's own).
TEST_F(ScreenSamplingTest, SquareIsClippedToTheScreenIncludingItsLastColumnAndRow)
{
    PatternWindow pattern;
    ASSERT_TRUE(pumpUntil([] { return patternShows(0, 0, screenWidth(), screenHeight()); }, 5000));
    const int w = screenWidth(), h = screenHeight();
    const COLORREF sentinel = 0x00ABCDEF;
    const struct { int x, y, n; int left, top, right, bottom; int clippedRight, clippedBottom; } cases[] = {
        // pointer, side, the square that counts, and the square without the last column/row
        { 0, 0, 9, 0, 0, 5, 5, 5, 5 },
        { 2, 1, 21, 0, 0, 13, 12, 13, 12 },
        { w - 1, 300, 3, w - 2, 299, w, 302, w - 1, 302 },
        { 500, h - 1, 3, 499, h - 2, 502, h, 502, h - 1 },
        { w - 1, h - 1, 3, w - 2, h - 2, w, h, w - 1, h - 1 },
        { w - 3, h - 5, 21, w - 13, h - 15, w, h, w - 1, h - 1 },
    };
    for (const auto& c : cases) {
        COLORREF want = patternMean(c.left, c.top, c.right, c.bottom, sentinel);
        COLORREF got = averageScreenColor(c.x, c.y, c.n, sentinel);
        EXPECT_EQ(hex(want), hex(got)) << "at " << c.x << "," << c.y << " n=" << c.n;
        if (c.clippedRight != c.right || c.clippedBottom != c.bottom) {
            COLORREF without = patternMean(c.left, c.top, c.clippedRight, c.clippedBottom, sentinel);
            EXPECT_NE(hex(without), hex(got)) << "the edge pixels must count at " << c.x << "," << c.y;
        }
    }
}

// A stored side far beyond the menu's is capped; one at or below 1 reads the single pixel.
TEST_F(ScreenSamplingTest, OddSidesAreCappedOrReadOnePixel)
{
    PatternWindow pattern;
    ASSERT_TRUE(pumpUntil([] { return patternShows(0, 0, screenWidth(), screenHeight()); }, 5000));
    const COLORREF sentinel = 0x00ABCDEF;
    EXPECT_EQ(hex(expectedMean(512, 384, 255, sentinel)), hex(averageScreenColor(512, 384, 100000, sentinel)));
    EXPECT_EQ(hex(expectedMean(512, 384, 255, sentinel)), hex(averageScreenColor(512, 384, INT_MAX, sentinel)));
    EXPECT_EQ(hex(patternColor(300, 301)), hex(averageScreenColor(300, 301, 0, sentinel)));
    EXPECT_EQ(hex(patternColor(300, 301)), hex(averageScreenColor(300, 301, -7, sentinel)));
    EXPECT_EQ(hex(patternColor(300, 301)), hex(averageScreenColor(300, 301, INT_MIN, sentinel)));
    // Wholly off the screen nothing is averaged.
    EXPECT_EQ(hex(sentinel), hex(averageScreenColor(-100, -100, 21, sentinel)));
    EXPECT_EQ(hex(sentinel), hex(averageScreenColor(screenWidth() + 50, 10, 21, sentinel)));
}

// A window of another process is read the same way as one of ours.
TEST_F(ScreenSamplingTest, WindowOfAnotherProcessIsAveragedWithTheRest)
{
    PatternWindow pattern(false);
    ASSERT_TRUE(pumpUntil([] { return patternShows(0, 0, screenWidth(), screenHeight()); }, 5000));

    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string exe = path;
    exe = exe.substr(0, exe.find_last_of("\\/") + 1) + "huebrick_testwindow.exe";
    const RECT box = { 200, 150, 300, 230 };
    const COLORREF fill = RGB(0x33, 0x66, 0xCC);
    std::string command = "\"" + exe + "\" 200 150 100 80 3366CC \"dropper other process\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    ASSERT_TRUE(CreateProcessA(exe.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        << exe;
    bool shows = pumpUntil([&] { return screenRead(250, 190) == fill && screenRead(200, 150) == fill
                                        && screenRead(299, 229) == fill; }, 10000);
    EXPECT_TRUE(shows) << "the other process's window never showed: " << hex(screenRead(250, 190));
    if (shows) {
        const COLORREF sentinel = 0x00ABCDEF;
        const struct { int x, y, n; } cases[] = {
            { 250, 190, 1 }, { 250, 190, 21 }, { 200, 150, 9 }, { 205, 190, 21 }, { 299, 229, 3 }, { 310, 240, 21 },
        };
        for (const auto& c : cases) {
            unsigned count = 0, red = 0, green = 0, blue = 0;
            for (int x = c.x - c.n / 2; x < c.x - c.n / 2 + c.n; x++)
                for (int y = c.y - c.n / 2; y < c.y - c.n / 2 + c.n; y++) {
                    POINT p = { x, y };
                    COLORREF pixel = PtInRect(&box, p) ? fill : patternColor(x, y);
                    red += GetRValue(pixel);
                    green += GetGValue(pixel);
                    blue += GetBValue(pixel);
                    count++;
                }
            COLORREF want = RGB(red / count, green / count, blue / count);
            COLORREF got = c.n > 1 ? averageScreenColor(c.x, c.y, c.n, sentinel) : screenPixel(c.x, c.y, sentinel);
            EXPECT_EQ(hex(want), hex(got)) << "at " << c.x << "," << c.y << " n=" << c.n;
            EXPECT_EQ(hex(referenceAverage(c.x, c.y, c.n, NULL, POINT(), sentinel)), hex(got))
                << "reference at " << c.x << "," << c.y << " n=" << c.n;
        }
    }
    HWND other = FindWindowA(NULL, "dropper other process");
    if (other)
        PostMessageA(other, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Tests of the eye-dropper geometry: zoom layout, averaging square and off-screen strips.
#include "dropper/zoommath.h"

#include <gtest/gtest.h>

#include <vector>

static std::vector<int32_t> fields(const ZoomLayout& l)
{
    return { l.centerX, l.centerY, l.destX, l.destY, l.destWidth, l.destHeight, l.sourceWidth, l.sourceHeight };
}
static std::vector<int32_t> fields(const PixelBox& b)
{
    return { b.left, b.top, b.right, b.bottom };
}

static ZoomLayout layoutOf(const PixelBox& b, int32_t z)
{
    ZoomLayout l{};
    layoutZoom(b.left, b.top, b.right, b.bottom, z, &l);
    return l;
}

TEST(ZoomMath, LayoutCoversTheBoxInWholeBlocks)
{
    const struct {
        PixelBox box;
        int32_t z;
        ZoomLayout want;
    } rows[] = {
        { { 18, 20, 65, 60 }, 2, { 41, 40, 8, 7, 64, 64, 32, 32 } },
        { { 18, 20, 65, 60 }, 16, { 41, 40, 1, 0, 64, 64, 4, 4 } }, // 4 x 4 pixels around the pointer
        { { 18, 40, 65, 60 }, 1, { 41, 50, 9, 34, 64, 32, 64, 32 } },
        { { 10, 10, 10, 10 }, 4, { 10, 10, 4, 4, 8, 8, 2, 2 } }, // empty: one block each side
    };
    for (const auto& r : rows)
        EXPECT_EQ(fields(layoutOf(r.box, r.z)), fields(r.want)) << "z=" << r.z;
}

TEST(ZoomMath, AveragingSquareIsClippedToTheDesktop)
{
    const PixelBox screen{ 0, 0, 1920, 1080 }, left{ -1280, -200, 640, 480 }; // left: monitors left and above
    // At the top-left corner 0..4 only; the last column and row included; beyond the right
    // edge or the top-left nothing; an even side has one more pixel before the pointer.
    const struct {
        PixelBox desktop;
        int32_t x, y, n;
        PixelBox want;
    } rows[] = {
        { screen, 0, 0, 9, { 0, 0, 5, 5 } },
        { screen, 1919, 1079, 3, { 1918, 1078, 1920, 1080 } },
        { screen, 2500, 500, 3, { 1920, 499, 1920, 502 } },
        { screen, -10, -10, 3, { 0, 0, 0, 0 } },
        { left, -1280, -200, 255, { -1280, -200, -1280 + 128, -200 + 128 } },
        { left, 639, 479, 4, { 637, 477, 640, 480 } },
    };
    for (const auto& r : rows)
        EXPECT_EQ(fields(averagingSquare(r.x, r.y, r.n, r.desktop)), fields(r.want)) << r.x << "," << r.y;
}

TEST(ZoomMath, StripsBlackenWhatLiesOffTheScreen)
{
    struct Row {
        const char* name;
        int32_t z, x, y;
        std::vector<int32_t> source;
        std::vector<std::vector<int32_t>> strips;
        PixelBox screen = { 0, 0, 1920, 1080 };
    };
    // Two monitors, the second left of and above the primary: the virtual screen starts negative.
    const PixelBox both{ -1280, -200, 1920, 1080 };
    const int32_t far = 1 << 24;
    // Over the box 18,20,65,60; at zoom 4 the view is dest (7, 6, 64, 64) from 16 x 16 pixels.
    // source: where the copy starts on the screen and in the view.
    const std::vector<Row> rows = {
        { "middle", 4, 500, 500, { 492, 492, 7, 6 }, {} },
        { "left, 3 in", 4, 3, 500, { 0, 492, 27, 6 }, { { 0, 0, 20, 64 } } },
        { "right edge", 4, 1919, 500, { 1911, 492, 7, 6 }, { { 36, 0, 64, 64 } } },
        { "top-left", 4, 0, 0, { 0, 0, 39, 38 }, { { 0, 0, 32, 64 }, { 0, 0, 64, 32 } } },
        { "odd zoom, bottom-left", 3, 1, 1079, { 0, 1071, 37, 15 }, { { 0, 0, 45, 48 }, { 0, 27, 96, 48 } } },
        { "right monitor", 4, 2500, 500, { 2492, 492, 7, 6 }, { { 0, 0, 64, 64 } } },
        { "far up-left monitor", maxZoom, -far, -far, { 0, 0, 169, 168 }, { { 0, 0, 512, 512 }, { 0, 0, 512, 512 } } },
        { "left edge of the left monitor", 4, -1280, 500, { -1280, 492, 39, 6 }, { { 0, 0, 32, 64 } }, both },
        { "across the primary's left edge", 4, 0, 500, { -8, 492, 7, 6 }, {}, both },
        { "top edge of the upper monitor", 4, -500, -200, { -508, -200, 7, 38 }, { { 0, 0, 64, 32 } }, both },
    };
    for (const Row& r : rows) {
        ZoomSource s{};
        clipZoomSource(r.x, r.y, layoutOf({ 18, 20, 65, 60 }, r.z), r.z, r.screen, &s);
        EXPECT_EQ((std::vector<int32_t>{ s.srcX, s.srcY, s.destX, s.destY }), r.source) << r.name;
        std::vector<std::vector<int32_t>> strips;
        for (int32_t i = 0; i < s.stripCount; ++i)
            strips.push_back(fields(s.strips[i]));
        EXPECT_EQ(strips, r.strips) << r.name;
    }
}

// A monitor left of the primary, taller and reaching above it: the virtual screen has
// points on neither (above the primary), which count as beyond the screen.
TEST(ZoomMath, PointsBetweenMonitorsLieOnNone)
{
    const PixelBox monitors[] = { { 0, 0, 1920, 1080 }, { -1280, -200, 0, 824 } };
    const struct {
        int32_t x, y;
        bool on;
    } points[] = {
        { 0, 0, true },       { -1, -200, true },  { -1280, 823, true },
        { 1919, 1079, true }, { 5, -1, false }, // above the primary, beside the upper monitor
        { -5, 824, false },                     // below the left monitor, beside the primary
        { 1920, 0, false },   { -1281, 0, false },
    };
    for (const auto& p : points)
        EXPECT_EQ(onSomeMonitor(p.x, p.y, monitors, 2), p.on) << p.x << "," << p.y;
    EXPECT_TRUE(withinOneMonitor({ -10, -10, 0, 0 }, monitors, 2));
    EXPECT_FALSE(withinOneMonitor({ -10, -10, 1, 0 }, monitors, 2));    // straddles the border
    EXPECT_FALSE(withinOneMonitor({ -10, 820, -1, 830 }, monitors, 2)); // reaches into the gap
}

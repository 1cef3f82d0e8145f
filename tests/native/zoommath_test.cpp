// Tests of the eye-dropper geometry: zoom layout, averaging square and off-screen strips.
#include "dropper/zoommath.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Box { int32_t left, top, right, bottom; };

ZoomLayout layoutOf(const Box& b, int32_t z) {
    ZoomLayout l{};
    layoutZoom(b.left, b.top, b.right, b.bottom, z, &l);
    return l;
}

TEST(ZoomLayoutTest, Examples) {
    struct Row { Box box; int32_t z; ZoomLayout want; };
    const Row rows[] = {
        {{18, 20, 65, 60}, 4, {41, 40, 7, 6, 64, 64, 16, 16}},
        {{18, 40, 65, 60}, 1, {41, 50, 9, 34, 64, 32, 64, 32}},
        {{18, 20, 65, 60}, 16, {41, 40, 1, 0, 64, 64, 4, 4}},
        {{18, 20, 65, 60}, 1, {41, 40, 9, 8, 64, 64, 64, 64}},
        {{18, 20, 65, 60}, 2, {41, 40, 8, 7, 64, 64, 32, 32}},
        {{18, 20, 65, 60}, 8, {41, 40, 5, 4, 64, 64, 8, 8}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.z);
        ZoomLayout l = layoutOf(r.box, r.z);
        EXPECT_EQ(l.centerX, r.want.centerX);
        EXPECT_EQ(l.centerY, r.want.centerY);
        EXPECT_EQ(l.destX, r.want.destX);
        EXPECT_EQ(l.destY, r.want.destY);
        EXPECT_EQ(l.destWidth, r.want.destWidth);
        EXPECT_EQ(l.destHeight, r.want.destHeight);
        EXPECT_EQ(l.sourceWidth, r.want.sourceWidth);
        EXPECT_EQ(l.sourceHeight, r.want.sourceHeight);
    }
}

// At 16x the box shows 4 x 4 screen pixels, and the block of the pointer's
// pixel (source index sourceWidth / 2) is centred on the centre pixel.
TEST(ZoomLayoutTest, SixteenShowsFourByFourAroundThePointer) {
    ZoomLayout l = layoutOf({18, 20, 65, 60}, 16);
    EXPECT_EQ(l.sourceWidth, 4);
    EXPECT_EQ(l.sourceHeight, 4);
    int32_t blockLeft = l.destX + l.sourceWidth / 2 * 16;
    int32_t blockTop = l.destY + l.sourceHeight / 2 * 16;
    EXPECT_EQ(blockLeft, 33);
    EXPECT_EQ(blockTop, 32);
    EXPECT_EQ(l.centerX - blockLeft, 8);
    EXPECT_EQ(l.centerY - blockTop, 8);
}

TEST(ZoomLayoutTest, InvariantsOverZoomsAndBoxes) {
    std::vector<Box> boxes = {{18, 20, 65, 60}, {18, 40, 65, 60}, {0, 0, 1, 1}, {0, 0, 83, 132},
                              {-50, -70, 13, 9}, {5, 5, 6, 200}, {0, 0, 8192, 8192},
                              {1000, 2000, 1001, 2003}};
    for (int32_t w = 1; w < 40; w += 3)
        for (int32_t h = 1; h < 40; h += 5) boxes.push_back({w, h, 2 * w + 7, 3 * h + 1});
    for (const Box& b : boxes) {
        for (int32_t z = 1; z <= maxZoom; ++z) {
            SCOPED_TRACE(testing::Message() << b.left << "," << b.top << "," << b.right << ","
                                            << b.bottom << " z=" << z);
            ZoomLayout l = layoutOf(b, z);
            // The image covers the box.
            ASSERT_LE(l.destX, b.left);
            ASSERT_LE(l.destY, b.top);
            ASSERT_GE(int64_t(l.destX) + l.destWidth, b.right);
            ASSERT_GE(int64_t(l.destY) + l.destHeight, b.bottom);
            // Every screen pixel becomes exactly a z-by-z block.
            ASSERT_EQ(l.destWidth, l.sourceWidth * z);
            ASSERT_EQ(l.destHeight, l.sourceHeight * z);
            ASSERT_GE(l.sourceWidth, 2);
            // The pointer's block starts half a block before the centre.
            ASSERT_EQ(l.centerX - (l.destX + l.sourceWidth / 2 * z), z / 2);
            ASSERT_EQ(l.centerY - (l.destY + l.sourceHeight / 2 * z), z / 2);
            // The width is the first doubling that covers: half of it would not.
            int32_t half = l.destWidth / 2;
            if (half > z) {
                int32_t w = half / 2;
                ASSERT_FALSE(l.centerX - w <= b.left && l.centerX + w - z / 2 >= b.right);
            }
        }
    }
}

TEST(ZoomLayoutTest, TerminatesForAnyBox) {
    const Box boxes[] = {{10, 10, 10, 10}, {100, 100, 0, 0}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
                         {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}, {INT32_MAX - 1, 0, INT32_MAX, 1},
                         {INT32_MIN, 0, INT32_MIN + 1, 1}};
    const int32_t zooms[] = {1, 2, 3, 16, maxZoom, 0, -4, INT32_MAX};
    for (const Box& b : boxes)
        for (int32_t z : zooms) {
            ZoomLayout l = layoutOf(b, z);
            EXPECT_GE(l.destWidth, 1);
            EXPECT_GE(l.sourceWidth, 1);
        }
    // An empty box still gets the smallest view: one block each side of the centre.
    ZoomLayout l = layoutOf({10, 10, 10, 10}, 4);
    EXPECT_EQ(l.destWidth, 8);
    EXPECT_EQ(l.sourceWidth, 2);
}

TEST(ZoomSettingsTest, UsableZoom) {
    struct Row { int32_t stored, want; };
    const Row rows[] = {{-1, 0}, {INT32_MIN, 0}, {0, 0}, {5, 5}, {256, 256},
                        {257, 0}, {300, 0}, {INT32_MAX, 0}};
    for (const Row& r : rows) EXPECT_EQ(usableZoom(r.stored), r.want) << r.stored;
    for (int32_t z = 1; z <= 16; ++z) EXPECT_EQ(usableZoom(z), z);
}

TEST(ZoomSettingsTest, UsableAntiDither) {
    struct Row { int32_t stored, want; };
    const Row rows[] = {{INT32_MIN, 1}, {-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 3}, {9, 9},
                        {21, 21}, {255, 255}, {256, 255}, {100000, 255}, {INT32_MAX, 255}};
    for (const Row& r : rows) EXPECT_EQ(usableAntiDither(r.stored), r.want) << r.stored;
}

bool sameBox(const PixelBox& a, const PixelBox& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(AveragingSquareTest, Table) {
    const PixelBox screen{0, 0, 1920, 1080};
    struct Row { int32_t x, y, n; PixelBox want; };
    const Row rows[] = {
        {0, 0, 9, {0, 0, 5, 5}},                          // top-left corner: 0..4 only
        {100, 200, 3, {99, 199, 102, 202}},               // pointer - 1 .. pointer + 1
        {100, 200, 21, {90, 190, 111, 211}},              // pointer - 10 .. pointer + 10
        {100, 200, 1, {100, 200, 101, 201}},
        {1919, 1079, 3, {1918, 1078, 1920, 1080}},        // last column and row included
        {1919, 500, 9, {1915, 496, 1920, 505}},
        {500, 1079, 21, {490, 1069, 511, 1080}},
        {1918, 1078, 3, {1917, 1077, 1920, 1080}},        // just fits
        {2500, 500, 3, {1920, 499, 1920, 502}},           // beyond the right edge: empty
        {-10, -10, 3, {0, 0, 0, 0}},                      // beyond the top-left: empty
    };
    for (const Row& r : rows) {
        PixelBox got = averagingSquare(r.x, r.y, r.n, screen);
        EXPECT_TRUE(sameBox(got, r.want)) << r.x << "," << r.y << " n=" << r.n << " -> " << got.left
                                          << "," << got.top << "," << got.right << "," << got.bottom;
    }
}

TEST(AveragingSquareTest, PointerAlwaysIncludedAndInsideDesktop) {
    const PixelBox desktops[] = {{0, 0, 1920, 1080}, {-1280, -200, 640, 480}, {0, 0, 1, 1}};
    for (const PixelBox& d : desktops)
        for (int32_t n : {1, 2, 3, 9, 21, 255})
            for (int32_t x = d.left; x < d.right; x += (d.right - d.left) / 37 + 1)
                for (int32_t y = d.top; y < d.bottom; y += (d.bottom - d.top) / 29 + 1)
                    for (int32_t dx : {0, 1, 2})  // also the last pixels themselves
                        for (int32_t dy : {0, 1, 2}) {
                            int32_t px = x + dx < d.right ? x + dx : d.right - 1;
                            int32_t py = y + dy < d.bottom ? y + dy : d.bottom - 1;
                            PixelBox b = averagingSquare(px, py, n, d);
                            ASSERT_TRUE(b.left <= px && px < b.right && b.top <= py && py < b.bottom);
                            ASSERT_TRUE(b.left >= d.left && b.right <= d.right);
                            ASSERT_TRUE(b.top >= d.top && b.bottom <= d.bottom);
                            ASSERT_LE(b.right - b.left, n);
                            ASSERT_LE(b.bottom - b.top, n);
                        }
    for (int32_t px : {0, 1919})
        for (int32_t py : {0, 1079}) {
            PixelBox b = averagingSquare(px, py, 1, desktops[0]);
            EXPECT_TRUE(sameBox(b, {px, py, px + 1, py + 1}));
        }
}

TEST(AveragingSquareTest, ExtremeValuesStayInRange) {
    const PixelBox screen{0, 0, 1920, 1080};
    const int32_t values[] = {INT32_MIN, -1, 0, 1, 1919, INT32_MAX};
    for (int32_t x : values)
        for (int32_t y : values)
            for (int32_t n : {INT32_MIN, -3, 0, 1, 3, INT32_MAX}) {
                PixelBox b = averagingSquare(x, y, n, screen);
                EXPECT_LE(b.left, b.right);
                EXPECT_LE(b.top, b.bottom);
                EXPECT_GE(b.left, 0);
                EXPECT_LE(b.right, 1920);
                EXPECT_GE(b.top, 0);
                EXPECT_LE(b.bottom, 1080);
            }
    PixelBox all = averagingSquare(0, 0, INT32_MAX, screen);
    EXPECT_TRUE(sameBox(all, screen));
}

ZoomSource clip(int32_t x, int32_t y, const ZoomLayout& l, int32_t z, int32_t w = 1920, int32_t h = 1080) {
    ZoomSource s{};
    clipZoomSource(x, y, l, z, w, h, &s);
    return s;
}

TEST(ZoomStripsTest, EdgesAtZoomFour) {
    const ZoomLayout l = layoutOf({18, 20, 65, 60}, 4);  // dest (7, 6, 64, 64), source 16 x 16
    struct Row {
        const char* name; int32_t x, y;
        int32_t srcX, srcY, destX, destY, count; PixelBox strips[2];
    };
    const Row rows[] = {
        {"middle", 500, 500, 492, 492, 7, 6, 0, {}},
        {"left edge", 0, 500, 0, 492, 39, 6, 1, {{0, 0, 32, 64}}},
        {"left, 3 in", 3, 500, 0, 492, 27, 6, 1, {{0, 0, 20, 64}}},
        {"right edge", 1919, 500, 1911, 492, 7, 6, 1, {{36, 0, 64, 64}}},
        {"bottom edge", 500, 1079, 492, 1071, 7, 6, 1, {{0, 36, 64, 64}}},
        {"top-left", 0, 0, 0, 0, 39, 38, 2, {{0, 0, 32, 64}, {0, 0, 64, 32}}},
        {"bottom-right", 1919, 1079, 1911, 1071, 7, 6, 2, {{36, 0, 64, 64}, {0, 36, 64, 64}}},
        {"right monitor", 2500, 500, 2492, 492, 7, 6, 1, {{-2288, 0, 64, 64}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ZoomSource s = clip(r.x, r.y, l, 4);
        EXPECT_EQ(s.srcX, r.srcX);
        EXPECT_EQ(s.srcY, r.srcY);
        EXPECT_EQ(s.destX, r.destX);
        EXPECT_EQ(s.destY, r.destY);
        ASSERT_EQ(s.stripCount, r.count);
        for (int32_t i = 0; i < r.count; ++i) EXPECT_TRUE(sameBox(s.strips[i], r.strips[i])) << i;
    }
    // At the left edge the image of column 0 starts exactly where the black strip ends.
    ZoomSource s = clip(0, 500, l, 4);
    EXPECT_EQ(s.destX - l.destX, s.strips[0].right);
}

// Every view pixel is black exactly when the screen pixel it stands for (by the
// unshifted mapping) lies off the screen; every other pixel is drawn from the
// right screen pixel by the shifted copy.
TEST(ZoomStripsTest, StripsAreExactlyTheOffScreenPixels) {
    const Box boxes[] = {{18, 20, 65, 60}, {18, 40, 65, 60}, {0, 0, 83, 132}};
    const int32_t screens[][2] = {{1920, 1080}, {800, 600}};
    for (const Box& b : boxes)
        for (int32_t z : {1, 2, 3, 4, 8, 16})
            for (const auto& scr : screens) {
                const int32_t W = scr[0], H = scr[1];
                ZoomLayout l = layoutOf(b, z);
                std::vector<int32_t> xs, ys;
                for (int32_t d : {-70, -17, -5, -1, 0, 1, 5, 17, 70}) {
                    xs.push_back(d);
                    xs.push_back(W - 1 + d);
                    ys.push_back(d);
                    ys.push_back(H - 1 + d);
                }
                for (int32_t cx : xs)
                    for (int32_t cy : ys) {
                        ZoomSource s = clip(cx, cy, l, z, W, H);
                        int32_t sx0 = cx - l.sourceWidth / 2, sy0 = cy - l.sourceHeight / 2;
                        for (int32_t v = 0; v < l.destHeight; v += 1 + (v % 5))
                            for (int32_t u = 0; u < l.destWidth; u += 1 + (u % 7)) {
                                int32_t col = sx0 + u / z, row = sy0 + v / z;
                                bool off = col < 0 || col >= W || row < 0 || row >= H;
                                bool black = false;
                                for (int32_t i = 0; i < s.stripCount; ++i) {
                                    const PixelBox& p = s.strips[i];
                                    black = black || (p.left <= u && u < p.right && p.top <= v && v < p.bottom);
                                }
                                ASSERT_EQ(black, off) << "z=" << z << " cursor " << cx << "," << cy
                                                      << " view " << u << "," << v;
                                if (!off) {
                                    int32_t du = l.destX + u - s.destX, dv = l.destY + v - s.destY;
                                    ASSERT_GE(du, 0);
                                    ASSERT_GE(dv, 0);
                                    ASSERT_EQ(s.srcX + du / z, col);
                                    ASSERT_EQ(s.srcY + dv / z, row);
                                }
                            }
                    }
            }
}

}  // namespace

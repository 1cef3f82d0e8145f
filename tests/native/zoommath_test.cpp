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

// Fields as a list, so that a mismatch shows them all.
std::vector<int32_t> fields(const ZoomLayout& l) {
    return {l.centerX, l.centerY, l.destX, l.destY, l.destWidth, l.destHeight, l.sourceWidth, l.sourceHeight};
}
std::vector<int32_t> fields(const PixelBox& b) { return {b.left, b.top, b.right, b.bottom}; }

TEST(ZoomLayoutTest, Examples) {
    struct Row { Box box; int32_t z; ZoomLayout want; };
    const Row rows[] = {
        {{18, 20, 65, 60}, 1, {41, 40, 9, 8, 64, 64, 64, 64}},
        {{18, 20, 65, 60}, 2, {41, 40, 8, 7, 64, 64, 32, 32}},
        {{18, 20, 65, 60}, 4, {41, 40, 7, 6, 64, 64, 16, 16}},
        {{18, 20, 65, 60}, 8, {41, 40, 5, 4, 64, 64, 8, 8}},
        {{18, 20, 65, 60}, 16, {41, 40, 1, 0, 64, 64, 4, 4}},  // 4 x 4 pixels around the pointer
        {{18, 40, 65, 60}, 1, {41, 50, 9, 34, 64, 32, 64, 32}},
        {{10, 10, 10, 10}, 4, {10, 10, 4, 4, 8, 8, 2, 2}},      // empty: one block each side
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.z);
        EXPECT_EQ(fields(layoutOf(r.box, r.z)), fields(r.want));
    }
}

TEST(ZoomLayoutTest, InvariantsOverZoomsAndBoxes) {
    const Box boxes[] = {{18, 20, 65, 60}, {18, 40, 65, 60}, {0, 0, 1, 1}, {0, 0, 83, 132},
                         {-50, -70, 13, 9}, {5, 5, 6, 200}, {0, 0, 8192, 8192}, {1000, 2000, 1001, 2003}};
    for (const Box& b : boxes) {
        for (int32_t z : {1, 2, 3, 4, 5, 7, 8, 16, 17, 255, maxZoom}) {
            SCOPED_TRACE(testing::Message() << b.left << "," << b.top << "," << b.right << ","
                                            << b.bottom << " z=" << z);
            ZoomLayout l = layoutOf(b, z);
            // The image covers the box.
            EXPECT_LE(l.destX, b.left);
            EXPECT_LE(l.destY, b.top);
            EXPECT_GE(int64_t(l.destX) + l.destWidth, b.right);
            EXPECT_GE(int64_t(l.destY) + l.destHeight, b.bottom);
            // Every screen pixel becomes exactly a z-by-z block.
            EXPECT_EQ(l.destWidth, l.sourceWidth * z);
            EXPECT_EQ(l.destHeight, l.sourceHeight * z);
            EXPECT_GE(l.sourceWidth, 2);
            // The pointer's block starts half a block before the centre.
            EXPECT_EQ(l.centerX - (l.destX + l.sourceWidth / 2 * z), z / 2);
            EXPECT_EQ(l.centerY - (l.destY + l.sourceHeight / 2 * z), z / 2);
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
}

TEST(ZoomSettingsTest, UsableSettings) {
    struct Row { int32_t stored, zoom, antiDither; };
    const Row rows[] = {{INT32_MIN, 0, 1}, {-1, 0, 1}, {0, 0, 1}, {1, 1, 1}, {2, 2, 2}, {16, 16, 16},
                        {255, 255, 255}, {256, 256, 255}, {257, 0, 255}, {INT32_MAX, 0, 255}};
    for (const Row& r : rows) {
        EXPECT_EQ(usableZoom(r.stored), r.zoom) << r.stored;
        EXPECT_EQ(usableAntiDither(r.stored), r.antiDither) << r.stored;
    }
}

TEST(AveragingSquareTest, Table) {
    const PixelBox screen{0, 0, 1920, 1080};
    struct Row { int32_t x, y, n; PixelBox want; };
    const Row rows[] = {
        {0, 0, 9, {0, 0, 5, 5}},                          // top-left corner: 0..4 only
        {100, 200, 3, {99, 199, 102, 202}},               // pointer - 1 .. pointer + 1
        {100, 200, 21, {90, 190, 111, 211}},              // pointer - 10 .. pointer + 10
        {1919, 1079, 3, {1918, 1078, 1920, 1080}},        // last column and row included
        {1918, 1078, 3, {1917, 1077, 1920, 1080}},        // just fits
        {2500, 500, 3, {1920, 499, 1920, 502}},           // beyond the right edge: empty
        {-10, -10, 3, {0, 0, 0, 0}},                      // beyond the top-left: empty
    };
    for (const Row& r : rows) {
        EXPECT_EQ(fields(averagingSquare(r.x, r.y, r.n, screen)), fields(r.want))
            << r.x << "," << r.y << " n=" << r.n;
    }
}

// The square never leaves the desktop nor turns inside out, whatever the values; it holds
// the pointer whenever the pointer is on the desktop, at its edges too.
TEST(AveragingSquareTest, StaysOnTheDesktopAndHoldsThePointer) {
    const PixelBox desktops[] = {{0, 0, 1920, 1080}, {-1280, -200, 640, 480}, {0, 0, 1, 1}};
    for (const PixelBox& d : desktops)
        for (int32_t n : {INT32_MIN, 0, 1, 2, 3, 21, 255, INT32_MAX})
            for (int32_t px : {INT32_MIN, d.left - 1, d.left, d.left + 1, d.right - 2, d.right - 1, INT32_MAX})
                for (int32_t py : {INT32_MIN, d.top, d.top + 1, d.bottom - 2, d.bottom - 1, d.bottom}) {
                    SCOPED_TRACE(testing::Message() << px << "," << py << " n=" << n);
                    PixelBox b = averagingSquare(px, py, n, d);
                    EXPECT_TRUE(d.left <= b.left && b.left <= b.right && b.right <= d.right);
                    EXPECT_TRUE(d.top <= b.top && b.top <= b.bottom && b.bottom <= d.bottom);
                    EXPECT_LE(int64_t(b.right) - b.left, n < 1 ? 1 : n);  // below 1: a single pixel
                    EXPECT_LE(int64_t(b.bottom) - b.top, n < 1 ? 1 : n);
                    if (px >= d.left && px < d.right && py >= d.top && py < d.bottom)
                        EXPECT_TRUE(b.left <= px && px < b.right && b.top <= py && py < b.bottom);
                }
    EXPECT_EQ(fields(averagingSquare(0, 0, INT32_MAX, desktops[0])), fields(desktops[0]));
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
        {"right monitor", 2500, 500, 2492, 492, 7, 6, 1, {{-2288, 0, 64, 64}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ZoomSource s = clip(r.x, r.y, l, 4);
        EXPECT_EQ((std::vector<int32_t>{s.srcX, s.srcY, s.destX, s.destY}),
                  (std::vector<int32_t>{r.srcX, r.srcY, r.destX, r.destY}));
        ASSERT_EQ(s.stripCount, r.count);
        for (int32_t i = 0; i < r.count; ++i) EXPECT_EQ(fields(s.strips[i]), fields(r.strips[i])) << i;
    }
}

// Every view pixel is black exactly when the screen pixel it stands for (by the
// unshifted mapping) lies off the screen; every other pixel is drawn from the
// right screen pixel by the shifted copy.
TEST(ZoomStripsTest, StripsAreExactlyTheOffScreenPixels) {
    const int32_t W = 800, H = 600;
    const Box boxes[] = {{18, 20, 65, 60}, {0, 0, 83, 132}};
    for (const Box& b : boxes)
        for (int32_t z : {1, 3, 4, 16}) {
            ZoomLayout l = layoutOf(b, z);
            std::vector<int32_t> xs, ys;
            for (int32_t d : {-70, -17, -1, 0, 1, 17, 70}) {
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

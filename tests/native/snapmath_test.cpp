// Tests of the window-drag snapping: other windows' edges, the work area, tolerances.
#include "window/snapmath.h"

#include <gtest/gtest.h>

#include <vector>

constexpr int32_t winW = 83, winH = 132;

static SnapRect at(int32_t left, int32_t top)
{
    return { left, top, left + winW, top + winH };
}

// One snapped move: others in Z order (topmost first), then each work area in turn.
static std::pair<int32_t, int32_t> snap(const SnapRect& drag, int32_t tol, const std::vector<SnapRect>& others,
                                        const std::vector<SnapRect>& work = { { 0, 0, 1920, 1040 } })
{
    SnapState s;
    startSnap(drag, tol, &s);
    for (const SnapRect& r : others)
        snapToRect(drag, tol, r, &s);
    for (const SnapRect& w : work)
        snapToWorkArea(drag, w, &s);
    return { s.x, s.y };
}

TEST(SnapTest, Cases)
{
    const int32_t far = 1 << 24, big = 1 << 20, right = 1920 - winW; // right: flush with the work area's right
    const std::vector<SnapRect> two = { { 0, 0, 800, 600 }, { 800, 4, 1600, 604 } }, all = { { -far, -far, far, far } };
    struct Row {
        const char* name;
        SnapRect drag;
        std::vector<SnapRect> others;
        std::pair<int32_t, int32_t> want;
        int32_t tol = 8;
        std::vector<SnapRect> work = { { 0, 0, 1920, 1040 } };
    };
    const std::vector<Row> rows = {
        { "9 px from work-area left stays, 8 px from the top is still within", at(9, 8), {}, { 9, 0 } },
        { "snapping off: 1 px stays", at(1, 300), {}, { 1, 300 }, 0 },
        { "left beyond the work area snaps back", at(-6, 300), {}, { 0, 300 } },
        { "work-area right and bottom edges", at(right - 4, 1040 - winH + 7), {}, { right, 1040 - winH } },
        { "window 2 px beats work area 3", at(right - 3, 300), { { 1500, 250, right - 5, 500 } }, { right - 5, 300 } },
        { "work area 1 px beats window 2", at(right - 1, 300), { { 1500, 250, right - 3, 500 } }, { right, 300 } },
        { "equal distances: the higher window wins",
          at(700, 300),
          { { 500, 200, 697, 600 }, { 703, 800, 900, 1000 }, { 703, 250, 900, 600 } },
          { 697, 300 } },
        { "ties, Z order swapped", at(700, 300), { { 703, 250, 900, 600 }, { 500, 200, 697, 600 } }, { 703, 300 } },
        { "one window: left-flush edge first", at(700, 300), { { 696, 100, 700 + winW + 4, 295 } }, { 696, 295 } },
        { "rights and bottoms flush", at(500, 300), { { 550, 100, 500 + winW + 2, 300 + winH - 2 } }, { 502, 298 } },
        // Over two monitors, one work area 4 px lower: a later one wins only when strictly nearer.
        { "two work areas, the first nearer", at(760, 2), {}, { 760, 0 }, 8, two },
        { "two work areas, equally near", at(760, 3), {}, { 760, 4 }, 8, two },
        { "work area barely wider: left wins", at(3, 300), {}, { 0, 300 }, 8, { { 0, 0, winW + 4, 1040 } } },
        { "largest tolerance, farthest edges", at(-far + 5, far - winH - big), {}, { -far, far - winH }, big, all },
    };
    for (const Row& r : rows)
        EXPECT_EQ(snap(r.drag, r.tol, r.others, r.work), r.want) << r.name;
}

// A window counts only within the tolerance of our side: we dock on it and align with its
// near edge. One pixel further it offers nothing, not even the edge we could align with.
TEST(SnapTest, WindowsBesideUsReachOnlyWithinTheTolerance)
{
    for (int32_t gap : { 8, 9 }) {
        const struct {
            const char* side;
            SnapRect other;
            std::pair<int32_t, int32_t> docked;
        } sides[] = {
            { "above", { 503, 100, 700, 300 - gap }, { 503, 300 - gap } },
            { "below", { 503, 300 + winH + gap, 700, 900 }, { 503, 300 + gap } },
            { "left", { 100, 303, 500 - gap, 600 }, { 500 - gap, 303 } },
            { "right", { 500 + winW + gap, 303, 900, 600 }, { 500 + gap, 303 } },
        };
        for (const auto& s : sides)
            EXPECT_EQ(snap(at(500, 300), 8, { s.other }), gap <= 8 ? s.docked : std::make_pair(500, 300))
                << s.side << gap;
    }
}

// The factor: the whole number nearest to dpi / 96, halves up, smaller while the skin would not
// fit the work area; and the skin pixel a window pixel lies in, also left of and above the window.
TEST(ScaleTest, FactorAndSkinPoints)
{
    const int32_t factors[][6] = {
        // dpi, work area, skin: factor
        { 96, 1920, 1040, 83, 132, 1 },  { 143, 1920, 1040, 83, 132, 1 }, { 144, 1920, 1040, 83, 132, 2 },
        { 216, 1920, 1040, 83, 132, 2 }, { 240, 1920, 1040, 83, 132, 3 }, { 288, 1920, 395, 83, 132, 2 },
        { 288, 1920, 396, 83, 132, 3 },  { 192, 165, 1040, 83, 132, 1 },  { 192, 10, 10, 83, 132, 1 },
    };
    for (const auto& r : factors)
        EXPECT_EQ(r[5], windowScale(r[0], r[1], r[2], r[3], r[4])) << r[0] << " " << r[1] << "x" << r[2];
    const int32_t points[][3] = { { 1, 2, 0 }, { 2, 2, 1 }, { -1, 2, -1 }, { -2, 2, -1 }, { -3, 2, -2 }, { 9, 3, 3 } };
    for (const auto& p : points)
        EXPECT_EQ(p[2], skinCoordinate(p[0], p[1])) << p[0] << " at " << p[1];
}

// Moved onto the monitor whose DPI it takes, the window's centre lies inside it, one pixel past
// an exact tie, for either width's parity; a window already centred there stays.
TEST(SnapTest, CentredOnTheMonitorItTakesItsScaleFrom)
{
    const SnapRect right = { 512, 0, 1024, 600 }, left = { 0, 0, 512, 600 };
    const SnapRect rows[][3] = {
        { { 400, 100, 566, 364 }, right, { 430, 100, 596, 364 } },
        { { 429, 100, 595, 364 }, right, { 430, 100, 596, 364 } },
        { { 430, 100, 596, 364 }, right, { 430, 100, 596, 364 } },
        { { 471, 100, 554, 232 }, left, { 470, 100, 553, 232 } },
        { { 430, 100, 596, 364 }, left, { 428, 100, 594, 364 } },
        { { 100, 500, 183, 764 }, left, { 100, 467, 183, 731 } },
    };
    for (const auto& r : rows) {
        SnapRect got = centreOn(r[0], r[1]);
        EXPECT_EQ(std::tie(r[2].left, r[2].top, r[2].right, r[2].bottom),
                  std::tie(got.left, got.top, got.right, got.bottom))
            << r[0].left << "," << r[0].top << " on " << r[1].left;
    }
}

// Tests of the window-drag snapping: other windows' edges, the work area, tolerances.
#include "window/snapmath.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t winW = 83, winH = 132;
const SnapRect workArea{0, 0, 1920, 1040};

SnapRect at(int32_t left, int32_t top) { return {left, top, left + winW, top + winH}; }

struct Placed { int32_t x, y; };

// One snapped move: others in Z order (topmost first), then the work area.
Placed snap(const SnapRect& drag, int32_t tol, const std::vector<SnapRect>& others,
            const SnapRect& work = workArea) {
    SnapState s;
    startSnap(drag, tol, &s);
    for (const SnapRect& r : others) snapToRect(drag, tol, r, &s);
    snapToWorkArea(drag, work, &s);
    return {s.x, s.y};
}

TEST(SnapTest, Cases) {
    struct Row {
        const char* name; SnapRect drag; int32_t tol; std::vector<SnapRect> others; Placed want;
    };
    const std::vector<Row> rows = {
        {"9 px from work-area left stays", at(9, 300), 8, {}, {9, 300}},
        {"8 px is still within", at(8, 300), 8, {}, {0, 300}},
        {"snapping off: 1 px stays", at(1, 300), 0, {}, {1, 300}},
        {"left beyond the work area snaps back", at(-6, 300), 8, {}, {0, 300}},
        {"work-area right edge", at(1920 - winW - 4, 300), 8, {}, {1920 - winW, 300}},
        {"work-area top and bottom", at(700, 1040 - winH + 7), 8, {}, {700, 1040 - winH}},
        {"other window 2 px beats work-area edge 3 px",
         at(1920 - 3 - winW, 300), 8, {{1500, 250, 1920 - 3 - winW - 2, 500}}, {1920 - 3 - winW - 2, 300}},
        {"work-area edge 1 px beats other window 2 px",
         at(1920 - 1 - winW, 300), 8, {{1500, 250, 1920 - 1 - winW - 2, 500}}, {1920 - winW, 300}},
        {"equal distances: the higher window wins",
         at(700, 300), 8, {{500, 200, 697, 600}, {703, 800, 900, 1000}, {703, 250, 900, 600}}, {697, 300}},
        {"equal distances: swapped Z order",
         at(700, 300), 8, {{703, 250, 900, 600}, {500, 200, 697, 600}}, {703, 300}},
        {"within one window the left-flush edge comes first",
         at(700, 300), 8, {{696, 100, 700 + winW + 4, 295}}, {696, 295}},
        {"rights and bottoms flush", at(500, 300), 8, {{550, 100, 500 + winW + 2, 300 + winH - 2}}, {502, 298}},
        {"tolerance -1: on, but not even flush edges snap", at(0, 0), -1, {{0, 0, 50, 50}}, {0, 0}},
    };
    for (const Row& r : rows) {
        Placed p = snap(r.drag, r.tol, r.others);
        EXPECT_EQ(p.x, r.want.x) << r.name;
        EXPECT_EQ(p.y, r.want.y) << r.name;
    }
    // Over two monitors, one work area 4 px lower: each is offered, a later one wins only
    // when strictly nearer.
    for (int32_t top : {2, 3}) {
        SnapState s;
        startSnap(at(760, top), 8, &s);
        snapToWorkArea(at(760, top), {0, 0, 800, 600}, &s);
        snapToWorkArea(at(760, top), {800, 4, 1600, 604}, &s);
        EXPECT_EQ(s.y, top == 2 ? 0 : 4) << top;
    }
    // A work area barely wider than the window: both edges within reach, left wins.
    Placed p = snap({3, 300, 3 + winW, 300 + winH}, 8, {}, {0, 0, winW + 4, 1040});
    EXPECT_EQ(p.x, 0);
    // The largest tolerance reaches the far edges of the largest desktop.
    const int32_t far = 1 << 24;
    p = snap(at(-far + 5, far - winH - (1 << 20)), 1 << 20, {}, {-far, -far, far, far});
    EXPECT_EQ(p.x, -far);
    EXPECT_EQ(p.y, far - winH);
}

// A window counts only within the tolerance of our side: we dock on it and align with its
// near edge. One pixel further it offers nothing, not even the edge we could align with.
TEST(SnapTest, WindowsBesideUsReachOnlyWithinTheTolerance) {
    const SnapRect drag = at(500, 300);
    for (int32_t gap : {8, 9}) {
        const struct { const char* side; SnapRect other; Placed docked; } sides[] = {
            {"above", {503, 100, 700, 300 - gap}, {503, 300 - gap}},
            {"below", {503, 300 + winH + gap, 700, 900}, {503, 300 + gap}},
            {"left", {100, 303, 500 - gap, 600}, {500 - gap, 303}},
            {"right", {500 + winW + gap, 303, 900, 600}, {500 + gap, 303}},
        };
        for (const auto& s : sides) {
            Placed p = snap(drag, 8, {s.other});
            Placed want = gap <= 8 ? s.docked : Placed{500, 300};
            EXPECT_EQ(p.x, want.x) << s.side << " gap " << gap;
            EXPECT_EQ(p.y, want.y) << s.side << " gap " << gap;
        }
    }
}

}  // namespace

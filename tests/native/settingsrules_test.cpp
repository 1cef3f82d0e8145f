// The stored settings' value rules: what is usable of each stored value, and the defaults.
#include "app/settingsrules.h"

#include <climits>
#include <gtest/gtest.h>

TEST(SettingsRules, StoredValuesAreCutToWhatTheProgramUses)
{
    // savedSnapTol: the distance written back when snapping is turned on again.
    const int32_t big = 1 << 20, far = 1 << 24;
    const struct {
        int32_t stored, zoom, antiDither, snapTol, savedSnapTol, position;
    } cases[] = {
        { INT32_MIN, 0, 1, -1, 8, -far },
        { -far - 1, 0, 1, -1, 8, -far },
        { -1, 0, 1, -1, 8, -1 },
        { 0, 0, 1, 0, 8, 0 },
        { 1, 1, 1, 1, 1, 1 },
        { 2, 2, 2, 2, 2, 2 },
        { 255, 255, 255, 255, 255, 255 },
        { 256, 256, 255, 256, 256, 256 },
        { 257, 0, 255, 257, 257, 257 },
        { big + 1, 0, 255, big, big + 1, big + 1 },
        { far + 1, 0, 255, big, far + 1, far },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(usableZoom(c.stored), c.zoom);
        EXPECT_EQ(usableAntiDither(c.stored), c.antiDither);
        EXPECT_EQ(usableSnapTol(c.stored), c.snapTol);
        EXPECT_EQ(savedSnapTolFor(c.stored), c.savedSnapTol);
        EXPECT_EQ(usablePosition(c.stored), c.position);
        // A stored skin path needs more than its terminator.
        EXPECT_EQ(storedPathUsable(uint32_t(c.stored)), c.stored < 0 || c.stored > 1);
    }

    // The first start centres on the work area's size measured from 0, 0 (a taskbar at the top
    // or left is not added); odd sizes truncate toward zero.
    const struct {
        int32_t left, top, right, bottom, x, y;
    } places[] = {
        { 0, 0, 1024, 768, 471, 318 },
        { 100, 30, 1025, 769, 421, 303 },
    };
    for (const auto& c : places) {
        int32_t x = 0xdeadbee, y = 0xdeadbee;
        defaultWindowPosition(c.left, c.top, c.right, c.bottom, 83, 132, &x, &y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y)) << c.left << "," << c.top;
    }
}

// The stored settings' value rules: what is usable of each stored value, and the defaults.
#include "app/settingsrules.h"

#include <climits>
#include <gtest/gtest.h>

TEST(SettingsRules, StoredValuesAreCutToWhatTheProgramUses)
{
    const int32_t big = 1 << 20, far = 1 << 24;
    const struct { int32_t stored, zoom, antiDither, snapTol, position; } cases[] = {
        { INT32_MIN, 0, 1, -1, -far },
        { -far - 1, 0, 1, -1, -far },
        { -1, 0, 1, -1, -1 },
        { 0, 0, 1, 0, 0 },
        { 1, 1, 1, 1, 1 },
        { 2, 2, 2, 2, 2 },
        { 255, 255, 255, 255, 255 },
        { 256, 256, 255, 256, 256 },
        { 257, 0, 255, 257, 257 },
        { big + 1, 0, 255, big, big + 1 },
        { far + 1, 0, 255, big, far },
        { INT32_MAX, 0, 255, big, far },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.zoom, usableZoom(c.stored)) << c.stored;
        EXPECT_EQ(c.antiDither, usableAntiDither(c.stored)) << c.stored;
        EXPECT_EQ(c.snapTol, usableSnapTol(c.stored)) << c.stored;
        EXPECT_EQ(c.position, usablePosition(c.stored)) << c.stored;
    }
}

TEST(SettingsRules, SnappingRestoresStoredDistanceOnlyWhenPositive)
{
    const struct { int32_t stored, restored; } cases[] = { { 12, 12 }, { 1, 1 }, { 0, 8 }, { -1, 8 } };
    for (const auto& c : cases)
        EXPECT_EQ(c.restored, savedSnapTolFor(c.stored)) << "stored " << c.stored;
}

TEST(SettingsRules, DefaultPositionCentresOnWorkAreaSizeFromScreenOrigin)
{
    const struct { int32_t left, top, right, bottom, width, height, x, y; } cases[] = {
        { 0, 0, 1024, 768, 83, 132, 471, 318 },
        // A taskbar at the top or left is not added: the position is measured from 0, 0.
        { 0, 30, 1024, 768, 83, 132, 471, 303 },
        { 100, 0, 1024, 768, 83, 132, 421, 318 },
        // Odd sizes truncate toward zero.
        { 0, 0, 801, 601, 83, 132, 359, 234 },
    };
    for (const auto& c : cases) {
        int32_t x = 0xdeadbee, y = 0xdeadbee;
        defaultWindowPosition(c.left, c.top, c.right, c.bottom, c.width, c.height, &x, &y);
        EXPECT_EQ(c.x, x) << c.left << "," << c.top << "," << c.right << "," << c.bottom;
        EXPECT_EQ(c.y, y) << c.left << "," << c.top << "," << c.right << "," << c.bottom;
    }
}

TEST(SettingsRules, StoredSkinPathNeedsMoreThanItsTerminator)
{
    EXPECT_FALSE(storedPathUsable(1));
    EXPECT_TRUE(storedPathUsable(2));
}

// The stored settings' value rules: snapping distance, default position, menu marks.
#include "app/settingsrules.h"

#include <climits>
#include <gtest/gtest.h>

TEST(SettingsRules, SnappingRestoresStoredDistanceOnlyWhenPositive)
{
    const struct { int32_t stored, restored; } cases[] = {
        { 8, 8 }, { 12, 12 }, { 1, 1 }, { 0, 8 }, { -5, 8 }, { INT32_MIN, 8 }, { INT32_MAX, INT32_MAX },
    };
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
        { 0, 0, 0, 0, 83, 132, -41, -66 },
        { INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 83, 132, INT32_MAX - 41, INT32_MAX - 66 },
    };
    for (const auto& c : cases) {
        int32_t x = 0xdeadbee, y = 0xdeadbee;
        defaultWindowPosition(c.left, c.top, c.right, c.bottom, c.width, c.height, &x, &y);
        EXPECT_EQ(c.x, x) << c.left << "," << c.top << "," << c.right << "," << c.bottom;
        EXPECT_EQ(c.y, y) << c.left << "," << c.top << "," << c.right << "," << c.bottom;
    }
}

TEST(SettingsRules, StoredValuesOutsideTheMenuMarkTheFallbackItems)
{
    const struct { int32_t value; int zoomItem, ditherItem; } cases[] = {
        { 0, 599, 400 }, { 1, 510, 400 }, { 2, 511, 400 }, { 3, 599, 401 }, { 4, 512, 400 },
        { 5, 599, 400 }, { 8, 513, 400 }, { 9, 599, 402 }, { 16, 514, 400 }, { 21, 599, 403 },
        { -1, 599, 400 }, { INT32_MAX, 599, 400 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.zoomItem, zoomMenuItem(c.value)) << c.value;
        EXPECT_EQ(c.ditherItem, antiDitherMenuItem(c.value)) << c.value;
    }
}

TEST(SettingsRules, StoredSkinPathNeedsMoreThanItsTerminator)
{
    EXPECT_FALSE(storedPathUsable(0));
    EXPECT_FALSE(storedPathUsable(1));
    EXPECT_TRUE(storedPathUsable(2));
    EXPECT_TRUE(storedPathUsable(512));
}

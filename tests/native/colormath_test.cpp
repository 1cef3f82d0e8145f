// Tests of the colour arithmetic: packing, channel steps and the auto-repeat timing.
#include "color/colormath.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(ColorMath, StepsMoveAndClampChannels)
{
    const struct {
        double from[3];
        int32_t step[3];
        std::vector<double> to;
    } cases[] = {
        // White mode: the shared step is cut so no channel leaves 0..255, and the
        // differences between the channels survive the cut.
        { { 10, 20, 250 }, { 10, 10, 10 }, { 15, 25, 255 } },
        { { 5, 20, 30 }, { -10, -10, -10 }, { 0, 15, 25 } },
        { { 10, 20, 30 }, { INT32_MAX, INT32_MAX, INT32_MAX }, { 235, 245, 255 } }, // scrubbing's wild deltas
        // Otherwise each channel on its own: add, then clamp. Two equal steps are not white mode.
        { { 10, 20, 30 }, { 300, -300, 5 }, { 255, 0, 35 } },
        { { 10, 20, 30 }, { INT32_MAX, INT32_MAX, INT32_MIN }, { 255, 255, 0 } },
    };
    for (const auto& c : cases) {
        double rgb[3] = { c.from[0], c.from[1], c.from[2] };
        applyColorStep(rgb, c.step[0], c.step[1], c.step[2]);
        EXPECT_EQ(std::vector<double>(rgb, rgb + 3), c.to) << c.from[0] << " step " << c.step[0];
    }
}

TEST(ColorMath, PackAndUnpack)
{
    const double orange[3] = { 0, 128, 255 }, fractions[3] = { 12.9, 0.5, 254.99 };
    EXPECT_EQ(packColor(orange), 0xFF8000u);
    EXPECT_EQ(packColor(fractions), 0xFE000Cu); // cut toward zero
    double rgb[3];
    unpackColor(0xAAFF8000, rgb); // byte 3 is ignored
    EXPECT_EQ(std::vector<double>(rgb, rgb + 3), std::vector<double>(orange, orange + 3));
}

TEST(ColorMath, RepeatSpeedsUpToFifteenMilliseconds)
{
    // A press steps at once; each tick then waits the current interval and speeds up.
    int32_t interval = 150, step = 20;
    for (int32_t want : { 150, 131, 113, 96, 80, 65, 51, 38, 26, 15, 15 }) {
        EXPECT_EQ(interval, want);
        advanceRepeat(&interval, &step);
    }
    for (int i = 0; i < 1000; ++i)
        advanceRepeat(&interval, &step);
    EXPECT_EQ(std::make_pair(interval, step), std::make_pair(15, 5));
}

// Tests of the colour arithmetic: packing, channel steps and the auto-repeat timing.
#include "color/colormath.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ColorMath, StepsMoveAndClampChannels)
{
    const struct { double from[3]; int32_t step[3]; double to[3]; } cases[] = {
        // White mode: the shared step is cut so no channel leaves 0..255, and the
        // differences between the channels survive the cut.
        {{10, 20, 250}, {10, 10, 10}, {15, 25, 255}},
        {{5, 20, 30}, {-10, -10, -10}, {0, 15, 25}},
        {{100, 100, 100}, {1, 1, 1}, {101, 101, 101}},
        {{0, 128, 255}, {300, 300, 300}, {0, 128, 255}},
        {{1, 128, 254}, {-300, -300, -300}, {0, 127, 253}},
        {{0, 0, 0}, {300, 300, 300}, {255, 255, 255}},
        {{255, 255, 255}, {-300, -300, -300}, {0, 0, 0}},
        {{10, 20, 30}, {INT32_MAX, INT32_MAX, INT32_MAX}, {235, 245, 255}},
        {{10, 20, 30}, {INT32_MIN, INT32_MIN, INT32_MIN}, {0, 10, 20}},
        // Otherwise each channel on its own: add, then clamp. Two equal steps are not white mode.
        {{255, 0, 0}, {1, 0, 0}, {255, 0, 0}},
        {{10, 20, 30}, {-1, 0, 0}, {9, 20, 30}},
        {{10, 20, 30}, {300, -300, 5}, {255, 0, 35}},
        {{10, 20, 30}, {INT32_MIN, INT32_MAX, INT32_MIN}, {0, 255, 0}},
        {{10, 20, 30}, {INT32_MAX, INT32_MAX, INT32_MIN}, {255, 255, 0}},
    };
    for (const auto& c : cases) {
        double rgb[3] = {c.from[0], c.from[1], c.from[2]};
        applyColorStep(rgb, c.step[0], c.step[1], c.step[2]);
        SCOPED_TRACE(testing::Message() << "from " << c.from[0] << "," << c.from[1] << "," << c.from[2]
                                        << " step " << c.step[0] << "," << c.step[1] << "," << c.step[2]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(rgb[i], c.to[i]) << "channel " << i;
    }
}

TEST(ColorMath, PackAndUnpack)
{
    const struct { double rgb[3]; uint32_t packed; } cases[] = {
        {{0, 0, 0}, 0x000000},
        {{255, 255, 255}, 0xFFFFFF},
        {{0, 128, 255}, 0xFF8000},
        {{1, 2, 3}, 0x030201},
        {{12.9, 0.5, 254.99}, 0xFE000C}, // truncated toward zero
    };
    for (const auto& c : cases) {
        EXPECT_EQ(packColor(c.rgb), c.packed) << c.rgb[0] << "," << c.rgb[1] << "," << c.rgb[2];
    }
    double rgb[3];
    unpackColor(0xAAFF8000, rgb); // byte 3 is ignored
    EXPECT_EQ(rgb[0], 0);
    EXPECT_EQ(rgb[1], 128);
    EXPECT_EQ(rgb[2], 255);
    for (uint32_t c = 0; c < 0x1000000; c += 0x010307) {
        unpackColor(c, rgb);
        EXPECT_EQ(packColor(rgb), c) << std::hex << c;
    }
}

TEST(ColorMath, RepeatSpeedsUpToFifteenMilliseconds)
{
    // A press steps at once; each tick then waits the current interval and speeds up.
    const int32_t delays[] = {150, 131, 113, 96, 80, 65, 51, 38, 26, 15, 15, 15, 15};
    int32_t interval = 150;
    int32_t step = 20;
    for (size_t i = 0; i < sizeof delays / sizeof delays[0]; ++i) {
        EXPECT_EQ(interval, delays[i]) << "repeat " << i;
        advanceRepeat(&interval, &step);
    }
    for (int i = 0; i < 1000; ++i)
        advanceRepeat(&interval, &step);
    EXPECT_EQ(interval, 15);
    EXPECT_EQ(step, 5);
}

} // namespace

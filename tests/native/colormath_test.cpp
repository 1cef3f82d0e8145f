// Tests of the colour arithmetic: packing, channel steps and the auto-repeat timing.
#include "color/colormath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

struct StepCase {
    double from[3];
    int32_t step[3];
    double to[3];
};

TEST(ColorMath, StepsMoveAndClampChannels)
{
    const StepCase cases[] = {
        // White mode: the shared step is cut so no channel leaves 0..255.
        {{10, 20, 250}, {10, 10, 10}, {15, 25, 255}},
        {{5, 20, 30}, {-10, -10, -10}, {0, 15, 25}},
        {{10, 20, 255}, {1, 1, 1}, {10, 20, 255}},
        {{0, 20, 30}, {-1, -1, -1}, {0, 20, 30}},
        {{100, 100, 100}, {1, 1, 1}, {101, 101, 101}},
        {{100, 100, 100}, {0, 0, 0}, {100, 100, 100}},
        {{0, 128, 255}, {300, 300, 300}, {0, 128, 255}},
        {{1, 128, 254}, {300, 300, 300}, {2, 129, 255}},
        {{1, 128, 254}, {-300, -300, -300}, {0, 127, 253}},
        {{0, 0, 0}, {300, 300, 300}, {255, 255, 255}},
        {{255, 255, 255}, {-300, -300, -300}, {0, 0, 0}},
        {{10, 20, 30}, {INT32_MAX, INT32_MAX, INT32_MAX}, {235, 245, 255}},
        {{10, 20, 30}, {INT32_MIN, INT32_MIN, INT32_MIN}, {0, 10, 20}},
        // One channel at a time: add, then clamp.
        {{255, 0, 0}, {1, 0, 0}, {255, 0, 0}},
        {{10, 20, 30}, {-1, 0, 0}, {9, 20, 30}},
        {{10, 20, 30}, {0, 1, 0}, {10, 21, 30}},
        {{10, 20, 30}, {0, 0, -1}, {10, 20, 29}},
        {{10, 20, 30}, {300, 0, 0}, {255, 20, 30}},
        {{10, 20, 30}, {-300, 0, 0}, {0, 20, 30}},
        {{10, 20, 30}, {300, -300, 5}, {255, 0, 35}},
        {{10, 20, 30}, {INT32_MAX, INT32_MIN, 0}, {255, 0, 30}},
        {{10, 20, 30}, {INT32_MIN, INT32_MAX, INT32_MIN}, {0, 255, 0}},
        {{10, 20, 30}, {INT32_MAX, INT32_MAX, INT32_MIN}, {255, 255, 0}},
    };
    for (const StepCase& c : cases) {
        double rgb[3] = {c.from[0], c.from[1], c.from[2]};
        applyColorStep(rgb, c.step[0], c.step[1], c.step[2]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(rgb[i], c.to[i]) << "from " << c.from[0] << "," << c.from[1] << "," << c.from[2]
                                       << " step " << c.step[0] << "," << c.step[1] << "," << c.step[2]
                                       << " channel " << i;
    }
}

TEST(ColorMath, WhiteModeKeepsDifferencesAndRange)
{
    // Over a grid of colours and steps, white mode moves all channels by one amount and
    // stops exactly at the edge when it has to cut.
    const int32_t steps[] = {-1000, -256, -255, -37, -1, 0, 1, 37, 255, 256, 1000};
    for (int r = 0; r <= 255; r += 15)
        for (int g = 0; g <= 255; g += 17)
            for (int b = 0; b <= 255; b += 51)
                for (int32_t d : steps) {
                    double rgb[3] = {double(r), double(g), double(b)};
                    applyColorStep(rgb, d, d, d);
                    double moved = rgb[0] - r;
                    SCOPED_TRACE(testing::Message() << r << "," << g << "," << b << " step " << d);
                    EXPECT_EQ(rgb[1] - g, moved);
                    EXPECT_EQ(rgb[2] - b, moved);
                    double lo = std::min(rgb[0], std::min(rgb[1], rgb[2]));
                    double hi = std::max(rgb[0], std::max(rgb[1], rgb[2]));
                    EXPECT_GE(lo, 0);
                    EXPECT_LE(hi, 255);
                    if (moved != d) {
                        EXPECT_TRUE(d > 0 ? hi == 255 : lo == 0);
                    }
                }
}

TEST(ColorMath, PackAndUnpack)
{
    struct PackCase {
        double rgb[3];
        uint32_t packed;
    };
    const PackCase cases[] = {
        {{0, 0, 0}, 0x000000},
        {{255, 255, 255}, 0xFFFFFF},
        {{255, 128, 0}, 0x0080FF},
        {{0, 128, 255}, 0xFF8000},
        {{1, 2, 3}, 0x030201},
        {{12.9, 0.5, 254.99}, 0xFE000C}, // truncated toward zero
    };
    for (const PackCase& c : cases) {
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
    const int32_t delays[] = {150, 131, 113, 96, 80, 65, 51, 38, 26, 15, 15, 15, 15};
    const int32_t times[] = {0, 150, 281, 394, 490, 570, 635, 686, 724, 750, 765, 780, 795};
    int32_t interval = 150;
    int32_t step = 20;
    int32_t elapsed = 0;
    for (size_t i = 0; i < sizeof delays / sizeof delays[0]; ++i) {
        // A press steps at once; each tick then waits the current interval and speeds up.
        EXPECT_EQ(elapsed, times[i]) << "repeat " << i;
        EXPECT_EQ(interval, delays[i]) << "repeat " << i;
        elapsed += interval;
        advanceRepeat(&interval, &step);
    }
    for (int i = 0; i < 1000; ++i)
        advanceRepeat(&interval, &step);
    EXPECT_EQ(interval, 15);
    EXPECT_EQ(step, 5);
}

} // namespace

// Colour arithmetic behind the channel buttons: packing, stepping and the auto-repeat timing.
#include "color/colormath.h"

namespace {

uint32_t channelByte(double v)
{
    // Channels always hold whole numbers in 0..255; the guard only keeps a damaged
    // value (NaN included) from making the conversion undefined.
    if (!(v > 0.0))
        return 0;
    if (v >= 255.0)
        return 255;
    return static_cast<uint32_t>(v);
}

double clampChannel(double v)
{
    return v < 0.0 ? 0.0 : v > 255.0 ? 255.0 : v;
}

} // namespace

uint32_t packColor(const double rgb[3])
{
    return channelByte(rgb[0]) | channelByte(rgb[1]) << 8 | channelByte(rgb[2]) << 16;
}

void unpackColor(uint32_t c, double rgb[3])
{
    rgb[0] = c & 0xFF;
    rgb[1] = c >> 8 & 0xFF;
    rgb[2] = c >> 16 & 0xFF;
}

void applyColorStep(double rgb[3], int32_t dr, int32_t dg, int32_t db)
{
    // Doubles hold any int32 step exactly, so even scrubbing's wild deltas cannot overflow.
    if (dr == dg && dg == db) {
        // Cut the shared step in channel order so the brightest stops at 255 and the
        // darkest at 0: the differences between the channels survive.
        double s = dr;
        for (int i = 0; i < 3; ++i)
            if (rgb[i] + s > 255.0)
                s = 255.0 - rgb[i];
        for (int i = 0; i < 3; ++i)
            if (rgb[i] + s < 0.0)
                s = -rgb[i];
        for (int i = 0; i < 3; ++i)
            rgb[i] += s;
        return;
    }
    rgb[0] = clampChannel(rgb[0] + dr);
    rgb[1] = clampChannel(rgb[1] + dg);
    rgb[2] = clampChannel(rgb[2] + db);
}

void advanceRepeat(int32_t* repeatInterval, int32_t* repeatStep)
{
    if (*repeatStep > 5)
        *repeatStep -= 1;
    if (*repeatInterval > 20) {
        // 64-bit so that a nonsense step cannot overflow; real values stay far inside.
        int64_t next = static_cast<int64_t>(*repeatInterval) - *repeatStep;
        *repeatInterval = next > INT32_MAX ? INT32_MAX : static_cast<int32_t>(next);
    }
}

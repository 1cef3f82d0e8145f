// Pictures in memory for the benchmarks and the Wine tests: one whose every pixel tells
// where it came from, and its DIB section.
#pragma once

#include <windows.h>
#include <vector>

// A picture in memory, row 0 at the top, pixels as COLORREF.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;

    Picture() = default;
    Picture(int w, int h, COLORREF color = 0)
        : width(w)
        , height(h)
        , pixels(size_t(w) * h, color)
    {
    }
    COLORREF& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    COLORREF at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // Right and bottom exclusive, clipped to the picture.
    void fill(int left, int top, int right, int bottom, COLORREF color)
    {
        for (int y = top < 0 ? 0 : top; y < bottom && y < height; y++)
            for (int x = left < 0 ? 0 : left; x < right && x < width; x++)
                at(x, y) = color;
    }
};

// A colour that differs at every place of a picture up to 256 x 256: where a pixel came from
// shows in its value.
inline COLORREF placeColor(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 0x40 | ((x >> 8) & 0x0F) | (((y >> 8) & 0x03) << 4));
}

// A picture whose every pixel has its placeColor.
inline Picture placedPicture(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            picture.at(x, y) = placeColor(x, y);
    return picture;
}

// A 32-bit top-down DIB section holding the picture; the caller deletes it.
inline HBITMAP createDibFromPicture(const Picture& picture)
{
    BITMAPINFO info = { { sizeof info.bmiHeader, picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 }, {} };
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    for (size_t i = 0; bitmap && i < picture.pixels.size(); i++) {
        COLORREF c = picture.pixels[i];
        static_cast<DWORD*>(bits)[i] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
    GdiFlush();
    return bitmap;
}

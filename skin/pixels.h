// Memory device contexts: the skin's two, which own the bitmap they hold, and 32-bit
// top-down DIB sections with their own DC, where one BitBlt reads many pixels at once.
#pragma once

#include <windows.h>

struct PixelBuffer {
    HDC dc;
    HBITMAP bitmap;
    HBITMAP startBitmap; // what dc was created with, put back before deleting
    DWORD* bits;         // 0x00RRGGBB, rows top to bottom
    int width, height;
};

// A 32-bit top-down DIB section; bits receives its pixels.
HBITMAP createTopDownDIB(int width, int height, void** bits);
bool createPixelBuffer(PixelBuffer* buffer, int width, int height);
void freePixelBuffer(PixelBuffer* buffer);

// Copies a rectangle of a device context into the buffer's top-left corner.
bool capturePixels(PixelBuffer* buffer, HDC source, int x, int y, int width, int height);

// The pixel as a COLORREF (red in the low byte).
inline COLORREF pixelAt(const PixelBuffer& buffer, int x, int y)
{
    DWORD p = buffer.bits[y * buffer.width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A memory DC like the given one; startBitmap is what it was made with, to be put back.
HDC createMemoryDC(HDC like, HBITMAP* startBitmap);
// Selects bitmap into dc and deletes the one it held, unless that is the start bitmap.
void replaceBitmap(HDC dc, HBITMAP bitmap, HBITMAP startBitmap);
// Puts the start bitmap back, deletes the held one and the DC.
void deleteMemoryDC(HDC* dc, HBITMAP startBitmap);

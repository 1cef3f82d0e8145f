// Memory DCs, and DIB-section pixel buffers for reading skins, masks and the screen in bulk.
#include "skin/pixels.h"

HBITMAP createTopDownDIB(int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = NULL;
    return CreateDIBSection(NULL, &info, DIB_RGB_COLORS, bits, NULL, 0);
}

bool createPixelBuffer(PixelBuffer* buffer, int width, int height)
{
    *buffer = PixelBuffer();
    if (width <= 0 || height <= 0)
        return false;
    void* bits;
    buffer->bitmap = createTopDownDIB(width, height, &bits);
    buffer->dc = CreateCompatibleDC(NULL);
    if (!buffer->bitmap || !buffer->dc || !bits) {
        freePixelBuffer(buffer);
        return false;
    }
    buffer->startBitmap = static_cast<HBITMAP>(SelectObject(buffer->dc, buffer->bitmap));
    buffer->bits = static_cast<DWORD*>(bits);
    buffer->width = width;
    buffer->height = height;
    return true;
}

void freePixelBuffer(PixelBuffer* buffer)
{
    if (buffer->dc) {
        if (buffer->startBitmap)
            SelectObject(buffer->dc, buffer->startBitmap);
        DeleteDC(buffer->dc);
    }
    if (buffer->bitmap)
        DeleteObject(buffer->bitmap);
    *buffer = PixelBuffer();
}

bool capturePixels(PixelBuffer* buffer, HDC source, int x, int y, int width, int height)
{
    if (!buffer->dc || width > buffer->width || height > buffer->height)
        return false;
    BOOL copied = BitBlt(buffer->dc, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush(); // the bits are read directly next
    return copied != FALSE;
}

HDC createMemoryDC(HDC like, HBITMAP* startBitmap)
{
    HDC dc = CreateCompatibleDC(like);
    *startBitmap = dc ? static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)) : NULL;
    return dc;
}

void replaceBitmap(HDC dc, HBITMAP bitmap, HBITMAP startBitmap)
{
    HGDIOBJ previous = SelectObject(dc, bitmap);
    if (previous && previous != startBitmap && previous != bitmap)
        DeleteObject(previous);
}

void deleteMemoryDC(HDC* dc, HBITMAP startBitmap)
{
    if (!*dc)
        return;
    replaceBitmap(*dc, startBitmap, startBitmap);
    DeleteDC(*dc);
    *dc = NULL;
}

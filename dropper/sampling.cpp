// Screen sampling of the eye-dropper: the picked or averaged colour, and the zoom view.
#include "dropper/dropper.h"
#include "app/appstate.h"
#include "color/color.h"
#include "dropper/zoommath.h"
#include "skin/pixels.h"
#include "skin/skin.h"

void layoutZoomView()
{
    RECT box = {};
    if (app.zoomRegion)
        GetRgnBox(app.zoomRegion, &box);
    app.zoomBox = box;
    layoutZoom(box.left, box.top, box.right, box.bottom, app.activeZoom, &app.zoomLayout);
}

// One buffer, as large as the biggest averaging square, is made once and kept.
static bool ensureSampleBuffer()
{
    if (app.sampleDC)
        return true;
    PixelBuffer buffer;
    if (!createPixelBuffer(&buffer, maxAntiDither, maxAntiDither))
        return false;
    app.sampleDC = buffer.dc;
    app.sampleBitmap = buffer.bitmap;
    app.sampleDCStartBitmap = buffer.startBitmap;
    app.samplePixels = buffer.bits;
    app.sampleSide = buffer.width;
    return true;
}

void freeSamplingBuffers()
{
    PixelBuffer buffer = { app.sampleDC, app.sampleBitmap, app.sampleDCStartBitmap, app.samplePixels,
                           app.sampleSide, app.sampleSide };
    freePixelBuffer(&buffer);
    app.sampleDC = NULL;
    app.sampleBitmap = NULL;
    app.sampleDCStartBitmap = NULL;
    app.samplePixels = NULL;
    app.sampleSide = 0;
    if (app.blackBrush) {
        DeleteObject(app.blackBrush);
        app.blackBrush = NULL;
    }
}

// Reads a rectangle of the screen into the sample buffer with one copy.
static bool readScreen(int left, int top, int width, int height)
{
    if (!ensureSampleBuffer() || width > app.sampleSide || height > app.sampleSide)
        return false;
    HDC screen = GetDC(NULL);
    if (!screen)
        return false;
    BOOL copied = BitBlt(app.sampleDC, 0, 0, width, height, screen, left, top, SRCCOPY);
    ReleaseDC(NULL, screen);
    GdiFlush();
    return copied != FALSE;
}

static COLORREF sampledPixel(int x, int y)
{
    DWORD p = app.samplePixels[y * app.sampleSide + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

COLORREF screenPixel(int x, int y, COLORREF fallback)
{
    return readScreen(x, y, 1, 1) ? sampledPixel(0, 0) : fallback;
}

// The mean of the square around (x, y), leaving out the program's own active display.
COLORREF averageScreenColor(int x, int y, int side, COLORREF fallback)
{
    RECT desktopRect;
    GetWindowRect(GetDesktopWindow(), &desktopRect);
    PixelBox desktop = { desktopRect.left, desktopRect.top, desktopRect.right, desktopRect.bottom };
    PixelBox square = averagingSquare(x, y, side, desktop);
    int width = square.right - square.left, height = square.bottom - square.top;
    if (width <= 0 || height <= 0 || !readScreen(square.left, square.top, width, height))
        return fallback;

    RECT own = {};
    if (app.zoomRegion)
        GetRgnBox(app.zoomRegion, &own);
    UINT32 count = 0, red = 0, green = 0, blue = 0;
    for (int i = 0; i < width; i++) {
        for (int j = 0; j < height; j++) {
            int wx = square.left + i - app.windowRect.left, wy = square.top + j - app.windowRect.top;
            bool inOwnBox = wx >= own.left && wx < own.right && wy >= own.top && wy < own.bottom;
            if (inOwnBox && PtInRegion(app.zoomRegion, wx, wy))
                continue;
            COLORREF c = sampledPixel(i, j);
            red += GetRValue(c);
            green += GetGValue(c);
            blue += GetBValue(c);
            count++;
        }
    }
    if (count == 0)
        return fallback;
    return RGB(red / count, green / count, blue / count);
}

static void pickColor()
{
    int side = usableAntiDither(app.antiDitherTol);
    COLORREF color = side > 1 ? averageScreenColor(app.cursorPos.x, app.cursorPos.y, side, app.curColor)
                              : screenPixel(app.cursorPos.x, app.cursorPos.y, app.curColor);
    setColor(color);
}

// The lower half of a split display without zoom shows the pixel under the pointer.
static void fillZoomWithPixel()
{
    HBRUSH brush = CreateSolidBrush(screenPixel(app.cursorPos.x, app.cursorPos.y, app.curColor));
    SelectClipRgn(app.backDC, NULL);
    SelectClipRgn(app.windowDC, NULL);
    if (brush && app.zoomRegion) {
        FillRgn(app.backDC, app.zoomRegion, brush);
        FillRgn(app.windowDC, app.zoomRegion, brush);
    }
    if (brush)
        DeleteObject(brush);
}

static void drawMagnifiedView()
{
    const ZoomLayout& layout = app.zoomLayout;
    int z = app.activeZoom;
    ZoomSource source;
    clipZoomSource(app.cursorPos.x, app.cursorPos.y, layout, z, GetSystemMetrics(SM_CXSCREEN),
                   GetSystemMetrics(SM_CYSCREEN), &source);

    HDC screen = GetWindowDC(NULL);
    SelectClipRgn(app.backDC, app.zoomRegion);
    StretchBlt(app.backDC, source.destX, source.destY, layout.destWidth, layout.destHeight,
               screen, source.srcX, source.srcY, layout.sourceWidth, layout.sourceHeight, SRCCOPY);
    if (source.stripCount > 0) {
        HRGN black = createRegion(0, 0, 0, 0);
        for (int i = 0; i < source.stripCount; i++) {
            const PixelBox& s = source.strips[i];
            HRGN strip = createRegion(s.left, s.top, s.right, s.bottom);
            CombineRgn(black, black, strip, RGN_OR);
            DeleteObject(strip);
        }
        OffsetRgn(black, layout.destX, layout.destY);
        FillRgn(app.backDC, black, app.blackBrush);
        DeleteObject(black);
    }
    if (!(app.splitScreen && app.stickyZoom))
        SetPixel(app.backDC, layout.centerX, layout.centerY, RGB(255, 0, 0));
    ReleaseDC(NULL, screen);

    SelectClipRgn(app.windowDC, app.zoomRegion);
    const RECT& box = app.zoomBox;
    BitBlt(app.windowDC, box.left, box.top, box.right - box.left, box.bottom - box.top,
           app.backDC, box.left, box.top, SRCCOPY);
    refreshColorDisplay(NULL);
}

void sampleScreen()
{
    if (!app.blackBrush)
        app.blackBrush = CreateSolidBrush(0);
    GetCursorPos(&app.cursorPos);
    // A sticky magnifier in the lower half only moves the view; the colour stays.
    if (!(app.splitScreen && app.dropperInBottomHalf && app.stickyZoom))
        pickColor();

    if (app.activeZoom == 0 && app.dropperInBottomHalf) {
        fillZoomWithPixel();
        refreshColorDisplay(NULL);
    } else if (app.activeZoom == 0 || (app.splitScreen && !app.dropperInBottomHalf)) {
        refreshColorDisplay(app.zoomRegion);    // a pick in the upper half shows the plain colour
    } else {
        drawMagnifiedView();
    }
}

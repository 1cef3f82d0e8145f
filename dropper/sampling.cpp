// Screen sampling of the eye-dropper: the picked or averaged colour, and the zoom view.
#include "dropper/dropper.h"
#include "app/appstate.h"
#include "color/color.h"
#include "dropper/zoommath.h"
#include "skin/pixels.h"
#include "skin/skin.h"
#include "window/snapmath.h"

void layoutZoomView()
{
    RECT box = {};
    if (app.zoomRegion)
        GetRgnBox(app.zoomRegion, &box);
    layoutZoom(box.left, box.top, box.right, box.bottom, app.activeZoom, &app.zoomLayout);
}

// One buffer, as large as the biggest averaging square, is made once and kept.
static bool ensureSampleBuffer()
{
    return app.sample.dc || createPixelBuffer(&app.sample, maxAntiDither, maxAntiDither);
}

// The screen's DC is kept from the first read of a pick to its end: taking and giving
// it back every tick cost as much as the read itself.
static HDC screen()
{
    if (!app.screenDC)
        app.screenDC = GetDC(NULL);
    return app.screenDC;
}

void releaseScreen()
{
    if (app.screenDC) {
        ReleaseDC(NULL, app.screenDC);
        app.screenDC = NULL;
    }
}

void freeSamplingBuffers()
{
    releaseScreen();
    freePixelBuffer(&app.sample);
    if (app.blackBrush) {
        DeleteObject(app.blackBrush);
        app.blackBrush = NULL;
    }
}

// Reads a rectangle of the screen into the sample buffer with one copy.
static bool readScreen(int left, int top, int width, int height)
{
    return ensureSampleBuffer() && screen() && capturePixels(&app.sample, screen(), left, top, width, height);
}

static COLORREF sampledPixel(int x, int y)
{
    return pixelAt(app.sample, x, y);
}

// Between monitors of different sizes, as beyond the screen, there is nothing to read. The
// list holds the first maxMonitors; a point on none of them may lie on a monitor past those.
static bool onScreen(int x, int y)
{
    POINT point = { x, y };
    return onSomeMonitor(x, y, app.monitors, app.monitorCount)
        || (app.monitorCount == maxMonitors && MonitorFromPoint(point, MONITOR_DEFAULTTONULL));
}

static COLORREF screenPixel(int x, int y, COLORREF fallback)
{
    return onScreen(x, y) && readScreen(x, y, 1, 1) ? sampledPixel(0, 0) : fallback;
}

static bool isEmpty(const PixelBox& b)
{
    return b.right <= b.left || b.bottom <= b.top;
}

// The mean of square, read from the sample buffer that holds the screen from (left, top);
// points of the program's own active display and points on no monitor are left out.
static COLORREF averageRead(const PixelBox& square, int left, int top, COLORREF fallback)
{
    RECT own = {};
    if (app.zoomRegion)
        GetRgnBox(app.zoomRegion, &own);
    bool onOneMonitor = withinOneMonitor(square, app.monitors, app.monitorCount);
    UINT32 count = 0, red = 0, green = 0, blue = 0;
    for (int x = square.left; x < square.right; x++) {
        for (int y = square.top; y < square.bottom; y++) {
            if (!onOneMonitor && !onScreen(x, y))
                continue;
            int wx = skinCoordinate(x - app.windowRect.left, app.scale);
            int wy = skinCoordinate(y - app.windowRect.top, app.scale);
            bool inOwnBox = wx >= own.left && wx < own.right && wy >= own.top && wy < own.bottom;
            if (inOwnBox && PtInRegion(app.zoomRegion, wx, wy))
                continue;
            COLORREF c = sampledPixel(x - left, y - top);
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

// The square a side averages, clipped to the desktop; a side of 1 or less is the one pixel.
static PixelBox pickSquare(int x, int y, int side)
{
    if (side <= 1) {
        PixelBox pixel = { x, y, x + 1, y + 1 };
        return pixel;
    }
    const RECT& s = app.virtualScreen;
    PixelBox screen = { s.left, s.top, s.right, s.bottom };
    return averagingSquare(x, y, side, screen);
}

// The colour of square (as pickSquare gives it) from the buffer holding the screen from (left, top).
static COLORREF colorRead(const PixelBox& square, int side, int left, int top, COLORREF fallback)
{
    if (side <= 1)
        return onScreen(square.left, square.top) ? sampledPixel(square.left - left, square.top - top) : fallback;
    return averageRead(square, left, top, fallback);
}

// The mean of the square around (x, y), leaving out the program's own active display.
// A side of 1 reads one pixel.
COLORREF averageScreenColor(int x, int y, int side, COLORREF fallback)
{
    PixelBox square = pickSquare(x, y, side);
    int width = square.right - square.left, height = square.bottom - square.top;
    if (isEmpty(square) || !readScreen(square.left, square.top, width, height))
        return fallback;
    return colorRead(square, side, square.left, square.top, fallback);
}

static void pickColor()
{
    setColor(averageScreenColor(app.cursorPos.x, app.cursorPos.y, app.antiDitherTol, app.curColor));
}

// The lower half of a split display without zoom shows the pixel under the pointer.
static void fillZoomWithPixel()
{
    HBRUSH brush = CreateSolidBrush(screenPixel(app.cursorPos.x, app.cursorPos.y, app.curColor));
    SelectClipRgn(app.backDC, NULL);
    if (brush && app.zoomRegion) {
        FillRgn(app.backDC, app.zoomRegion, brush);
        presentBackBuffer(app.zoomRegion);
    }
    if (brush)
        DeleteObject(brush);
}

// What the magnified view copies this tick: the part of its source that lies on the
// screen (a copy reaching past the right or bottom edge fails as a whole under Wine,
// which left the view unpainted), and the strips around it that are painted black.
struct ViewCopy {
    ZoomSource source;
    PixelBox onScreen;
};

static ViewCopy viewCopy()
{
    const ZoomLayout& layout = app.zoomLayout;
    const RECT& s = app.virtualScreen;
    PixelBox screen = { s.left, s.top, s.right, s.bottom };
    ViewCopy copy;
    clipZoomSource(app.cursorPos.x, app.cursorPos.y, layout, app.activeZoom, screen, &copy.source);
    int right = app.cursorPos.x - layout.sourceWidth / 2 + layout.sourceWidth;
    int bottom = app.cursorPos.y - layout.sourceHeight / 2 + layout.sourceHeight;
    copy.onScreen.left = copy.source.srcX;
    copy.onScreen.top = copy.source.srcY;
    copy.onScreen.right = right < screen.right ? right : screen.right;
    copy.onScreen.bottom = bottom < screen.bottom ? bottom : screen.bottom;
    return copy;
}

// Draws the view from source, a device context holding the screen from (left, top).
static void drawMagnifiedView(const ViewCopy& copy, HDC source, int left, int top)
{
    const ZoomLayout& layout = app.zoomLayout;
    int z = app.activeZoom;
    SelectClipRgn(app.backDC, app.zoomRegion);
    const PixelBox& part = copy.onScreen;
    if (!isEmpty(part))
        StretchBlt(app.backDC, copy.source.destX, copy.source.destY, (part.right - part.left) * z,
                   (part.bottom - part.top) * z, source, part.left - left, part.top - top, part.right - part.left,
                   part.bottom - part.top, SRCCOPY);
    for (int i = 0; i < copy.source.stripCount; i++) {
        const PixelBox& s = copy.source.strips[i];
        RECT strip = { s.left + layout.destX, s.top + layout.destY, s.right + layout.destX, s.bottom + layout.destY };
        FillRect(app.backDC, &strip, app.blackBrush);
    }
    if (!(app.splitScreen && app.stickyZoom))
        SetPixel(app.backDC, layout.centerX, layout.centerY, RGB(255, 0, 0));
    presentBackBuffer(app.zoomRegion);
}

// Points of the read box that lie on no monitor show black in the view.
static void blackenOffMonitors(const PixelBox& box)
{
    if (withinOneMonitor(box, app.monitors, app.monitorCount))
        return;
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++)
            if (!onScreen(x, y))
                app.sample.bits[(y - box.top) * app.sample.width + (x - box.left)] = 0;
}

static PixelBox unite(const PixelBox& a, const PixelBox& b)
{
    if (isEmpty(a))
        return b;
    if (isEmpty(b))
        return a;
    PixelBox u = { a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                   a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom };
    return u;
}

// A magnified tick reads the screen once: the view's source and the picked square
// together, when they fit the sample buffer; otherwise each reads on its own.
static void magnify(bool pick)
{
    ViewCopy copy = viewCopy();
    int side = app.antiDitherTol;
    PixelBox square = { 0, 0, 0, 0 };
    if (pick)
        square = pickSquare(app.cursorPos.x, app.cursorPos.y, side);
    PixelBox both = unite(copy.onScreen, square);
    int width = both.right - both.left, height = both.bottom - both.top;
    if (!isEmpty(both) && width <= maxAntiDither && height <= maxAntiDither
        && readScreen(both.left, both.top, width, height)) {
        if (pick)
            setColor(isEmpty(square) ? app.curColor : colorRead(square, side, both.left, both.top, app.curColor));
        blackenOffMonitors(both);
        drawMagnifiedView(copy, app.sample.dc, both.left, both.top);
        return;
    }
    if (pick)
        pickColor();
    drawMagnifiedView(copy, screen(), 0, 0);
}

static void magnifiedTick(bool pick)
{
    COLORREF before = app.curColor;
    magnify(pick);
    // The fields and the title show nothing but the colour: redrawn only when it changed,
    // since rewriting the title each tick costs as much as reading the screen.
    if (app.curColor != before)
        refreshColorDisplay(NULL);
}

void sampleScreen()
{
    if (!app.blackBrush)
        app.blackBrush = CreateSolidBrush(0);
    // The pointer is where the last pointer message found it: a pick holds the capture, so
    // every move reaches the window first. Asking the system again each tick cost two
    // screen reads under Wine, which queries the X server when the pointer is still.
    // A sticky magnifier in the lower half only moves the view; the colour stays.
    bool pick = !(app.splitScreen && app.dropperInBottomHalf && app.stickyZoom);
    if (app.activeZoom != 0 && (!app.splitScreen || app.dropperInBottomHalf)) {
        magnifiedTick(pick);
        return;
    }
    if (pick)
        pickColor();
    if (app.activeZoom == 0 && app.dropperInBottomHalf) {
        fillZoomWithPixel();
        refreshColorDisplay(NULL);
    } else {
        refreshColorDisplay(app.zoomRegion); // a pick in the upper half shows the plain colour
    }
}

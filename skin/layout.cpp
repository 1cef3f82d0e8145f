// The skin's regions: the built-in layout, the shape from the colour key, the final
// translation to window coordinates, and the one drawing rule of the skin.
#include "skin/skin.h"
#include "app/appstate.h"
#include "skin/pixels.h"
#include "skin/runregion.h"
#include "window/window.h"

static const COLORREF colorKey = RGB(255, 0, 255);
static const LayoutRect displayTopRect = { 18, 20, 65, 40 };
static const LayoutRect displayBottomRect = { 18, 40, 65, 60 };

// Every region of the skin is essential: without one the window cannot be shaped or hit.
HRGN createRegion(int left, int top, int right, int bottom)
{
    HRGN region = CreateRectRgn(left, top, right, bottom);
    if (!region)
        fatal(-1);
    return region;
}

static HRGN copyRegion(HRGN source)
{
    HRGN copy = createRegion(0, 0, 0, 0);
    if (source)
        CombineRgn(copy, source, NULL, RGN_COPY);
    return copy;
}

// Unites source into *target; a null source adds nothing, a null target starts as a copy.
static void combineInto(HRGN* target, HRGN source)
{
    if (!*target)
        *target = createRegion(0, 0, 0, 0);
    if (source)
        CombineRgn(*target, *target, source, RGN_OR);
}

static HRGN intersectRect(const LayoutRect& r, HRGN shape)
{
    HRGN region = createRegion(r.left, r.top, r.right, r.bottom);
    CombineRgn(region, region, shape, RGN_AND);
    return region;
}

// The face's pixels that are not the key colour, gathered run by run and made a region
// at once; the pressed pictures to the right of the face are no part of the shape.
static HRGN buildShapeFromKey()
{
    int width = faceWidth, height = faceHeight;
    PixelBuffer face;
    if (!createPixelBuffer(&face, width, height))
        fatal(-1);
    capturePixels(&face, app.skinDC, 0, 0, width, height);
    RunRegion runs = {};
    for (int y = 0; y < height; y++) {
        int x = 0;
        while (x < width) {
            bool key = pixelAt(face, x, y) == colorKey;
            int end = x + 1;
            while (end < width && (pixelAt(face, end, y) == colorKey) == key)
                end++;
            if (!key)
                addRun(&runs, x, y, end - x);
            x = end;
        }
    }
    freePixelBuffer(&face);
    HRGN shape = finishRunRegion(&runs);
    return shape ? shape : createRegion(0, 0, 0, 0);
}

void buildDefaultLayout()
{
    HRGN shape = buildShapeFromKey();
    HRGN shifted = copyRegion(shape);
    OffsetRgn(shifted, faceWidth, 0);

    app.displayTopRegion = intersectRect(displayTopRect, shape);
    app.displayBottomRegion = intersectRect(displayBottomRect, shape);

    for (int i = 0; i < skinButtonCount; i++) {
        const LayoutRect& r = buttonDescriptions[i].face;
        const LayoutRect pressed = { r.left + faceWidth, r.top, r.right + faceWidth, r.bottom };
        app.skinButtons[i].hitRegion = intersectRect(r, shape);
        app.skinButtons[i].faceRegion = intersectRect(r, shape);
        app.skinButtons[i].pressedRegion = intersectRect(pressed, shifted);
    }
    for (int i = 0; i < drawnFieldCount; i++) {
        app.valueFields[i].region = intersectRect(fieldDescriptions[i].rect, shape);
        app.valueFields[i].textX = fieldDescriptions[i].textX;
        app.valueFields[i].textY = fieldDescriptions[i].textY;
    }

    // The display halves stay in the body in this layout; callers test the display first.
    app.bodySkinRegion = copyRegion(shape);
    for (int i = 0; i < skinButtonCount; i++)
        CombineRgn(app.bodySkinRegion, app.bodySkinRegion, app.skinButtons[i].hitRegion, RGN_DIFF);
    for (int i = 0; i < drawnFieldCount; i++)
        CombineRgn(app.bodySkinRegion, app.bodySkinRegion, app.valueFields[i].region, RGN_DIFF);

    DeleteObject(shape);
    DeleteObject(shifted);
}

HRGN finishLayout()
{
    app.bodyRegion = copyRegion(app.bodySkinRegion);
    app.displayRegion = copyRegion(app.displayTopRegion);
    combineInto(&app.displayRegion, app.displayBottomRegion);
    app.displaySkinRegion = copyRegion(app.displayRegion);
    app.zoomRegion = app.splitScreen ? app.displayBottomRegion : app.displayRegion;

    app.titleButtonsRegion = createRegion(0, 0, 0, 0);
    for (int i = 0; i < titleButtonCount; i++)
        combineInto(&app.titleButtonsRegion, app.skinButtons[i].hitRegion);
    app.channelButtonsRegion = createRegion(0, 0, 0, 0);
    for (int i = titleButtonCount; i < skinButtonCount; i++)
        combineInto(&app.channelButtonsRegion, app.skinButtons[i].hitRegion);
    app.valueFieldsSkinRegion = createRegion(0, 0, 0, 0);
    for (int i = 0; i < drawnFieldCount; i++)
        combineInto(&app.valueFieldsSkinRegion, app.valueFields[i].region);
    app.valueFieldsRegion = copyRegion(app.valueFieldsSkinRegion);

    HRGN extent = copyRegion(app.bodySkinRegion);
    combineInto(&extent, app.displayRegion);
    combineInto(&extent, app.titleButtonsRegion);
    combineInto(&extent, app.channelButtonsRegion);
    combineInto(&extent, app.valueFieldsRegion);
    RECT box;
    if (GetRgnBox(extent, &box) == NULLREGION)
        SetRectEmpty(&box);

    app.skinWidth = box.right - box.left;
    app.skinHeight = box.bottom - box.top;

    if (box.left != 0 || box.top != 0) {
        int dx = -box.left, dy = -box.top;
        HRGN moved[]
            = { app.bodyRegion,         app.displayRegion,        app.displayTopRegion, app.displayBottomRegion,
                app.titleButtonsRegion, app.channelButtonsRegion, app.valueFieldsRegion };
        for (HRGN region : moved)
            if (region)
                OffsetRgn(region, dx, dy);
        for (SkinButton& button : app.skinButtons)
            if (button.hitRegion)
                OffsetRgn(button.hitRegion, dx, dy);
        for (int i = 0; i < drawnFieldCount; i++) {
            ValueField& field = app.valueFields[i];
            if (field.region)
                OffsetRgn(field.region, dx, dy);
            field.textX += dx;
            field.textY += dy;
        }
    }

    app.windowRegion = copyRegion(app.bodyRegion);
    combineInto(&app.windowRegion, app.displayRegion);
    combineInto(&app.windowRegion, app.titleButtonsRegion);
    combineInto(&app.windowRegion, app.channelButtonsRegion);
    combineInto(&app.windowRegion, app.valueFieldsRegion);
    return extent;
}

// The region in window pixels: each skin pixel scale x scale of them.
HRGN windowPixels(HRGN region)
{
    // Rebuilding a region from its rectangles costs Wine the square of their number.
    if (app.scale == 1)
        return copyRegion(region);
    DWORD size = GetRegionData(region, 0, NULL);
    RGNDATA* data = static_cast<RGNDATA*>(malloc(size));
    if (!data || !GetRegionData(region, size, data))
        fatal(-1);
    RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; i++)
        SetRect(&rects[i], rects[i].left * app.scale, rects[i].top * app.scale, rects[i].right * app.scale,
                rects[i].bottom * app.scale);
    SetRect(&data->rdh.rcBound, 0, 0, 0, 0); // worked out anew
    HRGN scaled = ExtCreateRegion(NULL, size, data);
    free(data);
    if (!scaled)
        fatal(-1);
    return scaled;
}

// The window at its factor: its size from windowRect's top-left and its shape.
void shapeWindow(HWND window, UINT flags)
{
    RECT& r = app.windowRect;
    r.right = r.left + app.skinWidth * app.scale;
    r.bottom = r.top + app.skinHeight * app.scale;
    // A new skin or factor is no reason to take the foreground from another program.
    SetWindowPos(window, NULL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 flags | SWP_NOZORDER | SWP_NOACTIVATE);
    // The system owns the region from here on; a window not yet shown is painted whole anyway.
    SetWindowRgn(window, windowPixels(app.windowRegion), IsWindowVisible(window));
}

static void deleteRegion(HRGN* region)
{
    if (*region) {
        DeleteObject(*region);
        *region = NULL;
    }
}

void freeSkinRegions(HWND window)
{
    hideToolTip(); // a tip shown for a button must not outlive the button's region
    // Only an earlier skin shaped the window; clearing no shape still costs an X request.
    if (window && app.windowRegion)
        SetWindowRgn(window, NULL, FALSE);
    HDC dcs[] = { app.windowDC, app.backDC, app.skinDC };
    for (HDC dc : dcs)
        if (dc)
            SelectClipRgn(dc, NULL);

    for (SkinButton& button : app.skinButtons) {
        deleteRegion(&button.hitRegion);
        deleteRegion(&button.faceRegion);
        deleteRegion(&button.pressedRegion);
    }
    for (ValueField& field : app.valueFields)
        deleteRegion(&field.region);
    HRGN* regions[] = {
        &app.windowRegion,         &app.bodyRegion,        &app.bodySkinRegion,        &app.titleButtonsRegion,
        &app.channelButtonsRegion, &app.valueFieldsRegion, &app.valueFieldsSkinRegion, &app.displayTopRegion,
        &app.displayBottomRegion,  &app.displayRegion,     &app.displaySkinRegion,
    };
    for (HRGN* region : regions)
        deleteRegion(region);
    app.zoomRegion = NULL;
}

void blitSkinRegion(HDC target, HRGN destination, HRGN source)
{
    if (!destination || !source || !app.skinDC || !target)
        return;
    RECT from, to;
    GetRgnBox(source, &from);
    GetRgnBox(destination, &to);
    SelectClipRgn(target, destination);
    BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, app.skinDC, from.left, from.top, SRCCOPY);
    SelectClipRgn(target, NULL);
}

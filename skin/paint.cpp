// Painting: the back buffer onto the window, the colour display and value fields,
// buttons drawn pressed and released, and the splash picture.
#include "skin/skin.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "window/window.h"

#include <cstring>

// The one place pictures reach the window: region (skin pixels; null, the whole window)
// of source, read from where the from region lies (null: the same place), each pixel
// scale x scale window pixels, copied and never blended, so the artwork stays crisp.
void showOnWindow(HDC source, HRGN region, HRGN from)
{
    if (!app.windowDC || !source)
        return;
    RECT box = { 0, 0, app.skinWidth, app.skinHeight };
    if (region)
        GetRgnBox(region, &box);
    RECT origin = box;
    if (from)
        GetRgnBox(from, &origin);
    int n = app.scale, width = box.right - box.left, height = box.bottom - box.top;
    HRGN clip = region && n > 1 ? windowPixels(region) : region;
    SelectClipRgn(app.windowDC, clip);
    StretchBlt(app.windowDC, box.left * n, box.top * n, width * n, height * n, source, origin.left, origin.top, width,
               height, SRCCOPY);
    SelectClipRgn(app.windowDC, NULL);
    if (clip != region)
        DeleteObject(clip);
}

void presentBackBuffer(HRGN region)
{
    showOnWindow(app.backDC, region, NULL);
}

// Before its first paint the window is not yet on the screen, and that paint copies the
// whole back buffer: pictures drawn until then go to the back buffer only.
HDC shownWindowDC()
{
    return app.windowPainted ? app.windowDC : NULL;
}

static void drawFieldText(const ValueField& field)
{
    if (!field.region)
        return;
    SetTextColor(app.backDC, field.textColor);
    TextOutA(app.backDC, field.textX, field.textY, field.text, static_cast<int>(strlen(field.text)));
}

// The fields are rebuilt in the back buffer and copied in one clipped copy, so they
// never flicker.
static void drawFields()
{
    blitSkinRegion(app.backDC, app.valueFieldsRegion, app.valueFieldsSkinRegion);
    // Text is clipped to the fields, the area restored before each value: beyond them
    // older values would pile up on the skin. (The built-in hexadecimal texts reach one
    // column into the next field, so it is all the fields, not each its own.)
    SelectClipRgn(app.backDC, app.valueFieldsRegion);
    for (int i = 0; i < drawnFieldCount; i++)
        drawFieldText(app.valueFields[i]);
    SelectClipRgn(app.backDC, NULL);
    if (app.valueFieldsRegion && shownWindowDC())
        presentBackBuffer(app.valueFieldsRegion);
    for (int i = 0; i < drawnFieldCount; i++)
        memcpy(app.valueFields[i].shownText, app.valueFields[i].text, sizeof app.valueFields[i].text);
    app.fieldsShown = true;
}

static bool fieldsShowTheirTexts()
{
    for (int i = 0; i < drawnFieldCount; i++)
        if (strcmp(app.valueFields[i].text, app.valueFields[i].shownText) != 0)
            return false;
    return app.fieldsShown;
}

// The display is filled only when a region is given. Fields that already show their
// texts are left alone: a pick refreshes every tick, mostly with the colour it had.
void refreshColorDisplay(HRGN region)
{
    if (app.backDC && app.windowDC) {
        SelectClipRgn(app.backDC, NULL);
        if (region && !app.splashShowing) {
            HBRUSH brush = CreateSolidBrush(app.curColor);
            if (brush) {
                FillRgn(app.backDC, region, brush);
                DeleteObject(brush);
            }
            if (shownWindowDC())
                presentBackBuffer(region);
        }
        if (!fieldsShowTheirTexts())
            drawFields();
    }
    updateTitle();
}

// Transient pictures go to the window only: a repaint shows the back buffer again.
void drawButton(int index, bool pressed)
{
    const SkinButton& button = app.skinButtons[index];
    HRGN source = pressed ? button.pressedRegion : button.faceRegion;
    if (button.hitRegion && source)
        showOnWindow(app.skinDC, button.hitRegion, source);
}

void releaseChannelButton()
{
    for (int i = titleButtonCount; i < skinButtonCount; i++) {
        if (app.skinButtons[i].pressed) {
            app.skinButtons[i].pressed = false;
            drawButton(i, false);
            return;
        }
    }
}

void showSplash(HWND window)
{
    if (!app.splashScreen || app.splashShowing)
        return;
    app.splashShowing = true;
    if (shownWindowDC())
        showOnWindow(app.skinDC, app.displayRegion, app.displaySkinRegion);
    SetTimer(window, TIMER_SPLASH, 1000, NULL);
}

void endSplash(HWND window)
{
    KillTimer(window, TIMER_SPLASH);
    app.splashShowing = false;
    refreshColorDisplay(app.displayRegion);
}

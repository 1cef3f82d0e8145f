// Painting: the back buffer onto the window, the colour display and value fields,
// buttons drawn pressed and released, and the splash picture.
#include "skin/skin.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "window/window.h"

#include <cstring>

void presentBackBuffer(HRGN region)
{
    if (!app.windowDC || !app.backDC)
        return;
    SelectClipRgn(app.windowDC, region);
    RECT box = { 0, 0, app.windowRect.right - app.windowRect.left, app.windowRect.bottom - app.windowRect.top };
    if (region)
        GetRgnBox(region, &box);
    BitBlt(app.windowDC, box.left, box.top, box.right - box.left, box.bottom - box.top, app.backDC, box.left, box.top,
           SRCCOPY);
    SelectClipRgn(app.windowDC, NULL);
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
    HDC windowDC = shownWindowDC();
    if (app.valueFieldsRegion && windowDC) {
        RECT box;
        GetRgnBox(app.valueFieldsRegion, &box);
        SelectClipRgn(windowDC, app.valueFieldsRegion);
        BitBlt(windowDC, box.left, box.top, box.right - box.left, box.bottom - box.top, app.backDC, box.left, box.top,
               SRCCOPY);
        SelectClipRgn(windowDC, NULL);
    }
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
        SelectClipRgn(app.windowDC, NULL);
        if (region && !app.splashShowing) {
            HBRUSH brush = CreateSolidBrush(app.curColor);
            HDC windowDC = shownWindowDC();
            if (brush) {
                FillRgn(app.backDC, region, brush);
                if (windowDC)
                    FillRgn(windowDC, region, brush);
                DeleteObject(brush);
            }
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
    blitSkinRegion(app.windowDC, button.hitRegion, pressed ? button.pressedRegion : button.faceRegion);
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
    blitSkinRegion(shownWindowDC(), app.displayRegion, app.displaySkinRegion);
    SetTimer(window, TIMER_SPLASH, 1000, NULL);
}

void endSplash(HWND window)
{
    KillTimer(window, TIMER_SPLASH);
    app.splashShowing = false;
    refreshColorDisplay(app.displayRegion);
}

// The current colour: the three channel values, their steps and the channel buttons' repeat,
// the text form chosen, and a pasted text read into the colour.
#include "color/color.h"
#include "app/appstate.h"
#include "color/colormath.h"
#include "color/colortext.h"
#include "res/resource.h"
#include "skin/skin.h"
#include "window/snapmath.h"
#include "window/window.h"

#include <cstring>

static void readChannels(double rgb[3])
{
    rgb[0] = app.valueFields[redDecField].value;
    rgb[1] = app.valueFields[greenDecField].value;
    rgb[2] = app.valueFields[blueDecField].value;
}

static void writeChannels(const double rgb[3])
{
    app.valueFields[redDecField].value = rgb[0];
    app.valueFields[greenDecField].value = rgb[1];
    app.valueFields[blueDecField].value = rgb[2];
}

void formatColorTexts()
{
    double rgb[3];
    readChannels(rgb);
    ColorTexts texts;
    buildColorTexts(rgb, &texts);
    for (int i = 0; i < 3; i++) {
        app.valueFields[redHexField + i].value = rgb[i];
        app.valueFields[redFloatField + i].value = rgb[i] / 255.0;
        memcpy(app.valueFields[redDecField + i].text, texts.decField[i], sizeof texts.decField[i]);
        memcpy(app.valueFields[redHexField + i].text, texts.hexField[i], sizeof texts.hexField[i]);
        memcpy(app.valueFields[redFloatField + i].text, texts.floatField[i], sizeof texts.floatField[i]);
    }
    app.curColor = packColor(rgb);
    memcpy(app.hexText, texts.hexText, sizeof app.hexText);
    memcpy(app.decText, texts.decText, sizeof app.decText);
    memcpy(app.floatText, texts.floatText, sizeof app.floatText);
}

void adjustColor(int32_t dr, int32_t dg, int32_t db)
{
    double rgb[3];
    readChannels(rgb);
    applyColorStep(rgb, dr, dg, db);
    writeChannels(rgb);
    formatColorTexts();
    refreshColorDisplay(app.channelPressed ? app.zoomRegion : app.displayRegion);
}

// 256 or more leaves a channel alone; callers pass all bits set for that.
static void setChannels(uint32_t r, uint32_t g, uint32_t b)
{
    double rgb[3];
    readChannels(rgb);
    const uint32_t wanted[3] = { r, g, b };
    for (int i = 0; i < 3; i++)
        if (wanted[i] < 256)
            rgb[i] = wanted[i];
    writeChannels(rgb);
    formatColorTexts();
}

void setColor(COLORREF color)
{
    double rgb[3];
    unpackColor(color, rgb);
    writeChannels(rgb);
    formatColorTexts();
}

void stepChannels(int button)
{
    const ButtonDescription& steps = buttonDescriptions[button];
    adjustColor(steps.red, steps.green, steps.blue);
}

void startRepeat(HWND window)
{
    app.repeatInterval = 150;
    app.repeatStep = 20;
    SetTimer(window, TIMER_REPEAT, app.repeatInterval, NULL);
}

// The held button repeats only while the pointer is on it; the acceleration goes on
// regardless, so coming back resumes at the rate reached.
void repeatTick(HWND window)
{
    KillTimer(window, TIMER_REPEAT);
    if (app.channelScrubbing)
        return;
    GetCursorPos(&app.cursorPos);
    int x = skinCoordinate(app.cursorPos.x - app.windowRect.left, app.scale);
    int y = skinCoordinate(app.cursorPos.y - app.windowRect.top, app.scale);
    for (int i = titleButtonCount; i < skinButtonCount; i++) {
        const SkinButton& button = app.skinButtons[i];
        if (button.pressed && button.hitRegion && PtInRegion(button.hitRegion, x, y)) {
            stepChannels(i);
            break;
        }
    }
    advanceRepeat(&app.repeatInterval, &app.repeatStep);
    SetTimer(window, TIMER_REPEAT, app.repeatInterval, NULL);
}

void setColorFormat(int format)
{
    app.colorFormat = format;
    updateTitle();
}

const char* colorTextForFormat(int format)
{
    switch (format) {
    case Hex: return app.hexText;
    case Dec: return app.decText;
    case Float: return app.floatText;
    }
    return NULL;
}

bool pasteColor(uint32_t selector)
{
    char* text;
    if (!readClipboardText(&text))
        return false;
    PasteResult result;
    bool parsed = parseColorText(text, selector, &result);
    free(text);
    if (!parsed)
        return false;

    if (selector == pasteWholeColor && app.autoFormat)
        setColorFormat(result.form);
    setChannels(result.red, result.green, result.blue);
    recordColor(&app.history, app.curColor);
    refreshColorDisplay(app.displayRegion);
    return true;
}

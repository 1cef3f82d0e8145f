// The press modes of the mouse: title buttons, channel buttons with repeat and scrubbing,
// window dragging and the eye-dropper; and the double and right clicks.
#include "dropper/dropper.h"
#include "app/appstate.h"
#include "color/color.h"
#include "color/colortext.h"
#include "dropper/zoommath.h"
#include "res/resource.h"
#include "skin/skin.h"
#include "window/snapmath.h"
#include "window/window.h"

#include <tpcshrd.h>

// Mouse messages carry the point as two unsigned 16-bit words, in window pixels; the
// regions it is tested against count skin pixels.
static POINT pointFrom(LPARAM lParam)
{
    POINT p = { skinCoordinate(LOWORD(lParam), app.scale), skinCoordinate(HIWORD(lParam), app.scale) };
    return p;
}

static bool inRegion(HRGN region, POINT p)
{
    return region && PtInRegion(region, p.x, p.y);
}

static POINT cursorInWindow()
{
    POINT p = { skinCoordinate(app.cursorPos.x - app.windowRect.left, app.scale),
                skinCoordinate(app.cursorPos.y - app.windowRect.top, app.scale) };
    return p;
}

bool pointerActionInProgress()
{
    return app.dropperActive || app.channelPressed || app.channelScrubbing;
}

// The button under p, or -1; buttons never overlap, so the search order does not matter.
static int buttonAt(POINT p, int first, int end)
{
    for (int i = first; i < end; i++)
        if (inRegion(app.skinButtons[i].hitRegion, p))
            return i;
    return -1;
}

void onLeftButtonDown(HWND window, WPARAM, LPARAM lParam)
{
    GetCursorPos(&app.cursorPos);
    app.leftButtonDown = true;
    refreshWindowMetrics(window);
    POINT p = pointFrom(lParam);
    // Moves count from the press itself: a press handled late (the program busy) would
    // otherwise lose what the pointer moved in the meantime.
    app.lastCursorPos.x = app.windowRect.left + LOWORD(lParam);
    app.lastCursorPos.y = app.windowRect.top + HIWORD(lParam);
    // Captured from the press on, so the release is seen wherever it happens.
    SetCapture(window);

    if (inRegion(app.displayRegion, p)) {
        if (!app.splashShowing)
            SetTimer(window, TIMER_DROPPER_DELAY, 100, NULL);
        return;
    }
    int index = buttonAt(p, 0, skinButtonCount);
    if (index >= 0) {
        app.skinButtons[index].pressed = true;
        if (index >= titleButtonCount) {
            app.channelPressed = true;
            app.zoomRegion = app.splitScreen ? app.displayBottomRegion : app.displayRegion;
            stepChannels(index);
            startRepeat(window);
        }
        drawButton(index, true);
        return;
    }
    app.draggingWindow = true;
    app.dragRect = app.windowRect;
}

// Off the held pair the pointer itself drives the channel: right and up raise it, a step a
// skin pixel (what is left of one carries over). The channel buttons come in pairs, More
// before Less.
static bool scrub(int moveX, int moveY)
{
    int dx = moveX / app.scale, dy = moveY / app.scale;
    POINT p = cursorInWindow();
    for (int more = titleButtonCount; more < skinButtonCount; more += 2) {
        int less = more + 1;
        if (!app.skinButtons[less].pressed && !app.skinButtons[more].pressed)
            continue;
        if (inRegion(app.skinButtons[less].hitRegion, p) || inRegion(app.skinButtons[more].hitRegion, p))
            continue;
        const ButtonDescription& up = buttonDescriptions[more];
        app.channelScrubbing = true;
        app.lastCursorPos.x -= moveX % app.scale;
        app.lastCursorPos.y -= moveY % app.scale;
        adjustColor(dx * up.red, dx * up.green, dx * up.blue);
        adjustColor(-dy * up.red, -dy * up.green, -dy * up.blue);
        return true;
    }
    return false;
}

// Snapping and always on top show their button pressed while they are on.
static bool isLatched(int index)
{
    return (index == onTopButton && app.alwaysOnTop) || (index == snapButton && app.snapTol != 0);
}

// A held title button follows the pointer like a push button; latched toggles stay pressed.
static void trackTitleButtons(LPARAM lParam)
{
    POINT p = pointFrom(lParam);
    int toPress = -1, toRelease = -1;
    for (int index = 0; index < titleButtonCount; index++) {
        const SkinButton& button = app.skinButtons[index];
        if (inRegion(button.hitRegion, p))
            toPress = index;
        else if (button.pressed && !isLatched(index))
            toRelease = index;
    }
    if (toPress >= 0) {
        app.skinButtons[toPress].pressed = true;
        drawButton(toPress, true);
    }
    if (toRelease >= 0) {
        app.skinButtons[toRelease].pressed = false;
        drawButton(toRelease, false);
    }
}

void onPressedMove(HWND window, WPARAM, LPARAM lParam)
{
    GetCursorPos(&app.cursorPos);
    int dx = app.cursorPos.x - app.lastCursorPos.x;
    int dy = app.cursorPos.y - app.lastCursorPos.y;
    app.lastCursorPos = app.cursorPos;

    if (app.draggingWindow) {
        moveWindowSnapped(window, dx, dy);
        return;
    }
    if (app.dropperActive) {
        sampleScreen();
        return;
    }
    if (scrub(dx, dy) || app.channelPressed)
        return;
    trackTitleButtons(lParam);
}

void onLeftButtonUp(HWND window, WPARAM, LPARAM lParam)
{
    GetCursorPos(&app.cursorPos);
    if (!app.leftButtonDown)
        return;
    bool dragged = app.draggingWindow;
    app.leftButtonDown = false; // before the capture goes: losing it is then no loss
    app.draggingWindow = false;
    ReleaseCapture();
    if (pointerActionInProgress()) {
        acceptPress(window);
        return;
    }
    // Snapping can move the window under a still pointer: a drag never ends in a button's action.
    if (dragged)
        return;
    // The title button under the pointer at the release acts, wherever the press on them began.
    int index = buttonAt(pointFrom(lParam), 0, titleButtonCount);
    if (index >= 0)
        buttonDescriptions[index].action(window);
}

static void startDropper(HWND window)
{
    SetCapture(window);
    SetCursor(LoadCursorA(NULL, IDC_CROSS));
    app.dropperInBottomHalf = false;
    if (app.splitScreen) {
        if (inRegion(app.displayBottomRegion, cursorInWindow())) {
            app.dropperInBottomHalf = true;
            app.zoomRegion = app.displayBottomRegion;
        } else {
            app.zoomRegion = app.displayTopRegion;
        }
    } else {
        app.zoomRegion = app.displayRegion;
    }
    app.activeZoom = app.zoomFactor;
    if (app.activeZoom != 0)
        layoutZoomView();
    app.dropperActive = true;
    SetTimer(window, TIMER_SAMPLING, 1, NULL);
}

void onDropperDelay(HWND window)
{
    KillTimer(window, TIMER_DROPPER_DELAY);
    GetCursorPos(&app.cursorPos);
    if (inRegion(app.displayRegion, cursorInWindow()) && app.leftButtonDown)
        startDropper(window);
}

static void stopPressTimers(HWND window)
{
    KillTimer(window, TIMER_DROPPER_DELAY);
    KillTimer(window, TIMER_SAMPLING);
    KillTimer(window, TIMER_REPEAT);
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    ReleaseCapture();
    releaseScreen();
}

void acceptPress(HWND window)
{
    stopPressTimers(window);
    recordColor(&app.history, app.curColor);
    app.dropperActive = false;
    app.channelPressed = false;
    app.channelScrubbing = false;
    releaseChannelButton();
    if (!(app.splitScreen && app.stickyZoom))
        refreshColorDisplay(app.displayRegion);
    app.dropperInBottomHalf = false;
}

void cancelPress(HWND window)
{
    app.leftButtonDown = false;
    stopPressTimers(window);
    app.dropperActive = false;
    app.channelPressed = false;
    app.channelScrubbing = false;
    releaseChannelButton();
    setColor(currentColor(&app.history));
    refreshColorDisplay(app.zoomRegion);
    app.dropperInBottomHalf = false;
}

// Another window or the system took the mouse (a dialog, Alt+Tab): the press ends as a
// cancel does, and a drag or a held title button simply lets go.
void onCaptureChanged(HWND window, HWND newCapture)
{
    if (newCapture == window || !app.leftButtonDown)
        return;
    if (pointerActionInProgress()) {
        cancelPress(window);
        return;
    }
    KillTimer(window, TIMER_DROPPER_DELAY);
    app.leftButtonDown = false;
    app.draggingWindow = false;
    for (int i = 0; i < titleButtonCount; i++) {
        if (app.skinButtons[i].pressed && !isLatched(i)) {
            app.skinButtons[i].pressed = false;
            drawButton(i, false);
        }
    }
}

// Holding is Huebrick's own gesture on the display (a pick) and on the channel buttons (the
// repeat); anywhere else a long press is the right click it is everywhere in Windows: a copy of
// a field, the menu.
LRESULT onGestureQuery(LPARAM point)
{
    app.cursorPos.x = static_cast<short>(LOWORD(point));
    app.cursorPos.y = static_cast<short>(HIWORD(point));
    POINT p = cursorInWindow();
    return inRegion(app.displayRegion, p) || inRegion(app.channelButtonsRegion, p) ? TABLET_DISABLE_PRESSANDHOLD : 0;
}

void onLeftDoubleClick(HWND window, WPARAM wParam, LPARAM lParam)
{
    POINT p = pointFrom(lParam);
    if (inRegion(app.displayRegion, p)) {
        KillTimer(window, TIMER_SAMPLING);
        if (pasteColor(pasteWholeColor))
            formatColorTexts();
        return;
    }
    for (int i = 0; i < drawnFieldCount; i++) {
        if (inRegion(app.valueFields[i].region, p)) {
            if (pasteColor(fieldDescriptions[i].pasteSelector))
                formatColorTexts();
            return;
        }
    }
    if (inRegion(app.bodyRegion, p)) {
        minimizeOrRestore(window);
        return;
    }
    onLeftButtonDown(window, wParam, lParam); // fast clicks on a button still count
}

void onRightButtonUp(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (pointerActionInProgress()) {
        cancelPress(window);
        return;
    }
    if (wParam & MK_LBUTTON)
        return;
    POINT p = pointFrom(lParam);
    if (inRegion(app.displayRegion, p)) {
        const char* text = colorTextForFormat(app.colorFormat);
        if (text)
            copyColorText(text);
        return;
    }
    for (int i = 0; i < drawnFieldCount; i++) {
        if (inRegion(app.valueFields[i].region, p)) {
            copyColorText(app.valueFields[i].text);
            return;
        }
    }
    GetCursorPos(&app.cursorPos);
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(app.cursorPos.x, app.cursorPos.y));
    app.leftButtonDown = false;
}

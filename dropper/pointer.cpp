// The press modes of the mouse: title buttons, channel buttons with repeat and scrubbing,
// window dragging and the eye-dropper; and the double and right clicks.
#include "dropper/dropper.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "color/colortext.h"
#include "dropper/zoommath.h"
#include "res/resource.h"
#include "skin/skin.h"
#include "window/window.h"

// Mouse messages carry the point as two unsigned 16-bit words.
static POINT pointFrom(LPARAM lParam)
{
    POINT p = { static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam)) };
    return p;
}

static bool inRegion(HRGN region, POINT p)
{
    return region && PtInRegion(region, p.x, p.y);
}

static POINT cursorInWindow()
{
    POINT p = { app.cursorPos.x - app.windowRect.left, app.cursorPos.y - app.windowRect.top };
    return p;
}

static const SkinButtonIndex titleOrder[] = { closeButton, minimizeButton, onTopButton, snapButton };
static const SkinButtonIndex titleReleaseOrder[] = { snapButton, onTopButton, minimizeButton, closeButton };
static const SkinButtonIndex channelOrder[] = {
    lessRedButton, moreRedButton, lessGreenButton, moreGreenButton,
    lessBlueButton, moreBlueButton, lessWhiteButton, moreWhiteButton,
};

void onLeftButtonDown(HWND window, WPARAM, LPARAM lParam)
{
    GetCursorPos(&app.cursorPos);
    app.leftButtonDown = true;
    app.lastCursorPos = app.cursorPos;
    refreshWindowMetrics(window);
    POINT p = pointFrom(lParam);

    if (inRegion(app.displayRegion, p)) {
        if (!app.splashShowing)
            SetTimer(window, TIMER_DROPPER_DELAY, 100, NULL);
        return;
    }
    for (SkinButtonIndex index : titleOrder) {
        if (inRegion(app.skinButtons[index].hitRegion, p)) {
            SetCapture(window);
            app.skinButtons[index].pressed = true;
            drawButton(index, true);
            return;
        }
    }
    for (SkinButtonIndex index : channelOrder) {
        SkinButton& button = app.skinButtons[index];
        if (inRegion(button.hitRegion, p)) {
            SetCapture(window);
            app.channelPressed = true;
            button.pressed = true;
            app.zoomRegion = app.splitScreen ? app.displayBottomRegion : app.displayRegion;
            button.action(window);
            drawButton(index, true);
            startRepeat(window);
            return;
        }
    }
    SetCapture(window);
    app.draggingWindow = true;
    app.dragRect = app.windowRect;
}

struct ScrubPair { SkinButtonIndex less, more; int red, green, blue; };

static const ScrubPair scrubPairs[] = {
    { lessRedButton, moreRedButton, 1, 0, 0 },
    { lessGreenButton, moreGreenButton, 0, 1, 0 },
    { lessBlueButton, moreBlueButton, 0, 0, 1 },
    { lessWhiteButton, moreWhiteButton, 1, 1, 1 },
};

// Off the held pair the pointer itself drives the channel: right and up raise it.
static bool scrub(int dx, int dy)
{
    POINT p = cursorInWindow();
    for (const ScrubPair& pair : scrubPairs) {
        const SkinButton& less = app.skinButtons[pair.less];
        const SkinButton& more = app.skinButtons[pair.more];
        if (!less.pressed && !more.pressed)
            continue;
        if (inRegion(less.hitRegion, p) || inRegion(more.hitRegion, p))
            continue;
        app.channelScrubbing = true;
        adjustColor(dx * pair.red, dx * pair.green, dx * pair.blue);
        adjustColor(-dy * pair.red, -dy * pair.green, -dy * pair.blue);
        return true;
    }
    return false;
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

// A held title button follows the pointer like a push button; latched toggles stay pressed.
void trackTitleButtons(LPARAM lParam)
{
    POINT p = pointFrom(lParam);
    int toPress = -1, toRelease = -1;
    for (SkinButtonIndex index : titleOrder) {
        const SkinButton& button = app.skinButtons[index];
        if (inRegion(button.hitRegion, p)) {
            toPress = index;
        } else if (button.pressed) {
            if (index == onTopButton && app.alwaysOnTop)
                continue;
            if (index == snapButton && app.snapTol != 0)
                continue;
            toRelease = index;
        }
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

void onLeftButtonUp(HWND window, WPARAM, LPARAM lParam)
{
    GetCursorPos(&app.cursorPos);
    if (!app.leftButtonDown)
        return;
    ReleaseCapture();
    app.leftButtonDown = false;
    app.draggingWindow = false;
    if (pointerActionInProgress()) {
        acceptPress(window);
        return;
    }
    // The button under the pointer at the release acts, wherever the press began.
    POINT p = pointFrom(lParam);
    for (SkinButtonIndex index : titleReleaseOrder) {
        if (inRegion(app.skinButtons[index].hitRegion, p)) {
            app.skinButtons[index].action(window);
            return;
        }
    }
}

void onDropperDelay(HWND window)
{
    KillTimer(window, TIMER_DROPPER_DELAY);
    GetCursorPos(&app.cursorPos);
    if (inRegion(app.displayRegion, cursorInWindow()) && app.leftButtonDown)
        startDropper(window);
}

void startDropper(HWND window)
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
    app.activeZoom = usableZoom(app.zoomFactor);
    if (app.activeZoom != 0)
        layoutZoomView();
    app.dropperActive = true;
    SetTimer(window, TIMER_SAMPLING, 1, NULL);
}

static void stopPressTimers(HWND window)
{
    KillTimer(window, TIMER_DROPPER_DELAY);
    KillTimer(window, TIMER_SAMPLING);
    KillTimer(window, TIMER_REPEAT);
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    ReleaseCapture();
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
    stopPressTimers(window);
    app.leftButtonDown = false;
    app.dropperActive = false;
    app.channelPressed = false;
    app.channelScrubbing = false;
    releaseChannelButton();
    setColor(currentColor(&app.history));
    refreshColorDisplay(app.zoomRegion);
    app.dropperInBottomHalf = false;
}

struct FieldPaste { ValueFieldIndex field; uint32_t selector; };

static const FieldPaste fieldPastes[] = {
    { redDecField, pasteDecimalFlag | 1 }, { greenDecField, pasteDecimalFlag | 2 },
    { blueDecField, pasteDecimalFlag | 4 }, { redHexField, pasteHexFlag | 1 },
    { greenHexField, pasteHexFlag | 2 }, { blueHexField, pasteHexFlag | 4 },
};

void onLeftDoubleClick(HWND window, WPARAM wParam, LPARAM lParam)
{
    POINT p = pointFrom(lParam);
    if (inRegion(app.displayRegion, p)) {
        KillTimer(window, TIMER_SAMPLING);
        if (pasteColor(pasteWholeColor))
            formatColorTexts();
        return;
    }
    for (const FieldPaste& paste : fieldPastes) {
        if (inRegion(app.valueFields[paste.field].region, p)) {
            if (pasteColor(paste.selector))
                formatColorTexts();
            return;
        }
    }
    if (inRegion(app.bodyRegion, p)) {
        minimizeOrRestore(window);
        return;
    }
    onLeftButtonDown(window, wParam, lParam);   // fast clicks on a button still count
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
    TrackPopupMenuEx(app.contextMenu, 0, app.cursorPos.x, app.cursorPos.y, window, NULL);
    app.leftButtonDown = false;
}

// The buttons' tooltips: one tool, pointed at the button under the pointer.
#include "window/window.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "window/lateload.h"
#include "window/snapmath.h"

#include <commctrl.h>

// The tool is the whole window at first; updateToolTip points it at one button.
static TOOLINFOA toolInfo(HWND window, const RECT& rect, const char* text)
{
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = 1;
    tool.rect = rect;
    tool.hinst = app.appInstance;
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

// The control has no owner: under Wine a window that owns any popup can no longer be
// made topmost, which would break Always On Top. onDestroy destroys it instead.
// Made once, when the window first stands idle; a pointer already over a button is taken
// as if it had just moved there.
void createToolTips(HWND window)
{
    KillTimer(window, TIMER_TOOLTIPS);
    initCommonControls(); // without the class the control is not made
    app.toolTipWindow
        = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, app.appInstance, NULL);
    if (!app.toolTipWindow)
        return;
    SetWindowPos(app.toolTipWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT empty = {};
    TOOLINFOA tool = toolInfo(window, empty, NULL);
    SendMessageA(app.toolTipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(app.toolTipWindow, TTM_ACTIVATE, FALSE, 0);
    POINT pointer;
    GetCursorPos(&pointer);
    ScreenToClient(window, &pointer);
    if (app.showToolTips && !app.leftButtonDown)
        updateToolTip(window, MAKELPARAM(pointer.x, pointer.y));
}

void hideToolTip()
{
    if (app.toolTipWindow && app.toolTipRegion)
        SendMessageA(app.toolTipWindow, TTM_ACTIVATE, FALSE, 0);
    app.toolTipRegion = NULL;
}

// Nothing is recorded before the control exists: once made, it takes the pointer's place.
void updateToolTip(HWND window, LPARAM point)
{
    if (!app.toolTipWindow)
        return;
    int x = skinCoordinate(static_cast<short>(LOWORD(point)), app.scale);
    int y = skinCoordinate(static_cast<short>(HIWORD(point)), app.scale);
    for (int i = 0; i < skinButtonCount; i++) {
        HRGN region = app.skinButtons[i].hitRegion;
        if (!region || !PtInRegion(region, x, y))
            continue;
        if (region != app.toolTipRegion) {
            RECT box;
            GetRgnBox(region, &box);
            SetRect(&box, box.left * app.scale, box.top * app.scale, box.right * app.scale, box.bottom * app.scale);
            TOOLINFOA tool = toolInfo(window, box, buttonDescriptions[i].toolTip);
            SendMessageA(app.toolTipWindow, TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
        }
        if (!app.toolTipRegion)
            SendMessageA(app.toolTipWindow, TTM_ACTIVATE, TRUE, 0);
        app.toolTipRegion = region;
        return;
    }
    hideToolTip();
}

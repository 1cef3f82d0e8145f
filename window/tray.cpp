// The colour outside the window: the title and the notification icon with its tip;
// tray mode, minimising and restoring.
#include "window/window.h"
#include "app/appstate.h"
#include "color/colortext.h"
#include "res/resource.h"
#include "window/lateload.h"

#include <cstring>

void updateTitle()
{
    const char* texts[valueFieldCount];
    for (int i = 0; i < valueFieldCount; i++)
        texts[i] = app.valueFields[i].text;
    char title[sizeof app.titleText], tip[64];
    buildTitleTexts(app.colorFormat, texts, title, sizeof title, tip, sizeof tip);
    // Every sampling tick ends here: a title or tip that did not change is not sent again.
    bool titleChanged = strcmp(title, app.titleText) != 0;
    bool tipChanged = strcmp(tip, app.trayIconData.szTip) != 0;
    memcpy(app.titleText, title, sizeof title);
    memcpy(app.trayIconData.szTip, tip, sizeof tip);
    HWND window = WindowFromDC(app.windowDC);
    if (window && titleChanged)
        SetWindowTextA(window, app.titleText);
    if (app.trayIconShown && tipChanged) {
        app.trayIconData.uFlags = NIF_TIP;
        notifyIcon(NIM_MODIFY, &app.trayIconData);
    }
}

static HICON loadIconAt(const char* name, int metric, UINT dpi)
{
    int size = metricForDpi(metric, dpi);
    return static_cast<HICON>(LoadImageA(app.appInstance, name, IMAGE_ICON, size, size, 0));
}

void setWindowIcons(HWND window, UINT dpi)
{
    const WPARAM kinds[] = { ICON_SMALL, ICON_BIG };
    for (WPARAM kind : kinds) {
        HICON icon = dpi ? loadIconAt("RES_GFX_ICON_APP", kind == ICON_SMALL ? SM_CXSMICON : SM_CXICON, dpi) : NULL;
        HICON previous
            = reinterpret_cast<HICON>(SendMessageA(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon)));
        if (previous)
            DestroyIcon(previous); // only ever set here
    }
}

// Out of the taskbar: hidden and shown again around the style change, so the taskbar drops the
// button. Minimised meanwhile, it stays hidden: in the tray.
static void leaveTaskbar(HWND window)
{
    bool minimised = IsIconic(window);
    ShowWindow(window, SW_HIDE);
    SetWindowLongA(window, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES);
    if (!minimised)
        ShowWindow(window, SW_RESTORE);
}

static void returnToTaskbar(HWND window)
{
    SetWindowLongA(window, GWL_EXSTYLE, WS_EX_APPWINDOW | WS_EX_ACCEPTFILES);
    if (IsIconic(window)) {
        ShowWindow(window, SW_MINIMIZE);
    } else if (IsWindowVisible(window)) {
        ShowWindow(window, SW_HIDE);
        ShowWindow(window, SW_RESTORE);
    } else {
        ShowWindow(window, SW_MINIMIZE); // hidden in the tray: back as a taskbar button
    }
}

// The shell refuses icons while it is still starting (a program started with Windows) and may
// have sent TaskbarCreated already: a timer asks again until the icon stands, and until then the
// window keeps its taskbar button, or the user could not reach it. An icon the shell still knows
// (TaskbarCreated sent for other reasons) stands too.
static void addTrayIcon(HWND window)
{
    NOTIFYICONDATAA& icon = app.trayIconData;
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_USER;
    // At the small-icon size of the taskbar's DPI, which may have changed since the sign-in
    // (the shell then says TaskbarCreated again), not a larger picture shrunk.
    icon.hIcon = loadIconAt("RES_GFX_ICON_TRAY", SM_CXSMICON, windowDpi(FindWindowA("Shell_TrayWnd", NULL)));
    bool added = notifyIcon(NIM_ADD, &icon) || notifyIcon(NIM_MODIFY, &icon);
    DestroyIcon(icon.hIcon); // loaded for this call alone; the shell keeps its own copy
    icon.hIcon = NULL;
    if (added)
        KillTimer(window, TIMER_TRAY_ICON);
    else
        SetTimer(window, TIMER_TRAY_ICON, 1000, NULL);
    if (added && !app.trayIconShown)
        leaveTaskbar(window);
    else if (!added && app.trayIconShown)
        returnToTaskbar(window);
    app.trayIconShown = added;
}

void toggleSystemTray(HWND window)
{
    app.inSystemTray = !app.inSystemTray;
    if (app.inSystemTray) {
        addTrayIcon(window);
    } else {
        KillTimer(window, TIMER_TRAY_ICON);
        if (app.trayIconShown)
            returnToTaskbar(window);
        app.trayIconShown = false;
        notifyIcon(NIM_DELETE, &app.trayIconData);
    }
}

// A shell that starts again (or starts after us) has forgotten every icon and says so with
// this message; without the icon again a window hidden in the tray could not be brought back.
// The retry timer comes here too.
void onTaskbarCreated(HWND window)
{
    if (app.inSystemTray)
        addTrayIcon(window);
}

void minimizeOrRestore(HWND window)
{
    if (!IsIconic(window) && IsWindowVisible(window)) {
        SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ShowWindow(window, app.trayIconShown ? SW_HIDE : SW_MINIMIZE);
    } else {
        PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

void onTrayCallback(HWND window, LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONUP: SetForegroundWindow(window); break;
    case WM_LBUTTONDBLCLK: minimizeOrRestore(window); break;
    case WM_RBUTTONDOWN: {
        POINT p;
        GetCursorPos(&p);
        SetForegroundWindow(window);
        SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(p.x, p.y));
        PostMessageA(window, WM_NULL, 0, 0); // lets the menu close properly
        break;
    }
    }
}

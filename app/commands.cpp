// The command table, the letter keys and the setting toggles.
#include "app/app.h"
#include "app/appstate.h"
#include "app/settingsrules.h"
#include "color/color.h"
#include "dropper/dropper.h"
#include "res/resource.h"
#include "skin/skin.h"
#include "window/window.h"

static void checkItem(int command, bool checked)
{
    CheckMenuItem(app.mainMenu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// The menu is made when it is first opened, not at start, and its marks are written from
// the settings each time it opens.
void openContextMenu(HWND window, POINT at)
{
    if (!app.mainMenu) {
        app.mainMenu = LoadMenuA(app.appInstance, "RES_MENU_POPUP");
        app.contextMenu = GetSubMenu(app.mainMenu, 0);
    }
    if (!app.contextMenu)
        return;
    checkItem(CMD_SPLIT_SCREEN, app.splitScreen);
    checkItem(CMD_STICKY_ZOOM, app.stickyZoom);
    EnableMenuItem(app.mainMenu, CMD_STICKY_ZOOM, MF_BYCOMMAND | (app.splitScreen ? MF_ENABLED : MF_GRAYED));
    checkItem(CMD_AUTO_FORMAT, app.autoFormat);
    CheckMenuRadioItem(app.mainMenu, CMD_ZOOM_1X, CMD_ZOOM_MAX, zoomMenuItem(app.zoomFactor), MF_BYCOMMAND);
    CheckMenuRadioItem(app.mainMenu, CMD_DITHER_NONE, CMD_DITHER_LARGE, antiDitherMenuItem(app.antiDitherTol),
                       MF_BYCOMMAND);
    checkItem(CMD_ALWAYS_ON_TOP, app.alwaysOnTop);
    checkItem(CMD_SNAP_TO_SCREEN, app.snapTol != 0);
    checkItem(CMD_TOOL_TIPS, app.showToolTips);
    checkItem(CMD_SINGLE_INSTANCE, app.singleInstance);
    checkItem(CMD_SPLASH_SCREEN, app.splashScreen);
    checkItem(CMD_SYSTEM_TRAY, app.inSystemTray);
    CheckMenuRadioItem(app.mainMenu, CMD_DEFAULT_SKIN, CMD_USER_SKIN,
                       app.skinFileName ? CMD_USER_SKIN : CMD_DEFAULT_SKIN, MF_BYCOMMAND);
    TrackPopupMenuEx(app.contextMenu, 0, at.x, at.y, window, NULL);
}

// A right click (on the body or the tray icon) gives the pointer's screen point; Shift+F10 and
// the menu key give -1, -1, and the menu opens at the window.
void onContextMenu(HWND window, LPARAM point)
{
    POINT at = { static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point)) };
    if (point == -1) {
        at.x = app.windowRect.left;
        at.y = app.windowRect.top;
    }
    openContextMenu(window, at);
}

static void closeAboutBox()
{
    if (app.aboutDialog)
        SendMessageA(app.aboutDialog, WM_KILLFOCUS, 0, 0);
}

// Draws a latched title button by its new state, into the back buffer and the window.
static void drawLatchedButton(SkinButton& button)
{
    HRGN source = button.pressed ? button.pressedRegion : button.faceRegion;
    blitSkinRegion(app.backDC, button.hitRegion, source);
    if (button.hitRegion && shownWindowDC())
        presentBackBuffer(button.hitRegion);
}

void toggleSplitScreen()
{
    app.splitScreen = !app.splitScreen;
    if (app.splitScreen) {
        app.zoomRegion = app.displayBottomRegion;
    } else {
        app.zoomRegion = app.displayRegion;
        refreshColorDisplay(app.displayRegion);
    }
}

void toggleStickyZoom()
{
    app.stickyZoom = !app.stickyZoom;
}

void toggleAutoFormat()
{
    app.autoFormat = !app.autoFormat;
}

void toggleAlwaysOnTop(HWND window)
{
    app.alwaysOnTop = !app.alwaysOnTop;
    SkinButton& button = app.skinButtons[onTopButton];
    button.pressed = app.alwaysOnTop;
    if (app.alwaysOnTop) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        drawLatchedButton(button);
    } else {
        drawLatchedButton(button);
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
}

void toggleSnap(HWND)
{
    app.snapTol = app.snapTol != 0 ? 0 : app.savedSnapTol;
    SkinButton& button = app.skinButtons[snapButton];
    button.pressed = app.snapTol != 0;
    drawLatchedButton(button);
}

void toggleToolTips()
{
    app.showToolTips = !app.showToolTips;
    if (!app.showToolTips)
        hideToolTip();
}

void toggleSingleInstance()
{
    app.singleInstance = !app.singleInstance;
}

void toggleSplashScreen(HWND window)
{
    if (app.splashShowing)
        return;
    app.splashScreen = !app.splashScreen;
    if (app.splashScreen)
        showSplash(window);
}

void closeWindow(HWND window)
{
    SendMessageA(window, WM_DESTROY, 0, 0);
}

static void copySelectedFormat()
{
    const char* text = colorTextForFormat(app.colorFormat);
    if (text)
        copyColorText(text);
}

static void showHistoryColor()
{
    setColor(currentColor(&app.history));
    refreshColorDisplay(app.displayRegion);
}

// A value chosen in the menu is saved as chosen, not as a stored number that meant the same.
static void chooseAntiDither(int side)
{
    app.antiDitherTol = app.storedAntiDitherTol = side;
}

static void chooseZoom(int factor)
{
    app.zoomFactor = app.storedZoomFactor = factor;
}

void onCommand(HWND window, int command)
{
    // clang-format off
    switch (command) {
    case CMD_SNAP_TO_SCREEN:  toggleSnap(window); break;
    case CMD_ALWAYS_ON_TOP:   toggleAlwaysOnTop(window); break;
    case CMD_SYSTEM_TRAY:     toggleSystemTray(window); break;
    case CMD_SINGLE_INSTANCE: toggleSingleInstance(); break;
    case CMD_TOOL_TIPS:       toggleToolTips(); break;
    case CMD_MINIMIZE:        minimizeOrRestore(window); break;
    case CMD_CLOSE:           closeWindow(window); break;
    case CMD_ABOUT:           showAboutBox(window); break;
    case CMD_DEFAULT_SKIN:    changeSkin(window, NULL); break;
    case CMD_USER_SKIN:       chooseUserSkin(window); break;
    case CMD_SPLASH_SCREEN:   toggleSplashScreen(window); break;
    case CMD_LESS_WHITE:      adjustColor(-1, -1, -1); closeAboutBox(); break;
    case CMD_MORE_WHITE:      adjustColor(+1, +1, +1); closeAboutBox(); break;
    case CMD_COPY:
    case CMD_CUT:             copySelectedFormat(); break;
    case CMD_PASTE:           pasteColor(0); break;
    case CMD_UNDO:            undoColor(&app.history); showHistoryColor(); break;
    case CMD_REDO:            redoColor(&app.history); showHistoryColor(); break;
    case CMD_ACCEPT:
        if (pointerActionInProgress()) {
            app.leftButtonDown = false;     // before acceptPress lets the capture go
            acceptPress(window);
        }
        closeAboutBox();
        break;
    case CMD_CANCEL:
        if (pointerActionInProgress())
            cancelPress(window);
        closeAboutBox();
        break;
    case CMD_NEXT_FORMAT:     setColorFormat(static_cast<int>((app.colorFormat + 1LL) % 3)); break;
    case CMD_AUTO_FORMAT:     toggleAutoFormat(); break;
    case CMD_FORMAT_HEX:      setColorFormat(0); break;
    case CMD_FORMAT_DEC:      setColorFormat(1); break;
    case CMD_FORMAT_FLOAT:    setColorFormat(2); break;
    case CMD_DITHER_NONE:     chooseAntiDither(1); break;
    case CMD_DITHER_SMALL:    chooseAntiDither(3); break;
    case CMD_DITHER_MEDIUM:   chooseAntiDither(9); break;
    case CMD_DITHER_LARGE:    chooseAntiDither(21); break;
    case CMD_STICKY_ZOOM:     toggleStickyZoom(); break;
    case CMD_SPLIT_SCREEN:    toggleSplitScreen(); break;
    case CMD_ZOOM_1X:         chooseZoom(1); break;
    case CMD_ZOOM_2X:         chooseZoom(2); break;
    case CMD_ZOOM_4X:         chooseZoom(4); break;
    case CMD_ZOOM_8X:         chooseZoom(8); break;
    case CMD_ZOOM_16X:        chooseZoom(16); break;
    case CMD_ZOOM_MAX:        chooseZoom(0); break;
    }
}
// clang-format on

// The character decides, not the key: Caps Lock and Shift both give upper case. A character
// outside ASCII (a Cyrillic or Greek layout, an input method; an ANSI window gets '?' for one
// its code page lacks) gives way to the key's own letter, in the case Shift and Caps Lock make;
// not one typed with Ctrl or Alt held, as AltGr is (AltGr+R is a character of its own).
void onChar(HWND, WPARAM character, LPARAM keyData)
{
    if (character >= 0x80 || character == '?') {
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
            return;
        UINT key = MapVirtualKeyA((keyData >> 16) & 0xFF, MAPVK_VSC_TO_VK);
        bool upper = (GetKeyState(VK_SHIFT) < 0) != ((GetKeyState(VK_CAPITAL) & 1) != 0);
        character = key < 'A' || key > 'Z' ? 0 : upper ? key : key + ('a' - 'A');
    }
    switch (character) {
    case 'R': adjustColor(+1, 0, 0); break;
    case 'r': adjustColor(-1, 0, 0); break;
    case 'G': adjustColor(0, +1, 0); break;
    case 'g': adjustColor(0, -1, 0); break;
    case 'B': adjustColor(0, 0, +1); break;
    case 'b': adjustColor(0, 0, -1); break;
    case 'W': adjustColor(+1, +1, +1); break;
    case 'w': adjustColor(-1, -1, -1); break;
    }
}

// Holding a letter key steps once per repeated character but records once, on release.
void onKeyUp(HWND, WPARAM virtualKey)
{
    if (virtualKey == 'R' || virtualKey == 'G' || virtualKey == 'B' || virtualKey == 'W')
        recordColor(&app.history, app.curColor);
}

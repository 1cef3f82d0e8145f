// The about box: a frameless picture with two links, gone at the first click elsewhere.
#include "window/window.h"
#include "app/appstate.h"
#include "window/lateload.h"
#include "window/snapmath.h"

static const char* const mailLink = "mailto:huebrick@example.org";
static const char* const messengerLink = "aim:goim?screenname=Huebrick&message=Hello+Huebrick";

static const int aboutWidth = 228, aboutHeight = 118;

static INT_PTR CALLBACK aboutDialogProc(HWND box, UINT message, WPARAM, LPARAM lParam);

// A point of the box in the picture's own pixels.
static bool onLink(HRGN link, int x, int y)
{
    return PtInRegion(link, skinCoordinate(x, app.aboutScale), skinCoordinate(y, app.aboutScale));
}

// The box at the factor of a DPI, centred on a work area.
static void placeAboutBox(HWND box, UINT dpi, const RECT& work)
{
    int n = app.aboutScale = windowScale(dpi, work.right - work.left, work.bottom - work.top, aboutWidth, aboutHeight);
    SetWindowPos(box, NULL, work.left + (work.right - work.left - aboutWidth * n) / 2,
                 work.top + (work.bottom - work.top - aboutHeight * n) / 2, aboutWidth * n, aboutHeight * n,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(box, NULL, TRUE);
}

// The box is made on the primary monitor and moved, hidden, to the window's; a monitor of
// another DPI sends WM_DPICHANGED on the way, which the box leaves alone until it shows.
void showAboutBox(HWND window)
{
    if (app.aboutDialog) {
        SendMessageA(app.aboutDialog, WM_KILLFOCUS, 0, 0);
        return;
    }
    app.aboutDialog = CreateDialogParamA(app.appInstance, "RES_DIALOG_ABOUT", window, aboutDialogProc, 0);
    if (!app.aboutDialog)
        fatal(-2);
    placeAboutBox(app.aboutDialog, windowDpi(window), workAreaHolding(app.windowRect));
    ShowWindow(app.aboutDialog, SW_SHOW);
}

static void closeAboutBox(HWND box, INT_PTR result)
{
    if (app.aboutDialog != box)
        return; // already closing: destroying the box takes its focus once more
    app.aboutDialog = NULL;
    DeleteObject(app.mailLinkRegion);
    DeleteObject(app.messengerLinkRegion);
    app.mailLinkRegion = app.messengerLinkRegion = NULL;
    EndDialog(box, result);
    DestroyWindow(box); // a modeless box is not ended by EndDialog alone
}

static void paintAboutPicture(HWND box)
{
    HDC dc = GetDC(box);
    if (!dc)
        fatal(-2);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP picture = LoadBitmapA(app.appInstance, "RES_GFX_IMAGE_ABOUT");
    if (!memory || !picture)
        fatal(-2);
    HGDIOBJ previous = SelectObject(memory, picture);
    if (!previous)
        fatal(-1);
    int n = app.aboutScale;
    StretchBlt(dc, 0, 0, aboutWidth * n, aboutHeight * n, memory, 0, 0, aboutWidth, aboutHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(picture);
    ReleaseDC(box, dc);
}

static INT_PTR CALLBACK aboutDialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        app.linkCursorShown = false;
        app.mailLinkRegion = CreateRectRgn(86, 52, 203, 64);
        app.messengerLinkRegion = CreateRectRgn(86, 64, 127, 76);
        if (!app.mailLinkRegion || !app.messengerLinkRegion)
            fatal(-1);
        InvalidateRect(box, NULL, TRUE);
        return TRUE;
    case WM_ERASEBKGND: paintAboutPicture(box); return TRUE;
    case WM_SETCURSOR: {
        POINT p;
        RECT r;
        GetCursorPos(&p);
        GetWindowRect(box, &r);
        int x = p.x - r.left, y = p.y - r.top;
        app.linkCursorShown = onLink(app.mailLinkRegion, x, y) || onLink(app.messengerLinkRegion, x, y);
        SetCursor(LoadCursorA(NULL, app.linkCursorShown ? IDC_HAND : IDC_ARROW));
        return TRUE;
    }
    case WM_LBUTTONUP: {
        int x = LOWORD(lParam), y = HIWORD(lParam);
        if (onLink(app.mailLinkRegion, x, y))
            openInShell(mailLink);
        else if (onLink(app.messengerLinkRegion, x, y))
            openInShell(messengerLink);
        else
            closeAboutBox(box, 1);
        return TRUE;
    }
    case WM_DPICHANGED:
        if (IsWindowVisible(box))
            placeAboutBox(box, LOWORD(wParam), workAreaHolding(*reinterpret_cast<RECT*>(lParam)));
        return TRUE;
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_COMMAND:
        if (app.linkCursorShown)
            SetCursor(LoadCursorA(NULL, IDC_ARROW));
        closeAboutBox(box, 0);
        return TRUE;
    }
    return FALSE;
}

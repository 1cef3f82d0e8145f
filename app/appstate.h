// AppState: the one record of program state, read and written by every handler.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "color/history.h"
#include "dropper/zoommath.h"
#include "skin/pixels.h"

// Monitors beyond this many are not docked to; their pixels can still be picked.
const int maxMonitors = 16;

// The built-in skin's face; its pressed pictures lie to the right of it.
const int faceWidth = 83, faceHeight = 132;

// Ends the process when something the window cannot live without is missing:
// -1 for a region or other GDI object, -2 for any other resource.
[[noreturn]] inline void fatal(int exitCode)
{
    exit(exitCode);
}

typedef void (*ButtonAction)(HWND window);

struct LayoutRect {
    int left, top, right, bottom;
};

// Everything fixed about one button: where the built-in skin has it, how a mask marks it,
// its tooltip, and what a press does (a title button's action, or a channel button's steps).
struct ButtonDescription {
    LayoutRect face;   // built-in skin; the pressed picture lies faceWidth to the right
    BYTE faceGreen;    // a mask marks the face with RGB(0, faceGreen, 0)
    BYTE pressedGreen; // and the pressed picture with RGB(0, pressedGreen, 0)
    const char* toolTip;
    ButtonAction action;  // title buttons only
    int red, green, blue; // channel buttons only: the steps of one press
};

// Everything fixed about one drawn value field.
struct FieldDescription {
    LayoutRect rect;        // built-in skin
    int textX, textY;       // built-in text origin, not derived from rect
    BYTE maskBlue;          // a mask marks the field with RGB(0, 0, maskBlue)
    BYTE markerBlue;        // and its own text colour with RGB(0, 0, markerBlue)
    uint32_t pasteSelector; // what a double-click on the field pastes
};

// One clickable button of the skin.
struct SkinButton {
    HRGN hitRegion;     // the back buffer's coordinates (the window in skin pixels)
    HRGN faceRegion;    // skin coordinates: the released picture
    HRGN pressedRegion; // skin coordinates: the pressed picture
    bool pressed;       // shown pressed: held by the pointer, or latched on
};

// One text form of one colour channel.
struct ValueField {
    int textX, textY; // text origin, the back buffer's coordinates
    HRGN region;      // the back buffer's coordinates; null without the field
    COLORREF textColor;
    char text[8];
    double value;
    char shownText[8]; // text as last drawn into the back buffer and the window
};

// clang-format off
// The fixed order of the skin's buttons: the four title buttons, then the channel buttons.
enum SkinButtonIndex {
    snapButton, onTopButton, minimizeButton, closeButton,
    moreRedButton, lessRedButton, moreGreenButton, lessGreenButton,
    moreBlueButton, lessBlueButton, moreWhiteButton, lessWhiteButton,
    skinButtonCount, titleButtonCount = moreRedButton
};

// The fixed order of the value fields; the float fields are never drawn.
enum ValueFieldIndex {
    redDecField, greenDecField, blueDecField,
    redHexField, greenHexField, blueHexField,
    redFloatField, greenFloatField, blueFloatField,
    valueFieldCount, drawnFieldCount = 6
};
// clang-format on

extern const ButtonDescription buttonDescriptions[skinButtonCount];
extern const FieldDescription fieldDescriptions[drawnFieldCount];

struct AppState {
    // Process and window handles
    HINSTANCE appInstance;
    HANDLE instanceMutex;      // never closed: the process end releases it
    UINT bringForwardMessage;  // a second start's request to the running window
    HMENU mainMenu;            // made at its first opening, destroyed after the loop
    HMENU contextMenu;         // sub-menu 0 of mainMenu
    HWND aboutDialog;          // the open about box, or null
    HWND toolTipWindow;        // made once the window is idle, destroyed by onDestroy
    HDC windowDC;              // the class's own DC; never released
    bool windowPainted;        // the first WM_PAINT has copied the whole back buffer
    HDC skinDC;                // made by onCreate, deleted by onDestroy
    HDC backDC;                // made by onCreate, deleted by onDestroy
    HBITMAP skinDCStartBitmap; // what skinDC was created with, put back by deleteMemoryDC
    HBITMAP backDCStartBitmap; // what backDC was created with, put back by deleteMemoryDC
    HFONT valueFont;           // made by loadSettings, deleted by onDestroy
    HMODULE shellModule;       // shell32, comdlg32, comctl32, dwmapi and ole32 (with COM set
    HMODULE dialogModule;      // up on this thread): loaded at first use (window/lateload.cpp),
    HMODULE controlsModule;    // never freed
    HMODULE dwmModule;
    HMODULE comModule;
    // Looked up at their first call, or a stand-in that fails where the system lacks them;
    // a test may put its own in first.
    BOOL(WINAPI* shellNotifyIcon)(DWORD, NOTIFYICONDATAA*);
    HRESULT(WINAPI* dwmGetWindowAttribute)(HWND, DWORD, void*, DWORD);
    UINT(WINAPI* getDpiForWindow)(HWND);
    BOOL(WINAPI* enumDisplayMonitors)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);

    // Geometry, screen coordinates
    RECT workArea;      // the primary monitor's
    RECT virtualScreen; // the bounding box of every monitor
    int monitorCount;   // read with the work area
    PixelBox monitors[maxMonitors];
    RECT workAreas[maxMonitors]; // each monitor's, in the order of monitors
    RECT windowRect;             // physical pixels, as every coordinate here
    int scale;                   // the window's whole factor: each skin pixel is scale x scale window pixels
    int skinWidth;               // the window in skin pixels; skin regions, the back buffer
    int skinHeight;              // and every region below count these
    RECT dragRect;               // the unsnapped place during a drag
    POINT cursorPos;             // scratch: refreshed by each handler before use
    POINT lastCursorPos;         // source of pointer deltas while a button is held
    UINT promisedDpi;            // the factor answered for a DPI the system is about to change to
    int promisedScale;
    bool minimised; // as the last WM_SIZE said

    // Settings, persisted under the registry key
    bool splitScreen;
    bool stickyZoom;
    bool autoFormat;
    int colorFormat;
    int zoomFactor;
    int antiDitherTol;
    bool alwaysOnTop;
    int snapTol;
    int savedSnapTol;        // not persisted: what switching snapping on restores
    int storedZoomFactor;    // the three numbers as read: loadSettings puts their
    int storedAntiDitherTol; // usable values above, and saveSettings writes these
    int storedSnapTol;       // back while the usable value is still in force (a
                             // value chosen in the menu is stored as chosen)
    bool showToolTips;
    bool singleInstance;
    bool splashScreen;
    bool inSystemTray;
    char* skinFileName; // heap copy; null means the built-in skin
    uint64_t savedHash; // of the values as last written (or as start-up settled them)

    // The colour
    COLORREF curColor;
    int repeatInterval;
    int repeatStep;
    ColorHistory history;
    char hexText[7];
    char decText[12];
    char floatText[15];

    // The skin; every region is made by a skin load and deleted by freeSkinRegions
    SkinButton skinButtons[skinButtonCount];
    ValueField valueFields[valueFieldCount];
    HRGN bodySkinRegion;
    HRGN bodyRegion;
    HRGN displayTopRegion;
    HRGN displayBottomRegion;
    HRGN displayRegion;
    HRGN displaySkinRegion;
    HRGN zoomRegion; // points at displayBottomRegion or displayRegion; never deleted
    HRGN titleButtonsRegion;
    HRGN channelButtonsRegion;
    HRGN valueFieldsSkinRegion;
    HRGN valueFieldsRegion;
    HRGN windowRegion;
    bool fieldsShown; // the fields show their shownText; a skin drawn anew clears it
    bool splashShowing;

    // Pointer and eye-dropper
    bool leftButtonDown;
    bool draggingWindow;
    bool dropperActive;
    bool dropperInBottomHalf;
    bool channelPressed;
    bool channelScrubbing;

    // Sampling
    ZoomLayout zoomLayout; // centre, destination and source of the magnified view
    int activeZoom;        // the factor laid out for the pick under way
    HBRUSH blackBrush;     // made at the first sampling tick, kept for the run
    HDC screenDC;          // GetDC(NULL) of the pick under way: taken by its first read,
                           // released by releaseScreen when the press ends
    PixelBuffer sample;    // one screen read lands here; made on first use, freed by onDestroy

    // Title, notification icon, tooltips
    NOTIFYICONDATAA trayIconData;
    bool trayIconShown; // the shell holds the icon: only then is the window out of the taskbar
    char titleText[28];
    HRGN toolTipRegion; // a button's hitRegion, not owned here

    // About box
    HRGN mailLinkRegion; // made and deleted by the about box
    HRGN messengerLinkRegion;
    int aboutScale; // the picture's factor on the monitor the box opened on
    bool linkCursorShown;
};

extern AppState app;

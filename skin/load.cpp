// Loading a skin: the user's image and mask or the built-in bitmap, the mask scan,
// the back buffer, the window's size and shape; and the three ways a skin comes in.
#include "skin/skin.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "skin/pixels.h"
#include "skin/skinpath.h"

#include <shlwapi.h>
#include <cstdlib>
#include <cstring>

static const int faceWidth = 83, faceHeight = 132;
static const char* const userSkinError = "Could not load user skin: Unable to open skin image.";

struct MaskArea { COLORREF color; HRGN* region; };

// The green of each button's face and pressed picture in a mask, in skinButtons order.
static const BYTE buttonGreens[skinButtonCount][2] = {
    { 10, 15 }, { 25, 30 }, { 40, 45 }, { 55, 60 },      // snap, on top, minimize, close
    { 85, 90 }, { 70, 75 }, { 115, 120 }, { 100, 105 },  // more red, less red, more green, less green
    { 145, 150 }, { 130, 135 }, { 175, 180 }, { 160, 165 },
};

static int maskAreas(MaskArea* areas)
{
    int n = 0;
    areas[n++] = { RGB(255, 0, 0), &app.bodySkinRegion };
    areas[n++] = { RGB(0, 50, 50), &app.displayTopRegion };
    areas[n++] = { RGB(0, 100, 100), &app.displayBottomRegion };
    for (int i = 0; i < skinButtonCount; i++) {
        areas[n++] = { RGB(0, buttonGreens[i][0], 0), &app.skinButtons[i].faceRegion };
        areas[n++] = { RGB(0, buttonGreens[i][1], 0), &app.skinButtons[i].pressedRegion };
    }
    for (int i = 0; i < drawnFieldCount; i++)
        areas[n++] = { RGB(0, 0, 140 + 20 * i), &app.valueFields[i].region };
    return n;
}

bool addMaskRun(int x, int y, int length, COLORREF color)
{
    MaskArea areas[3 + 2 * skinButtonCount + drawnFieldCount];
    int count = maskAreas(areas);
    for (int i = 0; i < count; i++) {
        if (areas[i].color != color)
            continue;
        HRGN run = createRegion(x, y, x + length, y + 1);
        if (!*areas[i].region) {
            *areas[i].region = run;
        } else {
            CombineRgn(*areas[i].region, *areas[i].region, run, RGN_OR);
            DeleteObject(run);
        }
        return true;
    }
    return false;
}

// Text markers: (0, 0, 20) for redDecField up to (0, 0, 120) for blueHexField.
static int textMarkerField(COLORREF color)
{
    if (GetRValue(color) != 0 || GetGValue(color) != 0)
        return -1;
    int blue = GetBValue(color);
    if (blue >= 20 && blue <= 120 && blue % 20 == 0)
        return blue / 20 - 1;
    return -1;
}

// The mask is read in one copy and scanned run by run; text colours come from the
// skin pixel under the first pixel of each marker run.
void scanMask(HBITMAP mask, int width, int height)
{
    bool ownMarker[drawnFieldCount] = {};
    for (int i = 0; i < drawnFieldCount; i++)
        app.valueFields[i].textColor = 0;

    HDC maskDC = CreateCompatibleDC(app.windowDC);
    if (!maskDC)
        exit(-1);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    PixelBuffer maskPixels, skinPixels;
    if (!createPixelBuffer(&maskPixels, width, height) || !createPixelBuffer(&skinPixels, width, height))
        exit(-1);
    capturePixels(&maskPixels, maskDC, 0, 0, width, height);
    capturePixels(&skinPixels, app.skinDC, 0, 0, width, height);

    for (int y = 0; y < height; y++) {
        const DWORD* row = maskPixels.bits + static_cast<size_t>(y) * width;
        for (int x = 0; x < width;) {
            int end = x + 1;
            while (end < width && row[end] == row[x])
                end++;
            COLORREF color = pixelAt(maskPixels, x, y);
            if (!addMaskRun(x, y, end - x, color)) {
                int field = textMarkerField(color);
                if (field >= 0) {
                    app.valueFields[field].textColor = pixelAt(skinPixels, x, y);
                    ownMarker[field] = true;
                } else if (color == 0) {
                    for (int i = 0; i < drawnFieldCount; i++)
                        if (!ownMarker[i])
                            app.valueFields[i].textColor = pixelAt(skinPixels, x, y);
                }
            }
            x = end;
        }
    }

    freePixelBuffer(&skinPixels);
    freePixelBuffer(&maskPixels);
    SelectObject(maskDC, oldMask);
    DeleteDC(maskDC);

    for (SkinButton& button : app.skinButtons) {
        button.hitRegion = createRegion(0, 0, 0, 0);
        if (button.faceRegion)
            CombineRgn(button.hitRegion, button.faceRegion, NULL, RGN_COPY);
    }
    for (int i = 0; i < drawnFieldCount; i++) {
        RECT box;
        if (app.valueFields[i].region && GetRgnBox(app.valueFields[i].region, &box) != NULLREGION) {
            app.valueFields[i].textX = box.left;
            app.valueFields[i].textY = box.top - 2;
        }
    }
}

// Replaces the bitmap held by a memory DC; the first one it held is put aside for onDestroy.
static void replaceBitmap(HDC dc, HBITMAP bitmap, HBITMAP* startBitmap)
{
    HBITMAP previous = static_cast<HBITMAP>(SelectObject(dc, bitmap));
    if (!*startBitmap)
        *startBitmap = previous;
    else if (previous && previous != bitmap)
        DeleteObject(previous);
}

static void setDefaultTextColors(bool builtIn)
{
    COLORREF common = GetPixel(app.skinDC, 83, 0);
    for (int i = 0; i < drawnFieldCount; i++)
        app.valueFields[i].textColor = common;
    if (builtIn) {
        app.valueFields[redDecField].textColor = GetPixel(app.skinDC, 84, 0);
        app.valueFields[greenDecField].textColor = GetPixel(app.skinDC, 85, 0);
        app.valueFields[blueDecField].textColor = GetPixel(app.skinDC, 86, 0);
    }
}

static void drawLatchedIntoBackBuffer(const SkinButton& button)
{
    blitSkinRegion(app.backDC, button.hitRegion, button.pressedRegion);
}

// Puts an image (and its mask) in place: regions, back buffer, size and shape. A user
// skin whose back buffer cannot be made or whose mask defines no area is refused,
// leaving the caller to fall back to the built-in skin.
static bool installSkin(HWND window, HBITMAP image, HBITMAP mask, int width, int height, bool builtIn)
{
    replaceBitmap(app.skinDC, image, &app.skinDCStartBitmap);
    HBITMAP backBuffer = CreateCompatibleBitmap(app.windowDC, width, height);
    if (!backBuffer) {
        if (builtIn)
            exit(-1);
        if (mask)
            DeleteObject(mask);
        return false;
    }
    replaceBitmap(app.backDC, backBuffer, &app.backDCStartBitmap);
    freeSkinRegions(window);

    if (mask) {
        scanMask(mask, width, height);
        DeleteObject(mask);
    } else {
        setDefaultTextColors(builtIn);
        buildDefaultLayout();
    }
    HRGN extent = finishLayout();
    if (!builtIn && (app.windowRect.right <= app.windowRect.left || app.windowRect.bottom <= app.windowRect.top)) {
        DeleteObject(extent);
        return false;
    }

    // The face lands at the window's (0, 0): a source region at the extent's origin.
    blitSkinRegion(app.backDC, app.windowRegion, extent);
    if (app.snapTol != 0)
        drawLatchedIntoBackBuffer(app.skinButtons[snapButton]);
    if (app.alwaysOnTop)
        drawLatchedIntoBackBuffer(app.skinButtons[onTopButton]);

    SetWindowPos(window, NULL, 0, 0, app.windowRect.right - app.windowRect.left,
                 app.windowRect.bottom - app.windowRect.top, SWP_NOMOVE | SWP_NOZORDER);
    HRGN shape = createRegion(0, 0, 0, 0);
    CombineRgn(shape, app.windowRegion, NULL, RGN_COPY);
    SetWindowRgn(window, shape, TRUE);     // the system owns the copy from here on
    DeleteObject(extent);
    return true;
}

static bool fileExists(const char* path, void*)
{
    return PathFileExistsA(path) != FALSE;
}

static bool readSkinSize(const char* path, int* width, int* height)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BYTE header[28];
    DWORD got = 0;
    BOOL read = ReadFile(file, header, sizeof header, &got, NULL);
    CloseHandle(file);
    int32_t w, h;
    if (!read || !skinSizeFromHeader(header, got, &w, &h))
        return false;
    *width = w;
    *height = h;
    return true;
}

static bool loadUserSkin(HWND window, const char* named)
{
    size_t length = strlen(named);
    char* skinPath = static_cast<char*>(malloc(length + 16));
    char* maskPath = static_cast<char*>(malloc(length + 16));
    bool loaded = false;
    int width, height;
    if (skinPath && maskPath
        && resolveSkinPaths(named, skinPath, length + 16, maskPath, length + 16, fileExists, NULL)
        && readSkinSize(skinPath, &width, &height)) {
        HBITMAP image = static_cast<HBITMAP>(LoadImageA(NULL, skinPath, IMAGE_BITMAP, width, height, LR_LOADFROMFILE));
        HBITMAP mask = NULL;
        if (image && maskPath[0])
            mask = static_cast<HBITMAP>(LoadImageA(NULL, maskPath, IMAGE_BITMAP, width, height,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (image && installSkin(window, image, mask, width, height, false)) {
            free(app.skinFileName);     // may be the very string named: it is no longer read
            app.skinFileName = skinPath;
            skinPath = NULL;
            CheckMenuRadioItem(app.mainMenu, CMD_DEFAULT_SKIN, CMD_USER_SKIN, CMD_USER_SKIN, MF_BYCOMMAND);
            loaded = true;
        }
    }
    free(skinPath);
    free(maskPath);
    return loaded;
}

static void loadBuiltInSkin(HWND window)
{
    free(app.skinFileName);
    app.skinFileName = NULL;
    CheckMenuRadioItem(app.mainMenu, CMD_DEFAULT_SKIN, CMD_USER_SKIN, CMD_DEFAULT_SKIN, MF_BYCOMMAND);
    HBITMAP image = LoadBitmapA(app.appInstance, "RES_GFX_SKIN_MAIN");
    if (!image) {
        MessageBoxA(window, "Could not load skin: Out of memory or other system error occured.",
                    "Huebrick - Error", MB_OK | MB_ICONERROR);
        exit(-2);
    }
    installSkin(window, image, NULL, faceWidth, faceHeight, true);
}

bool loadSkin(HWND window, char* path)
{
    HCURSOR previous = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    bool failed = path && !loadUserSkin(window, path);
    if (!path || failed)
        loadBuiltInSkin(window);
    SetCursor(previous);
    // Shown once the built-in skin stands, so the window behind the message is whole.
    if (failed)
        MessageBoxA(window, userSkinError, "Huebrick - Error", MB_OK | MB_ICONERROR);
    return true;
}

void changeSkin(HWND window, char* path)
{
    loadSkin(window, path);
    presentBackBuffer(NULL);
    showSplash(window);
    refreshColorDisplay(app.displayRegion);
}

void chooseUserSkin(HWND window)
{
    char file[512] = "";
    if (app.skinFileName)
        lstrcpynA(file, app.skinFileName, sizeof file);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = "Skin bitmap  (*.bmp)\0*.BMP\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = "Oooh a new skin! :)";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES;
    if (GetOpenFileNameA(&dialog))
        changeSkin(window, file);
}

void onDropFiles(HWND window, HDROP drop)
{
    if (DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0) > 0) {
        UINT length = DragQueryFileA(drop, 0, NULL, 0);
        char* path = static_cast<char*>(malloc(length + 1));
        if (path && DragQueryFileA(drop, 0, path, length + 1) > 0)
            changeSkin(window, path);
        free(path);
    }
    DragFinish(drop);
}

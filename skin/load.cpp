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
static const int maskAreaCount = 3 + 2 * skinButtonCount + drawnFieldCount;

// The green of each button's face and pressed picture in a mask, in skinButtons order.
static const BYTE buttonGreens[skinButtonCount][2] = {
    { 10, 15 }, { 25, 30 }, { 40, 45 }, { 55, 60 },      // snap, on top, minimize, close
    { 85, 90 }, { 70, 75 }, { 115, 120 }, { 100, 105 },  // more red, less red, more green, less green
    { 145, 150 }, { 130, 135 }, { 175, 180 }, { 160, 165 },
};

static void maskAreas(MaskArea* areas)
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
}

static int maskAreaOf(const MaskArea* areas, COLORREF color)
{
    for (int i = 0; i < maskAreaCount; i++)
        if (areas[i].color == color)
            return i;
    return -1;
}

// One run at a time: the plain way, kept as the measure the scan below must match.
bool addMaskRun(int x, int y, int length, COLORREF color)
{
    MaskArea areas[maskAreaCount];
    maskAreas(areas);
    int area = maskAreaOf(areas, color);
    if (area < 0)
        return false;
    HRGN run = createRegion(x, y, x + length, y + 1);
    HRGN* region = areas[area].region;
    if (!*region) {
        *region = run;
    } else {
        CombineRgn(*region, *region, run, RGN_OR);
        DeleteObject(run);
    }
    return true;
}

// An area's runs united like a binary counter: only pieces of equal run count are
// joined, so each run is copied about log2(runs) times. Uniting run by run copies the
// whole region every time, which grows with the square of the runs.
struct RunStack {
    HRGN pieces[32];        // 2^32 runs never fit in a skin: 16M pixels at most
    unsigned runs[32];
    int count;
};

static void pushRun(RunStack* stack, int x, int y, int length)
{
    stack->pieces[stack->count] = createRegion(x, y, x + length, y + 1);
    stack->runs[stack->count++] = 1;
    while (stack->count >= 2 && stack->runs[stack->count - 1] == stack->runs[stack->count - 2]) {
        HRGN top = stack->pieces[--stack->count];
        CombineRgn(stack->pieces[stack->count - 1], stack->pieces[stack->count - 1], top, RGN_OR);
        DeleteObject(top);
        stack->runs[stack->count - 1] *= 2;
    }
}

// The area's region, or null when no run had its colour.
static HRGN uniteRuns(RunStack* stack)
{
    if (stack->count == 0)
        return NULL;
    HRGN region = stack->pieces[--stack->count];
    while (stack->count > 0) {
        HRGN older = stack->pieces[--stack->count];
        CombineRgn(region, older, region, RGN_OR);
        DeleteObject(older);
    }
    return region;
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

// A run that is no area may set text colours: from the skin pixel under its first pixel.
static void takeTextColor(COLORREF color, int x, int y, bool* ownMarker)
{
    int field = textMarkerField(color);
    if (field >= 0) {
        app.valueFields[field].textColor = GetPixel(app.skinDC, x, y);
        ownMarker[field] = true;
    } else if (color == 0) {
        COLORREF under = GetPixel(app.skinDC, x, y);
        for (int i = 0; i < drawnFieldCount; i++)
            if (!ownMarker[i])
                app.valueFields[i].textColor = under;
    }
}

// The mask is read in strips of rows, each in one copy, and scanned run by run; markers
// are few, so the skin pixels under them are read one at a time.
void scanMask(HBITMAP mask, int width, int height)
{
    MaskArea areas[maskAreaCount];
    maskAreas(areas);
    RunStack stacks[maskAreaCount];
    for (RunStack& stack : stacks)
        stack.count = 0;
    bool ownMarker[drawnFieldCount] = {};
    for (int i = 0; i < drawnFieldCount; i++)
        app.valueFields[i].textColor = 0;

    HDC maskDC = CreateCompatibleDC(app.windowDC);
    if (!maskDC)
        exit(-1);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    const int stripPixels = 1 << 20;
    int stripRows = width >= stripPixels ? 1 : stripPixels / width;
    if (stripRows > height)
        stripRows = height;
    PixelBuffer strip;
    if (!createPixelBuffer(&strip, width, stripRows))
        exit(-1);

    for (int top = 0; top < height; top += stripRows) {
        int rows = height - top < stripRows ? height - top : stripRows;
        capturePixels(&strip, maskDC, 0, top, width, rows);
        for (int r = 0; r < rows; r++) {
            const DWORD* row = strip.bits + static_cast<size_t>(r) * width;
            int y = top + r;
            for (int x = 0; x < width;) {
                DWORD pixel = row[x] & 0xFFFFFF;     // the fourth byte is no part of the colour
                int end = x + 1;
                while (end < width && (row[end] & 0xFFFFFF) == pixel)
                    end++;
                COLORREF color = RGB(pixel >> 16, (pixel >> 8) & 0xFF, pixel & 0xFF);
                int area = maskAreaOf(areas, color);
                if (area >= 0)
                    pushRun(&stacks[area], x, y, end - x);
                else
                    takeTextColor(color, x, y, ownMarker);
                x = end;
            }
        }
    }

    freePixelBuffer(&strip);
    SelectObject(maskDC, oldMask);
    DeleteDC(maskDC);
    for (int i = 0; i < maskAreaCount; i++)
        *areas[i].region = uniteRuns(&stacks[i]);
    finishMaskAreas();
}

// After a mask scan: hit areas are the faces, text starts at each field's top-left.
void finishMaskAreas()
{
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

// A skin too narrow to hold the pixel has no colour there: black, as a mask without markers.
static COLORREF skinPixelOrBlack(int x, int y)
{
    COLORREF pixel = GetPixel(app.skinDC, x, y);
    return pixel == CLR_INVALID ? 0 : pixel;
}

static void setDefaultTextColors(bool builtIn)
{
    COLORREF common = skinPixelOrBlack(83, 0);
    for (int i = 0; i < drawnFieldCount; i++)
        app.valueFields[i].textColor = common;
    if (builtIn) {
        app.valueFields[redDecField].textColor = skinPixelOrBlack(84, 0);
        app.valueFields[greenDecField].textColor = skinPixelOrBlack(85, 0);
        app.valueFields[blueDecField].textColor = skinPixelOrBlack(86, 0);
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

static DWORD little16(const BYTE* p) { return p[0] | p[1] << 8; }
static DWORD little32(const BYTE* p) { return little16(p) | little16(p + 2) << 16; }

// Whether the file holds all the pixel data its headers announce. LoadImageA takes a
// file cut short all the same and makes a picture of whatever lies past its end.
static bool pixelDataFits(const BYTE* header, DWORD got, DWORD fileSize, int width, int height)
{
    DWORD offset = little32(header + 10), infoSize = little32(header + 14);
    DWORD bits, compression = BI_RGB, imageSize = 0;
    if (infoSize == 12) {
        bits = little16(header + 24);
    } else {
        if (got < 38)
            return false;
        bits = little16(header + 28);
        compression = little32(header + 30);
        imageSize = little32(header + 34);
    }
    unsigned long long needed;
    if (compression == BI_RGB || compression == BI_BITFIELDS) {
        if (bits == 0 || bits > 32)
            return false;
        needed = (static_cast<unsigned long long>(width) * bits + 31) / 32 * 4 * height;
    } else {
        needed = imageSize;     // run-length coded: only the header knows the length
    }
    // An offset of 0 means the pixels follow the headers.
    unsigned long long start = offset != 0 ? offset : 14ull + infoSize;
    return start >= 14ull + infoSize && start + needed <= fileSize;
}

// The size of a usable BMP file: one whose header passes the size rules and whose
// pixels are all there.
static bool readBitmapSize(const char* path, int* width, int* height)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BYTE header[54];
    DWORD got = 0, sizeHigh = 0;
    BOOL read = ReadFile(file, header, sizeof header, &got, NULL);
    DWORD size = GetFileSize(file, &sizeHigh);
    CloseHandle(file);
    int32_t w, h;
    if (!read || got < 28 || !skinSizeFromHeader(header, 28, &w, &h))
        return false;
    if (size == INVALID_FILE_SIZE || sizeHigh != 0 || !pixelDataFits(header, got, size, w, h))
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
        && readBitmapSize(skinPath, &width, &height)) {
        HBITMAP image = static_cast<HBITMAP>(LoadImageA(NULL, skinPath, IMAGE_BITMAP, width, height, LR_LOADFROMFILE));
        HBITMAP mask = NULL;
        int maskWidth, maskHeight;     // stretched to the skin's size, whatever they are
        if (image && maskPath[0] && readBitmapSize(maskPath, &maskWidth, &maskHeight))
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
    // Shown once the built-in skin stands and is on the screen, so the window behind the
    // message is whole: the resize and the new shape repaint only what they uncover, and the
    // part both faces share would keep the old skin's pixels while the message waits.
    if (failed) {
        presentBackBuffer(NULL);
        MessageBoxA(window, userSkinError, "Huebrick - Error", MB_OK | MB_ICONERROR);
    }
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

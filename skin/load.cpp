// Loading a skin: the user's image and mask or the built-in bitmap, the mask scan,
// the back buffer, the window's size and shape; and the three ways a skin comes in.
#include "skin/skin.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "skin/pixels.h"
#include "skin/runregion.h"
#include "skin/skinpath.h"
#include "window/lateload.h"
#include "window/window.h"

#include <cstring>

static const char* const userSkinError = "Could not load user skin: Unable to open skin image.";

struct MaskArea {
    COLORREF color;
    HRGN* region;
    bool shapes; // part of the window's shape (a pressed picture is not)
};
static const int maskAreaCount = 3 + 2 * skinButtonCount + drawnFieldCount;

static void maskAreas(MaskArea* areas)
{
    int n = 0;
    areas[n++] = { RGB(255, 0, 0), &app.bodySkinRegion, true };
    areas[n++] = { RGB(0, 50, 50), &app.displayTopRegion, true };
    areas[n++] = { RGB(0, 100, 100), &app.displayBottomRegion, true };
    for (int i = 0; i < skinButtonCount; i++) {
        areas[n++] = { RGB(0, buttonDescriptions[i].faceGreen, 0), &app.skinButtons[i].faceRegion, true };
        areas[n++] = { RGB(0, buttonDescriptions[i].pressedGreen, 0), &app.skinButtons[i].pressedRegion, false };
    }
    for (int i = 0; i < drawnFieldCount; i++)
        areas[n++] = { RGB(0, 0, fieldDescriptions[i].maskBlue), &app.valueFields[i].region, true };
}

static int maskAreaOf(const MaskArea* areas, COLORREF color)
{
    for (int i = 0; i < maskAreaCount; i++)
        if (areas[i].color == color)
            return i;
    return -1;
}

HRGN* maskAreaRegion(COLORREF color)
{
    MaskArea areas[maskAreaCount];
    maskAreas(areas);
    int area = maskAreaOf(areas, color);
    return area < 0 ? NULL : areas[area].region;
}

static int textMarkerField(COLORREF color)
{
    for (int i = 0; i < drawnFieldCount; i++)
        if (color == RGB(0, 0, fieldDescriptions[i].markerBlue))
            return i;
    return -1;
}

// Where the text colours come from: each field's own marker, else the default (black)
// marker; the last run of each counts, as if each run had set the colours in turn.
struct TextMarkers {
    POINT own[drawnFieldCount];
    POINT common; // x is -1 while no such run has been seen, as in own
};

// A run that is no area may be a text marker: where it starts is kept.
static void noteTextMarker(TextMarkers* markers, COLORREF color, int x, int y)
{
    POINT at = { x, y };
    int field = textMarkerField(color);
    if (field >= 0)
        markers->own[field] = at;
    else if (color == 0)
        markers->common = at;
}

static void takeTextColors(const TextMarkers& markers)
{
    for (int i = 0; i < drawnFieldCount; i++) {
        POINT at = markers.own[i].x >= 0 ? markers.own[i] : markers.common;
        app.valueFields[i].textColor = at.x >= 0 ? GetPixel(app.skinDC, at.x, at.y) : 0;
    }
}

// The area of each colour met, remembered in a small table: a mask has few colours, and
// its runs would otherwise search the areas one by one.
struct AreaCache {
    COLORREF color[256];
    int area[256];
};

static int cachedMaskArea(AreaCache* cache, const MaskArea* areas, COLORREF color)
{
    BYTE slot = static_cast<BYTE>(GetRValue(color) * 3 + GetGValue(color) * 5 + GetBValue(color) * 7);
    if (cache->color[slot] != color) {
        cache->color[slot] = color;
        cache->area[slot] = maskAreaOf(areas, color);
    }
    return cache->area[slot];
}

// The window's shape is gathered with the areas, in the form its region takes: a noisy mask
// is given up as soon as the shape passes the limit, before its areas fill the memory.
struct MaskScan {
    MaskArea areas[maskAreaCount];
    AreaCache cache;
    RunRegion runs[maskAreaCount];
    TextMarkers markers;
    RunRegion shape;
    DWORD shapeLimit;
};

// Pixels of 24 or 32 bits, blue, green and red first in each.
static COLORREF pixelOfRow(const BYTE* row, int step, int x)
{
    const BYTE* p = row + x * step;
    return RGB(p[2], p[1], p[0]);
}

// One row of the mask: each run to its area, or noted as a text marker; false once the
// shape has too many rectangles. Most of a scan is finding where runs end: 32-bit pixels
// are compared a word at a time (rows start on a word), 24-bit ones byte by byte.
static bool scanMaskRow(MaskScan* scan, const BYTE* row, int step, int width, int y)
{
    int shapeStart = 0, shapeEnd = 0; // the shape's run under way: touching areas make one
    for (int x = 0; x < width;) {
        const BYTE* p = row + x * step;
        int end = x + 1;
        if (step == 4) {
            DWORD first = *reinterpret_cast<const DWORD*>(p) & 0xFFFFFF;
            for (const DWORD* q = reinterpret_cast<const DWORD*>(p) + 1; end < width && (*q & 0xFFFFFF) == first; q++)
                end++;
        } else {
            for (const BYTE* q = p + 3; end < width && q[0] == p[0] && q[1] == p[1] && q[2] == p[2]; q += 3)
                end++;
        }
        COLORREF color = RGB(p[2], p[1], p[0]);
        int area = cachedMaskArea(&scan->cache, scan->areas, color);
        if (area >= 0)
            addRun(&scan->runs[area], x, y, end - x);
        else
            noteTextMarker(&scan->markers, color, x, y);
        if (area >= 0 && scan->areas[area].shapes && x != shapeEnd) {
            if (shapeEnd > shapeStart)
                addRun(&scan->shape, shapeStart, y, shapeEnd - shapeStart);
            shapeStart = x;
        }
        if (area >= 0 && scan->areas[area].shapes)
            shapeEnd = end;
        x = end;
    }
    if (shapeEnd > shapeStart)
        addRun(&scan->shape, shapeStart, y, shapeEnd - shapeStart);
    return scan->shape.rowStart <= scan->shapeLimit; // the rows above are final
}

// GetObject gives a DIB section's height as positive whichever way up its rows lie. Where
// two mirrored rows differ, a pixel read through GDI tells which of them is the top; if
// none differ, the mask reads the same either way.
static bool rowsBottomUp(HBITMAP mask, const BYTE* bits, size_t stride, int step, int width, int height)
{
    for (int y = 0; y < height / 2; y++) {
        const BYTE* top = bits + stride * y;
        const BYTE* bottom = bits + stride * (height - 1 - y);
        for (int x = 0; x < width; x++) {
            COLORREF lower = pixelOfRow(bottom, step, x);
            if (pixelOfRow(top, step, x) != lower) {
                HDC dc = CreateCompatibleDC(NULL);
                HGDIOBJ old = dc ? SelectObject(dc, mask) : NULL;
                if (!old)
                    fatal(-1);
                bool bottomUp = GetPixel(dc, x, y) == lower;
                SelectObject(dc, old);
                DeleteDC(dc);
                return bottomUp;
            }
        }
    }
    return false;
}

// A 24- or 32-bit mask, as mask files are, is read where it lies. False if it is not one;
// *fits false if the shape grew too fine.
static bool scanMaskBits(MaskScan* scan, HBITMAP mask, int width, int height, bool* fits)
{
    DIBSECTION dib;
    if (GetObject(mask, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits || dib.dsBm.bmWidth != width
        || dib.dsBm.bmHeight != height || dib.dsBmih.biCompression != BI_RGB
        || (dib.dsBm.bmBitsPixel != 24 && dib.dsBm.bmBitsPixel != 32))
        return false;
    GdiFlush();
    int step = dib.dsBm.bmBitsPixel / 8;
    size_t stride = (static_cast<size_t>(width) * step + 3) & ~size_t(3);
    const BYTE* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
    bool bottomUp = rowsBottomUp(mask, bits, stride, step, width, height);
    for (int y = 0; y < height && *fits; y++)
        *fits = scanMaskRow(scan, bits + stride * (bottomUp ? height - 1 - y : y), step, width, y);
    return true;
}

// Any other mask is copied in strips of rows, each in one copy.
static bool scanMaskStrips(MaskScan* scan, HBITMAP mask, int width, int height)
{
    HDC maskDC = CreateCompatibleDC(app.windowDC);
    if (!maskDC)
        fatal(-1);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    const int stripPixels = 1 << 20;
    int stripRows = width >= stripPixels ? 1 : stripPixels / width;
    if (stripRows > height)
        stripRows = height;
    PixelBuffer strip;
    if (!createPixelBuffer(&strip, width, stripRows))
        fatal(-1);
    bool fits = true;
    for (int top = 0; top < height && fits; top += stripRows) {
        int rows = height - top < stripRows ? height - top : stripRows;
        capturePixels(&strip, maskDC, 0, top, width, rows);
        for (int r = 0; r < rows && fits; r++)
            fits = scanMaskRow(scan, reinterpret_cast<const BYTE*>(strip.bits + static_cast<size_t>(r) * width), 4,
                               width, top + r);
    }
    freePixelBuffer(&strip);
    SelectObject(maskDC, oldMask);
    DeleteDC(maskDC);
    return fits;
}

// The mask is scanned run by run; markers are few, so the skin pixels under them are
// read one at a time. A mask too fine for a window's shape leaves no area.
void scanMask(HBITMAP mask, int width, int height, DWORD shapeLimit)
{
    MaskScan scan = {};
    scan.shapeLimit = shapeLimit;
    maskAreas(scan.areas);
    memset(scan.cache.color, 0xFF, sizeof scan.cache.color); // CLR_INVALID: no pixel's colour
    for (POINT& at : scan.markers.own)
        at.x = -1;
    scan.markers.common.x = -1;

    bool fits = true;
    if (!scanMaskBits(&scan, mask, width, height, &fits))
        fits = scanMaskStrips(&scan, mask, width, height);
    takeTextColors(scan.markers);
    for (int i = 0; i < maskAreaCount; i++) {
        if (!fits)
            free(scan.runs[i].rects);
        *scan.areas[i].region = fits ? finishRunRegion(&scan.runs[i]) : NULL;
    }
    free(scan.shape.rects);
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

static DWORD regionRectangles(HRGN region)
{
    DWORD bytes = GetRegionData(region, 0, NULL);
    return bytes > sizeof(RGNDATAHEADER) ? (bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT) : 0;
}

// Puts an image (and its mask) in place: regions, back buffer, size and shape. A user
// skin whose back buffer cannot be made or whose mask defines no area is refused,
// leaving the caller to fall back to the built-in skin.
static bool installSkin(HWND window, HBITMAP image, HBITMAP mask, int width, int height, bool builtIn)
{
    replaceBitmap(app.skinDC, image, app.skinDCStartBitmap);
    // A DIB section: made and selected in a fraction of the time a device bitmap takes.
    void* bits;
    HBITMAP backBuffer = createTopDownDIB(width, height, &bits);
    if (!backBuffer) {
        if (builtIn)
            fatal(-1);
        if (mask)
            DeleteObject(mask);
        return false;
    }
    replaceBitmap(app.backDC, backBuffer, app.backDCStartBitmap);
    freeSkinRegions(window);

    if (mask) {
        scanMask(mask, width, height);
        DeleteObject(mask);
    } else {
        setDefaultTextColors(builtIn);
        buildDefaultLayout();
    }
    HRGN extent = finishLayout();
    if (!builtIn
        && (app.skinWidth <= 0 || app.skinHeight <= 0 || regionRectangles(app.windowRegion) > maxShapeRectangles)) {
        DeleteObject(extent);
        return false;
    }

    // The face lands at the window's (0, 0): a source region at the extent's origin.
    blitSkinRegion(app.backDC, app.windowRegion, extent);
    app.fieldsShown = false;
    if (app.snapTol != 0)
        drawLatchedIntoBackBuffer(app.skinButtons[snapButton]);
    if (app.alwaysOnTop)
        drawLatchedIntoBackBuffer(app.skinButtons[onTopButton]);

    app.scale = scaleForWindow(window);
    shapeWindow(window, SWP_NOMOVE);
    DeleteObject(extent);
    return true;
}

// The built-in arrangement's pressed pictures end at this column of the image.
static int builtInImageWidth()
{
    int right = 0;
    for (const ButtonDescription& button : buttonDescriptions)
        if (button.face.right + faceWidth > right)
            right = button.face.right + faceWidth;
    return right;
}

static bool fileExists(const char* path, void*)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// A mask whose name is too long for the loader would be left out without a word, and the
// skin shown in the wrong arrangement. Only the long form of the full name finds such a
// file: \\?\C:\... on a drive, \\?\UNC\server\share\... on a share.
static bool unreachableMask(const char* maskPath)
{
    DWORD length = GetFullPathNameA(maskPath, 0, NULL, NULL);
    if (length <= MAX_PATH) // with its terminator
        return false;
    char* longName = static_cast<char*>(malloc(length + 8));
    if (!longName)
        return true;
    char* name = longName + 8;
    bool exists = false;
    if (GetFullPathNameA(maskPath, length, name, NULL) - 1 < length - 1) {
        bool share = name[0] == '\\' && name[1] == '\\';
        name -= share ? 6 : 4; // the share's leading backslashes become part of the prefix
        memcpy(name, share ? "\\\\?\\UNC\\" : "\\\\?\\", share ? 8 : 4);
        exists = GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
    }
    free(longName);
    return exists;
}

// A usable BMP file: a file on a disk whose header passes the rules, whose pixels are all
// there and whose run-length stream stays in the picture. A device is never opened: a
// serial port's name would hang the start for good.
struct BitmapFile {
    int width, height;
    BYTE* topDownFile; // the whole file if its rows run top-down (malloc'd), else null
};

static bool readBitmapFile(const char* path, BitmapFile* bitmap)
{
    bitmap->topDownFile = NULL;
    if (isDeviceName(path))
        return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BYTE header[bmpHeaderBytes];
    BYTE* bytes = header;
    DWORD got = 0, rest = 0, sizeHigh = 0, size = GetFileSize(file, &sizeHigh);
    bool read = GetFileType(file) == FILE_TYPE_DISK && size != INVALID_FILE_SIZE && sizeHigh == 0
        && ReadFile(file, header, sizeof header, &got, NULL);
    if (read && bmpNeedsWholeFile(header, got)) {
        // Room past the end for a colour table of 256 the file may leave out: drawing reads one.
        bytes = static_cast<BYTE*>(calloc(size + 1024, 1));
        read = bytes && ReadFile(file, bytes + got, size - got, &rest, NULL) && rest == size - got;
        if (bytes)
            memcpy(bytes, header, got);
    }
    CloseHandle(file);
    int32_t w = 0, h = 0;
    bool topDown = false;
    read = read && bmpFileUsable(bytes, got + rest, size, &w, &h, &topDown);
    bitmap->width = w;
    bitmap->height = h;
    if (read && topDown)
        bitmap->topDownFile = bytes;
    else if (bytes != header)
        free(bytes);
    return read;
}

// Rows that run top-down, drawn at the given size (a mask's is the skin's): the system's
// loader under Wine draws them black.
static HBITMAP drawTopDownRows(const BYTE* file, int width, int height, int drawnWidth, int drawnHeight)
{
    void* bits;
    HBITMAP bitmap = createTopDownDIB(drawnWidth, drawnHeight, &bits);
    HDC dc = bitmap ? CreateCompatibleDC(NULL) : NULL;
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(file + sizeof(BITMAPFILEHEADER));
    DWORD offset;
    memcpy(&offset, file + 10, sizeof offset);
    int drawn = 0;
    if (dc) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        SetStretchBltMode(dc, COLORONCOLOR); // a mask's colours are kept, never blended
        drawn = StretchDIBits(dc, 0, 0, drawnWidth, drawnHeight, 0, 0, width, height,
                              file + (offset ? offset : sizeof(BITMAPFILEHEADER) + info->bmiHeader.biSize), info,
                              DIB_RGB_COLORS, SRCCOPY);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    if (bitmap && drawn <= 0) { // none drawn, or GDI_ERROR
        DeleteObject(bitmap);
        bitmap = NULL;
    }
    return bitmap;
}

// Loads a usable file as the skin's image (its own size) or as a mask (the skin's size,
// whatever its own).
static HBITMAP loadBitmapFile(const char* path, int* width, int* height, bool mask)
{
    BitmapFile file;
    if (!readBitmapFile(path, &file))
        return NULL;
    int drawnWidth = mask ? *width : file.width, drawnHeight = mask ? *height : file.height;
    HBITMAP bitmap = file.topDownFile
        ? drawTopDownRows(file.topDownFile, file.width, file.height, drawnWidth, drawnHeight)
        : static_cast<HBITMAP>(LoadImageA(NULL, path, IMAGE_BITMAP, drawnWidth, drawnHeight,
                                          LR_LOADFROMFILE | (mask ? LR_CREATEDIBSECTION : 0)));
    free(file.topDownFile);
    *width = drawnWidth;
    *height = drawnHeight;
    return bitmap;
}

// A mask that is there but cannot be read as drawn refuses the skin, as an unusable image
// does; only a skin without a mask takes the built-in arrangement.
static bool loadUserSkin(HWND window, const char* named)
{
    size_t length = strlen(named);
    char* skinPath = static_cast<char*>(malloc(length + 16));
    char* maskPath = static_cast<char*>(malloc(length + 16));
    bool loaded = false;
    int width, height;
    if (skinPath && maskPath && resolveSkinPaths(named, skinPath, length + 16, maskPath, length + 16, fileExists, NULL)
        && !unreachableMask(maskPath)) {
        HBITMAP image = loadBitmapFile(skinPath, &width, &height, false), mask = NULL;
        if (image && maskPath[0] && fileExists(maskPath, NULL)) {
            mask = loadBitmapFile(maskPath, &width, &height, true);
            if (!mask) {
                DeleteObject(image);
                image = NULL;
            }
        }
        // The built-in arrangement reads the faces and the pressed pictures from the image.
        if (image && !mask && (width < builtInImageWidth() || height < faceHeight)) {
            DeleteObject(image);
            image = NULL;
        }
        if (image && installSkin(window, image, mask, width, height, false)) {
            free(app.skinFileName); // may be the very string named: it is no longer read
            app.skinFileName = skinPath;
            skinPath = NULL;
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
    // As a DIB section the bitmap is used as it lies in the resource, without first being
    // turned into the display's format.
    HBITMAP image = static_cast<HBITMAP>(
        LoadImageA(app.appInstance, "RES_GFX_SKIN_MAIN", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!image) {
        MessageBoxA(window, "Could not load skin: Out of memory or other system error occured.", "Huebrick - Error",
                    MB_OK | MB_ICONERROR);
        fatal(-2);
    }
    installSkin(window, image, NULL, faceWidth, faceHeight, true);
}

bool loadSkin(HWND window, char* path)
{
    // The wait cursor while a user skin's files are read and scanned; the built-in skin is
    // ready too soon for it to be seen, and setting it costs the first frame a millisecond.
    HCURSOR previous = path ? SetCursor(LoadCursorA(NULL, IDC_WAIT)) : NULL;
    bool failed = path && !loadUserSkin(window, path);
    if (!path || failed)
        loadBuiltInSkin(window);
    if (path)
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
    // The whole window is shown here: the repaint the new shape asked for would only work out
    // its visible region again, for a shape of many rectangles half a second under Wine.
    presentBackBuffer(NULL);
    ValidateRect(window, NULL);
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
    if (getOpenFileName(&dialog))
        changeSkin(window, file);
}

void onDropFiles(HWND window, HDROP drop)
{
    if (dragQueryFile(drop, 0xFFFFFFFF, NULL, 0) > 0) {
        UINT length = dragQueryFile(drop, 0, NULL, 0);
        char* path = static_cast<char*>(malloc(length + 1));
        if (path && dragQueryFile(drop, 0, path, length + 1) > 0)
            changeSkin(window, path);
        free(path);
    }
    dragFinish(drop);
}

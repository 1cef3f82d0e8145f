// Skin test helpers that touch files, drops and device contexts.
#include "skin_helpers.h"
#include "harness.h"
#include "res/resource.h"
#include "skin/pixels.h"

#include <shlobj.h>

#include <cstring>
#include <map>

// Little-endian fields of the headers, as the processor stores them.
static void put(std::vector<BYTE>* out, size_t at, unsigned value, size_t bytes)
{
    memcpy(&(*out)[at], &value, bytes);
}

std::vector<BYTE> bmpBytes(const Picture& picture, bool topDown, int bitsPerPixel)
{
    std::map<COLORREF, int> palette;
    if (bitsPerPixel == 8)
        for (COLORREF c : picture.pixels)
            if (palette.count(c) == 0 && palette.size() < 256) {
                int index = int(palette.size());
                palette[c] = index;
            }
    size_t paletteBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
    size_t stride = (size_t(picture.width) * bitsPerPixel / 8 + 3) & ~size_t(3);
    size_t offset = 14 + 40 + paletteBytes;
    std::vector<BYTE> out(offset + stride * picture.height, 0);
    out[0] = 'B';
    out[1] = 'M';
    put(&out, 2, unsigned(out.size()), 4);
    put(&out, 10, unsigned(offset), 4);
    put(&out, 14, 40, 4);
    put(&out, 18, unsigned(picture.width), 4);
    put(&out, 22, unsigned(topDown ? -picture.height : picture.height), 4);
    put(&out, 26, 1, 2);
    put(&out, 28, unsigned(bitsPerPixel), 2);
    put(&out, 34, unsigned(stride * picture.height), 4);
    if (bitsPerPixel == 8) {
        put(&out, 46, 256, 4);
        for (const auto& entry : palette) {
            size_t at = 54 + size_t(entry.second) * 4;
            out[at] = GetBValue(entry.first);
            out[at + 1] = GetGValue(entry.first);
            out[at + 2] = GetRValue(entry.first);
        }
    }
    for (int y = 0; y < picture.height; y++) {
        BYTE* row = &out[offset + stride * size_t(topDown ? y : picture.height - 1 - y)];
        for (int x = 0; x < picture.width; x++) {
            COLORREF c = picture.at(x, y);
            if (bitsPerPixel == 8) {
                row[x] = BYTE(palette[c]);
            } else {
                row[x * 3] = GetBValue(c);
                row[x * 3 + 1] = GetGValue(c);
                row[x * 3 + 2] = GetRValue(c);
            }
        }
    }
    return out;
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    folder = std::string(base) + "huebrick-skin-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), NULL);
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(path(name).c_str());
            else
                DeleteFileA(path(name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string TempFolder::path(const std::string& name) const
{
    return folder + "\\" + name;
}

std::string TempFolder::write(const std::string& name, const std::vector<BYTE>& bytes) const
{
    std::string full = path(name);
    HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        if (!bytes.empty())
            WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, NULL);
        CloseHandle(file);
    }
    return full;
}

Picture builtInSkinPicture()
{
    HBITMAP skin = LoadBitmapA(GetModuleHandleA(NULL), "RES_GFX_SKIN_MAIN");
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, skin);
    Picture picture = capturePicture(dc, 166, 132);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(skin);
    return picture;
}

Picture placeSkin(int width, int height)
{
    Picture skin(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            skin.at(x, y) = placeColor(x, y);
    return skin;
}

Picture skinWithBorder(int columns, int rows)
{
    Picture skin = builtInSkinPicture();
    skin.fill(0, 0, columns, 132, RGB(255, 0, 255));
    skin.fill(0, 0, 83, rows, RGB(255, 0, 255));
    return skin;
}

Picture capturePicture(HDC dc, int width, int height)
{
    Picture picture(width, height);
    PixelBuffer buffer;
    if (!createPixelBuffer(&buffer, width, height))
        return picture;
    capturePixels(&buffer, dc, 0, 0, width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            picture.at(x, y) = pixelAt(buffer, x, y);
    freePixelBuffer(&buffer);
    return picture;
}

void dropFiles(HWND window, const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& p : paths)
        size += p.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt.x = 40;
    drop->pt.y = 40;
    drop->fNC = FALSE;
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const std::string& p : paths) {
        memcpy(names, p.c_str(), p.size() + 1);
        names += p.size() + 1;
    }
    GlobalUnlock(block);
    // The handler releases the block with DragFinish.
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

std::string describeRegion(HRGN region)
{
    if (!region)
        return "null";
    RECT box;
    if (GetRgnBox(region, &box) == NULLREGION)
        return "empty";
    DWORD bytes = GetRegionData(region, 0, NULL);
    unsigned rects = bytes > sizeof(RGNDATAHEADER) ? unsigned((bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT)) : 0;
    char text[96];
    snprintf(text, sizeof text, "box (%ld,%ld,%ld,%ld), %u rects", box.left, box.top, box.right, box.bottom, rects);
    return text;
}

bool regionIsRect(HRGN region, int left, int top, int right, int bottom)
{
    if (!region)
        return false;
    HRGN rect = CreateRectRgn(left, top, right, bottom);
    bool same = EqualRgn(region, rect) != FALSE;
    DeleteObject(rect);
    return same;
}

void loadSkinFile(HWND window, const std::string& path)
{
    std::vector<char> named(path.begin(), path.end());
    named.push_back('\0');
    loadSkin(window, named.data());
}

SIZE windowSize(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return { r.right - r.left, r.bottom - r.top };
}

SIZE backBufferSize()
{
    BITMAP about = {};
    GetObjectA(GetCurrentObject(app.backDC, OBJ_BITMAP), sizeof about, &about);
    return { about.bmWidth, about.bmHeight };
}

void expectBuiltInSkin(HWND window)
{
    EXPECT_EQ(nullptr, app.skinFileName);
    EXPECT_TRUE(menuChecked(CMD_DEFAULT_SKIN));
    EXPECT_FALSE(menuChecked(CMD_USER_SKIN));
    SIZE size = windowSize(window);
    EXPECT_EQ(83, size.cx);
    EXPECT_EQ(132, size.cy);
    SIZE back = backBufferSize();
    EXPECT_EQ(83, back.cx);
    EXPECT_EQ(132, back.cy);
    EXPECT_TRUE(regionIsRect(app.skinButtons[closeButton].hitRegion, 64, 5, 77, 15))
        << describeRegion(app.skinButtons[closeButton].hitRegion);
    EXPECT_TRUE(regionIsRect(app.skinButtons[moreWhiteButton].pressedRegion, 151, 111, 161, 122));
    EXPECT_TRUE(regionIsRect(app.valueFields[blueHexField].region, 49, 112, 65, 121));
    EXPECT_TRUE(regionIsRect(app.displayRegion, 18, 20, 65, 60)) << describeRegion(app.displayRegion);
    RECT box;
    GetRgnBox(app.windowRegion, &box);
    EXPECT_TRUE(box.left == 0 && box.top == 0 && box.right == 83 && box.bottom == 132);
    // The side notches are left out of the shape.
    EXPECT_FALSE(PtInRegion(app.windowRegion, 0, 20));
    EXPECT_TRUE(PtInRegion(app.windowRegion, 1, 20));
    EXPECT_EQ(RGB(255, 43, 35), app.valueFields[redDecField].textColor);
    EXPECT_EQ(RGB(93, 89, 90), app.valueFields[blueHexField].textColor);
}

void expectOneFailureMessage(MessageBoxCatcher& catcher)
{
    std::vector<MessageBoxCatcher::Seen> boxes = catcher.seen();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Huebrick - Error", boxes[0].caption);
    EXPECT_EQ("Could not load user skin: Unable to open skin image.", boxes[0].text);
}

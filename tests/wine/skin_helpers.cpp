// Skin test helpers that touch files, drops and device contexts.
#include "skin_helpers.h"
#include "skin/pixels.h"

#include <shlobj.h>

#include <cstring>
#include <map>

static void put16(std::vector<BYTE>* out, size_t at, unsigned value)
{
    (*out)[at] = BYTE(value);
    (*out)[at + 1] = BYTE(value >> 8);
}

static void put32(std::vector<BYTE>* out, size_t at, unsigned value)
{
    put16(out, at, value & 0xFFFF);
    put16(out, at + 2, value >> 16);
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
    put32(&out, 2, unsigned(out.size()));
    put32(&out, 10, unsigned(offset));
    put32(&out, 14, 40);
    put32(&out, 18, unsigned(picture.width));
    put32(&out, 22, unsigned(topDown ? -picture.height : picture.height));
    put16(&out, 26, 1);
    put16(&out, 28, unsigned(bitsPerPixel));
    put32(&out, 34, unsigned(stride * picture.height));
    if (bitsPerPixel == 8) {
        put32(&out, 46, 256);
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
    Picture picture = pictureOfBitmap(skin);
    DeleteObject(skin);
    return picture;
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

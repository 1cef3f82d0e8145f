// User skins dropped on the real window: files that are no usable skin, a mask in an
// arrangement of its own, field text, and the program's mask scan against the plain one.
#include "harness.h"
#include "bench/mask_reference.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>

namespace {

// BMP file bytes of w x h pixels at 1 to 32 bits a pixel: 16 and 32 as bit fields (compression 3,
// their 12 bytes of masks where the colour table would be: 5, 6 and 5 bits, or 8 each), up to 8
// with a colour table. fill(y, bytes, size) writes the picture's row y, 0 at the top, and as row
// -1 the colour table. The rows run bottom-up unless asked otherwise.
std::vector<BYTE> bmpFile(int w, int h, WORD bits, bool topDown, const std::function<void(int, BYTE*, int)>& fill)
{
    const int stride = (w * bits + 31) / 32 * 4, table = bits < 16 ? 4 << bits : bits == 24 ? 0 : 12;
    const int start = 54 + table, size = start + stride * h;
    const int header[] = { size, 0, start, 40, w, topDown ? -h : h, 1 | bits << 16, table == 12 ? 3 : 0, stride * h };
    const DWORD masks[] = { 0xF800, 0x7E0, 0x1F, 0xFF0000, 0xFF00, 0xFF };
    std::vector<BYTE> b(size);
    memcpy(&b[0], "BM", 2), memcpy(&b[2], header, sizeof header);
    table == 12 ? void(memcpy(&b[54], masks + (bits == 16 ? 0 : 3), 12)) : fill(-1, &b[54], table);
    for (int y = 0; y < h; y++)
        fill(y, &b[start + stride * (topDown ? y : h - 1 - y)], stride);
    return b;
}

std::vector<BYTE> bmpBytes(const Picture& picture, bool topDown = false)
{
    return bmpFile(picture.width, picture.height, 24, topDown, [&](int y, BYTE* row, int) {
        for (int x = 0; y >= 0 && x < picture.width; x++) {
            COLORREF c = picture.at(x, y);
            row[3 * x] = GetBValue(c), row[3 * x + 1] = GetGValue(c), row[3 * x + 2] = GetRValue(c);
        }
    });
}

// 166 x 132 pixels of noise, and a colour table of noise.
std::vector<BYTE> noiseBmp(WORD bits, bool topDown)
{
    unsigned noise = 12345;
    return bmpFile(166, 132, bits, topDown, [&](int, BYTE* bytes, int size) {
        for (int i = 0; i < size; i++)
            bytes[i] = BYTE((noise = noise * 1103515245 + 12345) >> 16);
    });
}

// Files under the temporary folder, removed again with the object.
struct TempFiles {
    std::vector<std::string> paths;
    ~TempFiles()
    {
        for (const std::string& p : paths)
            DeleteFileA(p.c_str()) || RemoveDirectoryA(p.c_str());
    }
    std::string path(const std::string& name)
    {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        paths.push_back(folder + std::to_string(GetCurrentProcessId()) + "-" + name);
        return paths.back();
    }
    std::string write(const std::string& name, const std::vector<BYTE>& bytes)
    {
        std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return paths.back();
    }
    // A skin NAME.bmp and, given one, its mask NAME_mask.bmp.
    std::string skin(const std::string& name, const std::vector<BYTE>& image, const Picture* mask = nullptr)
    {
        if (mask)
            write(name + "_mask.bmp", bmpBytes(*mask));
        return write(name + ".bmp", image);
    }
};

// A mask in an arrangement of its own for a 120 x 90 skin; the body's corner (10, 8) is the
// window's origin. Pressed pictures lie in a strip below the body, a text marker above it.
const struct {
    COLORREF color;
    RECT rect;
} arrangement[] = {
    { RGB(255, 0, 0), { 10, 8, 110, 80 } },   // body, painted first, the rest on top
    { RGB(0, 50, 50), { 20, 12, 60, 30 } },   // display, upper half
    { RGB(0, 100, 100), { 20, 30, 60, 48 } }, // display, lower half
    { RGB(0, 10, 0), { 70, 12, 80, 20 } },    // snap: face
    { RGB(0, 15, 0), { 2, 82, 12, 90 } },     //       pressed
    { RGB(0, 70, 0), { 70, 30, 78, 38 } },    // less red: face
    { RGB(0, 75, 0), { 26, 82, 34, 90 } },    //           pressed
    { RGB(0, 0, 140), { 66, 50, 100, 60 } },  // red decimal field
    { RGB(0, 0, 20), { 112, 0, 114, 1 } },    // its text colour marker
};

class SkinTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startProgram();
        builtIn = backBuffer();
    }
    // Drops the files on the window as Explorer hands them over, the names in UTF-16; the handler
    // frees the block.
    void drop(const std::string& path, const std::string& second = "")
    {
        std::string names = path + '\0' + second + '\0'; // an empty name ends the list
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + 2 * names.size() + 2);
        DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(block));
        files->pFiles = sizeof(DROPFILES), files->fWide = TRUE;
        MultiByteToWideChar(CP_ACP, 0, names.data(), names.size(), reinterpret_cast<WCHAR*>(files + 1), names.size());
        GlobalUnlock(block);
        SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    }
    // Its image and mask with rows top-down, which the system's loader draws black under Wine; the mask
    // drawn twice the size, to be brought to the skin's.
    std::string arrangedSkin()
    {
        Picture mask(240, 180, RGB(255, 255, 255));
        for (const auto& a : arrangement)
            mask.fill(2 * a.rect.left, 2 * a.rect.top, 2 * a.rect.right, 2 * a.rect.bottom, a.color);
        files.write("arranged_mask.bmp", bmpBytes(mask, true));
        return files.write("arranged.bmp", bmpBytes(placedPicture(120, 90), true));
    }
    std::vector<COLORREF> backBuffer()
    {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < app.windowRect.bottom - app.windowRect.top; y++)
            for (int x = 0; x < app.windowRect.right - app.windowRect.left; x++)
                pixels.push_back(backPixel(x, y));
        return pixels;
    }
    // Empty when the window has the built-in skin as it started: its size, its face, no user
    // skin named.
    std::string builtInSkinDifferences()
    {
        RECT r;
        GetWindowRect(window, &r);
        return std::string(app.skinFileName ? "a user skin named; " : "")
            + (r.right - r.left != 83 || r.bottom - r.top != 132 ? "the size; " : "")
            + (backBuffer() != builtIn ? "the face" : "");
    }
    std::vector<COLORREF> builtIn;
    TempFiles files;
};

// Each says once why, brings the built-in skin back and forgets the user skin's name, also
// when it is the saved skin at the next start. A round 2048 x 2048 window is no trouble.
TEST_F(SkinTest, UnusableSkinsBringTheBuiltInSkinBack)
{
    const std::vector<std::string> failure
        = { "Huebrick - Error | Could not load user skin: Unable to open skin image." };
    const std::vector<BYTE> good = bmpBytes(Picture(166, 132, RGB(1, 2, 3)));
    const std::vector<BYTE> half(good.begin(), good.end() - 166 * 66 * 3);
    auto with = [&](size_t at, DWORD value) {
        std::vector<BYTE> b = good;
        memcpy(&b[at], &value, 4);
        return b;
    };
    const Picture blank(166, 132, RGB(255, 255, 255));
    Picture markers = blank, checkers(256, 256, RGB(255, 0, 0));
    markers.fill(0, 0, 166, 1, RGB(0, 0, 20));
    for (int y = 0; y < 256; y++)
        for (int x = (y + 1) % 2; x < 256; x += 2)
            checkers.at(x, y) = RGB(255, 255, 255);
    std::string longMask;
    HANDLE pipe = NULL;
    const struct {
        const char* what;
        std::function<std::string()> make;
    } cases[] = {
        { "missing file", [&] { return files.path("missing.bmp"); } },
        { "empty file", [&] { return files.write("empty.bmp", {}); } },
        { "half the pixels", [&] { return files.write("half.bmp", half); } },
        { "wider than 8192", [&] { return files.write("wide.bmp", bmpBytes(Picture(8193, 1))); } },
        { "pixels beyond the end", [&] { return files.write("offset.bmp", with(10, 1u << 20)); } },
        { "path of 600 characters", [&] { return files.path(std::string(600, 'a') + ".bmp"); } },
        { "folder named like a skin",
          [&] { return CreateDirectoryA(files.path("folder.bmp").c_str(), NULL), files.paths.back(); } },
        { "mask without any area", [&] { return files.skin("noarea", good, &blank); } },
        { "mask of a text marker only", [&] { return files.skin("markers", good, &markers); } },
        { "no mask and too narrow", [&] { return files.write("narrow.bmp", bmpBytes(Picture(160, 132))); } },
        { "no mask and lower than the face", [&] { return files.write("low.bmp", bmpBytes(Picture(166, 131))); } },
        { "a run-length stream past the row", [&] { return files.write("runs.bmp", with(28, 8 | BI_RLE8 << 16)); } },
        { "a pipe, which would be read for good",
          [&] {
              pipe = CreateNamedPipeA("\\\\.\\pipe\\skin.bmp", PIPE_ACCESS_OUTBOUND, 0, 1, 0, 0, 0, NULL);
              return std::string("\\\\.\\pipe\\skin.bmp");
          } },
        { "a mask beyond the path limit",
          [&] {
              std::string skin = files.path("");
              skin += std::string(MAX_PATH - 2 - skin.size(), 'm') + ".bmp"; // 258 characters, the mask 263
              longMask = "\\\\?\\" + skin.substr(0, skin.size() - 4) + "_mask.bmp";
              HANDLE file = CreateFileA(longMask.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
              DWORD written;
              WriteFile(file, good.data(), DWORD(good.size()), &written, NULL);
              CloseHandle(file);
              return files.write(skin.substr(skin.rfind('-') + 1), good);
          } },
        { "a mask too fine to be a window's shape",
          [&] { return files.skin("checkers", bmpBytes(checkers), &checkers); } },
    };
    std::string arranged = arrangedSkin();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        drop(arranged); // from a user skin, so that every part of the fallback shows
        ASSERT_NE(nullptr, app.skinFileName);
        std::string path = c.make();
        PopupCatcher catcher;
        drop(path);
        EXPECT_EQ(failure, catcher.seen());
        EXPECT_EQ("", builtInSkinDifferences());
    }
    DeleteFileA(longMask.c_str());
    CloseHandle(pipe);

    Picture round(2048, 2048, RGB(255, 255, 255));
    for (int y = 0; y < 2048; y++)
        for (int x = 0; x < 2048; x++)
            if ((x - 1024) * (x - 1024) + (y - 1024) * (y - 1024) < 1024 * 1024)
                round.at(x, y) = RGB(255, 0, 0);
    drop(files.skin("round", bmpBytes(Picture(2048, 2048)), &round));
    EXPECT_NE(nullptr, app.skinFileName) << "the round skin";
    EXPECT_EQ(2047, app.windowRect.right - app.windowRect.left);
    closeProgram();
    const std::string gone = files.path("gone.bmp");
    setValue("skinFileName", REG_SZ, gone.c_str(), DWORD(gone.size() + 1));
    PopupCatcher catcher;
    startProgram();
    EXPECT_EQ(failure, catcher.seen());
    EXPECT_EQ("", builtInSkinDifferences());
    closeProgram();
    EXPECT_EQ(std::vector<BYTE>{ 0 }, storedValue("skinFileName"));
}

// The arrangement's hit areas act and its pressed pictures show; where the built-in skin has
// a button this one has body. Of two files dropped only the first counts.
TEST_F(SkinTest, MaskInAnotherArrangementGivesWorkingHitAreas)
{
    PopupCatcher catcher;
    drop(arrangedSkin(), files.path("missing.bmp"));
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(100, r.right - r.left);
    EXPECT_EQ(72, r.bottom - r.top);
    EXPECT_EQ(placeColor(112, 0), app.valueFields[redDecField].textColor) << "the marker's colour";

    press(64, 26); // less red
    EXPECT_EQ(hex(RGB(254, 255, 255)), hex(app.curColor));
    EXPECT_EQ(hex(placeColor(26, 82)), hex(GetPixel(app.windowDC, 60, 22))) << "the pressed picture";
    release(64, 26);
    EXPECT_EQ(hex(placeColor(70, 30)), hex(GetPixel(app.windowDC, 60, 22))) << "the face";
    EXPECT_EQ(2u, recordedCount());

    ASSERT_NE(0, app.snapTol);
    press(65, 8);
    release(65, 8);
    EXPECT_EQ(0, app.snapTol) << "the snap button";

    ASSERT_TRUE(putText("77"));
    mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, 70, 46);
    EXPECT_EQ(hex(RGB(77, 255, 255)), hex(app.curColor)) << "the red decimal field";

    press(54, 10); // the built-in minimize button's place
    release(54, 10);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(std::vector<std::string>(), catcher.seen());
}

// A field's text drawn over a wider one looks as drawn afresh by a skin load, in the built-in
// skin and in a field smaller than its text; there it never reaches the skin around the
// field, where older values would pile up.
TEST_F(SkinTest, FieldTextIsDrawnWholeAndInsideItsField)
{
    Picture mask(60, 40, RGB(255, 0, 0));
    mask.fill(10, 10, 16, 14, RGB(0, 0, 140)); // the red decimal field, 6 x 4
    const std::string tiny = files.skin("tiny", bmpBytes(placedPicture(60, 40)), &mask);
    for (const std::string& skin : { std::string(), tiny }) {
        paste("6F6F6F");
        skin.empty() ? command(CMD_DEFAULT_SKIN) : drop(skin);
        std::vector<COLORREF> fresh = backBuffer();
        paste("C8C8C8");
        paste("6F6F6F");
        EXPECT_TRUE(fresh == backBuffer()) << (skin.empty() ? "built-in skin" : "small field");
    }
    int changed = 0;
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 60; x++)
            changed += !(x >= 10 && x < 16 && y >= 10 && y < 14) && backPixel(x, y) != placeColor(x, y);
    EXPECT_EQ(0, changed) << "pixels around the field";
}

// The mask as the scan may meet it: a DIB section of the given bits, rows bottom-up, as
// mask files load; or with no bits, a device bitmap, which the scan copies to read.
HBITMAP maskCopy(HBITMAP source, int width, int height, WORD bits)
{
    BITMAPINFO info = { { sizeof info.bmiHeader, width, height, 1, bits, BI_RGB, 0, 0, 0, 0, 0 }, {} };
    void* pixels = NULL;
    HDC screen = GetDC(NULL);
    HBITMAP copy = bits ? CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pixels, NULL, 0)
                        : CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(NULL, screen);
    HDC from = CreateCompatibleDC(NULL), to = CreateCompatibleDC(NULL);
    HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(source);
    return copy;
}

// Rows that run top-down are read by the program itself: each depth drawn as the system draws
// the same picture bottom-up.
TEST_F(SkinTest, TopDownPicturesOfEveryDepthAreDrawnAsBottomUpOnes)
{
    PopupCatcher catcher;
    for (WORD bits : { 1, 4, 8, 16, 24, 32 }) {
        drop(files.write("up.bmp", noiseBmp(bits, false)));
        std::vector<COLORREF> bottomUp = backBuffer();
        drop(files.write("down.bmp", noiseBmp(bits, true)));
        EXPECT_TRUE(bottomUp == backBuffer()) << bits << " bits";
    }
    EXPECT_EQ(std::vector<std::string>(), catcher.seen());
}

// The scan on its own: a skin in skinDC and busy random masks, each scanned both ways.
TEST(MaskScanTest, FastScanMatchesThePlainScan)
{
    const struct {
        int width, height, shortest, longest;
        unsigned noise;
        WORD bits; // 32: top-down DIB
    } masks[] = {
        { 257, 131, 1, 3, 99, 24 },   // short runs: many pieces per area; rows padded
        { 64, 300, 5, 80, 12345, 0 }, // runs longer than rows
        { 1, 50, 1, 1, 3, 32 },       // one column
    };
    app = AppState();
    app.skinDC = CreateCompatibleDC(NULL);
    for (const auto& m : masks) {
        SCOPED_TRACE(testing::Message() << m.width << " x " << m.height);
        Picture maskPicture(m.width, m.height);
        fillRandomMask(&maskPicture, m.shortest, m.longest, m.noise);
        for (int y = 0; y < m.height; y += 5) // rows of many body pieces
            for (int x = 0; x < m.width; x += 2)
                maskPicture.at(x, y) = RGB(255, 0, 0);
        HBITMAP skin = createDibFromPicture(placedPicture(m.width, m.height)), mask = createDibFromPicture(maskPicture);
        if (m.bits != 32)
            mask = maskCopy(mask, m.width, m.height, m.bits);
        HGDIOBJ startBitmap = SelectObject(app.skinDC, skin);
        referenceScanMask(mask, m.width, m.height);
        SkinAreas plain = takeScannedAreas();
        scanMask(mask, m.width, m.height);
        SkinAreas fast = takeScannedAreas();
        EXPECT_EQ("", compareScannedAreas(plain, fast));
        size_t missing = std::count(fast.regions.begin(), fast.regions.end(), HRGN(NULL));
        EXPECT_LT(missing * 2, fast.regions.size()) << "a busy mask defines most areas";
        freeScannedAreas(&plain);
        freeScannedAreas(&fast);
        SelectObject(app.skinDC, startBitmap);
        DeleteObject(mask);
        DeleteObject(skin);
    }
    DeleteDC(app.skinDC);
    app.skinDC = NULL;
}

} // namespace

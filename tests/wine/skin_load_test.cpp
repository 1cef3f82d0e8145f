// Loading user skins: dropped files and their masks, files that are no usable skin, and
// the saved skin name at start-up.
#include "harness.h"
#include "skin_helpers.h"
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "skin/skin.h"

#include <cstring>
#include <functional>

namespace {

const char* const errorCaption = "Huebrick - Error";
const char* const errorText = "Could not load user skin: Unable to open skin image.";

RECT windowSize(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    return r;
}

SIZE backBufferSize()
{
    BITMAP about = {};
    GetObjectA(GetCurrentObject(app.backDC, OBJ_BITMAP), sizeof about, &about);
    return { about.bmWidth, about.bmHeight };
}

bool checked(int command) { return (menuState(command) & MF_CHECKED) != 0; }

// The built-in skin, in everything a failed load must restore.
void expectBuiltInSkin(HWND window)
{
    EXPECT_EQ(nullptr, app.skinFileName);
    EXPECT_TRUE(checked(CMD_DEFAULT_SKIN));
    EXPECT_FALSE(checked(CMD_USER_SKIN));
    RECT size = windowSize(window);
    EXPECT_EQ(83, size.right);
    EXPECT_EQ(132, size.bottom);
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
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(83, box.right);
    EXPECT_EQ(132, box.bottom);
    EXPECT_FALSE(PtInRegion(app.windowRegion, 0, 20));
    EXPECT_TRUE(PtInRegion(app.windowRegion, 1, 20));
    EXPECT_EQ(RGB(255, 43, 35), app.valueFields[redDecField].textColor);
    EXPECT_EQ(RGB(93, 89, 90), app.valueFields[blueHexField].textColor);
}

void expectOneFailureMessage(MessageBoxCatcher& catcher)
{
    std::vector<MessageBoxCatcher::Seen> boxes = catcher.seen();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(errorCaption, boxes[0].caption);
    EXPECT_EQ(errorText, boxes[0].text);
}

// A 120 x 90 picture whose mask makes a 100 x 72 window: tells a masked load apart.
Picture maskedSkinPicture()
{
    Picture skin(120, 90);
    for (int y = 0; y < 90; y++)
        for (int x = 0; x < 120; x++)
            skin.at(x, y) = placeColor(x, y);
    return skin;
}

Picture bodyMask()
{
    Picture mask(120, 90, RGB(255, 255, 255));
    mask.fill(10, 8, 110, 80, RGB(255, 0, 0));
    mask.fill(20, 12, 60, 48, RGB(0, 50, 50));
    return mask;
}

// The built-in picture with a transparent border: an 80 x 128 window without a mask.
Picture borderSkinPicture()
{
    Picture skin = builtInSkinPicture();
    skin.fill(0, 0, 3, 132, RGB(255, 0, 255));
    skin.fill(0, 0, 83, 4, RGB(255, 0, 255));
    return skin;
}

class SkinLoadTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
    std::string writeMaskedSkin(const std::string& skinName, const std::string& maskName)
    {
        files.write(maskName, bmpBytes(bodyMask()));
        return files.write(skinName, bmpBytes(maskedSkinPicture()));
    }
    TempFolder files;
};

TEST_F(SkinLoadTest, DroppedMaskLoadsTheSkinBesideIt)
{
    std::string skin = writeMaskedSkin("steel.bmp", "steel_mask.bmp");
    const struct { std::string dropped; } drops[] = { { files.path("steel_mask.bmp") }, { skin } };
    for (const auto& d : drops) {
        onCommand(window, CMD_DEFAULT_SKIN);
        ASSERT_EQ(83, windowSize(window).right);
        MessageBoxCatcher catcher;
        dropFiles(window, { d.dropped });
        EXPECT_TRUE(catcher.seen().empty()) << d.dropped;
        ASSERT_NE(nullptr, app.skinFileName) << d.dropped;
        EXPECT_EQ(skin, app.skinFileName) << d.dropped;
        EXPECT_TRUE(checked(CMD_USER_SKIN));
        EXPECT_FALSE(checked(CMD_DEFAULT_SKIN));
        RECT size = windowSize(window);
        EXPECT_EQ(100, size.right) << d.dropped;
        EXPECT_EQ(72, size.bottom) << d.dropped;
        // After a drop the display is filled at once when the splash is off.
        EXPECT_EQ(app.curColor, backPixel(30, 20));
    }
}

TEST_F(SkinLoadTest, DroppedMaskWithoutItsSkinIsTheSkin)
{
    std::string lone = files.write("lone_mask.bmp", bmpBytes(builtInSkinPicture()));
    MessageBoxCatcher catcher;
    dropFiles(window, { lone });
    EXPECT_TRUE(catcher.seen().empty());
    ASSERT_NE(nullptr, app.skinFileName);
    EXPECT_EQ(lone, app.skinFileName);
    EXPECT_TRUE(checked(CMD_USER_SKIN));
    // No lone_mask_mask.bmp: the built-in layout, text colours from (83, 0).
    EXPECT_EQ(83, windowSize(window).right);
    EXPECT_TRUE(regionIsRect(app.skinButtons[closeButton].hitRegion, 64, 5, 77, 15));
    for (int i = 0; i < drawnFieldCount; i++)
        EXPECT_EQ(RGB(93, 89, 90), app.valueFields[i].textColor) << i;
}

TEST_F(SkinLoadTest, CapitalExtensionFindsItsMask)
{
    std::string skin = writeMaskedSkin("CAPS.BMP", "CAPS_mask.bmp");
    const std::string drops[] = { skin, files.path("CAPS_MASK.BMP") };
    for (const std::string& dropped : drops) {
        onCommand(window, CMD_DEFAULT_SKIN);
        MessageBoxCatcher catcher;
        dropFiles(window, { dropped });
        EXPECT_TRUE(catcher.seen().empty()) << dropped;
        EXPECT_EQ(100, windowSize(window).right) << dropped;
        EXPECT_EQ(72, windowSize(window).bottom) << dropped;
        ASSERT_NE(nullptr, app.skinFileName);
        // The name as found: the mask's "_MASK.BMP" gives way to ".bmp".
        std::string expected = dropped == skin ? skin : files.path("CAPS.bmp");
        EXPECT_EQ(expected, app.skinFileName);
    }
}

TEST_F(SkinLoadTest, OnlyTheFirstDroppedFileCounts)
{
    std::string masked = writeMaskedSkin("first.bmp", "first_mask.bmp");
    std::string border = files.write("second.bmp", bmpBytes(borderSkinPicture()));
    dropFiles(window, { masked, border });
    ASSERT_NE(nullptr, app.skinFileName);
    EXPECT_EQ(masked, app.skinFileName);
    EXPECT_EQ(100, windowSize(window).right);

    dropFiles(window, { border, masked });
    ASSERT_NE(nullptr, app.skinFileName);
    EXPECT_EQ(border, app.skinFileName);
    EXPECT_EQ(80, windowSize(window).right);

    // A first file that fails is not made up for by the second.
    MessageBoxCatcher catcher;
    dropFiles(window, { files.path("missing.bmp"), masked });
    expectOneFailureMessage(catcher);
    expectBuiltInSkin(window);
}

std::vector<BYTE> withDword(std::vector<BYTE> bytes, size_t at, DWORD value)
{
    memcpy(&bytes[at], &value, sizeof value);
    return bytes;
}

std::vector<BYTE> cut(std::vector<BYTE> bytes, size_t size)
{
    bytes.resize(size);
    return bytes;
}

TEST_F(SkinLoadTest, EveryUnusableSkinFallsBackToTheBuiltInOne)
{
    const std::vector<BYTE> good = bmpBytes(builtInSkinPicture());
    const size_t pixels = good.size() - 54;
    Picture wide(8193, 1, RGB(10, 20, 30));
    const struct { const char* name; std::function<std::string()> make; } cases[] = {
        { "missing file", [&] { return files.path("missing.bmp"); } },
        { "missing folder", [&] { return files.path("nowhere\\skin.bmp"); } },
        { "text file", [&] { return files.write("text.bmp", { 'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e' }); } },
        { "empty file", [&] { return files.write("empty.bmp", {}); } },
        { "file header only", [&] { return files.write("fileheader.bmp", cut(good, 14)); } },
        { "headers only", [&] { return files.write("headers.bmp", cut(good, 54)); } },
        { "half the pixels", [&] { return files.write("half.bmp", cut(good, 54 + pixels / 2)); } },
        { "type not BM", [&] { std::vector<BYTE> b = good; b[0] = 'X'; return files.write("type.bmp", b); } },
        { "info header size 3", [&] { return files.write("infosize.bmp", withDword(good, 14, 3)); } },
        { "zero width", [&] { return files.write("zerowidth.bmp", withDword(good, 18, 0)); } },
        { "zero height", [&] { return files.write("zeroheight.bmp", withDword(good, 22, 0)); } },
        { "negative width", [&] { return files.write("negwidth.bmp", withDword(good, 18, DWORD(-166))); } },
        { "lowest height", [&] { return files.write("minheight.bmp", withDword(good, 22, 0x80000000u)); } },
        { "huge size", [&] {
              return files.write("huge.bmp", withDword(withDword(good, 18, 100000), 22, 100000)); } },
        { "wider than 8192", [&] { return files.write("wide.bmp", bmpBytes(wide)); } },
        { "over 16M pixels", [&] {
              return files.write("many.bmp", withDword(withDword(good, 18, 4097), 22, 4097)); } },
        { "pixels beyond the end", [&] { return files.write("offset.bmp", withDword(good, 10, 1u << 20)); } },
        { "path of 600 characters", [&] { return files.path(std::string(600, 'a') + ".bmp"); } },
        { "folder named like a skin", [&] {
              std::string folder = files.path("folder.bmp");
              CreateDirectoryA(folder.c_str(), NULL);
              return folder; } },
        { "mask without any area", [&] {
              files.write("noarea_mask.bmp", bmpBytes(Picture(166, 132, RGB(255, 255, 255))));
              return files.write("noarea.bmp", good); } },
        { "mask of text markers only", [&] {
              Picture mask(166, 132, RGB(0, 0, 0));
              mask.fill(0, 0, 166, 1, RGB(0, 0, 20));
              files.write("markers_mask.bmp", bmpBytes(mask));
              return files.write("markers.bmp", good); } },
    };
    std::string border = files.write("border.bmp", bmpBytes(borderSkinPicture()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Start from a user skin, so that every part of the fallback shows.
        loadSkinFile(window, border);
        ASSERT_EQ(80, windowSize(window).right);
        ASSERT_TRUE(checked(CMD_USER_SKIN));
        std::string path = c.make();
        MessageBoxCatcher catcher;
        loadSkinFile(window, path);
        expectOneFailureMessage(catcher);
        expectBuiltInSkin(window);
        // The window still works: a repaint and a colour change draw without trouble.
        presentBackBuffer(NULL);
        refreshColorDisplay(app.displayRegion);
        EXPECT_EQ(app.curColor, backPixel(40, 40));
    }
}

TEST_F(SkinLoadTest, UnusualButUsableFilesLoad)
{
    Picture builtIn = builtInSkinPicture();
    const struct { const char* name; std::function<std::string()> make; SIZE back; } cases[] = {
        // No ".bmp" in the name: no mask is looked for, the built-in layout applies.
        { "name without .bmp", [&] { return files.write("plain.skin", bmpBytes(builtIn)); }, { 166, 132 } },
        { "8-bit image", [&] { return files.write("paletted.bmp", bmpBytes(builtIn, false, 8)); }, { 166, 132 } },
        // The height's sign only says which row comes first. (Wine 8 loads such a file's
        // pixels as black, so only the size is compared here.)
        { "top-down rows", [&] { return files.write("topdown.bmp", bmpBytes(builtIn, true)); }, { 166, 132 } },
        // A mask cut short is no mask: the built-in layout, not a shape made of garbage.
        { "mask cut short", [&] {
              Picture mask(166, 132, RGB(255, 255, 255));
              mask.fill(0, 0, 60, 132, RGB(255, 0, 0));
              std::vector<BYTE> bytes = bmpBytes(mask);
              files.write("cutmask_mask.bmp", cut(bytes, 54 + (bytes.size() - 54) / 2));
              return files.write("cutmask.bmp", bmpBytes(builtIn)); }, { 166, 132 } },
        // Smaller than the face: drawn as far as it goes.
        { "smaller than the face", [&] { return files.write("tiny.bmp", bmpBytes(Picture(20, 10, RGB(1, 2, 3)))); },
          { 20, 10 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        onCommand(window, CMD_DEFAULT_SKIN);
        std::string path = c.make();
        MessageBoxCatcher catcher;
        loadSkinFile(window, path);
        EXPECT_TRUE(catcher.seen().empty());
        ASSERT_NE(nullptr, app.skinFileName);
        EXPECT_EQ(path, app.skinFileName);
        EXPECT_TRUE(checked(CMD_USER_SKIN));
        EXPECT_EQ(83, windowSize(window).right);
        SIZE back = backBufferSize();
        EXPECT_EQ(c.back.cx, back.cx);
        EXPECT_EQ(c.back.cy, back.cy);
        for (int i = 0; i < drawnFieldCount; i++)
            EXPECT_NE(CLR_INVALID, app.valueFields[i].textColor) << i;
        presentBackBuffer(NULL);
        refreshColorDisplay(app.displayRegion);
    }
}

TEST_F(SkinLoadTest, ImageAtTheSizeLimitsLoads)
{
    // 8192 x 2048 is both the widest side and the most pixels a skin may have.
    Picture big(8192, 2048, RGB(60, 70, 80));
    big.fill(83, 0, 84, 1, RGB(1, 2, 3));
    std::string path = files.write("big.bmp", bmpBytes(big));
    big = Picture();
    MessageBoxCatcher catcher;
    loadSkinFile(window, path);
    EXPECT_TRUE(catcher.seen().empty());
    ASSERT_NE(nullptr, app.skinFileName);
    SIZE back = backBufferSize();
    EXPECT_EQ(8192, back.cx);
    EXPECT_EQ(2048, back.cy);
    EXPECT_EQ(83, windowSize(window).right);
    EXPECT_EQ(RGB(1, 2, 3), app.valueFields[redDecField].textColor);
    EXPECT_EQ(RGB(60, 70, 80), backPixel(2, 2));
}

// What the window looks like while the failure message is up: answered from a thread of
// its own, which notes the state of the skin at that moment.
struct StateAtMessage {
    HWND window = NULL;
    volatile LONG answered = 0;
    int width = 0;
    bool builtIn = false;
};

DWORD WINAPI answerNoting(void* parameter)
{
    StateAtMessage* state = static_cast<StateAtMessage*>(parameter);
    for (int i = 0; i < 1000 && !state->answered; i++) {
        HWND box = NULL;
        while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(box))
                continue;
            RECT r;
            GetWindowRect(state->window, &r);
            state->width = r.right - r.left;
            state->builtIn = app.skinFileName == NULL && app.windowRegion != NULL;
            InterlockedExchange(&state->answered, 1);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            break;
        }
        Sleep(10);
    }
    return 0;
}

TEST_F(SkinLoadTest, FailureMessageComesWhenTheBuiltInSkinStands)
{
    loadSkinFile(window, files.write("border.bmp", bmpBytes(borderSkinPicture())));
    ASSERT_EQ(80, windowSize(window).right);
    StateAtMessage state;
    state.window = window;
    HANDLE thread = CreateThread(NULL, 0, answerNoting, &state, 0, NULL);
    loadSkinFile(window, files.path("missing.bmp"));
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);
    ASSERT_TRUE(state.answered);
    EXPECT_EQ(83, state.width);
    EXPECT_TRUE(state.builtIn);
}

class SavedSkinTest : public ProgramTest {
protected:
    std::string savedSkinName()
    {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!queryValue("skinFileName", &type, &data) || type != REG_SZ)
            return "(no string)";
        return std::string(data.begin(), data.end()).c_str();
    }
    TempFolder files;
};

TEST_F(SavedSkinTest, BrokenSavedSkinFallsBackAndIsForgotten)
{
    const std::string broken[] = {
        files.path("gone.bmp"),
        files.write("broken.bmp", { 'B', 'M', 0, 0 }),
    };
    for (const std::string& path : broken) {
        SCOPED_TRACE(path);
        clearSettings();
        setDword("splashScreen", 0);
        setString("skinFileName", path.c_str());
        MessageBoxCatcher catcher;
        startProgram();
        expectOneFailureMessage(catcher);
        expectBuiltInSkin(window);
        closeProgram();
        EXPECT_EQ("", savedSkinName());
    }
}

TEST_F(SavedSkinTest, SavedSkinLoadsAtStartAndIsKept)
{
    files.write("kept_mask.bmp", bmpBytes(bodyMask()));
    std::string path = files.write("kept.bmp", bmpBytes(maskedSkinPicture()));
    setDword("splashScreen", 0);
    setString("skinFileName", path.c_str());
    MessageBoxCatcher catcher;
    startProgram();
    EXPECT_TRUE(catcher.seen().empty());
    ASSERT_NE(nullptr, app.skinFileName);
    EXPECT_EQ(path, app.skinFileName);
    EXPECT_TRUE(checked(CMD_USER_SKIN));
    EXPECT_EQ(100, windowSize(window).right);
    closeProgram();
    EXPECT_EQ(path, savedSkinName());
}

}  // namespace

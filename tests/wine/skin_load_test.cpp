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

// A mask that makes a 120 x 90 skin a 100 x 72 window: tells a masked load apart.
Picture bodyMask()
{
    Picture mask(120, 90, RGB(255, 255, 255));
    mask.fill(10, 8, 110, 80, RGB(255, 0, 0));
    mask.fill(20, 12, 60, 48, RGB(0, 50, 50));
    return mask;
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
        return files.write(skinName, bmpBytes(placeSkin(120, 90)));
    }
    TempFolder files;
};

// A dropped mask loads the skin beside it, whatever the case of the names; the name kept
// is the skin's as found. A mask without its skin is a skin of its own. Of several files
// only the first counts, and one that fails is not made up for by the next.
TEST_F(SkinLoadTest, DroppedSkinOrItsMaskLoadsTheSkin)
{
    std::string steel = writeMaskedSkin("steel.bmp", "steel_mask.bmp");
    std::string caps = writeMaskedSkin("CAPS.BMP", "CAPS_mask.bmp");
    std::string lone = files.write("lone_mask.bmp", bmpBytes(builtInSkinPicture()));
    std::string border = files.write("border.bmp", bmpBytes(skinWithBorder(3, 4)));
    const struct { std::vector<std::string> dropped; std::string loaded; SIZE size; } drops[] = {
        { { steel }, steel, { 100, 72 } }, { { files.path("steel_mask.bmp") }, steel, { 100, 72 } },
        { { caps }, caps, { 100, 72 } }, { { files.path("CAPS_MASK.BMP") }, files.path("CAPS.bmp"), { 100, 72 } },
        { { lone }, lone, { 83, 132 } },    // no lone_mask_mask.bmp: the built-in layout
        { { steel, border }, steel, { 100, 72 } }, { { border, steel }, border, { 80, 128 } },
    };
    for (const auto& d : drops) {
        SCOPED_TRACE(d.dropped[0]);
        onCommand(window, CMD_DEFAULT_SKIN);
        MessageBoxCatcher catcher;
        dropFiles(window, d.dropped);
        EXPECT_TRUE(catcher.seen().empty());
        ASSERT_NE(nullptr, app.skinFileName);
        EXPECT_EQ(d.loaded, app.skinFileName);
        EXPECT_TRUE(menuChecked(CMD_USER_SKIN));
        EXPECT_FALSE(menuChecked(CMD_DEFAULT_SKIN));
        SIZE size = windowSize(window);
        EXPECT_EQ(d.size.cx, size.cx);
        EXPECT_EQ(d.size.cy, size.cy);
        // After a drop the display is filled at once when the splash is off.
        EXPECT_EQ(app.curColor, backPixel(30, 20));
    }
    MessageBoxCatcher catcher;
    dropFiles(window, { files.path("missing.bmp"), steel });
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
        { "text file", [&] { return files.write("text.bmp", { 'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e' }); } },
        { "empty file", [&] { return files.write("empty.bmp", {}); } },
        { "headers only", [&] { return files.write("headers.bmp", cut(good, 54)); } },
        { "half the pixels", [&] { return files.write("half.bmp", cut(good, 54 + pixels / 2)); } },
        { "type not BM", [&] { std::vector<BYTE> b = good; b[0] = 'X'; return files.write("type.bmp", b); } },
        { "info header size 3", [&] { return files.write("infosize.bmp", withDword(good, 14, 3)); } },
        { "zero height", [&] { return files.write("zeroheight.bmp", withDword(good, 22, 0)); } },
        { "negative width", [&] { return files.write("negwidth.bmp", withDword(good, 18, DWORD(-166))); } },
        { "lowest height", [&] { return files.write("minheight.bmp", withDword(good, 22, 0x80000000u)); } },
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
    std::string border = files.write("border.bmp", bmpBytes(skinWithBorder(3, 4)));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Start from a user skin, so that every part of the fallback shows.
        loadSkinFile(window, border);
        ASSERT_EQ(80, windowSize(window).cx);
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
    // 8192 x 2048 is both the widest side and the most pixels a skin may have.
    Picture big(8192, 2048, RGB(60, 70, 80));
    big.fill(83, 0, 84, 1, RGB(1, 2, 3));
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
        { "at the size limits", [&] { return files.write("big.bmp", bmpBytes(big)); }, { 8192, 2048 } },
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
        EXPECT_TRUE(menuChecked(CMD_USER_SKIN));
        EXPECT_EQ(83, windowSize(window).cx);
        SIZE back = backBufferSize();
        EXPECT_EQ(c.back.cx, back.cx);
        EXPECT_EQ(c.back.cy, back.cy);
        for (int i = 0; i < drawnFieldCount; i++)
            EXPECT_NE(CLR_INVALID, app.valueFields[i].textColor) << i;
        presentBackBuffer(NULL);
        refreshColorDisplay(app.displayRegion);
    }
    EXPECT_EQ(RGB(1, 2, 3), app.valueFields[redDecField].textColor) << "the big skin's (83, 0)";
    EXPECT_EQ(RGB(60, 70, 80), backPixel(2, 2));
}

// A saved skin that no longer loads falls back at the start and is not saved again.
TEST_F(ProgramTest, BrokenSavedSkinFallsBackAndIsForgotten)
{
    TempFolder files;
    const std::string broken[] = { files.path("gone.bmp"), files.write("broken.bmp", { 'B', 'M', 0, 0 }) };
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
        DWORD type = 0;
        std::vector<BYTE> saved;
        ASSERT_TRUE(queryValue("skinFileName", &type, &saved));
        EXPECT_EQ(DWORD(REG_SZ), type);
        EXPECT_STREQ("", std::string(saved.begin(), saved.end()).c_str());
    }
}

}  // namespace

// The built-in layout's regions and their release, and user skins without a mask, whose
// transparent pixels move every area of the window or leave the buttons they fall in.
#include "harness.h"
#include "skin_helpers.h"
#include "app/app.h"
#include "res/resource.h"

namespace {

struct ButtonLayout { SkinButtonIndex index; RECT face, pressed; };

const ButtonLayout buttonLayouts[] = {
    { snapButton, { 6, 5, 19, 15 }, { 89, 5, 102, 15 } },
    { onTopButton, { 22, 5, 35, 15 }, { 105, 5, 118, 15 } },
    { minimizeButton, { 48, 5, 61, 15 }, { 131, 5, 144, 15 } },
    { closeButton, { 64, 5, 77, 15 }, { 147, 5, 160, 15 } },
    { lessRedButton, { 18, 69, 28, 80 }, { 101, 69, 111, 80 } },
    { moreRedButton, { 55, 69, 65, 80 }, { 138, 69, 148, 80 } },
    { lessGreenButton, { 18, 81, 28, 92 }, { 101, 81, 111, 92 } },
    { moreGreenButton, { 55, 81, 65, 92 }, { 138, 81, 148, 92 } },
    { lessBlueButton, { 18, 93, 28, 104 }, { 101, 93, 111, 104 } },
    { moreBlueButton, { 55, 93, 65, 104 }, { 138, 93, 148, 104 } },
    { lessWhiteButton, { 5, 111, 15, 122 }, { 88, 111, 98, 122 } },
    { moreWhiteButton, { 68, 111, 78, 122 }, { 151, 111, 161, 122 } },
};

struct FieldLayout { ValueFieldIndex index; RECT rect; POINT text; };

const FieldLayout fieldLayouts[] = {
    { redDecField, { 27, 69, 54, 80 }, { 32, 68 } },
    { greenDecField, { 27, 81, 54, 92 }, { 32, 80 } },
    { blueDecField, { 27, 93, 54, 104 }, { 32, 92 } },
    { redHexField, { 17, 112, 33, 121 }, { 18, 110 } },
    { greenHexField, { 33, 112, 49, 121 }, { 34, 110 } },
    { blueHexField, { 49, 112, 65, 121 }, { 50, 110 } },
};

bool isRect(HRGN region, const RECT& r, int dx = 0, int dy = 0)
{
    return regionIsRect(region, r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

// Window areas, skin areas, text origins and the body of a skin without a mask whose face
// starts at (dx, dy) of the image: the areas are the built-in ones moved by that much.
void expectLayoutMovedBy(HWND window, int dx, int dy)
{
    for (const ButtonLayout& b : buttonLayouts) {
        const SkinButton& button = app.skinButtons[b.index];
        EXPECT_TRUE(isRect(button.hitRegion, b.face, -dx, -dy)) << b.index << ": " << describeRegion(button.hitRegion);
        EXPECT_TRUE(isRect(button.faceRegion, b.face)) << b.index << ": " << describeRegion(button.faceRegion);
        EXPECT_TRUE(isRect(button.pressedRegion, b.pressed)) << b.index;
    }
    for (const FieldLayout& f : fieldLayouts) {
        const ValueField& field = app.valueFields[f.index];
        EXPECT_TRUE(isRect(field.region, f.rect, -dx, -dy)) << f.index << ": " << describeRegion(field.region);
        EXPECT_EQ(f.text.x - dx, field.textX) << f.index;
        EXPECT_EQ(f.text.y - dy, field.textY) << f.index;
    }
    EXPECT_TRUE(regionIsRect(app.displayTopRegion, 18 - dx, 20 - dy, 65 - dx, 40 - dy));
    EXPECT_TRUE(regionIsRect(app.displayBottomRegion, 18 - dx, 40 - dy, 65 - dx, 60 - dy));
    EXPECT_TRUE(regionIsRect(app.displaySkinRegion, 18, 20, 65, 60)) << describeRegion(app.displaySkinRegion);
    // The body is the shape less the buttons and fields, the display included.
    HRGN body = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(body, app.windowRegion, app.titleButtonsRegion, RGN_DIFF);
    CombineRgn(body, body, app.channelButtonsRegion, RGN_DIFF);
    CombineRgn(body, body, app.valueFieldsRegion, RGN_DIFF);
    EXPECT_TRUE(EqualRgn(body, app.bodyRegion)) << describeRegion(app.bodyRegion);
    OffsetRgn(body, dx, dy);
    EXPECT_TRUE(EqualRgn(body, app.bodySkinRegion));
    CombineRgn(body, app.valueFieldsRegion, NULL, RGN_COPY);
    OffsetRgn(body, dx, dy);
    EXPECT_TRUE(EqualRgn(body, app.valueFieldsSkinRegion));
    DeleteObject(body);
    SIZE size = windowSize(window);
    EXPECT_EQ(83 - dx, size.cx);
    EXPECT_EQ(132 - dy, size.cy);
}

class SkinLayoutTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
    TempFolder files;
};

TEST_F(SkinLayoutTest, BuiltInAreasAndTheirAggregates)
{
    expectBuiltInSkin(window);
    expectLayoutMovedBy(window, 0, 0);
    for (const ButtonLayout& b : buttonLayouts)
        EXPECT_NE(app.skinButtons[b.index].hitRegion, app.skinButtons[b.index].faceRegion) << b.index << ": one object";
    for (int i = redFloatField; i <= blueFloatField; i++)
        EXPECT_EQ(NULL, app.valueFields[i].region) << "float field " << i;
    const struct { HRGN aggregate; int first, last; } groups[] = {
        { app.titleButtonsRegion, snapButton, closeButton },
        { app.channelButtonsRegion, moreRedButton, lessWhiteButton },
    };
    for (const auto& g : groups) {
        HRGN expected = CreateRectRgn(0, 0, 0, 0);
        for (int i = g.first; i <= g.last; i++)
            CombineRgn(expected, expected, app.skinButtons[i].hitRegion, RGN_OR);
        EXPECT_TRUE(EqualRgn(expected, g.aggregate)) << g.first << ": " << describeRegion(g.aggregate);
        DeleteObject(expected);
    }
    // With split screen on (the default) refreshes during a press fill the lower half.
    EXPECT_EQ(app.displayBottomRegion, app.zoomRegion);
}

TEST_F(SkinLayoutTest, FreeingNullsEveryRegionAndMayBeRepeated)
{
    for (int round = 0; round < 2; round++) {
        freeSkinRegions(window);
        std::vector<HRGN*> regions = scannedRegionFields();
        for (HRGN* r : { &app.windowRegion, &app.bodyRegion, &app.titleButtonsRegion, &app.channelButtonsRegion,
                         &app.valueFieldsRegion, &app.valueFieldsSkinRegion, &app.displayRegion,
                         &app.displaySkinRegion, &app.zoomRegion, &app.toolTipRegion })
            regions.push_back(r);
        for (size_t i = 0; i < regions.size(); i++)
            EXPECT_EQ(NULL, *regions[i]) << "region " << i << ", round " << round;
        HRGN given = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(ERROR, GetWindowRgn(window, given)) << "the window keeps a shape";
        DeleteObject(given);
    }
    // Painting with every region gone does nothing and does not fail.
    refreshColorDisplay(app.displayRegion);
    presentBackBuffer(NULL);
    releaseChannelButton();
    EXPECT_TRUE(IsWindow(window));
}

// A transparent border moves every window area, never the areas in the image; the back
// buffer holds the face from the image's (dx, dy) on, the latched snap button (on by
// default) from its pressed picture. The default skin command brings the built-in back.
TEST_F(SkinLayoutTest, TransparentBorderMovesEveryWindowArea)
{
    const int dx = 3, dy = 4;
    Picture skin = skinWithBorder(dx, dy);
    std::string path = files.write("border.bmp", bmpBytes(skin));
    MessageBoxCatcher catcher;
    loadSkinFile(window, path);
    EXPECT_TRUE(catcher.seen().empty());
    ASSERT_NE(nullptr, app.skinFileName);
    EXPECT_STREQ(path.c_str(), app.skinFileName);
    EXPECT_TRUE(menuChecked(CMD_USER_SKIN));
    EXPECT_FALSE(menuChecked(CMD_DEFAULT_SKIN));
    expectLayoutMovedBy(window, dx, dy);
    // Without a mask every field takes the pixel (83, 0), never (84..86, 0).
    for (int i = 0; i < drawnFieldCount; i++)
        EXPECT_EQ(RGB(93, 89, 90), app.valueFields[i].textColor) << i;

    Picture back = capturePicture(app.backDC, 83 - dx, 132 - dy);
    int wrong = 0;
    for (int y = 0; y < 132 - dy; y++)
        for (int x = 0; x < 83 - dx; x++) {
            if (!PtInRegion(app.windowRegion, x, y))
                continue;
            bool latched = PtInRegion(app.skinButtons[snapButton].hitRegion, x, y) != FALSE;
            COLORREF expected = skin.at(x + dx + (latched ? 83 : 0), y + dy);
            if (back.at(x, y) != expected && wrong++ < 5)
                ADD_FAILURE() << "back buffer " << x << "," << y << ": " << std::hex << back.at(x, y)
                              << " expected " << expected;
        }
    EXPECT_EQ(0, wrong);

    onCommand(window, CMD_DEFAULT_SKIN);
    expectBuiltInSkin(window);
    expectLayoutMovedBy(window, 0, 0);
}

TEST_F(SkinLayoutTest, TransparentPixelsLeaveTheButtonsTheyFallIn)
{
    Picture skin = builtInSkinPicture();
    skin.at(70, 8) = RGB(255, 0, 255);     // inside the close button's face
    skin.at(20, 70) = RGB(255, 0, 255);    // inside the less-red button's face
    loadSkinFile(window, files.write("holes.bmp", bmpBytes(skin)));
    const struct { SkinButtonIndex index; int x, y; } holes[] = { { closeButton, 70, 8 }, { lessRedButton, 20, 70 } };
    for (const auto& h : holes) {
        const SkinButton& button = app.skinButtons[h.index];
        EXPECT_FALSE(PtInRegion(button.hitRegion, h.x, h.y)) << h.index;
        EXPECT_FALSE(PtInRegion(button.faceRegion, h.x, h.y)) << h.index;
        EXPECT_FALSE(PtInRegion(button.pressedRegion, h.x + 83, h.y)) << h.index;
        EXPECT_TRUE(PtInRegion(button.hitRegion, h.x + 1, h.y)) << h.index;
        EXPECT_TRUE(PtInRegion(button.pressedRegion, h.x + 84, h.y)) << h.index;
        EXPECT_FALSE(PtInRegion(app.windowRegion, h.x, h.y)) << h.index;
    }
    EXPECT_EQ(83, windowSize(window).cx);
}

}  // namespace

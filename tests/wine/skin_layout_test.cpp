// The built-in layout's regions and shape, their release, and user skins without a mask
// whose transparent border moves every area of the window.
#include "harness.h"
#include "skin_helpers.h"
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "skin/skin.h"

namespace {

struct ButtonLayout { SkinButtonIndex index; const char* name; RECT face, pressed; };

const ButtonLayout buttonLayouts[] = {
    { snapButton, "snap", { 6, 5, 19, 15 }, { 89, 5, 102, 15 } },
    { onTopButton, "on top", { 22, 5, 35, 15 }, { 105, 5, 118, 15 } },
    { minimizeButton, "minimize", { 48, 5, 61, 15 }, { 131, 5, 144, 15 } },
    { closeButton, "close", { 64, 5, 77, 15 }, { 147, 5, 160, 15 } },
    { lessRedButton, "less red", { 18, 69, 28, 80 }, { 101, 69, 111, 80 } },
    { moreRedButton, "more red", { 55, 69, 65, 80 }, { 138, 69, 148, 80 } },
    { lessGreenButton, "less green", { 18, 81, 28, 92 }, { 101, 81, 111, 92 } },
    { moreGreenButton, "more green", { 55, 81, 65, 92 }, { 138, 81, 148, 92 } },
    { lessBlueButton, "less blue", { 18, 93, 28, 104 }, { 101, 93, 111, 104 } },
    { moreBlueButton, "more blue", { 55, 93, 65, 104 }, { 138, 93, 148, 104 } },
    { lessWhiteButton, "less white", { 5, 111, 15, 122 }, { 88, 111, 98, 122 } },
    { moreWhiteButton, "more white", { 68, 111, 78, 122 }, { 151, 111, 161, 122 } },
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

const RECT displayTopRect = { 18, 20, 65, 40 }, displayBottomRect = { 18, 40, 65, 60 };

// The built-in face is transparent only in its side notches: rows 20 to 68, two pixels
// wide at each side, one pixel in rows 20, 67 and 68.
bool inBuiltInShape(int x, int y)
{
    if (y < 20 || y > 68)
        return true;
    bool wide = y > 20 && y < 67;
    return !(x == 0 || x == 82 || (wide && (x == 1 || x == 81)));
}

bool isRect(HRGN region, const RECT& r, int dx = 0, int dy = 0)
{
    return regionIsRect(region, r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

RECT windowSize(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    return r;
}

class BuiltInLayoutTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
};

TEST_F(BuiltInLayoutTest, EveryAreaIsItsRectangle)
{
    for (const ButtonLayout& b : buttonLayouts) {
        const SkinButton& button = app.skinButtons[b.index];
        EXPECT_TRUE(isRect(button.hitRegion, b.face)) << b.name << " hit: " << describeRegion(button.hitRegion);
        EXPECT_TRUE(isRect(button.faceRegion, b.face)) << b.name << " face: " << describeRegion(button.faceRegion);
        EXPECT_NE(button.hitRegion, button.faceRegion) << b.name << ": two objects";
        EXPECT_TRUE(isRect(button.pressedRegion, b.pressed))
            << b.name << " pressed: " << describeRegion(button.pressedRegion);
    }
    for (const FieldLayout& f : fieldLayouts) {
        const ValueField& field = app.valueFields[f.index];
        EXPECT_TRUE(isRect(field.region, f.rect)) << "field " << f.index << ": " << describeRegion(field.region);
        EXPECT_EQ(f.text.x, field.textX) << "field " << f.index;
        EXPECT_EQ(f.text.y, field.textY) << "field " << f.index;
    }
    for (int i = redFloatField; i <= blueFloatField; i++)
        EXPECT_EQ(NULL, app.valueFields[i].region) << "float field " << i;

    EXPECT_TRUE(isRect(app.displayTopRegion, displayTopRect)) << describeRegion(app.displayTopRegion);
    EXPECT_TRUE(isRect(app.displayBottomRegion, displayBottomRect)) << describeRegion(app.displayBottomRegion);
    EXPECT_TRUE(regionIsRect(app.displayRegion, 18, 20, 65, 60)) << describeRegion(app.displayRegion);
    EXPECT_TRUE(regionIsRect(app.displaySkinRegion, 18, 20, 65, 60)) << describeRegion(app.displaySkinRegion);
    EXPECT_TRUE(EqualRgn(app.bodyRegion, app.bodySkinRegion));
    EXPECT_TRUE(EqualRgn(app.valueFieldsRegion, app.valueFieldsSkinRegion));
    // With split screen on (the default) refreshes during a press fill the lower half.
    EXPECT_EQ(app.displayBottomRegion, app.zoomRegion);

    RECT size = windowSize(window);
    EXPECT_EQ(83, size.right);
    EXPECT_EQ(132, size.bottom);
    EXPECT_EQ(83, app.windowRect.right - app.windowRect.left);
    EXPECT_EQ(132, app.windowRect.bottom - app.windowRect.top);
}

TEST_F(BuiltInLayoutTest, AggregatesUniteTheirParts)
{
    struct { const char* name; HRGN aggregate; int first, last; } groups[] = {
        { "title buttons", app.titleButtonsRegion, snapButton, closeButton },
        { "channel buttons", app.channelButtonsRegion, moreRedButton, lessWhiteButton },
    };
    for (const auto& g : groups) {
        HRGN expected = CreateRectRgn(0, 0, 0, 0);
        for (int i = g.first; i <= g.last; i++)
            CombineRgn(expected, expected, app.skinButtons[i].hitRegion, RGN_OR);
        EXPECT_TRUE(EqualRgn(expected, g.aggregate)) << g.name << ": " << describeRegion(g.aggregate);
        DeleteObject(expected);
    }
    HRGN fields = CreateRectRgn(0, 0, 0, 0);
    for (const FieldLayout& f : fieldLayouts)
        CombineRgn(fields, fields, app.valueFields[f.index].region, RGN_OR);
    EXPECT_TRUE(EqualRgn(fields, app.valueFieldsRegion)) << describeRegion(app.valueFieldsRegion);
    DeleteObject(fields);

    // The body holds everything but the buttons and fields, display included.
    const POINT inBody[] = { { 2, 2 }, { 40, 40 }, { 18, 20 }, { 64, 59 }, { 40, 127 }, { 20, 16 } };
    for (POINT p : inBody)
        EXPECT_TRUE(PtInRegion(app.bodyRegion, p.x, p.y)) << p.x << "," << p.y;
    const POINT notInBody[] = { { 6, 5 }, { 76, 14 }, { 27, 69 }, { 60, 100 }, { 40, 115 }, { 0, 30 } };
    for (POINT p : notInBody)
        EXPECT_FALSE(PtInRegion(app.bodyRegion, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_TRUE(PtInRegion(app.displayRegion, 40, 40));
    EXPECT_TRUE(PtInRegion(app.displayTopRegion, 40, 39));
    EXPECT_TRUE(PtInRegion(app.displayBottomRegion, 40, 40));
}

TEST_F(BuiltInLayoutTest, ShapeLeavesOutOnlyTheNotches)
{
    HRGN given = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(window, given));
    EXPECT_TRUE(EqualRgn(given, app.windowRegion)) << describeRegion(given);
    DeleteObject(given);
    int wrong = 0;
    for (int y = -1; y <= 132; y++)
        for (int x = -1; x <= 83; x++) {
            bool expected = x >= 0 && y >= 0 && x < 83 && y < 132 && inBuiltInShape(x, y);
            if (expected != (PtInRegion(app.windowRegion, x, y) != FALSE) && wrong++ < 10)
                ADD_FAILURE() << "pixel " << x << "," << y << " expected " << (expected ? "inside" : "outside");
        }
    EXPECT_EQ(0, wrong);
}

TEST_F(BuiltInLayoutTest, ExtentStartsAtTheImageOrigin)
{
    // Rebuilt by hand, the way a load does, to see the extent itself.
    freeSkinRegions(window);
    buildDefaultLayout();
    HRGN extent = finishLayout();
    RECT box;
    GetRgnBox(extent, &box);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(83, box.right);
    EXPECT_EQ(132, box.bottom);
    EXPECT_TRUE(EqualRgn(extent, app.windowRegion));
    DeleteObject(extent);
    for (const FieldLayout& f : fieldLayouts) {
        EXPECT_EQ(f.text.x, app.valueFields[f.index].textX);
        EXPECT_EQ(f.text.y, app.valueFields[f.index].textY);
    }
}

TEST_F(BuiltInLayoutTest, FreeingNullsEveryRegionAndMayBeRepeated)
{
    for (int round = 0; round < 2; round++) {
        freeSkinRegions(window);
        for (const SkinButton& b : app.skinButtons) {
            EXPECT_EQ(NULL, b.hitRegion) << round;
            EXPECT_EQ(NULL, b.faceRegion) << round;
            EXPECT_EQ(NULL, b.pressedRegion) << round;
        }
        for (const ValueField& f : app.valueFields)
            EXPECT_EQ(NULL, f.region) << round;
        const HRGN aggregates[] = {
            app.windowRegion, app.bodyRegion, app.bodySkinRegion, app.titleButtonsRegion,
            app.channelButtonsRegion, app.valueFieldsRegion, app.valueFieldsSkinRegion,
            app.displayTopRegion, app.displayBottomRegion, app.displayRegion, app.displaySkinRegion,
            app.zoomRegion, app.toolTipRegion,
        };
        for (HRGN region : aggregates)
            EXPECT_EQ(NULL, region) << round;
        HRGN given = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(ERROR, GetWindowRgn(window, given)) << "the window keeps a shape";
        DeleteObject(given);
        // The texts and colours are plain values and stay.
        EXPECT_STREQ("255", app.valueFields[redDecField].text);
        EXPECT_EQ(RGB(255, 43, 35), app.valueFields[redDecField].textColor);
    }
    // Painting with every region gone does nothing and does not fail.
    refreshColorDisplay(app.displayRegion);
    presentBackBuffer(NULL);
    releaseChannelButton();
    EXPECT_TRUE(IsWindow(window));
}

// A copy of the built-in skin with the face's top rows and left columns made transparent.
Picture skinWithBorder(int columns, int rows)
{
    Picture skin = builtInSkinPicture();
    skin.fill(0, 0, columns, 132, RGB(255, 0, 255));
    skin.fill(0, 0, 83, rows, RGB(255, 0, 255));
    return skin;
}

class UserSkinLayoutTest : public BuiltInLayoutTest {
protected:
    TempFolder files;
};

TEST_F(UserSkinLayoutTest, TransparentBorderMovesEveryAreaButNotTheSkinAreas)
{
    const struct { int dx, dy; } borders[] = { { 0, 0 }, { 3, 0 }, { 0, 4 }, { 3, 4 } };
    for (const auto& border : borders) {
        int dx = border.dx, dy = border.dy;
        SCOPED_TRACE(testing::Message() << "border " << dx << "," << dy);
        Picture skin = skinWithBorder(dx, dy);
        std::string path = files.write("border" + std::to_string(dx) + std::to_string(dy) + ".bmp", bmpBytes(skin));
        MessageBoxCatcher catcher;
        loadSkinFile(window, path);
        EXPECT_TRUE(catcher.seen().empty());
        ASSERT_NE(nullptr, app.skinFileName);
        EXPECT_STREQ(path.c_str(), app.skinFileName);
        EXPECT_TRUE(menuState(CMD_USER_SKIN) & MF_CHECKED);
        EXPECT_FALSE(menuState(CMD_DEFAULT_SKIN) & MF_CHECKED);

        RECT size = windowSize(window);
        EXPECT_EQ(83 - dx, size.right);
        EXPECT_EQ(132 - dy, size.bottom);
        for (const ButtonLayout& b : buttonLayouts) {
            const SkinButton& button = app.skinButtons[b.index];
            EXPECT_TRUE(isRect(button.hitRegion, b.face, -dx, -dy)) << b.name << ": " << describeRegion(button.hitRegion);
            EXPECT_TRUE(isRect(button.faceRegion, b.face)) << b.name << ": " << describeRegion(button.faceRegion);
            EXPECT_TRUE(isRect(button.pressedRegion, b.pressed)) << b.name;
        }
        for (const FieldLayout& f : fieldLayouts) {
            const ValueField& field = app.valueFields[f.index];
            EXPECT_TRUE(isRect(field.region, f.rect, -dx, -dy)) << f.index << ": " << describeRegion(field.region);
            EXPECT_EQ(f.text.x - dx, field.textX) << f.index;
            EXPECT_EQ(f.text.y - dy, field.textY) << f.index;
            // Without a mask every field takes the pixel (83, 0), never (84..86, 0).
            EXPECT_EQ(RGB(93, 89, 90), field.textColor) << f.index;
        }
        EXPECT_TRUE(isRect(app.displayTopRegion, displayTopRect, -dx, -dy));
        EXPECT_TRUE(isRect(app.displayBottomRegion, displayBottomRect, -dx, -dy));
        EXPECT_TRUE(regionIsRect(app.displaySkinRegion, 18, 20, 65, 60)) << describeRegion(app.displaySkinRegion);
        HRGN body = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(body, app.bodyRegion, NULL, RGN_COPY);
        OffsetRgn(body, dx, dy);
        EXPECT_TRUE(EqualRgn(body, app.bodySkinRegion));
        CombineRgn(body, app.valueFieldsRegion, NULL, RGN_COPY);
        OffsetRgn(body, dx, dy);
        EXPECT_TRUE(EqualRgn(body, app.valueFieldsSkinRegion));
        DeleteObject(body);
        RECT box;
        GetRgnBox(app.windowRegion, &box);
        EXPECT_EQ(0, box.left);
        EXPECT_EQ(0, box.top);

        // The back buffer holds the face from the image's (dx, dy) on, the latched snap
        // button (on by default) from its pressed picture.
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
    }
}

TEST_F(UserSkinLayoutTest, TransparentPixelsLeaveTheButtonsTheyFallIn)
{
    Picture skin = builtInSkinPicture();
    skin.at(70, 8) = RGB(255, 0, 255);     // inside the close button's face
    skin.at(20, 70) = RGB(255, 0, 255);    // inside the less-red button's face
    std::string path = files.write("holes.bmp", bmpBytes(skin));
    loadSkinFile(window, path);
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
    EXPECT_EQ(83, windowSize(window).right);
}

TEST_F(UserSkinLayoutTest, DefaultSkinCommandBringsBackTheBuiltInLayout)
{
    Picture skin = skinWithBorder(3, 4);
    std::string path = files.write("border.bmp", bmpBytes(skin));
    loadSkinFile(window, path);
    ASSERT_EQ(80, windowSize(window).right);
    onCommand(window, CMD_DEFAULT_SKIN);
    EXPECT_EQ(nullptr, app.skinFileName);
    EXPECT_TRUE(menuState(CMD_DEFAULT_SKIN) & MF_CHECKED);
    EXPECT_FALSE(menuState(CMD_USER_SKIN) & MF_CHECKED);
    RECT size = windowSize(window);
    EXPECT_EQ(83, size.right);
    EXPECT_EQ(132, size.bottom);
    for (const ButtonLayout& b : buttonLayouts)
        EXPECT_TRUE(isRect(app.skinButtons[b.index].hitRegion, b.face)) << b.name;
    EXPECT_EQ(RGB(255, 43, 35), app.valueFields[redDecField].textColor);
    EXPECT_EQ(RGB(0, 146, 0), app.valueFields[greenDecField].textColor);
    EXPECT_EQ(RGB(0, 71, 255), app.valueFields[blueDecField].textColor);
    for (int i = redHexField; i <= blueHexField; i++)
        EXPECT_EQ(RGB(93, 89, 90), app.valueFields[i].textColor) << i;
}

}  // namespace

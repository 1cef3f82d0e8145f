// User skins with a mask: the areas, size, text colours and pressed pictures a mask
// defines, masks of another size or depth, and the fast scan against the plain one.
#include "harness.h"
#include "skin_helpers.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "skin/skin.h"

namespace {

const COLORREF white = RGB(255, 255, 255);

// A 120 x 90 skin whose every pixel tells its place, and a mask in an arrangement of its
// own: some buttons, two fields, pressed pictures in a strip below the body, and text
// markers above it.
struct MaskArea { COLORREF color; RECT rect; };
const MaskArea maskLayout[] = {
    { RGB(255, 0, 0), { 10, 8, 110, 80 } },     // body, painted first, the rest on top
    { RGB(0, 50, 50), { 20, 12, 60, 30 } },     // display, upper half
    { RGB(0, 100, 100), { 20, 30, 60, 48 } },   // display, lower half
    { RGB(0, 10, 0), { 70, 12, 80, 20 } },      // snap face
    { RGB(0, 15, 0), { 2, 82, 12, 90 } },       // snap pressed
    { RGB(0, 55, 0), { 86, 12, 96, 20 } },      // close face
    { RGB(0, 60, 0), { 14, 82, 24, 90 } },      // close pressed
    { RGB(0, 70, 0), { 70, 30, 78, 38 } },      // less red face
    { RGB(0, 75, 0), { 26, 82, 34, 90 } },      // less red pressed
    { RGB(0, 175, 0), { 90, 30, 98, 38 } },     // more white face
    { RGB(0, 180, 0), { 36, 82, 44, 90 } },     // more white pressed
    { RGB(0, 0, 140), { 66, 50, 100, 60 } },    // redDecField
    { RGB(0, 0, 220), { 20, 60, 40, 70 } },     // greenHexField
    // Text markers, in scan order: red decimal, green hex, black for the rest, red decimal
    // again (it wins), black again (only fields without a marker follow it), blue hex.
    { RGB(0, 0, 20), { 112, 0, 114, 1 } },
    { RGB(0, 0, 100), { 115, 1, 116, 2 } },
    { RGB(0, 0, 0), { 100, 2, 120, 3 } },
    { RGB(0, 0, 20), { 50, 5, 53, 6 } },
    { RGB(0, 0, 0), { 30, 6, 41, 7 } },
    { RGB(0, 0, 120), { 100, 88, 101, 89 } },
};

// The buttons that mask arranges: the hit area in window coordinates (the body's corner
// (10, 8) is the window's origin), and the face and pressed pictures of its size.
struct MaskButton { SkinButtonIndex index; RECT hit; POINT face, pressed; };
const MaskButton maskButtons[] = {
    { snapButton, { 60, 4, 70, 12 }, { 70, 12 }, { 2, 82 } },
    { closeButton, { 76, 4, 86, 12 }, { 86, 12 }, { 14, 82 } },
    { lessRedButton, { 60, 22, 68, 30 }, { 70, 30 }, { 26, 82 } },
    { moreWhiteButton, { 80, 22, 88, 30 }, { 90, 30 }, { 36, 82 } },
};

RECT movedTo(const RECT& r, POINT to)
{
    RECT moved = { to.x, to.y, to.x + r.right - r.left, to.y + r.bottom - r.top };
    return moved;
}

Picture layoutMask()
{
    Picture mask(120, 90, white);
    for (const MaskArea& a : maskLayout)
        mask.fill(a.rect.left, a.rect.top, a.rect.right, a.rect.bottom, a.color);
    return mask;
}

// Every second pixel: stretched back to full size it is the mask again.
Picture halfSize(const Picture& full)
{
    Picture half(full.width / 2, full.height / 2);
    for (int y = 0; y < half.height; y++)
        for (int x = 0; x < half.width; x++)
            half.at(x, y) = full.at(2 * x, 2 * y);
    return half;
}

// Copies of what a load made: the scanned regions with the window's shape last, and the
// text colours and origins (a field the mask leaves out draws nothing: its origin is moot).
SkinAreas copyLoadedAreas()
{
    SkinAreas areas = {};
    std::vector<HRGN*> fields = scannedRegionFields();
    fields.push_back(&app.windowRegion);
    for (HRGN* field : fields) {
        HRGN copy = *field ? CreateRectRgn(0, 0, 0, 0) : NULL;
        if (copy)
            CombineRgn(copy, *field, NULL, RGN_COPY);
        areas.regions.push_back(copy);
    }
    for (int i = 0; i < drawnFieldCount; i++) {
        areas.textColors[i] = app.valueFields[i].textColor;
        if (app.valueFields[i].region)
            areas.textOrigins[i] = { app.valueFields[i].textX, app.valueFields[i].textY };
    }
    return areas;
}

class MaskSkinTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
    // Writes the skin and its mask beside it; returns the skin's path.
    std::string writeSkin(const std::string& name, const Picture& skin, const Picture& mask)
    {
        files.write(name + "_mask.bmp", bmpBytes(mask));
        return files.write(name + ".bmp", bmpBytes(skin));
    }
    void TearDown() override
    {
        // A load that failed would have said so in a message box.
        for (const auto& box : catcher.seen())
            ADD_FAILURE() << "message box: " << box.caption << ": " << box.text;
        ProgramTest::TearDown();
    }
    TempFolder files;
    MessageBoxCatcher catcher;
};

// The mask gives the window its size and every area, the text colours, and the pictures of
// the buttons: pressed ones from its pressed areas.
TEST_F(MaskSkinTest, MaskDefinesAreasTextColoursAndPressedPictures)
{
    Picture skin = placeSkin(120, 90);
    std::string path = writeSkin("arranged", skin, layoutMask());
    loadSkinFile(window, path);
    ASSERT_NE(nullptr, app.skinFileName);
    EXPECT_STREQ(path.c_str(), app.skinFileName);

    // The window is the body's box; window coordinates start at its corner (10, 8).
    SIZE size = windowSize(window);
    EXPECT_EQ(100, size.cx);
    EXPECT_EQ(72, size.cy);
    EXPECT_TRUE(regionIsRect(app.windowRegion, 0, 0, 100, 72)) << describeRegion(app.windowRegion);

    for (const MaskButton& b : maskButtons) {
        const SkinButton& button = app.skinButtons[b.index];
        EXPECT_TRUE(regionIsRect(button.hitRegion, b.hit)) << b.index << ": " << describeRegion(button.hitRegion);
        EXPECT_TRUE(regionIsRect(button.faceRegion, movedTo(b.hit, b.face))) << b.index;
        EXPECT_TRUE(regionIsRect(button.pressedRegion, movedTo(b.hit, b.pressed))) << b.index;
    }
    for (SkinButtonIndex missing : { onTopButton, minimizeButton, moreRedButton, lessGreenButton, moreGreenButton,
                                     lessBlueButton, moreBlueButton, lessWhiteButton }) {
        const SkinButton& button = app.skinButtons[missing];
        EXPECT_EQ(NULL, button.faceRegion) << missing;
        EXPECT_EQ(NULL, button.pressedRegion) << missing;
        EXPECT_EQ("empty", describeRegion(button.hitRegion)) << missing;
        EXPECT_FALSE(PtInRegion(button.hitRegion, 0, 0)) << missing;
    }

    EXPECT_TRUE(regionIsRect(app.displayTopRegion, 10, 4, 50, 22)) << describeRegion(app.displayTopRegion);
    EXPECT_TRUE(regionIsRect(app.displayBottomRegion, 10, 22, 50, 40)) << describeRegion(app.displayBottomRegion);
    EXPECT_TRUE(regionIsRect(app.displaySkinRegion, 20, 12, 60, 48));

    const struct { ValueFieldIndex index; RECT rect; POINT text; } fields[] = {
        { redDecField, { 56, 42, 90, 52 }, { 56, 40 } },
        { greenHexField, { 10, 52, 30, 62 }, { 10, 50 } },
    };
    for (const auto& f : fields) {
        const ValueField& field = app.valueFields[f.index];
        EXPECT_TRUE(regionIsRect(field.region, f.rect)) << f.index << ": " << describeRegion(field.region);
        EXPECT_EQ(f.text.x, field.textX) << f.index;
        EXPECT_EQ(f.text.y, field.textY) << f.index;
    }
    for (ValueFieldIndex missing : { greenDecField, blueDecField, redHexField, blueHexField })
        EXPECT_EQ(NULL, app.valueFields[missing].region) << missing;

    // The body is its box less everything the mask gave to another area.
    HRGN body = CreateRectRgn(10, 8, 110, 80);
    for (int i = 1; i < 13; i++) {
        if (maskLayout[i].rect.top >= 80)
            continue;   // pressed pictures lie outside the body
        HRGN part = CreateRectRgnIndirect(&maskLayout[i].rect);
        CombineRgn(body, body, part, RGN_DIFF);
        DeleteObject(part);
    }
    EXPECT_TRUE(EqualRgn(body, app.bodySkinRegion)) << describeRegion(app.bodySkinRegion);
    OffsetRgn(body, -10, -8);
    EXPECT_TRUE(EqualRgn(body, app.bodyRegion)) << describeRegion(app.bodyRegion);
    DeleteObject(body);

    const struct { ValueFieldIndex index; int x, y; } colours[] = {
        { redDecField, 50, 5 },     // its second marker
        { greenDecField, 30, 6 },   // the last black run
        { blueDecField, 30, 6 },
        { redHexField, 30, 6 },
        { greenHexField, 115, 1 },  // its marker, before both black runs
        { blueHexField, 100, 88 },  // its marker, after them
    };
    for (const auto& c : colours)
        EXPECT_EQ(skin.at(c.x, c.y), app.valueFields[c.index].textColor)
            << "field " << c.index << std::hex << " has " << app.valueFields[c.index].textColor;

    // The back buffer: the face everywhere, the snap button latched (snapping is on by default).
    ASSERT_TRUE(app.skinButtons[snapButton].pressed);
    presentBackBuffer(NULL);
    Picture back = capturePicture(app.backDC, 100, 72);
    int wrong = 0;
    for (int y = 0; y < 72; y++)
        for (int x = 0; x < 100; x++) {
            bool latched = PtInRegion(app.skinButtons[snapButton].hitRegion, x, y) != FALSE;
            COLORREF expected = latched ? skin.at(x - 60 + 2, y - 4 + 82) : skin.at(x + 10, y + 8);
            if (back.at(x, y) != expected && wrong++ < 5)
                ADD_FAILURE() << "back " << x << "," << y << std::hex << " is " << back.at(x, y) << " not " << expected;
        }
    EXPECT_EQ(0, wrong);

    // Drawn pressed on the window: the pressed picture in the hit area; released: the face.
    for (bool pressed : { true, false })
        for (const MaskButton& b : maskButtons) {
            drawButton(b.index, pressed);
            Picture shown = capturePicture(app.windowDC, 100, 72);
            POINT from = pressed ? b.pressed : b.face;
            int bad = 0;
            for (int y = b.hit.top; y < b.hit.bottom; y++)
                for (int x = b.hit.left; x < b.hit.right; x++) {
                    COLORREF expected = skin.at(from.x + x - b.hit.left, from.y + y - b.hit.top);
                    if (shown.at(x, y) != expected && bad++ < 3)
                        ADD_FAILURE() << "button " << b.index << (pressed ? " pressed " : " released ") << x << ","
                                      << y << std::hex << ": " << shown.at(x, y) << " not " << expected;
                }
            // Nothing beside the hit area changed: the pixel left of it is still the face.
            EXPECT_EQ(skin.at(b.hit.left - 1 + 10, b.hit.top + 8), shown.at(b.hit.left - 1, b.hit.top)) << b.index;
        }
}

// A mask of half the skin's size is stretched to it (the system's stretch may round an
// edge by a pixel); one of 8 bits reads exactly like one of 24.
TEST_F(MaskSkinTest, MaskOfAnotherSizeOrDepthGivesTheSameAreas)
{
    Picture skin = placeSkin(120, 90);
    Picture mask = layoutMask();
    loadSkinFile(window, writeSkin("deep", skin, mask));
    SkinAreas deep = copyLoadedAreas();
    files.write("paletted_mask.bmp", bmpBytes(mask, false, 8));
    loadSkinFile(window, files.write("paletted.bmp", bmpBytes(skin)));
    SkinAreas paletted = copyLoadedAreas();
    EXPECT_EQ("", compareScannedAreas(deep, paletted));

    loadSkinFile(window, writeSkin("half", skin, halfSize(mask)));
    ASSERT_NE(nullptr, app.skinFileName);
    SkinAreas half = copyLoadedAreas();
    for (size_t i = 0; i < deep.regions.size(); i++) {
        ASSERT_EQ(deep.regions[i] == NULL, half.regions[i] == NULL) << "region " << i;
        RECT a = {}, b = {};
        GetRgnBox(deep.regions[i], &a);
        GetRgnBox(half.regions[i], &b);
        EXPECT_TRUE(abs(a.left - b.left) <= 1 && abs(a.top - b.top) <= 1 && abs(a.right - b.right) <= 1
                    && abs(a.bottom - b.bottom) <= 1)
            << "region " << i << ": " << describeRegion(deep.regions[i]) << " / " << describeRegion(half.regions[i]);
    }
    freeScannedAreas(&deep);
    freeScannedAreas(&paletted);
    freeScannedAreas(&half);
}

// The scan on its own, without a window: a skin in skinDC and a mask in memory, each scanned
// both ways from a fresh state.
TEST(MaskScanTest, FastScanMatchesThePlainScan)
{
    const struct { int width, height, shortest, longest; unsigned noise; } masks[] = {
        { 300, 200, 1, 12, 7 },
        { 257, 131, 1, 3, 99 },     // short runs: many pieces per area
        { 64, 300, 5, 80, 12345 },  // runs longer than rows
        { 1, 50, 1, 1, 3 },         // one column
        { 333, 1, 1, 9, 5 },        // one row
    };
    app = AppState();
    app.skinDC = CreateCompatibleDC(NULL);
    for (const auto& m : masks) {
        SCOPED_TRACE(testing::Message() << m.width << " x " << m.height);
        HBITMAP skin = createDibFromPicture(placeSkin(m.width, m.height));
        HGDIOBJ startBitmap = SelectObject(app.skinDC, skin);
        Picture maskPicture(m.width, m.height);
        size_t runs = fillRandomMask(&maskPicture, m.shortest, m.longest, m.noise);
        HBITMAP mask = createDibFromPicture(maskPicture);
        ASSERT_NE(nullptr, mask);

        referenceScanMask(mask, m.width, m.height);
        SkinAreas plain = takeScannedAreas();
        scanMask(mask, m.width, m.height);
        SkinAreas fast = takeScannedAreas();
        EXPECT_EQ("", compareScannedAreas(plain, fast)) << runs << " runs";
        // A mask this busy defines most areas; the comparison above is not between nulls.
        size_t defined = 0;
        for (HRGN r : fast.regions)
            defined += r != NULL;
        EXPECT_GT(defined, 0u);
        freeScannedAreas(&plain);
        freeScannedAreas(&fast);
        DeleteObject(mask);
        SelectObject(app.skinDC, startBitmap);
        DeleteObject(skin);
    }
    DeleteDC(app.skinDC);
    app.skinDC = NULL;
    freeSkinRegions(NULL);
}

}  // namespace

// User skins with a mask: the areas, size and text colours a mask defines, the pressed
// pictures it places, a mask of another size, and the fast scan against the plain one.
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

Picture placeSkin(int width, int height)
{
    Picture skin(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            skin.at(x, y) = placeColor(x, y);
    return skin;
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

// Every region the load made, copied, in a fixed order.
std::vector<HRGN> copyLoadedRegions()
{
    std::vector<HRGN> regions;
    auto add = [&regions](HRGN region) {
        HRGN copy = NULL;
        if (region) {
            copy = CreateRectRgn(0, 0, 0, 0);
            CombineRgn(copy, region, NULL, RGN_COPY);
        }
        regions.push_back(copy);
    };
    for (const SkinButton& b : app.skinButtons) {
        add(b.hitRegion);
        add(b.faceRegion);
        add(b.pressedRegion);
    }
    for (int i = 0; i < drawnFieldCount; i++)
        add(app.valueFields[i].region);
    for (HRGN r : { app.bodySkinRegion, app.bodyRegion, app.displayTopRegion, app.displayBottomRegion,
                    app.displayRegion, app.displaySkinRegion, app.titleButtonsRegion, app.channelButtonsRegion,
                    app.valueFieldsSkinRegion, app.valueFieldsRegion, app.windowRegion })
        add(r);
    return regions;
}

void freeRegions(std::vector<HRGN>* regions)
{
    for (HRGN r : *regions)
        if (r)
            DeleteObject(r);
    regions->clear();
}

RECT windowSize(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    return r;
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

TEST_F(MaskSkinTest, MaskDefinesAreasSizeAndTextColours)
{
    Picture skin = placeSkin(120, 90);
    std::string path = writeSkin("arranged", skin, layoutMask());
    loadSkinFile(window, path);
    ASSERT_NE(nullptr, app.skinFileName);
    EXPECT_STREQ(path.c_str(), app.skinFileName);

    // The window is the body's box; window coordinates start at its corner (10, 8).
    RECT size = windowSize(window);
    EXPECT_EQ(100, size.right);
    EXPECT_EQ(72, size.bottom);
    EXPECT_TRUE(regionIsRect(app.windowRegion, 0, 0, 100, 72)) << describeRegion(app.windowRegion);

    const struct { SkinButtonIndex index; RECT hit, face, pressed; } buttons[] = {
        { snapButton, { 60, 4, 70, 12 }, { 70, 12, 80, 20 }, { 2, 82, 12, 90 } },
        { closeButton, { 76, 4, 86, 12 }, { 86, 12, 96, 20 }, { 14, 82, 24, 90 } },
        { lessRedButton, { 60, 22, 68, 30 }, { 70, 30, 78, 38 }, { 26, 82, 34, 90 } },
        { moreWhiteButton, { 80, 22, 88, 30 }, { 90, 30, 98, 38 }, { 36, 82, 44, 90 } },
    };
    for (const auto& b : buttons) {
        const SkinButton& button = app.skinButtons[b.index];
        EXPECT_TRUE(regionIsRect(button.hitRegion, b.hit.left, b.hit.top, b.hit.right, b.hit.bottom))
            << b.index << ": " << describeRegion(button.hitRegion);
        EXPECT_TRUE(regionIsRect(button.faceRegion, b.face.left, b.face.top, b.face.right, b.face.bottom))
            << b.index << ": " << describeRegion(button.faceRegion);
        EXPECT_TRUE(regionIsRect(button.pressedRegion, b.pressed.left, b.pressed.top, b.pressed.right,
                                 b.pressed.bottom))
            << b.index << ": " << describeRegion(button.pressedRegion);
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
    EXPECT_TRUE(regionIsRect(app.displaySkinRegion, 20, 12, 60, 48)) << describeRegion(app.displaySkinRegion);

    const struct { ValueFieldIndex index; RECT rect; POINT text; } fields[] = {
        { redDecField, { 56, 42, 90, 52 }, { 56, 40 } },
        { greenHexField, { 10, 52, 30, 62 }, { 10, 50 } },
    };
    for (const auto& f : fields) {
        const ValueField& field = app.valueFields[f.index];
        EXPECT_TRUE(regionIsRect(field.region, f.rect.left, f.rect.top, f.rect.right, f.rect.bottom))
            << f.index << ": " << describeRegion(field.region);
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
}

TEST_F(MaskSkinTest, PressedPicturesComeFromTheMasksPressedAreas)
{
    Picture skin = placeSkin(120, 90);
    loadSkinFile(window, writeSkin("pressed", skin, layoutMask()));
    ASSERT_EQ(100, windowSize(window).right);
    ASSERT_TRUE(app.skinButtons[snapButton].pressed) << "snapping is on by default, its button latched";
    presentBackBuffer(NULL);

    const struct { SkinButtonIndex index; POINT hit, face, pressed; SIZE size; } buttons[] = {
        { snapButton, { 60, 4 }, { 70, 12 }, { 2, 82 }, { 10, 8 } },
        { closeButton, { 76, 4 }, { 86, 12 }, { 14, 82 }, { 10, 8 } },
        { lessRedButton, { 60, 22 }, { 70, 30 }, { 26, 82 }, { 8, 8 } },
        { moreWhiteButton, { 80, 22 }, { 90, 30 }, { 36, 82 }, { 8, 8 } },
    };
    // The back buffer: the face everywhere, the latched snap button pressed.
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
        for (const auto& b : buttons) {
            drawButton(b.index, pressed);
            Picture shown = capturePicture(app.windowDC, 100, 72);
            POINT from = pressed ? b.pressed : b.face;
            int bad = 0;
            for (int j = 0; j < b.size.cy; j++)
                for (int i = 0; i < b.size.cx; i++) {
                    COLORREF expected = skin.at(from.x + i, from.y + j);
                    COLORREF got = shown.at(b.hit.x + i, b.hit.y + j);
                    if (got != expected && bad++ < 3)
                        ADD_FAILURE() << "button " << b.index << (pressed ? " pressed " : " released ") << i << ","
                                      << j << std::hex << ": " << got << " not " << expected;
                }
            // Nothing beside the hit area changed: the pixel left of it is still the face.
            EXPECT_EQ(skin.at(b.hit.x - 1 + 10, b.hit.y + 8), shown.at(b.hit.x - 1, b.hit.y)) << b.index;
        }
}

TEST_F(MaskSkinTest, SmallerMaskIsStretchedToTheSkin)
{
    Picture skin = placeSkin(120, 90);
    Picture mask = layoutMask();
    loadSkinFile(window, writeSkin("full", skin, mask));
    std::vector<HRGN> full = copyLoadedRegions();
    RECT fullSize = windowSize(window);

    // The system's stretch may round an edge by a pixel; nothing else may differ.
    loadSkinFile(window, writeSkin("half", skin, halfSize(mask)));
    ASSERT_NE(nullptr, app.skinFileName);
    std::vector<HRGN> stretched = copyLoadedRegions();
    RECT size = windowSize(window);
    EXPECT_NEAR(fullSize.right, size.right, 1);
    EXPECT_NEAR(fullSize.bottom, size.bottom, 1);
    ASSERT_EQ(full.size(), stretched.size());
    for (size_t i = 0; i < full.size(); i++) {
        ASSERT_EQ(full[i] == NULL, stretched[i] == NULL) << "region " << i;
        if (!full[i])
            continue;
        RECT a, b;
        GetRgnBox(full[i], &a);
        GetRgnBox(stretched[i], &b);
        std::string both = describeRegion(full[i]) + " / " + describeRegion(stretched[i]);
        EXPECT_NEAR(a.left, b.left, 1) << "region " << i << ": " << both;
        EXPECT_NEAR(a.top, b.top, 1) << "region " << i << ": " << both;
        EXPECT_NEAR(a.right, b.right, 1) << "region " << i << ": " << both;
        EXPECT_NEAR(a.bottom, b.bottom, 1) << "region " << i << ": " << both;
    }
    freeRegions(&full);
    freeRegions(&stretched);
}

TEST_F(MaskSkinTest, EightBitMaskReadsLikeTwentyFourBit)
{
    Picture skin = placeSkin(120, 90);
    Picture mask = layoutMask();
    loadSkinFile(window, writeSkin("deep", skin, mask));
    std::vector<HRGN> deep = copyLoadedRegions();
    COLORREF colours[drawnFieldCount];
    for (int i = 0; i < drawnFieldCount; i++)
        colours[i] = app.valueFields[i].textColor;

    files.write("paletted_mask.bmp", bmpBytes(mask, false, 8));
    loadSkinFile(window, files.write("paletted.bmp", bmpBytes(skin)));
    std::vector<HRGN> paletted = copyLoadedRegions();
    for (size_t i = 0; i < deep.size(); i++)
        if (deep[i] && paletted[i]) {
            EXPECT_TRUE(EqualRgn(deep[i], paletted[i])) << "region " << i;
        } else {
            EXPECT_EQ(deep[i], paletted[i]) << "region " << i;
        }
    for (int i = 0; i < drawnFieldCount; i++)
        EXPECT_EQ(colours[i], app.valueFields[i].textColor) << i;
    freeRegions(&deep);
    freeRegions(&paletted);
}

// The scan on its own, without a window: a skin in skinDC and a mask in memory.
class MaskScanTest : public testing::Test {
protected:
    void SetUp() override
    {
        app = AppState();
        app.skinDC = CreateCompatibleDC(NULL);
    }
    void TearDown() override
    {
        if (skinBitmap) {
            SelectObject(app.skinDC, startBitmap);
            DeleteObject(skinBitmap);
        }
        DeleteDC(app.skinDC);
        app.skinDC = NULL;
        freeSkinRegions(NULL);
    }
    void useSkin(const Picture& skin)
    {
        skinBitmap = createDibFromPicture(skin);
        startBitmap = SelectObject(app.skinDC, skinBitmap);
    }
    HBITMAP skinBitmap = NULL;
    HGDIOBJ startBitmap = NULL;
};

TEST_F(MaskScanTest, FastScanMatchesThePlainScan)
{
    const struct { int width, height, shortest, longest; unsigned noise; } masks[] = {
        { 300, 200, 1, 12, 7 },
        { 257, 131, 1, 3, 99 },     // short runs: many pieces per area
        { 64, 300, 5, 80, 12345 },  // runs longer than rows
        { 1, 50, 1, 1, 3 },         // one column
        { 333, 1, 1, 9, 5 },        // one row
    };
    for (const auto& m : masks) {
        SCOPED_TRACE(testing::Message() << m.width << " x " << m.height);
        useSkin(placeSkin(m.width, m.height));
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
        DeleteObject(skinBitmap);
        skinBitmap = NULL;
    }
}

TEST_F(MaskScanTest, MaskLayoutScansAlikeBothWays)
{
    Picture skin = placeSkin(120, 90);
    useSkin(skin);
    HBITMAP mask = createDibFromPicture(layoutMask());
    referenceScanMask(mask, 120, 90);
    SkinAreas plain = takeScannedAreas();
    scanMask(mask, 120, 90);
    SkinAreas fast = takeScannedAreas();
    EXPECT_EQ("", compareScannedAreas(plain, fast));
    EXPECT_EQ(skin.at(50, 5), fast.textColors[redDecField]);
    freeScannedAreas(&plain);
    freeScannedAreas(&fast);
    DeleteObject(mask);
}

}  // namespace

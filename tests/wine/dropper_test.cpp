// The eye-dropper and the press modes, driven by window messages over a known pattern: the
// magnified view and the averaged colour at the screen's edges, and how presses end.
#include "harness.h"
#include "bench/sampling_reference.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "skin/pixels.h"
#include "skin/skin.h"

#include <optional>

namespace {

const COLORREF grey = RGB(128, 128, 128);

// A pixel as the screen shows it. Wine 10 puts a window's picture on the screen a moment after the
// window painted it (its own DC reads the picture at once), so a test waits for the screen.
COLORREF screenPixel(int x, int y)
{
    HDC screen = GetDC(NULL);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(NULL, screen);
    return c;
}
const POINT upperDisplay = { 41, 30 }, lowerDisplay = { 41, 50 }, body = { 41, 64 }, moreRed = { 60, 74 };

class DropperTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        setValue("colorHistory", REG_BINARY, "\x80\x80\x80", 4); // grey
        startProgram();
        pattern.emplace(); // above the program's window
        const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
        ASSERT_TRUE(pumpUntil(
            [&] { return screenPixel(0, 0) == patternColor(0, 0) && screenPixel(w, h) == patternColor(w, h); }, 5000))
            << "the pattern never reached the screen";
    }
    // A press on the display held until its delay has run out.
    void startPick(POINT at)
    {
        press(at.x, at.y);
        SendMessageA(window, WM_TIMER, TIMER_DROPPER_DELAY, 0);
    }
    void dragOnScreen(POINT p) { drag(p.x - app.windowRect.left, p.y - app.windowRect.top); }
    // Another window takes the mouse, as a dialog or a switch of programs does, and lets go.
    void takeCapture()
    {
        HWND other = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
        SetCapture(other);
        ReleaseCapture();
        DestroyWindow(other);
    }
    std::optional<PatternWindow> pattern;
};

// Every pixel of the view region against the pattern: each screen pixel a zoom-by-zoom block,
// black off the screen, the red marker in the centre; empty when all agree.
std::string viewMismatches(HDC dc, POINT pointer, bool marker)
{
    const ZoomLayout& l = app.zoomLayout;
    const int z = app.activeZoom, w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    RECT box;
    GetRgnBox(app.zoomRegion, &box);
    int bad = 0;
    std::string first;
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++) {
            int sx = pointer.x - l.sourceWidth / 2 + (x - l.destX) / z,
                sy = pointer.y - l.sourceHeight / 2 + (y - l.destY) / z;
            COLORREF want = sx < 0 || sy < 0 || sx >= w || sy >= h ? 0 : patternColor(sx, sy);
            if (marker && x == l.centerX && y == l.centerY)
                want = RGB(255, 0, 0);
            COLORREF shown = PtInRegion(app.zoomRegion, x, y) ? GetPixel(dc, x, y) : want;
            if (shown != want && bad++ == 0)
                first = std::to_string(x) + "," + std::to_string(y) + " is " + hex(shown) + " not " + hex(want);
        }
    return bad ? std::to_string(bad) + " pixels differ, first " + first : "";
}

TEST_F(DropperTest, MagnifiedViewAndAveragedColourAtTheScreensEdges)
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    auto upperHalf = [] {
        std::vector<COLORREF> pixels;
        for (int y = 20; y < 40; y++)
            for (int x = 18; x < 65; x++)
                pixels.push_back(backPixel(x, y));
        return pixels;
    };
    const struct {
        bool split, sticky;
        int zoom, dither;
        POINT pointer;
    } rows[] = {
        { false, false, CMD_ZOOM_16X, CMD_DITHER_LARGE, { 333, 111 } },   // a square larger than the view's source
        { false, false, CMD_ZOOM_16X, CMD_DITHER_LARGE, { 0, 0 } },       // black on the left and at the top
        { false, false, CMD_ZOOM_4X, CMD_DITHER_NONE, { w - 1, h - 1 } }, // on the right and at the bottom
        { false, false, CMD_ZOOM_2X, CMD_DITHER_LARGE, { w - 1, 300 } },
        { false, false, CMD_ZOOM_1X, CMD_DITHER_SMALL, { 300, 0 } },
        { true, false, CMD_ZOOM_4X, CMD_DITHER_MEDIUM, { 400, 250 } }, // the lower half of a split display
        { true, true, CMD_ZOOM_8X, CMD_DITHER_MEDIUM, { 2, h - 3 } },  // zoom persists: no marker, colour kept
        { false, false, CMD_ZOOM_4X, CMD_DITHER_LARGE, { -1, -1 } },   // the own display's corner
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &r - rows);
        if (app.splitScreen != r.split)
            command(CMD_SPLIT_SCREEN);
        if (app.stickyZoom != r.sticky)
            command(CMD_STICKY_ZOOM);
        command(r.zoom);
        command(r.dither);
        std::vector<COLORREF> upperBefore = upperHalf();
        startPick(r.split ? lowerDisplay : upperDisplay);
        ASSERT_TRUE(app.dropperActive);
        POINT p = r.pointer.x < 0 ? POINT{ app.windowRect.left + 18, app.windowRect.top + 20 } : r.pointer;
        dragOnScreen(p);
        EXPECT_EQ("", viewMismatches(app.backDC, p, !r.sticky)) << "back buffer";
        EXPECT_EQ("", viewMismatches(app.windowDC, p, !r.sticky)) << "window";
        POINT origin = { app.windowRect.left, app.windowRect.top };
        COLORREF picked = r.sticky ? grey : referenceAverage(p.x, p.y, app.antiDitherTol, app.zoomRegion, origin, grey);
        EXPECT_EQ(hex(picked), hex(app.curColor));
        EXPECT_TRUE(!r.split || upperBefore == upperHalf()) << "the upper half must stay";
        command(CMD_CANCEL);
    }
}

// However a pick or a channel press began, the left release and Enter keep its colour and
// record it once; the right release and Escape go back to the recorded colour. A release
// after the end is ignored and the right release opens no menu.
TEST_F(DropperTest, PressesEndByReleaseEnterRightReleaseOrEscape)
{
    enum End { LeftRelease, Enter, RightRelease, Escape, CaptureTaken, ends };
    PopupCatcher catcher;
    for (int row = 0; row < 2 * ends; row++) { // each end of a pick, then of a channel press
        SCOPED_TRACE(testing::Message() << "row " << row);
        const End end = End(row % ends);
        const bool keeps = end == LeftRelease || end == Enter;
        COLORREF before = recordedColor();
        unsigned count = recordedCount();
        POINT at = moreRed;
        if (row < ends) {
            startPick(upperDisplay);
            dragOnScreen({ 250 + 40 * row, 300 });
            at = { 250 + 40 * row - app.windowRect.left, 300 - app.windowRect.top };
        } else {
            press(at.x, at.y);
        }
        COLORREF during = app.curColor;
        ASSERT_NE(hex(before), hex(during));
        EXPECT_EQ(count, recordedCount()) << "nothing recorded during the press";
        switch (end) {
        case LeftRelease: release(at.x, at.y); break;
        case Enter: command(CMD_ACCEPT); break;
        case RightRelease: mouse(WM_RBUTTONUP, MK_LBUTTON, at.x, at.y); break;
        case Escape: command(CMD_CANCEL); break;
        default: takeCapture(); break;
        }
        COLORREF after = keeps ? during : before;
        EXPECT_FALSE(app.dropperActive || app.channelPressed || app.leftButtonDown);
        EXPECT_NE(window, GetCapture());
        EXPECT_FALSE(KillTimer(window, TIMER_SAMPLING) | KillTimer(window, TIMER_REPEAT))
            << "a timer outlived the press";
        EXPECT_EQ(hex(after), hex(recordedColor()));
        EXPECT_EQ(count + keeps, recordedCount());
        EXPECT_EQ(hex(after), hex(backPixel(upperDisplay.x, upperDisplay.y)));
        release(at.x, at.y);
        EXPECT_EQ(hex(after), hex(app.curColor));
    }
    pumpMessages(50);
    EXPECT_EQ(std::vector<std::string>(), catcher.seen());
}

// A pick starts only if the button is still down on the display when the delay ends, and
// never while the splash shows.
TEST_F(DropperTest, APickStartsOnlyIfTheDelayEndsOnTheDisplay)
{
    const struct {
        POINT at;
        bool picks;
    } rows[] = {
        { lowerDisplay, true }, { { 18, 20 }, true }, { { 64, 59 }, true },   { { 65, 40 }, false },
        { { 41, 60 }, false },  { body, false },      { { -30, 40 }, false },
    };
    for (const auto& r : rows) {
        press(upperDisplay.x, upperDisplay.y);
        EXPECT_EQ(window, GetCapture()) << "captured from the press, so a release anywhere is seen";
        SetCursorPos(app.windowRect.left + r.at.x, app.windowRect.top + r.at.y);
        SendMessageA(window, WM_TIMER, TIMER_DROPPER_DELAY, 0);
        EXPECT_EQ(r.picks, app.dropperActive) << r.at.x << "," << r.at.y;
        release(r.at.x, r.at.y);
        EXPECT_FALSE(app.dropperActive || app.leftButtonDown);
    }
    // Released outside the window before the delay: no pick, and the next move drags nothing.
    press(upperDisplay.x, upperDisplay.y);
    release(-30, 40);
    SendMessageA(window, WM_TIMER, TIMER_DROPPER_DELAY, 0);
    EXPECT_FALSE(app.dropperActive) << "released before the delay";
    RECT before = app.windowRect;
    mouse(WM_MOUSEMOVE, 0, upperDisplay.x + 20, upperDisplay.y);
    EXPECT_EQ(before.left, app.windowRect.left) << "a move after the release";

    if (!app.splashScreen)
        command(CMD_SPLASH_SCREEN);
    command(CMD_DEFAULT_SKIN); // a skin load shows the splash
    ASSERT_TRUE(app.splashShowing);
    press(upperDisplay.x, upperDisplay.y);
    EXPECT_FALSE(KillTimer(window, TIMER_DROPPER_DELAY)) << "a delay during the splash";
    release(upperDisplay.x, upperDisplay.y);
}

// The title button under the pointer at the release acts, wherever the press began; a right
// release while the left button drags the window does nothing.
TEST_F(DropperTest, TitleButtonsActOnReleaseLikePushButtons)
{
    const POINT snap = { 12, 10 }, onTop = { 28, 10 }, minimize = { 54, 10 }, close = { 70, 10 };
    const struct {
        POINT press, release;
        bool onTop, snapOn;
    } rows[] = {
        { onTop, onTop, true, true },
        { onTop, body, true, true }, // released off every button: nothing
        { minimize, onTop, false, true },
        { body, snap, false, true },          // a drag never ends in a button's action: snapping
        { body, close, false, true },         // can put one under a still pointer
        { upperDisplay, snap, false, false }, // a press on the display is no drag
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &r - rows);
        press(r.press.x, r.press.y);
        drag(r.release.x, r.release.y);
        release(r.release.x, r.release.y);
        ASSERT_TRUE(IsWindow(window));
        EXPECT_EQ(r.onTop, app.alwaysOnTop);
        EXPECT_EQ(r.snapOn, app.snapTol != 0);
        EXPECT_FALSE(IsIconic(window) || app.leftButtonDown);
    }
    // Losing the mouse ends a drag and lets a held title button go.
    for (POINT at : { body, minimize }) {
        press(at.x, at.y);
        takeCapture();
        EXPECT_FALSE(app.leftButtonDown || app.draggingWindow || app.skinButtons[minimizeButton].pressed);
        release(minimize.x, minimize.y);
        EXPECT_FALSE(IsIconic(window)) << "a release after the loss";
    }
    PopupCatcher catcher;
    ASSERT_TRUE(putText("untouched"));
    press(body.x, body.y);
    for (POINT at : { upperDisplay, body, POINT{ 40, 74 } })
        mouse(WM_RBUTTONUP, MK_LBUTTON, at.x, at.y);
    EXPECT_TRUE(app.draggingWindow);
    release(body.x, body.y);
    pumpMessages(50);
    EXPECT_EQ("untouched", clipboardText());
    EXPECT_EQ(std::vector<std::string>(), catcher.seen());
}

// A double click on a field pastes into its channel alone; on the display the whole colour,
// also during a pick, whose sampling ends so that the pasted colour stays; on the body it
// minimizes.
TEST_F(DropperTest, DoubleClickPastesIntoTheFieldUnderIt)
{
    const struct {
        POINT at;
        const char* text;
        COLORREF after;
    } rows[] = {
        { upperDisplay, "102030", RGB(0x10, 0x20, 0x30) }, { { 40, 74 }, "77", RGB(77, 0x20, 0x30) },
        { { 41, 116 }, "7F", RGB(77, 0x7F, 0x30) },        { { 40, 98 }, "200", RGB(77, 0x7F, 200) },
        { { 57, 116 }, "zz", RGB(77, 0x7F, 200) },
    };
    for (const auto& r : rows) {
        putText(r.text);
        press(r.at.x, r.at.y);
        release(r.at.x, r.at.y);
        mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, r.at.x, r.at.y);
        release(r.at.x, r.at.y);
        EXPECT_EQ(hex(r.after), hex(recordedColor())) << r.text;
    }
    startPick(upperDisplay);
    putText("405060");
    mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, upperDisplay.x, upperDisplay.y);
    EXPECT_FALSE(KillTimer(window, TIMER_SAMPLING));
    release(upperDisplay.x, upperDisplay.y);
    EXPECT_EQ(hex(RGB(0x40, 0x50, 0x60)), hex(recordedColor()));
    mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, body.x, body.y);
    EXPECT_TRUE(pumpUntil([&] { return IsIconic(window) != FALSE; }, 2000)) << "a double click on the body minimizes";
}

// At 192 dpi (the start journey sees the window start doubled) a DPI change takes the place suggested at a factor the
// work area holds: each skin pixel n x n window pixels, the shape's too, also where a paste and a
// latched button redraw only their part, and presses act at those points; a scrub counts skin pixels. A drag, its press
// handled after the pointer moved on, moves by the pointer's own distance. A pick reads the screen pixel under the
// pointer; an average leaves out the own display.
TEST_F(ScaledTest, TheWindowIsTheSkinAtItsFactorPixelForPixel)
{
    setDword("snapTol", 0);
    setValue("colorHistory", REG_BINARY, "\x80\x80\x80", 4);
    startProgram();
    RECT r, moved;
    GetWindowRect(window, &r);
    const struct {
        int dpi;
        RECT suggested;
    } changes[] = { { 192, r }, { 96, { 10, 20, 93, 152 } }, { 576, { 0, 0, 415, 660 } }, { 192, r } };
    for (const auto& c : changes) {
        SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(c.dpi, c.dpi), LPARAM(&c.suggested));
        pumpMessages(50);
        GetWindowRect(window, &r);
        EXPECT_TRUE(EqualRect(&r, &c.suggested) && EqualRect(&r, &app.windowRect)) << c.dpi;
        const int n = (r.right - r.left) / faceWidth, w = faceWidth * n, h = faceHeight * n;
        paste(hex(RGB(0x20 + 0x30 * (&c - changes), 0x40, 0x60))); // the display and fields drawn in part
        press(28 * n, 10 * n);                                     // Always On Top: its button in part
        release(28 * n, 10 * n);
        pumpMessages(20);
        EXPECT_EQ((&c - changes) % 2 == 0, app.alwaysOnTop) << c.dpi;
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        PixelBuffer shown;
        HDC screen = GetDC(NULL);
        ASSERT_TRUE(GetWindowRgn(window, shape) && createPixelBuffer(&shown, w, h)
                    && capturePixels(&shown, screen, r.left, r.top, w, h));
        std::string bad;
        for (int i = 0, x, y; i < w * h && bad.empty(); i++) {
            bool in = PtInRegion(app.windowRegion, (x = i % w) / n, (y = i / w) / n);
            if (in != !!PtInRegion(shape, x, y) || (in && pixelAt(shown, x, y) != backPixel(x / n, y / n)))
                bad = std::to_string(x) + "," + std::to_string(y);
        }
        EXPECT_EQ("", bad) << c.dpi;
        ReleaseDC(NULL, screen), freePixelBuffer(&shown), DeleteObject(shape);
    }

    // A held pen is a right click but where holding picks (the display) or repeats (channel buttons).
    const std::pair<POINT, LRESULT> holds[]
        = { { upperDisplay, 1 }, { moreRed, 1 }, { { 40, 74 }, 0 }, { body, 0 }, { { 70, 10 }, 0 } };
    for (auto [at, disabled] : holds)
        EXPECT_EQ(disabled, SendMessageA(window, 0x2CC, 0, MAKELPARAM(r.left + 2 * at.x, r.top + 2 * at.y))) << at.x;

    // Scrubbing off the held button: a step a skin pixel, what is left of one carried to the next move.
    press(2 * moreRed.x, 2 * moreRed.y);
    const int red = GetRValue(app.curColor);
    for (int dx : { 31, 32 }) {
        drag(2 * moreRed.x + dx, 2 * moreRed.y);
        EXPECT_EQ(red + dx / 2, GetRValue(app.curColor)) << "scrubbed " << dx << " window pixels";
    }
    release(2 * moreRed.x + 32, 2 * moreRed.y);

    SetCursorPos(r.left + 82 + 31, r.top + 128 + 17);                      // moved on before the press is handled
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(82, 128)); // the body
    drag(82 + 31, 128 + 17), release(82 + 31, 128 + 17), GetWindowRect(window, &moved);
    EXPECT_EQ(std::to_string(r.left + 31) + "," + std::to_string(r.top + 17),
              std::to_string(moved.left) + "," + std::to_string(moved.top));

    PatternWindow pattern;
    ASSERT_TRUE(pumpUntil([&] { return screenPixel(1, 1) == patternColor(1, 1); }, 5000));
    const POINT own = { app.windowRect.left + 37, app.windowRect.top + 41 };
    for (POINT at : { POINT{ 301, 200 }, POINT{ 302, 201 }, own }) {
        command(at.x == own.x ? CMD_DITHER_MEDIUM : CMD_DITHER_NONE);
        press(82, 60); // the upper display
        SendMessageA(window, WM_TIMER, TIMER_DROPPER_DELAY, 0);
        drag(at.x - app.windowRect.left, at.y - app.windowRect.top);
        RECT box; // the display is a plain rectangle: its window pixels are twice its skin pixels
        ASSERT_EQ(SIMPLEREGION, GetRgnBox(app.zoomRegion, &box));
        HRGN skip = CreateRectRgn(2 * box.left, 2 * box.top, 2 * box.right, 2 * box.bottom);
        POINT origin = { app.windowRect.left, app.windowRect.top };
        EXPECT_EQ(hex(referenceAverage(at.x, at.y, app.antiDitherTol, skip, origin, grey)), hex(app.curColor))
            << at.x << "," << at.y << (app.dropperActive ? "" : " no pick");
        DeleteObject(skip);
        command(CMD_CANCEL);
    }
}

} // namespace

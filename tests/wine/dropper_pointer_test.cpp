// The press modes of the mouse driven by real window messages: the delayed start of a pick
// and its ends, channel buttons and scrubbing, title buttons that follow the pointer,
// window drags, and the double and right clicks.
#include "dropper_driver.h"
#include "color/color.h"
#include "dropper/dropper.h"
#include "skin/skin.h"
#include "window/window.h"

static bool putClipboardText(const char* text)
{
    if (!OpenClipboard(NULL))
        return false;
    EmptyClipboard();
    size_t size = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    bool set = SetClipboardData(CF_TEXT, block) != NULL;
    CloseClipboard();
    return set;
}

static std::string clipboardText()
{
    std::string text = "<none>";
    if (!OpenClipboard(NULL))
        return "<not opened>";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        const char* locked = static_cast<const char*>(GlobalLock(data));
        if (locked)
            text = locked;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Every pixel of a button on the window matches the skin's pressed or released picture.
static bool drawnAs(int index, bool pressed)
{
    const SkinButton& button = app.skinButtons[index];
    RECT hit, picture;
    GetRgnBox(button.hitRegion, &hit);
    GetRgnBox(pressed ? button.pressedRegion : button.faceRegion, &picture);
    for (int y = hit.top; y < hit.bottom; y++)
        for (int x = hit.left; x < hit.right; x++)
            if (PtInRegion(button.hitRegion, x, y)
                && GetPixel(app.windowDC, x, y) != GetPixel(app.skinDC, picture.left + x - hit.left,
                                                               picture.top + y - hit.top))
                return false;
    return true;
}

// Closes any popup menu of this process and counts how many it saw.
class MenuCatcher {
public:
    MenuCatcher() : stopping(0), menus(0) { thread = CreateThread(NULL, 0, watch, this, 0, NULL); }
    ~MenuCatcher()
    {
        InterlockedExchange(&stopping, 1);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
    LONG seen() const { return menus; }
private:
    static DWORD WINAPI watch(void* self)
    {
        MenuCatcher* catcher = static_cast<MenuCatcher*>(self);
        HWND last = NULL;
        while (!catcher->stopping) {
            HWND menu = FindWindowA("#32768", NULL);
            if (menu && IsWindowVisible(menu)) {
                DWORD process = 0;
                GetWindowThreadProcessId(menu, &process);
                if (process == GetCurrentProcessId()) {
                    if (menu != last)
                        InterlockedIncrement(&catcher->menus);
                    last = menu;
                    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                }
            } else {
                last = NULL;
            }
            Sleep(10);
        }
        return 0;
    }
    HANDLE thread;
    volatile LONG stopping, menus;
};

class PointerTest : public DropperTest {
protected:
    void SetUp() override
    {
        DropperTest::SetUp();
        startProgram();
    }
};

// The display's points, a body point, and the controls' centres in window coordinates.
static const POINT upperDisplay = { 41, 30 }, lowerDisplay = { 41, 50 };
static const POINT bodyPoint = { 41, 64 };
static const POINT snapPoint = { 12, 10 }, onTopPoint = { 28, 10 }, minimizePoint = { 54, 10 }, closePoint = { 70, 10 };

// A click on the display released before the delay does nothing; held through it, a pick
// starts only if the pointer is still on the display when the delay ends.
TEST_F(PointerTest, DelayStartsAPickOnlyWhileHeldOnTheDisplay)
{
    leftDown(window, upperDisplay.x, upperDisplay.y);
    EXPECT_EQ(NULL, GetCapture()) << "no capture before a pick";
    leftUp(window, upperDisplay.x, upperDisplay.y);
    pumpMessages(300);      // the delay's tick, had it survived, would have come by now
    EXPECT_FALSE(app.dropperActive || app.leftButtonDown);
    EXPECT_FALSE(stopTimer(window, TIMER_SAMPLING));

    leftDown(window, upperDisplay.x, upperDisplay.y);
    ASSERT_TRUE(pumpUntil([] { return app.dropperActive; }, 3000)) << "the delay never started the pick";
    EXPECT_EQ(window, GetCapture());
    EXPECT_TRUE(cursorIs(IDC_CROSS));
    EXPECT_TRUE(stopTimer(window, TIMER_SAMPLING)) << "sampling ticks run";
    EXPECT_FALSE(stopTimer(window, TIMER_DROPPER_DELAY)) << "the delay fires once";
    leftUp(window, upperDisplay.x, upperDisplay.y);
    EXPECT_FALSE(app.dropperActive);
    EXPECT_NE(window, GetCapture());
    EXPECT_TRUE(cursorIs(IDC_ARROW));

    const struct { POINT at; bool picks; } rows[] = {
        { lowerDisplay, true }, { { 18, 20 }, true }, { { 64, 59 }, true }, { { 65, 40 }, false },
        { { 41, 60 }, false }, { bodyPoint, false }, { { -30, 40 }, false },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "pointer at " << r.at.x << "," << r.at.y << " when the delay ends");
        leftDown(window, upperDisplay.x, upperDisplay.y);
        POINT p = screenPoint(r.at.x, r.at.y);
        SetCursorPos(p.x, p.y);
        onTimer(window, TIMER_DROPPER_DELAY);
        EXPECT_EQ(r.picks, app.dropperActive);
        EXPECT_TRUE(app.leftButtonDown) << "the button is still down either way";
        EXPECT_EQ(r.picks, GetCapture() == window);
        leftUp(window, r.at.x, r.at.y);
        EXPECT_FALSE(app.dropperActive || app.leftButtonDown);
    }
}

TEST_F(PointerTest, PressDuringTheSplashNeverStartsAPick)
{
    closeProgram();
    setDword("splashScreen", 1);
    startProgram();
    ASSERT_TRUE(app.splashShowing);
    leftDown(window, upperDisplay.x, upperDisplay.y);
    EXPECT_FALSE(stopTimer(window, TIMER_DROPPER_DELAY)) << "no delay during the splash";
    onTimer(window, TIMER_SPLASH);
    EXPECT_FALSE(app.splashShowing);
    pumpMessages(250);
    EXPECT_FALSE(app.dropperActive);
    EXPECT_NE(window, GetCapture());
    leftUp(window, upperDisplay.x, upperDisplay.y);
    // After the splash the same press picks.
    startPick(window, upperDisplay.x, upperDisplay.y);
    EXPECT_TRUE(app.dropperActive);
    leftUp(window, upperDisplay.x, upperDisplay.y);
}

// A pick takes the colour under the pointer; the left release and Enter keep it, the right
// release and Escape go back to the history's colour.
TEST_F(PointerTest, EndsOfAPick)
{
    showPattern();
    MenuCatcher menus;
    enum End { LeftRelease, Enter, RightRelease, Escape };
    const struct { End end; const char* name; bool keeps; } rows[] = {
        { LeftRelease, "left release", true }, { Enter, "Enter", true },
        { RightRelease, "right release", false }, { Escape, "Escape", false },
    };
    int x = 250;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        COLORREF before = currentColor(&app.history);
        unsigned count = historyCount(&app.history);
        startPick(window, upperDisplay.x, upperDisplay.y);
        ASSERT_TRUE(app.dropperActive);
        POINT p = { x, 300 };
        x += 40;
        leftMoveOnScreen(window, p.x, p.y);
        COLORREF under = patternColor(p.x, p.y);
        EXPECT_EQ(hexColor(under), hexColor(app.curColor)) << "the colour follows the pointer";
        EXPECT_EQ(hexColor(under), hexColor(backPixel(upperDisplay.x, upperDisplay.y)));
        EXPECT_EQ(count, historyCount(&app.history)) << "nothing recorded during the pick";
        int wx = p.x - app.windowRect.left, wy = p.y - app.windowRect.top;
        switch (r.end) {
        case LeftRelease: leftUp(window, wx, wy); break;
        case Enter: onCommand(window, CMD_ACCEPT); break;
        case RightRelease: rightUp(window, wx, wy, MK_LBUTTON); break;
        case Escape: onCommand(window, CMD_CANCEL); break;
        }
        COLORREF after = r.keeps ? under : before;
        EXPECT_FALSE(app.dropperActive || app.leftButtonDown);
        EXPECT_NE(window, GetCapture());
        EXPECT_TRUE(cursorIs(IDC_ARROW));
        EXPECT_FALSE(stopTimer(window, TIMER_SAMPLING));
        EXPECT_EQ(hexColor(after), hexColor(currentColor(&app.history)));
        EXPECT_EQ(count + (r.keeps ? 1 : 0), historyCount(&app.history));
        EXPECT_EQ(hexColor(after), hexColor(backPixel(upperDisplay.x, upperDisplay.y)));
        // A release arriving after the end is ignored.
        leftUp(window, wx, wy);
        EXPECT_EQ(hexColor(after), hexColor(app.curColor));
    }
    pumpMessages(50);
    EXPECT_EQ(0, menus.seen()) << "a right release that cancels opens no menu";
}

// A channel press steps at once and is drawn pressed; the release records it once. During
// the press only the lower half of a split display shows the new colour, after it all.
TEST_F(PointerTest, ChannelButtonStepsAtOnceAndRecordsOnRelease)
{
    const struct { SkinButtonIndex button; POINT at; COLORREF after; } rows[] = {
        { moreRedButton, { 60, 74 }, 0x808081 }, { lessWhiteButton, { 10, 116 }, 0x7F7F7F },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "button " << r.button);
        setColor(grey);
        refreshColorDisplay(app.displayRegion);
        recordColor(&app.history, grey);
        unsigned count = historyCount(&app.history);
        leftDown(window, r.at.x, r.at.y);
        EXPECT_EQ(hexColor(r.after), hexColor(app.curColor)) << "one step at once";
        EXPECT_TRUE(drawnAs(r.button, true)) << "drawn pressed";
        EXPECT_EQ(window, GetCapture());
        EXPECT_EQ(hexColor(r.after), hexColor(backPixel(lowerDisplay.x, lowerDisplay.y)));
        EXPECT_EQ(hexColor(grey), hexColor(backPixel(upperDisplay.x, upperDisplay.y))) << "split: upper half kept";
        EXPECT_EQ(count, historyCount(&app.history));
        leftUp(window, r.at.x, r.at.y);
        EXPECT_FALSE(app.channelPressed || app.skinButtons[r.button].pressed);
        EXPECT_TRUE(drawnAs(r.button, false)) << "drawn released";
        EXPECT_NE(window, GetCapture());
        EXPECT_FALSE(stopTimer(window, TIMER_REPEAT));
        EXPECT_EQ(count + 1, historyCount(&app.history)) << "one entry for the press";
        EXPECT_EQ(hexColor(r.after), hexColor(currentColor(&app.history)));
        EXPECT_EQ(hexColor(r.after), hexColor(backPixel(upperDisplay.x, upperDisplay.y)));
    }
}

// Off the held pair the pointer's movement drives its channels: right and up raise them.
// Back on the pair nothing changes; a right release cancels the whole press.
TEST_F(PointerTest, ScrubbingOffThePairDrivesItsChannels)
{
    MenuCatcher menus;
    const POINT moreWhite = { 72, 116 };
    leftDown(window, moreWhite.x, moreWhite.y);
    EXPECT_EQ(hexColor(0x818181), hexColor(app.curColor));
    leftMove(window, moreWhite.x + 12, moreWhite.y);
    EXPECT_TRUE(app.channelScrubbing);
    EXPECT_EQ(hexColor(0x8D8D8D), hexColor(app.curColor));
    leftMove(window, moreWhite.x + 12, moreWhite.y + 30);
    EXPECT_EQ(hexColor(0x6F6F6F), hexColor(app.curColor));
    rightUp(window, moreWhite.x + 12, moreWhite.y + 30, MK_LBUTTON);
    EXPECT_EQ(hexColor(grey), hexColor(app.curColor));
    EXPECT_FALSE(app.channelPressed || app.channelScrubbing || app.leftButtonDown);
    EXPECT_FALSE(app.skinButtons[moreWhiteButton].pressed);
    EXPECT_FALSE(stopTimer(window, TIMER_REPEAT));
    leftUp(window, moreWhite.x + 12, moreWhite.y + 30);
    EXPECT_EQ(1u, historyCount(&app.history));
    pumpMessages(50);
    EXPECT_EQ(0, menus.seen());

    const POINT more = { 60, 74 }, less = { 22, 74 };
    auto red = [] { return static_cast<int>(GetRValue(app.curColor)); };
    leftDown(window, more.x, more.y);
    leftMove(window, more.x + 20, more.y);
    EXPECT_EQ(0x81 + 20, red());
    leftMove(window, more.x + 10, more.y + 6);      // left and down lower
    EXPECT_EQ(0x81 + 4, red());
    EXPECT_EQ(0x80, GetGValue(app.curColor));
    EXPECT_EQ(0x80, GetBValue(app.curColor));
    leftMove(window, less.x, less.y);
    EXPECT_EQ(0x81 + 4, red());
    leftMove(window, more.x + 300, more.y);
    EXPECT_EQ(255, red()) << "scrubbing stops at the top of the range";
    leftUp(window, more.x + 300, more.y);
    EXPECT_FALSE(app.channelPressed || app.channelScrubbing);
    EXPECT_EQ(2u, historyCount(&app.history));
    EXPECT_EQ(hexColor(0x8080FF), hexColor(currentColor(&app.history)));
}

// A held title button is drawn pressed while the pointer is on it; the button under the
// pointer at the release acts, wherever the press began.
TEST_F(PointerTest, TitleButtonsFollowThePointerAndActOnRelease)
{
    ASSERT_FALSE(app.alwaysOnTop);
    ASSERT_NE(0, app.snapTol);
    leftDown(window, onTopPoint.x, onTopPoint.y);
    EXPECT_TRUE(drawnAs(onTopButton, true));
    EXPECT_EQ(window, GetCapture());
    leftMove(window, bodyPoint.x, bodyPoint.y);
    EXPECT_FALSE(app.skinButtons[onTopButton].pressed);
    EXPECT_TRUE(drawnAs(onTopButton, false));
    leftMove(window, minimizePoint.x, minimizePoint.y);
    EXPECT_TRUE(app.skinButtons[minimizeButton].pressed);
    EXPECT_TRUE(drawnAs(minimizeButton, true));
    leftMove(window, snapPoint.x, snapPoint.y);
    EXPECT_FALSE(app.skinButtons[minimizeButton].pressed);
    leftMove(window, bodyPoint.x, bodyPoint.y);
    EXPECT_TRUE(drawnAs(snapButton, true)) << "latched while snapping is on";
    leftUp(window, bodyPoint.x, bodyPoint.y);
    EXPECT_NE(window, GetCapture());

    const struct { POINT press, release; bool onTop, snapOn; } rows[] = {
        { onTopPoint, onTopPoint, true, true },
        { onTopPoint, bodyPoint, true, true },          // released off every button: nothing
        { minimizePoint, onTopPoint, false, true },
        { bodyPoint, snapPoint, false, false },         // a drag ending on a button
        { upperDisplay, snapPoint, false, true },       // a click on the display too
        { closePoint, { 41, 100 }, false, true },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "press " << r.press.x << "," << r.press.y << " release "
                                        << r.release.x << "," << r.release.y);
        leftDown(window, r.press.x, r.press.y);
        leftMove(window, r.release.x, r.release.y);
        leftUp(window, r.release.x, r.release.y);
        EXPECT_EQ(r.onTop, app.alwaysOnTop);
        EXPECT_EQ(r.snapOn, app.snapTol != 0);
        EXPECT_FALSE(app.draggingWindow || app.leftButtonDown);
        EXPECT_FALSE(IsIconic(window));
        EXPECT_FALSE(app.skinButtons[closeButton].pressed || app.skinButtons[minimizeButton].pressed);
    }
    // With always on top on its button stays drawn pressed when the pointer leaves it.
    onCommand(window, CMD_ALWAYS_ON_TOP);
    leftDown(window, closePoint.x, closePoint.y);
    leftMove(window, onTopPoint.x, onTopPoint.y);
    leftMove(window, bodyPoint.x, bodyPoint.y);
    EXPECT_TRUE(drawnAs(onTopButton, true));
    EXPECT_TRUE(drawnAs(closeButton, false));
    leftUp(window, bodyPoint.x, bodyPoint.y);
    EXPECT_TRUE(app.alwaysOnTop);

    leftDown(window, minimizePoint.x, minimizePoint.y);
    leftUp(window, minimizePoint.x, minimizePoint.y);
    EXPECT_TRUE(pumpUntil([&] { return IsIconic(window) != FALSE; }, 2000));
    ShowWindow(window, SW_RESTORE);
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "nothing closed the window";
    leftDown(window, minimizePoint.x, minimizePoint.y);
    leftMove(window, closePoint.x, closePoint.y);
    leftUp(window, closePoint.x, closePoint.y);
    EXPECT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a minimize press released on close";
    EXPECT_EQ(NULL, app.backDC) << "the window's resources are gone";
}

// While the left button drags the window a right release does nothing. Without it the
// display copies the colour in the chosen form (an unknown one copies nothing), a field its
// own text, and the body opens the context menu.
TEST_F(PointerTest, RightReleaseActsOnlyWithoutTheLeftButton)
{
    MenuCatcher menus;
    ASSERT_TRUE(putClipboardText("untouched"));
    leftDown(window, bodyPoint.x, bodyPoint.y);
    EXPECT_TRUE(app.draggingWindow);
    EXPECT_EQ(window, GetCapture());
    leftMove(window, bodyPoint.x - 100, bodyPoint.y - 50);
    refreshWindowMetrics(window);   // the points below are in the moved window
    for (POINT at : { upperDisplay, bodyPoint, POINT{ 40, 74 } }) {
        rightUp(window, at.x, at.y, MK_LBUTTON);
        EXPECT_TRUE(app.draggingWindow && app.leftButtonDown);
    }
    pumpMessages(100);
    EXPECT_EQ(0, menus.seen());
    EXPECT_EQ("untouched", clipboardText());
    leftUp(window, bodyPoint.x, bodyPoint.y);
    EXPECT_FALSE(app.draggingWindow);

    setColor(RGB(0x12, 0xAB, 0x07));
    const struct { POINT at; int format; const char* copied; } rows[] = {
        { lowerDisplay, 1, "18,171,7" }, { upperDisplay, 2, "0.07,0.67,0.03" }, { { 57, 116 }, 2, "07" },
        { upperDisplay, 7, "before" },
    };
    for (const auto& r : rows) {
        ASSERT_TRUE(putClipboardText("before"));
        setColorFormat(r.format);
        rightUp(window, r.at.x, r.at.y);
        EXPECT_EQ(r.copied, clipboardText()) << "at " << r.at.x << "," << r.at.y << " format " << r.format;
    }
    pumpMessages(50);
    EXPECT_EQ(0, menus.seen());
    rightUp(window, bodyPoint.x, bodyPoint.y);
    EXPECT_EQ(1, menus.seen());
    EXPECT_FALSE(app.leftButtonDown);
}

// The system's double click: down, up, double-click message, up.
static void doubleClick(HWND window, POINT at)
{
    leftDown(window, at.x, at.y);
    leftUp(window, at.x, at.y);
    sendPointer(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at.x, at.y);
    leftUp(window, at.x, at.y);
}

TEST_F(PointerTest, DoubleClickPastesOrMinimizes)
{
    const struct { POINT at; const char* text; COLORREF after; } rows[] = {
        { upperDisplay, "102030", RGB(0x10, 0x20, 0x30) },
        { lowerDisplay, "1,2,3", RGB(1, 2, 3) },
        { { 40, 74 }, "77", RGB(77, 2, 3) },            // red decimal field
        { { 40, 86 }, "9", RGB(77, 9, 3) },             // green decimal field
        { { 40, 98 }, "200", RGB(77, 9, 200) },         // blue decimal field
        { { 25, 116 }, "a0", RGB(0xA0, 9, 200) },       // red hexadecimal field
        { { 41, 116 }, "7F", RGB(0xA0, 0x7F, 200) },    // green hexadecimal field
        { { 57, 116 }, "3c", RGB(0xA0, 0x7F, 0x3C) },   // blue hexadecimal field
        { { 57, 116 }, "zz", RGB(0xA0, 0x7F, 0x3C) },   // not a number: nothing
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "at " << r.at.x << "," << r.at.y << " pasting " << r.text);
        ASSERT_TRUE(putClipboardText(r.text));
        doubleClick(window, r.at);
        EXPECT_EQ(hexColor(r.after), hexColor(currentColor(&app.history)));
        EXPECT_EQ(hexColor(r.after), hexColor(backPixel(upperDisplay.x, upperDisplay.y)));
        EXPECT_FALSE(app.leftButtonDown || app.draggingWindow);
    }
    pumpMessages(250);
    EXPECT_FALSE(app.dropperActive) << "the first click's delay started no pick";
    EXPECT_FALSE(IsIconic(window));

    // One arriving during a pick ends its sampling ticks, so the pasted colour stays.
    startPick(window, upperDisplay.x, upperDisplay.y);
    ASSERT_TRUE(app.dropperActive);
    ASSERT_TRUE(putClipboardText("405060"));
    sendPointer(window, WM_LBUTTONDBLCLK, MK_LBUTTON, upperDisplay.x, upperDisplay.y);
    EXPECT_FALSE(stopTimer(window, TIMER_SAMPLING));
    leftUp(window, upperDisplay.x, upperDisplay.y);
    EXPECT_EQ(hexColor(RGB(0x40, 0x50, 0x60)), hexColor(currentColor(&app.history)));
    doubleClick(window, bodyPoint);
    EXPECT_TRUE(pumpUntil([&] { return IsIconic(window) != FALSE; }, 2000)) << "a double click on the body minimizes";
}

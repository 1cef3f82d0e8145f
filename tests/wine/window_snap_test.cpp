// Snapping the dragged window against real top-level windows and the real work area.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "window/window.h"

#include <memory>
#include <sstream>
#include <vector>

namespace {

const int mainWidth = 83, mainHeight = 132;

// A plain popup of another "program" to snap to. Its maximised place is its own
// rectangle, so a maximised window lies somewhere a wrong snap would show.
LRESULT CALLBACK otherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETMINMAXINFO) {
        const RECT* place = reinterpret_cast<const RECT*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (place) {
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMaxPosition.x = place->left;
            info->ptMaxPosition.y = place->top;
            info->ptMaxSize.x = place->right - place->left;
            info->ptMaxSize.y = place->bottom - place->top;
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class OtherWindow {
public:
    explicit OtherWindow(const RECT& r) : place(r)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = otherWindowProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "huebrickSnapTarget";
        RegisterClassA(&windowClass);   // fails harmlessly when already registered
        handle = CreateWindowExA(WS_EX_NOACTIVATE, "huebrickSnapTarget", "snap target", WS_POPUP, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, NULL, NULL, windowClass.hInstance, NULL);
        SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&place));
        ShowWindow(handle, SW_SHOWNOACTIVATE);
    }
    ~OtherWindow() { DestroyWindow(handle); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;
    HWND handle;
    RECT place;
};

std::string describe(const RECT& r)
{
    std::ostringstream s;
    s << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
    return s.str();
}

class SnapTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
        work = app.workArea;
    }

    // Starts a drag with the window at (left, top), as a press on the body does.
    void startDrag(int left, int top)
    {
        SetWindowPos(window, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        refreshWindowMetrics(window);
        app.dragRect = app.windowRect;
        app.draggingWindow = true;
    }

    // Where the window lands, checked against the cached rectangle.
    RECT placed()
    {
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_TRUE(EqualRect(&r, &app.windowRect)) << "window " << describe(r) << " cache "
                                                    << describe(app.windowRect);
        return r;
    }

    // One pointer move of (dx, dy) that brings the unsnapped window to (left, top).
    RECT dragTo(int left, int top, int dx = -30, int dy = 0)
    {
        startDrag(left - dx, top - dy);
        moveWindowSnapped(window, dx, dy);
        app.draggingWindow = false;
        return placed();
    }

    RECT work;
};

struct SnapCase {
    const char* name;
    std::vector<RECT> others;   // created in this order, so the last is highest in Z order
    int dragLeft, dragTop;      // where the pointer puts the window
    int wantLeft, wantTop;
};

// An other window at (400, 300)-(500, 400); this window is 83 x 132.
const RECT other = { 400, 300, 500, 400 };

}  // namespace

TEST_F(SnapTest, DocksToOtherWindowsAndTheWorkArea)
{
    const int right = work.right - mainWidth, bottom = work.bottom - mainHeight;
    const SnapCase cases[] = {
        { "docks on the right, 5 px", { other }, 505, 280, 500, 280 },
        { "docks on the right, 8 px", { other }, 508, 280, 500, 280 },
        { "docks on the right, overlapping by 8 px", { other }, 492, 280, 500, 280 },
        { "9 px from the right edge: free", { other }, 509, 280, 509, 280 },
        { "docks on the left", { other }, 400 - mainWidth + 6, 280, 400 - mainWidth, 280 },
        { "left edges flush", { other }, 396, 280, 400, 280 },
        { "right edges flush", { other }, 500 - mainWidth - 7, 280, 500 - mainWidth, 280 },
        { "docks below, 5 px gap", { other }, 440, 405, 440, 400 },
        { "docks above, 4 px gap", { other }, 440, 300 - mainHeight - 4, 440, 300 - mainHeight },
        { "10 px gap below: no edge at all", { other }, 503, 410, 503, 410 },
        { "5 px gap below: both edges", { other }, 503, 405, 500, 400 },
        { "level but 40 px away: free", { other }, 540, 280, 540, 280 },
        { "work area left, 5 px", {}, work.left + 5, 300, work.left, 300 },
        { "work area left, 9 px: free", {}, work.left + 9, 300, work.left + 9, 300 },
        { "work area left, beyond by 6 px", {}, work.left - 6, 300, work.left, 300 },
        { "work area right, 4 px", {}, right - 4, 300, right, 300 },
        { "work area top, 6 px", {}, 700, work.top + 6, 700, work.top },
        { "work area bottom, 7 px", {}, 700, bottom - 7, 700, bottom },
        { "work area corner", {}, work.left + 3, bottom + 2, work.left, bottom },
        { "window edge 2 px beats work-area edge 3 px", { { 800, 300, right - 3 - 2, 400 } },
          right - 3, 300, right - 5, 300 },
        { "work-area edge 1 px beats window edge 2 px", { { 800, 300, right - 1 - 2, 400 } },
          right - 1, 300, right, 300 },
        // Two edges 4 px away on either side: the window higher in Z order wins.
        { "equal distance, left window on top", { { 404 + mainWidth + 4, 300, 700, 400 }, { 300, 300, 400, 400 } },
          404, 280, 400, 280 },
        { "equal distance, right window on top", { { 300, 300, 400, 400 }, { 404 + mainWidth + 4, 300, 700, 400 } },
          404, 280, 404 + 4, 280 },
    };
    for (const SnapCase& c : cases) {
        std::vector<std::unique_ptr<OtherWindow>> windows;
        for (const RECT& r : c.others) {
            windows.emplace_back(new OtherWindow(r));
            SetWindowPos(windows.back()->handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        pumpMessages(0);
        RECT r = dragTo(c.dragLeft, c.dragTop);
        EXPECT_EQ(c.wantLeft, r.left) << c.name << ": placed at " << describe(r);
        EXPECT_EQ(c.wantTop, r.top) << c.name << ": placed at " << describe(r);
        EXPECT_EQ(mainWidth, r.right - r.left) << c.name;
        EXPECT_EQ(mainHeight, r.bottom - r.top) << c.name;
    }
}

TEST_F(SnapTest, HiddenMinimisedMaximisedAndOwnWindowsOfferNoEdge)
{
    OtherWindow target(other);
    pumpMessages(0);
    // Visible and normal it attracts the window: the control case.
    RECT r = dragTo(505, 280);
    EXPECT_EQ(500, r.left) << describe(r);

    ShowWindow(target.handle, SW_HIDE);
    r = dragTo(505, 280);
    EXPECT_EQ(505, r.left) << "hidden: " << describe(r);

    // Minimised, it sits where its minimised place is put: just left of the drag.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(target.handle, &placement);
    placement.flags = WPF_SETMINPOSITION;
    placement.ptMinPosition.x = 400;
    placement.ptMinPosition.y = 300;
    placement.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(target.handle, &placement);
    RECT minimised;
    GetWindowRect(target.handle, &minimised);
    ASSERT_TRUE(IsIconic(target.handle) && IsWindowVisible(target.handle));
    r = dragTo(minimised.right + 5, minimised.top - 20);
    EXPECT_EQ(minimised.right + 5, r.left) << "minimised at " << describe(minimised) << ": " << describe(r);
    EXPECT_EQ(minimised.top - 20, r.top) << "minimised at " << describe(minimised) << ": " << describe(r);

    ShowWindow(target.handle, SW_SHOWNOACTIVATE);
    ShowWindow(target.handle, SW_MAXIMIZE);
    RECT maximised;
    GetWindowRect(target.handle, &maximised);
    ASSERT_TRUE(IsZoomed(target.handle) && IsWindowVisible(target.handle));
    ASSERT_TRUE(EqualRect(&maximised, &other)) << describe(maximised);
    r = dragTo(505, 280);
    EXPECT_EQ(505, r.left) << "maximised: " << describe(r);

    ShowWindow(target.handle, SW_RESTORE);
    r = dragTo(505, 280);
    EXPECT_EQ(500, r.left) << "restored: " << describe(r);

    // The program's own window, where the drag started, 3 px behind it.
    startDrag(600, 280);
    moveWindowSnapped(window, -3, 2);
    r = placed();
    EXPECT_EQ(597, r.left) << describe(r);
    EXPECT_EQ(282, r.top) << describe(r);
}

TEST_F(SnapTest, HoldsAnEdgeWhileThePointerMovesLessThanTheToleranceAndNeverDrifts)
{
    OtherWindow target(other);
    pumpMessages(0);
    // Level with the other window, but with no horizontal edge near on the way.
    startDrag(530, 320);
    for (int step = 1; step <= 50; step++) {
        moveWindowSnapped(window, -1, step % 2);
        int pointerLeft = 530 - step, pointerTop = 320 + (step + 1) / 2;
        int want = pointerLeft >= 500 - 8 && pointerLeft <= 500 + 8 ? 500 : pointerLeft;
        RECT r = placed();
        EXPECT_EQ(pointerLeft, app.dragRect.left) << "step " << step;
        EXPECT_EQ(pointerTop, app.dragRect.top) << "step " << step;
        EXPECT_EQ(want, r.left) << "step " << step << ": " << describe(r);
        EXPECT_EQ(pointerTop, r.top) << "step " << step << ": " << describe(r);
    }
}

TEST_F(SnapTest, SnappingOffFollowsThePointerExactly)
{
    OtherWindow target(other);
    pumpMessages(0);
    onCommand(window, 100);     // snap to screen: off
    ASSERT_EQ(0, app.snapTol);
    const struct { int left, top; } places[] = {
        { 501, 280 }, { 499, 280 }, { 508, 401 }, { 400 - mainWidth + 1, 280 }, { work.left + 1, 300 },
        { work.left - 3, work.top + 2 }, { work.right - mainWidth - 1, work.bottom - mainHeight + 1 },
    };
    for (const auto& p : places) {
        RECT r = dragTo(p.left, p.top, 7, -5);
        EXPECT_EQ(p.left, r.left) << describe(r);
        EXPECT_EQ(p.top, r.top) << describe(r);
    }
    // Exactly on an edge stays there, too.
    RECT r = dragTo(500, 280);
    EXPECT_EQ(500, r.left) << describe(r);

    onCommand(window, 100);     // on again: back to the saved distance
    EXPECT_EQ(8, app.snapTol);
    r = dragTo(503, 280);
    EXPECT_EQ(500, r.left) << describe(r);
}

TEST_F(SnapTest, SettingAndDisplayChangesRefreshTheCachedRectangles)
{
    const UINT messages[] = { WM_SETTINGCHANGE, WM_DISPLAYCHANGE };
    int left = 123;
    for (UINT message : messages) {
        SetWindowPos(window, NULL, left, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetRect(&app.workArea, 1, 2, 3, 4);
        SendMessageA(window, message, 0, 0);
        RECT want = { left, 77, left + mainWidth, 77 + mainHeight }, workNow;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &workNow, 0);
        EXPECT_TRUE(EqualRect(&want, &app.windowRect)) << message << ": " << describe(app.windowRect);
        EXPECT_TRUE(EqualRect(&workNow, &app.workArea)) << message << ": " << describe(app.workArea);
        left += 50;
    }
}

// Snapping the dragged window against real top-level windows and the real work area: which
// windows offer edges, which edge wins, and the cached rectangles the snapping works from.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "window/window.h"

#include <memory>
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

// The distances themselves are the snapping arithmetic's; here the edges come from real
// windows in Z order and from the work area, and the nearest edge wins.
TEST_F(SnapTest, DocksToTheNearestEdgeOfWindowsAndTheWorkArea)
{
    const int right = work.right - mainWidth, bottom = work.bottom - mainHeight;
    const SnapCase cases[] = {
        { "docks on the right, 8 px", { other }, 508, 280, 500, 280 },
        { "9 px from the right edge: free", { other }, 509, 280, 509, 280 },
        { "5 px gap below: both edges", { other }, 503, 405, 500, 400 },
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

// Tray mode with minimising and restoring, the tray icon's callback and its return when the
// shell starts again, the buttons' tooltips, and staying on top.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "res/resource.h"
#include "skin/skin.h"
#include "window/window.h"

#include <commctrl.h>
#include <cstring>

namespace {

// Whether the shell still knows our icon: modifying an icon that is gone fails.
bool trayIconPresent(HWND window)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = 1;
    probe.uFlags = NIF_TIP;
    lstrcpynA(probe.szTip, app.trayIconData.szTip, sizeof probe.szTip);
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

class WindowTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
    LONG exStyle() { return GetWindowLongA(window, GWL_EXSTYLE); }
    LONG taskbarStyle() { return exStyle() & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_ACCEPTFILES); }
    bool shownNormally() { return IsWindowVisible(window) && !IsIconic(window); }
};

}  // namespace

TEST_F(WindowTest, TrayModeSwapsTheTaskbarButtonForTheIcon)
{
    ASSERT_FALSE(trayIconPresent(window));
    // A colour set before tray mode: the icon's first tip already shows it.
    setChannels(255, 128, 0);
    refreshColorDisplay(app.displayRegion);
    onCommand(window, CMD_FORMAT_DEC);

    onCommand(window, CMD_SYSTEM_TRAY);
    EXPECT_TRUE(app.inSystemTray);
    EXPECT_TRUE(menuChecked(CMD_SYSTEM_TRAY));
    EXPECT_EQ(static_cast<LONG>(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES), taskbarStyle()) << std::hex << exStyle();
    EXPECT_TRUE(shownNormally());
    EXPECT_STREQ("255, 128, 000", app.trayIconData.szTip);
    EXPECT_TRUE(trayIconPresent(window));

    onCommand(window, CMD_SYSTEM_TRAY);
    EXPECT_FALSE(app.inSystemTray);
    EXPECT_FALSE(menuChecked(CMD_SYSTEM_TRAY));
    EXPECT_EQ(static_cast<LONG>(WS_EX_APPWINDOW | WS_EX_ACCEPTFILES), taskbarStyle()) << std::hex << exStyle();
    EXPECT_TRUE(shownNormally());
    EXPECT_FALSE(trayIconPresent(window));
}

TEST_F(WindowTest, ARestartedShellGetsTheIconBackWithTheCurrentTip)
{
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(0u, taskbarCreated);
    // Without tray mode the shell's news adds nothing.
    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_FALSE(trayIconPresent(window));

    onCommand(window, CMD_SYSTEM_TRAY);
    setChannels(1, 2, 3);
    refreshColorDisplay(app.displayRegion);
    // A shell that starts again has forgotten the icon.
    NOTIFYICONDATAA gone = {};
    gone.cbSize = NOTIFYICONDATAA_V1_SIZE;
    gone.hWnd = window;
    gone.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    ASSERT_FALSE(trayIconPresent(window));

    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_TRUE(trayIconPresent(window));
    EXPECT_STREQ("01 02 03", app.trayIconData.szTip);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), app.trayIconData.uFlags);
    EXPECT_EQ(static_cast<UINT>(WM_USER), app.trayIconData.uCallbackMessage);
    onCommand(window, CMD_SYSTEM_TRAY);
    EXPECT_FALSE(trayIconPresent(window));
}

TEST_F(WindowTest, ClosingInTrayModeRemovesTheIcon)
{
    onCommand(window, CMD_SYSTEM_TRAY);
    ASSERT_TRUE(trayIconPresent(window));
    // The close command runs the handlers; the window itself lives on until the process
    // ends, so the shell cannot have dropped the icon on its own.
    onCommand(window, CMD_CLOSE);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(trayIconPresent(window));
    EXPECT_EQ(1u, queryDword("inSystemTray"));
    // The teardown must not run the handlers a second time.
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
}

// Minimised in tray mode the window hides; tray mode ending or starting while it is away
// leaves it minimised on the taskbar, or shown without a taskbar button.
TEST_F(WindowTest, MinimisingAndRestoringInAndOutOfTrayMode)
{
    onCommand(window, CMD_SYSTEM_TRAY);
    onCommand(window, CMD_MINIMIZE);
    pumpMessages(20);
    EXPECT_FALSE(IsWindowVisible(window));
    SendMessageA(window, WM_USER, 1, WM_LBUTTONDBLCLK);     // a double click on the icon
    EXPECT_TRUE(pumpUntil([this] { return shownNormally(); }, 2000));

    onCommand(window, CMD_MINIMIZE);
    pumpMessages(20);
    ASSERT_FALSE(IsWindowVisible(window));
    onCommand(window, CMD_SYSTEM_TRAY);
    pumpMessages(20);
    EXPECT_TRUE(IsIconic(window) && IsWindowVisible(window));
    EXPECT_EQ(static_cast<LONG>(WS_EX_APPWINDOW | WS_EX_ACCEPTFILES), taskbarStyle()) << std::hex << exStyle();
    EXPECT_FALSE(trayIconPresent(window));

    onCommand(window, CMD_SYSTEM_TRAY);
    pumpMessages(20);
    EXPECT_TRUE(shownNormally());
    EXPECT_EQ(static_cast<LONG>(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES), taskbarStyle()) << std::hex << exStyle();

    // Minimised some other way while in tray mode, it stays minimised when tray mode ends.
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(window) && IsWindowVisible(window));
    onCommand(window, CMD_SYSTEM_TRAY);
    pumpMessages(20);
    EXPECT_TRUE(IsIconic(window) && IsWindowVisible(window));
    // From the taskbar it restores like any window.
    onCommand(window, CMD_MINIMIZE);
    EXPECT_TRUE(pumpUntil([this] { return shownNormally(); }, 2000));
}

TEST_F(WindowTest, ASingleClickOnTheIconBringsTheWindowForward)
{
    onCommand(window, CMD_SYSTEM_TRAY);
    // Wine's stand-in tray window may take the foreground as it first shows: let it.
    pumpUntil([] {
        HWND tray = FindWindowA(NULL, "Wine System Tray");
        return tray && IsWindowVisible(tray);
    }, 3000);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "huebrickOtherProgram";
    RegisterClassA(&windowClass);
    HWND other = CreateWindowExA(0, windowClass.lpszClassName, "other", WS_POPUP | WS_VISIBLE, 100, 100, 50, 50,
                                 NULL, NULL, windowClass.hInstance, NULL);
    SetForegroundWindow(other);
    EXPECT_TRUE(pumpUntil([other] { return GetForegroundWindow() == other; }, 2000));
    SendMessageA(window, WM_USER, 1, WM_LBUTTONUP);
    EXPECT_TRUE(pumpUntil([this] { return GetForegroundWindow() == window; }, 2000))
        << "foreground " << GetForegroundWindow() << " main " << window;
    DestroyWindow(other);
    UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
}

namespace {

// Every message the tooltip control is sent about its tool and its state, in order.
struct ToolTipSpy {
    static std::vector<std::string> log;
    static WNDPROC original;
    static LRESULT CALLBACK proc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == TTM_ACTIVATE)
            log.push_back(wParam ? "activate" : "deactivate");
        else if (message == TTM_SETTOOLINFOA)
            log.push_back(std::string("point at ") + reinterpret_cast<TOOLINFOA*>(lParam)->lpszText);
        return CallWindowProcA(original, control, message, wParam, lParam);
    }
    static std::string take()
    {
        std::string joined;
        for (const std::string& entry : log)
            joined += (joined.empty() ? "" : ", ") + entry;
        log.clear();
        return joined;
    }
};
std::vector<std::string> ToolTipSpy::log;
WNDPROC ToolTipSpy::original;

// The single tool as the control holds it.
struct Tool {
    std::string text;
    RECT rect;
};

Tool currentTool(HWND window)
{
    char text[256];
    memset(text, 0, sizeof text);
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = window;
    info.uId = 1;
    info.lpszText = text;
    SetRect(&info.rect, -7, -7, -7, -7);
    SendMessageA(app.toolTipWindow, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info));
    return { text, info.rect };
}

class ToolTipTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(app.toolTipWindow != NULL);
        ToolTipSpy::log.clear();
        ToolTipSpy::original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            app.toolTipWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ToolTipSpy::proc)));
    }
    void TearDown() override
    {
        if (app.toolTipWindow)
            SetWindowLongPtrA(app.toolTipWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ToolTipSpy::original));
        WindowTest::TearDown();
    }
    void moveTo(int x, int y) { SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
};

}  // namespace

// Each button followed another directly: the tip is activated once, never deactivated.
TEST_F(ToolTipTest, EachButtonNamesItselfOverItsBox)
{
    const struct { int x, y; const char* text; RECT box; } buttons[] = {
        { 10, 8, "Snap To Screen", { 6, 5, 19, 15 } },
        { 28, 10, "Always On Top", { 22, 5, 35, 15 } },
        { 76, 14, "Close", { 64, 5, 77, 15 } },
        { 64, 91, "More Green", { 55, 81, 65, 92 } },
        { 9, 121, "Less White", { 5, 111, 15, 122 } },
    };
    for (const auto& b : buttons) {
        moveTo(b.x, b.y);
        Tool tool = currentTool(window);
        EXPECT_EQ(b.text, tool.text) << "at " << b.x << ", " << b.y;
        EXPECT_TRUE(EqualRect(&b.box, &tool.rect)) << b.text << ": " << describe(tool.rect);
    }
    std::string log = ToolTipSpy::take();
    EXPECT_EQ(0u, log.find("point at Snap To Screen, activate, point at Always On Top")) << log;
    EXPECT_EQ(std::string::npos, log.find("deactivate")) << log;
}

TEST_F(ToolTipTest, MovingBetweenButtonsRepointsAndLeavingThemDeactivates)
{
    const struct { int x, y; const char* messages; const char* text; } moves[] = {
        { 40, 30, "", "" },                                 // the colour display: nothing yet
        { 60, 74, "point at More Red, activate", "More Red" },
        { 61, 75, "", "More Red" },                         // within the same button
        { 23, 74, "point at Less Red", "Less Red" },        // straight on: no deactivation
        { 40, 30, "deactivate", "Less Red" },               // onto the display
        { 41, 31, "", "Less Red" },
        { 30, 126, "", "Less Red" },                        // the body below the fields
        { 23, 74, "point at Less Red, activate", "Less Red" },
        { 60, 74, "point at More Red", "More Red" },
        { 200, 200, "deactivate", "More Red" },             // outside the window
    };
    for (const auto& m : moves) {
        moveTo(m.x, m.y);
        EXPECT_EQ(m.messages, ToolTipSpy::take()) << "at " << m.x << ", " << m.y;
        EXPECT_EQ(m.text, currentTool(window).text) << "at " << m.x << ", " << m.y;
    }
}

TEST_F(ToolTipTest, SwitchingTooltipsOffDeactivatesAndStopsTheHitTests)
{
    moveTo(60, 74);
    ASSERT_EQ("point at More Red, activate", ToolTipSpy::take());
    onCommand(window, CMD_TOOL_TIPS);
    EXPECT_FALSE(app.showToolTips);
    EXPECT_EQ("deactivate", ToolTipSpy::take());
    EXPECT_EQ(NULL, app.toolTipRegion);
    moveTo(23, 74);
    moveTo(40, 30);
    EXPECT_EQ("", ToolTipSpy::take());
    onCommand(window, CMD_TOOL_TIPS);
    EXPECT_EQ("", ToolTipSpy::take());
    moveTo(23, 74);
    EXPECT_EQ("point at Less Red, activate", ToolTipSpy::take());
    // Off while over no button: nothing to deactivate.
    moveTo(40, 30);
    ToolTipSpy::take();
    onCommand(window, CMD_TOOL_TIPS);
    EXPECT_EQ("", ToolTipSpy::take());
}

// A new skin replaces every button region; a tip that was active must not outlive them.
TEST_F(ToolTipTest, ASkinChangeLeavesNoTipActiveOverTheOldButtons)
{
    moveTo(60, 74);
    ASSERT_EQ("point at More Red, activate", ToolTipSpy::take());
    onCommand(window, CMD_DEFAULT_SKIN);
    onTimer(window, TIMER_SPLASH);
    moveTo(40, 30);
    moveTo(41, 31);
    std::string log = ToolTipSpy::take();
    EXPECT_NE(std::string::npos, log.find("deactivate")) << "log: '" << log << "'";
    moveTo(23, 74);
    log = ToolTipSpy::take();
    EXPECT_NE(std::string::npos, log.find("point at Less Red")) << log;
    EXPECT_EQ("Less Red", currentTool(window).text);
}

TEST_F(WindowTest, TrayModeKeepsAlwaysOnTop)
{
    onCommand(window, CMD_ALWAYS_ON_TOP);
    ASSERT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    onCommand(window, CMD_SYSTEM_TRAY);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << std::hex << exStyle();
    onCommand(window, CMD_MINIMIZE);
    SendMessageA(window, WM_USER, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(pumpUntil([this] { return shownNormally(); }, 2000));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << std::hex << exStyle();
    onCommand(window, CMD_SYSTEM_TRAY);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << std::hex << exStyle();
    EXPECT_TRUE(app.alwaysOnTop);
}

// A window opened later and activated over ours stays below it while Always On Top is on.
TEST_F(WindowTest, AlwaysOnTopStaysAboveAWindowOpenedLater)
{
    RECT r;
    GetWindowRect(window, &r);
    POINT inside = { r.left + 40, r.top + 30 };
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "huebrickCover";
    RegisterClassA(&windowClass);
    const bool onTop[] = { true, false, true };
    for (bool on : onTop) {
        if (app.alwaysOnTop != on)
            onCommand(window, CMD_ALWAYS_ON_TOP);
        HWND cover = CreateWindowExA(0, windowClass.lpszClassName, "cover", WS_POPUP | WS_VISIBLE, r.left - 20,
                                     r.top - 20, 200, 200, NULL, NULL, windowClass.hInstance, NULL);
        SetForegroundWindow(cover);
        pumpMessages(20);
        EXPECT_EQ(on ? window : cover, WindowFromPoint(inside)) << "always on top " << on;
        DestroyWindow(cover);
        pumpMessages(0);
    }
    UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
}

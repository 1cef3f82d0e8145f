// The window among the system's: the shell starting again, the about box's links handed to
// the shell, news of changed settings, and the windows snapping must pass over.
#include "harness.h"
#include "window/lateload.h"
#include "window/window.h"

#include <commctrl.h>
#include <dwmapi.h>
#include <sddl.h>
#include <shlwapi.h>

#include <fstream>
#include <map>

namespace {

// A window opened later and activated stays below while Always On Top is on, also after
// tray mode changes the window's styles, and takes dropped files. The tray icon comes back
// when the shell starts again and goes at the close.
TEST_F(ProgramTest, AlwaysOnTopAndTheTrayIcon)
{
    startProgram();
    RECT r;
    GetWindowRect(window, &r);
    const struct {
        int command;
        bool onTop;
    } steps[] = {
        { CMD_ALWAYS_ON_TOP, true },
        { CMD_SYSTEM_TRAY, true },
        { CMD_SYSTEM_TRAY, true },
        { CMD_ALWAYS_ON_TOP, false },
    };
    for (const auto& s : steps) {
        command(s.command);
        HWND cover = CreateWindowExA(0, "STATIC", "cover", WS_POPUP | WS_VISIBLE | SS_NOTIFY, r.left - 20, r.top - 20,
                                     200, 200, NULL, NULL, NULL, NULL);
        SetForegroundWindow(cover);
        pumpMessages(20);
        EXPECT_EQ(s.onTop ? window : cover, WindowFromPoint({ r.left + 40, r.top + 30 })) << "after " << s.command;
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << "files not taken after " << s.command;
        DestroyWindow(cover);
    }
    // NIM_MODIFY tells whether the shell still knows the icon: modifying one that is gone fails.
    auto trayIcon = [&](DWORD message) {
        NOTIFYICONDATAA icon = {};
        icon.cbSize = NOTIFYICONDATAA_V1_SIZE, icon.hWnd = window, icon.uID = 1;
        return Shell_NotifyIconA(message, &icon) != FALSE;
    };
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_FALSE(trayIcon(NIM_MODIFY)) << "added outside tray mode";
    command(CMD_SYSTEM_TRAY);
    ASSERT_TRUE(trayIcon(NIM_DELETE)); // a shell that starts again has forgotten it
    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_TRUE(trayIcon(NIM_MODIFY));
    // One that still knows it refuses to add it again: the icon stands, the window stays in the tray.
    app.shellNotifyIcon
        = [](DWORD m, NOTIFYICONDATAA* i) WINAPI -> BOOL { return m != NIM_ADD && Shell_NotifyIconA(m, i); };
    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "an icon the shell still knows";
    // A shell still starting refuses the icon: the window comes back to the taskbar, and keeps its
    // button, minimised rather than hidden, until a retry puts the icon up and the window into the tray.
    app.shellNotifyIcon = [](DWORD, NOTIFYICONDATAA*) WINAPI -> BOOL { return FALSE; };
    SendMessageA(window, taskbarCreated, 0, 0);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "the icon refused";
    command(CMD_SYSTEM_TRAY);
    command(CMD_SYSTEM_TRAY);
    command(CMD_MINIMIZE);
    pumpMessages(20);
    EXPECT_TRUE(IsIconic(window) && IsWindowVisible(window)
                && !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW));
    app.shellNotifyIcon = Shell_NotifyIconA;
    EXPECT_TRUE(pumpUntil([&] { return !IsWindowVisible(window); }, 5000)) << "not hidden in the tray";
    EXPECT_TRUE(trayIcon(NIM_MODIFY));
    command(CMD_CLOSE);
    EXPECT_FALSE(trayIcon(NIM_MODIFY)) << "the close leaves the icon";
    // the handlers must not run a second time at the teardown
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
}

// Under the single-instance rule a second start ends also when the running instance's mutex may
// not be opened: that one runs as administrator.
TEST_F(ProgramTest, ASecondStartEndsBesideAnInstanceRunAsAdministrator)
{
    setDword("singleInstance", 1);
    SECURITY_ATTRIBUTES elevated = { sizeof elevated, NULL, FALSE }; // an empty list: no one may open it
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:", SDDL_REVISION_1, &elevated.lpSecurityDescriptor, NULL);
    HANDLE mutex = CreateMutexA(&elevated, FALSE, "HUEBRICK.INSTANCE.MUTEX");
    int exitCode = 0xdeadbeef;
    EXPECT_FALSE(createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL, &window, &accelerators, &exitCode));
    EXPECT_EQ(0, exitCode);
    CloseHandle(mutex);
    LocalFree(elevated.lpSecurityDescriptor);
}

// Each link's protocol is pointed at a command that writes its argument to a file, and put
// back after. (Wine reads protocols from the machine's classes only.)
TEST_F(ProgramTest, AboutBoxLinksGoToTheShellAndLeaveTheBoxOpen)
{
    startProgram();
    const struct {
        const char* protocol;
        int x, y;
        const char* want;
    } links[] = {
        { "mailto", 100, 58, "\"mailto:huebrick@example.org\"" },
        { "aim", 100, 70, "\"aim:goim?screenname=Huebrick&message=Hello+Huebrick\"" },
    };
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    for (const auto& link : links) {
        if (!app.aboutDialog)
            command(CMD_ABOUT); // the shell's program may have taken the focus, which closes it
        HWND box = app.aboutDialog;
        ASSERT_TRUE(box != NULL);
        const std::string file = folder + std::string("huebrick-link-") + link.protocol + ".txt";
        const std::string recorder = "cmd /c echo \"%1\" > \"" + file + "\"";
        const std::string key = std::string("Software\\Classes\\") + link.protocol + "\\shell\\open\\command";
        char old[1024] = "";
        LONG size = sizeof old;
        bool existed = RegQueryValueA(HKEY_LOCAL_MACHINE, key.c_str(), old, &size) == ERROR_SUCCESS;
        RegSetValueA(HKEY_LOCAL_MACHINE, key.c_str(), REG_SZ, recorder.c_str(), recorder.size());
        DeleteFileA(file.c_str());
        SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(link.x, link.y));
        EXPECT_TRUE(IsWindowVisible(box)) << link.protocol;
        std::string recorded;
        EXPECT_TRUE(pumpUntil(
            [&] { return std::getline(std::ifstream(file), recorded) && recorded.find('"') != std::string::npos; },
            15000));
        EXPECT_EQ(0u, recorded.find(link.want)) << "recorded '" << recorded << "'";
        if (existed)
            RegSetValueA(HKEY_LOCAL_MACHINE, key.c_str(), REG_SZ, old, strlen(old));
        else
            SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.substr(0, key.find("\\shell")).c_str());
        DeleteFileA(file.c_str());
    }
    if (app.aboutDialog)
        command(CMD_ABOUT);
    PopupCatcher catcher; // a protocol no program handles: no prompt to find one
    openInShell("huebrick-unknown:x");
    EXPECT_EQ(std::vector<std::string>(), catcher.seen());
}

// Snapping works from cached places; the system's news of a change renews them, and a move by
// the system the place saved. Minimised the system parks the window elsewhere: that must not
// become the place saved.
TEST_F(ProgramTest, SettingAndDisplayChangesRenewTheCachedPlaces)
{
    startProgram();
    RECT work, placed;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (UINT message : { WM_SETTINGCHANGE, WM_DISPLAYCHANGE }) {
        SetRect(&app.workArea, 1, 2, 3, 4);
        SendMessageA(window, message, 0, 0);
        EXPECT_TRUE(EqualRect(&work, &app.workArea)) << message;
    }
    // Left on no monitor by a change of displays, the window comes back to the nearest one,
    // centred on its work area.
    SetWindowPos(window, NULL, work.right + 500, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(window, WM_DISPLAYCHANGE, 32, 0);
    GetWindowRect(window, &placed);
    EXPECT_EQ(work.left + (work.right - work.left - faceWidth) / 2, placed.left);
    SetWindowPos(window, NULL, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); // moved by the system
    GetWindowRect(window, &placed);
    ShowWindow(window, SW_MINIMIZE);
    SendMessageA(window, WM_SETTINGCHANGE, 0, 0);
    SendMessageA(window, WM_DISPLAYCHANGE, 32, 0);
    closeProgram();
    EXPECT_EQ(dwordBytes(placed.left), storedValue("xPos"));
    EXPECT_EQ(dwordBytes(placed.top), storedValue("yPos"));
}

// A plain popup of another program; maximised it keeps its own place, so that a wrong snap
// to a maximised window would show.
LRESULT CALLBACK otherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_GETMINMAXINFO)
        return DefWindowProcA(window, message, wParam, lParam);
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxPosition = { 400, 300 };
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxSize = { 100, 100 };
    return 0;
}

// Each drag ends 5 px right of the other window; only a visible, normal window draws the
// dragged one to its edge. The own window, where the drag began, never does.
TEST_F(ProgramTest, SnappingPassesOverHiddenMinimisedMaximisedAndOwnWindows)
{
    startProgram();
    WNDCLASSA windowClass = { 0, otherWindowProc, 0, 0, NULL, NULL, NULL, NULL, NULL, "huebrickSnapTarget" };
    RegisterClassA(&windowClass);
    HWND other = CreateWindowExA(WS_EX_NOACTIVATE, windowClass.lpszClassName, "other", WS_POPUP, 400, 300, 100, 100,
                                 NULL, NULL, NULL, NULL);
    // Drags the window by the body so that it ends at (left, top) unsnapped; where it lands.
    auto dragTo = [&](int left, int top, int dx = -30, int dy = 0) {
        SetWindowPos(window, NULL, left - dx, top - dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        press(41, 64);
        drag(41 + dx, 64 + dy);
        release(41, 64);
        RECT r;
        GetWindowRect(window, &r);
        return std::to_string(r.left) + "," + std::to_string(r.top);
    };
    WINDOWPLACEMENT minimised
        = { sizeof minimised, WPF_SETMINPOSITION, SW_SHOWMINNOACTIVE, { 400, 300 }, {}, { 400, 300, 500, 400 } };
    const struct {
        int show;
        bool attracts;
    } rows[] = {
        { SW_SHOWNOACTIVATE, true }, { SW_HIDE, false },     { SW_MINIMIZE, false },
        { SW_RESTORE, true },        { SW_MAXIMIZE, false }, { SW_RESTORE, true },
    };
    for (const auto& r : rows) {
        if (r.show == SW_MINIMIZE)
            SetWindowPlacement(other, &minimised);
        else
            ShowWindow(other, r.show);
        pumpMessages(0);
        RECT o;
        GetWindowRect(other, &o);
        EXPECT_EQ(std::to_string(o.right + (r.attracts ? 0 : 5)) + "," + std::to_string(o.top - 20),
                  dragTo(o.right + 5, o.top - 20))
            << "show command " << r.show << ", other at " << o.left << "," << o.top;
    }
    // Windows 10 and 11: the visible frame dwmapi gives, if it lies within the window's
    // rectangle (flush sides too), else the rectangle; a window cloaked in any way (by its
    // program, by the shell, by its owner) is passed over. The other stands at 400,300,500,400.
    static std::tuple<HWND, HRESULT, RECT, DWORD> dwm; // the window, its frame's answer, the frame, its cloaking
    app.dwmGetWindowAttribute = [](HWND window, DWORD attribute, void* value, DWORD) WINAPI -> HRESULT {
        auto [other, result, frame, cloaked] = dwm;
        if (window != other)
            return E_FAIL;
        return attribute == DWMWA_CLOAKED ? (memcpy(value, &cloaked, 4), S_OK) : (memcpy(value, &frame, 16), result);
    };
    // what the frame call answers and writes, the cloaking; where the drag ends unsnapped, snapped
    const std::tuple<HRESULT, RECT, DWORD, int, int> frames[] = {
        { E_FAIL, { 407, 300, 498, 393 }, 0, 505, 500 }, { S_OK, { 407, 300, 498, 393 }, 0, 505, 498 },
        { S_OK, { 400, 307, 496, 400 }, 0, 503, 496 },   { S_OK, { 405, 305, 500, 395 }, 0, 319, 322 },
        { S_OK, { 450, 300, 450, 400 }, 0, 505, 500 },   { S_OK, { 395, 300, 505, 400 }, 0, 505, 500 },
        { S_OK, { 400, 300, 500, 400 }, 1, 505, 505 },   { S_OK, { 400, 300, 500, 400 }, 2, 505, 505 },
        { S_OK, { 400, 300, 500, 400 }, 4, 505, 505 },
    };
    for (auto [result, frame, cloaked, left, want] : frames) {
        dwm = { other, result, frame, cloaked };
        EXPECT_EQ(std::to_string(want) + ",280", dragTo(left, 280)) << "frame at " << frame.left << "," << frame.top;
    }
    ShowWindow(other, SW_HIDE);
    EXPECT_EQ("597,282", dragTo(597, 282, -3, 2)) << "3 px from where the drag began";
    DestroyWindow(other);
    UnregisterClassA(windowClass.lpszClassName, NULL);
}

// On a Cyrillic or Greek layout R, G, B and W give no Latin letter (an ANSI window gets the
// code page's character, or '?' where it has none): the key's own letter counts, in the case
// Shift and Caps Lock make; not with Ctrl or Alt held. A real '?' does nothing.
TEST_F(ProgramTest, LetterKeysOnOtherLayouts)
{
    startProgram();
    paste("808080");
    // the character, its key's scan code, Shift and Caps Lock, the colour after
    const std::tuple<WPARAM, int, BYTE, BYTE, const char*> rows[] = {
        { 0xEA, 0x13, 0, 0, "7F8080" },   { 0xCF, 0x22, 0x80, 0, "7F8180" }, { '?', 0x30, 0, 1, "7F8181" },
        { '?', 0x35, 0x80, 0, "7F8181" }, { 0xF6, 0x11, 0x80, 1, "7E8080" },
    };
    BYTE keys[256] = {};
    for (auto [character, scanCode, shift, capsLock, want] : rows) {
        keys[VK_SHIFT] = shift, keys[VK_CAPITAL] = capsLock;
        SetKeyboardState(keys);
        SendMessageA(window, WM_CHAR, character, 1 | scanCode << 16);
        EXPECT_EQ(want, hex(app.curColor)) << std::hex << character << " from scan code " << scanCode;
    }
    for (int held : { VK_CONTROL, VK_MENU }) { // AltGr arrives as both: its R is (R) on US-International
        BYTE modified[256] = {};
        modified[held] = 0x80;
        SetKeyboardState(modified);
        SendMessageA(window, WM_CHAR, 0xAE, 1 | 0x13 << 16);
        EXPECT_EQ("7E8080", hex(app.curColor)) << "a character typed with key " << held;
    }
}

// Windows as its documentation describes two monitors side by side, the left at 96 dpi and the
// right at rightDpi: a top-level window has the DPI of the monitor holding most of it, and a move
// that changes that sends WM_GETDPISCALEDSIZE and then WM_DPICHANGED inside the very call, with
// the size promised. (Wine gives every monitor one DPI and sends neither.) Both monitors have one
// work area, so whether the factor promised is the one applied shows only on real Windows.
struct TwoScales {
    HWND window;              // and the about box
    std::map<HWND, UINT> dpi; // as last sent; 96 for others, the taskbar's as set
    UINT rightDpi = 192;
    int changes = 0, depth = 0, deepest = 0;
} model;

BOOL WINAPI twoMonitors(HDC, LPCRECT, MONITORENUMPROC add, LPARAM data)
{
    RECT left = { 0, 0, 512, 768 }, right = { 512, 0, 1024, 768 };
    return add(NULL, NULL, &left, data) && add(NULL, NULL, &right, data);
}

int iconWidth(HICON icon)
{
    ICONINFO info = {};
    BITMAP bitmap = {};
    GetIconInfo(icon, &info), GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

UINT WINAPI modelDpi(HWND window)
{
    return model.dpi.count(window) ? model.dpi[window] : 96;
}

LRESULT CALLBACK afterMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT& m = *reinterpret_cast<CWPRETSTRUCT*>(lParam);
    RECT r;
    if (m.message == WM_WINDOWPOSCHANGED && (m.hwnd == model.window || m.hwnd == app.aboutDialog) && !IsIconic(m.hwnd)
        && GetWindowRect(m.hwnd, &r)) {
        long onLeft = r.right < 512 ? r.right - r.left : 512 - r.left, width = r.right - r.left;
        UINT dpi = 2 * onLeft < width ? model.rightDpi : 96, before = modelDpi(m.hwnd);
        if (dpi != before && ++model.depth < 4) {
            model.dpi[m.hwnd] = dpi;
            model.changes++, model.deepest = std::max(model.deepest, model.depth);
            SIZE size = { MulDiv(width, dpi, before), MulDiv(r.bottom - r.top, dpi, before) };
            SendMessageA(m.hwnd, WM_GETDPISCALEDSIZE, dpi, LPARAM(&size));
            RECT suggested = { r.left, r.top, r.left + size.cx, r.top + size.cy };
            SendMessageA(m.hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        }
        model.depth -= dpi != before;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// A drag across to the monitor of 192 dpi and back changes the size once each way, at any grab
// point and speed, never again inside the change, the grabbed point under the pointer where the
// larger part of the window can stay on its new monitor; snapping counts the new factor. The
// about box opens at the factor of its monitor and follows a change; a restore by another program
// finds the DPI changed; the icons are the size the DPI asks; a change never takes the foreground.
TEST_F(ProgramTest, MonitorsOfTwoScales)
{
    setDword("snapTol", 0);
    startProgram();
    model = TwoScales();
    model.window = window;
    app.enumDisplayMonitors = twoMonitors;
    app.getDpiForWindow = modelDpi;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, afterMessage, NULL, GetCurrentThreadId());
    RECT r;
    auto dragTo = [&](int x) {
        GetWindowRect(window, &r);
        drag(x - r.left, 300 + 64 - r.top);
        GetWindowRect(window, &r);
        return r.right - r.left;
    };
    for (int grab : { 8, 41, 60, 76 })
        for (int step : { 5, 70 }) {
            SCOPED_TRACE(testing::Message() << "grabbed at " << grab << ", moves of " << step);
            SetWindowPos(window, NULL, 420 - grab, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            press(grab, 64);
            int width = 83, sizes = 0, changes = model.changes;
            for (int x = 420; x < 620 + step; x += step)
                sizes += dragTo(std::min(x, 620)) != width, width = r.right - r.left;
            EXPECT_TRUE(r.left <= 620 && 620 < r.right) << "the pointer is off the window at " << r.left;
            if (grab <= 41) {
                EXPECT_EQ(620 - 2 * grab, r.left) << "the grabbed point moved";
            }
            for (int x = 620; x > 420 - step; x -= step)
                sizes += dragTo(std::max(x, 420)) != width, width = r.right - r.left;
            release(grab, 64);
            EXPECT_EQ(2, sizes) << "sizes taken";
            EXPECT_EQ(2, model.changes - changes);
        }
    EXPECT_EQ(1, model.deepest) << "a DPI change inside the change";

    command(CMD_SNAP_TO_SCREEN);
    press(41, 64);
    dragTo(900), dragTo(1024 - 166 + 41 * 2 - 12); // 12 px from the edge: within 8 skin pixels at factor 2
    release(41, 64);
    EXPECT_EQ(1024, r.right) << "snapping at factor 2";
    EXPECT_EQ(32, iconWidth(HICON(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)))) << "the small icon at 192 dpi";

    command(CMD_ABOUT);
    ASSERT_TRUE(app.aboutDialog && IsWindowVisible(app.aboutDialog)) << "the box closed before it showed";
    GetWindowRect(app.aboutDialog, &r);
    EXPECT_EQ(228 * 2, r.right - r.left);
    SendMessageA(app.aboutDialog, WM_DPICHANGED, MAKEWPARAM(96, 96), LPARAM(&r));
    GetWindowRect(app.aboutDialog, &r);
    EXPECT_EQ(228, r.right - r.left) << "the box after a change of scale";
    command(CMD_ABOUT);

    HWND cover = CreateWindowExA(0, "STATIC", "cover", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    SetForegroundWindow(cover);
    SetWindowPos(window, NULL, 100, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); // onto the left: 96 dpi
    EXPECT_EQ(cover, GetForegroundWindow()) << "a change of scale took the foreground";
    DestroyWindow(cover);
    // Minimised on the right, its monitor's scale changes; another program restores it.
    SetWindowPos(window, NULL, 700, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(window, SW_MINIMIZE);
    model.rightDpi = model.dpi[window] = 96;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    placement.showCmd = SW_RESTORE;
    SetWindowPlacement(window, &placement);
    GetWindowRect(window, &r);
    EXPECT_EQ(83, r.right - r.left) << "restored after a change of scale";

    // The tray icon at the small-icon size of the taskbar's DPI.
    static int trayIconWidth;
    model.dpi[FindWindowA("Shell_TrayWnd", NULL)] = 192;
    app.shellNotifyIcon
        = [](DWORD, NOTIFYICONDATAA* data) WINAPI -> BOOL { return trayIconWidth = iconWidth(data->hIcon); };
    command(CMD_SYSTEM_TRAY);
    EXPECT_EQ(32, trayIconWidth);
    command(CMD_SYSTEM_TRAY);
    UnhookWindowsHookEx(hook);
}

// The program loads comctl32 itself once the window stands idle; the tooltip control must
// still come from the version the manifest names, 6, as when the DLL was linked. A pointer
// that moved onto a button before then gets that button's tool.
TEST_F(ProgramTest, TheTooltipControlComesFromCommonControls6)
{
    setDword("showToolTips", 1);
    setDword("splashScreen", 0);
    int exitCode;
    ASSERT_TRUE(createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL, &window, &accelerators, &exitCode));
    RECT button;
    GetRgnBox(app.skinButtons[closeButton].hitRegion, &button);
    POINT at = { button.left + 1, button.top + 1 };
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(button.left + 1, button.top + 1));
    ASSERT_TRUE(pumpUntil([] { return app.toolTipWindow != NULL; }, 2000));
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE, info.hwnd = window, info.uId = 1;
    SendMessageA(app.toolTipWindow, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(EqualRect(&button, &info.rect)) << info.rect.left << "," << info.rect.top;
    char path[MAX_PATH] = "(none)";
    GetModuleFileNameA(app.controlsModule, path, sizeof path);
    CharLowerA(path);
    EXPECT_TRUE(strstr(path, "_microsoft.windows.common-controls_6595b64144ccf1df_6.") != NULL) << path;
}

} // namespace

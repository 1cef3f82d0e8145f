// The about box: its place on the work area, the link cursor and the clicks and keys that
// close it, the two links handed to the shell, and Always On Top while it is open.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "window/window.h"

#include <shlwapi.h>

#include <cstdio>
#include <string>

namespace {

class AboutTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
    void TearDown() override
    {
        if (app.aboutDialog)
            SendMessageA(app.aboutDialog, WM_KILLFOCUS, 0, 0);
        ProgramTest::TearDown();
    }

    HWND openBox()
    {
        onCommand(window, CMD_ABOUT);
        HWND box = app.aboutDialog;
        EXPECT_TRUE(box && IsWindowVisible(box));
        pumpMessages(10);
        return box;
    }

    // A closed box is gone with its link areas.
    void expectClosed(HWND box, const std::string& how)
    {
        EXPECT_EQ(NULL, app.aboutDialog) << how;
        EXPECT_FALSE(IsWindow(box)) << how;
        EXPECT_EQ(NULL, app.mailLinkRegion) << how;
        EXPECT_EQ(NULL, app.messengerLinkRegion) << how;
    }

    // The cursor the box sets for the pointer at (x, y) of the box.
    HCURSOR cursorAt(HWND box, int x, int y)
    {
        RECT r;
        GetWindowRect(box, &r);
        SetCursorPos(r.left + x, r.top + y);
        SetCursor(NULL);
        SendMessageA(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
};

}  // namespace

// A taskbar at the top would move the work area down; the cached area is what counts.
TEST_F(AboutTest, TheCommandOpensTheBoxCentredOnTheWorkAreaAndClosesItAgain)
{
    app.workArea = { 100, 40, 1024, 700 };
    HWND box = openBox();
    ASSERT_TRUE(box != NULL);
    RECT r;
    GetWindowRect(box, &r);
    // the work area is 924 x 660, the box 228 x 118
    RECT want = { 100 + 462 - 114, 40 + 330 - 59, 100 + 462 + 114, 40 + 330 + 59 };
    EXPECT_TRUE(EqualRect(&want, &r)) << describe(r) << " want " << describe(want);
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    LONG style = GetWindowLongA(box, GWL_STYLE);
    EXPECT_EQ(0, style & (WS_CAPTION | WS_THICKFRAME | WS_CHILD)) << std::hex << style;
    // The main window keeps working while the box is open.
    onCommand(window, CMD_FORMAT_DEC);
    EXPECT_EQ(box, app.aboutDialog);

    onCommand(window, CMD_ABOUT);
    expectClosed(box, "second about command");
    box = openBox();
    onCommand(window, CMD_ABOUT);
    expectClosed(box, "fourth about command");
}

// The hand shows exactly over the two link lines; a click anywhere else closes the box.
TEST_F(AboutTest, TheCursorIsAHandOverTheLinksAndAClickElsewhereCloses)
{
    HCURSOR hand = LoadCursorA(NULL, IDC_HAND), arrow = LoadCursorA(NULL, IDC_ARROW);
    const struct { int x, y; bool overLink; } points[] = {
        { 86, 52, true }, { 202, 63, true }, { 86, 64, true }, { 126, 75, true },
        { 85, 58, false }, { 203, 58, false }, { 150, 51, false }, { 127, 70, false }, { 100, 76, false },
        { 2, 2, false }, { 227, 117, false },
    };
    for (const auto& p : points) {
        HWND box = app.aboutDialog ? app.aboutDialog : openBox();
        EXPECT_EQ(p.overLink ? hand : arrow, cursorAt(box, p.x, p.y)) << p.x << ", " << p.y;
        EXPECT_EQ(p.overLink, app.linkCursorShown) << p.x << ", " << p.y;
        if (!p.overLink) {
            SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
            expectClosed(box, "click at " + std::to_string(p.x) + ", " + std::to_string(p.y));
        }
    }
    // Closing while the hand shows puts the arrow back.
    HWND box = openBox();
    ASSERT_EQ(hand, cursorAt(box, 100, 58));
    SendMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    expectClosed(box, "Escape over a link");
    EXPECT_EQ(arrow, GetCursor());
}

// Any key or command to the box, and the main window's keys, close it; so does the main
// window taking the focus.
TEST_F(AboutTest, KeysCommandsAndFocusLossCloseIt)
{
    const struct { const char* how; bool toMain; UINT message; WPARAM wParam; } closers[] = {
        { "letter key", false, WM_KEYDOWN, 'A' }, { "character", false, WM_CHAR, 'a' },
        { "focus lost", false, WM_KILLFOCUS, 0 }, { "command", false, WM_COMMAND, IDOK },
        { "Left", true, WM_COMMAND, CMD_LESS_WHITE }, { "Right", true, WM_COMMAND, CMD_MORE_WHITE },
        { "Enter", true, WM_COMMAND, CMD_ACCEPT }, { "Escape", true, WM_COMMAND, CMD_CANCEL },
    };
    for (const auto& c : closers) {
        HWND box = openBox();
        SendMessageA(c.toMain ? window : box, c.message, c.wParam, 0);
        expectClosed(box, c.how);
        pumpMessages(0);
    }
    HWND box = openBox();
    EXPECT_EQ(box, GetFocus());
    SetForegroundWindow(window);
    SetFocus(window);
    EXPECT_TRUE(pumpUntil([] { return app.aboutDialog == NULL; }, 2000));
    expectClosed(box, "main window activated");
}

namespace {

// Points a URL protocol of the machine at a recorder for the test's run; the old
// handler comes back afterwards. (Wine reads protocols from the machine's classes only.)
class ProtocolRecorder {
public:
    ProtocolRecorder(const char* protocol, const std::string& file) : key("Software\\Classes\\")
    {
        key += protocol;
        HKEY existing;
        existed = RegOpenKeyA(HKEY_LOCAL_MACHINE, (key + "\\shell\\open\\command").c_str(), &existing) == ERROR_SUCCESS;
        if (existed) {
            char value[1024];
            LONG size = sizeof value;
            if (RegQueryValueA(existing, NULL, value, &size) == ERROR_SUCCESS)
                oldCommand = value;
            RegCloseKey(existing);
        }
        std::string command = "cmd /c echo \"%1\" > \"" + file + "\"";
        RegSetValueA(HKEY_LOCAL_MACHINE, (key + "\\shell\\open\\command").c_str(), REG_SZ, command.c_str(),
                     command.size());
    }
    ~ProtocolRecorder()
    {
        if (existed)
            RegSetValueA(HKEY_LOCAL_MACHINE, (key + "\\shell\\open\\command").c_str(), REG_SZ, oldCommand.c_str(),
                         oldCommand.size());
        else
            SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    }
private:
    std::string key, oldCommand;
    bool existed;
};

std::string tempFile(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%shuebrick-%lu-%s.txt", folder, GetCurrentProcessId(), name);
    DeleteFileA(path);
    return path;
}

std::string readFile(const std::string& path)
{
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[512];
    DWORD got = 0;
    if (ReadFile(file, buffer, sizeof buffer, &got, NULL))
        text.assign(buffer, got);
    CloseHandle(file);
    return text;
}

}  // namespace

TEST_F(AboutTest, ClickingALinkHandsItToTheShellAndLeavesTheBoxOpen)
{
    const struct { const char* protocol; int x, y; const char* want; } links[] = {
        { "mailto", 100, 58, "mailto:huebrick@example.org" },
        { "aim", 100, 70, "aim:goim?screenname=Huebrick&message=Hello+Huebrick" },
    };
    for (const auto& link : links) {
        std::string file = tempFile(link.protocol);
        ProtocolRecorder recorder(link.protocol, file);
        HWND box = app.aboutDialog ? app.aboutDialog : openBox();
        SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(link.x, link.y));
        EXPECT_EQ(box, app.aboutDialog) << link.protocol;
        EXPECT_TRUE(IsWindowVisible(box)) << link.protocol;
        std::string recorded;
        bool seen = pumpUntil([&] {
            recorded = readFile(file);
            return recorded.find(link.want) != std::string::npos;
        }, 15000);
        EXPECT_TRUE(seen) << link.protocol << " at " << link.x << ", " << link.y << ": recorded '" << recorded << "'";
        // Exactly the link, quoted by the recorder's command.
        EXPECT_EQ(0u, recorded.find(std::string("\"") + link.want)) << recorded;
        DeleteFileA(file.c_str());
    }
}

// The main window owns the box; Always On Top must still take while it is open.
TEST_F(AboutTest, AlwaysOnTopWorksWhileTheBoxIsOpen)
{
    auto topmost = [](HWND w) { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    HWND box = openBox();
    // The command activates the main window, which also ends the box.
    onCommand(window, CMD_ALWAYS_ON_TOP);
    EXPECT_TRUE(app.alwaysOnTop);
    EXPECT_TRUE(topmost(window));
    if (app.aboutDialog)
        onCommand(window, CMD_ABOUT);
    expectClosed(box, "after Always On Top");

    // Opened while on top, closed again: the window stays on top.
    box = openBox();
    EXPECT_TRUE(topmost(window));
    onCommand(window, CMD_ABOUT);
    expectClosed(box, "about command");
    EXPECT_TRUE(topmost(window));
    onCommand(window, CMD_ALWAYS_ON_TOP);
    EXPECT_FALSE(topmost(window));
}

// The about box: opening and closing, its place and picture, the link cursor, and the
// two links handed to the shell.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"
#include "skin/pixels.h"
#include "window/window.h"

#include <shlwapi.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

std::string describe(const RECT& r)
{
    std::ostringstream s;
    s << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
    return s.str();
}

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
};

}  // namespace

TEST_F(AboutTest, TheAboutCommandOpensTheBoxCentredOnTheWorkAreaAndClosesIt)
{
    HWND box = openBox();
    ASSERT_TRUE(box != NULL);
    RECT r, work;
    GetWindowRect(box, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT want;
    SetRect(&want, work.left + (work.right - work.left) / 2 - 114, work.top + (work.bottom - work.top) / 2 - 59, 0, 0);
    want.right = want.left + 228;
    want.bottom = want.top + 118;
    EXPECT_TRUE(EqualRect(&want, &r)) << describe(r) << " want " << describe(want);
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    EXPECT_EQ(0, GetWindowLongA(box, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_CHILD)) << std::hex
                                                                                           << GetWindowLongA(box, GWL_STYLE);
    RECT mail, messenger;
    GetRgnBox(app.mailLinkRegion, &mail);
    GetRgnBox(app.messengerLinkRegion, &messenger);
    RECT wantMail = { 86, 52, 203, 64 }, wantMessenger = { 86, 64, 127, 76 };
    EXPECT_TRUE(EqualRect(&wantMail, &mail)) << describe(mail);
    EXPECT_TRUE(EqualRect(&wantMessenger, &messenger)) << describe(messenger);

    // The main window keeps working while the box is open.
    onCommand(window, CMD_FORMAT_DEC);
    EXPECT_EQ(box, app.aboutDialog);

    onCommand(window, CMD_ABOUT);
    expectClosed(box, "second about command");

    // And opens again: the command alternates.
    box = openBox();
    EXPECT_TRUE(IsWindowVisible(box));
    onCommand(window, CMD_ABOUT);
    expectClosed(box, "fourth about command");
}

TEST_F(AboutTest, TheBoxCentresOnTheWorkAreaNotTheScreen)
{
    // A taskbar at the top would move the work area down; the cached area is what counts.
    const RECT areas[] = { { 0, 40, 1024, 768 }, { 100, 0, 1024, 700 }, { 0, 0, 800, 600 }, { 10, 20, 31, 45 } };
    for (const RECT& area : areas) {
        app.workArea = area;
        HWND box = openBox();
        RECT r;
        GetWindowRect(box, &r);
        EXPECT_EQ(area.left + (area.right - area.left) / 2 - 114, r.left) << describe(area);
        EXPECT_EQ(area.top + (area.bottom - area.top) / 2 - 59, r.top) << describe(area);
        EXPECT_EQ(228, r.right - r.left);
        EXPECT_EQ(118, r.bottom - r.top);
        onCommand(window, CMD_ABOUT);
        expectClosed(box, describe(area));
    }
}

TEST_F(AboutTest, KeysFocusLossCommandsAndClicksOutsideTheLinksCloseIt)
{
    const struct { const char* how; UINT message; WPARAM wParam; int x, y; } closers[] = {
        { "Escape key", WM_KEYDOWN, VK_ESCAPE, 0, 0 },
        { "letter key", WM_KEYDOWN, 'A', 0, 0 },
        { "character", WM_CHAR, 'a', 0, 0 },
        { "focus lost", WM_KILLFOCUS, 0, 0, 0 },
        { "command", WM_COMMAND, IDOK, 0, 0 },
        { "click top left", WM_LBUTTONUP, 0, 2, 2 },
        { "click bottom right", WM_LBUTTONUP, 0, 227, 117 },
        { "click left of the mail line", WM_LBUTTONUP, 0, 85, 58 },
        { "click right of the mail line", WM_LBUTTONUP, 0, 203, 58 },
        { "click above the mail line", WM_LBUTTONUP, 0, 150, 51 },
        { "click right of the messenger line", WM_LBUTTONUP, 0, 127, 70 },
        { "click below the messenger line", WM_LBUTTONUP, 0, 100, 76 },
    };
    for (const auto& c : closers) {
        HWND box = openBox();
        SendMessageA(box, c.message, c.wParam, MAKELPARAM(c.x, c.y));
        expectClosed(box, c.how);
        pumpMessages(0);
    }
}

TEST_F(AboutTest, ActivatingTheMainWindowClosesIt)
{
    HWND box = openBox();
    EXPECT_EQ(box, GetFocus());
    SetForegroundWindow(window);
    SetFocus(window);
    EXPECT_TRUE(pumpUntil([] { return app.aboutDialog == NULL; }, 2000));
    expectClosed(box, "main window activated");
}

TEST_F(AboutTest, TheMainWindowsKeysCloseIt)
{
    const struct { int command; COLORREF colour; } commands[] = {
        { CMD_LESS_WHITE, 0xFEFEFE }, { CMD_MORE_WHITE, 0xFFFFFF }, { CMD_ACCEPT, 0xFFFFFF }, { CMD_CANCEL, 0xFFFFFF },
    };
    for (const auto& c : commands) {
        HWND box = openBox();
        onCommand(window, c.command);
        expectClosed(box, std::to_string(c.command));
        // The arrow keys still step the colour.
        EXPECT_EQ(c.colour, app.curColor) << c.command;
    }
}

TEST_F(AboutTest, ThePictureIsPainted)
{
    HWND box = openBox();
    pumpMessages(50);
    UpdateWindow(box);

    PixelBuffer shown = {}, picture = {};
    ASSERT_TRUE(createPixelBuffer(&shown, 228, 118));
    ASSERT_TRUE(createPixelBuffer(&picture, 228, 118));
    HDC boxDC = GetDC(box);
    capturePixels(&shown, boxDC, 0, 0, 228, 118);
    ReleaseDC(box, boxDC);

    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(NULL), "RES_GFX_IMAGE_ABOUT");
    ASSERT_TRUE(bitmap != NULL);
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(228, info.bmWidth);
    EXPECT_EQ(118, info.bmHeight);
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    capturePixels(&picture, memory, 0, 0, 228, 118);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);

    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < 118; y++)
        for (int x = 0; x < 228; x++)
            if (pixelAt(shown, x, y) != pixelAt(picture, x, y) && differing++ == 0) {
                firstX = x;
                firstY = y;
            }
    EXPECT_EQ(0, differing) << "first at " << firstX << ", " << firstY << ": shown " << std::hex
                            << (firstX >= 0 ? pixelAt(shown, firstX, firstY) : 0) << " picture "
                            << (firstX >= 0 ? pixelAt(picture, firstX, firstY) : 0);
    // Not a blank picture: it has text on a background.
    int other = 0;
    for (int y = 0; y < 118; y++)
        for (int x = 0; x < 228; x++)
            other += pixelAt(picture, x, y) != pixelAt(picture, 0, 0);
    EXPECT_GT(other, 500);

    // Painted again after being covered and uncovered.
    RedrawWindow(box, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    boxDC = GetDC(box);
    capturePixels(&shown, boxDC, 0, 0, 228, 118);
    ReleaseDC(box, boxDC);
    differing = 0;
    for (int y = 0; y < 118; y++)
        for (int x = 0; x < 228; x++)
            differing += pixelAt(shown, x, y) != pixelAt(picture, x, y);
    EXPECT_EQ(0, differing) << "after a repaint";
    freePixelBuffer(&shown);
    freePixelBuffer(&picture);
}

TEST_F(AboutTest, TheCursorIsAHandOverTheLinks)
{
    HWND box = openBox();
    RECT r;
    GetWindowRect(box, &r);
    HCURSOR hand = LoadCursorA(NULL, IDC_HAND), arrow = LoadCursorA(NULL, IDC_ARROW);
    const struct { int x, y; bool overLink; } points[] = {
        { 100, 58, true }, { 100, 70, true }, { 86, 52, true }, { 202, 63, true }, { 126, 75, true },
        { 86, 64, true }, { 202, 64, false }, { 203, 58, false }, { 85, 58, false }, { 127, 70, false },
        { 100, 76, false }, { 150, 51, false }, { 10, 10, false }, { 150, 70, false },
    };
    for (const auto& p : points) {
        SetCursorPos(r.left + p.x, r.top + p.y);
        SetCursor(NULL);
        SendMessageA(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(p.overLink ? hand : arrow, GetCursor()) << p.x << ", " << p.y;
        EXPECT_EQ(p.overLink, app.linkCursorShown) << p.x << ", " << p.y;
    }
    // Closing while the hand shows puts the arrow back.
    SetCursorPos(r.left + 100, r.top + 58);
    SendMessageA(box, WM_SETCURSOR, reinterpret_cast<WPARAM>(box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_EQ(hand, GetCursor());
    SendMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    expectClosed(box, "Escape over a link");
    EXPECT_EQ(arrow, GetCursor());
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
        { "mailto", 86, 52, "mailto:huebrick@example.org" },
        { "aim", 126, 75, "aim:goim?screenname=" },
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
    EXPECT_EQ(mailLink, std::string("mailto:huebrick@example.org"));
    EXPECT_EQ(0u, std::string(messengerLink).find("aim:goim?screenname="));
    EXPECT_NE(std::string::npos, std::string(messengerLink).find("&message="));
}

// The main window owns the box; Always On Top must still take while it is open.
TEST_F(AboutTest, AlwaysOnTopWorksWhileTheBoxIsOpen)
{
    auto topmost = [](HWND w) { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    HWND box = openBox();
    // Without taking the focus from the box, as a caller that does not activate would.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_TRUE(topmost(window));
    EXPECT_EQ(box, app.aboutDialog);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_FALSE(topmost(window));

    // The command activates the main window, which also ends the box.
    onCommand(window, CMD_ALWAYS_ON_TOP);
    EXPECT_TRUE(app.alwaysOnTop);
    EXPECT_TRUE(topmost(window));
    EXPECT_TRUE(app.aboutDialog == NULL || IsWindow(app.aboutDialog));
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

// Helpers of the Wine lane.
#include "harness.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

std::vector<BYTE> storedValue(const char* name)
{
    std::vector<BYTE> data(8192, 0xAA);
    DWORD size = DWORD(data.size());
    if (SHGetValueA(HKEY_CURRENT_USER, settingsKey, name, NULL, data.data(), &size) != ERROR_SUCCESS)
        size = 0;
    data.resize(size);
    return data;
}

void pumpMessages(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
        for (MSG message; PeekMessageA(&message, NULL, 0, 0, PM_REMOVE);)
            if (message.message != WM_QUIT)
                TranslateMessage(&message), DispatchMessageA(&message);
    } while (GetTickCount() - start < milliseconds);
}

bool putClipboard(UINT format, HANDLE data, HWND owner)
{
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    bool placed = SetClipboardData(format, data) != NULL || !data;
    CloseClipboard();
    return placed;
}

bool putTextBytes(const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return putClipboard(CF_TEXT, block) || (GlobalFree(block), false);
}

std::string clipboardBlock()
{
    if (!OpenClipboard(NULL))
        return "<clipboard busy>";
    std::string bytes = "<none>";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (const char* p = data ? static_cast<const char*>(GlobalLock(data)) : NULL)
        bytes.assign(p, GlobalSize(data)), GlobalUnlock(data);
    CloseClipboard();
    return bytes;
}

void PopupCatcher::watch()
{
    std::vector<HWND> answered;
    HWND own = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    for (; !stopping; Sleep(10))
        for (const char* windowClass : { "#32770", "#32768" })
            for (HWND popup = NULL; (popup = FindWindowExA(NULL, popup, windowClass, NULL)) != NULL;) {
                DWORD process = 0;
                GetWindowThreadProcessId(popup, &process);
                if (std::count(answered.begin(), answered.end(), popup) || process != GetCurrentProcessId()
                    || !IsWindowVisible(popup))
                    continue;
                answered.push_back(popup);
                bool menu = strcmp(windowClass, "#32768") == 0;
                char caption[256] = "", text[1024] = "";
                GetWindowTextA(popup, caption, sizeof caption);
                GetDlgItemTextA(popup, 0xFFFF, text, sizeof text);
                // Whether another program could use the clipboard while the box waits.
                bool locked = !menu && (!OpenClipboard(own) || !CloseClipboard());
                std::lock_guard<std::mutex> hold(lock);
                popups.push_back(menu ? "menu"
                                      : caption + (" | " + std::string(text)) + (locked ? " (clipboard locked)" : "")
                                         + (GetWindow(popup, GW_OWNER) ? "" : " (no owner)"));
                PostMessageA(popup, menu ? WM_KEYDOWN : WM_COMMAND, menu ? VK_ESCAPE : IDOK, 0);
            }
    DestroyWindow(own);
}

void ProgramTest::startProgram()
{
    setDword("splashScreen", 0);
    int exitCode = 0xdeadbeef;
    ASSERT_TRUE(createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL, &window, &accelerators, &exitCode))
        << "exit code " << exitCode;
    pumpMessages(20);
}

void ProgramTest::closeProgram()
{
    if (!window)
        return;
    command(CMD_CLOSE);
    // The program never destroys its window itself; the process end does. Here the test
    // tears it down without running the handlers a second time.
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    DestroyWindow(window);
    window = NULL;
    DestroyAcceleratorTable(accelerators);
    DestroyMenu(app.mainMenu);
    app.mainMenu = NULL;
    UnregisterClassA("huebrickWin", GetModuleHandleA(NULL));
    CloseHandle(app.instanceMutex);
    app.instanceMutex = NULL;
    // Leftovers go, the close's WM_QUIT among them, but not paints: a removed WM_PAINT validates
    // nothing and comes back at once, so a window waiting for its paint (the pattern, which Wine 10
    // invalidates as the program's window goes) kept this loop busy for ever.
    const UINT leftovers = PM_REMOVE | PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
    for (MSG message; PeekMessageA(&message, NULL, 0, 0, leftovers);) { }
}

void ProgramTest::mouse(UINT message, WPARAM keys, int x, int y)
{
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos(r.left + x, r.top + y);
    SendMessageA(window, message, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// Helpers of the Wine lane.
#include "harness.h"
#include "app/app.h"
#include "res/resource.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

void clearSettings()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, settingsKey);
}

void setValue(const char* name, DWORD type, const void* data, DWORD size)
{
    SHSetValueA(HKEY_CURRENT_USER, settingsKey, name, type, data, size);
}

void setDword(const char* name, DWORD value)
{
    setValue(name, REG_DWORD, &value, sizeof value);
}

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
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
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
    if (putClipboard(CF_TEXT, block))
        return true;
    GlobalFree(block);
    return false;
}

std::string clipboardBlock()
{
    if (!OpenClipboard(NULL))
        return "<clipboard busy>";
    std::string bytes = "<none>";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* p = data ? static_cast<const char*>(GlobalLock(data)) : NULL;
    if (p) {
        bytes.assign(p, GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

// main.cpp's "--hold-clipboard NAME" is the other process.
ClipboardHolder::ClipboardHolder()
{
    char name[64], exe[MAX_PATH];
    snprintf(name, sizeof name, "huebrick.clipholder.%lu", GetCurrentProcessId());
    ready = CreateEventA(NULL, TRUE, FALSE, (std::string(name) + ".ready").c_str());
    release = CreateEventA(NULL, TRUE, FALSE, (std::string(name) + ".release").c_str());
    GetModuleFileNameA(NULL, exe, sizeof exe);
    std::string command = std::string("\"") + exe + "\" --hold-clipboard " + name;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return;
    HANDLE waits[2] = { ready, process.hProcess };
    holding = WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
}

ClipboardHolder::~ClipboardHolder()
{
    SetEvent(release);
    if (process.hProcess) {
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(ready);
    CloseHandle(release);
}

PopupCatcher::PopupCatcher()
{
    InitializeCriticalSection(&lock);
    thread = CreateThread(NULL, 0, watch, this, 0, NULL);
}

PopupCatcher::~PopupCatcher()
{
    InterlockedExchange(&stopping, 1);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    DeleteCriticalSection(&lock);
}

std::vector<std::string> PopupCatcher::seen()
{
    EnterCriticalSection(&lock);
    std::vector<std::string> copy = popups;
    LeaveCriticalSection(&lock);
    return copy;
}

DWORD WINAPI PopupCatcher::watch(void* self)
{
    PopupCatcher* catcher = static_cast<PopupCatcher*>(self);
    std::vector<HWND> answered;
    HWND own = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    while (!catcher->stopping) {
        for (const char* windowClass : { "#32770", "#32768" }) {
            for (HWND popup = NULL; (popup = FindWindowExA(NULL, popup, windowClass, NULL)) != NULL;) {
                DWORD process = 0;
                GetWindowThreadProcessId(popup, &process);
                if (std::count(answered.begin(), answered.end(), popup) || process != GetCurrentProcessId()
                    || !IsWindowVisible(popup))
                    continue;
                char caption[256] = "", text[1024] = "";
                GetWindowTextA(popup, caption, sizeof caption);
                GetDlgItemTextA(popup, 0xFFFF, text, sizeof text);
                bool menu = strcmp(windowClass, "#32768") == 0;
                // Whether another program could use the clipboard while the box waits.
                bool locked = !menu && !OpenClipboard(own);
                if (!menu && !locked)
                    CloseClipboard();
                EnterCriticalSection(&catcher->lock);
                catcher->popups.push_back(menu ? "menu" : std::string(caption) + " | " + text + (locked ? " (clipboard locked)" : ""));
                LeaveCriticalSection(&catcher->lock);
                answered.push_back(popup);
                PostMessageA(popup, menu ? WM_KEYDOWN : WM_COMMAND, menu ? VK_ESCAPE : IDOK, 0);
            }
        }
        Sleep(10);
    }
    DestroyWindow(own);
    return 0;
}

std::string hex(COLORREF color)
{
    char text[16];
    snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

std::string windowTitle(HWND window)
{
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void ProgramTest::startProgram(bool splash)
{
    if (!splash)
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
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
    }
}

void ProgramTest::mouse(UINT message, WPARAM keys, int x, int y)
{
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos(r.left + x, r.top + y);
    SendMessageA(window, message, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

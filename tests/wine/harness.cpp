// Helpers of the Wine lane.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"

#include <shlwapi.h>

#include <cstdio>

void clearSettings()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, settingsKey);
}

static HKEY openKey()
{
    HKEY key = NULL;
    RegCreateKeyA(HKEY_CURRENT_USER, settingsKey, &key);
    return key;
}

void setDword(const char* name, DWORD value)
{
    HKEY key = openKey();
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void setBinary(const char* name, const void* data, DWORD size)
{
    HKEY key = openKey();
    RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void setString(const char* name, const char* text)
{
    HKEY key = openKey();
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
    RegCloseKey(key);
}

bool queryValue(const char* name, DWORD* type, std::vector<BYTE>* data)
{
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, settingsKey, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool found = RegQueryValueExA(key, name, NULL, type, NULL, &size) == ERROR_SUCCESS;
    if (found) {
        data->assign(size, 0xAA);
        found = RegQueryValueExA(key, name, NULL, type, data->data(), &size) == ERROR_SUCCESS;
        data->resize(size);
    }
    RegCloseKey(key);
    return found;
}

DWORD queryDword(const char* name)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!queryValue(name, &type, &data) || type != REG_DWORD || data.size() != 4)
        return 0xdeadbeef;
    return *reinterpret_cast<DWORD*>(data.data());
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

std::string windowTitle(HWND window)
{
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

UINT menuState(int command)
{
    return GetMenuState(app.mainMenu, command, MF_BYCOMMAND);
}

bool menuChecked(int command)
{
    return (menuState(command) & MF_CHECKED) != 0;
}

std::string describe(COLORREF color)
{
    char text[32];
    snprintf(text, sizeof text, "%d,%d,%d", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

std::string describe(const RECT& r)
{
    char text[64];
    snprintf(text, sizeof text, "(%ld, %ld, %ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

void ProgramTest::SetUp()
{
    clearSettings();
}

void ProgramTest::startProgram()
{
    int exitCode = 0xdeadbeef;
    ASSERT_TRUE(createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL, &window, &accelerators, &exitCode))
        << "exit code " << exitCode;
    pumpMessages(20);
}

void ProgramTest::startWithoutSplash()
{
    setDword("splashScreen", 0);
    startProgram();
}

void ProgramTest::closeProgram()
{
    if (!window)
        return;
    closeWindow(window);
    // The program never destroys its window itself; the process end does. Here the
    // test tears it down without running the handlers a second time.
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    DestroyWindow(window);
    window = NULL;
    DestroyMenu(app.mainMenu);
    app.mainMenu = NULL;
    UnregisterClassA("huebrickWin", GetModuleHandleA(NULL));
    CloseHandle(app.instanceMutex);
    app.instanceMutex = NULL;
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
    }
}

void ProgramTest::TearDown()
{
    closeProgram();
}

COLORREF backPixel(int x, int y)
{
    return GetPixel(app.backDC, x, y);
}

MessageBoxCatcher::MessageBoxCatcher() : stopping(0)
{
    InitializeCriticalSection(&lock);
    thread = CreateThread(NULL, 0, watch, this, 0, NULL);
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    InterlockedExchange(&stopping, 1);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    DeleteCriticalSection(&lock);
}

std::vector<MessageBoxCatcher::Seen> MessageBoxCatcher::seen()
{
    EnterCriticalSection(&lock);
    std::vector<Seen> copy = boxes;
    LeaveCriticalSection(&lock);
    return copy;
}

DWORD WINAPI MessageBoxCatcher::watch(void* self)
{
    MessageBoxCatcher* catcher = static_cast<MessageBoxCatcher*>(self);
    std::vector<HWND> answered;
    while (!catcher->stopping) {
        HWND box = NULL;
        while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(box))
                continue;
            bool done = false;
            for (HWND h : answered)
                done = done || h == box;
            if (done)
                continue;
            char caption[256] = "", text[1024] = "";
            GetWindowTextA(box, caption, sizeof caption);
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            EnterCriticalSection(&catcher->lock);
            catcher->boxes.push_back({ caption, text });
            LeaveCriticalSection(&catcher->lock);
            answered.push_back(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(10);
    }
    return 0;
}

// Helpers of the Wine lane: the registry key, a bounded message pump, the clipboard, a catcher
// for this process's popups, and a fixture that starts the real main window in this process.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>
#include <shlwapi.h>
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Values under the program's key; a missing value reads as an empty vector.
inline void clearSettings()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, settingsKey);
}
inline void setValue(const char* name, DWORD type, const void* data, DWORD size)
{
    SHSetValueA(HKEY_CURRENT_USER, settingsKey, name, type, data, size);
}
inline void setDword(const char* name, DWORD value)
{
    setValue(name, REG_DWORD, &value, sizeof value);
}
std::vector<BYTE> storedValue(const char* name);
inline std::vector<BYTE> dwordBytes(DWORD v)
{
    return { BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24) };
}

// Dispatches this thread's messages for up to the given time; never sleeps blindly.
void pumpMessages(DWORD milliseconds);
template <typename Condition> bool pumpUntil(Condition condition, DWORD milliseconds)
{
    for (DWORD start = GetTickCount(); !condition(); pumpMessages(5))
        if (GetTickCount() - start > milliseconds)
            return false;
    return true;
}

// The clipboard: exactly these bytes as CF_TEXT, or any handle of a format; the CF_TEXT block
// read back whole ("<none>" when there is none).
bool putClipboard(UINT format, HANDLE data, HWND owner = NULL);
bool putTextBytes(const void* bytes, size_t size);
inline bool putText(const std::string& text)
{
    return putTextBytes(text.c_str(), text.size() + 1);
}
std::string clipboardBlock();
inline std::string clipboardText()
{
    std::string b = clipboardBlock();
    return b.substr(0, b.find('\0'));
}

// Answers this process's message boxes (OK) and closes its popup menus while it lives;
// records "caption | text" of each box, followed by " (clipboard locked)" when no other
// window could open the clipboard while it showed and " (no owner)" for one that could hide
// behind a topmost window, and "menu" for each menu.
class PopupCatcher {
public:
    PopupCatcher()
        : watcher(&PopupCatcher::watch, this)
    {
    }
    ~PopupCatcher()
    {
        stopping = true;
        watcher.join();
    }
    std::vector<std::string> seen()
    {
        std::lock_guard<std::mutex> hold(lock);
        return popups;
    }

private:
    void watch();
    std::mutex lock;
    std::vector<std::string> popups;
    std::atomic<bool> stopping{ false };
    std::thread watcher;
};

inline std::string hex(COLORREF color) // "RRGGBB"
{
    char text[8];
    snprintf(text, sizeof text, "%06X", unsigned(GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color)));
    return text;
}
inline COLORREF backPixel(int x, int y)
{
    return GetPixel(app.backDC, x, y);
}
// The colour the history holds as current, and how many it holds from the oldest.
inline COLORREF recordedColor()
{
    return currentColor(&app.history);
}
inline unsigned recordedCount()
{
    return historyCount(&app.history);
}

// Starts the program's main window with the settings in the registry, and closes it.
class ProgramTest : public testing::Test {
protected:
    void SetUp() override { clearSettings(); }
    void TearDown() override { closeProgram(); }
    void startProgram(); // without the splash
    void closeProgram(); // as the close command does: saves the settings
    void command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }
    void paste(const std::string& text) { putText(text), command(CMD_PASTE); }
    // A mouse message at a window point; the pointer is moved there first, as the handlers
    // read GetCursorPos.
    void mouse(UINT message, WPARAM keys, int x, int y);
    void press(int x, int y) { mouse(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
    void drag(int x, int y) { mouse(WM_MOUSEMOVE, MK_LBUTTON, x, y); }
    void release(int x, int y) { mouse(WM_LBUTTONUP, 0, x, y); }
    HWND window = NULL;
    HACCEL accelerators = NULL;
};

// The program at 192 dpi: the test wine.scaled runs these in a process it starts so, since Wine
// reads LogPixels at a process's start.
using ScaledTest = ProgramTest;

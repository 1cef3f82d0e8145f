// Helpers of the Wine lane: the registry key, a bounded message pump, and a fixture that
// starts the real main window in this process the way WinMain does.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Registry values under the program's key.
void clearSettings();
void setDword(const char* name, DWORD value);
void setBinary(const char* name, const void* data, DWORD size);
void setString(const char* name, const char* text);
bool queryValue(const char* name, DWORD* type, std::vector<BYTE>* data);
DWORD queryDword(const char* name);

// Dispatches this thread's messages for up to the given time; never sleeps blindly.
void pumpMessages(DWORD milliseconds);
// Pumps until the condition holds or the time is up; returns whether it held.
template <typename Condition> bool pumpUntil(Condition condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        pumpMessages(5);
    }
    return true;
}

// The main window's title.
std::string windowTitle(HWND window);

// The menu state of one command: MF_CHECKED, MF_GRAYED bits as GetMenuState gives them.
UINT menuState(int command);
bool menuChecked(int command);

// Readable forms for failure messages: "r,g,b" and "(left, top, right, bottom)".
std::string describe(COLORREF color);
std::string describe(const RECT& r);

// Starts the program's main window with the settings in the registry, and closes it.
class ProgramTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void startProgram();
    void startWithoutSplash();  // most tests need the display filled at once
    void closeProgram();    // as the close command does: saves settings
    HWND window = NULL;
    HACCEL accelerators = NULL;
};

// A pixel of the back buffer, which holds the complete picture of the window.
COLORREF backPixel(int x, int y);

// Answers the message boxes this process shows while it is alive, recording caption and
// text of each: a thread watches for them and presses OK.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    struct Seen { std::string caption, text; };
    std::vector<Seen> seen();
private:
    static DWORD WINAPI watch(void* self);
    HANDLE thread;
    CRITICAL_SECTION lock;
    std::vector<Seen> boxes;
    volatile LONG stopping;
};

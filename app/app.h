// The application core: start-up, the window procedure, commands, toggles, settings.
#pragma once

#include <windows.h>

// Start-up and shut-down
bool createMainWindow(HINSTANCE instance, int showCommand, HWND* window, HACCEL* accelerators, int* exitCode);
int runMessageLoop(HWND window, HACCEL accelerators);
void onCreate(HWND window);
void onDestroy(HWND window);
void onEndSession(HWND window, bool ending);
void onBringForward(HWND window);

// Dispatch
LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void onTimer(HWND window, UINT_PTR timer);
void onCommand(HWND window, int command);
void onChar(HWND window, WPARAM character, LPARAM keyData);
void onKeyUp(HWND window, WPARAM virtualKey);

// The right-click menu, at a screen point; WM_CONTEXTMENU's point, or -1 for the keyboard's
void openContextMenu(HWND window, POINT at);
void onContextMenu(HWND window, LPARAM point);

// Setting toggles: each flips its setting and brings the window into line
void toggleSplitScreen();
void toggleStickyZoom();
void toggleAutoFormat();
void toggleAlwaysOnTop(HWND window);
void toggleSnap(HWND window);
void toggleToolTips();
void toggleSingleInstance();
void toggleSplashScreen(HWND window);
void closeWindow(HWND window);

// Settings store
extern const char* const settingsKey;
bool loadSettings(HINSTANCE instance);
bool saveSettings();
// What start-up settled on counts as saved; later changes are written within a second.
void rememberSavedSettings();
void saveSoon(HWND window);
void onSaveTimer(HWND window);

// Window behaviours: snapping, the title and tray icon, tooltips, the about box.
#pragma once

#include <windows.h>

// Snapping and placement
void refreshWindowMetrics(HWND window);
void moveWindowSnapped(HWND window, int dx, int dy);
void readMonitors();
// Whether the rectangle shares a pixel with some monitor's work area.
bool isOnSomeWorkArea(const RECT& r);
void bringWindowBack(HWND window);
// WM_WINDOWPOSCHANGED: the system moves the window too (after a change of displays)
void keepWindowRect(HWND window);

// Title, tray and tooltips
void updateTitle();
void toggleSystemTray(HWND window);
void minimizeOrRestore(HWND window);
void onTrayCallback(HWND window, LPARAM mouseMessage);
void onTaskbarCreated(HWND window);
void createToolTips(HWND window);
void updateToolTip(HWND window, LPARAM point);
void hideToolTip();

// About box
void showAboutBox(HWND window);

// Window behaviours: snapping, the title and tray icon, tooltips, the about box.
#pragma once

#include <windows.h>

// Messages of Windows 8.1 and 10, newer than the system the headers are set for.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// Snapping and placement
void refreshWindowMetrics(HWND window);
void moveWindowSnapped(HWND window, int dx, int dy);
void readMonitors();
// Whether the rectangle shares a pixel with some monitor's work area.
bool isOnSomeWorkArea(const RECT& r);
void bringWindowBack(HWND window);
// The work area of the monitor holding the larger part of r (or the nearest one).
RECT workAreaHolding(const RECT& r);
// The whole factor for the window's DPI where it stands, for the skin as loaded
int scaleForWindow(HWND window);
void onDpiChanged(HWND window, UINT dpi, const RECT* suggested);
void onGetDpiScaledSize(UINT dpi, SIZE* size);
void onSize(HWND window, WPARAM type);
// WM_WINDOWPOSCHANGED: the system moves the window too (after a change of displays)
void keepWindowRect(HWND window);

// Title, tray and tooltips
void updateTitle();
// The icons of the taskbar button and Alt+Tab at a DPI; 0 takes them away (the class's show).
void setWindowIcons(HWND window, UINT dpi);
void toggleSystemTray(HWND window);
void minimizeOrRestore(HWND window);
void onTrayCallback(HWND window, LPARAM mouseMessage);
void onTaskbarCreated(HWND window);
void createToolTips(HWND window);
void updateToolTip(HWND window, LPARAM point);
void hideToolTip();

// About box
void showAboutBox(HWND window);

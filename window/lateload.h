// The shell, common dialog, common controls, window manager and COM DLLs, loaded when first
// used: linked, they load at process start, before a single line of the program runs.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <commdlg.h>

// shell32
BOOL notifyIcon(DWORD message, NOTIFYICONDATAA* data);
UINT dragQueryFile(HDROP drop, UINT index, char* file, UINT size);
void dragFinish(HDROP drop);
void openInShell(const char* file);
// comdlg32
BOOL getOpenFileName(OPENFILENAMEA* dialog);
// user32 of Windows 10 and later: the DPI of the window's monitor; else the system's
UINT windowDpi(HWND window);
// user32 of Windows 10 and later: a system metric (an icon's size) at a DPI; else the system's
int metricForDpi(int index, UINT dpi);
// comctl32, the version the manifest names; registers the tooltip class
void initCommonControls();
// user32 of Windows 7 and later: the message reaches a window run as administrator
void admitMessage(HWND window, UINT message);
// dwmapi: false where the system cannot tell (Windows XP, Wine)
bool windowAttribute(HWND window, DWORD attribute, void* value, DWORD size);

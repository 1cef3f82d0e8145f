// The skin: its regions and built-in layout, loading images and masks, painting the window.
#pragma once

#include <windows.h>

// Layout and regions
void buildDefaultLayout();
HRGN finishLayout();
void freeSkinRegions(HWND window);
void blitSkinRegion(HDC target, HRGN destination, HRGN source);
HRGN createRegion(int left, int top, int right, int bottom);
HRGN windowPixels(HRGN region);
void shapeWindow(HWND window, UINT flags);

// Loading
bool loadSkin(HWND window, char* path);
// The region slot a mask colour marks, or null for a colour that is no area.
HRGN* maskAreaRegion(COLORREF color);
void scanMask(HBITMAP mask, int width, int height);
void finishMaskAreas();
void chooseUserSkin(HWND window);
void onDropFiles(HWND window, HDROP drop);

// Painting
void showOnWindow(HDC source, HRGN region, HRGN from);
void presentBackBuffer(HRGN region);
HDC shownWindowDC();
void refreshColorDisplay(HRGN region);
void releaseChannelButton();
void drawButton(int index, bool pressed);
void showSplash(HWND window);
void endSplash(HWND window);
void changeSkin(HWND window, char* path);

// The skin: its regions and built-in layout, loading images and masks, painting the window.
#pragma once

#include <windows.h>

// Layout and regions
HRGN buildShapeFromKey();
void buildDefaultLayout();
HRGN finishLayout();
void freeSkinRegions(HWND window);
void blitSkinRegion(HDC target, HRGN destination, HRGN source);
HRGN createRegion(int left, int top, int right, int bottom);
void combineInto(HRGN* target, HRGN source);

// Loading
bool loadSkin(HWND window, char* path);
bool addMaskRun(int x, int y, int length, COLORREF color);
void scanMask(HBITMAP mask, int width, int height);
void finishMaskAreas();
void chooseUserSkin(HWND window);
void onDropFiles(HWND window, HDROP drop);

// Painting
void presentBackBuffer(HRGN region);
void refreshColorDisplay(HRGN region);
void drawFieldText(const struct ValueField& field);
void releaseChannelButton();
void drawButton(int index, bool pressed);
void showSplash(HWND window);
void endSplash(HWND window);
void changeSkin(HWND window, char* path);

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
// A window shape of 32,768 rectangles or more ends the process with an X error under Wine
// (measured: a 250 x 250 checkerboard of 31,250 shows, a 256 x 256 one does not). Half of
// that is still eight times what a round 2048 x 2048 window needs.
const DWORD maxShapeRectangles = 16384;
// A mask whose shape passes shapeLimit rectangles leaves no area: the scan stops there.
void scanMask(HBITMAP mask, int width, int height, DWORD shapeLimit = maxShapeRectangles);
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

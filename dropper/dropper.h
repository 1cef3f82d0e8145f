// Pointer interaction and the eye-dropper: press modes, picking, sampling the screen.
#pragma once

#include <windows.h>

void onLeftButtonDown(HWND window, WPARAM wParam, LPARAM lParam);
void onPressedMove(HWND window, WPARAM wParam, LPARAM lParam);
void onLeftButtonUp(HWND window, WPARAM wParam, LPARAM lParam);
void onLeftDoubleClick(HWND window, WPARAM wParam, LPARAM lParam);
void onRightButtonUp(HWND window, WPARAM wParam, LPARAM lParam);
void trackTitleButtons(LPARAM lParam);
void onDropperDelay(HWND window);
void startDropper(HWND window);
void acceptPress(HWND window);
void cancelPress(HWND window);

// Sampling and the zoom view
void layoutZoomView();
void sampleScreen();
COLORREF averageScreenColor(int x, int y, int side, COLORREF fallback);
COLORREF screenPixel(int x, int y, COLORREF fallback);
void freeSamplingBuffers();

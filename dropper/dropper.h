// Pointer interaction and the eye-dropper: press modes, picking, sampling the screen.
#pragma once

#include <windows.h>

void onLeftButtonDown(HWND window, WPARAM wParam, LPARAM lParam);
void onPressedMove(HWND window, WPARAM wParam, LPARAM lParam);
void onLeftButtonUp(HWND window, WPARAM wParam, LPARAM lParam);
void onLeftDoubleClick(HWND window, WPARAM wParam, LPARAM lParam);
void onRightButtonUp(HWND window, WPARAM wParam, LPARAM lParam);
void onCaptureChanged(HWND window, HWND newCapture);
void onDropperDelay(HWND window);
void acceptPress(HWND window);
void cancelPress(HWND window);
// WM_TABLET_QUERYSYSTEMGESTURESTATUS: whether a pen or finger held at a screen point is a right
// click, or the hold that picks or repeats.
LRESULT onGestureQuery(LPARAM point);
// A pick, a held channel button or scrubbing is under way.
bool pointerActionInProgress();

// Sampling and the zoom view
void layoutZoomView();
// One tick of a pick at cursorPos, which the pointer messages keep.
void sampleScreen();
// The mean of the side x side square around a screen point, clipped to the desktop and
// leaving out the program's own zoomRegion; a side of 1 or less reads the one pixel.
// fallback when nothing could be read.
COLORREF averageScreenColor(int x, int y, int side, COLORREF fallback);
// Gives back the screen's DC a pick holds; the next read takes it again.
void releaseScreen();
void freeSamplingBuffers();

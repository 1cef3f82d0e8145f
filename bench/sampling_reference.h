// The slow, obvious way to average the screen: one window lookup and GetPixel per pixel.
// The tests compare the program's one-copy sampling with it; the benchmark times both.
#pragma once

#include <windows.h>
#include <algorithm>

// A pixel as the window under it reads it; CLR_INVALID's low bytes count as white.
inline COLORREF referencePixel(int x, int y)
{
    POINT p = { x, y };
    HWND under = WindowFromPoint(p);
    HDC dc = GetWindowDC(under);
    RECT r = {};
    GetWindowRect(under, &r);
    COLORREF c = GetPixel(dc, x - r.left, y - r.top);
    ReleaseDC(under, dc);
    return c;
}

// The n x n square around (x, y) clipped to the desktop (right and bottom exclusive, the
// screen's last column and row included), leaving out points of skip (window coordinates
// relative to origin). Returns fallback when no point is left; *counted gets the count.
inline COLORREF referenceAverage(int x, int y, int n, HRGN skip, POINT origin, COLORREF fallback,
                                 unsigned* counted = nullptr)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int left = std::max(x - n / 2, int(desktop.left)), top = std::max(y - n / 2, int(desktop.top));
    int right = std::min(x - n / 2 + n, int(desktop.right)), bottom = std::min(y - n / 2 + n, int(desktop.bottom));
    unsigned count = 0, red = 0, green = 0, blue = 0;
    for (int px = left; px < right; px++) {
        for (int py = top; py < bottom; py++) {
            if (skip && PtInRegion(skip, px - origin.x, py - origin.y))
                continue;
            COLORREF c = referencePixel(px, py);
            red += c & 0xFF;
            green += (c >> 8) & 0xFF;
            blue += (c >> 16) & 0xFF;
            count++;
        }
    }
    if (counted)
        *counted = count;
    if (count == 0)
        return fallback;
    return RGB(red / count, green / count, blue / count);
}

// The colour the pattern window shows at a screen point: every neighbour differs, and
// the screen's last column and row differ from the ones before them.
inline COLORREF patternColor(int x, int y)
{
    return RGB((x * 37 + y * 11) & 0xFF, (x * 5 + y * 29 + 64) & 0xFF, ((x ^ y) * 7 + 3) & 0xFF);
}

// A topmost popup window of this process that paints patternColor over the whole screen.
class PatternWindow {
public:
    PatternWindow()
    {
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        BITMAPINFO info = { { sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 }, {} };
        void* bits = nullptr;
        picture = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        DWORD* pixels = static_cast<DWORD*>(bits);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                COLORREF c = patternColor(x, y);
                pixels[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "huebrickPatternWindow";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "huebrickPatternWindow", "pattern",
                                 WS_POPUP | WS_VISIBLE, 0, 0, width, height, NULL, NULL, windowClass.hInstance, NULL);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture));
        InvalidateRect(window, NULL, FALSE);
        UpdateWindow(window);
    }
    ~PatternWindow()
    {
        DestroyWindow(window);
        UnregisterClassA("huebrickPatternWindow", GetModuleHandleA(NULL));
        DeleteObject(picture);
    }
    HWND window = NULL;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message != WM_PAINT)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        HBITMAP picture = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, picture);
        RECT r;
        GetClientRect(hwnd, &r);
        BitBlt(dc, 0, 0, r.right, r.bottom, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        EndPaint(hwnd, &paint);
        return 0;
    }
    HBITMAP picture = NULL;
};

// A plain window for the end-to-end tests: a known colour at a known place, to pick colours
// from and to snap to. usage: huebrick_testwindow X Y WIDTH HEIGHT RRGGBB [TITLE]
#include <windows.h>
#include <cstdio>
#include <cstdlib>

static COLORREF fill;

static LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT r;
        GetClientRect(window, &r);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CLOSE:
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv)
{
    if (argc < 6) {
        fprintf(stderr, "usage: %s X Y WIDTH HEIGHT RRGGBB [TITLE]\n", argv[0]);
        return 2;
    }
    unsigned long rgb = strtoul(argv[5], NULL, 16);
    fill = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = testWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.lpszClassName = "huebrickTestWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "huebrickTestWindow", argc > 6 ? argv[6] : "Huebrick test window",
                                  WS_POPUP | WS_VISIBLE, atoi(argv[1]), atoi(argv[2]), atoi(argv[3]),
                                  atoi(argv[4]), NULL, NULL, windowClass.hInstance, NULL);
    if (!window)
        return 1;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

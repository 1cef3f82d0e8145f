// The yardstick of the start-up benchmark: the least a Win32 program does to show a
// painted 83 x 132 popup window.
#include <windows.h>

static LRESULT CALLBACK minimalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = minimalProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "minimalWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "minimalWindow", "minimal", WS_POPUP | WS_VISIBLE, 100, 100, 83, 132, NULL, NULL,
                                  instance, NULL);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

// A plain window for the end-to-end tests: known colours at a known place, to pick from and to
// snap to. usage: huebrick_testwindow X Y WIDTH HEIGHT RRGGBB/RRGGBB/RRGGBB/RRGGBB TITLE
// The four colours fill quadrants (top left, top right, bottom left, bottom right) meeting at the centre.
// A WIDTH of 0 makes the window hidden: it only keeps Wine's desktop open (see scripts/test.sh).
#include <windows.h>
#include <cstdio>
#include <cstdlib>

static COLORREF fills[4];

static LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        int midX = client.right / 2, midY = client.bottom / 2;
        for (int i = 0; i < 4; i++) {
            RECT r = { i % 2 ? midX : 0, i / 2 ? midY : 0, i % 2 ? client.right : midX, i / 2 ? client.bottom : midY };
            SetBkColor(dc, fills[i]);
            ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, NULL, 0, NULL); // fills r, no brush to make and delete
        }
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv)
{
    unsigned rgb[4];
    if (argc < 7 || sscanf(argv[5], "%x/%x/%x/%x", &rgb[0], &rgb[1], &rgb[2], &rgb[3]) != 4)
        return 2;
    for (int i = 0; i < 4; i++)
        fills[i] = RGB(rgb[i] >> 16, rgb[i] >> 8, rgb[i]);
    // Placed and painted in screen pixels: unaware of the DPI, it would be scaled on a scaled display
    // (Wine 10 does, as Windows does; Wine 8 never scales).
    typedef BOOL(WINAPI * SetAwareness)(HANDLE);
    if (SetAwareness setAwareness = reinterpret_cast<SetAwareness>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")))
        setAwareness(reinterpret_cast<HANDLE>(-4)); // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass = { 0, testWindowProc, 0, 0, instance, NULL, NULL, NULL, NULL, "huebrickTestWindow" };
    RegisterClassA(&windowClass);
    int width = atoi(argv[3]);
    CreateWindowExA(0, "huebrickTestWindow", argv[6], WS_POPUP | (width ? WS_VISIBLE : 0), atoi(argv[1]), atoi(argv[2]),
                    width, atoi(argv[4]), NULL, NULL, instance, NULL); // if it fails, the harness times out
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

// A plain window for the end-to-end tests: known colours at a known place, to pick from and to
// snap to. usage: huebrick_testwindow X Y WIDTH HEIGHT RRGGBB[/RRGGBB/RRGGBB/RRGGBB] TITLE
// Four colours make four quadrants (top left, top right, bottom left, bottom right) meeting at
// the centre; one colour fills the whole window.
#include <windows.h>
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
            HBRUSH brush = CreateSolidBrush(fills[i]);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv)
{
    if (argc < 7)
        return 2;
    const char* colour = argv[5];
    for (int i = 0; i < 4; i++) {
        char* end;
        unsigned long rgb = strtoul(colour, &end, 16);
        fills[i] = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        if (*end == '/')
            colour = end + 1;    // otherwise the last colour fills the rest
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = testWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "huebrickTestWindow";
    RegisterClassA(&windowClass);
    if (!CreateWindowExA(0, "huebrickTestWindow", argv[6], WS_POPUP | WS_VISIBLE, atoi(argv[1]), atoi(argv[2]),
                         atoi(argv[3]), atoi(argv[4]), NULL, NULL, windowClass.hInstance, NULL))
        return 1;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

// Cost of one eye-dropper sampling tick beside one bare screen read of the same size (the
// limit) and beside the pixel-by-pixel way (a window lookup, its device context and
// GetPixel for every pixel), measured in the same run, over a window of this process, a
// window of another process and the bare desktop.
// Needs a display: run it under Wine with an X server.
#include "app/app.h"
#include "app/appstate.h"
#include "dropper/dropper.h"
#include "res/resource.h"
#include "bench/sampling_reference.h"
#include "skin/pixels.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

static double now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds a call, the median of seven batches of about budget / 7 ms each, so that
// other work on the machine shows less.
template <typename Work> static double msPerCall(Work work, double budget)
{
    work(); // warm: buffers are made on first use
    std::vector<double> batches;
    for (int b = 0; b < 7; b++) {
        int calls = 0;
        double start = now(), elapsed = 0;
        do {
            work();
            calls++;
            elapsed = now() - start;
        } while (elapsed < budget / 7);
        batches.push_back(elapsed / calls);
    }
    std::sort(batches.begin(), batches.end());
    return batches[3];
}

static void pumpFor(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    MSG message;
    do {
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

static bool screenShows(int x, int y, COLORREF color)
{
    for (int i = 0; i < 200; i++) {
        HDC screen = GetDC(NULL);
        COLORREF c = GetPixel(screen, x, y);
        ReleaseDC(NULL, screen);
        if (c == color)
            return true;
        pumpFor(25);
    }
    return false;
}

// A full-screen plain window of another process, from the end-to-end tests' helper program.
static bool startOtherWindow(PROCESS_INFORMATION* process)
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string dir = path;
    dir = dir.substr(0, dir.find_last_of("\\/") + 1);
    std::string exe = dir + "..\\tests\\huebrick_testwindow.exe";
    char size[64];
    snprintf(size, sizeof size, " 0 0 %d %d 3366CC/3366CC/3366CC/3366CC \"sampling bench\"",
             GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::string command = "\"" + exe + "\"" + size;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, process))
        return false;
    return screenShows(300, 300, RGB(0x33, 0x66, 0xCC));
}

static void stopOtherWindow(PROCESS_INFORMATION* process)
{
    HWND other = FindWindowA(NULL, "sampling bench");
    if (other)
        PostMessageA(other, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process->hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(process->hProcess, 1);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
}

static const int sides[] = { 1, 3, 9, 21 };
static const int x = 300, y = 300;

// The averaging alone, both ways; returns the cost of each side in averageCost and referenceCost.
static void averagingTable(const char* over, double averageCost[4], double referenceCost[4])
{
    POINT origin = { app.windowRect.left, app.windowRect.top };
    printf("\naveraging over %s, ms a call\n", over);
    printf("%-6s %12s %16s %9s\n", "side", "one copy", "pixel by pixel", "faster");
    for (int i = 0; i < 4; i++) {
        int n = sides[i];
        COLORREF fast = averageScreenColor(x, y, n, 0xFFFFFFFF);
        COLORREF slow = referenceAverage(x, y, n, app.zoomRegion, origin, 0xFFFFFFFF);
        averageCost[i] = msPerCall([&] { averageScreenColor(x, y, n, 0); }, 300);
        referenceCost[i] = msPerCall([&] { referenceAverage(x, y, n, app.zoomRegion, origin, 0); }, 700);
        printf("%-6d %12.4f %16.3f %8.0fx%s\n", n, averageCost[i], referenceCost[i], referenceCost[i] / averageCost[i],
               fast == slow ? "" : "  (the colours differ!)");
    }
}

// The least a tick can cost: one bare copy of the same size from the screen into a DIB
// section, the screen's DC taken once beforehand.
static double screenReadCost(int width, int height)
{
    PixelBuffer buffer;
    HDC screen = GetDC(NULL);
    if (!screen || !createPixelBuffer(&buffer, width, height))
        return 0;
    double cost = msPerCall(
        [&] { BitBlt(buffer.dc, 0, 0, width, height, screen, x - width / 2, y - height / 2, SRCCOPY); }, 300);
    freePixelBuffer(&buffer);
    ReleaseDC(NULL, screen);
    return cost;
}

// Whole ticks: the colour, the magnified view or the solid colour, the fields and the title,
// beside one bare screen read of the size the tick reads (the view's source and the square).
// The pixel-by-pixel tick is the same tick with its averaging swapped for the slow one.
static std::vector<double> tickTable(const char* over, const double averageCost[4], const double referenceCost[4])
{
    std::vector<double> ratios;
    POINT pointer;
    double pointerCost = msPerCall([&] { GetCursorPos(&pointer); }, 300);
    printf("\nwhole sampling tick over %s, ms a tick (GetCursorPos, the pointer still, which a tick no longer "
           "calls: %.4f ms)\n",
           over, pointerCost);
    printf("%-6s %-5s %10s %10s %12s %16s %9s\n", "side", "zoom", "tick", "one read", "tick / read", "pixel by pixel",
           "faster");
    for (int z : { 0, 4, 16 }) {
        app.activeZoom = z;
        if (z)
            layoutZoomView();
        for (int i = 0; i < 4; i++) {
            app.antiDitherTol = sides[i];
            double tick = msPerCall([] { sampleScreen(); }, 300);
            int width = std::max(sides[i], z ? int(app.zoomLayout.sourceWidth) : 1);
            int height = std::max(sides[i], z ? int(app.zoomLayout.sourceHeight) : 1);
            double read = screenReadCost(width, height);
            double slowTick = tick - averageCost[i] + referenceCost[i];
            printf("%-6d %-5d %10.4f %10.4f %12.2f %16.3f %8.0fx\n", sides[i], z, tick, read, tick / read, slowTick,
                   slowTick / tick);
            ratios.push_back(tick / read);
        }
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios;
}

// The window at a whole factor, as a move onto a monitor of that DPI would leave it.
static void setFactor(HWND window, int factor)
{
    RECT r = { app.windowRect.left, app.windowRect.top, app.windowRect.left + faceWidth * factor,
               app.windowRect.top + faceHeight * factor };
    SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(96 * factor, 96 * factor), LPARAM(&r));
    app.zoomRegion = app.displayRegion;
}

int main()
{
    HWND window = NULL;
    HACCEL accelerators = NULL;
    int exitCode = 0;
    if (!createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL, &window, &accelerators, &exitCode)) {
        printf("the main window could not be made\n");
        return 1;
    }
    UpdateWindow(window); // its first paint: from here on pictures go to the window too
    if (app.splashShowing)
        onTimer(window, TIMER_SPLASH);
    // A pick over the whole display, the pointer well away from the program's own window.
    SetCursorPos(x, y);
    app.cursorPos = { x, y }; // as the pointer message of a pick would leave it
    GetWindowRect(window, &app.windowRect);
    app.splitScreen = false;
    app.stickyZoom = false;
    app.dropperInBottomHalf = false;
    app.zoomRegion = app.displayRegion;
    printf("sampling at %d,%d; the program's window at %ld,%ld\n", x, y, app.windowRect.left, app.windowRect.top);

    double averageCost[4], referenceCost[4];
    {
        PatternWindow pattern;
        if (!screenShows(x, y, patternColor(x, y)))
            printf("(the pattern window did not show)\n");
        averagingTable("a window of this process", averageCost, referenceCost);
        tickTable("a window of this process", averageCost, referenceCost);
    }
    PROCESS_INFORMATION other = {};
    if (startOtherWindow(&other)) {
        averagingTable("a window of another process", averageCost, referenceCost);
        // The window at factor 1 and 2: the back buffer is composed alike, presenting it differs.
        std::vector<double> ratios[2];
        for (int factor : { 1, 2 }) {
            setFactor(window, factor);
            printf("\nthe window at factor %d (%ld x %ld)", factor, app.windowRect.right - app.windowRect.left,
                   app.windowRect.bottom - app.windowRect.top);
            ratios[factor - 1] = tickTable("a window of another process", averageCost, referenceCost);
        }
        for (int factor : { 1, 2 }) {
            const std::vector<double>& r = ratios[factor - 1];
            printf("tick / read at factor %d: median %.2f (%.2f to %.2f, %zu rows)\n", factor, r[r.size() / 2], r[0],
                   r.back(), r.size());
        }
        setFactor(window, 1);
        stopOtherWindow(&other);
    } else {
        printf("\n(the other process's window did not start)\n");
    }
    pumpFor(200);
    averagingTable("the bare desktop (no window)", averageCost, referenceCost);

    freeSamplingBuffers();
    // Torn down without the close command, which would save settings.
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    DestroyWindow(window);
    DestroyMenu(app.mainMenu);
    return 0;
}

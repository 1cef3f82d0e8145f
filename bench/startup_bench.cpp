// Start-up and idle cost: how long huebrick.exe takes from process start until its window
// is painted and waiting for input, beside a minimal window program in the same run; and
// how often the program wakes while nothing happens.
// usage: startup_bench HUEBRICK_EXE MINIMAL_EXE [RUNS]
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

static double now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from CreateProcess until the program's thread first waits for input, which
// it does only after its first paint has been handled.
static double timeStart(const char* exe)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    char command[MAX_PATH + 2];
    snprintf(command, sizeof command, "\"%s\"", exe);
    double start = now();
    if (!CreateProcessA(exe, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "cannot start %s\n", exe);
        exit(1);
    }
    WaitForInputIdle(process.hProcess, 30000);
    double elapsed = now() - start;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return elapsed;
}

static double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the real window in this process and counts the messages its loop receives while
// the program sits idle after the splash has gone.
static void measureIdle()
{
    HWND window;
    HACCEL accelerators;
    int exitCode;
    if (!createMainWindow(GetModuleHandleA(NULL), SW_SHOWNORMAL, &window, &accelerators, &exitCode))
        return;
    DWORD settle = GetTickCount();
    MSG message;
    while (GetTickCount() - settle < 1500) { // past the one-second splash
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    int wakeUps = 0, timers = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 2000) {
        if (MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) {
            while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
                wakeUps++;
                timers += message.message == WM_TIMER;
                DispatchMessageA(&message);
            }
        }
    }
    printf("idle: %d messages (%d timer ticks) in 2 s after the splash\n", wakeUps, timers);
    closeWindow(window);
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s HUEBRICK_EXE MINIMAL_EXE [RUNS]\n", argv[0]);
        return 2;
    }
    int runs = argc > 3 ? atoi(argv[3]) : 31;
    WIN32_FILE_ATTRIBUTE_DATA file;
    if (GetFileAttributesExA(argv[1], GetFileExInfoStandard, &file))
        printf("%s: %lu bytes\n", argv[1], file.nFileSizeLow);
    timeStart(argv[1]); // warm the caches and the Wine server once for each
    timeStart(argv[2]);
    std::vector<double> huebrick, minimal;
    for (int i = 0; i < runs; i++) {
        huebrick.push_back(timeStart(argv[1]));
        minimal.push_back(timeStart(argv[2]));
    }
    double h = median(huebrick), m = median(minimal);
    printf("start-up to first paint (median of %d): huebrick %.1f ms, minimal window %.1f ms, ratio %.2f\n", runs, h, m,
           h / m);
    measureIdle();
    return 0;
}

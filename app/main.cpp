// The process entry: start the window and run its message loop.
#include "app/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    HWND window;
    HACCEL accelerators;
    int exitCode;
    if (!createMainWindow(instance, showCommand, &window, &accelerators, &exitCode))
        return exitCode;
    return runMessageLoop(window, accelerators);
}

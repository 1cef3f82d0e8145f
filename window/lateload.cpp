// The shell, common dialog and common controls DLLs, loaded when first used.
#include "window/lateload.h"
#include "app/appstate.h"

#include <commctrl.h>

// The DLL stays loaded until the process ends. A comctl32 loaded here is still the
// manifest's version 6: the exe's manifest is the process's default activation context.
static FARPROC lateFunction(HMODULE* module, const char* dll, const char* name)
{
    if (!*module)
        *module = LoadLibraryA(dll);
    return *module ? GetProcAddress(*module, name) : NULL;
}

static FARPROC shellFunction(const char* name)
{
    return lateFunction(&app.shellModule, "shell32.dll", name);
}

void notifyIcon(DWORD message, NOTIFYICONDATAA* data)
{
    typedef BOOL(WINAPI * Function)(DWORD, NOTIFYICONDATAA*);
    Function function = reinterpret_cast<Function>(shellFunction("Shell_NotifyIconA"));
    if (function)
        function(message, data);
}

UINT dragQueryFile(HDROP drop, UINT index, char* file, UINT size)
{
    typedef UINT(WINAPI * Function)(HDROP, UINT, char*, UINT);
    Function function = reinterpret_cast<Function>(shellFunction("DragQueryFileA"));
    return function ? function(drop, index, file, size) : 0;
}

void dragFinish(HDROP drop)
{
    typedef void(WINAPI * Function)(HDROP);
    Function function = reinterpret_cast<Function>(shellFunction("DragFinish"));
    if (function)
        function(drop);
}

void openInShell(const char* file)
{
    typedef HINSTANCE(WINAPI * Function)(HWND, const char*, const char*, const char*, const char*, INT);
    Function function = reinterpret_cast<Function>(shellFunction("ShellExecuteA"));
    if (function)
        function(NULL, "open", file, NULL, NULL, SW_SHOWDEFAULT);
}

UINT windowDpi(HWND window)
{
    typedef UINT(WINAPI * Function)(HWND);
    Function function = reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow"));
    UINT dpi = function && window ? function(window) : 0;
    if (dpi == 0) {
        HDC screen = GetDC(NULL);
        dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(NULL, screen);
    }
    return dpi;
}

BOOL getOpenFileName(OPENFILENAMEA* dialog)
{
    typedef BOOL(WINAPI * Function)(OPENFILENAMEA*);
    Function function = reinterpret_cast<Function>(lateFunction(&app.dialogModule, "comdlg32.dll", "GetOpenFileNameA"));
    return function ? function(dialog) : FALSE;
}

void initCommonControls()
{
    typedef BOOL(WINAPI * Function)(const INITCOMMONCONTROLSEX*);
    Function function
        = reinterpret_cast<Function>(lateFunction(&app.controlsModule, "comctl32.dll", "InitCommonControlsEx"));
    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_WIN95_CLASSES };
    if (function)
        function(&controls);
}

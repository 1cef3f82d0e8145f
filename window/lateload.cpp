// The DLLs of the shell, common dialogs, common controls, the window manager and COM, loaded
// when first used.
#include "window/lateload.h"
#include "app/appstate.h"

#include <commctrl.h>
#include <objbase.h>

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

static BOOL WINAPI noNotifyIcon(DWORD, NOTIFYICONDATAA*)
{
    return FALSE;
}

BOOL notifyIcon(DWORD message, NOTIFYICONDATAA* data)
{
    if (!app.shellNotifyIcon) {
        FARPROC found = shellFunction("Shell_NotifyIconA");
        app.shellNotifyIcon = found ? reinterpret_cast<decltype(app.shellNotifyIcon)>(found) : noNotifyIcon;
    }
    return app.shellNotifyIcon(message, data);
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

// The shell's handlers may need COM on the calling thread: set up once, kept to the end. A
// protocol no program handles does nothing, rather than offer to find an app for it.
void openInShell(const char* file)
{
    if (!app.comModule) {
        typedef HRESULT(WINAPI * Initialize)(void*, DWORD);
        Initialize initialize
            = reinterpret_cast<Initialize>(lateFunction(&app.comModule, "ole32.dll", "CoInitializeEx"));
        if (initialize)
            initialize(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    }
    typedef BOOL(WINAPI * Function)(SHELLEXECUTEINFOA*);
    Function function = reinterpret_cast<Function>(shellFunction("ShellExecuteExA"));
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_FLAG_NO_UI;
    execute.lpVerb = "open";
    execute.lpFile = file;
    execute.nShow = SW_SHOWDEFAULT;
    if (function)
        function(&execute);
}

static UINT WINAPI noDpiForWindow(HWND)
{
    return 0;
}

UINT windowDpi(HWND window)
{
    if (!app.getDpiForWindow) {
        FARPROC found = GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
        app.getDpiForWindow = found ? reinterpret_cast<decltype(app.getDpiForWindow)>(found) : noDpiForWindow;
    }
    UINT dpi = window ? app.getDpiForWindow(window) : 0;
    if (dpi == 0) {
        HDC screen = GetDC(NULL);
        dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(NULL, screen);
    }
    return dpi;
}

// In a process aware of each monitor's DPI, GetSystemMetrics answers at the DPI of the sign-in.
int metricForDpi(int index, UINT dpi)
{
    typedef int(WINAPI * Function)(int, UINT);
    Function function
        = reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi"));
    return function ? function(index, dpi) : GetSystemMetrics(index);
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

void admitMessage(HWND window, UINT message)
{
    typedef BOOL(WINAPI * Function)(HWND, UINT, DWORD, void*);
    Function function
        = reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx"));
    if (function)
        function(window, message, 1, NULL); // MSGFLT_ALLOW
}

static HRESULT WINAPI noWindowAttribute(HWND, DWORD, void*, DWORD)
{
    return E_NOTIMPL;
}

// Asked for every window on every move of a drag: a missing DLL is looked for once.
bool windowAttribute(HWND window, DWORD attribute, void* value, DWORD size)
{
    if (!app.dwmGetWindowAttribute) {
        FARPROC found = lateFunction(&app.dwmModule, "dwmapi.dll", "DwmGetWindowAttribute");
        app.dwmGetWindowAttribute
            = found ? reinterpret_cast<decltype(app.dwmGetWindowAttribute)>(found) : noWindowAttribute;
    }
    return SUCCEEDED(app.dwmGetWindowAttribute(window, attribute, value, size));
}

// Start-up and shut-down: the single-instance rule, the window's creation and destruction.
#include "app/app.h"
#include "app/appstate.h"
#include "app/settingsrules.h"
#include "color/color.h"
#include "dropper/dropper.h"
#include "res/resource.h"
#include "skin/skin.h"
#include "window/lateload.h"
#include "window/window.h"

static const char* const windowClassName = "huebrickWin";

// Another instance holds the mutex: with singleInstance the running one is asked forward and
// this start ends; otherwise this one shares the mutex and goes on. A mutex this process may not
// open belongs to an instance run as administrator.
static bool claimInstance(int* exitCode)
{
    app.bringForwardMessage = RegisterWindowMessageA("Huebrick.BringForward");
    SECURITY_ATTRIBUTES security = { sizeof security, NULL, TRUE };
    app.instanceMutex = CreateMutexA(&security, TRUE, "HUEBRICK.INSTANCE.MUTEX");
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && !(error == ERROR_ACCESS_DENIED && !app.instanceMutex))
        return true;
    if (app.singleInstance) {
        // The foreground lock lets this new process take the foreground, not the older one: this
        // one allows it, and the running one restores and raises itself.
        HWND running = FindWindowA(windowClassName, NULL);
        DWORD process = 0;
        if (running && GetWindowThreadProcessId(running, &process)) {
            AllowSetForegroundWindow(process);
            PostMessageA(running, app.bringForwardMessage, 0, 0);
        }
        *exitCode = 0;
        return false;
    }
    app.instanceMutex = OpenMutexA(MUTEX_ALL_ACCESS, TRUE, "HUEBRICK.INSTANCE.MUTEX");
    return true;
}

// A second start asked this window forward. Minimised or hidden in the tray it comes back as a
// click on the tray icon brings it, before it takes the foreground.
void onBringForward(HWND window)
{
    if (IsIconic(window) || !IsWindowVisible(window))
        SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(window);
}

static void registerWindowClass()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC | CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = app.appInstance;
    windowClass.hIcon = LoadIconA(app.appInstance, "RES_GFX_ICON_APP");
    // Named here, the small icon is taken from the same resource; left out, the system
    // derives it by loading the resource again, three times the cost under Wine.
    windowClass.hIconSm
        = static_cast<HICON>(LoadImageA(app.appInstance, "RES_GFX_ICON_APP", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = windowClassName;
    if (!RegisterClassExA(&windowClass))
        fatal(-2);
}

bool createMainWindow(HINSTANCE instance, int showCommand, HWND* window, HACCEL* accelerators, int* exitCode)
{
    if (!loadSettings(instance))
        fatal(-2);
    if (!claimInstance(exitCode))
        return false;

    registerWindowClass();
    *accelerators = LoadAcceleratorsA(app.appInstance, "RES_MENU_ACCL");
    if (!*accelerators)
        fatal(-2);

    *window
        = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_ACCEPTFILES, windowClassName, "Huebrick",
                          WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX, app.windowRect.left, app.windowRect.top,
                          faceWidth * app.scale, faceHeight * app.scale, NULL, NULL, app.appInstance, NULL);
    if (!*window)
        fatal(-2);
    ShowWindow(*window, showCommand);

    // A start that did not get the foreground goes directly behind the window that has it;
    // not when always on top, since going behind a plain window would end that.
    HWND foreground = GetForegroundWindow();
    if (foreground != *window && !app.alwaysOnTop)
        SetWindowPos(*window, foreground, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    return true;
}

int runMessageLoop(HWND window, HACCEL accelerators)
{
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        if (!TranslateAcceleratorA(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DestroyMenu(app.mainMenu);
    app.mainMenu = NULL;
    return static_cast<int>(message.wParam);
}

// A saved place on no monitor's work area (that monitor may be gone) is given up for
// the primary work area's centre, measured from the screen origin as for a first start.
static void recentreIfOffScreen(HWND window)
{
    RECT& r = app.windowRect;
    if (isOnSomeWorkArea(r))
        return;
    int32_t width = r.right - r.left, height = r.bottom - r.top;
    int32_t left, top;
    defaultWindowPosition(app.workArea.left, app.workArea.top, app.workArea.right, app.workArea.bottom, width, height,
                          &left, &top);
    SetRect(&r, left, top, left + width, top + height);
    SetWindowPos(window, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// At start each setting that acts on the window is cleared and toggled on again, so start-up
// and the menu share one path for their side effects.
static void applyLoadedSettings(HWND window)
{
    // clang-format off
    if (app.alwaysOnTop) { app.alwaysOnTop = false; toggleAlwaysOnTop(window); }
    if (app.snapTol != 0) { app.snapTol = 0; toggleSnap(window); }
    if (app.inSystemTray) { app.inSystemTray = false; toggleSystemTray(window); }
    // clang-format on
}

void onCreate(HWND window)
{
    // Run as administrator, the window hears these from the shell and other programs only so.
    const UINT messages[] = { RegisterWindowMessageA("TaskbarCreated"), app.bringForwardMessage, WM_DROPFILES,
                              WM_COPYDATA, 0x0049 }; // 0x0049: the data of a drop
    for (UINT message : messages)
        admitMessage(window, message);
    app.windowDC = GetDC(window);
    if (!app.windowDC)
        fatal(-2);
    app.skinDC = createMemoryDC(app.windowDC, &app.skinDCStartBitmap);
    app.backDC = createMemoryDC(app.windowDC, &app.backDCStartBitmap);
    if (!app.skinDC || !app.backDC)
        fatal(-2);

    // The tooltip control and its DLL wait until the window is painted and idle: a timer's
    // message comes only when no paint is pending.
    SetTimer(window, TIMER_TOOLTIPS, USER_TIMER_MINIMUM, NULL);
    loadSkin(window, app.skinFileName);
    recentreIfOffScreen(window);
    SelectObject(app.backDC, app.valueFont);
    SetBkMode(app.backDC, TRANSPARENT);
    applyLoadedSettings(window);
    GetWindowRect(window, &app.windowRect); // the monitors and work areas were read a moment ago
    showSplash(window);
    setColor(currentColor(&app.history));
    refreshColorDisplay(app.displayRegion);
    rememberSavedSettings();
}

void onDestroy(HWND window)
{
    saveSettings();
    if (app.inSystemTray)
        notifyIcon(NIM_DELETE, &app.trayIconData);
    freeSkinRegions(window);
    setWindowIcons(window, 0);
    deleteMemoryDC(&app.skinDC, app.skinDCStartBitmap);
    deleteMemoryDC(&app.backDC, app.backDCStartBitmap);
    freeSamplingBuffers();
    if (app.toolTipWindow) {
        DestroyWindow(app.toolTipWindow);
        app.toolTipWindow = NULL;
    }
    DeleteObject(app.valueFont);
    app.valueFont = NULL;
    free(app.skinFileName);
    app.skinFileName = NULL;
    PostQuitMessage(0);
}

// At logoff or shutdown the process may end without WM_DESTROY; save what this
// session changed while the system still lets us.
void onEndSession(HWND, bool ending)
{
    if (ending)
        saveSettings();
}

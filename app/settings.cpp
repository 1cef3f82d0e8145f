// The settings store: defaults, the registry key read once at start, written soon after each
// change and at the close.
#include "app/app.h"
#include "app/appstate.h"
#include "app/settingsrules.h"
#include "res/resource.h"
#include "window/lateload.h"
#include "window/snapmath.h"
#include "window/window.h"

#include <cstring>

const char* const settingsKey = "Software\\Vexel\\Huebrick";

static void setDefaults()
{
    const RECT& work = app.workArea;
    app.scale = windowScale(windowDpi(NULL), work.right - work.left, work.bottom - work.top, faceWidth, faceHeight);
    int32_t x, y;
    defaultWindowPosition(work.left, work.top, work.right, work.bottom, faceWidth * app.scale, faceHeight * app.scale,
                          &x, &y);
    app.windowRect.left = x;
    app.windowRect.top = y;
    app.splitScreen = true;
    app.stickyZoom = false;
    app.autoFormat = true;
    app.colorFormat = 0;
    app.zoomFactor = 0;
    app.antiDitherTol = 0;
    app.alwaysOnTop = false;
    app.snapTol = 8;
    app.showToolTips = true;
    app.singleInstance = false;
    app.splashScreen = true;
    app.inSystemTray = false;
    app.skinFileName = NULL;
}

// "MS Sans Sherif" names no installed font on purpose: the font mapper then picks a
// sans-serif by the pitch and family given here.
static void createValueFont()
{
    app.valueFont = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Sherif");
    if (!app.valueFont)
        app.valueFont = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
}

// A value that is missing or larger than 4 bytes leaves the field as it is; a shorter
// one replaces only its own bytes, as the registry hands them over.
static void readNumber(HKEY key, const char* name, int* field)
{
    DWORD data = static_cast<DWORD>(*field);
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(&data), &size) == ERROR_SUCCESS)
        *field = static_cast<int>(data);
}

static void readFlag(HKEY key, const char* name, bool* field)
{
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(&data), &size) == ERROR_SUCCESS)
        *field = data != 0;
}

// Read into a scratch buffer first: the registry leaves a buffer's contents undefined
// when the value is too large, and a short value must not clobber the white entry.
static void readHistory(HKEY key)
{
    BYTE bytes[historySize * 4];
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, "colorHistory", NULL, NULL, bytes, &size) == ERROR_SUCCESS)
        loadHistoryBytes(&app.history, bytes, size);
}

static void readSkinFileName(HKEY key)
{
    DWORD size = 0;
    if (RegQueryValueExA(key, "skinFileName", NULL, NULL, NULL, &size) != ERROR_SUCCESS || !storedPathUsable(size))
        return;
    // One byte more than asked for, so the text ends with a NUL even when stored without one.
    char* text = static_cast<char*>(calloc(size + 1, 1));
    if (!text)
        return;
    if (RegQueryValueExA(key, "skinFileName", NULL, NULL, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS
        || text[0] == '\0') {
        free(text);
        return;
    }
    app.skinFileName = text;
}

bool loadSettings(HINSTANCE instance)
{
    app = AppState();
    app.appInstance = instance;
    resetHistory(&app.history);

    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &app.workArea, 0))
        fatal(-2);
    readMonitors();
    setDefaults();
    createValueFont();

    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, settingsKey, &key) == ERROR_SUCCESS) {
        int x = app.windowRect.left, y = app.windowRect.top;
        readNumber(key, "xPos", &x);
        readNumber(key, "yPos", &y);
        app.windowRect.left = usablePosition(x);
        app.windowRect.top = usablePosition(y);
        readHistory(key);
        readFlag(key, "splitScreen", &app.splitScreen);
        readFlag(key, "stickyZoom", &app.stickyZoom);
        readFlag(key, "autoFormat", &app.autoFormat);
        readNumber(key, "colorFormat", &app.colorFormat);
        readNumber(key, "zoomFactor", &app.zoomFactor);
        readNumber(key, "antiDitherTol", &app.antiDitherTol);
        readFlag(key, "alwaysOnTop", &app.alwaysOnTop);
        readNumber(key, "snapTol", &app.snapTol);
        readFlag(key, "showToolTips", &app.showToolTips);
        readFlag(key, "singleInstance", &app.singleInstance);
        readFlag(key, "splashScreen", &app.splashScreen);
        readFlag(key, "inSystemTray", &app.inSystemTray);
        readSkinFileName(key);
        RegCloseKey(key);
    }

    // Checked once here: everything after works with usable values only.
    app.storedZoomFactor = app.zoomFactor;
    app.storedAntiDitherTol = app.antiDitherTol;
    app.storedSnapTol = app.snapTol;
    app.zoomFactor = usableZoom(app.zoomFactor);
    app.antiDitherTol = usableAntiDither(app.antiDitherTol);
    app.snapTol = usableSnapTol(app.snapTol);
    app.savedSnapTol = savedSnapTolFor(app.snapTol);
    app.history.current = app.history.newest;
    return true;
}

// A stored number goes back as it was read while its usable value is still the one in use.
static DWORD storedOr(int current, int stored, int32_t (*usable)(int32_t))
{
    return static_cast<DWORD>(current == usable(stored) ? stored : current);
}

typedef void (*ValueVisitor)(void* context, const char* name, DWORD type, const void* data, DWORD size);

// Every value under the key, as the close writes them.
static void visitStoredValues(ValueVisitor visit, void* context)
{
    const struct {
        const char* name;
        DWORD value;
    } numbers[] = {
        { "xPos", static_cast<DWORD>(app.windowRect.left) },
        { "yPos", static_cast<DWORD>(app.windowRect.top) },
        { "splitScreen", app.splitScreen },
        { "stickyZoom", app.stickyZoom },
        { "autoFormat", app.autoFormat },
        { "colorFormat", static_cast<DWORD>(app.colorFormat) },
        { "zoomFactor", storedOr(app.zoomFactor, app.storedZoomFactor, usableZoom) },
        { "antiDitherTol", storedOr(app.antiDitherTol, app.storedAntiDitherTol, usableAntiDither) },
        { "alwaysOnTop", app.alwaysOnTop },
        { "snapTol", storedOr(app.snapTol, app.storedSnapTol, usableSnapTol) },
        { "showToolTips", app.showToolTips },
        { "singleInstance", app.singleInstance },
        { "splashScreen", app.splashScreen },
        { "inSystemTray", app.inSystemTray },
    };
    for (const auto& number : numbers)
        visit(context, number.name, REG_DWORD, &number.value, sizeof number.value);
    BYTE history[historySize * 4];
    visit(context, "colorHistory", REG_BINARY, history, static_cast<DWORD>(saveHistoryBytes(&app.history, history)));
    const char* skin = app.skinFileName ? app.skinFileName : "";
    visit(context, "skinFileName", REG_SZ, skin, static_cast<DWORD>(strlen(skin) + 1));
}

struct ValueWriter {
    HKEY key;
    bool written;
};

static void writeValue(void* context, const char* name, DWORD type, const void* data, DWORD size)
{
    ValueWriter* writer = static_cast<ValueWriter*>(context);
    // Each value is written whole or not at all.
    if (RegSetValueExA(writer->key, name, 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        writer->written = false;
}

bool saveSettings()
{
    ValueWriter writer = { NULL, true };
    if (RegCreateKeyA(HKEY_CURRENT_USER, settingsKey, &writer.key) != ERROR_SUCCESS)
        return false;
    visitStoredValues(writeValue, &writer);
    RegCloseKey(writer.key);
    return writer.written;
}

// FNV-1a over every value's size and bytes: whether anything the close would write has changed.
static void hashValue(void* context, const char*, DWORD, const void* data, DWORD size)
{
    uint64_t& hash = *static_cast<uint64_t*>(context);
    const BYTE* bytes = static_cast<const BYTE*>(data);
    hash = (hash ^ size) * 1099511628211ULL;
    for (DWORD i = 0; i < size; i++)
        hash = (hash ^ bytes[i]) * 1099511628211ULL;
}

static uint64_t storedValuesHash()
{
    uint64_t hash = 14695981039346656037ULL;
    visitStoredValues(hashValue, &hash);
    return hash;
}

void rememberSavedSettings()
{
    app.savedHash = storedValuesHash();
}

// Input that may have changed a stored value (a colour recorded, a setting, the place): it is
// written half a second after the last change of a burst, so a program ended from outside
// loses nothing older. A press under way is no change until it ends.
void saveSoon(HWND window)
{
    if (!app.leftButtonDown && storedValuesHash() != app.savedHash)
        SetTimer(window, TIMER_SAVE, 500, NULL);
}

// A write that fails is tried again at the next change and at the close.
void onSaveTimer(HWND window)
{
    KillTimer(window, TIMER_SAVE);
    uint64_t hash = storedValuesHash();
    if (!app.leftButtonDown && hash != app.savedHash && saveSettings())
        app.savedHash = hash;
}

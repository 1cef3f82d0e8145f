// The settings store against the real registry: the order the close writes in, values read
// back, the read rules for unusable values, and saving at the end of a session.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "res/resource.h"

#include <cstring>

// Records the names RegSetValueExA is called with, by patching this module's import of it.
static std::vector<std::string> writtenNames;
static decltype(&RegSetValueExA) realRegSetValueExA;

static LONG WINAPI recordingRegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                                           DWORD size)
{
    writtenNames.push_back(name ? name : "");
    return realRegSetValueExA(key, name, reserved, type, data, size);
}

static void** findImport(const char* dll, const char* function)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(NULL));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; d++) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), dll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return NULL;
}

class RecordWrites {
public:
    RecordWrites()
    {
        slot = findImport("advapi32.dll", "RegSetValueExA");
        if (!slot)
            return;
        realRegSetValueExA = reinterpret_cast<decltype(&RegSetValueExA)>(*slot);
        DWORD old;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
        *slot = reinterpret_cast<void*>(recordingRegSetValueExA);
        writtenNames.clear();
    }
    ~RecordWrites()
    {
        if (slot)
            *slot = reinterpret_cast<void*>(realRegSetValueExA);
    }
    void** slot;
};

// Wine lists values by name, so only a recording shows the order of the writes.
TEST_F(ProgramTest, CloseWritesAllSixteenValuesInOrder)
{
    startProgram();
    RecordWrites recorder;
    ASSERT_TRUE(recorder.slot);
    closeProgram();
    const std::vector<std::string> order = {
        "xPos", "yPos", "colorHistory", "splitScreen", "stickyZoom", "autoFormat", "colorFormat",
        "zoomFactor", "antiDitherTol", "alwaysOnTop", "snapTol", "showToolTips", "singleInstance",
        "splashScreen", "inSystemTray", "skinFileName",
    };
    EXPECT_EQ(order, writtenNames);
}

// Numbers come back as stored; a flag is any non-zero value and is written back as 1.
TEST_F(ProgramTest, StoredValuesComeBackAtTheNextClose)
{
    const struct { const char* name; DWORD stored, saved; } values[] = {
        { "xPos", 40, 40 }, { "yPos", 50, 50 }, { "zoomFactor", 16, 16 }, { "snapTol", 12, 12 },
        { "colorFormat", 7, 7 }, { "antiDitherTol", 21, 21 }, { "splitScreen", 0, 0 }, { "stickyZoom", 1, 1 },
        { "autoFormat", 0, 0 }, { "showToolTips", 0, 0 }, { "splashScreen", 0, 0 },
        { "alwaysOnTop", 0x100, 1 }, { "singleInstance", 0xFFFFFFFF, 1 },
    };
    for (const auto& v : values)
        setDword(v.name, v.stored);
    startProgram();
    EXPECT_TRUE(app.alwaysOnTop);
    EXPECT_TRUE(app.singleInstance);
    closeProgram();
    for (const auto& v : values)
        EXPECT_EQ(v.saved, queryDword(v.name)) << v.name;
}

// Snapping switched off saves a distance of 0; switched on again, it takes 8.
TEST_F(ProgramTest, SnappingDistanceSurvivesOnlyWhenSnappingIsOnAtTheClose)
{
    setDword("snapTol", 12);
    startProgram();
    onCommand(window, CMD_SNAP_TO_SCREEN);
    EXPECT_EQ(0, app.snapTol);
    EXPECT_FALSE(app.skinButtons[snapButton].pressed);
    onCommand(window, CMD_SNAP_TO_SCREEN);
    EXPECT_EQ(12, app.snapTol);
    onCommand(window, CMD_SNAP_TO_SCREEN);
    closeProgram();
    EXPECT_EQ(0u, queryDword("snapTol"));

    startProgram();
    EXPECT_EQ(0, app.snapTol);
    onCommand(window, CMD_SNAP_TO_SCREEN);
    EXPECT_EQ(8, app.snapTol);
    EXPECT_TRUE(app.skinButtons[snapButton].pressed);
}

TEST_F(ProgramTest, UnusableValuesLeaveTheirDefaults)
{
    const BYTE eight[8] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    setBinary("snapTol", eight, sizeof eight);      // larger than a number: ignored
    setBinary("colorFormat", eight, 2);             // shorter: taken byte for byte
    setString("skinFileName", "");
    startProgram();
    EXPECT_EQ(8, app.snapTol);
    EXPECT_EQ(0x0201, app.colorFormat);
    EXPECT_EQ(NULL, app.skinFileName);
    EXPECT_TRUE(menuChecked(CMD_DEFAULT_SKIN));
}

// A history value of whole colours up to the ring's size is taken; anything else leaves the
// single white entry.
TEST_F(ProgramTest, HistoryValueSizes)
{
    const struct { DWORD bytes; DWORD colors; } cases[] = {
        { 2, 1 }, { 4, 1 }, { 11, 2 }, { 4096, 1024 }, { 4100, 1 },
    };
    for (const auto& c : cases) {
        clearSettings();
        std::vector<BYTE> bytes(c.bytes);
        for (DWORD i = 0; i < c.bytes; i++)
            bytes[i] = static_cast<BYTE>(i % 4 == 3 ? 0 : i / 4 + i % 4);
        setBinary("colorHistory", bytes.data(), c.bytes);
        startProgram();
        EXPECT_EQ(0u, app.history.oldest) << c.bytes;
        EXPECT_EQ(c.colors - 1, app.history.newest) << c.bytes;
        EXPECT_EQ(app.history.newest, app.history.current) << c.bytes;
        COLORREF expected = c.colors == 1 && c.bytes != 4 ? 0xFFFFFF : app.history.entries[app.history.newest];
        EXPECT_EQ(expected, app.curColor) << c.bytes;
        if (c.colors == 1 && c.bytes != 4) {
            EXPECT_EQ(0xFFFFFFu, app.history.entries[0]) << c.bytes;
        }
        closeProgram();
    }
}

TEST_F(ProgramTest, EndOfSessionSavesWhatTheSessionChanged)
{
    startWithoutSplash();
    onChar(window, 'r');
    onKeyUp(window, 'R');
    onCommand(window, CMD_ZOOM_8X);
    SendMessageA(window, WM_ENDSESSION, FALSE, 0);     // the session goes on: nothing saved
    EXPECT_EQ(0xdeadbeefu, queryDword("zoomFactor"));
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(8u, queryDword("zoomFactor"));
    DWORD type;
    std::vector<BYTE> data;
    ASSERT_TRUE(queryValue("colorHistory", &type, &data));
    EXPECT_EQ((std::vector<BYTE>{ 0xFF, 0xFF, 0xFF, 0x00, 0xFE, 0xFF, 0xFF, 0x00 }), data);
}

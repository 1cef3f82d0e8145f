// The settings store against the real registry: read rules, defaults, what the close
// writes and in which order, and saving at the end of a session.
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

TEST_F(ProgramTest, CloseWritesAllSixteenValuesInOrderWithTheirTypes)
{
    startProgram();
    {
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

    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const struct { const char* name; DWORD value; } dwords[] = {
        { "xPos", static_cast<DWORD>((work.right - work.left) / 2 - 41) },
        { "yPos", static_cast<DWORD>((work.bottom - work.top) / 2 - 66) },
        { "splitScreen", 1 }, { "stickyZoom", 0 }, { "autoFormat", 1 }, { "colorFormat", 0 },
        { "zoomFactor", 0 }, { "antiDitherTol", 0 }, { "alwaysOnTop", 0 }, { "snapTol", 8 },
        { "showToolTips", 1 }, { "singleInstance", 0 }, { "splashScreen", 1 }, { "inSystemTray", 0 },
    };
    for (const auto& d : dwords)
        EXPECT_EQ(d.value, queryDword(d.name)) << d.name;

    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(queryValue("colorHistory", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    EXPECT_EQ((std::vector<BYTE>{ 0xFF, 0xFF, 0xFF, 0x00 }), data);
    ASSERT_TRUE(queryValue("skinFileName", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::vector<BYTE>{ 0 }, data);
}

TEST_F(ProgramTest, StoredValuesComeBackUnchangedAtTheNextClose)
{
    const struct { const char* name; DWORD value; } stored[] = {
        { "xPos", 40 }, { "yPos", 50 }, { "zoomFactor", 16 }, { "snapTol", 12 }, { "colorFormat", 7 },
        { "antiDitherTol", 21 }, { "splitScreen", 0 }, { "stickyZoom", 1 }, { "autoFormat", 0 },
        { "showToolTips", 0 }, { "splashScreen", 0 },
    };
    for (const auto& s : stored)
        setDword(s.name, s.value);
    startProgram();
    EXPECT_EQ(12, app.snapTol);
    EXPECT_EQ(7, app.colorFormat);
    closeProgram();
    for (const auto& s : stored)
        EXPECT_EQ(s.value, queryDword(s.name)) << s.name;
}

TEST_F(ProgramTest, FlagsAreNonZeroAndWrittenBackAsOne)
{
    setDword("alwaysOnTop", 0x100);
    setDword("singleInstance", 0xFFFFFFFF);
    startProgram();
    EXPECT_TRUE(app.alwaysOnTop);
    EXPECT_TRUE(app.singleInstance);
    closeProgram();
    EXPECT_EQ(1u, queryDword("alwaysOnTop"));
    EXPECT_EQ(1u, queryDword("singleInstance"));
}

TEST_F(ProgramTest, SnappingDistanceSurvivesOnlyWhenSnappingIsOnAtTheClose)
{
    setDword("snapTol", 12);
    startProgram();
    EXPECT_EQ(12, app.savedSnapTol);
    onCommand(window, CMD_SNAP_TO_SCREEN);
    EXPECT_EQ(0, app.snapTol);
    EXPECT_FALSE(app.skinButtons[snapButton].pressed);
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
    EXPECT_TRUE(menuState(CMD_DEFAULT_SKIN) & MF_CHECKED);
}

TEST_F(ProgramTest, HistoryValueSizes)
{
    const struct { DWORD bytes; DWORD colors; } cases[] = {
        { 2, 1 }, { 4, 1 }, { 8, 2 }, { 11, 2 }, { 4096, 1024 }, { 4100, 1 }, { 5000, 1 },
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
        // An ignored value leaves the single white entry untouched.
        COLORREF expected = c.colors == 1 && c.bytes != 4 ? 0xFFFFFF : app.history.entries[app.history.newest];
        EXPECT_EQ(expected, app.curColor) << c.bytes;
        if (c.colors == 1 && c.bytes != 4) {
            EXPECT_EQ(0xFFFFFFu, app.history.entries[0]) << c.bytes;
        }
        closeProgram();
    }
}

TEST_F(ProgramTest, HistoryRoundTripsOldestFirstAndStartsAtTheNewest)
{
    COLORREF colors[3] = { 0x000001, 0x000002, 0x000003 };
    setBinary("colorHistory", colors, sizeof colors);
    startProgram();
    EXPECT_EQ(0x000003u, app.curColor);
    onCommand(window, CMD_UNDO);
    onCommand(window, CMD_UNDO);
    EXPECT_EQ(0x000001u, app.curColor);
    closeProgram();
    // Undone colours are kept: the next start shows the newest again.
    DWORD type;
    std::vector<BYTE> data;
    ASSERT_TRUE(queryValue("colorHistory", &type, &data));
    EXPECT_EQ(std::vector<BYTE>(reinterpret_cast<BYTE*>(colors), reinterpret_cast<BYTE*>(colors) + 12), data);
    startProgram();
    EXPECT_EQ(0x000003u, app.curColor);
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

// The settings store against the real registry: values of the wrong size or type, values the
// program cannot use (written back unchanged until chosen in the menu), the sizes of a stored
// history, stored places, and the menu's marks.
#include "harness.h"
#include "app/appstate.h"
#include "res/resource.h"

namespace {

TEST_F(ProgramTest, StoredValuesAreReadByTheirRulesAndWrittenBack)
{
    const struct {
        const char* name;
        DWORD type;
        std::vector<BYTE> stored, saved;
    } values[] = {
        { "snapTol", REG_BINARY, { 1, 2, 3, 4, 5, 6, 7, 8 }, dwordBytes(8) }, // larger than a number: the default
        { "colorFormat", REG_BINARY, { 7, 2 }, dwordBytes(0x0207) },          // shorter: its own bytes only
        { "zoomFactor", REG_DWORD, dwordBytes(5), dwordBytes(5) },            // off the menu: kept
        { "antiDitherTol", REG_DWORD, dwordBytes(0xFFFFFFFF), dwordBytes(0xFFFFFFFF) },
        { "alwaysOnTop", REG_DWORD, dwordBytes(0x100), dwordBytes(1) }, // a flag is any non-zero value
        { "skinFileName", REG_SZ, { 0 }, { 0 } },                       // empty: the built-in skin
    };
    for (const auto& v : values)
        setValue(v.name, v.type, v.stored.data(), DWORD(v.stored.size()));
    startProgram();
    EXPECT_EQ(nullptr, app.skinFileName);
    // a form the program does not know copies nothing rather than something
    ASSERT_TRUE(putText("sentinel"));
    command(CMD_COPY);
    EXPECT_EQ("sentinel", clipboardText());
    closeProgram();
    for (const auto& v : values)
        EXPECT_EQ(v.saved, storedValue(v.name)) << v.name;

    // A value chosen in the menu is saved as chosen, even where the stored one meant the same.
    setDword("antiDitherTol", 0), setDword("zoomFactor", 300);
    startProgram();
    command(CMD_DITHER_NONE), command(CMD_ZOOM_MAX);
    closeProgram();
    EXPECT_EQ(dwordBytes(1), storedValue("antiDitherTol"));
    EXPECT_EQ(dwordBytes(0), storedValue("zoomFactor"));
}

// Starts with stored histories and places. Whole colours up to the ring's size are taken, a
// cut last colour left out, and written back byte for byte; anything else leaves the single
// white entry. A place that shares no pixel with the work area is recentred: just beyond each
// edge it would start invisible, and every later start the same.
TEST_F(ProgramTest, StoredHistorySizesAndPlaces)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const struct {
        DWORD bytes, taken;
        LONG x, y;
        bool kept;
    } starts[] = {
        { 2, 0, work.right - 1, 100, true },
        { 4, 4, work.right, 100, false },
        { 11, 8, -82, 100, true },
        { 4096, 4096, -83, 100, false },
        { 4100, 0, 100, work.bottom - 1, true },
        { 4, 4, 100, work.bottom, false },
        { 4, 4, 100, -131, true },
        { 4, 4, 100, -132, false },
    };
    for (const auto& s : starts) {
        SCOPED_TRACE(testing::Message() << s.bytes << " bytes, place " << s.x << "," << s.y);
        std::vector<BYTE> bytes(s.bytes), white = { 0xFF, 0xFF, 0xFF, 0 };
        for (DWORD i = 0; i < s.bytes; i++)
            bytes[i] = BYTE(i / 4 + i % 4); // the unused fourth byte kept too
        std::vector<BYTE> kept = s.taken ? std::vector<BYTE>(bytes.begin(), bytes.begin() + s.taken) : white;
        clearSettings();
        setValue("colorHistory", REG_BINARY, bytes.data(), s.bytes);
        setDword("xPos", DWORD(s.x)), setDword("yPos", DWORD(s.y));
        startProgram();
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ(s.kept, r.left == s.x && r.top == s.y) << "placed at " << r.left << "," << r.top;
        EXPECT_EQ(hex(RGB(kept[kept.size() - 4], kept[kept.size() - 3], kept[kept.size() - 2])), hex(app.curColor));
        closeProgram();
        EXPECT_EQ(kept, storedValue("colorHistory"));
    }
}

// The menu shows the settings as stored and as changed since, whenever it opens.
TEST_F(ProgramTest, TheMenuShowsTheSettingsWhenItOpens)
{
    setDword("splitScreen", 0), setDword("alwaysOnTop", 1), setDword("zoomFactor", 4);
    setDword("antiDitherTol", 9), setDword("showToolTips", 1);
    startProgram();
    const struct {
        int item;
        UINT stored, changed; // MF_CHECKED and MF_GRAYED
    } marks[] = {
        { CMD_SPLIT_SCREEN, 0, MF_CHECKED },  { CMD_STICKY_ZOOM, MF_GRAYED, 0 },
        { CMD_ALWAYS_ON_TOP, MF_CHECKED, 0 }, { CMD_ZOOM_4X, MF_CHECKED, 0 },
        { CMD_ZOOM_MAX, 0, MF_CHECKED },      { CMD_DITHER_MEDIUM, MF_CHECKED, MF_CHECKED },
        { CMD_TOOL_TIPS, MF_CHECKED, 0 },     { CMD_DEFAULT_SKIN, MF_CHECKED, MF_CHECKED },
    };
    PopupCatcher catcher;
    for (bool changed : { false, true }) {
        if (changed)
            for (int c : { CMD_SPLIT_SCREEN, CMD_ALWAYS_ON_TOP, CMD_ZOOM_MAX, CMD_TOOL_TIPS })
                command(c);
        openContextMenu(window, { 10, 10 });
        for (const auto& m : marks)
            EXPECT_EQ(changed ? m.changed : m.stored,
                      GetMenuState(app.mainMenu, m.item, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED))
                << "item " << m.item << (changed ? " after the commands" : " as stored");
    }
    EXPECT_EQ(2u, catcher.seen().size());
}

// Ended from outside (Task Manager's End task, a crash), the program has written what changed a
// second before; idle it writes nothing. A write the registry refuses loses nothing: the next
// change writes it. (A key under a volatile one cannot be made.)
TEST_F(ProgramTest, ChangesAreWrittenWithinASecond)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(NULL, exe, sizeof exe);
    strcpy(strrchr(exe, '\\'), "\\..\\huebrick.exe");
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Vexel");
    HKEY vexel, key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vexel", 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, NULL, &vexel,
                    NULL);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION program;
    ASSERT_TRUE(CreateProcessA(exe, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &program));
    HWND found = NULL;
    ASSERT_TRUE(pumpUntil([&] { return (found = FindWindowA("huebrickWin", NULL)) != NULL; }, 20000));
    putText("123456");
    SendMessageA(found, WM_COMMAND, CMD_PASTE, 0);
    pumpMessages(1000);
    EXPECT_EQ(0u, storedValue("colorHistory").size()) << "written under a volatile key";
    RegCloseKey(vexel);
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Vexel");
    SendMessageA(found, WM_COMMAND, 0, 0); // input that changes nothing
    EXPECT_TRUE(pumpUntil([] { return storedValue("colorHistory").size() == 8; }, 1500)) << "the refused write lost";
    SetWindowPos(found, NULL, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(pumpUntil([] { return storedValue("yPos") == dwordBytes(150); }, 1500)) << "the place not written";
    SendMessageA(found, WM_COMMAND, CMD_SPLIT_SCREEN, 0);
    EXPECT_TRUE(pumpUntil([] { return storedValue("splitScreen") == dwordBytes(0); }, 1500)) << "not written";
    pumpMessages(100);
    HANDLE written = CreateEventA(NULL, TRUE, FALSE, NULL);
    RegOpenKeyA(HKEY_CURRENT_USER, settingsKey, &key);
    RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_LAST_SET, written, TRUE);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(written, 2500)) << "written while idle";
    TerminateProcess(program.hProcess, 1);
    WaitForSingleObject(program.hProcess, 5000);
    std::vector<BYTE> history = storedValue("colorHistory");
    history.erase(history.begin(), history.end() - std::min<size_t>(4, history.size()));
    EXPECT_EQ((std::vector<BYTE>{ 0x12, 0x34, 0x56, 0 }), history) << "the colour of the refused write";
    EXPECT_EQ(dwordBytes(200), storedValue("xPos"));
    RegCloseKey(key), CloseHandle(written), CloseHandle(program.hProcess), CloseHandle(program.hThread);
}

} // namespace

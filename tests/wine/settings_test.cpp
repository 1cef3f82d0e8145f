// The settings store against the real registry: values of the wrong size or type, values the
// program cannot use (written back unchanged), and the sizes of a stored history.
#include "harness.h"
#include "app/appstate.h"
#include "res/resource.h"

namespace {

TEST_F(ProgramTest, StoredValuesAreReadByTheirRulesAndWrittenBack)
{
    const struct { const char* name; DWORD type; std::vector<BYTE> stored, saved; } values[] = {
        { "snapTol", REG_BINARY, { 1, 2, 3, 4, 5, 6, 7, 8 }, dwordBytes(8) },    // larger than a number: the default
        { "colorFormat", REG_BINARY, { 7, 2 }, dwordBytes(0x0207) },             // shorter: its own bytes only
        { "zoomFactor", REG_DWORD, dwordBytes(5), dwordBytes(5) },                    // off the menu: kept
        { "antiDitherTol", REG_DWORD, dwordBytes(0xFFFFFFFF), dwordBytes(0xFFFFFFFF) },
        { "alwaysOnTop", REG_DWORD, dwordBytes(0x100), dwordBytes(1) },               // a flag is any non-zero value
        { "skinFileName", REG_SZ, { 0 }, { 0 } },                           // empty: the built-in skin
    };
    for (const auto& v : values)
        setValue(v.name, v.type, v.stored.data(), DWORD(v.stored.size()));
    startProgram();
    EXPECT_EQ(8, app.snapTol);
    EXPECT_EQ(0x0207, app.colorFormat);
    EXPECT_EQ(5, app.zoomFactor);
    EXPECT_TRUE(app.alwaysOnTop);
    EXPECT_EQ(nullptr, app.skinFileName);
    // a form the program does not know copies nothing rather than something
    ASSERT_TRUE(putText("sentinel"));
    command(CMD_COPY);
    EXPECT_EQ("sentinel", clipboardText());
    closeProgram();
    for (const auto& v : values)
        EXPECT_EQ(v.saved, storedValue(v.name)) << v.name;
}

// Whole colours up to the ring's size are taken, a cut last colour left out; anything else
// leaves the single white entry.
TEST_F(ProgramTest, StoredHistorySizes)
{
    const std::vector<BYTE> white = { 0xFF, 0xFF, 0xFF, 0 };
    const struct { DWORD bytes, taken; } cases[] = { { 2, 0 }, { 4, 4 }, { 11, 8 }, { 4096, 4096 }, { 4100, 0 } };
    for (const auto& c : cases) {
        std::vector<BYTE> bytes(c.bytes);
        for (DWORD i = 0; i < c.bytes; i++)
            bytes[i] = BYTE(i % 4 == 3 ? 0 : i / 4 + i % 4);
        std::vector<BYTE> kept = c.taken ? std::vector<BYTE>(bytes.begin(), bytes.begin() + c.taken) : white;
        clearSettings();
        setValue("colorHistory", REG_BINARY, bytes.data(), c.bytes);
        startProgram();
        COLORREF last = RGB(kept[kept.size() - 4], kept[kept.size() - 3], kept[kept.size() - 2]);
        EXPECT_EQ(hex(last), hex(app.curColor)) << c.bytes << " bytes";
        closeProgram();
        EXPECT_EQ(kept, storedValue("colorHistory")) << c.bytes << " bytes";
    }
}

// A stored place that shares no pixel with the work area is recentred: just beyond each
// edge it would start invisible, and every later start the same.
TEST_F(ProgramTest, StoredPlacesOffTheWorkAreaAreRecentred)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const struct { LONG x, y; bool kept; } cases[] = {
        { work.right - 1, 100, true }, { work.right, 100, false }, { -82, 100, true }, { -83, 100, false },
        { 100, work.bottom - 1, true }, { 100, work.bottom, false }, { 100, -131, true }, { 100, -132, false },
    };
    for (const auto& c : cases) {
        setDword("xPos", DWORD(c.x));
        setDword("yPos", DWORD(c.y));
        startProgram();
        RECT r;
        GetWindowRect(window, &r);
        EXPECT_EQ(c.kept, r.left == c.x && r.top == c.y) << c.x << "," << c.y << " placed at " << r.left << "," << r.top;
        closeProgram();
    }
}

}  // namespace

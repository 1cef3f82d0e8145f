// The real clipboard: contents a paste must refuse without harm, the copied block's exact
// bytes, and the message boxes when another program holds the clipboard.
#include "harness.h"
#include "res/resource.h"

#include <functional>

namespace {

const COLORREF start = RGB(88, 116, 139);

class ClipboardTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startProgram();
        paste("58748B"); // a known, recorded colour in the hexadecimal form
    }
    void doubleClickGreenField() { mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, 40, 86); }
};

// The reading is bounded by the block, NUL or not; nothing a paste refuses asks anything
// of the user except text promised and never rendered. A copy after them all puts the
// colour's text and its NUL.
TEST_F(ClipboardTest, PastesOfWhatIsNoColourChangeNothing)
{
    std::string digits(4 << 20, '9'), junk(1 << 16, 'x');
    for (size_t i = 0; i < junk.size(); i++)
        junk[i] = char(1 + (i * 7919) % 255); // every byte but NUL
    const std::string padded = std::string(1 << 20, '\n') + "0080ff" + std::string(1 << 20, '\t');
    const char unrendered[] = "Error: GetClipboardData | Could not obtain clipboard data.";
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    const struct {
        const char* what;
        std::function<bool()> put;
        COLORREF after;
        std::vector<std::string> boxes;
    } cases[] = {
        { "a bitmap only", [] { return putClipboard(CF_BITMAP, CreateBitmap(4, 4, 1, 32, NULL)); }, start, {} },
        { "unrendered text", [&] { return putClipboard(CF_TEXT, NULL, owner); }, start, { unrendered, unrendered } },
        { "4 MB of digits", [&] { return putText(digits); }, start, {} },
        { "junk without a NUL", [&] { return putTextBytes(junk.data(), junk.size()); }, start, {} },
        { "a NUL cuts the text", [] { return putTextBytes("1,2\0,3", 7); }, start, {} },
        { "a colour in 2 MB of blanks", [&] { return putText(padded); }, RGB(0, 128, 255), {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.put());
        PopupCatcher catcher;
        command(CMD_PASTE);
        doubleClickGreenField();
        EXPECT_EQ(hex(c.after), hex(app.curColor));
        EXPECT_EQ(c.boxes, catcher.seen());
        if (c.after != start)
            command(CMD_UNDO);
    }
    DestroyWindow(owner);
    command(CMD_COPY);
    EXPECT_EQ(std::string("58748B", 7), clipboardBlock().substr(0, 7));
    EXPECT_EQ(window, GetClipboardOwner()); // without an owner SetClipboardData may fail
}

// Cut, paste and a field's paste each say once that the clipboard could not be opened and
// change nothing; once the other program lets go the same paste works.
TEST_F(ClipboardTest, ClipboardHeldByAnotherProgram)
{
    ASSERT_TRUE(putText("FF8000"));
    command(CMD_FORMAT_DEC);
    HANDLE release = CreateEventA(NULL, TRUE, FALSE, NULL);
    std::atomic<int> held{ -1 };
    std::thread holder([&] { // with a window of its own, as another program would
        HWND owner = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
        held = OpenClipboard(owner);
        WaitForSingleObject(release, 30000);
        CloseClipboard();
        DestroyWindow(owner);
    });
    EXPECT_TRUE(pumpUntil([&] { return held >= 0; }, 5000) && held);
    PopupCatcher catcher;
    command(CMD_CUT);
    command(CMD_PASTE);
    doubleClickGreenField();
    SetEvent(release);
    holder.join();
    CloseHandle(release);
    const std::string box = "Error: OpenClipboard | Could not open clipboard. (clipboard locked)";
    EXPECT_EQ(std::vector<std::string>(3, box), catcher.seen());
    EXPECT_EQ("FF8000", clipboardText());
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ("088, 116, 139 - Huebrick", title);
    EXPECT_EQ(2u, recordedCount());
    command(CMD_PASTE);
    EXPECT_EQ(hex(RGB(255, 128, 0)), hex(app.curColor));
}

} // namespace

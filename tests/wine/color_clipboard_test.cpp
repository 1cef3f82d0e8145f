// Copy and paste through the real clipboard, odd clipboard contents and a clipboard held elsewhere.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "skin/skin.h"
#include "res/resource.h"

#include <cstring>
#include <string>

namespace {

std::string describe(COLORREF c)
{
    char text[32];
    snprintf(text, sizeof text, "%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Puts exactly these bytes on the clipboard as CF_TEXT (the caller adds the NUL or not).
bool putTextBytes(const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return false;
    memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    if (!OpenClipboard(NULL)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool placed = SetClipboardData(CF_TEXT, block) != NULL;
    CloseClipboard();
    if (!placed)
        GlobalFree(block);
    return placed;
}

bool putText(const std::string& text) { return putTextBytes(text.c_str(), text.size() + 1); }

bool putBitmapOnly()
{
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, NULL);
    if (!bitmap || !OpenClipboard(NULL)) {
        DeleteObject(bitmap);
        return false;
    }
    EmptyClipboard();
    bool placed = SetClipboardData(CF_BITMAP, bitmap) != NULL;
    CloseClipboard();
    if (!placed)
        DeleteObject(bitmap);
    return placed;
}

// The CF_TEXT block on the clipboard: its bytes and its size; "<none>" when there is none.
struct ClipboardBlock {
    std::string bytes;
    SIZE_T size = 0;
};

ClipboardBlock clipboardBlock()
{
    ClipboardBlock result;
    result.bytes = "<none>";
    if (!OpenClipboard(NULL))
        return { "<clipboard busy>", 0 };
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        result.size = GlobalSize(data);
        const char* p = static_cast<const char*>(GlobalLock(data));
        if (p) {
            result.bytes.assign(p, result.size);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return result;
}

std::string clipboardText()
{
    std::string bytes = clipboardBlock().bytes;
    return bytes.substr(0, bytes.find('\0'));
}

// Another process that keeps the clipboard open while it lives.
class ClipboardHolder {
public:
    ClipboardHolder()
    {
        char name[64];
        snprintf(name, sizeof name, "huebrick.clipholder.%lu", GetCurrentProcessId());
        ready = CreateEventA(NULL, TRUE, FALSE, (std::string(name) + ".ready").c_str());
        release = CreateEventA(NULL, TRUE, FALSE, (std::string(name) + ".release").c_str());
        char exe[MAX_PATH];
        GetModuleFileNameA(NULL, exe, sizeof exe);
        std::string command = std::string("\"") + exe + "\" --hold-clipboard " + name;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
            return;
        HANDLE waits[2] = { ready, process.hProcess };
        holding = WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
    }
    ~ClipboardHolder()
    {
        SetEvent(release);
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        CloseHandle(ready);
        CloseHandle(release);
    }
    bool holding = false;
private:
    HANDLE ready, release;
    PROCESS_INFORMATION process = {};
};

class ColorClipboardTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        startWithoutSplash();
    }
    // A known starting point that is recorded, so a paste of any other colour records once.
    void startFrom(COLORREF color, int format)
    {
        setColor(color);
        recordColor(&app.history, color);
        refreshColorDisplay(app.displayRegion);
        setColorFormat(format);
    }
};

TEST_F(ColorClipboardTest, CopyPutsTheSelectedFormWithItsNul)
{
    const struct { int command; int format; const char* text; } cases[] = {
        { CMD_COPY, 0, "FF8000" }, { CMD_COPY, 1, "255,128,0" }, { CMD_COPY, 2, "1.00,0.50,0.00" },
        { CMD_CUT, 0, "FF8000" }, { CMD_CUT, 1, "255,128,0" }, { CMD_CUT, 2, "1.00,0.50,0.00" },
    };
    setColor(RGB(255, 128, 0));
    for (const auto& c : cases) {
        ASSERT_TRUE(putText("sentinel text that is long"));
        setColorFormat(c.format);
        onCommand(window, c.command);
        ClipboardBlock block = clipboardBlock();
        size_t length = strlen(c.text);
        EXPECT_GE(block.size, length + 1) << c.text;
        EXPECT_EQ(std::string(c.text, length + 1), block.bytes.substr(0, length + 1)) << "command " << c.command;
    }
}

TEST_F(ColorClipboardTest, CopyOfAnUnknownFormatLeavesTheClipboard)
{
    setColor(RGB(255, 128, 0));
    for (int format : { 3, 7, -1 }) {
        ASSERT_TRUE(putText("untouched"));
        setColorFormat(format);
        onCommand(window, CMD_COPY);
        EXPECT_EQ("untouched", clipboardText()) << format;
    }
}

TEST_F(ColorClipboardTest, CopyColorTextRefusesNull)
{
    ASSERT_TRUE(putText("untouched"));
    EXPECT_FALSE(copyColorText(NULL));
    EXPECT_EQ("untouched", clipboardText());
    EXPECT_TRUE(copyColorText(""));
    EXPECT_EQ(std::string(1, '\0'), clipboardBlock().bytes.substr(0, 1));
}

TEST_F(ColorClipboardTest, PasteReadsEveryAcceptedForm)
{
    const struct { const char* text; COLORREF color; int format; const char* title; } cases[] = {
        { "FF8000", RGB(255, 128, 0), 0, "FF 80 00 - Huebrick" },
        { "0xff8000", RGB(255, 128, 0), 0, "FF 80 00 - Huebrick" },
        { "ff8000", RGB(255, 128, 0), 0, "FF 80 00 - Huebrick" },
        { "FF", RGB(0, 0, 255), 0, "00 00 FF - Huebrick" },
        { "255", RGB(0, 2, 85), 0, "00 02 55 - Huebrick" },
        { " 0A0b0C\r\n", RGB(10, 11, 12), 0, "0A 0B 0C - Huebrick" },
        { "255 128 0", RGB(255, 128, 0), 1, "255, 128, 000 - Huebrick" },
        { "255,128,0", RGB(255, 128, 0), 1, "255, 128, 000 - Huebrick" },
        { "255, 128, 000", RGB(255, 128, 0), 1, "255, 128, 000 - Huebrick" },
        { " 255 ,128, 0 ", RGB(255, 128, 0), 1, "255, 128, 000 - Huebrick" },
        { "\t12\t34\n56\r\n", RGB(12, 34, 56), 1, "012, 034, 056 - Huebrick" },
        { "10 x, 20, 30", RGB(10, 20, 30), 1, "010, 020, 030 - Huebrick" },
        { ",,1,,2,3", RGB(1, 2, 3), 1, "001, 002, 003 - Huebrick" },
        { "1.00,0.50,0.00", RGB(255, 127, 0), 2, "1.00, 0.50, 0.00 - Huebrick" },
        { "1.00, 0.50, 0.00", RGB(255, 127, 0), 2, "1.00, 0.50, 0.00 - Huebrick" },
        { "0.2, 1, 0", RGB(51, 255, 0), 2, "0.20, 1.00, 0.00 - Huebrick" },
        { "1e0,5e-1,.25", RGB(255, 127, 63), 2, "1.00, 0.50, 0.25 - Huebrick" },
    };
    for (const auto& c : cases) {
        startFrom(RGB(1, 1, 1), (c.format + 1) % 3);
        uint32_t count = historyCount(&app.history);
        ASSERT_TRUE(putText(c.text));
        EXPECT_TRUE(pasteColor(0)) << "'" << c.text << "'";
        EXPECT_EQ(describe(c.color), describe(app.curColor)) << "'" << c.text << "'";
        EXPECT_EQ(c.format, app.colorFormat) << "'" << c.text << "'";
        EXPECT_EQ(count + 1, historyCount(&app.history)) << "'" << c.text << "'";
        EXPECT_EQ(c.color, currentColor(&app.history)) << "'" << c.text << "'";
        EXPECT_EQ(c.title, windowTitle(window)) << "'" << c.text << "'";
        EXPECT_EQ(describe(c.color), describe(backPixel(41, 25))) << "'" << c.text << "'";
    }
}

TEST_F(ColorClipboardTest, PasteCommandWithoutAutoKeepsTheForm)
{
    onCommand(window, CMD_AUTO_FORMAT);
    ASSERT_FALSE(app.autoFormat);
    startFrom(RGB(1, 1, 1), 2);
    ASSERT_TRUE(putText("12,34,56"));
    onCommand(window, CMD_PASTE);
    EXPECT_EQ(describe(RGB(12, 34, 56)), describe(app.curColor));
    EXPECT_EQ(2, app.colorFormat);
    EXPECT_EQ("0.05, 0.13, 0.22 - Huebrick", windowTitle(window));
}

TEST_F(ColorClipboardTest, PasteOfTheCurrentColourRecordsNothing)
{
    startFrom(RGB(255, 128, 0), 1);
    uint32_t count = historyCount(&app.history);
    ASSERT_TRUE(putText("FF8000"));
    EXPECT_TRUE(pasteColor(0));
    EXPECT_EQ(count, historyCount(&app.history));
    EXPECT_EQ(0, app.colorFormat);  // the form still follows the text
}

TEST_F(ColorClipboardTest, RefusedTextsChangeNothing)
{
    const char* const refused[] = {
        "#FF8000", "1000000", "255 128", "255,128", "255 128 0 7", "255,128,0 7", "1.00, 0.50", "10, 20, 30x",
        "FF 80 00", "FF 80 00 - Huebrick", "255, 128, 000 - Huebrick", "", "   \r\n\t", ",,,", "x", "-1",
        // values outside 0..255 are refused instead of spilling into the next channel
        "256,0,0", "0,0,300", "255 256 0", "300 0 0", "-1,0,0", "0 0 -1", "1.5,0,0", "0,0,-0.01",
        "0,1.01,0", "4294967296,0,0", "1e3,0,0", "inf,0.5,0", "0.5,nan,0", "0x1p0,0.5,0",
    };
    for (const char* text : refused) {
        startFrom(RGB(9, 8, 7), 2);
        uint32_t count = historyCount(&app.history);
        std::string title = windowTitle(window);
        ASSERT_TRUE(putText(text));
        EXPECT_FALSE(pasteColor(0)) << "'" << text << "'";
        EXPECT_EQ(describe(RGB(9, 8, 7)), describe(app.curColor)) << "'" << text << "'";
        EXPECT_EQ(2, app.colorFormat) << "'" << text << "'";
        EXPECT_EQ(count, historyCount(&app.history)) << "'" << text << "'";
        EXPECT_EQ(title, windowTitle(window)) << "'" << text << "'";
    }
}

TEST_F(ColorClipboardTest, ChannelPastesSetOneChannel)
{
    const struct { uint32_t selector; const char* text; bool done; COLORREF color; } cases[] = {
        { 0x02000002, "c0", true, RGB(10, 192, 30) },
        { 0x02000002, "1c0", true, RGB(10, 20, 30) },       // 448 leaves green, still done
        { 0x02000001, "0xFf", true, RGB(255, 20, 30) },
        { 0x02000004, " 7 ", true, RGB(10, 20, 7) },
        { 0x01000001, "077", true, RGB(77, 20, 30) },
        { 0x01000002, "255", true, RGB(10, 255, 30) },
        { 0x01000004, "256", true, RGB(10, 20, 30) },
        { 0x01000001, "ff", false, RGB(10, 20, 30) },
        { 0x01000002, "12 13", false, RGB(10, 20, 30) },
        { 0x02000004, "", false, RGB(10, 20, 30) },
        { 0x02000001, "g0", false, RGB(10, 20, 30) },
    };
    for (const auto& c : cases) {
        startFrom(RGB(10, 20, 30), 1);
        uint32_t count = historyCount(&app.history);
        ASSERT_TRUE(putText(c.text));
        EXPECT_EQ(c.done, pasteColor(c.selector)) << std::hex << c.selector << " '" << c.text << "'";
        EXPECT_EQ(describe(c.color), describe(app.curColor)) << std::hex << c.selector << " '" << c.text << "'";
        EXPECT_EQ(1, app.colorFormat) << "'" << c.text << "'";     // a channel paste keeps the form
        bool changed = c.color != RGB(10, 20, 30);
        EXPECT_EQ(count + (changed ? 1 : 0), historyCount(&app.history)) << "'" << c.text << "'";
    }
}

TEST_F(ColorClipboardTest, PasteOfABitmapDoesNothingQuietly)
{
    startFrom(RGB(9, 8, 7), 1);
    uint32_t count = historyCount(&app.history);
    ASSERT_TRUE(putBitmapOnly());
    MessageBoxCatcher catcher;
    EXPECT_FALSE(pasteColor(0));
    EXPECT_FALSE(pasteColor(0x02000001));
    onCommand(window, CMD_PASTE);
    EXPECT_EQ(describe(RGB(9, 8, 7)), describe(app.curColor));
    EXPECT_EQ(count, historyCount(&app.history));
    EXPECT_EQ(0u, catcher.seen().size()) << catcher.seen()[0].caption;
}

// Text promised for later whose owner never renders it: the format is there, the data not.
TEST_F(ColorClipboardTest, PasteOfTextThatIsNeverRenderedSaysSo)
{
    startFrom(RGB(9, 8, 7), 1);
    uint32_t count = historyCount(&app.history);
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ASSERT_TRUE(owner != NULL);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, NULL);
    CloseClipboard();
    {
        MessageBoxCatcher catcher;
        EXPECT_FALSE(pasteColor(0));
        std::vector<MessageBoxCatcher::Seen> boxes = catcher.seen();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Error: GetClipboardData", boxes[0].caption);
        EXPECT_EQ("Could not obtain clipboard data.", boxes[0].text);
    }
    EXPECT_EQ(describe(RGB(9, 8, 7)), describe(app.curColor));
    EXPECT_EQ(count, historyCount(&app.history));
    // the clipboard was closed again: a copy goes through
    EXPECT_TRUE(copyColorText("ok"));
    EXPECT_EQ("ok", clipboardText());
    DestroyWindow(owner);
}

TEST_F(ColorClipboardTest, HugeAndBinaryTextsAreRefusedSafely)
{
    std::string digits(4 << 20, '9');
    std::string letters(3 << 20, 'F');
    std::string commas = "1,2," + std::string(2 << 20, '3');
    std::string blanksThenColour = std::string(2 << 20, ' ') + "FF8000 x";
    std::string junk(1 << 16, '\0');
    uint32_t noise = 12345;
    for (char& c : junk) {
        noise = noise * 1103515245u + 12345u;
        c = static_cast<char>(1 + (noise >> 16) % 255);  // every byte but NUL
    }
    // channelDone: a channel paste of a number too large saturates, leaves the channel
    // and still counts as done
    const struct { const char* what; const std::string* text; bool withNul, channelDone; } cases[] = {
        { "4 MB of digits", &digits, true, true }, { "3 MB of hex letters", &letters, true, false },
        { "a 2 MB third value", &commas, true, false },
        { "2 MB of blanks and a trailing word", &blanksThenColour, true, false },
        { "64 KB of binary junk", &junk, true, false }, { "binary junk without a NUL", &junk, false, false },
    };
    for (const auto& c : cases) {
        startFrom(RGB(9, 8, 7), 1);
        uint32_t count = historyCount(&app.history);
        ASSERT_TRUE(putTextBytes(c.text->c_str(), c.text->size() + (c.withNul ? 1 : 0))) << c.what;
        EXPECT_FALSE(pasteColor(0)) << c.what;
        EXPECT_EQ(c.channelDone, pasteColor(0x01000002)) << c.what;
        EXPECT_EQ(describe(RGB(9, 8, 7)), describe(app.curColor)) << c.what;
        EXPECT_EQ(1, app.colorFormat) << c.what;
        EXPECT_EQ(count, historyCount(&app.history)) << c.what;
    }
    // a long text whose only word is a colour is still read
    std::string padded = std::string(1 << 20, '\n') + "0080ff" + std::string(1 << 20, '\t');
    startFrom(RGB(9, 8, 7), 1);
    ASSERT_TRUE(putText(padded));
    EXPECT_TRUE(pasteColor(0));
    EXPECT_EQ(describe(RGB(0, 128, 255)), describe(app.curColor));
}

TEST_F(ColorClipboardTest, CopyWhileAnotherProcessHoldsTheClipboard)
{
    setColor(RGB(255, 128, 0));
    ASSERT_TRUE(putText("old content"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.holding);
        MessageBoxCatcher catcher;
        onCommand(window, CMD_COPY);
        EXPECT_FALSE(copyColorText(app.hexText));
        std::vector<MessageBoxCatcher::Seen> boxes = catcher.seen();
        ASSERT_EQ(2u, boxes.size());
        for (const auto& box : boxes) {
            EXPECT_EQ("Error: OpenClipboard", box.caption);
            EXPECT_EQ("Could not open clipboard.", box.text);
        }
    }
    EXPECT_EQ("old content", clipboardText());
}

TEST_F(ColorClipboardTest, PasteWhileAnotherProcessHoldsTheClipboard)
{
    startFrom(RGB(9, 8, 7), 1);
    uint32_t count = historyCount(&app.history);
    ASSERT_TRUE(putText("FF8000"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.holding);
        MessageBoxCatcher catcher;
        onCommand(window, CMD_PASTE);
        EXPECT_FALSE(pasteColor(0x02000001));
        std::vector<MessageBoxCatcher::Seen> boxes = catcher.seen();
        ASSERT_EQ(2u, boxes.size());
        for (const auto& box : boxes) {
            EXPECT_EQ("Error: OpenClipboard", box.caption);
            EXPECT_EQ("Could not open clipboard.", box.text);
        }
    }
    EXPECT_EQ(describe(RGB(9, 8, 7)), describe(app.curColor));
    EXPECT_EQ(1, app.colorFormat);
    EXPECT_EQ(count, historyCount(&app.history));
    // once the other process lets go, the same paste works
    EXPECT_TRUE(pasteColor(0));
    EXPECT_EQ(describe(RGB(255, 128, 0)), describe(app.curColor));
}

} // namespace

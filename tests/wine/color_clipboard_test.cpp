// Copy and paste through the real clipboard: the text block's exact bytes, clipboard contents
// the program must refuse safely, and the message boxes when another process holds it.
#include "harness.h"
#include "app/app.h"
#include "app/appstate.h"
#include "color/color.h"
#include "color/colortext.h"
#include "skin/skin.h"
#include "res/resource.h"

#include <cstring>
#include <string>

namespace {

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


// Copy and Cut put the selected form's text with its NUL; a format the program does not
// know copies nothing rather than something.
TEST_F(ColorClipboardTest, CopyPutsTheSelectedFormWithItsNul)
{
    const struct { int command; int format; const char* text; } cases[] = {
        { CMD_COPY, 0, "FF8000" }, { CMD_CUT, 1, "255,128,0" }, { CMD_COPY, 2, "1.00,0.50,0.00" },
        { CMD_CUT, 0, "FF8000" }, { CMD_COPY, 7, NULL }, { CMD_CUT, -1, NULL },
    };
    setColor(RGB(255, 128, 0));
    for (const auto& c : cases) {
        ASSERT_TRUE(putText("sentinel text that is long"));
        setColorFormat(c.format);
        onCommand(window, c.command);
        if (!c.text) {
            EXPECT_EQ("sentinel text that is long", clipboardText()) << "format " << c.format;
            continue;
        }
        ClipboardBlock block = clipboardBlock();
        size_t length = strlen(c.text);
        EXPECT_GE(block.size, length + 1) << c.text;
        EXPECT_EQ(std::string(c.text, length + 1), block.bytes.substr(0, length + 1)) << "command " << c.command;
    }
    EXPECT_FALSE(copyColorText(NULL));
    EXPECT_EQ("sentinel text that is long", clipboardText());
}

// One text of each form: colour, form (unless Auto is off), title, display and one history
// entry. The pasted colour already current records nothing, but the form still follows.
TEST_F(ColorClipboardTest, PasteSetsColourFormAndHistory)
{
    const struct { const char* text; bool autoFormat; int format; COLORREF color; const char* title; } cases[] = {
        { " 0A0b0C\r\n", true, 0, RGB(10, 11, 12), "0A 0B 0C - Huebrick" },
        { "\t12\t34\n56\r\n", true, 1, RGB(12, 34, 56), "012, 034, 056 - Huebrick" },
        { "1e0,5e-1,.25", true, 2, RGB(255, 127, 63), "1.00, 0.50, 0.25 - Huebrick" },
        { "12,34,56", false, 2, RGB(12, 34, 56), "0.05, 0.13, 0.22 - Huebrick" },
    };
    for (const auto& c : cases) {
        if (app.autoFormat != c.autoFormat)
            onCommand(window, CMD_AUTO_FORMAT);
        startFrom(RGB(1, 1, 1), c.autoFormat ? (c.format + 1) % 3 : c.format);
        uint32_t count = historyCount(&app.history);
        ASSERT_TRUE(putText(c.text));
        onCommand(window, CMD_PASTE);
        EXPECT_EQ(describe(c.color), describe(app.curColor)) << "'" << c.text << "'";
        EXPECT_EQ(c.format, app.colorFormat) << "'" << c.text << "'";
        EXPECT_EQ(count + 1, historyCount(&app.history)) << "'" << c.text << "'";
        EXPECT_EQ(c.color, currentColor(&app.history)) << "'" << c.text << "'";
        EXPECT_EQ(c.title, windowTitle(window)) << "'" << c.text << "'";
        EXPECT_EQ(describe(c.color), describe(backPixel(41, 25))) << "'" << c.text << "'";
    }
    onCommand(window, CMD_AUTO_FORMAT);
    startFrom(RGB(255, 128, 0), 1);
    uint32_t count = historyCount(&app.history);
    ASSERT_TRUE(putText("FF8000"));
    EXPECT_TRUE(pasteColor(0));
    EXPECT_EQ(count, historyCount(&app.history));
    EXPECT_EQ(0, app.colorFormat);
}

// A paste into one value field sets that channel alone and keeps the form; a number of 256
// or more is taken but leaves the channel.
TEST_F(ColorClipboardTest, ChannelPastesSetOneChannel)
{
    const struct { uint32_t selector; const char* text; bool done; COLORREF color; } cases[] = {
        { pasteHexFlag | 2, "c0", true, RGB(10, 192, 30) },
        { pasteHexFlag | 2, "1c0", true, RGB(10, 20, 30) },
        { pasteDecimalFlag | 4, "256", true, RGB(10, 20, 30) },
        { pasteDecimalFlag | 1, "ff", false, RGB(10, 20, 30) },
        { pasteHexFlag | 4, "", false, RGB(10, 20, 30) },
    };
    for (const auto& c : cases) {
        startFrom(RGB(10, 20, 30), 1);
        uint32_t count = historyCount(&app.history);
        ASSERT_TRUE(putText(c.text));
        EXPECT_EQ(c.done, pasteColor(c.selector)) << std::hex << c.selector << " '" << c.text << "'";
        EXPECT_EQ(describe(c.color), describe(app.curColor)) << std::hex << c.selector << " '" << c.text << "'";
        EXPECT_EQ(1, app.colorFormat) << "'" << c.text << "'";
        bool changed = c.color != RGB(10, 20, 30);
        EXPECT_EQ(count + (changed ? 1 : 0), historyCount(&app.history)) << "'" << c.text << "'";
    }
}

TEST_F(ColorClipboardTest, PasteOfABitmapDoesNothingQuietly)
{
    startFrom(RGB(9, 8, 7), 1);
    uint32_t count = historyCount(&app.history);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, NULL);
    ASSERT_TRUE(bitmap && OpenClipboard(NULL));
    EmptyClipboard();
    ASSERT_TRUE(SetClipboardData(CF_BITMAP, bitmap) != NULL);
    CloseClipboard();
    MessageBoxCatcher catcher;
    EXPECT_FALSE(pasteColor(0));
    EXPECT_FALSE(pasteColor(pasteHexFlag | 1));
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

// The reading is bounded by the clipboard block, NUL or not, and a huge text costs no more
// than a refusal.
TEST_F(ColorClipboardTest, HugeAndBinaryTextsAreRefusedSafely)
{
    std::string digits(4 << 20, '9');
    std::string junk(1 << 16, '\0');
    uint32_t noise = 12345;
    for (char& c : junk) {
        noise = noise * 1103515245u + 12345u;
        c = static_cast<char>(1 + (noise >> 16) % 255);  // every byte but NUL
    }
    // channelDone: a channel paste of a number too large saturates, leaves the channel
    // and still counts as done
    const struct { const char* what; const std::string* text; bool withNul, channelDone; } cases[] = {
        { "4 MB of digits", &digits, true, true },
        { "binary junk without a NUL", &junk, false, false },
    };
    for (const auto& c : cases) {
        startFrom(RGB(9, 8, 7), 1);
        uint32_t count = historyCount(&app.history);
        ASSERT_TRUE(putTextBytes(c.text->c_str(), c.text->size() + (c.withNul ? 1 : 0))) << c.what;
        EXPECT_FALSE(pasteColor(0)) << c.what;
        EXPECT_EQ(c.channelDone, pasteColor(pasteDecimalFlag | 2)) << c.what;
        EXPECT_EQ(describe(RGB(9, 8, 7)), describe(app.curColor)) << c.what;
        EXPECT_EQ(count, historyCount(&app.history)) << c.what;
    }
    // a long text whose only word is a colour is still read
    std::string padded = std::string(1 << 20, '\n') + "0080ff" + std::string(1 << 20, '\t');
    ASSERT_TRUE(putText(padded));
    EXPECT_TRUE(pasteColor(0));
    EXPECT_EQ(describe(RGB(0, 128, 255)), describe(app.curColor));
}

// Copy, paste and a field's paste each say once that the clipboard could not be opened, and
// change nothing; once the other process lets go the same paste works.
TEST_F(ColorClipboardTest, ClipboardHeldByAnotherProcess)
{
    startFrom(RGB(9, 8, 7), 1);
    uint32_t count = historyCount(&app.history);
    ASSERT_TRUE(putText("FF8000"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.holding);
        MessageBoxCatcher catcher;
        onCommand(window, CMD_COPY);
        onCommand(window, CMD_PASTE);
        EXPECT_FALSE(pasteColor(pasteHexFlag | 1));
        std::vector<MessageBoxCatcher::Seen> boxes = catcher.seen();
        ASSERT_EQ(3u, boxes.size());
        for (const auto& box : boxes) {
            EXPECT_EQ("Error: OpenClipboard", box.caption);
            EXPECT_EQ("Could not open clipboard.", box.text);
        }
    }
    EXPECT_EQ("FF8000", clipboardText());
    EXPECT_EQ(describe(RGB(9, 8, 7)), describe(app.curColor));
    EXPECT_EQ(1, app.colorFormat);
    EXPECT_EQ(count, historyCount(&app.history));
    EXPECT_TRUE(pasteColor(0));
    EXPECT_EQ(describe(RGB(255, 128, 0)), describe(app.curColor));
}

} // namespace

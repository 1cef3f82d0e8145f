// The clipboard: a colour text out as CF_TEXT, and the text on it read back.
#include "color/color.h"
#include "app/appstate.h"

#include <cstdlib>
#include <cstring>

// Every failure lets go of the clipboard (and frees our block) before it says so: the
// message waits for the user, and other programs must not be locked out meanwhile.
static bool clipboardError(HGLOBAL block, const char* text, const char* caption)
{
    CloseClipboard();
    if (block)
        GlobalFree(block);
    MessageBoxA(WindowFromDC(app.windowDC), text, caption, MB_OK | MB_ICONINFORMATION);
    return false;
}

// Opened with the window, which so becomes the owner EmptyClipboard needs for SetClipboardData
// to hold. Another program may have it for a moment (clipboard history, remote desktop): a few
// tries over about 50 ms before giving up.
static bool openClipboard()
{
    for (int tries = 0; tries < 5; tries++, Sleep(10))
        if (OpenClipboard(WindowFromDC(app.windowDC)))
            return true;
    return false;
}

bool copyColorText(const char* text)
{
    if (!text)
        return false;
    size_t size = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
    if (!block)
        return false;
    void* memory = GlobalLock(block);
    if (!memory) {
        GlobalFree(block);
        return false;
    }
    memcpy(memory, text, size);
    GlobalUnlock(block);

    if (!openClipboard())
        return clipboardError(block, "Could not open clipboard.", "Error: OpenClipboard");
    if (!EmptyClipboard())
        return clipboardError(block, "Could not empty clipboard.", "Error: EmptyClipboard");
    if (!SetClipboardData(CF_TEXT, block))
        return clipboardError(block, "Could not place text in clipboard.", "Error: SetClipboardData");
    CloseClipboard(); // the block belongs to the clipboard from here on
    return true;
}

// The copy is bounded by the block's own size: a text without its NUL must not lead the
// copy past the end of the block, and a block that reports no size holds no text.
bool readClipboardText(char** text)
{
    if (!openClipboard())
        return clipboardError(NULL, "Could not open clipboard.", "Error: OpenClipboard");
    if (!IsClipboardFormatAvailable(CF_TEXT)) {
        CloseClipboard();
        return false;
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data)
        return clipboardError(NULL, "Could not obtain clipboard data.", "Error: GetClipboardData");
    const char* locked = static_cast<const char*>(GlobalLock(data));
    if (!locked) {
        CloseClipboard();
        return false;
    }
    size_t length = strnlen(locked, GlobalSize(data));
    char* copy = static_cast<char*>(malloc(length + 1));
    if (copy) {
        memcpy(copy, locked, length);
        copy[length] = '\0';
    }
    GlobalUnlock(data);
    CloseClipboard();
    if (!copy)
        return false;
    *text = copy;
    return true;
}

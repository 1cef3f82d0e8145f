// The clipboard: a colour text out as CF_TEXT, and the text on it read back.
#include "color/color.h"

#include <cstdlib>
#include <cstring>

static void clipboardError(const char* text, const char* caption)
{
    MessageBoxA(NULL, text, caption, MB_OK | MB_ICONINFORMATION);
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

    if (!OpenClipboard(NULL)) {
        clipboardError("Could not open clipboard.", "Error: OpenClipboard");
        GlobalFree(block);
        return false;
    }
    if (!EmptyClipboard()) {
        clipboardError("Could not empty clipboard.", "Error: EmptyClipboard");
        CloseClipboard();
        GlobalFree(block);
        return false;
    }
    if (!SetClipboardData(CF_TEXT, block)) {
        clipboardError("Could not place text in clipboard.", "Error: SetClipboardData");
        CloseClipboard();
        GlobalFree(block);
        return false;
    }
    CloseClipboard();   // the block belongs to the clipboard from here on
    return true;
}

// The copy is bounded by the block's own size: a text without its NUL must not
// lead the copy past the end of the block.
bool readClipboardText(char** text)
{
    if (!OpenClipboard(NULL)) {
        clipboardError("Could not open clipboard.", "Error: OpenClipboard");
        return false;
    }
    if (!IsClipboardFormatAvailable(CF_TEXT)) {
        CloseClipboard();
        return false;
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) {
        clipboardError("Could not obtain clipboard data.", "Error: GetClipboardData");
        CloseClipboard();
        return false;
    }
    const char* locked = static_cast<const char*>(GlobalLock(data));
    if (!locked) {
        CloseClipboard();
        return false;
    }
    size_t limit = GlobalSize(data);
    size_t length = limit ? strnlen(locked, limit) : strlen(locked);
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

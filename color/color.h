// The current colour on the window: stepping, setting, its texts, pasting and the clipboard.
#pragma once

#include <windows.h>
#include <cstdint>

void adjustColor(int32_t dr, int32_t dg, int32_t db);
void setColor(COLORREF color);
void formatColorTexts();
void repeatTick(HWND window);
void startRepeat(HWND window);

// One press of a channel button: its steps.
void stepChannels(int button);

// Selects the text form of the title and the copies.
void setColorFormat(int format);
// The copy text of a format (hexText, decText, floatText), or null for an unknown format.
const char* colorTextForFormat(int format);
bool pasteColor(uint32_t selector);

// The clipboard
bool copyColorText(const char* text);
bool readClipboardText(char** text);

// The colour's texts: hexadecimal, decimal and float forms for display, title and copy, and pasting them back.
#pragma once

#include <cstddef>
#include <cstdint>

enum ColorFormat { Hex = 0, Dec = 1, Float = 2 };

// Every text of one colour, each in the buffer size the window's fields have.
struct ColorTexts {
    char decField[3][4];   // "%.3d": '255', '128', '000'
    char hexField[3][3];   // "%.2X": 'FF', '80', '00'
    char floatField[3][5]; // "%.2f" of value / 255: '1.00', '0.50', '0.00'
    char hexText[7];       // 'FF8000'
    char decText[12];      // '255,128,0'
    char floatText[15];    // '1.00,0.50,0.00'
};

void buildColorTexts(const double rgb[3], ColorTexts* out);

// fieldTexts: redDec, greenDec, blueDec, redHex, greenHex, blueHex, redFloat, greenFloat, blueFloat.
// Any colorFormat other than Hex or Float uses the decimal texts.
void buildTitleTexts(int32_t colorFormat, const char* const fieldTexts[9], char* title, size_t titleSize, char* tip,
                     size_t tipSize);

// Paste selectors: 0 reads a whole colour in any form; otherwise one form flag plus channel bits.
const uint32_t pasteWholeColor = 0;
const uint32_t pasteDecimalFlag = 0x01000000;
const uint32_t pasteHexFlag = 0x02000000;
const uint32_t pasteRedBit = 1;
const uint32_t pasteGreenBit = 2;
const uint32_t pasteBlueBit = 4;

// A channel of 256 or more (0xFFFFFFFF for the unselected ones) means "leave unchanged".
// form is the ColorFormat of a whole colour, -1 for a single channel.
struct PasteResult {
    uint32_t red, green, blue;
    int32_t form;
};

// Reads a pasted text; false (and out untouched) when it is no colour text.
bool parseColorText(const char* text, uint32_t selector, PasteResult* out);

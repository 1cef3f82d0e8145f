// Fuzzes the paste parser: one channel against the C library's strtoul, a whole colour
// by its invariants (nothing written on refusal, channels 0..255, copy texts read back).
#include "color/colortext.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

static void check(bool ok, const char* what, const char* text)
{
    if (!ok)
        fprintf(stderr, "%s for text '%s'\n", what, text), abort();
}

// A one-channel paste read with strtok and a 32-bit strtoul built on strtoull.
static bool referenceChannel(const char* text, int base, uint32_t* value)
{
    std::string copy = text;
    char* word = strtok(&copy[0], " \t\n\r");
    if (word == nullptr || strtok(nullptr, " \t\n\r") != nullptr)
        return false;
    char* end;
    errno = 0;
    unsigned long long v = strtoull(word, &end, base);
    bool negative = word[strspn(word, " \t\n\v\f\r")] == '-';
    *value = errno == ERANGE || (negative ? 0ull - v : v) > 0xFFFFFFFFull ? 0xFFFFFFFFu : uint32_t(v);
    return *end == '\0';
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const char* s = text.c_str();
    const uint32_t keep = 0xFFFFFFFFu;
    for (uint32_t selector :
         { pasteDecimalFlag | pasteGreenBit, pasteHexFlag | pasteBlueBit, pasteHexFlag | pasteRedBit }) {
        PasteResult r = { 1, 2, 3, 4 }, want = { 1, 2, 3, 4 };
        uint32_t v;
        if (referenceChannel(s, selector & pasteHexFlag ? 16 : 10, &v))
            want = { selector & pasteRedBit ? v : keep, selector & pasteGreenBit ? v : keep,
                     selector & pasteBlueBit ? v : keep, -1 };
        check(parseColorText(s, selector, &r) == (want.form == -1) && memcmp(&r, &want, sizeof r) == 0,
              "a channel paste reads differently from strtoul", s);
    }

    PasteResult r = { 1, 2, 3, 4 };
    if (!parseColorText(s, pasteWholeColor, &r)) {
        check(r.red == 1 && r.green == 2 && r.blue == 3 && r.form == 4, "a refused paste wrote a result", s);
        return 0;
    }
    check(r.red <= 255 && r.green <= 255 && r.blue <= 255 && r.form >= Hex && r.form <= Float,
          "channel or form out of range", s);
    // Hex and decimal copy texts read back exactly, float ones (steps of 2.55, cut) to the same text.
    const double rgb[3] = { double(r.red), double(r.green), double(r.blue) };
    ColorTexts t, again;
    buildColorTexts(rgb, &t);
    PasteResult hex, dec, fraction;
    check(parseColorText(t.hexText, 0, &hex) && parseColorText(t.decText, 0, &dec)
              && parseColorText(t.floatText, 0, &fraction) && memcmp(&hex, &r, 3 * sizeof r.red) == 0
              && memcmp(&dec, &r, 3 * sizeof r.red) == 0,
          "a copy text of the pasted colour reads back differently", s);
    const double back[3] = { double(fraction.red), double(fraction.green), double(fraction.blue) };
    buildColorTexts(back, &again);
    check(strcmp(again.floatText, t.floatText) == 0, "a float copy text reads back to another text", s);
    return 0;
}

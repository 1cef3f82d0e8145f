// Fuzzes the paste parser: one channel against the C library's strtoul, a whole colour
// by its invariants (nothing written on refusal, channels 0..255, copy texts read back).
#include "color/colortext.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void check(bool ok, const char* what, const char* text)
{
    if (!ok) {
        fprintf(stderr, "%s for text '%s'\n", what, text);
        abort();
    }
}

// A one-channel paste read with strtok and a 32-bit strtoul built on strtoull.
bool referenceChannel(const char* text, int base, uint32_t* value)
{
    std::string copy = text;
    char* word = strtok(&copy[0], " \t\n\r");
    if (word == nullptr || strtok(nullptr, " \t\n\r") != nullptr)
        return false;
    char* end;
    errno = 0;
    unsigned long long v = strtoull(word, &end, base);
    bool negative = word[strspn(word, " \t\n\v\f\r")] == '-';
    bool tooLarge = errno == ERANGE || (negative ? 0ull - v : v) > 0xFFFFFFFFull;
    *value = tooLarge ? 0xFFFFFFFFu : uint32_t(v);
    return *end == '\0';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const char* s = text.c_str();
    for (uint32_t selector : {pasteDecimalFlag | pasteGreenBit, pasteHexFlag | pasteBlueBit}) {
        PasteResult r = {1, 2, 3, 4};
        uint32_t v;
        bool ok = referenceChannel(s, selector & pasteHexFlag ? 16 : 10, &v);
        check(parseColorText(s, selector, &r) == ok, "channel paste accepts differently from strtoul", s);
        PasteResult want = ok ? PasteResult{0xFFFFFFFFu, v, 0xFFFFFFFFu, -1} : PasteResult{1, 2, 3, 4};
        if (ok && (selector & pasteBlueBit))
            want = {0xFFFFFFFFu, 0xFFFFFFFFu, v, -1};
        check(memcmp(&r, &want, sizeof r) == 0, "channel paste reads differently from strtoul", s);
    }

    PasteResult r = {1, 2, 3, 4};
    if (!parseColorText(s, pasteWholeColor, &r)) {
        check(r.red == 1 && r.green == 2 && r.blue == 3 && r.form == 4, "a refused paste wrote a result", s);
        return 0;
    }
    check(r.red <= 255 && r.green <= 255 && r.blue <= 255 && r.form >= Hex && r.form <= Float,
          "channel or form out of range", s);
    const double rgb[3] = {double(r.red), double(r.green), double(r.blue)};
    ColorTexts t;
    buildColorTexts(rgb, &t);
    PasteResult hex, dec;
    check(parseColorText(t.hexText, 0, &hex) && parseColorText(t.decText, 0, &dec)
              && memcmp(&hex.red, &r.red, 3 * sizeof r.red) == 0 && memcmp(&dec.red, &r.red, 3 * sizeof r.red) == 0,
          "a copy text of the pasted colour reads back differently", s);
    return 0;
}

// Fuzzes the paste parser against a literal strtok/strtoul/strtod reading of the same rules.
#include "color/colortext.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char* const blanks = " \t\n\r";

void check(bool ok, const char* what, const char* text)
{
    if (!ok) {
        fprintf(stderr, "%s for text '%s'\n", what, text);
        abort();
    }
}

// strtoul as a 32-bit long has it, built on the host's 64-bit strtoull.
uint32_t strtoul32(const char* s, unsigned base, char** end)
{
    const char* p = s;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = *p == '-';
    errno = 0;
    unsigned long long v = strtoull(s, end, static_cast<int>(base));
    unsigned long long magnitude = negative ? 0ull - v : v;
    if (errno == ERANGE || magnitude > 0xFFFFFFFFull)
        return 0xFFFFFFFFu;
    return static_cast<uint32_t>(v);
}

// A decimal or float channel word of a whole colour, with the range refusal.
bool referenceChannel(const char* word, bool isFloat, uint32_t* channel)
{
    char* end;
    if (!isFloat) {
        uint32_t v = strtoul32(word, 10, &end);
        *channel = v;
        return *end == '\0' && v <= 255;
    }
    double v = strtod(word, &end);
    if (*end != '\0')
        return false;
    // Only plain decimal syntax of at most 63 characters is taken.
    const char* number = word + strspn(word, " \t\n\v\f\r");
    if (strlen(number) >= 64 || number[strspn(number, "0123456789+-.eE")] != '\0')
        return false;
    double scaled = v * 255.0;
    if (!(scaled > -1.0 && scaled < 256.0))
        return false;
    *channel = static_cast<uint32_t>(static_cast<int>(scaled));
    return true;
}

// The whole-colour paste read literally, splitting a private copy in place with strtok.
bool referenceWhole(const char* text, PasteResult* r)
{
    std::vector<char> copy(text, text + strlen(text) + 1);
    char* s = copy.data();
    char* end;
    if (strchr(s, ',') == nullptr) {
        char* first = strtok(s, blanks);
        if (first == nullptr || strtoul32(first, 16, &end) > 0xFFFFFF)
            return false;
        uint32_t h = strtoul32(first, 16, &end);
        char* second = strtok(nullptr, blanks);
        if (second == nullptr) {
            if (*end != '\0')
                return false;
            *r = {h >> 16 & 0xFF, h >> 8 & 0xFF, h & 0xFF, Hex};
        } else {
            char* third = strtok(nullptr, blanks);
            if (!referenceChannel(first, false, &r->red) || !referenceChannel(second, false, &r->green)
                || third == nullptr || !referenceChannel(third, false, &r->blue))
                return false;
            r->form = Dec;
        }
    } else {
        bool isFloat = strchr(s, '.') != nullptr;
        char* field1 = strtok(s, ",");
        char* field2 = strtok(nullptr, ",");
        char* rest = strtok(nullptr, "");
        if (field1 == nullptr || field2 == nullptr || rest == nullptr)
            return false;
        char* w1 = strtok(field1, blanks);
        if (w1 == nullptr || !referenceChannel(w1, isFloat, &r->red))
            return false;
        char* w2 = strtok(field2, blanks);
        if (w2 == nullptr || !referenceChannel(w2, isFloat, &r->green))
            return false;
        char* w3 = strtok(rest, blanks);
        if (w3 == nullptr || !referenceChannel(w3, isFloat, &r->blue))
            return false;
        r->form = isFloat ? Float : Dec;
    }
    return strtok(nullptr, blanks) == nullptr;
}

// One channel: the first word only, any number strtoul makes of it.
bool referenceChannelPaste(const char* text, uint32_t selector, PasteResult* r)
{
    std::vector<char> copy(text, text + strlen(text) + 1);
    char* word = strtok(copy.data(), blanks);
    if (word == nullptr)
        return false;
    char* end;
    uint32_t v = strtoul32(word, (selector & pasteHexFlag) ? 16 : 10, &end);
    if (*end != '\0' || strtok(nullptr, blanks) != nullptr)
        return false;
    *r = {(selector & pasteRedBit) ? v : 0xFFFFFFFFu, (selector & pasteGreenBit) ? v : 0xFFFFFFFFu,
          (selector & pasteBlueBit) ? v : 0xFFFFFFFFu, -1};
    return true;
}

bool sameResult(const PasteResult& a, const PasteResult& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.form == b.form;
}

void checkRoundTrip(const PasteResult& r, const char* text)
{
    const double rgb[3] = {double(r.red), double(r.green), double(r.blue)};
    ColorTexts t;
    buildColorTexts(rgb, &t);
    PasteResult back;
    check(parseColorText(t.hexText, pasteWholeColor, &back) && back.form == Hex && back.red == r.red
              && back.green == r.green && back.blue == r.blue,
          "hex copy text does not read back", text);
    check(parseColorText(t.decText, pasteWholeColor, &back) && back.form == Dec && back.red == r.red
              && back.green == r.green && back.blue == r.blue,
          "decimal copy text does not read back", text);
    check(parseColorText(t.floatText, pasteWholeColor, &back) && back.form == Float,
          "float copy text does not read back", text);
    const double again[3] = {double(back.red), double(back.green), double(back.blue)};
    ColorTexts t2;
    buildColorTexts(again, &t2);
    check(strcmp(t.floatText, t2.floatText) == 0, "float copy text changes on reading back", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    const char* text = buffer.data();

    PasteResult got = {1, 2, 3, 4};
    PasteResult expected = {1, 2, 3, 4};
    bool ok = parseColorText(text, pasteWholeColor, &got);
    bool expectedOk = referenceWhole(text, &expected);
    check(ok == expectedOk, ok ? "accepted a text the rules refuse" : "refused a text the rules accept", text);
    if (ok) {
        check(got.red <= 255 && got.green <= 255 && got.blue <= 255, "channel out of range", text);
        check(got.form >= Hex && got.form <= Float, "form out of range", text);
        check(sameResult(got, expected), "whole colour differs from the rules", text);
        checkRoundTrip(got, text);
    } else {
        check(got.red == 1 && got.green == 2 && got.blue == 3 && got.form == 4, "failure wrote a result", text);
    }

    const uint32_t selectors[] = {pasteDecimalFlag | pasteRedBit, pasteDecimalFlag | pasteGreenBit,
                                  pasteDecimalFlag | pasteBlueBit, pasteHexFlag | pasteRedBit,
                                  pasteHexFlag | pasteGreenBit,     pasteHexFlag | pasteBlueBit};
    for (uint32_t selector : selectors) {
        PasteResult one = {1, 2, 3, 4};
        PasteResult oneExpected = {1, 2, 3, 4};
        bool oneOk = parseColorText(text, selector, &one);
        check(oneOk == referenceChannelPaste(text, selector, &oneExpected), "channel paste differs", text);
        check(sameResult(one, oneExpected), "channel value differs", text);
    }
    return 0;
}

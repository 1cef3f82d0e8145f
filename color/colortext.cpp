// The colour's texts: hexadecimal, decimal and float forms for display, title and copy, and pasting them back.
#include "color/colortext.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// snprintf's result (at most size - 1 characters, always terminated). On Windows the system
// C library's own formatter does it: mingw's C99 snprintf would add its whole printf engine
// to the program for these few fixed formats.
static void formatInto(char* buffer, size_t size, const char* format, ...)
{
    if (size == 0)
        return;
    va_list arguments;
    va_start(arguments, format);
#ifdef _WIN32
    _vsnprintf(buffer, size - 1, format, arguments);
#else
    vsnprintf(buffer, size, format, arguments);
#endif
    va_end(arguments);
    buffer[size - 1] = '\0';
}

namespace {

int wholeValue(double v)
{
    // Truncates toward zero like the channels' own conversion; the guard only keeps a
    // damaged value from making the conversion undefined.
    if (!(v == v))
        return 0;
    if (v <= -2147483648.0)
        return INT32_MIN;
    if (v >= 2147483647.0)
        return INT32_MAX;
    return static_cast<int>(v);
}

// A range of the pasted text, [begin, end).
struct Span {
    const char* begin;
    const char* end;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// strtoul and strtod skip all C white space first; only '\v' and '\f' can start a word.
const char* skipSpace(const char* p, const char* end)
{
    while (p < end && (isBlank(*p) || *p == '\v' || *p == '\f'))
        ++p;
    return p;
}

// The first run of non-blank characters in [p, end); false when there is only blank space.
bool firstWord(const char* p, const char* end, Span* word)
{
    while (p < end && isBlank(*p))
        ++p;
    if (p == end)
        return false;
    const char* q = p;
    while (q < end && !isBlank(*q))
        ++q;
    *word = { p, q };
    return true;
}

// The first word of the next comma-separated field of [*rest, end). Leading commas are
// skipped, so a run of commas counts as one; *rest moves past the comma ending the field.
bool fieldWord(const char** rest, const char* end, Span* word)
{
    const char* p = *rest;
    while (p < end && *p == ',')
        ++p;
    const char* fieldEnd = p;
    while (fieldEnd < end && *fieldEnd != ',')
        ++fieldEnd;
    *rest = fieldEnd < end ? fieldEnd + 1 : end;
    return firstWord(p, fieldEnd, word);
}

unsigned digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned>(c - 'A' + 10);
    return 99;
}

// Reads [p, end) as a 32-bit strtoul does, whatever the width of long: white space,
// optional sign, in base 16 an optional 0x, then digits; too large saturates, '-' negates
// modulo 2^32. Returns where reading stopped, p itself when there was no number.
const char* readUnsigned(const char* p, const char* end, unsigned base, uint32_t* value)
{
    const char* start = p;
    p = skipSpace(p, end);
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // '0x' counts as a prefix only before a hex digit; otherwise the '0' is the number.
    if (base == 16 && end - p >= 3 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && digitValue(p[2]) < 16)
        p += 2;
    const char* digits = p;
    uint32_t v = 0;
    bool overflow = false;
    for (; p < end; ++p) {
        unsigned d = digitValue(*p);
        if (d >= base)
            break;
        if (v > (0xFFFFFFFFu - d) / base)
            overflow = true;
        else
            v = v * base + d;
    }
    *value = 0;
    if (p == digits)
        return start;
    *value = overflow ? 0xFFFFFFFFu : negative ? 0u - v : v;
    return p;
}

// Reads [p, end) as strtod reads a plain decimal number (sign, digits, fraction, exponent).
// The exotic forms some C libraries add (inf, nan, hex fractions) are refused, so every
// platform reads the same; so is a number over 63 characters, which no copy text has.
const char* readFraction(const char* p, const char* end, double* value)
{
    const char* start = p;
    p = skipSpace(p, end);
    const char* number = p;
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    const char* mantissa = p;
    while (p < end && *p >= '0' && *p <= '9')
        ++p;
    size_t mantissaDigits = static_cast<size_t>(p - mantissa);
    if (p < end && *p == '.') {
        ++p;
        const char* fraction = p;
        while (p < end && *p >= '0' && *p <= '9')
            ++p;
        mantissaDigits += static_cast<size_t>(p - fraction);
    }
    *value = 0.0;
    if (mantissaDigits == 0)
        return start;
    // The exponent belongs to the number only when it has digits, as in strtod.
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        if (q < end && *q >= '0' && *q <= '9') {
            while (q < end && *q >= '0' && *q <= '9')
                ++q;
            p = q;
        }
    }
    char copy[64];
    size_t length = static_cast<size_t>(p - number);
    if (length >= sizeof copy)
        return start;
    memcpy(copy, number, length);
    copy[length] = '\0';
    // atof is strtod's value; with mingw it is the system library's, where strtod is mingw's
    // own C99 one, 17 KB of code for the forms refused above.
    *value = atof(copy);
    return p;
}

// One value of a whole-colour text: the number must fill its word and, after scaling a
// float by 255 and truncating, lie in 0..255. Out-of-range values are refused rather
// than left to spill into the neighbouring channel's bits.
bool readChannelWord(Span word, bool isFloat, uint32_t* channel)
{
    if (isFloat) {
        double v;
        if (readFraction(word.begin, word.end, &v) != word.end)
            return false;
        double scaled = v * 255.0;
        if (!(scaled > -1.0 && scaled < 256.0)) // NaN and infinities fail here too
            return false;
        *channel = static_cast<uint32_t>(static_cast<int>(scaled));
        return true;
    }
    uint32_t v;
    if (readUnsigned(word.begin, word.end, 10, &v) != word.end || v > 255)
        return false;
    *channel = v;
    return true;
}

} // namespace

void buildColorTexts(const double rgb[3], ColorTexts* out)
{
    int whole[3];
    double fraction[3];
    for (int i = 0; i < 3; ++i) {
        whole[i] = wholeValue(rgb[i]);
        fraction[i] = rgb[i] / 255.0;
    }
    for (int i = 0; i < 3; ++i)
        formatInto(out->decField[i], sizeof out->decField[i], "%.3d", whole[i]);
    formatInto(out->decText, sizeof out->decText, "%d,%d,%d", whole[0], whole[1], whole[2]);
    for (int i = 0; i < 3; ++i)
        formatInto(out->hexField[i], sizeof out->hexField[i], "%.2X", static_cast<unsigned>(whole[i]));
    formatInto(out->hexText, sizeof out->hexText, "%.2X%.2X%.2X", static_cast<unsigned>(whole[0]),
               static_cast<unsigned>(whole[1]), static_cast<unsigned>(whole[2]));
    for (int i = 0; i < 3; ++i)
        formatInto(out->floatField[i], sizeof out->floatField[i], "%.2f", fraction[i]);
    formatInto(out->floatText, sizeof out->floatText, "%.2f,%.2f,%.2f", fraction[0], fraction[1], fraction[2]);
}

void buildTitleTexts(int32_t colorFormat, const char* const fieldTexts[9], char* title, size_t titleSize, char* tip,
                     size_t tipSize)
{
    if (colorFormat == Hex) {
        const char* const* t = fieldTexts + 3;
        formatInto(title, titleSize, "%s %s %s - Huebrick", t[0], t[1], t[2]);
        formatInto(tip, tipSize, "%s %s %s", t[0], t[1], t[2]);
        return;
    }
    // A damaged format setting shows the decimal texts.
    const char* const* t = fieldTexts + (colorFormat == Float ? 6 : 0);
    formatInto(title, titleSize, "%s, %s, %s - Huebrick", t[0], t[1], t[2]);
    formatInto(tip, tipSize, "%s, %s, %s", t[0], t[1], t[2]);
}

bool parseColorText(const char* text, uint32_t selector, PasteResult* out)
{
    if (text == nullptr)
        return false;
    const char* end = text + strlen(text);
    size_t length = static_cast<size_t>(end - text);
    PasteResult r = { 0, 0, 0, -1 };
    Span last; // the word holding the final value: nothing may follow it

    if (selector != pasteWholeColor) {
        // One channel: its first word only, in the form the field shows.
        uint32_t v;
        if (!firstWord(text, end, &last)
            || readUnsigned(last.begin, last.end, (selector & pasteHexFlag) ? 16 : 10, &v) != last.end)
            return false;
        r.red = (selector & pasteRedBit) ? v : 0xFFFFFFFFu;
        r.green = (selector & pasteGreenBit) ? v : 0xFFFFFFFFu;
        r.blue = (selector & pasteBlueBit) ? v : 0xFFFFFFFFu;
    } else if (memchr(text, ',', length) == nullptr) {
        Span first;
        Span second;
        uint32_t h;
        if (!firstWord(text, end, &first))
            return false;
        const char* hexEnd = readUnsigned(first.begin, first.end, 16, &h);
        if (h > 0xFFFFFF)
            return false;
        if (firstWord(first.end, end, &second)) {
            // More words: decimal values separated by blanks (the first one still had to pass as hex).
            if (!readChannelWord(first, false, &r.red) || !readChannelWord(second, false, &r.green)
                || !firstWord(second.end, end, &last) || !readChannelWord(last, false, &r.blue))
                return false;
            r.form = Dec;
        } else {
            // A single word is RRGGBB with leading zeros left out.
            if (hexEnd != first.end)
                return false;
            last = first;
            r = { h >> 16 & 0xFF, h >> 8 & 0xFF, h & 0xFF, Hex };
        }
    } else {
        // Comma-separated values; a full stop anywhere makes them fractions of 1.
        bool isFloat = memchr(text, '.', length) != nullptr;
        const char* rest = text;
        Span word;
        if (!fieldWord(&rest, end, &word) || !readChannelWord(word, isFloat, &r.red) || !fieldWord(&rest, end, &word)
            || !readChannelWord(word, isFloat, &r.green) || !firstWord(rest, end, &last)
            || !readChannelWord(last, isFloat, &r.blue))
            return false;
        r.form = isFloat ? Float : Dec;
    }

    Span extra;
    if (firstWord(last.end, end, &extra))
        return false;
    if (out != nullptr)
        *out = r;
    return true;
}

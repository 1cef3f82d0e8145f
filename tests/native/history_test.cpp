// Tests of the undo/redo ring of colours and its saved form.
#include "color/history.h"

#include <gtest/gtest.h>

#include <vector>

const uint32_t white = 0xFFFFFF;

// The held colours, oldest first.
static std::vector<uint32_t> heldColors(const ColorHistory& h)
{
    std::vector<uint32_t> colors;
    for (uint32_t i = 0; i < historyCount(&h); ++i)
        colors.push_back(h.entries[(h.oldest + i) % historySize]);
    return colors;
}

TEST(History, UndoRedoAndRecording)
{
    // Steps: a letter records that colour, '<' undoes, '>' redoes. After each step the
    // current colour is the next letter of current; held is the ring at the end. w is white,
    // A differs from a only in the unused top byte.
    auto colorOf = [](char c) {
        return c == 'w' ? white : c == 'A' ? 0x010000FFu : 0xFFu + uint32_t(c - 'a') * 0x3300;
    };
    const struct {
        const char *name, *steps, *current, *held;
    } scenarios[] = {
        { "a first run holds white alone", "<>w", "www", "w" },
        { "undo twice then record drops the redo colours", "abc<<d>", "abcbadd", "wad" },
        { "recording the current colour adds nothing and keeps redo", "ab<a>>", "abaabb", "wab" },
        { "undo stops at the oldest colour", "a<<w>w", "awwwaw", "waw" },
        { "equality is the whole 32-bit value", "Aa", "Aa", "wAa" },
    };
    for (const auto& s : scenarios) {
        ColorHistory h;
        resetHistory(&h);
        for (size_t i = 0; s.steps[i] != '\0'; ++i) {
            s.steps[i] == '<'       ? undoColor(&h)
                : s.steps[i] == '>' ? redoColor(&h)
                                    : recordColor(&h, colorOf(s.steps[i]));
            EXPECT_EQ(currentColor(&h), colorOf(s.current[i])) << s.name << ", step " << i;
        }
        std::vector<uint32_t> held;
        for (const char* c = s.held; *c != '\0'; ++c)
            held.push_back(colorOf(*c));
        EXPECT_EQ(heldColors(h), held) << s.name;
    }
}

TEST(History, FullRingForgetsTheOldestAndSavesFromIt)
{
    ColorHistory h, loaded;
    resetHistory(&h);
    for (uint32_t i = 0; i < historySize + 100; ++i)
        recordColor(&h, i);
    // White and the first 100 are gone; the ring holds the last 1024, all reachable.
    std::vector<uint32_t> held = heldColors(h);
    ASSERT_EQ(held.size(), historySize);
    for (uint32_t i = 0; i < historySize; ++i)
        undoColor(&h);
    EXPECT_EQ(currentColor(&h), 100u);

    // Saved oldest first, little-endian; the undone colours come back, with the newest current.
    uint8_t bytes[4096];
    ASSERT_EQ(saveHistoryBytes(&h, bytes), 4096u);
    EXPECT_EQ(std::vector<uint8_t>(bytes + 4092, bytes + 4096), (std::vector<uint8_t>{ 0x63, 0x04, 0, 0 }));
    resetHistory(&loaded);
    ASSERT_TRUE(loadHistoryBytes(&loaded, bytes, sizeof bytes));
    EXPECT_EQ(heldColors(loaded), held);
    EXPECT_EQ(currentColor(&loaded), historySize + 99);
}

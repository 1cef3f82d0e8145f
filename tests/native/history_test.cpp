// Tests of the undo/redo ring of colours and its saved form.
#include "color/history.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

const uint32_t white = 0xFFFFFF;
const uint32_t colorA = 0x0000FF;
const uint32_t colorB = 0x00FF00;
const uint32_t colorC = 0xFF0000;
const uint32_t colorD = 0x123456;

ColorHistory freshHistory()
{
    ColorHistory h;
    resetHistory(&h);
    return h;
}

// The held colours, oldest first.
std::vector<uint32_t> heldColors(const ColorHistory& h)
{
    std::vector<uint32_t> colors;
    for (uint32_t i = 0; i < historyCount(&h); ++i)
        colors.push_back(h.entries[(h.oldest + i) % historySize]);
    return colors;
}

TEST(History, FirstRunIsWhite)
{
    ColorHistory h = freshHistory();
    EXPECT_EQ(currentColor(&h), white);
    EXPECT_EQ(historyCount(&h), 1u);
    undoColor(&h);
    EXPECT_EQ(currentColor(&h), white);
    redoColor(&h);
    EXPECT_EQ(currentColor(&h), white);
    recordColor(&h, white); // already current: nothing added
    EXPECT_EQ(historyCount(&h), 1u);
}

TEST(History, UndoRedoAndRecording)
{
    // Each step: an action on the history, then the expected current colour and held colours.
    enum Action { Record, Undo, Redo };
    struct Step {
        Action action;
        uint32_t color;
        uint32_t current;
        std::vector<uint32_t> held;
    };
    struct Scenario {
        const char* name;
        std::vector<Step> steps;
    };
    const Scenario scenarios[] = {
        {"undo twice then record drops the redo colours",
         {{Record, colorA, colorA, {white, colorA}},
          {Record, colorB, colorB, {white, colorA, colorB}},
          {Record, colorC, colorC, {white, colorA, colorB, colorC}},
          {Undo, 0, colorB, {white, colorA, colorB, colorC}},
          {Undo, 0, colorA, {white, colorA, colorB, colorC}},
          {Record, colorD, colorD, {white, colorA, colorD}},
          {Redo, 0, colorD, {white, colorA, colorD}}}},
        {"recording the current colour adds nothing and keeps redo",
         {{Record, colorA, colorA, {white, colorA}},
          {Record, colorB, colorB, {white, colorA, colorB}},
          {Undo, 0, colorA, {white, colorA, colorB}},
          {Record, colorA, colorA, {white, colorA, colorB}},
          {Redo, 0, colorB, {white, colorA, colorB}},
          {Redo, 0, colorB, {white, colorA, colorB}}}},
        {"undo stops at the oldest colour",
         {{Record, colorA, colorA, {white, colorA}},
          {Undo, 0, white, {white, colorA}},
          {Undo, 0, white, {white, colorA}},
          {Redo, 0, colorA, {white, colorA}},
          {Record, colorA, colorA, {white, colorA}},
          {Record, white, white, {white, colorA, white}}}},
        {"equality is the whole 32-bit value",
         {{Record, colorA | 0x01000000, colorA | 0x01000000, {white, colorA | 0x01000000}},
          {Record, colorA, colorA, {white, colorA | 0x01000000, colorA}}}},
    };
    for (const Scenario& s : scenarios) {
        ColorHistory h = freshHistory();
        for (size_t i = 0; i < s.steps.size(); ++i) {
            const Step& step = s.steps[i];
            if (step.action == Record)
                recordColor(&h, step.color);
            else if (step.action == Undo)
                undoColor(&h);
            else
                redoColor(&h);
            SCOPED_TRACE(testing::Message() << s.name << ", step " << i);
            EXPECT_EQ(currentColor(&h), step.current);
            EXPECT_EQ(heldColors(h), step.held);
        }
    }
}

TEST(History, FullRingForgetsTheOldest)
{
    ColorHistory h = freshHistory();
    for (uint32_t i = 0; i < historySize; ++i)
        recordColor(&h, i);
    // White is gone; the ring holds exactly the 1024 recorded colours.
    EXPECT_EQ(historyCount(&h), historySize);
    EXPECT_EQ(heldColors(h).front(), 0u);
    EXPECT_EQ(heldColors(h).back(), historySize - 1);
    for (uint32_t i = 1; i < historySize; ++i) {
        undoColor(&h);
        ASSERT_EQ(currentColor(&h), historySize - 1 - i);
    }
    undoColor(&h);
    EXPECT_EQ(currentColor(&h), 0u);
    for (uint32_t i = 1; i < historySize; ++i)
        redoColor(&h);
    EXPECT_EQ(currentColor(&h), historySize - 1);
    redoColor(&h);
    EXPECT_EQ(currentColor(&h), historySize - 1);

    // Going on keeps the count at 1024 and always drops the oldest.
    for (uint32_t i = 0; i < 3000; ++i) {
        recordColor(&h, 0x10000 + i);
        ASSERT_EQ(historyCount(&h), historySize);
        ASSERT_EQ(heldColors(h).back(), 0x10000 + i);
    }
    EXPECT_EQ(heldColors(h).front(), 0x10000u + 3000 - historySize);
}

TEST(History, SavesOldestFirstAndLoadsBack)
{
    ColorHistory h = freshHistory();
    for (uint32_t i = 0; i < historySize + 100; ++i)
        recordColor(&h, 0x00010203u * (i + 1) & 0xFFFFFF);
    ASSERT_NE(h.oldest, 0u); // the ring wraps
    undoColor(&h);
    undoColor(&h);
    std::vector<uint32_t> held = heldColors(h);

    uint8_t bytes[4096];
    ASSERT_EQ(saveHistoryBytes(&h, bytes), 4096u);
    for (uint32_t i = 0; i < historySize; ++i) {
        uint32_t c = held[i];
        ASSERT_EQ(bytes[i * 4], c & 0xFF) << i;
        ASSERT_EQ(bytes[i * 4 + 1], c >> 8 & 0xFF) << i;
        ASSERT_EQ(bytes[i * 4 + 2], c >> 16 & 0xFF) << i;
        ASSERT_EQ(bytes[i * 4 + 3], 0) << i;
    }

    ColorHistory loaded = freshHistory();
    ASSERT_TRUE(loadHistoryBytes(&loaded, bytes, sizeof bytes));
    EXPECT_EQ(loaded.oldest, 0u);
    EXPECT_EQ(loaded.newest, historySize - 1);
    EXPECT_EQ(loaded.current, historySize - 1); // undone colours come back as current
    EXPECT_EQ(heldColors(loaded), held);
}

TEST(History, LoadsOnlyUsableValues)
{
    struct LoadCase {
        size_t count;
        bool ok;
        uint32_t held;
    };
    const LoadCase cases[] = {
        {0, false, 1}, {2, false, 1}, {3, false, 1}, {4, true, 1}, {7, true, 1}, {8, true, 2},
        {11, true, 2}, {4095, true, 1023}, {4096, true, 1024}, {4097, false, 1}, {5000, false, 1},
    };
    std::vector<uint8_t> bytes(5000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " bytes");
        ColorHistory h = freshHistory();
        h.current = 5; // the loader always leaves current at newest
        EXPECT_EQ(loadHistoryBytes(&h, bytes.data(), c.count), c.ok);
        EXPECT_EQ(historyCount(&h), c.held);
        EXPECT_EQ(h.oldest, 0u);
        EXPECT_EQ(h.current, h.newest);
        if (!c.ok) {
            EXPECT_EQ(currentColor(&h), white);
            continue;
        }
        uint32_t last = c.held - 1;
        uint32_t expected = bytes[last * 4] | bytes[last * 4 + 1] << 8 | bytes[last * 4 + 2] << 16
                            | static_cast<uint32_t>(bytes[last * 4 + 3]) << 24;
        EXPECT_EQ(currentColor(&h), expected);
    }

    // Two saved colours: the second is current, Undo reaches the first.
    const uint8_t two[8] = {0xFF, 0x80, 0x00, 0x00, 0x01, 0x02, 0x03, 0x00};
    ColorHistory h = freshHistory();
    ASSERT_TRUE(loadHistoryBytes(&h, two, sizeof two));
    EXPECT_EQ(currentColor(&h), 0x030201u);
    undoColor(&h);
    EXPECT_EQ(currentColor(&h), 0x0080FFu);
    uint8_t saved[4096];
    ASSERT_EQ(saveHistoryBytes(&h, saved), 8u);
    EXPECT_EQ(memcmp(saved, two, 8), 0);
}

} // namespace

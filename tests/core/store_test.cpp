#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "host/title.h"
#include "store/store.h"
#include "views/line_table.h"
#include "views/record_editor.h"
#include "views/view_state.h"
#include "support/store_fixture.h"

namespace {

using StoreIndex = StoreTest;

std::vector<int32_t> indexSlots(int32_t count)
{
    return std::vector<int32_t>(entryIndex, entryIndex + count + 2);
}

TEST_F(StoreIndex, KeepsTrailingTextAndFindsSeparatorsEndingBehindIt)
{
    // Trailing text after the last entry stays in the buffer; a separator
    // starting inside the text is found even when it ends in stale bytes.
    setStoreText("Ann\r\n\r\nTail\r\n");
    EXPECT_EQ(storeText(), "Ann\r\n\r\nTail\r\n");
    setStoreText("A\r\n\r\n");
    usedBytes = 3;
    EXPECT_EQ(rebuildEntryIndex(), 1);
    EXPECT_EQ(entryIndex[1], 5);
}

// The scan as a plain loop over every position, to check the fast one.
int32_t literalScan(const unsigned char* b, int32_t used, std::vector<int32_t>& index)
{
    index.assign(static_cast<size_t>(used) + 2, 0);
    int32_t n = 0;
    for (int32_t i = 0; i < used; ++i) {
        if (b[i] == 13 && b[i + 1] == 10 && b[i + 2] == 13 && b[i + 3] == 10) {
            ++n;
            i += 3;
            index[n] = i + 1;
        }
    }
    index[n + 1] = used;
    index.resize(static_cast<size_t>(n) + 2);
    return n;
}

TEST_F(StoreIndex, FastScanAgreesWithPlainLoopOnRandomText)
{
    std::mt19937 random(7);
    const unsigned char alphabet[] = {13, 10, 13, 10, 'a', ' ', 0};
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 60, 'x');
        for (char& c : text)
            c = static_cast<char>(alphabet[random() % sizeof alphabet]);
        setStoreText(text);
        std::vector<int32_t> expected;
        int32_t n = literalScan(textBuffer, usedBytes, expected);
        ASSERT_EQ(entryCount, n) << "round " << round;
        ASSERT_EQ(indexSlots(n), expected) << "round " << round;
    }
}

// Small edits of bytes that are not CR or LF, anywhere, also right at and
// inside separators, at entry starts and in the trailing text: the index
// the edit leaves is the one a full rebuild finds, whether it was moved
// along or rebuilt.
TEST_F(StoreIndex, IndexAfterASmallEditIsTheRebuiltOne)
{
    std::mt19937 random(1409);
    const char pieces[][5] = {"\r", "\n", "\r\n", "\r\n\r\n", "a", "b ", "\t"};
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 14); n > 0; --n)
            text += pieces[random() % std::size(pieces)];
        setStoreText(text);
        const int32_t at = static_cast<int32_t>(random() % (text.size() + 1));
        int32_t delta;
        if (random() % 2 == 0 || at == usedBytes || textBuffer[at] == 13 || textBuffer[at] == 10) {
            delta = 1 + static_cast<int32_t>(random() % 2);
            text.insert(static_cast<size_t>(at), delta == 1 ? "x" : "\ty");
        } else {
            delta = -1;
            text.erase(static_cast<size_t>(at), 1);
        }
        // The edited text in the buffer, the index still the old one.
        std::memcpy(textBuffer, text.data(), text.size());
        std::memset(textBuffer + text.size(), 0, 4);
        usedBytes = static_cast<int32_t>(text.size());

        const int32_t count = reindexAfterEdit(at, delta);
        const std::vector<int32_t> moved = indexSlots(count);
        ASSERT_EQ(rebuildEntryIndex(), count) << round;
        ASSERT_EQ(indexSlots(count), moved) << "round " << round << " at " << at << " delta " << delta;
    }
}

TEST_F(StoreIndex, RebuildShowsTheCountAndMarksTheTitleUnlessSuppressed)
{
    formatEntryCountText(0);   // the units digit even when it is a zero
    EXPECT_STREQ(entryCountText, "       0 Entries");
    formatEntryCountText(1002);   // inner zeros are digits
    EXPECT_STREQ(entryCountText, "    1002 Entries");
    formatEntryCountText(99999999);
    EXPECT_STREQ(entryCountText, "99999999 Entries");

    recorder.hasMainWindow = true;
    std::strcpy(titleText, " C:\\ADR\\HOME.ADR");
    setStoreText("A\r\n\r\nB\r\n\r\n");
    EXPECT_EQ(recorder.title, "*C:\\ADR\\HOME.ADR");
    EXPECT_EQ(recorder.status, "       2 Entries");
    EXPECT_TRUE(dataModified);

    titleText[0] = ' ';
    recorder.title.clear();
    dataModified = false;
    countDisplaySuppressed = true;
    usedBytes = 5;
    EXPECT_EQ(rebuildEntryIndex(), 1);
    countDisplaySuppressed = false;
    EXPECT_EQ(recorder.title, "");
    EXPECT_STREQ(entryCountText, "       2 Entries");
    EXPECT_TRUE(dataModified);
}

using StoreCapacity = StoreTest;

TEST_F(StoreCapacity, GrowsOnlyWhenHeadroomRunsOutAndShrinksForABlankEntry)
{
    ASSERT_EQ(bufferCapacity, 2000);
    usedBytes = 1499;
    ensureStoreCapacity();
    EXPECT_EQ(bufferCapacity, 2000);
    usedBytes = 1500;
    ensureStoreCapacity();
    EXPECT_EQ(bufferCapacity, 3500);

    freeStore();
    createEmptyStore();
    usedBytes = 1996;
    ensureStoreCapacity();
    EXPECT_EQ(bufferCapacity, 3996);

    // The index grows when fewer than five slots are free.
    indexCapacity = 100;
    entryCount = 94;
    ensureStoreCapacity();
    EXPECT_EQ(indexCapacity, 100);
    entryCount = 95;
    ensureStoreCapacity();
    EXPECT_EQ(indexCapacity, 195);

    // A blank entry is one blank line in a store of the starting size.
    setStoreText(std::string(3000, 'x') + "\r\n\r\n");
    resetToBlankEntry();
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(entryCount, 1);
    EXPECT_EQ(bufferCapacity, 2000);
    EXPECT_EQ(textBuffer[5], 0);
}

// No memory to grow: the message each time, and the text as it was.
TEST_F(StoreCapacity, FailedGrowthLeavesTheTextAndSaysSo)
{
    const std::string text = "Anna\r\nWeg\r\n\r\nBob\r\n\r\n";
    setStoreText(text);
    resizeTextBuffer(usedBytes + 4);
    activeView = ActiveView::DataView;
    buildLineTable(2, 0, 0);
    caretLine = caretColumn = 1;
    auto* const kept = reallocateBlock;
    reallocateBlock = [](void*, size_t) -> void* { return nullptr; };
    ensureStoreCapacity();
    EXPECT_FALSE(growTextBufferFor(10));
    editEntry('x');
    indexCapacity = 3;   // room for one entry of the two
    EXPECT_EQ(rebuildEntryIndex(), 1);
    reallocateBlock = kept;
    EXPECT_EQ(storeText(), text);
    EXPECT_EQ(bufferCapacity, usedBytes + 4);
    EXPECT_EQ(entryIndex[2], usedBytes);   // the last entry runs to the end
    EXPECT_EQ(recorder.eventsStartingWith("error").size(), 4u);
}

}  // namespace

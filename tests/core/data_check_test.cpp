#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/data_check.h"
#include "resources/resource.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/view_state.h"

namespace {

using DataCheck = StoreTest;

TEST_F(DataCheck, ResetsViewsEvenWithoutDoubles)
{
    setStoreText("Only\r\n\r\n");
    firstVisibleEntry = 0;
    cursorRow = 0;
    caretLine = 1;
    caretColumn = 4;
    selectionActive = true;
    markActive = true;
    markAnchor = 0;
    dataModified = false;
    recorder.events.clear();
    removeDuplicateEntries();
    EXPECT_EQ(storeText(), "Only\r\n\r\n");
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(caretColumn, 0);
    EXPECT_FALSE(selectionActive);
    EXPECT_FALSE(markActive);
    EXPECT_EQ(markAnchor, -1);
    EXPECT_EQ(selAnchorLine, -1);
    EXPECT_TRUE(dataModified);
    auto menus = recorder.eventsStartingWith("menu");
    EXPECT_EQ(menus, (std::vector<std::string>{"menu|" + std::to_string(IDM_COPY) + "|off",
                                               "menu|" + std::to_string(IDM_CUT) + "|off"}));
}

// The removal done literally: one entry at a time, rescanning after each.
std::string literalRemoval(std::string text)
{
    for (;;) {
        setStoreText(text);
        bool removed = false;
        for (int32_t i = 0; i + 1 < entryCount && !removed; ++i) {
            int32_t length = entryLength(i);
            if (text.compare(static_cast<size_t>(entryIndex[i + 1]), static_cast<size_t>(length), text,
                             static_cast<size_t>(entryIndex[i]), static_cast<size_t>(length)) == 0) {
                text.erase(static_cast<size_t>(entryIndex[i]), static_cast<size_t>(length));
                removed = true;
            }
        }
        if (!removed)
            return text;
    }
}

// Entries that differ only in case, that begin one another, or that have
// lines of the same lengths; runs of doubles, doubles apart, trailing text.
TEST_F(DataCheck, AgreesWithOneAtATimeRemovalOnRandomStores)
{
    std::mt19937 random(42);
    const std::vector<std::string> entries = {"A\r\n\r\n", "A\r\nx\r\n\r\n", "a\r\n\r\n", "\r\n\r\n",
                                              "A\r\nx\r\ny\r\n\r\n", "A\r\ny\r\n\r\n"};
    for (int round = 0; round < 1000; ++round) {
        std::string text;
        int count = static_cast<int>(random() % 12);
        for (int e = 0; e < count; ++e)
            text += entries[random() % entries.size()];
        if (random() % 3 == 0)
            text += "A\r\n";
        std::string expected = literalRemoval(text);
        setStoreText(text);
        removeDuplicateEntries();
        ASSERT_EQ(storeText(), expected) << "round " << round;
    }
}

}  // namespace

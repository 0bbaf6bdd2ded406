#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "find/search.h"
#include "find/text_match.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/line_table.h"
#include "views/view_state.h"

namespace {

// Entry 0 "Anna", 1 "Bob Müller", 2 "Carl"; "Weg" in entries 0 and 2.
const std::string book = "Anna\r\nWeg 1\r\nBerlin\r\n\r\n"
                         "Bob M\xFCller\r\nMUELLER\r\n\r\n"
                         "Carl\r\nWeg 2\r\nBerlin\r\n\r\n";

class Search : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        setStoreText(book);
    }
    // Runs one search with the caret on (line, column) of entry e.
    void searchFrom(int32_t e, int32_t line, int32_t column, const char* text, int direction, int fold = 1)
    {
        firstVisibleEntry = 0;
        cursorRow = e;
        currentEntryOffset = entryIndex[e];
        lineTableOwner = -1;
        caretLine = line;
        caretColumn = column;
        std::strcpy(searchText, text);
        searchDirection = direction;
        searchFold = fold;
        recorder.events.clear();
        searchNext();
    }
    bool notFound() const { return !recorder.eventsStartingWith("info|ORDANE-Lumo:|No adequate entry found!").empty(); }
};

// Where a search lands: entry, line, caret column and selection start, or
// entry -1 for "No adequate entry found!".
struct Case {
    const char* name;
    int32_t entry, line, column;   // caret before
    const char* text;
    int direction, fold;
    int32_t hitEntry, hitLine, selColumn, caretColumn;
};

TEST_F(Search, LandsWhereTheRulesSay)
{
    const Case cases[] = {
        // A text that ends its line is found (a scan stopping n bytes short of a CR would miss it).
        {"end of line", 0, 0, 0, "lin", 1, 1, 0, 2, 3, 6},
        // A control byte in the text never matches: memcmp-like matching would find it.
        {"across line end", 0, 0, 0, "1\r\nBerlin", 3, 1, -1, 0, 0, 0},
        // Downward the byte under the caret is tested first.
        {"caret on hit, down", 0, 1, 0, "Weg", 1, 1, 0, 1, 0, 3},
        {"caret on hit, around", 0, 1, 0, "Weg", 3, 1, 0, 1, 0, 3},
        // Upward the caret steps back once, so a hit right before it is found.
        {"caret behind hit, up", 2, 1, 3, "Weg", 0, 1, 2, 1, 0, 0},
        {"caret behind hit, up around", 2, 1, 3, "Weg", 2, 1, 2, 1, 0, 0},
        // Direction 0 at offset 0 ends at once; direction 2 starts from the last byte.
        {"up at start", 0, 0, 0, "Weg", 0, 1, -1, 0, 0, 0},
        {"up around at start", 0, 0, 0, "Weg", 2, 1, 2, 1, 0, 0},
        // Around: past the end the search goes on from the start.
        {"down around wraps", 2, 2, 0, "Weg", 3, 1, 0, 1, 0, 3},
        {"down stops at end", 2, 2, 0, "Weg", 1, 1, -1, 0, 0, 0},
        // Folding: ü finds Ü when capitals do not count, not when they do.
        {"umlaut folded", 0, 0, 0, "M\xDCLLER", 3, 1, 1, 0, 4, 10},
        {"umlaut exact", 0, 0, 0, "M\xDCLLER", 3, 0, -1, 0, 0, 0},
        {"case exact", 0, 0, 0, "mueller", 3, 0, -1, 0, 0, 0},
        {"case folded", 0, 0, 0, "mueller", 3, 1, 1, 1, 0, 7},
        // Around with no hit comes back to the caret and stops.
        {"around, none", 1, 0, 2, "Zebra", 3, 1, -1, 0, 0, 0},
        // A hit at the first byte of the book is a hit.
        {"first byte, around", 1, 0, 2, "Anna", 3, 1, 0, 0, 0, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        searchFrom(c.entry, c.line, c.column, c.text, c.direction, c.fold);
        if (c.hitEntry < 0) {
            EXPECT_TRUE(notFound());
            EXPECT_EQ(currentEntry(), c.entry);   // nothing moved
            continue;
        }
        EXPECT_FALSE(notFound());
        EXPECT_EQ(currentEntry(), c.hitEntry);
        EXPECT_EQ(currentEntryOffset, entryIndex[c.hitEntry]);
        EXPECT_EQ(caretLine, c.hitLine);
        EXPECT_TRUE(selectionActive);
        EXPECT_EQ(selStartLine, c.hitLine);
        EXPECT_EQ(selStartColumn, c.selColumn);
        EXPECT_EQ(selEndColumn - selStartColumn, static_cast<int32_t>(std::strlen(c.text)));
        EXPECT_EQ(caretColumn, c.caretColumn);
    }
}

TEST_F(Search, RepeatMovesOnAndEmptyTextIsReported)
{
    searchFrom(0, 0, 0, "Berlin", 3);
    EXPECT_EQ(currentEntry(), 0);
    const auto caret = std::make_pair(caretLine, caretColumn);
    recorder.events.clear();
    searchNext();   // Repeat search: from behind the first hit
    EXPECT_EQ(currentEntry(), 2);
    EXPECT_EQ(std::make_pair(caretLine, caretColumn), caret);

    searchFrom(0, 0, 0, "", 3);
    EXPECT_EQ(recorder.events.at(1), "info|ORDANE-Lumo:|No searching-text defined!");
}

// The block scans against testing every position, around the 16-byte
// blocks and the ends of the data, where a wrong bound loses or invents hits.
TEST(TextMatch, BlockScansAgreeWithTestingEachPosition)
{
    std::mt19937 random(7);
    const char alphabet[] = "aAbB\xE4\xC4 \r";
    for (int round = 0; round < 3000; ++round) {
        std::string data(random() % 80, 'x');
        for (char& c : data)
            c = alphabet[random() % 8];
        std::string text(1 + random() % 4, 'x');
        for (char& c : text)
            c = alphabet[random() % 7];
        const TextPattern p = makePattern(text.c_str(), static_cast<int>(random() % 2));
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.c_str());
        const auto used = static_cast<int32_t>(data.size());
        const int32_t from = static_cast<int32_t>(random() % (used + 1));
        const int32_t to = from + static_cast<int32_t>(random() % (used - from + 1));
        int32_t first = -1, last = -1;
        for (int32_t q = from; q < to; ++q)
            if (matchesAt(p, bytes, used, q)) {
                last = q;
                first = first < 0 ? q : first;
            }
        ASSERT_EQ(findFirst(p, bytes, used, from, to), first) << round;
        ASSERT_EQ(findLast(p, bytes, used, from, to), last) << round;
    }
}

}  // namespace

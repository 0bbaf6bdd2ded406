#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "core/reference_sort.h"
#include "find/sort.h"
#include "host/title.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/view_state.h"

// Out-of-memory paths: the next large allocations (work areas, not the
// small strings of the test itself) can be made to fail one at a time.
namespace {
constexpr std::size_t largeAllocation = 1024;
long largeAllocationsBeforeFailure = -1;   // -1: none fails
}  // namespace

void* operator new(std::size_t size)
{
    if (size >= largeAllocation && largeAllocationsBeforeFailure >= 0 && largeAllocationsBeforeFailure-- == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

std::string book(const std::vector<std::string>& headings)
{
    std::string text;
    for (const auto& heading : headings)
        text += heading + "\r\nline\r\n\r\n";
    return text;
}

using Sort = StoreTest;

TEST_F(Sort, OrdersByFoldedFirstLine)
{
    setStoreText(book({"Zander", "\xC9" "clair", "apfel", "\xD6l", "Birne", "Oma"}));
    sortEntries();
    // É sorts after Z; Ö counts as O and "Öl" meets "Oma" at L < M.
    EXPECT_EQ(storeHeadings(), (std::vector<std::string>{"apfel", "Birne", "\xD6l", "Oma", "Zander", "\xC9" "clair"}));
}

TEST_F(Sort, SpelledOutUmlautSortsBeforeFoldedOnes)
{
    setStoreText(book({"M\xFCller", "Muller", "Mueller"}));
    sortEntries();
    EXPECT_EQ(storeHeadings()[0], "Mueller");
}

TEST_F(Sort, EqualKeysComeOutReversedAndFlipOnEverySort)
{
    setStoreText(book({"Anna", "M\xFCller", "mueller x", "MULLER", "m\xFCller", "Zoe"}));
    // Müller, MULLER and müller fold to the same key.
    sortEntries();
    EXPECT_EQ(storeHeadings(),
              (std::vector<std::string>{"Anna", "mueller x", "m\xFCller", "MULLER", "M\xFCller", "Zoe"}));
    sortEntries();
    EXPECT_EQ(storeHeadings(),
              (std::vector<std::string>{"Anna", "mueller x", "M\xFCller", "MULLER", "m\xFCller", "Zoe"}));
}

TEST_F(Sort, PrefixCountsAsEqualAndOnly255BytesCount)
{
    setStoreText(book({"Maier", "Ma"}));
    sortEntries();
    EXPECT_EQ(storeHeadings(), (std::vector<std::string>{"Ma", "Maier"}));

    std::string stem(255, 'k');
    setStoreText(book({stem + "B", stem + "A"}));
    sortEntries();
    EXPECT_EQ(storeHeadings(), (std::vector<std::string>{stem + "A", stem + "B"}));   // reversed: equal keys
}

TEST_F(Sort, KeepsCurrentEntryTrailingTextAndModifiedFlag)
{
    setStoreText(book({"Dora", "Carl", "Bert", "Anna"}) + "trailing text\r\n");
    firstVisibleEntry = 1;
    cursorRow = 1;   // Bert
    caretLine = 1;
    caretColumn = 3;
    dataViewScrollX = 40;
    dataModified = false;
    titleText[0] = ' ';
    resortPending = true;
    recorder.hasMainWindow = true;

    sortEntries();
    EXPECT_EQ(storeHeadings(), (std::vector<std::string>{"Anna", "Bert", "Carl", "Dora"}));
    EXPECT_EQ(storeText().substr(storeText().size() - 15), "trailing text\r\n");
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 1);
    EXPECT_EQ(currentEntryOffset, entryIndex[1]);
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(caretColumn, 0);
    EXPECT_EQ(dataViewScrollX, 0);
    EXPECT_EQ(lineTableOwner, -1);
    EXPECT_FALSE(resortPending);
    EXPECT_FALSE(dataModified);
    EXPECT_FALSE(countDisplaySuppressed);
    EXPECT_EQ(titleText[0], ' ');
    EXPECT_EQ(recorder.eventsStartingWith("status"),
              (std::vector<std::string>{"status|Sortieren...", "status|       4 Entries"}));
}

TEST_F(Sort, OutOfMemoryAnywhereLeavesEverythingAsItWas)
{
    std::vector<std::string> headings;
    for (int i = 300; i > 0; --i)   // reversed: every entry moves
        headings.push_back("E" + std::to_string(1000 + i));
    const std::string text = book(headings);
    recorder.hasMainWindow = true;
    long failing = 0;
    for (;; ++failing) {
        setStoreText(text);
        firstVisibleEntry = 10;
        cursorRow = 5;
        recorder.events.clear();
        largeAllocationsBeforeFailure = failing;
        sortEntries();
        largeAllocationsBeforeFailure = -1;
        if (recorder.eventsStartingWith("error").empty())
            break;   // this time every work area was granted
        SCOPED_TRACE(failing);
        EXPECT_EQ(storeText(), text);
        EXPECT_EQ((std::vector<int32_t>{firstVisibleEntry, cursorRow}), (std::vector<int32_t>{10, 5}));
        EXPECT_FALSE(countDisplaySuppressed);
        const auto status = recorder.eventsStartingWith("status|");
        if (!status.empty()) {
            EXPECT_EQ(status.back(), "status|     300 Entries");
        }
    }
    EXPECT_GE(failing, 2);   // work areas both before and after the placing were refused
    EXPECT_EQ(storeHeadings().front(), "E1001");
}

TEST_F(Sort, EmptyBufferIsLeftAlone)
{
    setStoreText("");
    resortPending = true;
    sortEntries();
    EXPECT_FALSE(resortPending);
    EXPECT_TRUE(recorder.events.empty());
}

// ---- Differential test against the step-by-step reference ----

std::string randomHeading(std::mt19937& random)
{
    static const std::vector<std::string> stems = {
        "M\xFCller", "Mueller", "Muller", "M\xDCLLER", "m\xFC" "ller", "M\xFC", "M", "Ma", "Maier", "Meier",
        "Meyer",     "\xC4pfel", "Apfel", "apfel",    "\xD6l",        "Ol",    "oL", "Zander", "zander",
        "\xC9" "clair", "Eclair", "Stra\xDF" "e", "Strasse", "",     " ",      "M\xFCller, Hans", "M\xFCller, H",
    };
    std::string heading = stems[random() % stems.size()];
    switch (random() % 8) {
    case 0: heading += ", " + std::to_string(random() % 5); break;
    case 1: heading += std::string(1, static_cast<char>('a' + random() % 3)); break;
    case 2: heading = std::string(250 + random() % 10, 'x') + heading; break;   // around the 255-byte limit
    case 3: if (random() % 8 == 0) heading = std::string(1, '\0') + heading; break;
    default: break;
    }
    return heading;
}

std::string randomStore(std::mt19937& random)
{
    std::string text;
    int entries = static_cast<int>(random() % 40);
    for (int e = 0; e < entries; ++e) {
        if (random() % 20 == 0) {
            text += "\r\nbody\r\n\r\n";   // an entry whose first line is empty
            continue;
        }
        text += randomHeading(random) + "\r\n";
        int lines = static_cast<int>(random() % 3);
        for (int l = 0; l < lines; ++l)
            text += "line " + std::to_string(random() % 3) + "\r\n";
        text += "\r\n";
    }
    if (random() % 4 == 0)
        text += "trailing " + std::to_string(random() % 10) + "\r\n";
    return text;
}

TEST_F(Sort, AgreesWithStepByStepReferenceOnRandomStores)
{
    std::mt19937 random(20261205);
    for (int round = 0; round < 4000; ++round) {
        setStoreText(randomStore(random));
        for (int pass = 0; pass < 2; ++pass) {   // the second pass starts from sorted input
            int32_t current = entryCount > 0 ? static_cast<int32_t>(random() % static_cast<unsigned>(entryCount)) : 0;
            firstVisibleEntry = current > 0 ? static_cast<int32_t>(random() % static_cast<unsigned>(current + 1)) : 0;
            cursorRow = current - firstVisibleEntry;
            ReferenceSortResult expected = referenceSort(current, cursorRow);
            sortEntries();
            ASSERT_EQ(storeText(), expected.text) << "round " << round << " pass " << pass;
            ASSERT_EQ(cursorRow, expected.cursorRow) << "round " << round << " pass " << pass;
        }
    }
}

}  // namespace

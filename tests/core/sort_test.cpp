#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "core/reference_sort.h"
#include "find/fold.h"
#include "find/sort.h"
#include "host/title.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/view_state.h"

// Out-of-memory paths: the next large allocations (work areas, not the
// small strings of the test itself) can be made to fail one at a time, in
// every test of this program.
namespace {
constexpr std::size_t largeAllocation = 1024;
}  // namespace
long largeAllocationsBeforeFailure = -1;   // -1: none fails

void* operator new(std::size_t size)
{
    if (size >= largeAllocation && largeAllocationsBeforeFailure >= 0 && largeAllocationsBeforeFailure-- == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

// The library's buffers (stable_sort's) come through the nothrow form; it
// must take the same heap as the delete above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
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

// Pins how sortEntries places the entries for one scope.
struct PinnedPlacing {
    explicit PinnedPlacing(Placing placing) { sortPlacing = placing; }
    ~PinnedPlacing() { sortPlacing = Placing::Automatic; }
};

constexpr Placing everyPlacing[] = {Placing::WalkOnly, Placing::RankedOnly, Placing::Automatic};


// The order the reference walk is checked against, pinned on its own: É
// behind Z, Ö as O, a spelled-out umlaut before the folded ones, a prefix
// equal to the longer key, and equal keys reversed by every sort.
TEST_F(Sort, OrdersByFoldedFirstLineAndReversesEqualKeys)
{
    setStoreText(book({"Zander", "\xC9" "clair", "\xD6l", "Oma", "M\xFCller", "Mueller", "MULLER", "Ma"}));
    sortEntries();
    const std::vector<std::string> once = {"Ma", "Mueller", "MULLER", "M\xFCller", "\xD6l", "Oma", "Zander", "\xC9" "clair"};
    EXPECT_EQ(storeHeadings(), once);
    sortEntries();
    EXPECT_EQ(storeHeadings()[2], "M\xFCller");
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
    for (Placing placing : {Placing::WalkOnly, Placing::RankedOnly}) {
        PinnedPlacing pinned(placing);
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
        // Work areas both before and after the placing were refused, and
        // the ranks' own ones too.
        EXPECT_GE(failing, placing == Placing::WalkOnly ? 2 : 5) << static_cast<int>(placing);
        EXPECT_EQ(storeHeadings().front(), "E1001");
    }
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

// Sorts the store twice (the second time from sorted input) with the
// current entry somewhere in it, each time by the walk and by the ranks,
// and holds each result to the reference.
void expectSortLikeReference(std::mt19937& random, const std::string& context)
{
    for (int pass = 0; pass < 2; ++pass) {
        int32_t current = entryCount > 0 ? static_cast<int32_t>(random() % static_cast<unsigned>(entryCount)) : 0;
        const int32_t firstVisible = current > 0 ? static_cast<int32_t>(random() % static_cast<unsigned>(current + 1)) : 0;
        const int32_t row = current - firstVisible;
        ReferenceSortResult walked = walkReferenceSort(current, row);
        const std::string before = storeText();
        for (Placing placing : everyPlacing) {
            setStoreText(before);
            firstVisibleEntry = firstVisible;
            cursorRow = row;
            PinnedPlacing pinned(placing);
            sortEntries();
            const std::string where = context + " pass " + std::to_string(pass) + " placing " +
                                      std::to_string(static_cast<int>(placing));
            ASSERT_EQ(storeText(), walked.text) << where;
            ASSERT_EQ(cursorRow, walked.cursorRow) << where;
        }
    }
}

TEST_F(Sort, AgreesWithStepByStepReferenceOnRandomStores)
{
    std::mt19937 random(20261205);
    for (int round = 0; round < 4000; ++round) {
        setStoreText(randomStore(random));
        expectSortLikeReference(random, "round " + std::to_string(round));
    }
}

// Headings made of few letters, so that many keys begin others: "AB" and
// "AC" both count as equal to "A" but not to each other, and the walk's
// comparisons stop being transitive.  Folded pairs (a/A, \xE4/A) and the
// empty heading are among them.
std::string tangledHeading(std::mt19937& random, int longest)
{
    static const char letters[] = {'A', 'B', 'a', '\xE4', 'C'};
    std::string heading;
    int length = static_cast<int>(random() % static_cast<unsigned>(longest + 1));
    for (int i = 0; i < length; ++i)
        heading += letters[random() % (random() % 3 == 0 ? 5 : 2)];
    return heading;
}

// Every second store puts a long common stem in front of most headings, so
// that keys agree far beyond their first bytes before they part or end.
std::string tangledStore(std::mt19937& random, int entries, int longest)
{
    const bool stems = random() % 2 == 0;
    std::string text;
    for (int e = 0; e < entries; ++e) {
        if (stems && random() % 8 != 0)
            text += random() % 2 ? "M\xFCller-L\xFC" "denscheid, Hildegard Ottilie " : "MULLER-ludenscheid, HILDEGARD ottilie ";
        text += tangledHeading(random, longest) + (random() % 2 ? "\r\nx\r\n\r\n" : "\r\n\r\n");
    }
    return text;
}

TEST_F(Sort, AgreesWithStepByStepReferenceWhereKeysBeginOneAnother)
{
    std::mt19937 random(7301);
    for (int round = 0; round < 1500; ++round) {
        setStoreText(tangledStore(random, 1 + static_cast<int>(random() % 150), 1 + static_cast<int>(random() % 5)));
        expectSortLikeReference(random, "round " + std::to_string(round));
    }
}

// Books of a few thousand entries in random order: the walks are long and
// cross many blocks of slots, and the slot tree is three levels deep.
TEST_F(Sort, AgreesWithWalkOnLargerShuffledBooks)
{
    std::mt19937 random(4409);
    for (int round = 0; round < 6; ++round) {
        const int entries = 1000 + static_cast<int>(random() % 4000);
        setStoreText(round % 3 == 0 ? tangledStore(random, entries, 8)
                                    : [&] {
                                          std::string text;
                                          for (int e = 0; e < entries; ++e)
                                              text += randomHeading(random) + "\r\n\r\n";
                                          return text;
                                      }());
        expectSortLikeReference(random, "round " + std::to_string(round));
    }
}

// A book of 100,000 entries as an Add leaves it: a sorted book whose
// headings begin one another ("Name", "Name, First", "Name, First, 0211 5")
// with runs of equal keys, some stretches in disorder, and a few hundred
// unsorted entries appended at the end.
std::string mergedBook(std::mt19937& random, int entries)
{
    static const std::vector<std::string> names = {"M\xFCller", "Mueller", "Muller", "Schmidt", "Schmitt", "Sch\xE4" "fer",
                                                   "Schafer", "Weber", "Weber-Lang", "\xD6zdemir", "Ozdemir", "Koch"};
    static const std::vector<std::string> firsts = {"Hans", "Hanna", "Han", "J\xFCrgen", "Jurgen", "Anna", "A"};
    auto heading = [&] {
        std::string h = names[random() % names.size()];
        if (random() % 4 != 0)
            h += ", " + firsts[random() % firsts.size()];
        if (random() % 2 != 0)
            h += ", 0" + std::to_string(random() % 1000) + " " + std::to_string(random() % 100);
        return h;
    };
    const int appended = 300;
    std::vector<std::pair<std::string, std::string>> sorted;   // folded key, heading
    for (int e = 0; e < entries - appended; ++e) {
        std::string h = heading();
        std::string key;
        for (char c : h)
            key += static_cast<char>(sortFold1252[static_cast<unsigned char>(c)]);
        sorted.emplace_back(key, h);
    }
    std::sort(sorted.begin(), sorted.end());
    for (size_t at = 0; at + 64 < sorted.size(); at += 997)   // stretches in disorder
        std::shuffle(sorted.begin() + static_cast<std::ptrdiff_t>(at), sorted.begin() + static_cast<std::ptrdiff_t>(at + 64), random);
    std::string text;
    for (const auto& [key, h] : sorted)
        text += h + "\r\nStra\xDF" "e 1\r\n\r\n";
    for (int e = 0; e < appended; ++e)
        text += heading() + "\r\nneu\r\n\r\n";
    return text;
}

TEST_F(Sort, AgreesWithWalkOnAHundredThousandEntries)
{
    std::mt19937 random(100000);
    setStoreText(mergedBook(random, 100000));
    ASSERT_EQ(entryCount, 100000);
    expectSortLikeReference(random, "merged book");
}

}  // namespace

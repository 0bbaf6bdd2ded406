#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/activation.h"
#include "views/overview_rules.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

namespace {

using Ints = std::vector<int32_t>;

void setHeadings(const std::vector<std::string>& headings)
{
    std::string text;
    for (const auto& heading : headings)
        text += heading + "\r\nline\r\n\r\n";
    setStoreText(text);
}

// "E00" to "E<n-1>", already in order.
void setNumberedEntries(int n)
{
    std::vector<std::string> headings;
    for (int i = 0; i < n; ++i)
        headings.push_back((i < 10 ? "E0" : "E") + std::to_string(i));
    setHeadings(headings);
}

void place(int32_t first, int32_t row)
{
    firstVisibleEntry = first;
    cursorRow = row;
}
Ints placed() { return {firstVisibleEntry, cursorRow}; }
Ints marks() { return {markFirst, markLast}; }

class OverviewRules : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        overviewRowCount = 10;
        typeAheadLength = 0;
        std::strcpy(overviewCaption, "Overview");
        uiBusy = false;
    }
    void TearDown() override
    {
        typeAheadLength = 0;
        std::strcpy(overviewCaption, "Overview");
        StoreTest::TearDown();
    }
};

TEST_F(OverviewRules, LookupFindsWhereThePrefixBelongs)
{
    struct Case {
        std::vector<std::string> headings;
        std::string prefix;
        int32_t entry;
    } cases[] = {
        {{"Maier", "Meyer", "Moser"}, "MA", 0},
        {{"Maier", "Meyer", "Moser"}, "me", 1},
        {{"Maier", "Meyer", "Moser"}, "MI", 2},    // I sorts below O but not below A or E
        {{"Maier", "Meyer", "Moser"}, "MEZ", 2},
        {{"Maier", "Meyer", "Moser"}, "MO", 2},
        {{"Anna", "Berta", "Carl"}, "Z", 2},        // behind everything: the last entry
        {{"Anna", "Berta", "Carl"}, "Bz", 1},
        {{"Berta", "Carl", "Dora"}, "A", 0},
        {{"Anna", "Berta"}, "", 0},
        {{"MA", "MB", "N"}, "MZ", 1},               // equal matches: the later one
        {{"1 Nummer", "adam", "Anton", "Zora"}, "\xE4", 1},   // ä finds the first A or a
        {{"1 Nummer", "adam", "Anton", "Zora"}, "\xC4", 1},
        {{"Maier", "M\xFCller", "Murr"}, "MU", 1},
        {{"Maier", "M\xFCller", "Murr"}, "m\xFCr", 2},
        {{"AAA", std::string(300, 'A'), "B"}, std::string(300, 'A'), 1},   // 255 characters are compared
        {{"AAA", std::string(254, 'A') + "B"}, std::string(300, 'A'), 1},
    };
    for (const auto& c : cases) {
        setHeadings(c.headings);
        EXPECT_EQ(typeAheadLookup(c.prefix.c_str()), c.entry) << c.prefix;
    }
    setStoreText("");
    EXPECT_EQ(typeAheadLookup("A"), 0);
}

TEST_F(OverviewRules, TypingMovesTheListUntilSwitchingOrMoving)
{
    setHeadings({"Maier", "Meyer", "Moser", "Otto"});
    place(3, 0);
    typeAheadCharacter('m');
    typeAheadCharacter('i');
    EXPECT_STREQ(overviewCaption, "mi");
    EXPECT_EQ(currentEntryOffset, entryIndex[2]);
    EXPECT_FALSE(recorder.eventsStartingWith("repaint|data").empty());
    typeAheadCharacter(13);   // control characters are not typed text
    EXPECT_EQ(typeAheadLength, 2);
    typeAheadBackspace();
    EXPECT_EQ(firstVisibleEntry, 0);
    typeAheadBackspace();
    EXPECT_STREQ(overviewCaption, "Overview");

    for (int i = 0; i < 260; ++i)
        typeAheadCharacter('x');
    EXPECT_EQ(std::strlen(overviewCaption), static_cast<size_t>(typeAheadLimit));

    activateDataView();
    EXPECT_EQ(typeAheadLength, 0);
    EXPECT_STREQ(overviewCaption, "Overview");
    // A single typed character is a running type-ahead too.
    typeAheadCharacter('M');
    activateDataView();
    EXPECT_EQ(typeAheadLength, 0);
    typeAheadCharacter('M');
    overviewDown(false);
    EXPECT_EQ(typeAheadLength, 0);
    typeAheadCharacter('M');
    overviewScrollLeft(false, 100);
    EXPECT_EQ(typeAheadLength, 0);
}

TEST_F(OverviewRules, ClampingKeepsTheCursorOnItsEntry)
{
    setNumberedEntries(3);
    place(0, 5);
    EXPECT_TRUE(clampOverviewState(300, 1000));
    EXPECT_EQ(placed(), (Ints{0, 2}));
    place(2, 0);   // scrolled down with room to spare
    EXPECT_FALSE(clampOverviewState(300, 1000));
    EXPECT_EQ(placed(), (Ints{0, 2}));
    overviewScrollX = 5000;
    clampOverviewState(300, 1000);
    EXPECT_EQ(overviewScrollX, 700);

    setNumberedEntries(20);
    place(0, 8);
    overviewRowCount = 5;
    EXPECT_FALSE(clampOverviewState(300, 1000));
    EXPECT_EQ(cursorRow, 3);   // the last whole row stays free
    EXPECT_EQ(currentEntry(), 8);
    overviewRowCount = 10;
    place(15, 3);   // empty rows at the bottom: the list comes down
    clampOverviewState(300, 1000);
    EXPECT_EQ(placed(), (Ints{11, 7}));

    setNumberedEntries(12);
    place(5, 8);   // behind a shrunken store: onto the last entry
    EXPECT_TRUE(clampOverviewState(300, 1000));
    EXPECT_EQ(currentEntry(), 11);
    place(20, 0);   // the top row itself behind it
    clampOverviewState(300, 1000);
    EXPECT_EQ(placed(), (Ints{3, 8}));
    setStoreText("");
    place(3, 4);
    clampOverviewState(300, 1000);
    EXPECT_EQ(placed(), (Ints{0, 0}));
}

TEST_F(OverviewRules, RowsAndPointer)
{
    setHeadings({std::string(300, 'L'), "\tTabbed", "Short"});
    fillOverviewRows(4, 0);
    EXPECT_EQ(std::string(overviewRowText[0]), std::string(255, 'L'));
    EXPECT_STREQ(overviewRowText[1], "");
    EXPECT_STREQ(overviewRowText[3], "");
    fillOverviewRows(500, 0);   // more than the table holds
    EXPECT_STREQ(overviewRowText[99], "");

    const int caption = 20, pitch = 24;
    setNumberedEntries(30);
    place(4, 0);
    EXPECT_EQ(rowFromPointer(caption + 3 * pitch + 5, caption, pitch), 3);
    EXPECT_EQ(rowFromPointer(5, caption, pitch), 0);
    EXPECT_EQ(rowFromPointer(caption + 9 * pitch + 2, caption, pitch), 8);   // never the last whole row
    setNumberedEntries(3);
    place(0, 0);
    EXPECT_EQ(rowFromPointer(caption + 6 * pitch, caption, pitch), 2);
}

TEST_F(OverviewRules, ArrowKeysMarkScrollAndStop)
{
    setNumberedEntries(30);
    place(0, 5);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(overviewDown(true), OverviewRedraw::Full);
    EXPECT_EQ(marks(), (Ints{5, 8}));
    EXPECT_EQ(currentEntry(), 8);
    EXPECT_EQ(recorder.eventsStartingWith("menu|" + std::to_string(IDM_CUT) + "|on").size(), 1u);
    overviewUp(true);
    EXPECT_EQ(marks(), (Ints{5, 7}));
    place(0, 5);
    overviewUp(true);   // upward past the anchor the block turns round
    EXPECT_EQ(marks(), (Ints{4, 5}));
    EXPECT_EQ(overviewDown(false), OverviewRedraw::Full);
    EXPECT_FALSE(markActive);
    caretLine = 3;   // the Data view starts the new current entry at its top
    caretColumn = 2;
    firstVisibleLine = 2;
    EXPECT_EQ(overviewDown(false), OverviewRedraw::MoveBar);
    EXPECT_EQ((Ints{caretLine, caretColumn, firstVisibleLine}), (Ints{0, 0, 0}));
    EXPECT_EQ(currentEntryOffset, entryIndex[currentEntry()]);

    place(0, 8);   // the lowest row the cursor may take with 10 rows
    overviewDown(true);
    overviewDown(true);
    EXPECT_EQ(placed(), (Ints{2, 8}));
    place(21, 8);
    markActive = false;
    EXPECT_EQ(overviewDown(false), OverviewRedraw::MoveBar);
    EXPECT_EQ(currentEntry(), 29);
    place(5, 0);
    EXPECT_EQ(overviewUp(false), OverviewRedraw::Full);
    EXPECT_EQ(placed(), (Ints{4, 0}));
    place(0, 0);
    EXPECT_EQ(overviewUp(false), OverviewRedraw::MoveBar);
}

TEST_F(OverviewRules, PagesAndControlHomeEnd)
{
    setNumberedEntries(30);
    place(0, 3);
    for (int32_t want : {8, 16, 21}) {   // as far as a full last page
        overviewPageDown(false);
        EXPECT_EQ(placed(), (Ints{want, 3}));
    }
    overviewPageUp(false);
    EXPECT_EQ(firstVisibleEntry, 13);
    overviewPageUp(false);
    overviewPageUp(false);
    EXPECT_EQ(placed(), (Ints{0, 3}));
    overviewPageDown(true);
    EXPECT_EQ(marks(), (Ints{3, 11}));

    markActive = false;
    place(6, 6);
    overviewScrollX = 40;
    overviewFirstEntry(true);
    EXPECT_EQ(placed(), (Ints{0, 0}));
    EXPECT_EQ(overviewScrollX, 0);
    EXPECT_EQ(marks(), (Ints{0, 12}));
    overviewLastEntry(false);
    EXPECT_EQ(placed(), (Ints{21, 8}));

    setNumberedEntries(5);
    place(0, 8);
    overviewPageDown(false);
    EXPECT_EQ(placed(), (Ints{0, 4}));
    place(0, 0);
    overviewLastEntry(true);
    EXPECT_EQ(placed(), (Ints{0, 4}));
}

TEST_F(OverviewRules, HorizontalKeysStayInsideTheTextWidth)
{
    setNumberedEntries(3);
    EXPECT_TRUE(overviewScrollRight(true, 400, 2000, 700));   // end of the heading at the right edge
    EXPECT_EQ(overviewScrollX, 301);
    EXPECT_TRUE(overviewScrollRight(true, 400, 2000, 100));   // a short heading: back to the start
    EXPECT_EQ(overviewScrollX, 0);
    EXPECT_FALSE(overviewScrollLeft(false, 400));
    EXPECT_TRUE(overviewScrollEnd(400, 2000, 5000));
    EXPECT_EQ(overviewScrollX, 1600);
    EXPECT_FALSE(overviewScrollRight(false, 400, 2000, 0));
}

}  // namespace

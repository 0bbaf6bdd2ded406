#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "shell/ui_busy.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/activation.h"
#include "views/overview_rules.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

namespace {

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

    int menuEvents(int id, bool on) const
    {
        std::string event = "menu|" + std::to_string(id) + (on ? "|on" : "|off");
        int n = 0;
        for (const auto& e : recorder.events)
            n += e == event;
        return n;
    }
};

// ---- Type-ahead lookup ----

TEST_F(OverviewRules, LookupFindsWhereThePrefixBelongs)
{
    setHeadings({"Maier", "Meyer", "Moser"});
    EXPECT_EQ(typeAheadLookup("M"), 0);
    EXPECT_EQ(typeAheadLookup("me"), 1);
    // I sorts below O but not below A or E.
    EXPECT_EQ(typeAheadLookup("MI"), 2);
    EXPECT_EQ(typeAheadLookup("mi"), 2);
    // Behind "ME..." but in front of "MO".
    EXPECT_EQ(typeAheadLookup("MEZ"), 2);

    setHeadings({"Anna", "Berta", "Carl"});
    EXPECT_EQ(typeAheadLookup("Z"), 2);      // behind everything: the last entry
    EXPECT_EQ(typeAheadLookup("Bz"), 1);     // behind Berta, in front of Carl
    setHeadings({"Berta", "Carl", "Dora"});
    EXPECT_EQ(typeAheadLookup("A"), 0);      // in front of everything: the first entry

    // Among entries matching equally far the later one wins, and the
    // search stops as soon as the matches get shorter.
    setHeadings({"MA", "MB", "N"});
    EXPECT_EQ(typeAheadLookup("MZ"), 1);
}

TEST_F(OverviewRules, LookupFoldsUmlautsAndCase)
{
    setHeadings({"1 Nummer", "adam", "Anton", "Zora"});
    EXPECT_EQ(typeAheadLookup("\xE4"), 1);   // ä finds the first A or a
    EXPECT_EQ(typeAheadLookup("\xC4"), 1);   // Ä as well
    setHeadings({"Maier", "M\xFCller", "Murr"});
    EXPECT_EQ(typeAheadLookup("MU"), 1);     // Müller begins with MU
    EXPECT_EQ(typeAheadLookup("m\xFCr"), 2);
}

TEST_F(OverviewRules, LookupEdgeCases)
{
    setStoreText("");
    ASSERT_EQ(entryCount, 0);
    EXPECT_EQ(typeAheadLookup("A"), 0);

    // Only 255 characters are compared, so a longer prefix still finds
    // the entry that matches it that far.
    std::string longPrefix(300, 'A');
    setHeadings({"AAA", std::string(300, 'A'), "B"});
    EXPECT_EQ(typeAheadLookup(longPrefix.c_str()), 1);
    setHeadings({"AAA", std::string(254, 'A') + "B"});
    EXPECT_EQ(typeAheadLookup(longPrefix.c_str()), 1);   // sorts behind the prefix at 255

    // An empty prefix belongs in front of the first entry.
    setHeadings({"Anna", "Berta"});
    EXPECT_EQ(typeAheadLookup(""), 0);
}

// ---- Typing into the Overview ----

TEST_F(OverviewRules, TypedCharactersMoveTheListAndShowInTheCaption)
{
    setHeadings({"Maier", "Meyer", "Moser", "Otto"});
    place(3, 0);
    typeAheadCharacter('m');
    EXPECT_STREQ(overviewCaption, "m");
    EXPECT_EQ(typeAheadLength, 1);
    EXPECT_EQ(firstVisibleEntry, 0);
    typeAheadCharacter('i');
    EXPECT_STREQ(overviewCaption, "mi");
    EXPECT_EQ(firstVisibleEntry, 2);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(currentEntryOffset, entryIndex[2]);
    EXPECT_FALSE(uiBusy);
    EXPECT_FALSE(recorder.eventsStartingWith("repaint|overview").empty());
    EXPECT_FALSE(recorder.eventsStartingWith("repaint|data").empty());

    typeAheadCharacter(13);   // control characters are not typed text
    EXPECT_EQ(typeAheadLength, 2);

    typeAheadBackspace();
    EXPECT_STREQ(overviewCaption, "m");
    EXPECT_EQ(firstVisibleEntry, 0);
    typeAheadBackspace();
    EXPECT_EQ(typeAheadLength, 0);
    EXPECT_STREQ(overviewCaption, "Overview");
}

TEST_F(OverviewRules, TypeAheadKeepsAtMost253Characters)
{
    setHeadings({"A"});
    for (int i = 0; i < 260; ++i)
        typeAheadCharacter('x');
    EXPECT_EQ(typeAheadLength, typeAheadLimit);
    EXPECT_EQ(std::strlen(overviewCaption), static_cast<size_t>(typeAheadLimit));
}

TEST_F(OverviewRules, SwitchingToTheDataViewOrMovingEndsTheTypeAhead)
{
    setNumberedEntries(5);
    typeAheadCharacter('E');
    activateDataView();
    EXPECT_EQ(typeAheadLength, 0);
    EXPECT_STREQ(overviewCaption, "Overview");
    EXPECT_EQ(recorder.eventsStartingWith("active|").back(), "active|data");

    typeAheadCharacter('E');
    overviewDown(false);
    EXPECT_EQ(typeAheadLength, 0);
    EXPECT_STREQ(overviewCaption, "Overview");
}

// ---- Clamping before a full paint ----

TEST_F(OverviewRules, FewEntriesKeepTheCursorOnTheLastOne)
{
    setNumberedEntries(3);
    place(0, 5);
    EXPECT_TRUE(clampOverviewState(300, 1000));
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 2);

    // Scrolled down with room to spare: the list comes back to the top and
    // the cursor stays on its entry.
    place(2, 0);
    EXPECT_FALSE(clampOverviewState(300, 1000));
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 2);

    setStoreText("");
    place(3, 4);
    clampOverviewState(300, 1000);
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 0);
}

TEST_F(OverviewRules, ShrinkingWindowPullsTheCursorUpAndKeepsTheEntry)
{
    setNumberedEntries(20);
    place(0, 8);
    overviewRowCount = 5;
    EXPECT_FALSE(clampOverviewState(300, 1000));
    EXPECT_EQ(cursorRow, 3);   // the last whole row stays free
    EXPECT_EQ(currentEntry(), 8);

    // A sort or a search leaves the current entry far below the top row.
    setNumberedEntries(100);
    overviewRowCount = 10;
    place(0, 50);
    clampOverviewState(300, 1000);
    EXPECT_EQ(cursorRow, 8);
    EXPECT_EQ(currentEntry(), 50);

    // Empty rows at the bottom: the list comes down.
    setNumberedEntries(20);
    place(15, 3);
    EXPECT_FALSE(clampOverviewState(300, 1000));
    EXPECT_EQ(firstVisibleEntry, 11);
    EXPECT_EQ(cursorRow, 7);

    // The cursor behind a shrunken store goes onto the last entry.
    setNumberedEntries(12);
    place(5, 8);
    EXPECT_TRUE(clampOverviewState(300, 1000));
    EXPECT_EQ(currentEntry(), 11);
}

TEST_F(OverviewRules, HorizontalOffsetStaysInsideTheTextWidth)
{
    setNumberedEntries(3);
    overviewScrollX = 5000;
    clampOverviewState(300, 1000);
    EXPECT_EQ(overviewScrollX, 700);
    clampOverviewState(1200, 1000);
    EXPECT_EQ(overviewScrollX, 0);
    overviewScrollX = -4;
    clampOverviewState(300, 1000);
    EXPECT_EQ(overviewScrollX, 0);
}

// ---- Rows ----

TEST_F(OverviewRules, RowsShowTheFirstLineCutAt255)
{
    setHeadings({std::string(300, 'L'), "\tTabbed", "Short"});
    // The heading with a control byte up front sorts nowhere in particular:
    // only its row text matters here.
    fillOverviewRows(4, 0);
    EXPECT_EQ(std::string(overviewRowText[0]), std::string(255, 'L'));
    EXPECT_STREQ(overviewRowText[1], "");
    EXPECT_STREQ(overviewRowText[2], "Short");
    EXPECT_STREQ(overviewRowText[3], "");   // no entry
    fillOverviewRows(500, 0);                // more than the table holds
    EXPECT_STREQ(overviewRowText[99], "");
}

TEST_F(OverviewRules, ClickSelectsTheRowUnderThePointer)
{
    const int caption = 20, pitch = 24;
    setNumberedEntries(30);
    place(4, 0);
    EXPECT_EQ(rowFromPointer(caption + 3 * pitch + 5, caption, pitch), 3);
    EXPECT_EQ(rowFromPointer(caption + 1, caption, pitch), 0);
    EXPECT_EQ(rowFromPointer(5, caption, pitch), 0);
    EXPECT_EQ(rowFromPointer(caption + 9 * pitch + 2, caption, pitch), 8);   // never the last whole row

    // Below the last entry: the last entry.
    setNumberedEntries(3);
    place(0, 0);
    EXPECT_EQ(rowFromPointer(caption + 6 * pitch, caption, pitch), 2);
}

// ---- Navigation keys ----

TEST_F(OverviewRules, ShiftWithUpAndDownMarksAndPlainMovesDropTheMarks)
{
    setNumberedEntries(30);
    place(0, 5);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(overviewDown(true), OverviewRedraw::Full);
    EXPECT_TRUE(markActive);
    EXPECT_EQ(markFirst, 5);
    EXPECT_EQ(markLast, 8);
    EXPECT_EQ(markAnchor, 5);
    EXPECT_EQ(currentEntry(), 8);
    EXPECT_EQ(menuEvents(IDM_COPY, true), 1);
    EXPECT_EQ(menuEvents(IDM_CUT, true), 1);

    overviewUp(true);
    EXPECT_EQ(markFirst, 5);
    EXPECT_EQ(markLast, 7);

    // Upward past the anchor the block turns round.
    place(0, 5);
    overviewUp(true);
    EXPECT_EQ(markFirst, 4);
    EXPECT_EQ(markLast, 5);

    EXPECT_EQ(overviewDown(false), OverviewRedraw::Full);
    EXPECT_FALSE(markActive);
    EXPECT_EQ(markAnchor, -1);
    EXPECT_EQ(markFirst, 5);
    EXPECT_EQ(markLast, 5);
    EXPECT_EQ(menuEvents(IDM_COPY, false), 1);

    // Without marks only the bar moves.
    EXPECT_EQ(overviewDown(false), OverviewRedraw::MoveBar);
    EXPECT_EQ(overviewUp(false), OverviewRedraw::MoveBar);
    EXPECT_EQ(currentEntry(), 5);
    EXPECT_EQ(currentEntryOffset, entryIndex[5]);
}

TEST_F(OverviewRules, DownAtTheLastRowScrollsAndStopsAtTheLastEntry)
{
    setNumberedEntries(30);
    place(0, 8);   // the lowest row the cursor may take with 10 rows
    overviewDown(true);
    EXPECT_EQ(firstVisibleEntry, 1);
    EXPECT_EQ(cursorRow, 8);
    overviewDown(true);
    EXPECT_EQ(firstVisibleEntry, 2);
    EXPECT_EQ(markFirst, 8);
    EXPECT_EQ(markLast, 10);

    place(21, 8);
    markActive = false;
    EXPECT_EQ(overviewDown(false), OverviewRedraw::MoveBar);
    EXPECT_EQ(currentEntry(), 29);
    EXPECT_EQ(firstVisibleEntry, 21);

    place(0, 9);
    EXPECT_EQ(overviewDown(false), OverviewRedraw::None);
    place(30, 0);
    EXPECT_EQ(overviewDown(false), OverviewRedraw::None);
}

TEST_F(OverviewRules, UpAtTheTopRowScrollsUntilTheFirstEntry)
{
    setNumberedEntries(30);
    place(5, 0);
    EXPECT_EQ(overviewUp(false), OverviewRedraw::Full);
    EXPECT_EQ(firstVisibleEntry, 4);
    EXPECT_EQ(cursorRow, 0);
    place(0, 0);
    EXPECT_EQ(overviewUp(false), OverviewRedraw::MoveBar);
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 0);
}

TEST_F(OverviewRules, PagesMoveTheListAndKeepTheCursorRow)
{
    setNumberedEntries(30);
    place(0, 3);
    overviewPageDown(false);
    EXPECT_EQ(firstVisibleEntry, 8);
    overviewPageDown(false);
    EXPECT_EQ(firstVisibleEntry, 16);
    overviewPageDown(false);
    EXPECT_EQ(firstVisibleEntry, 21);   // as far as a full last page
    EXPECT_EQ(cursorRow, 3);
    overviewPageUp(false);
    EXPECT_EQ(firstVisibleEntry, 13);
    overviewPageUp(false);
    overviewPageUp(false);
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 3);

    // With Shift the block grows by a page.
    overviewPageDown(true);
    EXPECT_EQ(markFirst, 3);
    EXPECT_EQ(markLast, 11);

    // Fewer entries than rows: the cursor comes up onto the last entry.
    setNumberedEntries(5);
    place(0, 8);
    overviewPageDown(false);
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 4);
}

TEST_F(OverviewRules, ControlHomeAndEndGoToTheFirstAndLastEntry)
{
    setNumberedEntries(30);
    place(6, 6);
    overviewScrollX = 40;
    overviewFirstEntry(true);
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(overviewScrollX, 0);
    EXPECT_EQ(markFirst, 0);
    EXPECT_EQ(markLast, 12);

    overviewLastEntry(false);
    EXPECT_FALSE(markActive);
    EXPECT_EQ(firstVisibleEntry, 21);
    EXPECT_EQ(cursorRow, 8);
    EXPECT_EQ(currentEntryOffset, entryIndex[29]);

    setNumberedEntries(3);
    place(0, 0);
    overviewLastEntry(true);
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 2);
    EXPECT_EQ(markLast, 2);
}

TEST_F(OverviewRules, HorizontalKeysStayInsideTheTextWidth)
{
    setNumberedEntries(3);
    const int width = 400, text = 2000;
    EXPECT_TRUE(overviewScrollRight(false, width, text, 0));
    EXPECT_EQ(overviewScrollX, 100);
    EXPECT_TRUE(overviewScrollRight(true, width, text, 700));   // end of the heading at the right edge
    EXPECT_EQ(overviewScrollX, 301);
    EXPECT_TRUE(overviewScrollRight(true, width, text, 100));   // a short heading: back to the start
    EXPECT_EQ(overviewScrollX, 0);
    overviewScrollX = 1600;
    EXPECT_FALSE(overviewScrollRight(false, width, text, 0));
    EXPECT_TRUE(overviewScrollLeft(false, width));
    EXPECT_EQ(overviewScrollX, 1500);
    EXPECT_TRUE(overviewScrollLeft(true, width));
    EXPECT_EQ(overviewScrollX, 0);
    EXPECT_FALSE(overviewScrollLeft(false, width));

    EXPECT_TRUE(overviewScrollEnd(width, text, 5000));
    EXPECT_EQ(overviewScrollX, 1600);
    EXPECT_TRUE(overviewScrollHome());
    EXPECT_EQ(overviewScrollX, 0);
    EXPECT_FALSE(overviewScrollHome());
}

}  // namespace

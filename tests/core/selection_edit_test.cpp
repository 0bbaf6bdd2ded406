#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "find/sort.h"
#include "resources/resource.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/line_table.h"
#include "views/overview_rules.h"
#include "views/selection_edit.h"
#include "views/view_state.h"

namespace {

using Strings = std::vector<std::string>;
using Ints = std::vector<int32_t>;

const std::string book = "Anna\r\nWeg 1\r\nBerlin\r\n\r\n"
                         "Bob\r\n\r\n"
                         "Carl\r\nHof 2\r\n\r\n"
                         "Dora\r\n\r\n"
                         "Emil\r\n\r\n";

class SelectionEdit : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        setStoreText(book);
        recorder.events.clear();
    }

    void showEntry(int32_t e)
    {
        firstVisibleEntry = 0;
        cursorRow = e;
        showCurrentEntry();
        buildLineTable(1, currentEntryOffset, 0);
        activeView = ActiveView::DataView;
        recorder.events.clear();
    }
    void select(int32_t startLine, int32_t startColumn, int32_t endLine, int32_t endColumn)
    {
        selectionActive = true;
        selStartLine = selAnchorLine = startLine;
        selStartColumn = selAnchorColumn = startColumn;
        selEndLine = endLine;
        selEndColumn = endColumn;
    }
    void mark(int32_t first, int32_t last)
    {
        activeView = ActiveView::Overview;
        markActive = true;
        markFirst = markAnchor = first;
        markLast = last;
        firstVisibleEntry = 0;
        cursorRow = last;
    }
    bool menuLast(int id, bool enabled) const
    {
        auto menus = recorder.eventsStartingWith("menu|" + std::to_string(id) + "|");
        return !menus.empty() && menus.back() == "menu|" + std::to_string(id) + (enabled ? "|on" : "|off");
    }
};

TEST_F(SelectionEdit, DeleteSelectionLeavesNoEmptyLine)
{
    showEntry(0);
    select(1, 2, 2, 3);
    deleteSelection(false);
    EXPECT_EQ(storeText().substr(0, 19), "Anna\r\nWelin\r\n\r\nBob\r");
    EXPECT_FALSE(selectionActive);
    EXPECT_EQ((Ints{caretLine, caretColumn}), (Ints{1, 2}));
    EXPECT_TRUE(resortPending);
    EXPECT_TRUE(menuLast(IDM_CUT, false));
    EXPECT_EQ(recorder.eventsStartingWith("repaint|"), Strings{"repaint|data"});   // headings unchanged

    setStoreText(book);
    showEntry(0);
    select(1, 0, 1, 5);   // an emptied line keeps a blank
    deleteSelection(true);
    EXPECT_EQ(storeText().substr(0, 17), "Anna\r\n \r\nBerlin\r\n");

    showEntry(2);
    select(0, 0, 1, 5);   // the whole entry: one blank line is left
    deleteSelection(false);
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Bob", " ", "Dora", "Emil"}));
    EXPECT_EQ(recorder.eventsStartingWith("repaint|"), (Strings{"repaint|data", "repaint|overview"}));

    showEntry(1);
    select(0, 1, 0, 2);
    deleteSelection(true);
    EXPECT_EQ(storeHeadings()[1], "Bb");

    // An end column beyond its line (the caret keeps its column on shorter
    // lines) stops at the line's end: the entry keeps its closing line.
    setStoreText(book);
    showEntry(0);
    select(1, 3, 2, 9);
    deleteSelection(true);
    EXPECT_EQ(storeText().substr(0, 16), "Anna\r\nWeg\r\n\r\nBob");
}

TEST_F(SelectionEdit, DeleteMarkedEntriesShowsTheEntryBehindTheBlock)
{
    mark(1, 2);
    deleteMarkedEntries();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Dora", "Emil"}));
    EXPECT_FALSE(markActive);
    EXPECT_EQ(currentEntryOffset, entryIndex[1]);
    EXPECT_TRUE(menuLast(IDM_COPY, false));

    mark(1, 2);   // a block at the end that began above the top row
    firstVisibleEntry = 2;
    cursorRow = 0;
    deleteMarkedEntries();
    EXPECT_EQ(storeHeadings(), Strings{"Anna"});
    EXPECT_EQ((Ints{firstVisibleEntry, cursorRow}), (Ints{0, 0}));

    mark(0, 0);   // every entry: one blank entry stays
    deleteMarkedEntries();
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(currentEntryOffset, 0);
    EXPECT_EQ(recorder.eventsStartingWith("active|"), Strings{"active|data"});
}

TEST_F(SelectionEdit, OverviewDeletionAsksFirstAndUndoToggles)
{
    activeView = ActiveView::Overview;
    cursorRow = 3;
    recorder.answers = {false};
    deleteEntriesAfterQuestion();
    EXPECT_EQ(recorder.eventsStartingWith("ask|"), Strings{"ask|ORDANE-Lumo:|Really delete this entry?"});
    EXPECT_EQ(storeText(), book);
    recorder.answers = {true};
    deleteEntriesAfterQuestion();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Bob", "Carl", "Emil"}));

    mark(1, 1);   // a block, even of one entry, gets the other question
    recorder.events.clear();
    recorder.answers = {true};
    deleteEntriesAfterQuestion();
    EXPECT_EQ(recorder.eventsStartingWith("ask|"), Strings{"ask|ORDANE-Lumo:|Really delete these entries?"});
    undo();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Bob", "Carl", "Emil"}));
    EXPECT_TRUE(markActive);
    undo();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Carl", "Emil"}));
}

TEST_F(SelectionEdit, NewEntryGoesInFrontOfTheCurrentOne)
{
    activeView = ActiveView::Overview;
    cursorRow = 1;
    markActive = true;
    markFirst = markLast = 3;
    overviewScrollX = 40;
    newEntry();
    EXPECT_EQ(storeText().substr(23, 10), " \r\n\r\nBob\r\n");
    EXPECT_EQ(currentEntryOffset, 23);
    EXPECT_EQ(overviewScrollX, 0);
    EXPECT_FALSE(markActive);
    EXPECT_EQ(recorder.eventsStartingWith("active|"), Strings{"active|data"});
    EXPECT_FALSE(resortPending);   // sorted once its first line is typed

    activeView = ActiveView::DataView;   // as the window side does
    undo();
    EXPECT_EQ(storeText(), book);
    EXPECT_EQ(activeView, ActiveView::Overview);

    // Taken while the focus was in another program: the view comes back,
    // but as the one that has the keys now, not a lost one.
    activeView = ActiveView::LostDataView;
    takeSnapshot();
    activeView = ActiveView::Overview;
    undo();
    EXPECT_EQ(activeView, ActiveView::DataView);
    activeView = ActiveView::LostOverview;   // and the other way round
    undo();
    EXPECT_EQ(activeView, ActiveView::LostOverview);
}

TEST_F(SelectionEdit, SelectAllAndCopyTakeWhatTheActiveViewHolds)
{
    showEntry(2);
    selectAll();
    EXPECT_EQ((Ints{selStartLine, selStartColumn, selEndLine, selEndColumn}), (Ints{0, 0, 1, 5}));
    EXPECT_EQ((Ints{selAnchorLine, selAnchorColumn, caretLine, caretColumn}), (Ints{1, 5, 0, 0}));
    EXPECT_TRUE(menuLast(IDM_COPY, true));
    EXPECT_EQ(copyText(), "Carl\r\nHof 2");

    activeView = ActiveView::Overview;
    firstVisibleEntry = 1;
    cursorRow = 2;
    selectAll();
    EXPECT_EQ((Ints{markFirst, markLast, currentEntry(), firstVisibleEntry}), (Ints{0, 4, 0, 0}));
    EXPECT_EQ(copyText(), book);
    overviewRowCount = 10;
    overviewDown(true);   // the block shrinks from the top: its anchor is the last entry
    EXPECT_EQ((Ints{markFirst, markLast, currentEntry()}), (Ints{1, 4, 1}));

    selectionActive = false;
    mark(2, 3);
    EXPECT_EQ(copyText(), "Carl\r\nHof 2\r\n\r\nDora\r\n\r\n");
    activeView = ActiveView::DataView;   // the block belongs to the Overview
    EXPECT_EQ(copyText(), "");
    showEntry(0);
    select(0, 2, 2, 2);
    EXPECT_EQ(copyText(), "na\r\nWeg 1\r\nBe");
    activeView = ActiveView::LostDataView;
    EXPECT_EQ(copyText(), "");
}

TEST_F(SelectionEdit, CutRemovesAndUndoTogglesTwice)
{
    activeView = ActiveView::DataView;
    EXPECT_FALSE(removeCutText());
    EXPECT_FALSE(snapshotValid);

    showEntry(0);
    select(1, 0, 2, 0);
    EXPECT_TRUE(removeCutText());
    EXPECT_EQ(storeText().substr(0, 14), "Anna\r\nBerlin\r\n");
    undo();
    EXPECT_TRUE(selectionActive);

    mark(0, 1);
    EXPECT_TRUE(removeCutText());
    EXPECT_EQ(storeHeadings(), (Strings{"Carl", "Dora", "Emil"}));
    undo();
    EXPECT_EQ(entryCount, 5);
    undo();
    EXPECT_EQ(storeHeadings(), (Strings{"Carl", "Dora", "Emil"}));
}

}  // namespace

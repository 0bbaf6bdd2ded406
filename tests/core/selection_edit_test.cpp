#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "find/sort.h"
#include "resources/resource.h"
#include "shell/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/line_table.h"
#include "views/overview_rules.h"
#include "views/selection_edit.h"
#include "views/view_state.h"

namespace {

using Strings = std::vector<std::string>;

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
        discardSnapshot();
        setStoreText(book);
        recorder.events.clear();
    }
    void TearDown() override
    {
        discardSnapshot();
        StoreTest::TearDown();
    }

    // Entry e shown in the Data view, which is active.
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
        selStartLine = startLine;
        selStartColumn = startColumn;
        selEndLine = endLine;
        selEndColumn = endColumn;
        selAnchorLine = startLine;
        selAnchorColumn = startColumn;
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
        const std::string wanted = "menu|" + std::to_string(id) + (enabled ? "|on" : "|off");
        auto menus = recorder.eventsStartingWith("menu|" + std::to_string(id) + "|");
        return !menus.empty() && menus.back() == wanted;
    }
};

TEST_F(SelectionEdit, DeleteSelectionAcrossLinesPutsTheCaretAtItsStart)
{
    showEntry(0);
    select(1, 2, 2, 3);
    deleteSelection(false);
    EXPECT_EQ(storeText().substr(0, 19), "Anna\r\nWelin\r\n\r\nBob\r");
    EXPECT_EQ(entryCount, 5);
    EXPECT_FALSE(selectionActive);
    EXPECT_EQ(selAnchorLine, -1);
    EXPECT_EQ(caretLine, 1);
    EXPECT_EQ(caretColumn, 2);
    EXPECT_TRUE(resortPending);
    EXPECT_EQ(lineTableOwner, -1);
    EXPECT_FALSE(uiBusy);
    EXPECT_TRUE(menuLast(IDM_COPY, false));
    EXPECT_TRUE(menuLast(IDM_CUT, false));
    // Not from the first line: the Overview's headings stay as they are.
    EXPECT_EQ(recorder.eventsStartingWith("repaint|"), Strings{"repaint|data"});
}

TEST_F(SelectionEdit, DeleteSelectionKeepsABlankWhereALineWasEmptied)
{
    showEntry(0);
    select(1, 0, 1, 5);
    deleteSelection(true);
    EXPECT_EQ(storeText().substr(0, 17), "Anna\r\n \r\nBerlin\r\n");
    EXPECT_TRUE(recorder.eventsStartingWith("repaint|").empty());

    // The whole entry selected: one blank line is left, the entry stays.
    showEntry(2);
    select(0, 0, 1, 5);
    deleteSelection(false);
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Bob", " ", "Dora", "Emil"}));
    EXPECT_EQ(recorder.eventsStartingWith("repaint|"), (Strings{"repaint|data", "repaint|overview"}));

    // Inside one line nothing is added.
    showEntry(1);
    select(0, 1, 0, 2);
    deleteSelection(true);
    EXPECT_EQ(storeHeadings()[1], "Bb");
}

TEST_F(SelectionEdit, DeleteMarkedEntriesShowsTheEntryBehindTheBlock)
{
    mark(1, 2);   // marked downwards: the cursor is on the block's last entry
    deleteMarkedEntries();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Dora", "Emil"}));
    EXPECT_EQ(entryCount, 3);
    EXPECT_FALSE(markActive);
    EXPECT_EQ(markAnchor, -1);
    EXPECT_EQ(currentEntry(), 1);
    EXPECT_EQ(currentEntryOffset, entryIndex[1]);
    EXPECT_EQ(lineTableOwner, -1);
    EXPECT_TRUE(resortPending);
    EXPECT_FALSE(uiBusy);
    EXPECT_TRUE(menuLast(IDM_COPY, false));
    EXPECT_TRUE(menuLast(IDM_CUT, false));

    // A block at the end leaves the cursor on the new last entry; one
    // that began above the top row scrolls the list up to it.
    mark(1, 2);
    firstVisibleEntry = 2;
    cursorRow = 0;
    deleteMarkedEntries();
    EXPECT_EQ(storeHeadings(), Strings{"Anna"});
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(cursorRow, 0);
}

TEST_F(SelectionEdit, DeletingEveryEntryLeavesOneBlankEntry)
{
    mark(0, 4);
    deleteMarkedEntries();
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(entryCount, 1);
    EXPECT_EQ(currentEntry(), 0);
    EXPECT_EQ(currentEntryOffset, 0);
    EXPECT_EQ(recorder.eventsStartingWith("active|"), Strings{"active|data"});
    EXPECT_TRUE(dataModified);
}

TEST_F(SelectionEdit, OverviewDeletionAsksFirstAndUndoToggles)
{
    activeView = ActiveView::Overview;
    cursorRow = 3;

    recorder.answers = {false};
    deleteEntriesAfterQuestion();
    EXPECT_EQ(recorder.eventsStartingWith("ask|"), Strings{"ask|ORDANE-Lumo:|Really delete this entry?"});
    EXPECT_EQ(storeText(), book);
    EXPECT_FALSE(markActive);

    recorder.events.clear();
    recorder.answers = {true};
    deleteEntriesAfterQuestion();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Bob", "Carl", "Emil"}));
    EXPECT_EQ(currentEntry(), 3);

    // A block, even of one entry, gets the other question.
    mark(1, 1);
    recorder.events.clear();
    recorder.answers = {true};
    deleteEntriesAfterQuestion();
    EXPECT_EQ(recorder.eventsStartingWith("ask|"), Strings{"ask|ORDANE-Lumo:|Really delete these entries?"});
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Carl", "Emil"}));

    undo();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Bob", "Carl", "Emil"}));
    EXPECT_TRUE(markActive);
    EXPECT_EQ(markFirst, 1);
    undo();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Carl", "Emil"}));
    EXPECT_FALSE(markActive);
}

TEST_F(SelectionEdit, NewEntryGoesInFrontOfTheCurrentOne)
{
    activeView = ActiveView::Overview;
    cursorRow = 1;
    markActive = true;
    markFirst = markLast = 3;
    caretLine = 2;
    overviewScrollX = 40;
    newEntry();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", " ", "Bob", "Carl", "Dora", "Emil"}));
    EXPECT_EQ(storeText().substr(23, 10), " \r\n\r\nBob\r\n");
    EXPECT_EQ(currentEntryOffset, 23);
    EXPECT_EQ(currentEntry(), 1);
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(overviewScrollX, 0);
    EXPECT_FALSE(markActive);
    EXPECT_EQ(lineTableOwner, -1);
    EXPECT_EQ(recorder.eventsStartingWith("active|"), Strings{"active|data"});
    EXPECT_FALSE(resortPending);   // sorted once its first line is typed
    EXPECT_TRUE(snapshotValid);

    activeView = ActiveView::DataView;   // as the window side does
    undo();
    EXPECT_EQ(storeText(), book);
    EXPECT_EQ(activeView, ActiveView::Overview);
    EXPECT_TRUE(markActive);
}

TEST_F(SelectionEdit, SelectAllInEitherView)
{
    showEntry(2);
    caretLine = 1;
    caretColumn = 3;
    selectAll();
    EXPECT_TRUE(selectionActive);
    EXPECT_EQ(selStartLine, 0);
    EXPECT_EQ(selStartColumn, 0);
    EXPECT_EQ(selEndLine, 1);
    EXPECT_EQ(selEndColumn, 5);
    EXPECT_EQ(selAnchorLine, 1);
    EXPECT_EQ(selAnchorColumn, 5);
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(caretColumn, 0);
    EXPECT_TRUE(menuLast(IDM_COPY, true));
    EXPECT_EQ(copyText(), "Carl\r\nHof 2");

    activeView = ActiveView::Overview;
    firstVisibleEntry = 1;
    cursorRow = 2;
    selectAll();
    EXPECT_TRUE(markActive);
    EXPECT_EQ(markFirst, 0);
    EXPECT_EQ(markLast, 4);
    EXPECT_EQ(markAnchor, 4);
    EXPECT_EQ(currentEntry(), 0);
    EXPECT_EQ(firstVisibleEntry, 0);
    EXPECT_EQ(currentEntryOffset, 0);
    EXPECT_EQ(copyText(), book);
}

TEST_F(SelectionEdit, CopyTextIsWhatTheActiveViewHolds)
{
    mark(2, 3);
    EXPECT_EQ(copyText(), "Carl\r\nHof 2\r\n\r\nDora\r\n\r\n");

    // The block belongs to the Overview: with the Data view active and no
    // selection there is nothing to copy.
    activeView = ActiveView::DataView;
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
    const std::string cut = storeText();
    EXPECT_EQ(cut.substr(0, 14), "Anna\r\nBerlin\r\n");
    undo();
    EXPECT_EQ(storeText(), book);
    EXPECT_TRUE(selectionActive);
    undo();
    EXPECT_EQ(storeText(), cut);

    mark(0, 1);
    EXPECT_TRUE(removeCutText());
    EXPECT_EQ(storeHeadings(), (Strings{"Carl", "Dora", "Emil"}));
    undo();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Bob", "Carl", "Dora", "Emil"}));
    undo();
    EXPECT_EQ(storeHeadings(), (Strings{"Carl", "Dora", "Emil"}));
}

}  // namespace

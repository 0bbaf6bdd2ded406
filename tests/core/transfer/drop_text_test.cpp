#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transfer/drop_text.h"
#include "transfer/paste_text.h"
#include "find/sort.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/line_table.h"
#include "views/view_state.h"

namespace {

TEST(DropEffect, FilesAndCtrlCopyShiftMovesOtherwiseTheOriginDecides)
{
    const uint32_t both = dropCopy | dropMove;
    struct {
        bool files, control, shift;
        DragOrigin origin;
        uint32_t allowed, expected;
    } cases[] = {
        {true, false, true, DragOrigin::None, both, dropCopy},        // files never move
        {false, true, true, DragOrigin::DataView, both, dropCopy},    // Ctrl before Shift
        {false, false, true, DragOrigin::None, both, dropMove},       // Shift moves from outside
        {false, false, false, DragOrigin::None, both, dropCopy},
        {false, false, false, DragOrigin::Overview, both, dropCopy},
        {false, false, false, DragOrigin::DataView, both, dropMove},
        {false, false, true, DragOrigin::Overview, dropCopy, dropCopy},   // the source allows copy only
        {false, false, false, DragOrigin::None, dropMove, dropNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseDropEffect(c.files, c.control, c.shift, c.origin, c.allowed), c.expected)
            << c.files << c.control << c.shift << static_cast<int>(c.origin) << " allowed " << c.allowed;
}

TEST(DroppedFile, NameInQuotesWithControlBytesAsBlanks)
{
    EXPECT_EQ(droppedFileText("C:\\Daten\\Brief 1.txt"), "\"C:\\Daten\\Brief 1.txt\"");
    EXPECT_EQ(droppedFileText("a\tb\x01"), "\"a b \"");
}

class DropText : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        pasteCursorKeys = [] {};
        dragBuffer.clear();
        dragSourceWindow = DragOrigin::None;
        activeView = ActiveView::Overview;
    }
    void TearDown() override
    {
        endDrag();
        StoreTest::TearDown();
    }
    void showEntry(int32_t k)
    {
        currentEntryOffset = entryIndex[k];
        lineTableOwner = -1;
        buildLineTable(1, currentEntryOffset, 0);
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
};

TEST_F(DropText, MarkedEntriesDroppedIntoAnEntryNeitherSplitNorAddEntriesAndUndoRestores)
{
    const std::string book = "Adler\r\nBonn\r\n\r\nBeck\r\n\r\nCramer\r\n\r\n";
    setStoreText(book);
    showEntry(2);
    dragSourceWindow = DragOrigin::Overview;
    dragBuffer = "Adler\r\nBonn\r\n\r\nBeck\r\n\r\n";
    dropTextAt(dragBuffer.c_str(), {0, 6}, false);
    EXPECT_EQ(storeText(), "Adler\r\nBonn\r\n\r\nBeck\r\n\r\nCramerAdler\r\nBonn\r\n \r\nBeck\r\n \r\n \r\n\r\n");
    EXPECT_EQ(entryCount, 3);
    EXPECT_EQ(recorder.eventsStartingWith("active|"), std::vector<std::string>{"active|data"});
    EXPECT_TRUE(resortPending);
    undo();
    EXPECT_EQ(storeText(), book);
}

TEST_F(DropText, MoveWithinTheEntryBeforeTheBlockRemovesItFirst)
{
    setStoreText("Name\r\none\r\ntwo\r\nmove me\r\n\r\n");
    showEntry(0);
    select(3, 0, 3, 4);   // "move"
    dragSourceWindow = DragOrigin::DataView;
    dragBuffer = "move";
    dropTextAt("move", {1, 0}, true);
    dragBuffer[0] = dropMarker;
    EXPECT_EQ(storeText(), "Name\r\nmoveone\r\ntwo\r\n me\r\n\r\n");
    EXPECT_FALSE(selectionActive);
    removeMovedText(DragOrigin::DataView);   // nothing left to remove
    EXPECT_EQ(storeText(), "Name\r\nmoveone\r\ntwo\r\n me\r\n\r\n");
    undo();
    EXPECT_EQ(storeText(), "Name\r\none\r\ntwo\r\nmove me\r\n\r\n");
}

TEST_F(DropText, MoveWithinTheEntryBehindTheBlockLeavesItToTheStartingViewUnderOneUndo)
{
    const std::string entry = "Name\r\nmove me\r\none\r\ntwo\r\n\r\n";
    setStoreText(entry);
    showEntry(0);
    select(1, 0, 2, 0);   // "move me" and its line break
    dragSourceWindow = DragOrigin::DataView;
    dragBuffer = "move me\r\n";
    dropTextAt(dragBuffer.c_str(), {3, 3}, true);
    dragBuffer[0] = dropMarker;
    ASSERT_TRUE(selectionActive);
    removeMovedText(DragOrigin::DataView);
    EXPECT_EQ(storeText(), "Name\r\none\r\ntwomove me\r\n \r\n\r\n");
    EXPECT_EQ(entryCount, 1);
    undo();   // the drop's snapshot covers the removal too
    EXPECT_EQ(storeText(), entry);
}

TEST_F(DropText, SelectionIncludesItsEndsAndAMoveOutOfTheProgramKeepsUndo)
{
    setStoreText("Name\r\nabcdef\r\n\r\n");
    showEntry(0);
    select(1, 2, 1, 4);
    EXPECT_FALSE(insideSelection({1, 1}));
    EXPECT_TRUE(insideSelection({1, 2}));
    EXPECT_TRUE(insideSelection({1, 4}));
    EXPECT_FALSE(insideSelection({1, 5}));
    EXPECT_FALSE(insideSelection({0, 3}));

    // Moved to another program: the starting view takes the snapshot.
    dragSourceWindow = DragOrigin::DataView;
    dragBuffer = "cd";
    removeMovedText(DragOrigin::DataView);
    EXPECT_EQ(storeText(), "Name\r\nabef\r\n\r\n");
    undo();
    EXPECT_EQ(storeText(), "Name\r\nabcdef\r\n\r\n");
    endDrag();
    EXPECT_FALSE(ownDragRunning());
    EXPECT_EQ(dragSourceWindow, DragOrigin::None);
}

TEST_F(DropText, FileNameGoesInQuotedAtThePosition)
{
    setStoreText("Name\r\nsee \r\n\r\n");
    showEntry(0);
    dropFileAt("Z:\\tmp\\Brief.txt", {1, 4});
    EXPECT_EQ(storeText(), "Name\r\nsee \"Z:\\tmp\\Brief.txt\"\r\n\r\n");
    undo();
    EXPECT_EQ(storeText(), "Name\r\nsee \r\n\r\n");
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "store/store.h"
#include "support/store_fixture.h"
#include "views/data_view_rules.h"
#include "views/line_table.h"
#include "views/view_state.h"

namespace {

using Ints = std::vector<int32_t>;

Ints starts(int32_t count)
{
    Ints result;
    for (int32_t k = 0; k < count; ++k)
        result.push_back(lineStart(k));
    return result;
}

std::string shownLine(int32_t l)
{
    char text[viewLineSize];
    lineText(l, text);
    return text;
}

Ints caret() { return {caretLine, caretColumn}; }
Ints selection() { return {selStartLine, selStartColumn, selEndLine, selEndColumn}; }

bool hasEvent(const RecordingHost& recorder, const std::string& event)
{
    return std::find(recorder.events.begin(), recorder.events.end(), event) != recorder.events.end();
}
bool copyTurnedOff(const RecordingHost& recorder) { return hasEvent(recorder, "menu|" + std::to_string(IDM_COPY) + "|off"); }

class LineTable : public StoreTest {};

TEST_F(LineTable, CountsLinesUpToTheSeparatorAndJoinsControlLines)
{
    setStoreText("Name\r\nStreet 1\r\nTown\r\n\r\nNext\r\n\r\n");
    buildLineTable(5, 0, 0);
    EXPECT_EQ(lineCount, 3);
    EXPECT_EQ(starts(5), (Ints{0, 6, 16, -1, -1}));
    EXPECT_STREQ(viewLines[2], "Town");
    EXPECT_STREQ(viewLines[3], "");
    buildLineTable(3, entryIndex[1], 0);   // found by its offset, not by an index
    EXPECT_EQ(starts(2), (Ints{entryIndex[1], -1}));
    EXPECT_STREQ(viewLines[0], "Next");

    // A line starting with a control byte stays with the line before; a blank line is a line.
    setStoreText("Name\r\n\tTabbed\r\nStreet\r\n \r\nTown\r\n\r\n");
    buildLineTable(5, 0, 0);
    EXPECT_EQ(lineCount, 4);
    EXPECT_EQ(shownLine(1), "Street");
    EXPECT_EQ(shownLine(2), " ");
    EXPECT_EQ(lineStart(1), 15);
}

TEST_F(LineTable, TrailingTextEndsAtTheUsedBytes)
{
    setStoreText("A\r\n\r\nB\r\nC");
    buildLineTable(3, 5, 0);
    EXPECT_EQ(lineCount, 1);
    EXPECT_EQ(starts(3), (Ints{5, 8, -1}));
    EXPECT_STREQ(viewLines[1], "C");

    // A separator beyond the used bytes is stale and not part of the entry.
    setStoreText("A\r\nB\r\nC\r\n\r\n");
    usedBytes = 5;
    lineTableOwner = -1;
    buildLineTable(3, 0, 0);
    EXPECT_EQ(starts(3), (Ints{0, 3, -1}));
    EXPECT_STREQ(viewLines[1], "B");
    usedBytes = 0;
    lineTableOwner = -1;
    buildLineTable(3, 0, 0);
    EXPECT_EQ(lineCount, 0);
}

TEST_F(LineTable, DisplayTextsFollowTheFirstVisibleLineAndHold255Characters)
{
    setStoreText(numberedEntry(10));
    buildLineTable(4, 0, 5);
    EXPECT_STREQ(viewLines[0], "Name");   // the first line stays
    EXPECT_STREQ(viewLines[1], "Line 6");
    buildLineTable(6, 0, 7);
    EXPECT_STREQ(viewLines[2], "Line 9");
    EXPECT_STREQ(viewLines[3], "");
    std::memset(viewLines, 'x', sizeof viewLines);
    buildLineTable(viewLineSlots + 50, 0, 0);
    EXPECT_STREQ(viewLines[viewLineSlots - 1], "");

    setStoreText("H\r\n" + std::string(300, 'w') + "\r\n\r\n");
    buildLineTable(2, 0, 0);
    EXPECT_EQ(std::strlen(viewLines[1]), 255u);
    EXPECT_EQ(lineLength(1), 255);
}

TEST_F(LineTable, ANewOwnerClearsTheSelection)
{
    setStoreText("One\r\nLine\r\n\r\nTwo\r\n\r\n");
    buildLineTable(2, 0, 0);
    selectionActive = true;
    buildLineTable(2, 0, 0);
    EXPECT_TRUE(selectionActive);
    lineTableOwner = -1;
    buildLineTable(2, 0, 0);
    EXPECT_FALSE(selectionActive);
    EXPECT_TRUE(copyTurnedOff(recorder));
    EXPECT_TRUE(hasEvent(recorder, "menu|" + std::to_string(IDM_CUT) + "|off"));

    // A marked block in the Overview keeps Copy and Cut.
    selectionActive = markActive = true;
    recorder.events.clear();
    buildLineTable(2, entryIndex[1], 0);
    EXPECT_FALSE(selectionActive);
    EXPECT_FALSE(copyTurnedOff(recorder));
}

TEST(DataViewScrolling, ClampingAndStepsStopAtTheEnds)
{
    EXPECT_EQ(clampedFirstVisibleLine(32, 20, 50), 32);
    EXPECT_EQ(clampedFirstVisibleLine(33, 20, 50), 32);   // last line on the third row from the bottom
    EXPECT_EQ(clampedFirstVisibleLine(3, 20, 5), 0);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::PageForward, 17, 20, 50, 0), 32);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::LineForward, 32, 20, 50, 0), 32);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::PageBack, 32, 20, 50, 0), 15);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::PageForward, 0, 3, 50, 0), 1);   // too few rows for a page
    EXPECT_EQ(scrolledX(ScrollCode::LineForward, 550, 400, 1000, 0), 600);
    EXPECT_EQ(scrolledX(ScrollCode::Track, 0, 400, 1000, -5), 0);
    EXPECT_EQ(clampedScrollX(50, 300, 400), 0);
    EXPECT_EQ(wheelStep(120, 1, 20, 50), 0);
    EXPECT_EQ(wheelStep(-120, 32, 20, 50), 32);
    EXPECT_EQ(wheelStep(0, 5, 20, 50), 5);
    EXPECT_EQ(firstVisibleLineForCaret(18, 0, 20), 1);
    EXPECT_EQ(firstVisibleLineForCaret(10, 10, 20), 9);   // hidden behind the first line
    EXPECT_EQ(firstVisibleLineForCaret(0, 10, 20), 10);   // the first line is always in view
    EXPECT_EQ(scrollXForCaret(400, 0, 400), 0);
    EXPECT_EQ(scrollXForCaret(500, 0, 400), 450);
}

TEST(DataViewPointer, LineAndColumnUnderThePointer)
{
    const int caption = 20, h = 16;
    EXPECT_EQ(pointerLine(caption + 2 * h - 1, caption, h, 7, 50), 0);   // the first line's double band
    EXPECT_EQ(pointerLine(caption + 2 * h, caption, h, 7, 50), 8);
    EXPECT_EQ(pointerLine(caption + 40 * h, caption, h, 0, 10), 9);
    EXPECT_EQ(pointerLine(caption + 40 * h, caption, h, 0, 0), 0);

    auto eightEach = [](int32_t count) { return 8 * count; };
    EXPECT_EQ(pointerColumn(3, 0, 5, eightEach), 0);
    EXPECT_EQ(pointerColumn(4, 0, 5, eightEach), 1);   // past 3 pixels into a character: behind it
    EXPECT_EQ(pointerColumn(500, 0, 5, eightEach), 5);
    EXPECT_EQ(pointerColumn(4, 16, 5, eightEach), 3);
    const int widths[] = {0, 12, 16, 20};   // "Wil"
    auto wil = [&](int32_t count) { return widths[count]; };
    EXPECT_EQ(pointerColumn(15, 0, 3, wil), 1);
    EXPECT_EQ(pointerColumn(16, 0, 3, wil), 2);
}

TEST(DataViewLinks, TextBetweenTwoQuotesIsALink)
{
    const char* web = "Web: \"http://example.org\"";
    int32_t open = -1, close = -1;
    for (int32_t c = 6; c < 24; ++c) {
        ASSERT_TRUE(findLink(web, c, open, close)) << c;
        EXPECT_EQ((Ints{open, close}), (Ints{5, 24}));
    }
    for (int32_t c : {2, 5, 24, 25})
        EXPECT_FALSE(findLink(web, c, open, close)) << c;
    ASSERT_TRUE(findLink("\"a\" \"b\"", 3, open, close));   // the blank between two links
    EXPECT_EQ((Ints{open, close}), (Ints{2, 4}));
    EXPECT_FALSE(findLink("Only \"one quote", 8, open, close));
    ASSERT_TRUE(findLink("\"ab\" c", 1, open, close));   // a quote in the first column
    EXPECT_EQ((Ints{open, close}), (Ints{0, 3}));
}

class DataViewCaretKeys : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        useText(numberedEntry(40));
    }
    void useText(const std::string& text)
    {
        setStoreText(text);
        resetViewState();
        dataViewRowCount = 10;
        buildLineTable(11, 0, firstVisibleLine);
    }
    DataViewRedraw press(CaretKey key, bool shift = false, bool control = false)
    {
        return dataViewCaretKey(key, shift, control, 100, [](int32_t, int32_t column) { return 10 * column; });
    }
    void caretAt(int32_t line, int32_t column)
    {
        caretLine = line;
        caretColumn = column;
    }
};

TEST_F(DataViewCaretKeys, ArrowsAndPagesMoveWithinTheEntryAndScroll)
{
    EXPECT_EQ(press(CaretKey::Left), DataViewRedraw::None);
    caretAt(1, 0);   // from the start of line 1 onto the end of the heading
    press(CaretKey::Left);
    EXPECT_EQ(caret(), (Ints{0, 4}));
    caretAt(1, 6);
    press(CaretKey::Right);   // at the line's end: on to the next line
    EXPECT_EQ(caret(), (Ints{2, 0}));
    caretAt(39, 7);   // the last line
    press(CaretKey::Down);
    press(CaretKey::Right);
    EXPECT_EQ(caret(), (Ints{39, 7}));

    caretAt(7, 0);   // rows - 3: the lowest row that needs no scrolling
    firstVisibleLine = 0;
    EXPECT_EQ(press(CaretKey::Down), DataViewRedraw::Full);
    EXPECT_EQ(firstVisibleLine, 1);
    for (int i = 0; i < 10; ++i)
        press(CaretKey::PageDown);
    EXPECT_EQ((Ints{firstVisibleLine, caretLine}), (Ints{32, 39}));
    for (int i = 0; i < 11; ++i)
        press(CaretKey::PageUp);
    EXPECT_EQ((Ints{firstVisibleLine, caretLine}), (Ints{0, 1}));   // never onto the first line by paging
    press(CaretKey::End, false, true);
    EXPECT_EQ(caret(), (Ints{39, 7}));

    useText("Anna\r\nWeg 12\r\n\r\n");   // a short entry: Ctrl+End does not scroll
    press(CaretKey::End, false, true);
    EXPECT_EQ((Ints{firstVisibleLine, caretLine, caretColumn}), (Ints{0, 1, 6}));

    useText("Anna  Maria Berg\r\n\r\n");
    for (int32_t want : {6, 12, 16}) {
        press(CaretKey::Right, false, true);
        EXPECT_EQ(caretColumn, want);
    }
    caretAt(0, 14);   // inside a word: to its start; at a word's start: to the word before
    for (int32_t want : {12, 6, 0}) {
        press(CaretKey::Left, false, true);
        EXPECT_EQ(caretColumn, want);
    }
}

TEST_F(DataViewCaretKeys, ShiftAndDoubleClickSelect)
{
    caretAt(2, 1);
    press(CaretKey::Right, true);
    press(CaretKey::Right, true);
    EXPECT_EQ(selection(), (Ints{2, 1, 2, 3}));
    EXPECT_TRUE(hasEvent(recorder, "menu|" + std::to_string(IDM_COPY) + "|on"));
    press(CaretKey::Up, true);   // the caret now lies before the anchor
    EXPECT_EQ(selection(), (Ints{1, 3, 2, 1}));
    press(CaretKey::Down, true);
    press(CaretKey::Left, true);
    press(CaretKey::Left, true);   // back on the anchor: empty, so cleared
    EXPECT_FALSE(selectionActive);
    EXPECT_TRUE(copyTurnedOff(recorder));

    useText("Name\r\nHello big world\r\nAnother line here\r\n\r\n");
    caretAt(1, 7);
    ASSERT_TRUE(selectWordAtCaret("Hello big world", false));
    EXPECT_EQ(selection(), (Ints{1, 6, 1, 9}));
    caretAt(2, 10);   // with Shift the selection grows from the anchor
    ASSERT_TRUE(selectWordAtCaret("Another line here", true));
    EXPECT_EQ(selection(), (Ints{1, 6, 2, 12}));
    clearDataViewSelection();
    caretAt(1, 5);   // a blank
    EXPECT_FALSE(selectWordAtCaret("Hello big world", false));
    caretAt(1, 15);   // the line's end
    EXPECT_FALSE(selectWordAtCaret("Hello big world", false));
    caretAt(1, 0);
    press(CaretKey::End, true);
    recorder.events.clear();
    EXPECT_EQ(press(CaretKey::Left), DataViewRedraw::Full);   // a move without Shift drops it
    EXPECT_TRUE(copyTurnedOff(recorder));
}

}  // namespace

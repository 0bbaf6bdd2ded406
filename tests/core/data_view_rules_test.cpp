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

std::vector<int32_t> starts(int32_t count)
{
    std::vector<int32_t> result;
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

// "Name" and then lines "Line 1" to "Line <n-1>", as one entry followed by another.
std::string numberedEntry(int n)
{
    std::string text = "Name\r\n";
    for (int i = 1; i < n; ++i)
        text += "Line " + std::to_string(i) + "\r\n";
    return text + "\r\nNext\r\n\r\n";
}

void layOutEntry(int32_t offset, int32_t rows)
{
    dataViewRowCount = rows;
    buildLineTable(rows + 1, offset, firstVisibleLine);
}

bool copyTurnedOff(const RecordingHost& recorder)
{
    for (const auto& e : recorder.events)
        if (e == "menu|" + std::to_string(IDM_COPY) + "|off")
            return true;
    return false;
}

class LineTable : public StoreTest {};

TEST_F(LineTable, CountsLinesUpToTheSeparator)
{
    setStoreText("Name\r\nStreet 1\r\nTown\r\n\r\nNext\r\n\r\n");
    buildLineTable(5, 0, 0);
    EXPECT_EQ(lineCount, 3);
    EXPECT_EQ(lineTableOwner, 0);
    EXPECT_EQ(starts(5), (std::vector<int32_t>{0, 6, 16, -1, -1}));
    EXPECT_GE(lineStartSlots, lineCount + 100);
    EXPECT_STREQ(viewLines[0], "Name");
    EXPECT_STREQ(viewLines[1], "Street 1");
    EXPECT_STREQ(viewLines[2], "Town");
    EXPECT_STREQ(viewLines[3], "");

    // The second entry, found by its offset, not by an index.
    buildLineTable(3, entryIndex[1], 0);
    EXPECT_EQ(lineCount, 1);
    EXPECT_EQ(starts(2), (std::vector<int32_t>{entryIndex[1], -1}));
    EXPECT_STREQ(viewLines[0], "Next");
}

TEST_F(LineTable, ALineStartingWithAControlByteStaysWithTheLineBefore)
{
    setStoreText("Name\r\n\tTabbed\r\nStreet\r\n \r\nTown\r\n\r\n");
    buildLineTable(5, 0, 0);
    EXPECT_EQ(lineCount, 4);   // Name, Street, the blank line, Town
    EXPECT_EQ(shownLine(0), "Name");
    EXPECT_EQ(shownLine(1), "Street");
    EXPECT_EQ(shownLine(2), " ");   // a blank line is a line
    EXPECT_EQ(shownLine(3), "Town");
    EXPECT_EQ(lineStart(1), 15);
    EXPECT_EQ(lineLength(2), 1);
}

TEST_F(LineTable, TrailingTextWithoutSeparatorEndsAtTheUsedBytes)
{
    setStoreText("A\r\n\r\nB\r\nC");
    const int32_t b = 5;
    buildLineTable(3, b, 0);
    EXPECT_EQ(lineCount, 1);   // one line break, no separator
    EXPECT_EQ(starts(3), (std::vector<int32_t>{b, 8, -1}));
    EXPECT_STREQ(viewLines[1], "C");

    // Bytes beyond the used text are left over from earlier text: a
    // separator and a line there are not part of the entry.
    setStoreText("A\r\nB\r\nC\r\n\r\n");
    usedBytes = 5;   // "A\r\nB\r" remains in use, "\nC\r\n\r\n" is stale
    lineTableOwner = -1;
    buildLineTable(3, 0, 0);
    EXPECT_EQ(lineCount, 1);
    EXPECT_EQ(starts(3), (std::vector<int32_t>{0, 3, -1}));
    EXPECT_STREQ(viewLines[0], "A");
    EXPECT_STREQ(viewLines[1], "B");

    usedBytes = 0;   // nothing at all
    lineTableOwner = -1;
    buildLineTable(3, 0, 0);
    EXPECT_EQ(lineCount, 0);
    EXPECT_STREQ(viewLines[0], "");
}

TEST_F(LineTable, DisplayTextsFollowTheFirstVisibleLine)
{
    setStoreText(numberedEntry(10));
    buildLineTable(4, 0, 5);
    EXPECT_EQ(lineCount, 10);
    EXPECT_STREQ(viewLines[0], "Name");     // the first line stays
    EXPECT_STREQ(viewLines[1], "Line 6");   // slot j shows line 5 + j
    EXPECT_STREQ(viewLines[3], "Line 8");
    buildLineTable(6, 0, 7);
    EXPECT_STREQ(viewLines[2], "Line 9");
    EXPECT_STREQ(viewLines[3], "");   // past the last line
    EXPECT_STREQ(viewLines[5], "");

    // More slots than the table holds: only the table is filled.
    std::memset(viewLines, 'x', sizeof viewLines);
    buildLineTable(viewLineSlots + 50, 0, 0);
    EXPECT_STREQ(viewLines[viewLineSlots - 1], "");
}

TEST_F(LineTable, DisplayTextHoldsAtMost255Characters)
{
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
    recorder.events.clear();

    buildLineTable(2, 0, 0);   // same entry: the selection stays
    EXPECT_TRUE(selectionActive);
    EXPECT_TRUE(recorder.events.empty());

    lineTableOwner = -1;   // the text changed: laid out again
    buildLineTable(2, 0, 0);
    EXPECT_FALSE(selectionActive);
    EXPECT_TRUE(copyTurnedOff(recorder));

    // A marked block in the Overview keeps Copy and Cut.
    selectionActive = true;
    markActive = true;
    recorder.events.clear();
    buildLineTable(2, entryIndex[1], 0);
    EXPECT_FALSE(selectionActive);
    EXPECT_FALSE(copyTurnedOff(recorder));
    EXPECT_EQ(lineTableOwner, entryIndex[1]);
}

// ---- Scrolling ----

TEST(DataViewScrolling, FirstVisibleLineKeepsTheLastLineOnTheThirdRowFromTheBottom)
{
    EXPECT_EQ(clampedFirstVisibleLine(10, 20, 50), 10);
    EXPECT_EQ(clampedFirstVisibleLine(32, 20, 50), 32);
    EXPECT_EQ(clampedFirstVisibleLine(33, 20, 50), 32);
    EXPECT_EQ(clampedFirstVisibleLine(40, 20, 50), 32);
    EXPECT_EQ(clampedFirstVisibleLine(3, 20, 5), 0);   // a short entry never scrolls
}

TEST(DataViewScrolling, PagesAndLinesStopAtTheEnd)
{
    const int rows = 20, lines = 50;
    int first = 0;
    first = scrolledFirstVisibleLine(ScrollCode::PageForward, first, rows, lines, 0);
    EXPECT_EQ(first, 17);
    first = scrolledFirstVisibleLine(ScrollCode::PageForward, first, rows, lines, 0);
    EXPECT_EQ(first, 32);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::PageForward, first, rows, lines, 0), 32);
    // Line down stops once first + rows - 2 reaches the line count.
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::LineForward, 31, rows, lines, 0), 32);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::LineForward, 32, rows, lines, 0), 32);

    first = scrolledFirstVisibleLine(ScrollCode::PageBack, first, rows, lines, 0);
    EXPECT_EQ(first, 15);
    first = scrolledFirstVisibleLine(ScrollCode::PageBack, first, rows, lines, 0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::LineBack, 0, rows, lines, 0), 0);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::LineBack, 4, rows, lines, 0), 3);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::Track, 4, rows, lines, 27), 27);
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::Other, 4, rows, lines, 27), 4);

    // Rows too few for a page still move.
    EXPECT_EQ(scrolledFirstVisibleLine(ScrollCode::PageForward, 0, 3, lines, 0), 1);
}

TEST(DataViewScrolling, HorizontalStepsStayWithinTheTextWidth)
{
    const int width = 400, text = 1000;   // at most 600
    EXPECT_EQ(maxScrollX(text, width), 600);
    EXPECT_EQ(maxScrollX(300, width), 0);
    EXPECT_EQ(scrolledX(ScrollCode::LineForward, 0, width, text, 0), 100);
    EXPECT_EQ(scrolledX(ScrollCode::LineForward, 550, width, text, 0), 600);
    EXPECT_EQ(scrolledX(ScrollCode::LineForward, 600, width, text, 0), 600);
    EXPECT_EQ(scrolledX(ScrollCode::LineBack, 50, width, text, 0), 0);
    EXPECT_EQ(scrolledX(ScrollCode::PageForward, 300, width, text, 0), 600);
    EXPECT_EQ(scrolledX(ScrollCode::PageBack, 300, width, text, 0), 0);
    EXPECT_EQ(scrolledX(ScrollCode::Track, 0, width, text, 700), 600);
    EXPECT_EQ(scrolledX(ScrollCode::Track, 0, width, text, -5), 0);
    EXPECT_EQ(scrolledX(ScrollCode::LineForward, 0, width, 300, 0), 0);
    EXPECT_EQ(clampedScrollX(700, text, width), 600);
    EXPECT_EQ(clampedScrollX(50, 300, width), 0);
}

TEST(DataViewScrolling, WheelStepsStopAtBothEnds)
{
    EXPECT_EQ(wheelStep(120, 1, 20, 50), 0);
    EXPECT_EQ(wheelStep(120, 0, 20, 50), 0);
    EXPECT_EQ(wheelStep(-120, 31, 20, 50), 32);
    EXPECT_EQ(wheelStep(-120, 32, 20, 50), 32);
    EXPECT_EQ(wheelStep(-120, 0, 20, 5), 0);   // nothing to scroll
    EXPECT_EQ(wheelStep(0, 5, 20, 50), 5);
}

// ---- Pointer ----

TEST(DataViewPointer, LineUnderThePointer)
{
    const int caption = 20, h = 16;
    EXPECT_EQ(pointerLine(caption + 2 * h - 1, caption, h, 7, 50), 0);   // the first line's double band
    EXPECT_EQ(pointerLine(caption + 2 * h, caption, h, 7, 50), 8);
    EXPECT_EQ(pointerLine(caption + 3 * h + 5, caption, h, 7, 50), 9);
    EXPECT_EQ(pointerLine(caption + 2 * h, caption, h, 0, 50), 1);
    EXPECT_EQ(pointerLine(caption + 40 * h, caption, h, 0, 10), 9);   // below the last line
    EXPECT_EQ(pointerLine(caption + 40 * h, caption, h, 0, 0), 0);    // no lines at all
}

TEST(DataViewPointer, ColumnUnderThePointer)
{
    auto eightEach = [](int32_t count) { return 8 * count; };
    EXPECT_EQ(pointerColumn(0, 0, 5, eightEach), 0);
    EXPECT_EQ(pointerColumn(3, 0, 5, eightEach), 0);
    EXPECT_EQ(pointerColumn(4, 0, 5, eightEach), 1);   // past 3 pixels into a character: behind it
    EXPECT_EQ(pointerColumn(11, 0, 5, eightEach), 1);
    EXPECT_EQ(pointerColumn(12, 0, 5, eightEach), 2);
    EXPECT_EQ(pointerColumn(500, 0, 5, eightEach), 5);   // beyond the text: its end
    EXPECT_EQ(pointerColumn(4, 16, 5, eightEach), 3);    // scrolled by two characters
    EXPECT_EQ(pointerColumn(10, 0, 0, eightEach), 0);

    // Proportional widths: "Wil" with W 12, i 4, l 4 pixels.
    const int widths[] = {0, 12, 16, 20};
    auto wil = [&](int32_t count) { return widths[count]; };
    EXPECT_EQ(pointerColumn(15, 0, 3, wil), 1);
    EXPECT_EQ(pointerColumn(16, 0, 3, wil), 2);
    EXPECT_EQ(pointerColumn(20, 0, 3, wil), 3);
}

TEST(DataViewLinks, TextBetweenTwoQuotesIsALink)
{
    const char* web = "Web: \"http://example.org\"";
    int32_t open = -1, close = -1;
    for (int32_t c = 6; c < 24; ++c) {
        ASSERT_TRUE(findLink(web, c, open, close)) << c;
        EXPECT_EQ(open, 5);
        EXPECT_EQ(close, 24);
    }
    EXPECT_FALSE(findLink(web, 5, open, close));    // on the opening quote
    EXPECT_FALSE(findLink(web, 24, open, close));   // on the closing quote
    EXPECT_FALSE(findLink(web, 2, open, close));    // before it
    EXPECT_FALSE(findLink(web, 25, open, close));   // behind the text

    const char* two = "\"a\" \"b\"";
    ASSERT_TRUE(findLink(two, 3, open, close));   // the blank between two links
    EXPECT_EQ(open, 2);
    EXPECT_EQ(close, 4);
    ASSERT_TRUE(findLink(two, 1, open, close));
    EXPECT_EQ(open, 0);
    EXPECT_EQ(close, 2);
    EXPECT_FALSE(findLink(two, 0, open, close));

    EXPECT_FALSE(findLink("Only \"one quote", 8, open, close));
    EXPECT_FALSE(findLink("One quote\" at the end", 3, open, close));
    EXPECT_FALSE(findLink("", 0, open, close));
}

// ---- Caret ----

TEST(DataViewCaretRules, CaretIsBroughtIntoView)
{
    EXPECT_EQ(firstVisibleLineForCaret(30, 0, 20), 13);   // to the third row from the bottom
    EXPECT_EQ(firstVisibleLineForCaret(17, 0, 20), 0);
    EXPECT_EQ(firstVisibleLineForCaret(18, 0, 20), 1);
    EXPECT_EQ(firstVisibleLineForCaret(10, 10, 20), 9);   // hidden behind the first line
    EXPECT_EQ(firstVisibleLineForCaret(5, 10, 20), 4);
    EXPECT_EQ(firstVisibleLineForCaret(0, 10, 20), 10);   // the first line is always in view
    EXPECT_EQ(firstVisibleLineForCaret(1, 0, 20), 0);

    EXPECT_EQ(scrollXForCaret(500, 0, 400), 450);
    EXPECT_EQ(scrollXForCaret(400, 0, 400), 0);   // on the right edge is still in view
    EXPECT_EQ(scrollXForCaret(50, 100, 400), 0);
    EXPECT_EQ(scrollXForCaret(150, 100, 400), 100);
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
        layOutEntry(0, 10);
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

TEST_F(DataViewCaretKeys, ArrowsMoveWithinTheEntry)
{
    EXPECT_EQ(press(CaretKey::Up), DataViewRedraw::None);
    EXPECT_EQ(press(CaretKey::Left), DataViewRedraw::None);   // line 0, column 0: nowhere to go

    EXPECT_EQ(press(CaretKey::Down), DataViewRedraw::MoveCaret);
    EXPECT_EQ(caretLine, 1);
    press(CaretKey::End);
    EXPECT_EQ(caretColumn, 6);   // "Line 1"
    press(CaretKey::Right);      // at the line's end: on to the next line
    EXPECT_EQ(caretLine, 2);
    EXPECT_EQ(caretColumn, 0);
    press(CaretKey::Left);       // and back to the end of the previous one
    EXPECT_EQ(caretLine, 1);
    EXPECT_EQ(caretColumn, 6);
    press(CaretKey::Home);
    EXPECT_EQ(caretColumn, 0);

    caretAt(39, 7);   // the last line, "Line 39"
    press(CaretKey::Down);
    EXPECT_EQ(caretLine, 39);
    press(CaretKey::Right);
    EXPECT_EQ(caretLine, 39);
    EXPECT_EQ(caretColumn, 7);
}

TEST_F(DataViewCaretKeys, CaretMovingOffTheRowsScrolls)
{
    caretAt(7, 0);   // rows - 3: the lowest row that needs no scrolling
    EXPECT_EQ(press(CaretKey::Down), DataViewRedraw::Full);
    EXPECT_EQ(caretLine, 8);
    EXPECT_EQ(firstVisibleLine, 1);

    firstVisibleLine = 5;
    caretAt(6, 0);
    EXPECT_EQ(press(CaretKey::Up), DataViewRedraw::Full);   // line 5 hides behind the first line
    EXPECT_EQ(firstVisibleLine, 4);

    // A long line scrolls the view sideways to keep the caret in sight.
    useText("Name\r\n" + std::string(30, 'x') + "\r\n\r\n");
    caretAt(1, 0);
    EXPECT_EQ(press(CaretKey::End), DataViewRedraw::Full);
    EXPECT_EQ(dataViewScrollX, 300 - 100 / 8);
    EXPECT_EQ(press(CaretKey::Home), DataViewRedraw::Full);
    EXPECT_EQ(dataViewScrollX, 0);
}

TEST_F(DataViewCaretKeys, PagesMoveViewAndCaretTogether)
{
    caretAt(3, 2);
    press(CaretKey::PageDown);
    EXPECT_EQ(firstVisibleLine, 7);
    EXPECT_EQ(caretLine, 10);
    for (int i = 0; i < 10; ++i)
        press(CaretKey::PageDown);
    EXPECT_EQ(firstVisibleLine, 40 - 10 + 2);
    EXPECT_EQ(caretLine, 39);
    press(CaretKey::PageUp);
    EXPECT_EQ(firstVisibleLine, 25);
    EXPECT_EQ(caretLine, 32);
    for (int i = 0; i < 10; ++i)
        press(CaretKey::PageUp);
    EXPECT_EQ(firstVisibleLine, 0);
    EXPECT_EQ(caretLine, 1);   // never onto the first line by paging

    caretAt(0, 2);   // a caret on the first line stays there
    press(CaretKey::PageDown);
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(firstVisibleLine, 7);
}

TEST_F(DataViewCaretKeys, ControlKeysJumpToEntryEndsAndWords)
{
    caretAt(5, 3);
    EXPECT_EQ(press(CaretKey::End, false, true), DataViewRedraw::Full);
    EXPECT_EQ(caretLine, 39);
    EXPECT_EQ(caretColumn, 7);
    EXPECT_EQ(firstVisibleLine, 32);
    press(CaretKey::Home, false, true);
    EXPECT_EQ(caretLine, 0);
    EXPECT_EQ(caretColumn, 0);
    EXPECT_EQ(firstVisibleLine, 0);
    EXPECT_EQ(dataViewScrollX, 0);

    useText("Anna  Maria Berg\r\n\r\n");
    press(CaretKey::Right, false, true);
    EXPECT_EQ(caretColumn, 6);   // over the word and both blanks
    press(CaretKey::Right, false, true);
    EXPECT_EQ(caretColumn, 12);
    press(CaretKey::Right, false, true);
    EXPECT_EQ(caretColumn, 16);   // the line's end
    press(CaretKey::Left, false, true);
    EXPECT_EQ(caretColumn, 12);
    caretAt(0, 14);   // inside a word: to its start
    press(CaretKey::Left, false, true);
    EXPECT_EQ(caretColumn, 12);
    press(CaretKey::Left, false, true);
    EXPECT_EQ(caretColumn, 6);
    press(CaretKey::Left, false, true);
    EXPECT_EQ(caretColumn, 0);
}

TEST_F(DataViewCaretKeys, ShiftSelectsFromTheAnchor)
{
    caretAt(2, 1);
    EXPECT_EQ(press(CaretKey::Right, true), DataViewRedraw::Full);
    press(CaretKey::Right, true);
    EXPECT_TRUE(selectionActive);
    EXPECT_EQ(selAnchorLine, 2);
    EXPECT_EQ(selAnchorColumn, 1);
    EXPECT_EQ((std::vector<int32_t>{selStartLine, selStartColumn, selEndLine, selEndColumn}),
              (std::vector<int32_t>{2, 1, 2, 3}));
    EXPECT_NE(std::find(recorder.events.begin(), recorder.events.end(), "menu|" + std::to_string(IDM_COPY) + "|on"),
              recorder.events.end());

    press(CaretKey::Up, true);   // the caret now lies before the anchor
    EXPECT_EQ((std::vector<int32_t>{selStartLine, selStartColumn, selEndLine, selEndColumn}),
              (std::vector<int32_t>{1, 3, 2, 1}));
    press(CaretKey::Down, true);
    press(CaretKey::Left, true);
    press(CaretKey::Left, true);   // back on the anchor: empty, so cleared
    EXPECT_FALSE(selectionActive);
    EXPECT_EQ(selAnchorLine, -1);
    EXPECT_TRUE(copyTurnedOff(recorder));

    press(CaretKey::End, true);
    EXPECT_TRUE(selectionActive);
    recorder.events.clear();
    EXPECT_EQ(press(CaretKey::Left), DataViewRedraw::Full);   // a move without Shift drops it
    EXPECT_FALSE(selectionActive);
    EXPECT_TRUE(copyTurnedOff(recorder));
}

TEST_F(DataViewCaretKeys, DoubleClickSelectsAWord)
{
    useText("Name\r\nHello big world\r\nAnother line here\r\n\r\n");
    caretAt(1, 7);
    ASSERT_TRUE(selectWordAtCaret("Hello big world", false));
    EXPECT_TRUE(selectionActive);
    EXPECT_EQ((std::vector<int32_t>{selStartLine, selStartColumn, selEndLine, selEndColumn}),
              (std::vector<int32_t>{1, 6, 1, 9}));
    EXPECT_EQ(caretColumn, 6);
    EXPECT_EQ(selAnchorColumn, 6);

    // With Shift the selection grows from the anchor to the word.
    caretAt(2, 10);
    ASSERT_TRUE(selectWordAtCaret("Another line here", true));
    EXPECT_EQ((std::vector<int32_t>{selStartLine, selStartColumn, selEndLine, selEndColumn}),
              (std::vector<int32_t>{1, 6, 2, 12}));
    caretAt(1, 2);
    ASSERT_TRUE(selectWordAtCaret("Hello big world", true));
    EXPECT_EQ((std::vector<int32_t>{selStartLine, selStartColumn, selEndLine, selEndColumn}),
              (std::vector<int32_t>{1, 0, 1, 6}));

    clearDataViewSelection();
    caretAt(1, 5);   // a blank
    EXPECT_FALSE(selectWordAtCaret("Hello big world", false));
    caretAt(1, 15);   // the line's end
    EXPECT_FALSE(selectWordAtCaret("Hello big world", false));
    EXPECT_FALSE(selectionActive);
    caretAt(1, 0);
    ASSERT_TRUE(selectWordAtCaret("Hello big world", false));
    EXPECT_EQ(selEndColumn, 5);
}

}  // namespace

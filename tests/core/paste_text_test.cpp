#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/paste_text.h"
#include "find/sort.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/line_table.h"
#include "views/record_editor.h"
#include "views/view_state.h"

namespace {

using Strings = std::vector<std::string>;

// The caret keys a paste ends with, and whether the editor was told that
// they are its own.
int cursorKeyCalls = 0;
bool internalDuringKeys = false;
void recordCursorKeys()
{
    ++cursorKeyCalls;
    internalDuringKeys = cursorRightInternal;
}

class PasteText : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        discardSnapshot();
        cursorKeyCalls = 0;
        internalDuringKeys = false;
        pasteCursorKeys = recordCursorKeys;
    }
    void TearDown() override
    {
        pasteCursorKeys = [] {};
        discardSnapshot();
        StoreTest::TearDown();
    }

    // The Data view showing the first entry with the caret at (line, column).
    void caretAt(int32_t line, int32_t column)
    {
        currentEntryOffset = 0;
        lineTableOwner = -1;
        buildLineTable(1, 0, 0);
        caretLine = line;
        caretColumn = column;
        activeView = ActiveView::DataView;
    }
    // Lines of the first entry as the Data view lays them out.
    Strings lines()
    {
        buildLineTable(1, currentEntryOffset, 0);
        Strings shown;
        for (int32_t l = 0; l < lineCount; ++l) {
            char text[viewLineSize];
            lineText(l, text);
            shown.push_back(text);
        }
        return shown;
    }
};

TEST(PreparePasteText, EmptyLinesGetABlankAndControlBytesBecomeBlanks)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"A\r\n\r\nB", "A\r\n \r\nB"},
        {"A\r\n", "A\r\n "},
        {"A\r\nB", "A\r\nB"},
        {"\r\n\r\n\r\n", "\r\n \r\n \r\n "},
        {"a\tb\x0c" "c\x01", "a b c "},
        {"x\ry\nz", "x\ry\nz"},   // a lone CR or LF stays
        {"\xe4\xfc", "\xe4\xfc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(preparePasteText(c.in.data(), c.in.size()), c.out) << c.in;
}

TEST_F(PasteText, TwoLinesWithAnEmptyLineBetweenBecomeThreeLines)
{
    setStoreText("Name\r\nxy\r\n\r\nZoe\r\n\r\n");
    caretAt(1, 1);
    pasteText("A\r\n\r\nB");
    EXPECT_EQ(storeText(), "Name\r\nxA\r\n \r\nBy\r\n\r\nZoe\r\n\r\n");
    EXPECT_EQ(entryCount, 2);
    EXPECT_EQ(caretLine, 3);
    EXPECT_EQ(caretColumn, 1);
    EXPECT_TRUE(resortPending);
    EXPECT_EQ(lineTableOwner, -1);
    EXPECT_EQ(cursorKeyCalls, 1);
    EXPECT_TRUE(internalDuringKeys);
    EXPECT_FALSE(cursorRightInternal);
    EXPECT_EQ(recorder.eventsStartingWith("repaint|"), (Strings{"repaint|overview", "repaint|data"}));
}

TEST_F(PasteText, TextEndingWithALineEndAddsABlankLine)
{
    setStoreText("Name\r\nxy\r\n\r\n");
    caretAt(1, 2);
    pasteText("A\r\n");
    EXPECT_EQ(lines(), (Strings{"Name", "xyA", " "}));
    EXPECT_EQ(entryCount, 1);
}

TEST_F(PasteText, TabBecomesABlank)
{
    setStoreText("Name\r\n\r\n");
    caretAt(0, 4);
    pasteText("\tX");
    EXPECT_EQ(storeText(), "Name X\r\n\r\n");
    EXPECT_EQ(caretColumn, 6);
}

TEST_F(PasteText, LongLinesAreBrokenBeforeTheyReach255Characters)
{
    const std::string long300(300, 'q');
    setStoreText("");
    caretAt(0, 0);
    pasteText(long300.c_str());
    EXPECT_EQ(storeText(), std::string(254, 'q') + "\r\n" + std::string(46, 'q'));

    // What follows the caret on its line counts towards the limit.
    setStoreText("Name\r\nxy\r\n\r\n");
    caretAt(1, 1);
    pasteText(long300.c_str());
    EXPECT_EQ(lines(), (Strings{"Name", "x" + std::string(252, 'q'), std::string(48, 'q') + "y"}));
    EXPECT_EQ(caretLine, 2);
    EXPECT_EQ(caretColumn, 47);   // the byte that began the line is not counted
}

TEST_F(PasteText, BufferIsSizedToTheNewLengthFirst)
{
    setStoreText("Name\r\n\r\n");
    caretAt(0, 4);
    const std::string text(5000, 'a');
    pasteText((text + "\r\nEnd").c_str());
    // 19 line breaks of two bytes each are added to the 5005 bytes.
    EXPECT_EQ(usedBytes, 8 + 5005 + 2 * 19);
    EXPECT_EQ(bufferCapacity, usedBytes + 2000);
    EXPECT_EQ(entryCount, 1);
}

TEST_F(PasteText, NoTextRefreshesOnly)
{
    setStoreText("Name\r\n\r\n");
    caretAt(0, 2);
    pasteText(nullptr);
    pasteText("");
    EXPECT_EQ(storeText(), "Name\r\n\r\n");
    EXPECT_EQ(cursorKeyCalls, 2);
    EXPECT_EQ(recorder.eventsStartingWith("repaint|data").size(), 2u);
}

TEST_F(PasteText, UndoTogglesThePaste)
{
    setStoreText("Name\r\n\r\n");
    caretAt(0, 4);
    takeSnapshot();
    pasteText("\r\nStreet");
    EXPECT_EQ(storeText(), "Name\r\nStreet\r\n\r\n");
    undo();
    EXPECT_EQ(storeText(), "Name\r\n\r\n");
    EXPECT_EQ(caretColumn, 4);
    undo();
    EXPECT_EQ(storeText(), "Name\r\nStreet\r\n\r\n");
    EXPECT_EQ(caretLine, 1);
}

}  // namespace

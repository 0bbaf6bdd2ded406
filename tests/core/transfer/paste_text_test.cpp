#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "transfer/paste_text.h"
#include "find/sort.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/line_table.h"
#include "views/record_editor.h"
#include "views/view_state.h"

namespace {

using Strings = std::vector<std::string>;
using Ints = std::vector<int32_t>;

// The caret keys a paste ends with, and whether the editor knew they were its own.
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
        cursorKeyCalls = 0;
        internalDuringKeys = false;
        pasteCursorKeys = recordCursorKeys;
    }
    void TearDown() override
    {
        pasteCursorKeys = [] {};
        StoreTest::TearDown();
    }

    void caretAt(int32_t line, int32_t column)
    {
        currentEntryOffset = 0;
        lineTableOwner = -1;
        buildLineTable(1, 0, 0);
        caretLine = line;
        caretColumn = column;
        activeView = ActiveView::DataView;
    }
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
    const std::pair<std::string, std::string> cases[] = {
        {"A\r\n\r\nB", "A\r\n \r\nB"},
        {"A\r\n", "A\r\n "},
        {"\r\n\r\n\r\n", "\r\n \r\n \r\n "},
        {"a\tb\x0c" "c\x01", "a b c "},
        {"x\ry\nz", "x\ry\nz"},   // a lone CR or LF stays
        {"\xe4\xfc", "\xe4\xfc"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(preparePasteText(in.data(), in.size()), out) << in;
}

TEST_F(PasteText, LinesGoInAtTheCaret)
{
    setStoreText("Name\r\nxy\r\n\r\nZoe\r\n\r\n");
    caretAt(1, 1);
    pasteText("A\r\n\r\nB");
    EXPECT_EQ(storeText(), "Name\r\nxA\r\n \r\nBy\r\n\r\nZoe\r\n\r\n");
    EXPECT_EQ(entryCount, 2);
    EXPECT_EQ((std::vector<int32_t>{caretLine, caretColumn}), (std::vector<int32_t>{3, 1}));
    EXPECT_TRUE(resortPending);
    EXPECT_EQ(cursorKeyCalls, 1);
    EXPECT_TRUE(internalDuringKeys);
    EXPECT_FALSE(cursorRightInternal);
    EXPECT_EQ(recorder.eventsStartingWith("repaint|"), (Strings{"repaint|overview", "repaint|data"}));

    setStoreText("Name\r\n\r\n");
    caretAt(7, 2);   // a line the entry does not have: the heading
    pasteText("X");
    EXPECT_EQ(storeText(), "NaXme\r\n\r\n");

    setStoreText("Name\r\n\r\n");
    caretAt(0, 4);
    takeSnapshot();
    pasteText("\tX");
    EXPECT_EQ(storeText(), "Name X\r\n\r\n");
    EXPECT_EQ(caretColumn, 6);
    undo();   // undo toggles the paste
    EXPECT_EQ(storeText(), "Name\r\n\r\n");
    EXPECT_EQ(caretColumn, 4);
    undo();
    EXPECT_EQ(caretColumn, 6);
    cursorKeyCalls = 0;
    pasteText(nullptr);
    pasteText("");
    EXPECT_EQ(storeText(), "Name X\r\n\r\n");
    EXPECT_EQ(cursorKeyCalls, 2);
}

// No caret position lets pasted text leave an empty line, which would end
// the entry, nor a placeholder blank glued to text.
TEST_F(PasteText, EntriesKeepTheirShapeWhereverTheCaretStands)
{
    const std::string line254(254, 'w');
    const struct {
        const char* name;
        std::string text;
        int32_t line, column;
        const char* pasted;
        std::string pastedText;
        Ints caretAfter;
    } cases[] = {
        {"line end at the end of a line", "Name\r\nxy\r\n\r\n", 1, 2, "A\r\n", "Name\r\nxyA\r\n \r\n\r\n", {2, 1}},
        {"line end inside a line", "Name\r\nxy\r\n\r\n", 1, 1, "A\r\n", "Name\r\nxA\r\ny\r\n\r\n", {2, 0}},
        {"leading line end at column 0", "Name\r\nTown\r\n\r\n", 1, 0, "\r\nX", "Name\r\n \r\nXTown\r\n\r\n", {2, 1}},
        {"line end alone before the heading", "Name\r\n\r\nZoe\r\n\r\n", 0, 0, "\r\n", " \r\nName\r\n\r\nZoe\r\n\r\n", {1, 0}},
        {"into the blank of a new file", " \r\n\r\n", 0, 0, "Nora Neumann", "Nora Neumann\r\n\r\n", {0, 12}},
        {"line end into a blank line", "Name\r\n \r\n\r\n", 1, 0, "\r\n", "Name\r\n \r\n \r\n\r\n", {2, 1}},
        {"behind a blank", "Name\r\n \r\n\r\n", 1, 1, "x", "Name\r\n x\r\n\r\n", {1, 2}},
        {"full line at column 0", "Name\r\n" + line254 + "\r\n\r\n", 1, 0, "ab", "Name\r\na\r\nb" + line254 + "\r\n\r\n", {2, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setStoreText(c.text);
        const int32_t entries = entryCount;
        caretAt(c.line, c.column);
        pasteText(c.pasted);
        EXPECT_EQ(storeText(), c.pastedText);
        EXPECT_EQ(entryCount, entries);
        EXPECT_EQ((Ints{caretLine, caretColumn}), c.caretAfter);
    }
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

    setStoreText("Name\r\n\r\n");
    caretAt(0, 4);
    pasteText((std::string(5000, 'a') + "\r\nEnd").c_str());
    EXPECT_EQ(usedBytes, 8 + 5005 + 2 * 19);   // 19 line breaks added
    EXPECT_EQ(bufferCapacity, usedBytes + 2000);
}

}  // namespace

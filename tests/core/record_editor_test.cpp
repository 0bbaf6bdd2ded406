#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "find/sort.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/data_view_rules.h"
#include "views/line_table.h"
#include "views/record_editor.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

namespace {

constexpr int32_t deleteCode = 1, backspaceCode = 2, enterCode = 3;

const std::string tooLong = "error|ORDANE-Lumo:|Line would be longer than 255 characters!";
const std::string reallyDelete = "ask|ORDANE-Lumo:|Really delete this entry?";

class RecordEditor : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        activeView = ActiveView::DataView;
        dataViewRowCount = 20;
        typeAheadLength = 0;
    }

    void TearDown() override
    {
        discardSnapshot();
        StoreTest::TearDown();
    }

    // The store holds text, the Data view shows entry number entry with
    // the caret at line, column; nothing changed yet.
    void start(const std::string& text, int32_t line, int32_t column, int32_t entry = 0)
    {
        setStoreText(text);
        resetViewState();
        cursorRow = entry;
        currentEntryOffset = entryIndex[entry];
        buildLineTable(dataViewRowCount + 1, currentEntryOffset, 0);   // as the last paint left it
        caretLine = line;
        caretColumn = column;
        dataModified = false;
        resortPending = false;
        recorder.events.clear();
    }

    int32_t type(const std::string& characters)
    {
        int32_t result = 0;
        for (unsigned char c : characters)
            result = editEntry(c);
        return result;
    }

    void expectCaret(int32_t line, int32_t column)
    {
        EXPECT_EQ(caretLine, line);
        EXPECT_EQ(caretColumn, column);
    }

    bool saw(const std::string& event) const
    {
        for (const auto& e : recorder.events)
            if (e == event)
                return true;
        return false;
    }

    // Nothing changed and the user was told why.
    void expectRefused(int32_t result, const std::string& unchanged)
    {
        EXPECT_EQ(result, -1);
        EXPECT_EQ(storeText(), unchanged);
        EXPECT_FALSE(dataModified);
        ASSERT_GE(recorder.events.size(), 2u);
        EXPECT_EQ(recorder.events[0], "beep");
        EXPECT_EQ(recorder.events[1], tooLong);
    }
};

// ---- Typing ----

TEST_F(RecordEditor, TypingInsertsAtTheCaretAndMovesItRight)
{
    start("Name\r\nAbc\r\n\r\nNext\r\n\r\n", 1, 1);
    EXPECT_EQ(type("xy"), 0);
    EXPECT_EQ(storeText(), "Name\r\nAxybc\r\n\r\nNext\r\n\r\n");
    expectCaret(1, 3);
    EXPECT_TRUE(dataModified);
    EXPECT_EQ(entryCount, 2);
    EXPECT_EQ(entryIndex[1], 15);
    EXPECT_FALSE(resortPending);
    EXPECT_FALSE(saw("repaint|overview"));

    // At the end of the line, and into the heading.
    caretColumn = 5;
    type("!");
    EXPECT_EQ(storeText(), "Name\r\nAxybc!\r\n\r\nNext\r\n\r\n");
    caretLine = 0;
    caretColumn = 0;
    type("A");
    EXPECT_EQ(storeText(), "AName\r\nAxybc!\r\n\r\nNext\r\n\r\n");
    EXPECT_TRUE(resortPending);
    EXPECT_TRUE(saw("repaint|overview"));
}

TEST_F(RecordEditor, ALineTakes255CharactersAndNoMore)
{
    const std::string text = "Name\r\n" + std::string(254, 'a') + "\r\n\r\n";
    start(text, 1, 254);
    EXPECT_EQ(type("b"), 0);
    EXPECT_EQ(storeText(), "Name\r\n" + std::string(254, 'a') + "b\r\n\r\n");
    expectCaret(1, 255);

    dataModified = false;
    recorder.events.clear();
    const std::string full = storeText();
    expectRefused(type("c"), full);
    // Anywhere in the full line, not only at its end.
    recorder.events.clear();
    caretColumn = 3;
    expectRefused(type("c"), full);
    expectCaret(1, 3);
}

TEST_F(RecordEditor, TypingAtColumnZeroOfABlankLineReplacesTheBlank)
{
    start("Name\r\n \r\nTown\r\n\r\n", 1, 0);
    type("Ab");
    EXPECT_EQ(storeText(), "Name\r\nAb\r\nTown\r\n\r\n");
    expectCaret(1, 2);

    // Behind the blank it is an ordinary character.
    start("Name\r\n \r\n\r\n", 1, 1);
    type("x");
    EXPECT_EQ(storeText(), "Name\r\n x\r\n\r\n");
}

// ---- Enter ----

TEST_F(RecordEditor, EnterInsideALineSplitsIt)
{
    start("Name\r\nAbcd\r\n\r\n", 1, 2);
    EXPECT_EQ(editEntry(enterCode), 0);
    EXPECT_EQ(storeText(), "Name\r\nAb\r\ncd\r\n\r\n");
    expectCaret(2, 0);
    EXPECT_FALSE(resortPending);
    EXPECT_TRUE(dataModified);
}

TEST_F(RecordEditor, EnterAtTheEndOfALineOpensABlankLineThatTypingFills)
{
    start("Name\r\nAbcd\r\nTown\r\n\r\n", 1, 4);
    editEntry(enterCode);
    EXPECT_EQ(storeText(), "Name\r\nAbcd\r\n \r\nTown\r\n\r\n");
    expectCaret(2, 0);
    type("xy");
    EXPECT_EQ(storeText(), "Name\r\nAbcd\r\nxy\r\nTown\r\n\r\n");
    EXPECT_EQ(entryCount, 1);
}

TEST_F(RecordEditor, EnterAtColumnZeroOfTheHeadingPutsABlankHeadingAbove)
{
    start("Name\r\nStreet\r\n\r\n", 0, 0);
    editEntry(enterCode);
    EXPECT_EQ(storeText(), " \r\nName\r\nStreet\r\n\r\n");
    expectCaret(1, 0);
    EXPECT_EQ(storeHeadings(), std::vector<std::string>{" "});
    EXPECT_TRUE(resortPending);
    EXPECT_TRUE(saw("repaint|overview"));
}

// ---- Delete ----

TEST_F(RecordEditor, DeleteRemovesTheCharacterAndNeverLeavesAnEmptyLine)
{
    start("Name\r\nAbc\r\nx\r\n\r\n", 1, 1);
    EXPECT_EQ(editEntry(deleteCode), 0);
    EXPECT_EQ(storeText(), "Name\r\nAc\r\nx\r\n\r\n");
    expectCaret(1, 1);
    EXPECT_FALSE(resortPending);

    caretLine = 2;
    caretColumn = 0;
    editEntry(deleteCode);
    EXPECT_EQ(storeText(), "Name\r\nAc\r\n \r\n\r\n");
    expectCaret(2, 0);
}

TEST_F(RecordEditor, DeleteAtTheEndOfALineJoinsTheNextOne)
{
    start("Name\r\nAb\r\ncd\r\n \r\nTown\r\n\r\n", 1, 2);
    editEntry(deleteCode);
    EXPECT_EQ(storeText(), "Name\r\nAbcd\r\n \r\nTown\r\n\r\n");
    expectCaret(1, 2);
    // A blank line joined goes with its blank.
    caretColumn = 4;
    editEntry(deleteCode);
    EXPECT_EQ(storeText(), "Name\r\nAbcd\r\nTown\r\n\r\n");
    // At the end of the last line nothing happens.
    caretLine = 2;
    caretColumn = 4;
    dataModified = false;
    editEntry(deleteCode);
    EXPECT_EQ(storeText(), "Name\r\nAbcd\r\nTown\r\n\r\n");
    EXPECT_FALSE(dataModified);
}

TEST_F(RecordEditor, DeleteRefusesAJoinLongerThan255)
{
    const std::string a(200, 'a');
    start("Name\r\n" + a + "\r\n" + std::string(56, 'b') + "\r\n\r\n", 1, 200);
    expectRefused(editEntry(deleteCode), "Name\r\n" + a + "\r\n" + std::string(56, 'b') + "\r\n\r\n");

    start("Name\r\n" + a + "\r\n" + std::string(55, 'b') + "\r\n\r\n", 1, 200);
    EXPECT_EQ(editEntry(deleteCode), 0);
    EXPECT_EQ(storeText(), "Name\r\n" + a + std::string(55, 'b') + "\r\n\r\n");
}

TEST_F(RecordEditor, DeleteOnABlankLineRemovesIt)
{
    start("Name\r\n \r\nTown\r\n\r\n", 1, 0);
    editEntry(deleteCode);
    EXPECT_EQ(storeText(), "Name\r\nTown\r\n\r\n");
    expectCaret(1, 0);
    EXPECT_FALSE(saw(reallyDelete));

    // The last line: the caret goes to the end of the line above.
    start("Name\r\nTown\r\n \r\n\r\n", 2, 0);
    editEntry(deleteCode);
    EXPECT_EQ(storeText(), "Name\r\nTown\r\n\r\n");
    expectCaret(1, 4);
}

// ---- Backspace ----

TEST_F(RecordEditor, BackspaceRemovesTheCharacterBeforeTheCaret)
{
    start("Name\r\nAbc\r\nx\r\n\r\n", 1, 2);
    EXPECT_EQ(editEntry(backspaceCode), 0);
    EXPECT_EQ(storeText(), "Name\r\nAc\r\nx\r\n\r\n");
    expectCaret(1, 1);

    // The only character of a line leaves a blank behind; a second
    // Backspace only moves the caret in front of it.
    caretLine = 2;
    caretColumn = 1;
    editEntry(backspaceCode);
    EXPECT_EQ(storeText(), "Name\r\nAc\r\n \r\n\r\n");
    expectCaret(2, 0);
    caretColumn = 1;
    dataModified = false;
    editEntry(backspaceCode);
    EXPECT_EQ(storeText(), "Name\r\nAc\r\n \r\n\r\n");
    expectCaret(2, 0);
    EXPECT_FALSE(dataModified);
}

TEST_F(RecordEditor, BackspaceAtColumnZeroJoinsTheLineAbove)
{
    start("Name\r\nAb\r\ncd\r\n\r\n", 2, 0);
    editEntry(backspaceCode);
    EXPECT_EQ(storeText(), "Name\r\nAbcd\r\n\r\n");
    expectCaret(1, 2);
    EXPECT_FALSE(resortPending);

    // Into the heading.
    start("Name\r\nAb\r\n\r\n", 1, 0);
    editEntry(backspaceCode);
    EXPECT_EQ(storeText(), "NameAb\r\n\r\n");
    expectCaret(0, 4);
    EXPECT_TRUE(resortPending);

    // Not in front of the heading.
    start("Name\r\nAb\r\n\r\n", 0, 0);
    editEntry(backspaceCode);
    EXPECT_EQ(storeText(), "Name\r\nAb\r\n\r\n");
    EXPECT_FALSE(dataModified);
}

TEST_F(RecordEditor, BackspaceRefusesAJoinLongerThan255)
{
    const std::string text = "Name\r\n" + std::string(100, 'a') + "\r\n" + std::string(156, 'b') + "\r\n\r\n";
    start(text, 2, 0);
    expectRefused(editEntry(backspaceCode), text);
    expectCaret(2, 0);
}

TEST_F(RecordEditor, BackspaceOnABlankLineRemovesItAndGoesToTheLineAbove)
{
    start("Name\r\nTown\r\n \r\nZip\r\n\r\n", 2, 0);
    editEntry(backspaceCode);
    EXPECT_EQ(storeText(), "Name\r\nTown\r\nZip\r\n\r\n");
    expectCaret(1, 4);
}

// ---- Entries that lose their only line ----

TEST_F(RecordEditor, TheOnlyBlankLineOfAnEntryGoesOnlyWhenTheUserSaysYes)
{
    const std::string text = "Anna\r\n\r\n \r\n\r\nZoe\r\n\r\n";
    for (int32_t code : {deleteCode, backspaceCode}) {
        start(text, 0, 0, 1);
        recorder.answers = {false};
        editEntry(code);
        EXPECT_EQ(recorder.events, std::vector<std::string>{reallyDelete});
        EXPECT_EQ(storeText(), text);
        EXPECT_FALSE(dataModified);

        start(text, 0, 0, 1);
        recorder.answers = {true};
        editEntry(code);
        EXPECT_TRUE(saw(reallyDelete));
        EXPECT_EQ(storeText(), "Anna\r\n\r\nZoe\r\n\r\n");
        EXPECT_EQ(entryCount, 2);
        EXPECT_EQ(currentEntryOffset, 8);   // the next entry is shown
        expectCaret(0, 0);
        EXPECT_TRUE(dataModified);
    }
}

TEST_F(RecordEditor, DeletingTheLastEntryShowsTheOneBeforeIt)
{
    start("Anna\r\n\r\n \r\n\r\n", 0, 0, 1);
    recorder.answers = {true};
    editEntry(deleteCode);
    EXPECT_EQ(storeText(), "Anna\r\n\r\n");
    EXPECT_EQ(currentEntry(), 0);
    EXPECT_EQ(currentEntryOffset, 0);
}

TEST_F(RecordEditor, DeletingTheOnlyEntryLeavesOneBlankEntryAndNoUndo)
{
    start(" \r\n\r\n", 0, 0);
    takeSnapshot();
    recorder.answers = {true};
    editEntry(backspaceCode);
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(entryCount, 1);
    EXPECT_FALSE(snapshotValid);
    expectCaret(0, 0);
    EXPECT_EQ(currentEntryOffset, 0);
}

// ---- Undo ----

struct UndoCase {
    const char* name;
    int32_t line, column;
    int32_t code;
    const char* edited;
};

TEST_F(RecordEditor, UndoTogglesBetweenTheTextBeforeAndAfterEveryKindOfEdit)
{
    const std::string original = "Name\r\nAb\r\ncd\r\n \r\n\r\nNext\r\n\r\n";
    const UndoCase cases[] = {
        {"typed character", 1, 1, 'x', "Name\r\nAxb\r\ncd\r\n \r\n\r\nNext\r\n\r\n"},
        {"typed into heading", 0, 4, 'x', "Namex\r\nAb\r\ncd\r\n \r\n\r\nNext\r\n\r\n"},
        {"enter", 1, 1, enterCode, "Name\r\nA\r\nb\r\ncd\r\n \r\n\r\nNext\r\n\r\n"},
        {"delete", 1, 0, deleteCode, "Name\r\nb\r\ncd\r\n \r\n\r\nNext\r\n\r\n"},
        {"delete joins", 1, 2, deleteCode, "Name\r\nAbcd\r\n \r\n\r\nNext\r\n\r\n"},
        {"delete blank line", 3, 0, deleteCode, "Name\r\nAb\r\ncd\r\n\r\nNext\r\n\r\n"},
        {"backspace", 1, 2, backspaceCode, "Name\r\nA\r\ncd\r\n \r\n\r\nNext\r\n\r\n"},
        {"backspace joins", 2, 0, backspaceCode, "Name\r\nAbcd\r\n \r\n\r\nNext\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        start(original, c.line, c.column);
        takeSnapshot();
        editEntry(c.code);
        ASSERT_EQ(storeText(), c.edited);
        const int32_t editedLine = caretLine, editedColumn = caretColumn;
        undo();
        EXPECT_EQ(storeText(), original);
        EXPECT_EQ(entryCount, 2);
        expectCaret(c.line, c.column);
        undo();
        EXPECT_EQ(storeText(), c.edited);
        expectCaret(editedLine, editedColumn);
    }

    // The entry that went after a Yes comes back.
    start("Anna\r\n\r\n \r\n\r\nZoe\r\n\r\n", 0, 0, 1);
    takeSnapshot();
    recorder.answers = {true};
    editEntry(deleteCode);
    undo();
    EXPECT_EQ(storeText(), "Anna\r\n\r\n \r\n\r\nZoe\r\n\r\n");
    undo();
    EXPECT_EQ(storeText(), "Anna\r\n\r\nZoe\r\n\r\n");
}

// ---- Codes outside the Data view ----

TEST_F(RecordEditor, WithTheOverviewActiveCharactersDriveTheTypeAhead)
{
    start("Anna\r\n\r\nZoe\r\n\r\n", 0, 0);
    activeView = ActiveView::Overview;
    type("Zo");
    EXPECT_EQ(typeAheadLength, 2);
    EXPECT_EQ(currentEntry(), 1);
    editEntry(backspaceCode);
    EXPECT_EQ(typeAheadLength, 1);
    editEntry(4);
    EXPECT_EQ(typeAheadLength, 0);
    // Without a type-ahead the Overview's own key handler deletes entries.
    EXPECT_EQ(editEntry(deleteCode), 0);
    EXPECT_EQ(storeText(), "Anna\r\n\r\nZoe\r\n\r\n");
    EXPECT_FALSE(dataModified);

    // Code 4 and control characters do nothing in the Data view.
    activeView = ActiveView::DataView;
    editEntry(4);
    editEntry(9);
    EXPECT_EQ(storeText(), "Anna\r\n\r\nZoe\r\n\r\n");
}

}  // namespace

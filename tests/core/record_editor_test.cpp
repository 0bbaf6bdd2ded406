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

using Ints = std::vector<int32_t>;

constexpr int32_t deleteCode = 1, backspaceCode = 2, enterCode = 3;

const std::string tooLong = "error|ORDANE-Lumo:|Line would be longer than 255 characters!";
const std::string reallyDelete = "ask|ORDANE-Lumo:|Really delete this entry?";

Ints caret() { return {caretLine, caretColumn}; }

class RecordEditor : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        activeView = ActiveView::DataView;
        dataViewRowCount = 20;
        typeAheadLength = 0;
    }

    // The Data view shows the given entry with the caret at line, column; nothing changed yet.
    void start(const std::string& text, int32_t line, int32_t column, int32_t entry = 0)
    {
        setStoreText(text);
        resetViewState();
        cursorRow = entry;
        currentEntryOffset = entryIndex[entry];
        buildLineTable(dataViewRowCount + 1, currentEntryOffset, 0);
        caretLine = line;
        caretColumn = column;
        dataModified = resortPending = false;
        recorder.events.clear();
    }
    bool saw(const std::string& event) const
    {
        return !recorder.eventsStartingWith(event).empty();
    }
    void expectRefused(int32_t result, const std::string& unchanged)
    {
        EXPECT_EQ(result, -1);
        EXPECT_EQ(storeText(), unchanged);
        EXPECT_FALSE(dataModified);
        EXPECT_EQ(recorder.events, (std::vector<std::string>{"beep", tooLong}));
    }
};

TEST_F(RecordEditor, EditsChangeTheTextAndMoveTheCaret)
{
    struct Case {
        const char* name;
        std::string text;
        int32_t line, column, code;
        std::string edited;
        Ints caretAfter;
        bool resorted;
    } cases[] = {
        {"type", "Name\r\nAbc\r\n\r\nNext\r\n\r\n", 1, 1, 'x', "Name\r\nAxbc\r\n\r\nNext\r\n\r\n", {1, 2}, false},
        {"type into heading", "Name\r\nAbc\r\n\r\n", 0, 0, 'A', "AName\r\nAbc\r\n\r\n", {0, 1}, true},
        {"type on blank at column 0", "Name\r\n \r\nTown\r\n\r\n", 1, 0, 'A', "Name\r\nA\r\nTown\r\n\r\n", {1, 1}, false},
        {"type behind a blank", "Name\r\n \r\n\r\n", 1, 1, 'x', "Name\r\n x\r\n\r\n", {1, 2}, false},
        {"enter splits", "Name\r\nAbcd\r\n\r\n", 1, 2, enterCode, "Name\r\nAb\r\ncd\r\n\r\n", {2, 0}, false},
        {"enter at end", "Name\r\nAbcd\r\nTown\r\n\r\n", 1, 4, enterCode, "Name\r\nAbcd\r\n \r\nTown\r\n\r\n", {2, 0}, false},
        {"enter before heading", "Name\r\nStreet\r\n\r\n", 0, 0, enterCode, " \r\nName\r\nStreet\r\n\r\n", {1, 0}, true},
        {"delete", "Name\r\nAbc\r\n\r\n", 1, 1, deleteCode, "Name\r\nAc\r\n\r\n", {1, 1}, false},
        {"delete only character", "Name\r\nx\r\n\r\n", 1, 0, deleteCode, "Name\r\n \r\n\r\n", {1, 0}, false},
        {"delete joins", "Name\r\nAb\r\ncd\r\n\r\n", 1, 2, deleteCode, "Name\r\nAbcd\r\n\r\n", {1, 2}, false},
        {"delete joins a blank line", "Name\r\nAb\r\n \r\nT\r\n\r\n", 1, 2, deleteCode, "Name\r\nAb\r\nT\r\n\r\n", {1, 2}, false},
        {"delete joins behind a blank line", "Name\r\n \r\nTown\r\n\r\n", 1, 1, deleteCode, "Name\r\nTown\r\n\r\n", {1, 0}, false},
        {"delete before a blank", "Name\r\n x\r\n\r\n", 1, 0, deleteCode, "Name\r\nx\r\n\r\n", {1, 0}, false},
        {"delete at end of last line", "Name\r\nAb\r\n\r\n", 1, 2, deleteCode, "Name\r\nAb\r\n\r\n", {1, 2}, false},
        {"delete blank line", "Name\r\n \r\nTown\r\n\r\n", 1, 0, deleteCode, "Name\r\nTown\r\n\r\n", {1, 0}, false},
        {"delete blank last line", "Name\r\nTown\r\n \r\n\r\n", 2, 0, deleteCode, "Name\r\nTown\r\n\r\n", {1, 4}, false},
        {"backspace", "Name\r\nAbc\r\n\r\n", 1, 2, backspaceCode, "Name\r\nAc\r\n\r\n", {1, 1}, false},
        {"backspace only character", "Name\r\nx\r\n\r\n", 1, 1, backspaceCode, "Name\r\n \r\n\r\n", {1, 0}, false},
        {"backspace behind a blank", "Name\r\n \r\n\r\n", 1, 1, backspaceCode, "Name\r\n \r\n\r\n", {1, 0}, false},
        {"backspace joins", "Name\r\nAb\r\ncd\r\n\r\n", 2, 0, backspaceCode, "Name\r\nAbcd\r\n\r\n", {1, 2}, false},
        {"backspace joins a blank heading", " \r\nTown\r\n\r\n", 1, 0, backspaceCode, "Town\r\n\r\n", {0, 0}, true},
        {"backspace into heading", "Name\r\nAb\r\n\r\n", 1, 0, backspaceCode, "NameAb\r\n\r\n", {0, 4}, true},
        {"backspace before heading", "Name\r\nAb\r\n\r\n", 0, 0, backspaceCode, "Name\r\nAb\r\n\r\n", {0, 0}, false},
        {"backspace blank line", "Name\r\nTown\r\n \r\nZip\r\n\r\n", 2, 0, backspaceCode, "Name\r\nTown\r\nZip\r\n\r\n", {1, 4}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.text, c.line, c.column);
        EXPECT_EQ(editEntry(c.code), 0);
        EXPECT_EQ(storeText(), c.edited);
        EXPECT_EQ(caret(), c.caretAfter);
        EXPECT_EQ(dataModified, c.edited != c.text);
        EXPECT_EQ(resortPending, c.resorted);
        EXPECT_EQ(saw("repaint|overview"), c.resorted);
        EXPECT_FALSE(saw(reallyDelete));
    }
    start("Name\r\nAbc\r\n\r\nNext\r\n\r\n", 1, 1);
    editEntry('x');
    EXPECT_EQ(entryIndex[1], 14);
}

TEST_F(RecordEditor, LinesTake255CharactersAndNoMore)
{
    const std::string line254 = "Name\r\n" + std::string(254, 'a') + "\r\n\r\n";
    start(line254, 1, 254);
    EXPECT_EQ(editEntry('b'), 0);
    EXPECT_EQ(caret(), (Ints{1, 255}));
    const std::string full = storeText();
    start(full, 1, 3);   // anywhere in the full line, not only at its end
    expectRefused(editEntry('c'), full);
    EXPECT_EQ(caret(), (Ints{1, 3}));

    const std::string a(200, 'a');
    const std::string join256 = "Name\r\n" + a + "\r\n" + std::string(56, 'b') + "\r\n\r\n";
    start(join256, 1, 200);
    expectRefused(editEntry(deleteCode), join256);
    start(join256, 2, 0);
    expectRefused(editEntry(backspaceCode), join256);
    const std::string join255 = "Name\r\n" + a + "\r\n" + std::string(55, 'b') + "\r\n\r\n";
    for (const Ints& at : {Ints{1, 200, deleteCode}, Ints{2, 0, backspaceCode}}) {
        start(join255, at[0], at[1]);
        EXPECT_EQ(editEntry(at[2]), 0);
        EXPECT_EQ(storeText(), "Name\r\n" + a + std::string(55, 'b') + "\r\n\r\n");
        EXPECT_EQ(caret(), (Ints{1, 200}));
    }
}

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
        EXPECT_EQ(storeText(), "Anna\r\n\r\nZoe\r\n\r\n");
        EXPECT_EQ(currentEntryOffset, 8);   // the next entry is shown
        EXPECT_EQ(caret(), (Ints{0, 0}));
        EXPECT_TRUE(dataModified);
    }

    // The last entry: the one before it is shown.
    start("Anna\r\n\r\n \r\n\r\n", 0, 0, 1);
    recorder.answers = {true};
    editEntry(deleteCode);
    EXPECT_EQ(storeText(), "Anna\r\n\r\n");
    EXPECT_EQ(currentEntryOffset, 0);

    // The only entry: one blank entry stays, and nothing to undo.
    start(" \r\n\r\n", 0, 0);
    takeSnapshot();
    recorder.answers = {true};
    editEntry(backspaceCode);
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(entryCount, 1);
    EXPECT_FALSE(snapshotValid);
}

TEST_F(RecordEditor, UndoTogglesBetweenTheTextBeforeAndAfterEveryKindOfEdit)
{
    const std::string original = "Name\r\nAb\r\ncd\r\n \r\n\r\nNext\r\n\r\n";
    const struct {
        int32_t line, column, code;
    } cases[] = {
        {1, 1, 'x'}, {0, 4, 'x'}, {1, 1, enterCode}, {1, 0, deleteCode}, {1, 2, deleteCode},
        {3, 0, deleteCode}, {1, 2, backspaceCode}, {2, 0, backspaceCode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        start(original, c.line, c.column);
        takeSnapshot();
        editEntry(c.code);
        const std::string edited = storeText();
        ASSERT_NE(edited, original);
        const Ints editedCaret = caret();
        undo();
        EXPECT_EQ(storeText(), original);
        EXPECT_EQ(caret(), (Ints{c.line, c.column}));
        undo();
        EXPECT_EQ(storeText(), edited);
        EXPECT_EQ(caret(), editedCaret);
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

TEST_F(RecordEditor, WithTheOverviewActiveCharactersDriveTheTypeAhead)
{
    start("Anna\r\n\r\nZoe\r\n\r\n", 0, 0);
    activeView = ActiveView::Overview;
    editEntry('Z');
    editEntry('o');
    EXPECT_EQ(currentEntry(), 1);
    editEntry(backspaceCode);
    EXPECT_EQ(typeAheadLength, 1);
    editEntry(4);
    EXPECT_EQ(typeAheadLength, 0);
    EXPECT_EQ(editEntry(deleteCode), 0);   // the Overview's own key handler deletes entries
    EXPECT_FALSE(dataModified);

    activeView = ActiveView::DataView;   // code 4 and control characters do nothing here
    editEntry(4);
    editEntry(9);
    EXPECT_EQ(storeText(), "Anna\r\n\r\nZoe\r\n\r\n");
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialogs/predefinitions.h"
#include "files/config.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/data_view_rules.h"
#include "views/line_table.h"
#include "views/view_state.h"

namespace {

class PreDefinitions : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        lastChosenFile[0] = 0;
        dataViewRowCount = 20;
    }

    // The Data view active on the first entry of text, the caret at line, column.
    void caretAt(const std::string& text, int32_t line, int32_t column)
    {
        setStoreText(text);
        resetViewState();
        currentEntryOffset = 0;
        buildLineTable(dataViewRowCount + 1, 0, 0);
        caretLine = line;
        caretColumn = column;
        activeView = ActiveView::DataView;
        recorder.events.clear();
    }
};

TEST_F(PreDefinitions, OverviewKeepsTheKeysFromTyping)
{
    caretAt("Miller\r\nMain Street\r\n\r\n", 1, 4);
    activeView = ActiveView::Overview;
    typePreDefinition(1);
    typePreDefinition(fileSelectorNumber);
    EXPECT_EQ(storeText(), "Miller\r\nMain Street\r\n\r\n");
    EXPECT_FALSE(snapshotValid);
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(PreDefinitions, TypingStopsAtTheFirstCharacterTheEditorRefuses)
{
    const std::string line(250, 'a');
    caretAt("Miller\r\n" + line + "\r\n\r\n", 1, 250);
    typePreDefinition(1);   // "PhoneNumber: "
    EXPECT_EQ(storeText(), "Miller\r\n" + line + "Phone\r\n\r\n");
    EXPECT_EQ(recorder.eventsStartingWith("error").size(), 1u) << "the refusal must be reported once";
}

TEST_F(PreDefinitions, FileSelectorTypesThePathQuotedAndOpensAtTheLastChoiceNextTime)
{
    caretAt("Miller\r\nDoc: \r\n\r\n", 1, 5);
    recorder.chosenFiles = {"C:\\My Files\\it's.txt", "", "D:\\ADR\\HOME.ADR"};
    typePreDefinition(fileSelectorNumber);
    EXPECT_EQ(storeText(), "Miller\r\nDoc: \"'C:\\My Files\\it''s.txt'\"\r\n\r\n");
    EXPECT_EQ(recorder.eventsStartingWith("file|"), std::vector<std::string>{"file|any|C:\\WORK\\*.*"});

    caretAt("Miller\r\nDoc: \r\n\r\n", 1, 5);
    typePreDefinition(fileSelectorNumber);   // cancelled: nothing typed
    EXPECT_EQ(storeText(), "Miller\r\nDoc: \r\n\r\n");
    typePreDefinition(fileSelectorNumber);
    EXPECT_EQ(storeText(), "Miller\r\nDoc: \"D:\\ADR\\HOME.ADR\"\r\n\r\n");
    EXPECT_EQ(recorder.eventsStartingWith("file|"),
              (std::vector<std::string>{"file|any|C:\\My Files\\it's.txt", "file|any|C:\\My Files\\it's.txt"}));
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "files/config.h"
#include "files/file_commands.h"
#include "files/safe_write.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "sync/sync_result.h"

namespace {

using Strings = std::vector<std::string>;

class SyncResult : public StoreTest {
protected:
    std::string book;
    std::string stateFile;

    void SetUp() override
    {
        StoreTest::SetUp();
        saveLocked = false;
        discardSnapshot();
        dropHeldSyncState();
        book = tempPath("HOME.ADR");
        stateFile = book + ".sync";
        std::strcpy(currentFilePath, book.c_str());
        setStoreText("Anna\r\n\r\n");
        writeFileBytes(stateFile, "state 1");
    }

    void TearDown() override
    {
        setWriteFaultAfter(-1);
        dropHeldSyncState();
        StoreTest::TearDown();
    }
};

// The state a sync brings reaches the disk only with the book it belongs
// to; Undo takes it back with the text, and a second Undo brings both again.
TEST_F(SyncResult, StateIsHeldUntilTheBookIsSavedAndFollowsUndo)
{
    ASSERT_TRUE(takeSyncResult("Zoe\r\n\r\nAnna\r\n\r\n", "state 2"));
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Zoe"}));
    EXPECT_TRUE(dataModified);
    EXPECT_EQ(readFileBytes(stateFile), "state 1");
    EXPECT_EQ(currentSyncState(book.c_str()), "state 2");

    undo();
    EXPECT_EQ(storeHeadings(), Strings{"Anna"});
    EXPECT_EQ(currentSyncState(book.c_str()), "state 1");
    undo();
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Zoe"}));
    EXPECT_EQ(currentSyncState(book.c_str()), "state 2");

    // The save of the undone sync leaves the old state.
    undo();
    ASSERT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_EQ(readFileBytes(stateFile), "state 1");

    // Edits after a sync keep its state, undone or not: they are changes
    // of this book.
    ASSERT_TRUE(takeSyncResult("Anna\r\n\r\nBen\r\n\r\n", "state 3"));
    takeSnapshot();
    undo();
    ASSERT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_EQ(readFileBytes(stateFile), "state 3");
    EXPECT_EQ(heldSyncState(), nullptr);
}

TEST_F(SyncResult, StateThatCannotBeWrittenStaysHeldAndAnotherBookDropsIt)
{
    ASSERT_TRUE(takeSyncResult("Anna\r\n\r\nBen\r\n\r\n", "state 2"));
    setWriteFaultAfter(static_cast<int64_t>(usedBytes));
    EXPECT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_EQ(recorder.eventsStartingWith("error").size(), 1u);
    EXPECT_EQ(readFileBytes(stateFile), "state 1");
    setWriteFaultAfter(-1);
    ASSERT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_EQ(readFileBytes(stateFile), "state 2");

    // A sync not saved, then another book opened and saved: its state file
    // stays as it is.
    ASSERT_TRUE(takeSyncResult("Anna\r\n\r\nCarl\r\n\r\n", "state 3"));
    const std::string other = tempPath("OTHER.ADR");
    writeFileBytes(other, "Dora\r\n\r\n");
    recorder.answers = {false};
    recorder.chosenFiles = {other};
    openFile();
    ASSERT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_FALSE(std::filesystem::exists(other + ".sync"));
    EXPECT_EQ(currentSyncState(other.c_str()), "");
}

}  // namespace

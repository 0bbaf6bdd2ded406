#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "files/address_file.h"
#include "files/config.h"
#include "files/file_commands.h"
#include "files/recent_files.h"
#include "find/sort.h"
#include "resources/resource.h"
#include "host/title.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/view_state.h"

namespace {

using Strings = std::vector<std::string>;

class FileCommands : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        saveLocked = false;
        addPath[0] = entryBlockPath[0] = textBlockPath[0] = 0;
        discardSnapshot();
        recorder.events.clear();
    }
};

TEST_F(FileCommands, SaveKeepsABackupSortsAndProtects)
{
    std::string path = tempPath("HOME.ADR");
    std::strcpy(currentFilePath, path.c_str());
    setStoreText("Zoe\r\n\r\n");
    saveFile(false);
    EXPECT_FALSE(std::filesystem::exists(tempPath("HOME.DUP")));
    EXPECT_FALSE(dataModified);
    EXPECT_TRUE(recorder.eventsStartingWith("file").empty());   // a named file needs no dialog

    setStoreText("Zoe\r\n\r\nAnna\r\n\r\n");
    resortPending = true;
    std::strcpy(currentPassword, "abcd");
    saveFile(false);
    EXPECT_EQ(readFileBytes(tempPath("HOME.DUP")), "Zoe\r\n\r\n");
    EXPECT_EQ(readFileBytes(path)[0], 'P');
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Zoe"}));
    EXPECT_EQ(backupPath("ab"), "DUP");

    saveLocked = true;
    setStoreText("changed\r\n\r\n");
    saveFile(false);
    EXPECT_TRUE(dataModified);
}

TEST_F(FileCommands, UnnamedSaveAsksAndReportsFailures)
{
    setStoreText("Anna\r\n\r\n");
    saveFile(false);   // cancelled
    EXPECT_EQ(recorder.eventsStartingWith("file"), Strings{"file|save|C:\\WORK\\*.ADR"});
    recorder.chosenFiles = {tempPath("missing/dir/x.adr")};
    saveFile(true);
    EXPECT_EQ(recorder.eventsStartingWith("error"), Strings{"error|ORDANE-Lumo:|Cannot save file!"});
    EXPECT_TRUE(dataModified);
    std::string path = tempPath("new.adr");
    recorder.chosenFiles = {path};
    saveFile(true);
    EXPECT_EQ(readFileBytes(path), "Anna\r\n\r\n");

    // After New, the dialog offers the old drive and name.
    recorder.events.clear();
    std::strcpy(currentFilePath, "C:\\ADR\\HOME.ADR");
    std::strcpy(currentPassword, "secret");
    newFile();
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(currentPassword[0], 0);
    EXPECT_STREQ(titleText, " NO NAME");
    saveFile(false);
    EXPECT_EQ(recorder.eventsStartingWith("file"), Strings{"file|save|C:\\ADR\\HOME.ADR"});

    // Free space is checked on drive paths only.
    recorder.events.clear();
    recorder.freeSpace = 100;
    EXPECT_TRUE(checkFreeSpace("c:\\x.adr", 99));
    EXPECT_FALSE(checkFreeSpace("c:\\x.adr", 100));
    EXPECT_EQ(recorder.eventsStartingWith("error"),
              Strings{"error|ORDANE-Lumo:|   Drive C: is full!\nCannot save file!"});
    recorder.events.clear();
    EXPECT_TRUE(checkFreeSpace("\\\\server\\share\\x.adr", 1000));
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(FileCommands, OpenLoadsSortedAndKeepsTenRecentFiles)
{
    std::string path = tempPath("b.adr");
    writeFileBytes(path, "Zoe\r\n\r\nAnna\r\n\r\n");
    setStoreText("old\r\n\r\n");
    std::strcpy(currentPassword, "kept?");
    recorder.answers = {false};
    recorder.chosenFiles = {path};
    openFile();
    EXPECT_EQ(recorder.eventsStartingWith("ask"), Strings{"ask|ORDANE-Lumo:|Save Data now?"});
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Zoe"}));
    EXPECT_FALSE(dataModified);
    EXPECT_EQ(currentPassword[0], 0);
    EXPECT_EQ(recorder.menuTexts[IDM_RECENT0], "&0: b.adr \tStrg+0");

    for (int i = 0; i < 11; ++i) {
        std::string path = tempPath("f" + std::to_string(i) + ".adr");
        writeFileBytes(path, "E\r\n\r\n");
        recorder.chosenFiles = {path};
        openFile();
    }
    EXPECT_EQ(recorder.eventsStartingWith("ask").size(), 1u);   // unchanged data is not asked about
    EXPECT_STREQ(recentFiles[0], tempPath("f10.adr").c_str());
    EXPECT_EQ(recorder.menuTexts[IDM_RECENT0 + 9], "&9: f1.adr \tStrg+9");
    EXPECT_EQ(recorder.menuTexts[IDM_RECENT0 + 3], "&3: f7.adr \tStrg+3");

    // Reopening a listed file, directly or from its slot, keeps the order.
    recorder.chosenFiles = {tempPath("f5.adr")};
    openFile();
    EXPECT_STREQ(recentFiles[0], tempPath("f10.adr").c_str());
    recorder.events.clear();
    openRecentFile(4);
    EXPECT_STREQ(currentFilePath, tempPath("f6.adr").c_str());
    EXPECT_TRUE(recorder.eventsStartingWith("file").empty());
    EXPECT_STREQ(recentFiles[4], tempPath("f6.adr").c_str());

    // At start-up the stored list is shown, or the current file alone.
    setDefaultSettings(FontRecord{});
    std::strcpy(currentFilePath, "D:\\ADR\\HOME.ADR");
    showRecentFilesInMenu();
    EXPECT_EQ(recorder.menuTexts[IDM_RECENT0], "&0: HOME.ADR \tStrg+0");
    setDefaultSettings(FontRecord{});
    recorder.menuTexts.clear();
    std::strcpy(recentFiles[3], "D:\\ADR\\WORK.ADR");
    std::strcpy(recentFiles[4], "..\\x.adr");   // below "A": not shown at start-up
    showRecentFilesInMenu();
    EXPECT_EQ(recorder.menuTexts.size(), 1u);
    EXPECT_EQ(recorder.menuTexts[IDM_RECENT0 + 3], "&3: WORK.ADR \tStrg+3");
}

TEST_F(FileCommands, AddAppendsSortsAndOffersTheDataCheck)
{
    std::string path = tempPath("more.adr");
    writeFileBytes(path, "Anna\r\n\r\nAardvark\r\n\r\n");
    setStoreText("Anna\r\n\r\nZoe\r\n\r\n");
    std::strcpy(currentFilePath, "C:\\KEEP.ADR");
    dataModified = false;
    recorder.chosenFiles = {path};
    recorder.answers = {true};
    addFile();
    EXPECT_EQ(storeHeadings(), (Strings{"Aardvark", "Anna", "Zoe"}));
    EXPECT_TRUE(dataModified);
    EXPECT_STREQ(currentFilePath, "C:\\KEEP.ADR");
    EXPECT_EQ(recorder.eventsStartingWith("ask"),
              Strings{"ask|ORDANE-Lumo:|Shall ORDANE-Lumo make a\ndata-check now, deleting\ndouble entries?|owned"});

    // The question comes after a cancelled dialog too.
    recorder.events.clear();
    addFile();
    EXPECT_EQ(recorder.eventsStartingWith("ask").size(), 1u);
    EXPECT_EQ(recorder.eventsStartingWith("file"), Strings{"file|add|" + path});
}

TEST_F(FileCommands, MarkedEntriesAreSavedAsPlainBlock)
{
    setStoreText("\xC4rger\r\n\r\nBert\r\n\r\nCarl\r\n\r\n");
    std::strcpy(currentPassword, "abcd");
    activeView = ActiveView::Overview;
    markActive = true;
    markFirst = 0;
    markLast = 1;
    std::string path = tempPath("block.adr");
    recorder.blockChoice = BlockChoice::Block;
    recorder.chosenFiles = {path};
    saveOrSaveBlock(false);
    EXPECT_EQ(readFileBytes(path), "\x8Erger\r\n\r\nBert\r\n\r\n");
    EXPECT_EQ(storeText(), "\xC4rger\r\n\r\nBert\r\n\r\nCarl\r\n\r\n");

    // A text block of the Data view's current entry, unconverted.
    activeView = ActiveView::DataView;
    markActive = false;
    selectionActive = true;
    currentEntryOffset = entryIndex[0];
    selStartLine = selEndLine = 0;
    selStartColumn = 1;
    selEndColumn = 4;
    recorder.chosenFiles = {tempPath("block.txt")};
    saveOrSaveBlock(true);
    EXPECT_EQ(readFileBytes(tempPath("block.txt")), "rge");

    // "All" saves the whole store instead.
    recorder.blockChoice = BlockChoice::All;
    recorder.chosenFiles = {tempPath("all.adr")};
    saveOrSaveBlock(true);
    EXPECT_EQ(readFileBytes(tempPath("all.adr"))[0], 'P');
}

}  // namespace

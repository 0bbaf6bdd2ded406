#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

#include "files/address_file.h"
#include "files/config.h"
#include "files/file_commands.h"
#include "files/data_check.h"
#include "files/recent_files.h"
#include "files/safe_write.h"
#include "files/scramble.h"
#include "find/sort.h"
#include "resources/resource.h"
#include "host/title.h"
#include "store/store.h"
#include "store/undo.h"
#include "support/store_fixture.h"
#include "views/line_table.h"
#include "views/selection_edit.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

namespace {

using Strings = std::vector<std::string>;

// Files in the test's folder, by name.
Strings folderContents(const std::filesystem::path& folder)
{
    Strings names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The text of a protected file, or "" when it does not open with password.
std::string unscrambledFile(const std::string& path, const char* password)
{
    std::string bytes = readFileBytes(path);
    if (bytes.size() < 8 || bytes[0] != 'P')
        return {};
    unscrambleBytes(reinterpret_cast<unsigned char*>(bytes.data() + 1), 7, password);
    if (bytes.compare(1, 7, verificationWord) != 0)
        return {};
    bytes.erase(0, 8);
    unscrambleBytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int32_t>(bytes.size()), password);
    return bytes;
}

class FileCommands : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        saveLocked = false;
        addPath[0] = entryBlockPath[0] = textBlockPath[0] = 0;
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

    // Protection activated, then the password changed: each backup is
    // protected as the book that replaced it, never plain or readable
    // with the password given up.
    setStoreText("Zoe\r\n\r\nAnna\r\n\r\n");
    resortPending = true;
    std::strcpy(currentPassword, "abcd");
    saveFile(false);
    EXPECT_EQ(unscrambledFile(tempPath("HOME.DUP"), "abcd"), "Zoe\r\n\r\n");
    EXPECT_EQ(readFileBytes(path)[0], 'P');
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Zoe"}));
    EXPECT_EQ(backupPath("ab"), "DUP");
    std::strcpy(currentPassword, "wxyz");
    saveFile(false);
    EXPECT_EQ(unscrambledFile(tempPath("HOME.DUP"), "wxyz"), "Anna\r\n\r\nZoe\r\n\r\n");

    saveLocked = true;
    setStoreText("changed\r\n\r\n");
    saveFile(false);
    EXPECT_TRUE(dataModified);
}

TEST_F(FileCommands, BookOpenedFromItsBackupKeepsABackupOfItsOwn)
{
    std::string path = tempPath("HOME.DUP");
    writeFileBytes(path, "Old\r\n\r\n");
    std::strcpy(currentFilePath, path.c_str());
    setStoreText("New\r\n\r\n");
    EXPECT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_EQ(readFileBytes(path), "New\r\n\r\n");
    EXPECT_EQ(readFileBytes(path + ".DUP"), "Old\r\n\r\n");
    EXPECT_TRUE(recorder.eventsStartingWith("error").empty());
}

#ifndef _WIN32
// The backup holds what the book held: it must not be easier to read.
TEST_F(FileCommands, BackupIsAsPrivateAsTheBook)
{
    namespace fs = std::filesystem;
    std::string path = tempPath("HOME.ADR");
    writeFileBytes(path, "Old\r\n\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    std::strcpy(currentFilePath, path.c_str());
    setStoreText("New\r\n\r\n");
    ASSERT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_EQ(fs::status(tempPath("HOME.DUP")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}
#endif

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
    EXPECT_TRUE(std::string(titleText).ends_with("new.adr")) << titleText;   // the title names the new file

    // After New, the dialog offers the old drive and name.
    recorder.events.clear();
    std::strcpy(currentFilePath, "C:\\ADR\\HOME.ADR");
    std::strcpy(currentPassword, "secret");
    typeAheadLength = 2;
    newFile();
    EXPECT_EQ(storeText(), " \r\n\r\n");
    EXPECT_EQ(typeAheadLength, 0);
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
    takeSnapshot();
    std::strcpy(currentPassword, "kept?");
    recorder.answers = {false};
    recorder.chosenFiles = {path};
    openFile();
    EXPECT_EQ(titleText[0], ' ');   // loading is no change
    EXPECT_EQ(recorder.eventsStartingWith("ask"), Strings{"ask|ORDANE-Lumo:|Save Data now?"});
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Zoe"}));
    EXPECT_FALSE(dataModified);
    EXPECT_EQ(currentPassword[0], 0);
    EXPECT_EQ(recorder.menuTexts[IDM_RECENT0], "&0: b.adr \tStrg+0");
    EXPECT_EQ(currentEntry(), 0);   // both views on the first sorted entry, not on Zoe
    EXPECT_EQ(currentEntryOffset, 0);
    undo();   // nothing leads back into the old book
    EXPECT_EQ(storeHeadings(), (Strings{"Anna", "Zoe"}));

    // Yes to the question saves the changed book before the next one opens.
    const std::string changed = tempPath("changed.adr");
    std::strcpy(currentFilePath, changed.c_str());
    dataModified = true;
    recorder.answers = {true};
    recorder.chosenFiles = {path};
    recorder.events.clear();
    openFile();
    EXPECT_EQ(readFileBytes(changed), "Anna\r\n\r\nZoe\r\n\r\n");
    EXPECT_EQ(recorder.eventsStartingWith("file"), Strings{"file|open|" + changed});   // the dialog starts there

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
    std::strcpy(currentPassword, "old");   // the password of the book left behind
    openRecentFile(4);
    EXPECT_STREQ(currentFilePath, tempPath("f6.adr").c_str());
    EXPECT_EQ(currentPassword[0], 0);
    EXPECT_TRUE(recorder.eventsStartingWith("file").empty());
    EXPECT_STREQ(recentFiles[4], tempPath("f6.adr").c_str());
    recentFiles[9][0] = 0;   // an empty slot opens nothing
    openRecentFile(9);
    EXPECT_STREQ(currentFilePath, tempPath("f6.adr").c_str());

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
    // A filled first slot keeps its path; drive A: is a path like any other.
    setDefaultSettings(FontRecord{});
    std::strcpy(recentFiles[0], "A:\\FLOPPY.ADR");
    std::strcpy(currentFilePath, "D:\\ADR\\HOME.ADR");
    showRecentFilesInMenu();
    EXPECT_STREQ(recentFiles[0], "A:\\FLOPPY.ADR");
    EXPECT_EQ(recorder.menuTexts[IDM_RECENT0], "&0: FLOPPY.ADR \tStrg+0");
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
    setStoreText("\xC4rger\r\n\r\nBert\x84\r\n\r\nCarl\r\n\r\n");
    std::strcpy(currentPassword, "abcd");
    activeView = ActiveView::Overview;
    markActive = true;
    markFirst = 0;
    markLast = 1;
    std::string path = tempPath("block.adr");
    recorder.blockChoice = BlockChoice::Block;
    recorder.chosenFiles = {path};
    saveOrSaveBlock(false);
    EXPECT_EQ(readFileBytes(path), "\x8Erger\r\n\r\nBert\x84\r\n\r\n");
    // The store is not run through the file's character set and back:
    // that would turn the 132 into an a umlaut.
    EXPECT_EQ(storeText(), "\xC4rger\r\n\r\nBert\x84\r\n\r\nCarl\r\n\r\n");

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
    // Below the first line of a later entry: the line starts count, not the entry's.
    setStoreText("Anna\r\n\r\nBert\r\nHof 3\r\nOrt 9\r\n\r\n");
    currentEntryOffset = entryIndex[1];
    lineTableOwner = -1;
    selectionActive = true;
    selStartLine = 1;
    selStartColumn = 4;
    selEndLine = 2;
    selEndColumn = 3;
    recorder.chosenFiles = {tempPath("lines.txt")};
    saveOrSaveBlock(true);
    EXPECT_EQ(readFileBytes(tempPath("lines.txt")), "3\r\nOrt");

    // "All" saves the whole store instead.
    recorder.blockChoice = BlockChoice::All;
    recorder.chosenFiles = {tempPath("all.adr")};
    saveOrSaveBlock(true);
    EXPECT_EQ(readFileBytes(tempPath("all.adr"))[0], 'P');
    // A selection left in the Data view is no block while the Overview has the keys.
    activeView = ActiveView::Overview;
    recorder.blockChoice = BlockChoice::Block;
    recorder.chosenFiles = {tempPath("whole.adr")};
    saveOrSaveBlock(true);
    EXPECT_EQ(readFileBytes(tempPath("whole.adr"))[0], 'P');
}

// The disk may run out at any byte of the backup or of the book.  Whatever
// the byte, the old book and the old DUP stay as they were, no temporary
// file is left and the store keeps the edits.  Kills writing the book in
// place, deleting the old DUP before its successor is complete, ignoring a
// short write, and saving on after a failed backup.
TEST_F(FileCommands, SaveThatRunsOutOfDiskChangesNoFile)
{
    std::string path = tempPath("HOME.ADR"), dup = tempPath("HOME.DUP");
    const std::string oldBook = "Anna\r\n\r\nBert\r\n\r\n", oldDup = "Anna\r\n\r\n";
    const std::string newText = "Anna\r\n\r\nBert\r\n\r\nCarl\r\n\r\n";
    writeFileBytes(path, oldBook);
    writeFileBytes(dup, oldDup);
    std::strcpy(currentFilePath, path.c_str());
    std::strcpy(currentPassword, "abcd");   // header and text are separate writes
    // The plain old book goes into the backup protected too, with a header.
    const int64_t total = static_cast<int64_t>(8 + oldBook.size() + 8 + newText.size());
    for (int64_t n = 0; n < total; ++n) {
        setStoreText(newText);
        recorder.events.clear();
        setWriteFaultAfter(n);
        ASSERT_EQ(saveFile(false), SaveResult::Failed) << n;
        EXPECT_EQ(readFileBytes(path), oldBook) << n;
        EXPECT_EQ(readFileBytes(dup), oldDup) << n;
        EXPECT_EQ(folderContents(tempDir), (Strings{"HOME.ADR", "HOME.DUP"})) << n;
        EXPECT_EQ(recorder.eventsStartingWith("error"), Strings{"error|ORDANE-Lumo:|Cannot save file!"}) << n;
        EXPECT_TRUE(dataModified && storeText() == newText) << n;
    }
    setWriteFaultAfter(total);
    EXPECT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_EQ(unscrambledFile(dup, "abcd"), oldBook);
    EXPECT_EQ(readFileBytes(path).size(), 8 + newText.size());

    // A book that cannot be replaced: a folder of that name.
    setWriteFaultAfter(-1);
    std::filesystem::create_directory(tempPath("DIR.ADR"));
    std::strcpy(currentFilePath, tempPath("DIR.ADR").c_str());
    EXPECT_EQ(saveFile(false), SaveResult::Failed);
    EXPECT_EQ(folderContents(tempDir), (Strings{"DIR.ADR", "HOME.ADR", "HOME.DUP"}));
    EXPECT_TRUE(std::filesystem::is_directory(tempPath("DIR.ADR")));
}

// A plain text starting with "P" is read back as a protected file that no
// password opens.  Kills a save that writes it without a word, and a
// reader that cannot get it back.
TEST_F(FileCommands, PlainBookStartingWithPIsWrittenOnlyAfterAsking)
{
    std::string path = tempPath("P.ADR");
    std::strcpy(currentFilePath, path.c_str());
    setStoreText("Paul\r\n\r\n");
    EXPECT_EQ(saveFile(false), SaveResult::NotSaved);   // Cancel
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(recorder.eventsStartingWith("ask3").size(), 1u);

    recorder.threeWayAnswers = {Host::Answer::Yes};
    recorder.passwords = {"secret"};
    EXPECT_EQ(saveFile(false), SaveResult::Saved);
    setStoreText("");
    EXPECT_EQ(loadAddressFile(path.c_str(), LoadMode::Open), LoadResult::Loaded);
    EXPECT_EQ(storeText(), "Paul\r\n\r\n");

    recorder.threeWayAnswers = {Host::Answer::No};
    currentPassword[0] = 0;
    dataModified = true;
    EXPECT_EQ(saveFile(false), SaveResult::Saved);
    EXPECT_EQ(readFileBytes(path), "Paul\r\n\r\n");
    setStoreText("");
    recorder.events.clear();
    EXPECT_EQ(loadAddressFile(path.c_str(), LoadMode::Open, true), LoadResult::Loaded);
    EXPECT_EQ(storeText(), "Paul\r\n\r\n");
    EXPECT_TRUE(recorder.eventsStartingWith("password").empty());
}

// Every way the text gets shorter must leave only zeros behind it: the
// separator scan reads up to three bytes past the end, so old bytes there
// turn into separators.  The index must then be what a scan of the text
// alone finds.  The book ends in a lone CR, so one stray LF CR LF is enough.
TEST_F(FileCommands, ShorterTextLeavesNothingBehindForTheScan)
{
    const std::string book = "Anna\r\n\r\nAnna\r\n\r\nBert\r";
    std::string refused = tempPath("refused.adr");
    writeFileBytes(refused, "Plain te\n\r\nxt\r\n\r\n");   // a plain file taken for protected
    struct Path {
        const char* name;
        std::function<void()> shrink;
    };
    const Path paths[] = {
        {"failed Add", [&] {
             recorder.chosenFiles = {refused};
             recorder.answers = {true};   // the data-check afterwards
             addFile();
         }},
        {"undo", [] {
             setStoreText(std::string(200, 'x') + "\n\r\n\r\n");
             takeSnapshot();   // the snapshot's block now holds a longer text
             setStoreText("Anna\r\n\r\nAnna\r\n\r\nBert\r");
             takeSnapshot();
             undo();
         }},
        {"data-check", [] { removeDuplicateEntries(); }},
        {"deleted entries", [] {
             markActive = true;
             markFirst = 0;
             markLast = 1;
             deleteMarkedEntries();
         }},
    };
    for (const Path& p : paths) {
        setStoreText(book);
        p.shrink();
        for (int32_t i = usedBytes; i < bufferCapacity; ++i)
            ASSERT_EQ(textBuffer[i], 0) << p.name << ": byte " << i << " behind the text";
        std::vector<unsigned char> text(textBuffer, textBuffer + usedBytes);
        text.resize(text.size() + 4, 0);
        std::vector<int32_t> fresh(text.size() + 2);
        int32_t count = scanEntrySeparators(text.data(), usedBytes, fresh.data(), static_cast<int32_t>(fresh.size()));
        EXPECT_EQ(entryCount, count) << p.name;
        EXPECT_EQ(std::vector<int32_t>(entryIndex, entryIndex + entryCount + 2),
                  std::vector<int32_t>(fresh.begin(), fresh.begin() + count + 2))
            << p.name;
    }
}

}  // namespace

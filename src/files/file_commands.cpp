#include "files/file_commands.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "files/address_file.h"
#include "files/charset.h"
#include "files/config.h"
#include "files/data_check.h"
#include "files/file_system.h"
#include "files/new_file.h"
#include "files/recent_files.h"
#include "files/safe_write.h"
#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/title.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"
#include "sync/sync_result.h"
#include "views/view_state.h"

bool saveLocked = false;
char addPath[512];
char entryBlockPath[512];
char textBlockPath[512];

namespace {

constexpr const char* textDataCheckQuestion = "Shall ORDANE-Lumo make a\ndata-check now, deleting\ndouble entries?";
constexpr const char* textNoMemoryForBackup = "Not enough memory free for creating a *.DUP-File!";
constexpr const char* textReadOnlyFile = "The file is read-only.\nCannot save file!";
constexpr const char* textReadOnlyBackup = "The backup file (*.DUP) is read-only.\nCannot save file!";
constexpr const char* textPlainLooksProtected =
    "This address file begins with the letter P. Saved without a password,\n"
    "it would be taken for a password-protected file and could not be\n"
    "opened again.\n\n"
    "Yes: protect it with a password now\n"
    "No: save it without a password anyway\n"
    "Cancel: do not save";

// A path in the no-name form keeps its drive as a number; give the letter back.
void correctDriveNumber(char* path)
{
    unsigned char first = static_cast<unsigned char>(path[0]);
    if (first >= 1 && first <= 31)
        path[0] = static_cast<char>(first + 64);
}

bool askSaveNow()
{
    UiBusyScope busy;
    return host().askYesNo(captionMain, textSaveNow, false);
}

void offerToSaveChanges()
{
    if (dataModified && !storeUnavailable && askSaveNow())
        saveFile(false);
}

void loadCurrentFileAndShow()
{
    dropHeldSyncState();
    loadAddressFile(currentFilePath, LoadMode::Open);
    // Sorted before the views are reset: the sort keeps whichever entry is
    // current, and both views are to start on the first of the sorted book.
    resetViewState();
    sortEntries();
    resetViewsAfterLoad();
    dataModified = false;
    setTitleMarker(' ');
    if (host().mainWindowExists())
        host().setStatusText(entryCountText);
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

// Copies the file at path, as it is before this save, into a finished
// temporary file for its DUP; backup stays empty when there is no file yet.
// The old DUP is replaced only once the new book is complete too.  The
// copy is protected as the new book will be (copyForBackup).  False, with
// the message shown, when the copy could not be made: the save must then
// not go on, or the old file would be lost.
bool prepareBackup(const char* path, std::unique_ptr<SafeFile>& backup)
{
    std::FILE* old = std::fopen(path, "rb");
    if (!old)
        return true;   // nothing saved there yet
    std::fseek(old, 0, SEEK_END);
    long size = std::ftell(old);
    std::fseek(old, 0, SEEK_SET);
    if (size >= 0 && !checkFreeSpace(path, size)) {
        std::fclose(old);
        return false;
    }
    // The backup belongs beside the file itself, not beside a link to it.
    const std::string backupName = backupPath(finalPathOf(path).c_str());
    if (isReadOnlyTarget(backupName.c_str())) {
        std::fclose(old);
        reportError(captionMain, textReadOnlyBackup);
        return false;
    }
    bool copied;
    try {
        // As private as the book it copies.
        backup = std::make_unique<SafeFile>(backupName.c_str(), path);
        copied = size >= 0 && copyForBackup(old, *backup);
    } catch (const std::bad_alloc&) {
        std::fclose(old);
        backup.reset();
        reportError(captionMain, textNoMemoryForBackup);
        return false;
    }
    std::fclose(old);
    if (copied)
        return true;
    backup.reset();
    reportError(captionMain, textCannotSave);
    return false;
}

// A plain text that starts with "P" would be read back as a protected file
// that no password opens.  False when the user would rather not save.
bool confirmPlainFileStartingWithP()
{
    if (currentPassword[0] != 0 || !plainFileLooksProtected(textBuffer, usedBytes))
        return true;
    Host::Answer answer;
    {
        UiBusyScope busy;
        answer = host().askYesNoCancel(captionMain, textPlainLooksProtected);
    }
    if (answer == Host::Answer::No)
        return true;
    if (answer == Host::Answer::Yes) {
        UiBusyScope busy;
        host().askNewPassword();
        return currentPassword[0] != 0;
    }
    return false;
}

// Byte offset of (line, column) in the current entry.
int32_t offsetInCurrentEntry(int32_t line, int32_t column)
{
    int32_t at = currentEntryOffset;
    for (int32_t l = 0; l < line && at < usedBytes; ++l) {
        while (at < usedBytes && textBuffer[at] != 13)
            ++at;
        at += 2;
    }
    return at + column;
}

}  // namespace

// The dialog's initial file name: the remembered path, or the current
// directory with a wildcard for the dialog's kind of file.
void initialDialogName(char* out, const char* remembered, const char* wildcard)
{
    std::strncpy(out, remembered, pathSize - 1);
    out[pathSize - 1] = 0;
    correctDriveNumber(out);
    if (out[0] != 0)
        return;
    std::string directory = host().currentDirectory();
    if (directory.empty() || (directory.back() != '\\' && directory.back() != '/'))
        directory += '\\';
    directory += wildcard;
    std::strncpy(out, directory.c_str(), pathSize - 1);
    out[pathSize - 1] = 0;
}

// After the store was replaced or extended: nothing marked, the Data view
// lays its entry out again, and the Overview takes the keys.
void resetViewsAfterLoad()
{
    resetViewState();
    host().makeViewActive(ViewId::Overview);
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

std::string backupPath(const char* path)
{
    std::string backup = path;
    // A book that is itself a backup (opened from X.DUP) gets X.DUP.DUP:
    // never its own name, also where names ignore case.
    const size_t n = backup.size();
    if (n >= 3 && std::toupper(static_cast<unsigned char>(backup[n - 3])) == 'D' &&
        std::toupper(static_cast<unsigned char>(backup[n - 2])) == 'U' &&
        std::toupper(static_cast<unsigned char>(backup[n - 1])) == 'P')
        return backup + ".DUP";
    backup.resize(n >= 3 ? n - 3 : 0);
    return backup + "DUP";
}

bool checkFreeSpace(const char* path, int64_t byteCount)
{
    if (!std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':')
        return true;
    char root[4] = {path[0], ':', path[2], 0};
    int64_t free = host().freeDiskSpace(root);
    if (free < 0 || byteCount < free)
        return true;
    char message[64];
    std::snprintf(message, sizeof message, "   Drive %c: is full!\nCannot save file!",
                  std::toupper(static_cast<unsigned char>(path[0])));
    reportError(captionMain, message);
    return false;
}

void newFile()
{
    discardSnapshot();
    dropHeldSyncState();
    std::memset(currentPassword, 0, sizeof currentPassword);
    resetStoreToNoName();
}

void openFile()
{
    offerToSaveChanges();
    std::memset(currentPassword, 0, sizeof currentPassword);
    clearSelectionAndMarks();

    char chosen[pathSize];
    initialDialogName(chosen, currentFilePath, "*.ADR");
    {
        UiBusyScope busy;
        if (!host().chooseFile(FileDialog::Open, chosen))
            return;
    }
    discardSnapshot();
    std::memcpy(currentFilePath, chosen, pathSize);
    setTitleFromPath();
    rememberRecentFile(currentFilePath);
    loadCurrentFileAndShow();
}

void openRecentFile(int slot)
{
    offerToSaveChanges();
    if (recentFiles[slot][0] == 0)
        return;
    std::memcpy(currentFilePath, recentFiles[slot], pathSize);
    std::memset(currentPassword, 0, sizeof currentPassword);
    setTitleFromPath();
    discardSnapshot();
    loadCurrentFileAndShow();
}

SaveResult saveFile(bool askName)
{
    if (saveLocked)
        return SaveResult::NotSaved;
    if (resortPending)
        sortEntries();

    char chosen[pathSize];
    bool hadNoName = static_cast<unsigned char>(currentFilePath[0]) < 32;
    initialDialogName(chosen, currentFilePath, "*.ADR");
    if (askName || hadNoName) {
        UiBusyScope busy;
        if (!host().chooseFile(FileDialog::Save, chosen))
            return SaveResult::NotSaved;
    }
    if (!confirmPlainFileStartingWithP())
        return SaveResult::NotSaved;

    // Both new files are complete on disk before either replaces its old
    // one: the DUP first, so that the old book is never only in memory.
    SaveResult result = SaveResult::Failed;
    std::unique_ptr<SafeFile> backup;
    if (isReadOnlyTarget(chosen)) {
        reportError(captionMain, textReadOnlyFile);
    } else if (prepareBackup(chosen, backup)) {
        discardSnapshot();
        if (checkFreeSpace(chosen, usedBytes)) {
            SafeFile book(chosen);
            if (writeAddressFile(book) && (!backup || backup->replaceTarget()) && book.replaceTarget()) {
                setTitleMarker(' ');
                dataModified = false;
                std::memcpy(filePassword, currentPassword, sizeof filePassword);
                result = SaveResult::Saved;
                // A sync's state goes to disk only with the book it belongs to.
                saveHeldSyncState(chosen);
            } else {
                reportError(captionMain, textCannotSave);
            }
        }
    }
    std::memcpy(currentFilePath, chosen, pathSize);
    setTitleFromPath();
    return result;
}

void saveOrSaveBlock(bool askName)
{
    bool dataViewBlock = activeView == ActiveView::DataView && selectionActive;
    bool overviewBlock = activeView == ActiveView::Overview && markActive;
    if (!dataViewBlock && !overviewBlock) {
        saveFile(askName);
        return;
    }
    BlockChoice choice;
    {
        UiBusyScope busy;
        choice = host().askBlockOrAll();
    }
    if (choice == BlockChoice::Block)
        saveBlock(overviewBlock);
    else if (choice == BlockChoice::All)
        saveFile(askName);
}

void saveBlock(bool entries)
{
    std::vector<unsigned char> block;
    try {
        if (entries) {
            int32_t from = entryIndex[markFirst];
            int32_t to = entryIndex[markLast + 1];
            // Only the copy is converted: the round trip through the file's
            // character set is not the identity (132 would come back as ä).
            block.assign(textBuffer + from, textBuffer + to);
            toFileCharset(block.data(), static_cast<int32_t>(block.size()));
        } else {
            int32_t from = offsetInCurrentEntry(selStartLine, selStartColumn);
            int32_t to = offsetInCurrentEntry(selEndLine, selEndColumn);
            if (to > from)
                block.assign(textBuffer + from, textBuffer + to);
        }
    } catch (const std::bad_alloc&) {
        return;
    }

    char* remembered = entries ? entryBlockPath : textBlockPath;
    char chosen[pathSize];
    initialDialogName(chosen, remembered, entries ? "*.ADR" : "*.TXT");
    {
        UiBusyScope busy;
        if (!host().chooseFile(entries ? FileDialog::SaveEntryBlock : FileDialog::SaveTextBlock, chosen))
            return;
    }
    if (checkFreeSpace(chosen, static_cast<int64_t>(block.size()))) {
        if (!writeBytesToFile(chosen, block.data(), static_cast<int32_t>(block.size())))
            reportError(captionMain, textCannotSave);
    }
    std::memcpy(remembered, chosen, pathSize);
}

void addFile()
{
    char chosen[pathSize];
    initialDialogName(chosen, addPath, "*.ADR");
    bool picked;
    {
        UiBusyScope busy;
        picked = host().chooseFile(FileDialog::Add, chosen);
    }
    if (picked) {
        std::memcpy(addPath, chosen, pathSize);
        loadAddressFile(addPath, LoadMode::Add);
        resetViewsAfterLoad();
        sortEntries();
    }
    bool check;
    {
        UiBusyScope busy;
        check = host().askYesNo(captionMain, textDataCheckQuestion, true);
    }
    if (check)
        removeDuplicateEntries();
}

#include "files/file_commands.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "files/address_file.h"
#include "files/charset.h"
#include "files/config.h"
#include "files/data_check.h"
#include "files/new_file.h"
#include "files/recent_files.h"
#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/title.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"
#include "views/view_state.h"

bool saveLocked = false;
char addPath[512];
char entryBlockPath[512];
char textBlockPath[512];

namespace {

constexpr const char* textDataCheckQuestion = "Shall ORDANE-Lumo make a\ndata-check now, deleting\ndouble entries?";
constexpr const char* textNoMemoryForBackup = "Not enough memory free for creating a *.DUP-File!";

// A path in the no-name form keeps its drive as a number; give the letter back.
void correctDriveNumber(char* path)
{
    unsigned char first = static_cast<unsigned char>(path[0]);
    if (first >= 1 && first <= 31)
        path[0] = static_cast<char>(first + 64);
}

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

// After the store was replaced or extended: nothing marked, the Data view
// lays its entry out again, and the Overview takes the keys.
void resetViewsAfterLoad()
{
    resetViewState();
    host().makeViewActive(ViewId::Overview);
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

void loadCurrentFileAndShow()
{
    loadAddressFile(currentFilePath, LoadMode::Open);
    resetViewsAfterLoad();
    sortEntries();
    dataModified = false;
    setTitleMarker(' ');
    if (host().mainWindowExists())
        host().setStatusText(entryCountText);
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

// Reads a whole file; false when it does not exist or cannot be read.
bool readWholeFile(const char* path, std::vector<unsigned char>& bytes, bool& noMemory)
{
    noMemory = false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    bool ok = size >= 0;
    if (ok) {
        try {
            bytes.resize(static_cast<size_t>(size));
            ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        } catch (const std::bad_alloc&) {
            noMemory = true;
            ok = false;
        }
    }
    std::fclose(file);
    return ok;
}

void writeBackup(const char* path)
{
    std::vector<unsigned char> old;
    bool noMemory = false;
    if (!readWholeFile(path, old, noMemory)) {
        if (noMemory)
            reportError(captionMain, textNoMemoryForBackup);
        return;
    }
    std::string backup = backupPath(path);
    std::remove(backup.c_str());
    if (checkFreeSpace(path, static_cast<int64_t>(old.size())))
        writeBytesToFile(backup.c_str(), old.data(), static_cast<int32_t>(old.size()));
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

std::string backupPath(const char* path)
{
    std::string backup = path;
    backup.resize(backup.size() >= 3 ? backup.size() - 3 : 0);
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

void saveFile(bool askName)
{
    if (saveLocked)
        return;
    if (resortPending)
        sortEntries();

    char chosen[pathSize];
    bool hadNoName = static_cast<unsigned char>(currentFilePath[0]) < 32;
    initialDialogName(chosen, currentFilePath, "*.ADR");
    if (askName || hadNoName) {
        UiBusyScope busy;
        if (!host().chooseFile(FileDialog::Save, chosen))
            return;
    }

    writeBackup(chosen);
    discardSnapshot();
    if (checkFreeSpace(chosen, usedBytes)) {
        if (writeAddressFile(chosen)) {
            setTitleMarker(' ');
            dataModified = false;
        } else {
            reportError(captionMain, textCannotSave);
        }
    }
    std::memcpy(currentFilePath, chosen, pathSize);
    setTitleFromPath();
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
            toFileCharset(textBuffer, usedBytes);
            block.assign(textBuffer + from, textBuffer + to);
            toBufferCharset(textBuffer, usedBytes);
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

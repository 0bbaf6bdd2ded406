#include "contacts/contact_commands.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "files/address_file.h"
#include "files/config.h"
#include "files/file_commands.h"
#include "files/safe_write.h"
#include "find/sort.h"
#include "host/host.h"
#include "host/status_progress.h"
#include "host/texts.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"
#include "views/view_state.h"

int exportFileType = 1;
char importContactsPath[512];
char exportContactsPath[512];

namespace {

constexpr const char* textNoContacts = "No contacts found in this file!";
constexpr const char* textImportingStatus = "Importieren...";   // followed by " n%"
constexpr const char* textExportingStatus = "Exportieren...";

// How an import's time goes, roughly: reading the file is quick (the
// first tenth of the progress), reading its contacts and making entries of
// them is the rest.
constexpr int64_t readShare = 10;

bool endsWithCsv(const char* path)
{
    const size_t length = std::strlen(path);
    if (length < 4)
        return false;
    const char* tail = path + length - 4;
    return tail[0] == '.' && (tail[1] | 0x20) == 'c' && (tail[2] | 0x20) == 's' && (tail[3] | 0x20) == 'v';
}

// The whole file, read a megabyte at a time with the progress shown; false
// when it cannot be opened or read.  Throws std::bad_alloc.
bool readWholeFile(const char* path, std::string& bytes, StatusProgress& progress)
{
    std::FILE* file = openRegularFile(path);
    if (!file)
        return false;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    bool read = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (read) {
        bytes.resize(static_cast<size_t>(size));
        constexpr size_t piece = size_t{1} << 20;
        for (size_t got = 0; read && got < bytes.size();) {
            const size_t n = std::fread(bytes.data() + got, 1, std::min(piece, bytes.size() - got), file);
            read = n > 0;
            got += n;
            progress.show(readShare * static_cast<int64_t>(got), 100 * static_cast<int64_t>(bytes.size()));
        }
    }
    std::fclose(file);
    return read;
}

// Puts book at the end of the store as Add does, after one snapshot for
// Undo, and sorts.  False, with the message shown and the store as it
// was, when it does not fit.
bool appendToStore(const ImportedBook& book)
{
    if (book.text.size() > static_cast<size_t>(INT32_MAX - 2 * bufferHeadroom - usedBytes)) {
        reportError(captionMain, textNoMemory);
        return false;
    }
    const int32_t length = static_cast<int32_t>(book.text.size());
    if (!growTextBufferFor(length) || !growEntryIndexFor(book.entries))
        return false;
    takeSnapshot();
    std::memcpy(textBuffer + usedBytes, book.text.data(), book.text.size());
    usedBytes += length;
    entryCount = rebuildEntryIndex();
    resetViewsAfterLoad();
    sortEntries();
    return true;
}

// The import without the status line put back.
void importContactsFrom(const char* path, StatusProgress& progress)
{
    ImportedBook book;
    try {
        std::string bytes;
        if (!readWholeFile(path, bytes, progress)) {
            reportError(captionMain, textCannotOpen);
            return;
        }
        std::string why;
        const bool found = importContacts(bytes, ImportFormat::Guess, book, why, {}, [&](int64_t done, int64_t total) {
            progress.show(readShare * total + (100 - readShare) * done, 100 * total);
        });
        if (!found || book.entries == 0) {
            reportError(captionMain, textNoContacts);
            return;
        }
    } catch (const std::bad_alloc&) {
        reportError(captionMain, textNoMemory);
        return;
    }
    if (appendToStore(book))
        host().showInfo(captionMain, importedMessage(book).c_str());
}

// The export of entries first to end - 1, without the status line put back.
void exportContactsTo(const char* path, ExportFormat format, int32_t first, int32_t end, StatusProgress& progress)
{
    std::string out;
    try {
        out = exportEntries(format, first, end, [&](int64_t done, int64_t total) { progress.show(done, total); });
    } catch (const std::bad_alloc&) {
        reportError(captionMain, textNoMemory);
        return;
    }
    if (!checkFreeSpace(path, static_cast<int64_t>(out.size())))
        return;
    if (!writeFileSafely(path, out.data(), out.size())) {
        reportError(captionMain, textCannotSave);
        return;
    }
    host().showInfo(captionMain, exportedMessage(end - first).c_str());
}

void putEntryCountBack()
{
    if (host().mainWindowExists())
        host().setStatusText(entryCountText);
}

}  // namespace

ExportFormat exportFormatFor(const char* path, int fileType)
{
    if (endsWithCsv(path) || fileType == 3)
        return ExportFormat::Csv;
    return fileType == 2 ? ExportFormat::VCard4 : ExportFormat::VCard3;
}

std::string importedMessage(const ImportedBook& book)
{
    char text[256];
    int n = std::snprintf(text, sizeof text, "%d contacts were imported!", static_cast<int>(book.entries));
    const long changed = book.replaced.count + book.transliterated;
    if (changed > 0)
        n += std::snprintf(text + n, sizeof text - static_cast<size_t>(n),
                           "\n%ld characters had to be replaced or transliterated.", changed);
    if (book.skipped > 0)
        std::snprintf(text + n, sizeof text - static_cast<size_t>(n),
                      "\n%d contacts without a name, e-mail address or number were skipped.",
                      static_cast<int>(book.skipped));
    return text;
}

std::string exportedMessage(int32_t entries)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d entries were exported!", static_cast<int>(entries));
    return text;
}

void importContactsFile()
{
    char chosen[pathSize];
    initialDialogName(chosen, importContactsPath, "*.vcf");
    {
        UiBusyScope busy;
        if (!host().chooseFile(FileDialog::ImportContacts, chosen))
            return;
    }
    std::memcpy(importContactsPath, chosen, pathSize);
    StatusProgress progress(textImportingStatus, loadProgressAfterMs);
    importContactsFrom(chosen, progress);
    putEntryCountBack();
}

void exportContactsFile()
{
    // Taken before the dialog moves the focus about.
    const bool block = activeView == ActiveView::Overview && markActive;
    const int32_t first = block ? markFirst : 0;
    const int32_t end = block ? markLast + 1 : entryCount;
    char chosen[pathSize];
    initialDialogName(chosen, exportContactsPath, "*.vcf");
    int fileType = exportFileType;
    {
        UiBusyScope busy;
        if (!host().chooseFileOfType(FileDialog::ExportContacts, chosen, fileType))
            return;
    }
    std::memcpy(exportContactsPath, chosen, pathSize);
    exportFileType = fileType;
    StatusProgress progress(textExportingStatus, loadProgressAfterMs);
    exportContactsTo(chosen, exportFormatFor(chosen, fileType), first, end, progress);
    putEntryCountBack();
}

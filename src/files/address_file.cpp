#include "files/address_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/stat.h>

#include "files/charset.h"
#include "files/config.h"
#include "files/new_file.h"
#include "files/safe_write.h"
#include "files/scramble.h"
#include "host/host.h"
#include "host/status_progress.h"
#include "host/texts.h"
#include "host/title.h"
#include "store/store.h"

char currentPassword[20];
char addPassword[20];
char filePassword[20];
int32_t loadProgressAfterMs = 500;

namespace {

constexpr unsigned char protectedMark = 'P';
constexpr int headerWordLength = 7;

// Closes the file on every way out of the load.
struct FileCloser {
    std::FILE* file;
    ~FileCloser()
    {
        if (file)
            std::fclose(file);
    }
};

bool headerMatches(const unsigned char* header, const char* password)
{
    KeyStream keys(password);
    for (int i = 0; i < headerWordLength; ++i)
        if (unscrambleByte(header[i], keys.next()) != static_cast<unsigned char>(verificationWord[i]))
            return false;
    return true;
}

// Overlapping matches count too, which can only give more slots than the
// index rebuild needs.
int32_t countSeparatorsOverlapping(const unsigned char* bytes, int32_t length)
{
    // Only a CR starts one, and CRs are sparse: memchr finds them.
    int32_t count = 0;
    const unsigned char* end = bytes + length;
    for (const unsigned char* p = bytes; end - p > 3;) {
        p = static_cast<const unsigned char*>(std::memchr(p, 13, static_cast<size_t>(end - p - 3)));
        if (!p)
            break;
        if (p[1] == 10 && p[2] == 13 && p[3] == 10)
            ++count;
        ++p;
    }
    return count;
}

void finishLoad()
{
    if (!textBuffer || !entryIndex)
        return;
    toBufferCharset(textBuffer, usedBytes);
    entryCount = rebuildEntryIndex();
}

// Reads up to `wanted` bytes, as one fread would, a megabyte at a time,
// and tells progress how much of fileSize has come in.  Returns the bytes
// read.
size_t readWithProgress(std::FILE* file, unsigned char* into, size_t wanted, int32_t fileSize, StatusProgress& progress)
{
    constexpr size_t piece = size_t{1} << 20;
    size_t got = 0;
    while (got < wanted) {
        const size_t asked = std::min(piece, wanted - got);
        const size_t n = std::fread(into + got, 1, asked, file);
        got += n;
        progress.show(static_cast<int64_t>(got), fileSize);
        if (n < asked)
            break;
    }
    return got;
}

}  // namespace

std::FILE* openRegularFile(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    struct stat status;
    if (file && (fstat(fileno(file), &status) != 0 || (status.st_mode & S_IFMT) != S_IFREG)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

LoadResult loadAddressFile(const char* path, LoadMode mode, bool readAsPlain)
{
    // "Laden... 40%": how much of the file has been read.
    StatusProgress progress(textLoadingStatus, loadProgressAfterMs);
    std::FILE* file = openRegularFile(path);
    if (!file) {
        if (mode == LoadMode::Open && std::strcmp(path, currentFilePath) == 0) {
            currentFilePath[0] = 0;
            setTitleFromPath();
        }
        reportError(captionLoad, textCannotOpen);
        finishLoad();
        return LoadResult::CannotOpen;
    }
    FileCloser closer{file};

    int32_t oldLength = usedBytes;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (size < 0 || size > INT32_MAX - 2 * bufferHeadroom - oldLength) {
        reportError(captionMain, textNoMemory);
        return LoadResult::NoMemory;
    }
    int32_t fileSize = static_cast<int32_t>(size);

    storeUnavailable = false;
    int32_t offset;
    if (mode == LoadMode::Open) {
        freeStore();
        storeUnavailable = false;
        bufferCapacity = fileSize + bufferHeadroom;
        textBuffer = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(bufferCapacity), 1));
        if (!textBuffer) {
            reportError(captionMain, textNoMemory);
            storeUnavailable = true;
            bufferCapacity = 0;
            return LoadResult::NoMemory;
        }
        offset = 0;
    } else {
        int32_t capacity = fileSize + bufferHeadroom + oldLength;
        auto* grown = static_cast<unsigned char*>(reallocateBlock(textBuffer, static_cast<size_t>(capacity)));
        if (!grown) {
            reportError(captionMain, textNoMemory);
            return LoadResult::NoMemory;
        }
        textBuffer = grown;
        bufferCapacity = capacity;
        std::memset(textBuffer + oldLength, 0, static_cast<size_t>(capacity - oldLength));
        offset = oldLength;
    }

    unsigned char first = 0;
    unsigned char header[headerWordLength] = {};
    std::fread(&first, 1, 1, file);
    std::fread(header, 1, headerWordLength, file);
    bool isProtected = first == protectedMark && !readAsPlain;
    if (!isProtected)
        std::fseek(file, 0, SEEK_SET);

    size_t read = readWithProgress(file, textBuffer + offset, static_cast<size_t>(fileSize) + 1, fileSize, progress);
    usedBytes = offset + static_cast<int32_t>(read);

    if (isProtected) {
        const char* password;
        if (mode == LoadMode::Open) {
            if (currentPassword[0] == 0) {
                host().minimizeMainWindow();
                host().askPassword(PasswordPrompt::Open, currentPassword);
            }
            password = currentPassword;
        } else {
            std::memset(addPassword, 0, sizeof addPassword);
            host().minimizeMainWindow();
            host().askPassword(PasswordPrompt::Add, addPassword);
            password = addPassword;
        }
        if (!headerMatches(header, password)) {
            reportError(captionMain, textWrongPassword);
            host().restoreMainWindow();
            std::fclose(file);
            closer.file = nullptr;
            if (mode == LoadMode::Open) {
                resetStoreToNoName();
            } else {
                // The refused bytes must not stay behind the text: the
                // separator scan reads past its end.
                std::memset(textBuffer + oldLength, 0, static_cast<size_t>(usedBytes - oldLength));
                usedBytes = oldLength;
            }
            return LoadResult::WrongPassword;
        }
        unscrambleBytes(textBuffer + offset, usedBytes - offset, password);
        host().restoreMainWindow();
    }

    // The passes over the text that follow take a while too: the progress
    // is shown now if the read ended just short of the delay.
    progress.show(100);
    int32_t slots = countSeparatorsOverlapping(textBuffer, usedBytes) + indexHeadroom;
    if (mode == LoadMode::Add)
        std::free(entryIndex);
    entryIndex = static_cast<int32_t*>(std::calloc(static_cast<size_t>(slots), sizeof(int32_t)));
    indexCapacity = slots;
    if (!entryIndex) {
        reportError(captionMain, textNoMemory);
        freeStore();
        return LoadResult::NoMemory;
    }

    std::fclose(file);
    closer.file = nullptr;
    if (mode == LoadMode::Open) {
        std::memset(filePassword, 0, sizeof filePassword);
        if (isProtected)
            std::memcpy(filePassword, currentPassword, sizeof filePassword);
    }
    progress.show(100);
    finishLoad();
    return LoadResult::Loaded;
}

bool writeAddressFile(const char* path)
{
    SafeFile file(path);
    return writeAddressFile(file) && file.replaceTarget();
}

bool writeAddressFile(SafeFile& file)
{
    toFileCharset(textBuffer, usedBytes);
    if (currentPassword[0] == 0) {
        file.write(textBuffer, static_cast<size_t>(usedBytes));
    } else {
        unsigned char header[1 + headerWordLength];
        header[0] = protectedMark;
        std::memcpy(header + 1, verificationWord, headerWordLength);
        scrambleBytes(header + 1, headerWordLength, currentPassword);
        file.write(header, sizeof header);

        // Scramble through a bounded work area; one key stream runs over
        // the whole text.
        std::vector<unsigned char> chunk(64 * 1024);
        KeyStream keys(currentPassword);
        for (int32_t done = 0; file.good() && done < usedBytes;) {
            size_t n = std::min(chunk.size(), static_cast<size_t>(usedBytes - done));
            for (size_t i = 0; i < n; ++i)
                chunk[i] = scrambleByte(textBuffer[done + static_cast<int32_t>(i)], keys.next());
            file.write(chunk.data(), n);
            done += static_cast<int32_t>(n);
        }
    }
    bool written = file.finish();
    toBufferCharset(textBuffer, usedBytes);
    return written;
}

bool copyForBackup(std::FILE* old, SafeFile& backup)
{
    unsigned char header[1 + headerWordLength] = {};
    const size_t headerRead = std::fread(header, 1, sizeof header, old);
    const bool wasProtected = headerRead == sizeof header && header[0] == protectedMark;
    // The bytes behind the header are unscrambled with from and scrambled
    // with to; an empty password leaves them as they are.
    const char* from = "";
    const char* to = "";
    if (currentPassword[0] != 0 && !wasProtected) {
        to = currentPassword;
    } else if (currentPassword[0] != 0 && !headerMatches(header + 1, currentPassword) && filePassword[0] != 0 &&
               headerMatches(header + 1, filePassword)) {
        from = filePassword;
        to = currentPassword;
    }

    std::vector<unsigned char> chunk(64 * 1024);
    std::memcpy(chunk.data(), header, headerRead);
    size_t n = headerRead;
    if (to[0] != 0) {
        unsigned char newHeader[1 + headerWordLength];
        newHeader[0] = protectedMark;
        std::memcpy(newHeader + 1, verificationWord, headerWordLength);
        scrambleBytes(newHeader + 1, headerWordLength, to);
        backup.write(newHeader, sizeof newHeader);
        if (from[0] != 0)
            n = 0;   // the old header goes; the text starts behind it
    }
    KeyStream unscrambling(from);
    KeyStream scrambling(to);
    bool readFailed = false;
    while (backup.good()) {
        for (size_t i = 0; to[0] != 0 && i < n; ++i)
            chunk[i] = scrambleByte(unscrambleByte(chunk[i], unscrambling.next()), scrambling.next());
        if (n > 0)
            backup.write(chunk.data(), n);
        n = std::fread(chunk.data(), 1, chunk.size(), old);
        if (n == 0) {
            readFailed = std::ferror(old) != 0;
            break;
        }
    }
    return !readFailed && backup.finish();
}

bool writeBytesToFile(const char* path, const unsigned char* bytes, int32_t length)
{
    return writeFileSafely(path, bytes, static_cast<size_t>(length));
}

bool plainFileLooksProtected(const unsigned char* text, int32_t length)
{
    // The character conversion never makes or removes a "P".
    return length > 0 && text[0] == protectedMark;
}

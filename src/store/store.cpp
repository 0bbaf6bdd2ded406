#include "store/store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "host/host.h"
#include "host/texts.h"
#include "host/title.h"

unsigned char* textBuffer = nullptr;
int32_t bufferCapacity = 0;
int32_t usedBytes = 0;
int32_t* entryIndex = nullptr;
int32_t indexCapacity = 0;
int32_t entryCount = 0;

bool dataModified = false;
bool storeUnavailable = false;
bool countDisplaySuppressed = false;

char entryCountText[17] = "XXXXXXXX Entries";

namespace {

bool isSeparatorAt(const unsigned char* p)
{
    return p[0] == 13 && p[1] == 10 && p[2] == 13 && p[3] == 10;
}

}  // namespace

int32_t scanEntrySeparators(const unsigned char* buffer, int32_t used, int32_t* index, int32_t slots)
{
    // Only a CR can start a separator, and CRs are sparse (one per line), so
    // memchr does the skipping and the remaining three bytes are checked by
    // hand.  A separator may start anywhere below `used` and reach up to
    // three bytes beyond it, which the capacity invariant allows.
    if (slots > 0)
        index[0] = 0;
    int32_t n = 0;
    const unsigned char* p = buffer;
    const unsigned char* end = buffer + used;
    while (p < end) {
        p = static_cast<const unsigned char*>(std::memchr(p, 13, static_cast<size_t>(end - p)));
        if (!p)
            break;
        if (isSeparatorAt(p)) {
            p += 4;
            if (++n < slots)
                index[n] = static_cast<int32_t>(p - buffer);
        } else {
            ++p;
        }
    }
    if (n + 1 < slots)
        index[n + 1] = used;
    return n;
}

void formatEntryCountText(int32_t count)
{
    // Ten millions down to units; leading zeros become blanks, the units
    // digit is always written.
    int32_t divisor = 10000000;
    bool leading = true;
    for (int pos = 0; pos < 8; ++pos, divisor /= 10) {
        int digit = (count / divisor) % 10;
        if (digit == 0 && leading && pos < 7) {
            entryCountText[pos] = ' ';
        } else {
            leading = false;
            entryCountText[pos] = static_cast<char>('0' + digit);
        }
    }
    std::memcpy(entryCountText + 8, " Entries", 9);
}

namespace {

// What every change of the index ends with: the count text, the title
// marker and the two texts on screen (unless the count display is
// suppressed), and the modified flag.
int32_t announceEntryCount(int32_t count)
{
    if (countDisplaySuppressed) {
        dataModified = true;
        return count;
    }
    formatEntryCountText(count);
    titleText[0] = '*';
    if (host().mainWindowExists()) {
        host().setTitle(titleText);
        host().setStatusText(entryCountText);
    }
    dataModified = true;
    return count;
}

}  // namespace

void* (*reallocateBlock)(void* block, size_t size) = [](void* block, size_t size) {
    return std::realloc(block, size);
};

int32_t rebuildEntryIndex()
{
    int32_t count = scanEntrySeparators(textBuffer, usedBytes, entryIndex, indexCapacity);
    if (count + 2 > indexCapacity) {
        // More entries than the headroom holds can come in at once: a paste
        // into a line of 254 characters or more breaks it in front of every
        // byte, also right behind the pasted line ends.
        int32_t slots = count + indexHeadroom;
        if (auto* index = static_cast<int32_t*>(reallocateBlock(entryIndex, static_cast<size_t>(slots) * sizeof(int32_t)))) {
            entryIndex = index;
            indexCapacity = slots;
            scanEntrySeparators(textBuffer, usedBytes, entryIndex, indexCapacity);
        } else {
            // The entries that fit; the last one runs to the end of the text.
            reportError(captionMain, textNoMemory);
            count = indexCapacity - 2;
            entryIndex[count + 1] = usedBytes;
        }
    }
    return announceEntryCount(count);
}

int32_t reindexAfterEdit(int32_t at, int32_t delta)
{
    // A separator is CR LF CR LF: the edited bytes hold neither, so a
    // separator made or broken would have to span the edit, with CR or LF
    // on both sides of it.  The byte behind the edit may lie behind the
    // text, where the scan looks too (the capacity keeps it in the block).
    auto lineBreakAt = [](int32_t p) { return p >= 0 && (textBuffer[p] == 13 || textBuffer[p] == 10); };
    if (lineBreakAt(at - 1) && lineBreakAt(delta > 0 ? at + delta : at))
        return rebuildEntryIndex();

    // The offsets are ascending: the entries that start behind `at` are
    // found by halving, and only they move.  One that starts at `at` keeps
    // its start, as a rebuild would give it.
    int32_t* const last = entryIndex + entryCount;
    for (int32_t* p = std::upper_bound(entryIndex + 1, last + 1, at); p <= last; ++p)
        *p += delta;
    entryIndex[entryCount + 1] = usedBytes;
    return announceEntryCount(entryCount);
}

int32_t grownSize(int32_t used, int32_t headroom)
{
    const int64_t wanted = int64_t{used} + std::max<int64_t>(headroom, used / 8);
    return wanted < INT32_MAX - 16 ? static_cast<int32_t>(wanted) : used + headroom;
}

bool createEmptyStore()
{
    storeUnavailable = false;
    bufferCapacity = bufferHeadroom;
    usedBytes = 0;
    textBuffer = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(bufferCapacity), 1));
    indexCapacity = indexHeadroom;
    entryIndex = static_cast<int32_t*>(std::calloc(static_cast<size_t>(indexCapacity), sizeof(int32_t)));
    if (!textBuffer || !entryIndex) {
        reportError(captionMain, textNoMemory);
        storeUnavailable = true;
        freeStore();
        host().postQuit();
        return false;
    }
    return true;
}

void ensureStoreCapacity()
{
    if (!textBuffer || !entryIndex)
        return;   // released at shutdown or after a failed allocation
    if (entryCount < indexCapacity - 5 && usedBytes < bufferCapacity - 500)
        return;
    // At least the usual headroom, and an eighth more in a large book: each
    // growth moves the whole text, so it must come rarely while typing.
    if (!resizeTextBuffer(grownSize(usedBytes, bufferHeadroom))) {
        reportError(captionMain, textNoMemory);
        return;
    }
    int32_t newSlots = grownSize(entryCount, indexHeadroom);
    auto* index = static_cast<int32_t*>(reallocateBlock(entryIndex, static_cast<size_t>(newSlots) * sizeof(int32_t)));
    if (!index) {
        reportError(captionMain, textNoMemory);
        return;
    }
    entryIndex = index;
    indexCapacity = newSlots;
}

bool growTextBufferFor(int32_t extra)
{
    if (!resizeTextBuffer(usedBytes + extra + bufferHeadroom)) {
        reportError(captionMain, textNoMemory);
        return false;
    }
    return true;
}

bool resizeTextBuffer(int32_t capacity)
{
    auto* resized = static_cast<unsigned char*>(reallocateBlock(textBuffer, static_cast<size_t>(capacity)));
    if (!resized)
        return false;
    if (capacity > bufferCapacity)
        std::memset(resized + bufferCapacity, 0, static_cast<size_t>(capacity - bufferCapacity));
    textBuffer = resized;
    bufferCapacity = capacity;
    return true;
}

void resetToBlankEntry()
{
    freeStore();
    if (!createEmptyStore())
        return;
    std::memcpy(textBuffer, " \r\n\r\n", 6);
    usedBytes = 5;
    entryCount = rebuildEntryIndex();
}

void freeStore()
{
    std::free(textBuffer);
    std::free(entryIndex);
    textBuffer = nullptr;
    entryIndex = nullptr;
    bufferCapacity = 0;
    usedBytes = 0;
    indexCapacity = 0;
    entryCount = 0;
    storeUnavailable = true;
}

bool growEntryIndexFor(int32_t extra)
{
    const int32_t slots = entryCount + extra + indexHeadroom;
    if (slots <= indexCapacity)
        return true;
    auto* index = static_cast<int32_t*>(reallocateBlock(entryIndex, static_cast<size_t>(slots) * sizeof(int32_t)));
    if (!index) {
        reportError(captionMain, textNoMemory);
        return false;
    }
    entryIndex = index;
    indexCapacity = slots;
    return true;
}

#include "find/sort.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "find/fold.h"
#include "shell/host.h"
#include "shell/texts.h"
#include "shell/title.h"
#include "store/store.h"
#include "views/view_state.h"

bool resortPending = false;

namespace {

constexpr int32_t maxKeyLength = 255;

// Folded sort keys of all entries, stored once so the probe walk compares
// plain byte strings.  The first eight key bytes are also packed big-endian
// into one number (zero-padded), which settles most comparisons at once.
struct SortKeys {
    std::vector<unsigned char> bytes;
    std::vector<int32_t> start;
    std::vector<int32_t> length;
    std::vector<uint64_t> prefix;
};

SortKeys buildKeys()
{
    SortKeys keys;
    keys.start.resize(static_cast<size_t>(entryCount));
    keys.length.resize(static_cast<size_t>(entryCount));
    keys.prefix.resize(static_cast<size_t>(entryCount));
    for (int32_t s = 0; s < entryCount; ++s) {
        const unsigned char* p = textBuffer + entryIndex[s];
        int32_t n = 0;
        while (n < maxKeyLength && p[n] >= 32)
            ++n;
        keys.start[s] = static_cast<int32_t>(keys.bytes.size());
        keys.length[s] = n;
        uint64_t packed = 0;
        for (int32_t i = 0; i < n; ++i) {
            unsigned char folded = sortFold1252[p[i]];
            keys.bytes.push_back(folded);
            if (i < 8)
                packed |= static_cast<uint64_t>(folded) << (56 - 8 * i);
        }
        keys.prefix[s] = packed;
    }
    return keys;
}

// -1 when key a decides before key b, +1 after, 0 when no decision falls:
// equal up to the end of the shorter key (an empty key included).
int compareKeys(const SortKeys& keys, int32_t a, int32_t b)
{
    int32_t common = std::min(keys.length[a], keys.length[b]);
    uint64_t pa = keys.prefix[a];
    uint64_t pb = keys.prefix[b];
    if (pa != pb) {
        int position = __builtin_clzll(pa ^ pb) / 8;
        if (position >= common)
            return 0;
        return pa < pb ? -1 : 1;
    }
    if (common <= 8)
        return 0;
    int result = std::memcmp(keys.bytes.data() + keys.start[a] + 8, keys.bytes.data() + keys.start[b] + 8,
                             static_cast<size_t>(common - 8));
    return (result > 0) - (result < 0);
}

// The probe walk: returns the target slot at which entry s goes in, given
// the entries placed so far and the probe slot left by the previous entry.
int32_t findSlot(const SortKeys& keys, const std::vector<int32_t>& placed, int32_t s, int32_t k)
{
    const int32_t filled = static_cast<int32_t>(placed.size());
    int direction = 0;
    for (;;) {
        if (k >= filled)
            return k;   // the empty slot behind the last entry
        int c = compareKeys(keys, s, placed[k]);
        if (c == 0)
            return k;
        if (c > 0) {
            if (direction == -1)
                return k + 1;
            direction = 1;
            ++k;
        } else {
            if (direction == 1)
                return k;
            if (k == 0)
                return 0;
            direction = -1;
            --k;
        }
    }
}

}  // namespace

void sortEntries()
{
    resortPending = false;
    if (usedBytes < 1)
        return;

    std::vector<int32_t> placed;
    SortKeys keys;
    unsigned char* target = nullptr;
    const int32_t entriesEnd = entryIndex[entryCount];
    try {
        keys = buildKeys();
        placed.reserve(static_cast<size_t>(entryCount));
        target = new unsigned char[static_cast<size_t>(entriesEnd) + 1];
    } catch (const std::bad_alloc&) {
        reportError(captionMain, textNoMemory);
        return;
    }

    countDisplaySuppressed = true;
    if (host().mainWindowExists())
        host().setStatusText(textSortingStatus);

    const int32_t current = currentEntry();
    bool currentPlaced = false;
    int32_t k = 0;
    for (int32_t s = 0; s < entryCount; ++s) {
        k = findSlot(keys, placed, s, k);
        placed.insert(placed.begin() + k, s);
        if (s == current) {
            cursorRow = k;
            currentPlaced = true;
        } else if (currentPlaced && k <= cursorRow) {
            ++cursorRow;
        }
    }

    int32_t at = 0;
    for (int32_t s : placed) {
        std::memcpy(target + at, textBuffer + entryIndex[s], static_cast<size_t>(entryLength(s)));
        at += entryLength(s);
    }
    std::memcpy(textBuffer, target, static_cast<size_t>(entriesEnd));
    delete[] target;

    // Reordering is no change of the data: the modified flag and the title
    // marker stay as they were.
    bool wasModified = dataModified;
    entryCount = rebuildEntryIndex();
    dataModified = wasModified;
    countDisplaySuppressed = false;
    lineTableOwner = -1;

    if (host().mainWindowExists()) {
        host().setTitle(titleText);
        host().setStatusText(entryCountText);
    }

    firstVisibleEntry = 0;
    overviewScrollX = 0;
    host().repaint(ViewId::Overview);
    currentEntryOffset = entryIndex[std::clamp(cursorRow, 0, entryCount)];
    caretLine = 0;
    caretColumn = 0;
    firstVisibleLine = 0;
    dataViewScrollX = 0;
    host().repaint(ViewId::DataView);
}

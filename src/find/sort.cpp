#include "find/sort.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "find/fold.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/title.h"
#include "store/store.h"
#include "views/view_state.h"

bool resortPending = false;

namespace {

constexpr int32_t maxKeyLength = 255;

// The first eight folded key bytes of every entry, packed big-endian into
// one number (zero-padded), settle most comparisons at once; the rest of a
// key is folded from the text only when the first eight bytes agree.
struct SortKeys {
    std::vector<int32_t> length;
    std::vector<uint64_t> prefix;
};

SortKeys buildKeys()
{
    SortKeys keys;
    keys.length.resize(static_cast<size_t>(entryCount));
    keys.prefix.resize(static_cast<size_t>(entryCount));
    for (int32_t s = 0; s < entryCount; ++s) {
        const unsigned char* p = textBuffer + entryIndex[s];
        int32_t n = 0;
        uint64_t packed = 0;
        while (n < maxKeyLength && p[n] >= 32) {
            if (n < 8)
                packed |= static_cast<uint64_t>(sortFold1252[p[n]]) << (56 - 8 * n);
            ++n;
        }
        keys.length[s] = n;
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
    const unsigned char* ka = textBuffer + entryIndex[a];
    const unsigned char* kb = textBuffer + entryIndex[b];
    for (int32_t i = 8; i < common; ++i) {
        unsigned char fa = sortFold1252[ka[i]];
        unsigned char fb = sortFold1252[kb[i]];
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    return 0;
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

// Splits the new order into the shortest runs of slots that hold exactly
// their own entries, so an entry that keeps its place is not copied at all;
// returns [first, last] slot pairs of the runs that do move.
std::vector<std::pair<int32_t, int32_t>> movedStretches(const std::vector<int32_t>& placed)
{
    std::vector<std::pair<int32_t, int32_t>> stretches;
    const int32_t n = static_cast<int32_t>(placed.size());
    for (int32_t i = 0; i < n;) {
        if (placed[i] == i) {
            ++i;
            continue;
        }
        int32_t last = placed[i];
        int32_t j = i;
        while (j < last) {
            ++j;
            last = std::max(last, placed[j]);
        }
        stretches.emplace_back(i, j);
        i = j + 1;
    }
    return stretches;
}

}  // namespace

void sortEntries()
{
    resortPending = false;
    if (usedBytes < 1)
        return;

    std::vector<int32_t> placed;
    SortKeys keys;
    std::vector<int32_t> newIndex;
    try {
        keys = buildKeys();
        placed.reserve(static_cast<size_t>(entryCount));
        newIndex.resize(static_cast<size_t>(entryCount) + 1);
    } catch (const std::bad_alloc&) {
        reportError(captionMain, textNoMemory);
        return;
    }

    countDisplaySuppressed = true;
    if (host().mainWindowExists())
        host().setStatusText(textSortingStatus);

    // The current entry's new row is kept aside until the text has moved:
    // should the work area below be refused, nothing has changed.
    const int32_t current = currentEntry();
    int32_t currentRow = cursorRow;
    bool currentPlaced = false;
    int32_t k = 0;
    for (int32_t s = 0; s < entryCount; ++s) {
        k = findSlot(keys, placed, s, k);
        placed.insert(placed.begin() + k, s);
        if (s == current) {
            currentRow = k;
            currentPlaced = true;
        } else if (currentPlaced && k <= currentRow) {
            ++currentRow;
        }
    }

    // Only stretches whose entries changed places are rewritten, through a
    // work area as large as the largest of them.  Text behind the last
    // entry is not an entry and stays where it is.
    std::vector<std::pair<int32_t, int32_t>> stretches;
    std::vector<unsigned char> work;
    try {
        stretches = movedStretches(placed);
        int32_t largest = 0;
        for (auto [first, last] : stretches)
            largest = std::max(largest, entryIndex[last + 1] - entryIndex[first]);
        work.resize(static_cast<size_t>(largest));
    } catch (const std::bad_alloc&) {
        countDisplaySuppressed = false;
        if (host().mainWindowExists())
            host().setStatusText(entryCountText);
        reportError(captionMain, textNoMemory);
        return;
    }
    cursorRow = currentRow;
    for (auto [first, last] : stretches) {
        int32_t at = 0;
        for (int32_t slot = first; slot <= last; ++slot) {
            int32_t s = placed[slot];
            std::memcpy(work.data() + at, textBuffer + entryIndex[s], static_cast<size_t>(entryLength(s)));
            at += entryLength(s);
        }
        std::memcpy(textBuffer + entryIndex[first], work.data(), static_cast<size_t>(at));
    }

    // The new index follows from the entry lengths; the text need not be
    // scanned again.  Reordering is no change of the data: the modified
    // flag and the title marker stay as they were.
    newIndex[0] = 0;
    for (int32_t slot = 0; slot < entryCount; ++slot)
        newIndex[slot + 1] = newIndex[slot] + entryLength(placed[slot]);
    std::copy(newIndex.begin(), newIndex.end(), entryIndex);
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

#include "files/data_check.h"

#include <cstdlib>
#include <cstring>

#include "host/host.h"
#include "store/store.h"
#include "views/view_state.h"

namespace {

// Entry i is a double when its bytes, separator included, start entry i + 1
// too.  Entry i's first separator is its end, so the match can only be the
// whole of entry i + 1.
bool isDoubleOfNext(int32_t i)
{
    int32_t length = entryLength(i);
    if (entryIndex[i + 1] + length > usedBytes)
        return false;
    return std::memcmp(textBuffer + entryIndex[i], textBuffer + entryIndex[i + 1], static_cast<size_t>(length)) == 0;
}

}  // namespace

void removeDuplicateEntries()
{
    // One pass: every kept entry is moved down once, instead of moving the
    // rest of the buffer once per removed entry.  Removing entry i leaves
    // the boundaries of all other entries as they were, so each entry can
    // be judged against its original successor.
    int32_t write = 0;
    int32_t keptFrom = 0;   // start of the run of kept bytes not yet moved
    for (int32_t i = 0; i + 1 < entryCount; ++i) {
        if (!isDoubleOfNext(i))
            continue;
        int32_t runLength = entryIndex[i] - keptFrom;
        std::memmove(textBuffer + write, textBuffer + keptFrom, static_cast<size_t>(runLength));
        write += runLength;
        keptFrom = entryIndex[i + 1];
    }
    int32_t tail = usedBytes - keptFrom;
    std::memmove(textBuffer + write, textBuffer + keptFrom, static_cast<size_t>(tail));
    // Clear what the text no longer covers: the separator scan looks a few
    // bytes past the end and must not find the old text there.
    std::memset(textBuffer + write + tail, 0, static_cast<size_t>(usedBytes - write - tail));
    usedBytes = write + tail;
    entryCount = rebuildEntryIndex();

    if (!resizeTextBuffer(usedBytes + bufferHeadroom))
        return;
    int32_t slots = entryCount + indexHeadroom;
    if (auto* index = static_cast<int32_t*>(reallocateBlock(entryIndex, static_cast<size_t>(slots) * sizeof(int32_t)))) {
        entryIndex = index;
        indexCapacity = slots;
    }

    resetViewState();
    entryCount = rebuildEntryIndex();
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

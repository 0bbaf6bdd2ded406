#include "store/undo.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "resources/resource.h"
#include "host/host.h"
#include "store/store.h"
#include "sync/sync_result.h"
#include "views/view_state.h"

bool snapshotValid = false;

namespace {

unsigned char* snapshotBuffer = nullptr;
int32_t snapshotCapacity = 0;
int32_t snapshotUsedBytes = 0;
int32_t* snapshotIndex = nullptr;
int32_t snapshotIndexCapacity = 0;
ViewState snapshotView;

void freeSnapshot()
{
    snapshotCapacity = 0;
    snapshotIndexCapacity = 0;
    std::free(snapshotBuffer);
    std::free(snapshotIndex);
    snapshotBuffer = nullptr;
    snapshotIndex = nullptr;
    snapshotValid = false;
}

}  // namespace

void discardSnapshot()
{
    host().enableMenuItem(IDM_UNDO, false);
    freeSnapshot();
    dropSnapshotSyncState();
}

// Keeps the snapshot's blocks while they are large enough: a fresh block of
// the whole text on every keystroke costs far more than the copy itself.
// A new block gets twice the headroom, and an eighth more in a large book,
// so that typing (one byte more per keystroke) goes on reusing it.
static bool reserveSnapshotBlocks()
{
    int32_t bytesNeeded = usedBytes + bufferHeadroom;
    if (!snapshotBuffer || snapshotCapacity < bytesNeeded) {
        std::free(snapshotBuffer);
        int32_t bytes = grownSize(bytesNeeded, bufferHeadroom);
        snapshotBuffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(bytes)));
        snapshotCapacity = snapshotBuffer ? bytes : 0;
        if (!snapshotBuffer)
            return false;
    }
    int32_t slotsNeeded = entryCount + indexHeadroom;
    if (!snapshotIndex || snapshotIndexCapacity < slotsNeeded) {
        std::free(snapshotIndex);
        int32_t slots = grownSize(slotsNeeded, indexHeadroom);
        snapshotIndex = static_cast<int32_t*>(std::malloc(static_cast<size_t>(slots) * sizeof(int32_t)));
        snapshotIndexCapacity = snapshotIndex ? slots : 0;
        if (!snapshotIndex)
            return false;
    }
    return true;
}

void takeSnapshot()
{
    if (snapshotValid) {
        host().enableMenuItem(IDM_UNDO, false);
        snapshotValid = false;
    }
    if (!textBuffer || !entryIndex)
        return;
    if (!reserveSnapshotBlocks()) {
        freeSnapshot();
        return;
    }
    std::memcpy(snapshotBuffer, textBuffer, static_cast<size_t>(usedBytes));
    // Undo makes this block the text buffer: everything behind the text must
    // be zero, or a later insertion would bring an older, longer text's
    // bytes within reach of the separator scan.
    std::memset(snapshotBuffer + usedBytes, 0, static_cast<size_t>(snapshotCapacity - usedBytes));
    std::memcpy(snapshotIndex, entryIndex, static_cast<size_t>(entryCount + 2) * sizeof(int32_t));

    host().enableMenuItem(IDM_UNDO, true);
    snapshotUsedBytes = usedBytes;
    snapshotView = captureViewState();
    snapshotValid = true;
    syncStateIntoSnapshot();
}

void undo()
{
    if (!snapshotValid)
        return;
    std::swap(textBuffer, snapshotBuffer);
    std::swap(usedBytes, snapshotUsedBytes);
    std::swap(bufferCapacity, snapshotCapacity);
    std::swap(entryIndex, snapshotIndex);
    std::swap(indexCapacity, snapshotIndexCapacity);
    syncStateSwapWithSnapshot();

    ViewState current = captureViewState();
    const bool dataView = snapshotView.activeView == ActiveView::DataView ||
                          snapshotView.activeView == ActiveView::LostDataView;
    host().makeViewActive(dataView ? ViewId::DataView : ViewId::Overview);
    entryCount = rebuildEntryIndex();
    applyViewState(snapshotView);
    // The snapshot says which view was active; whether the focus is in the
    // program is today's state.  A snapshot taken while the focus was away
    // (a drop from another program) must not leave the keys shut out now.
    const bool focusAway = current.activeView == ActiveView::LostOverview ||
                           current.activeView == ActiveView::LostDataView;
    if (dataView)
        activeView = focusAway ? ActiveView::LostDataView : ActiveView::DataView;
    else
        activeView = focusAway ? ActiveView::LostOverview : ActiveView::Overview;
    snapshotView = current;
    lineTableOwner = -1;
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

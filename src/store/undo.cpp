#include "store/undo.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "resources/resource.h"
#include "shell/host.h"
#include "store/store.h"
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
}

void takeSnapshot()
{
    if (snapshotValid)
        discardSnapshot();
    if (!textBuffer || !entryIndex)
        return;

    snapshotCapacity = usedBytes + bufferHeadroom;
    snapshotBuffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(snapshotCapacity)));
    if (!snapshotBuffer)
        return;
    std::memcpy(snapshotBuffer, textBuffer, static_cast<size_t>(usedBytes));
    // The separator scan may look three bytes past the text.
    std::memset(snapshotBuffer + usedBytes, 0, static_cast<size_t>(bufferHeadroom));

    snapshotIndexCapacity = entryCount + indexHeadroom;
    snapshotIndex = static_cast<int32_t*>(std::malloc(static_cast<size_t>(snapshotIndexCapacity) * sizeof(int32_t)));
    if (!snapshotIndex) {
        freeSnapshot();
        return;
    }
    std::memcpy(snapshotIndex, entryIndex, static_cast<size_t>(entryCount + 2) * sizeof(int32_t));

    host().enableMenuItem(IDM_UNDO, true);
    snapshotUsedBytes = usedBytes;
    snapshotView = captureViewState();
    snapshotValid = true;
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

    ViewState current = captureViewState();
    host().makeViewActive(snapshotView.activeView == ActiveView::DataView ||
                                  snapshotView.activeView == ActiveView::LostDataView
                              ? ViewId::DataView
                              : ViewId::Overview);
    entryCount = rebuildEntryIndex();
    applyViewState(snapshotView);
    snapshotView = current;
    lineTableOwner = -1;
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

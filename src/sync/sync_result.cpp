#include "sync/sync_result.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include "files/safe_write.h"
#include "find/sort.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/title.h"
#include "store/store.h"
#include "store/undo.h"
#include "views/view_state.h"

namespace {

constexpr const char* textStateNotSaved =
    "The address book was saved, but its synchronisation state could not be written:\n";

// The state of the store's text and the state of the snapshot's text; an
// empty optional means the file's own state is the one that applies.
std::optional<std::string> heldState;
std::optional<std::string> snapshotState;

// Puts text in place of the store's text; false when the buffer cannot grow.
bool replaceStoreText(std::string_view text)
{
    const auto length = static_cast<int32_t>(text.size());
    if (length > usedBytes && !growTextBufferFor(length - usedBytes))
        return false;
    const int32_t oldLength = usedBytes;
    std::memcpy(textBuffer, text.data(), text.size());
    // The separator scan looks a few bytes past the text: none of the old
    // text may be left there.
    if (oldLength > length)
        std::memset(textBuffer + length, 0, static_cast<size_t>(oldLength - length));
    usedBytes = length;
    entryCount = rebuildEntryIndex();
    ensureStoreCapacity();
    return true;
}

}  // namespace

std::string syncStatePath(const char* bookPath)
{
    return std::string(bookPath) + ".sync";
}

std::string syncStateOnDisk(const char* bookPath)
{
    std::string bytes;
    if (std::FILE* file = std::fopen(syncStatePath(bookPath).c_str(), "rb")) {
        char chunk[16384];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            bytes.append(chunk, n);
        std::fclose(file);
    }
    return bytes;
}

std::string currentSyncState(const char* bookPath)
{
    return heldState ? *heldState : syncStateOnDisk(bookPath);
}

bool takeSyncResult(std::string_view bookText, std::string stateText)
{
    if (!textBuffer || !entryIndex)
        return false;
    takeSnapshot();
    // A book with no entry left is one blank entry, as after the last
    // entry was deleted by hand.
    if (!replaceStoreText(bookText.empty() ? std::string_view(" \r\n\r\n") : bookText))
        return false;
    heldState = std::move(stateText);
    resetViewState();
    host().makeViewActive(ViewId::Overview);
    sortEntries();
    setTitleMarker('*');
    dataModified = true;
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
    return true;
}

const std::string* heldSyncState()
{
    return heldState ? &*heldState : nullptr;
}

bool saveHeldSyncState(const char* bookPath)
{
    if (!heldState)
        return true;
    const std::string path = syncStatePath(bookPath);
    if (!writeFileSafely(path.c_str(), heldState->data(), heldState->size())) {
        reportError(captionMain, (textStateNotSaved + path).c_str());
        return false;
    }
    heldState.reset();
    return true;
}

void changeHeldSyncStates(const std::function<std::string(std::string_view)>& change)
{
    for (std::optional<std::string>* state : {&heldState, &snapshotState})
        if (*state)
            **state = change(**state);
}

void syncStateIntoSnapshot()
{
    snapshotState = heldState;
}

void syncStateSwapWithSnapshot()
{
    std::swap(heldState, snapshotState);
}

void dropSnapshotSyncState()
{
    snapshotState.reset();
}

void dropHeldSyncState()
{
    heldState.reset();
    snapshotState.reset();
}

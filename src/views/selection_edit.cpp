#include "views/selection_edit.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "find/sort.h"
#include "resources/resource.h"
#include "host/host.h"
#include "host/texts.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "store/undo.h"
#include "views/line_table.h"
#include "views/activation.h"
#include "views/overview_rules.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

namespace {

constexpr const char* textReallyDeleteEntry = "Really delete this entry?";
constexpr const char* textReallyDeleteEntries = "Really delete these entries?";

void enableCopyAndCut(bool enabled)
{
    host().enableMenuItem(IDM_COPY, enabled);
    host().enableMenuItem(IDM_CUT, enabled);
}

// Removes the bytes [from, to) of the text buffer.
void removeBytes(int32_t from, int32_t to)
{
    from = std::clamp(from, 0, usedBytes);
    to = std::clamp(to, from, usedBytes);
    std::memmove(textBuffer + from, textBuffer + to, static_cast<size_t>(usedBytes - to));
    usedBytes -= to - from;
    // The separator scan reads a few bytes past the text.
    std::memset(textBuffer + usedBytes, 0, static_cast<size_t>(to - from));
}

// Opens a gap of n bytes at offset; false when the buffer cannot grow.
bool insertGap(int32_t offset, int32_t n)
{
    if (usedBytes + n + 4 > bufferCapacity && !growTextBufferFor(n))
        return false;
    std::memmove(textBuffer + offset + n, textBuffer + offset, static_cast<size_t>(usedBytes - offset));
    usedBytes += n;
    return true;
}

// Selected text as buffer offsets; false when the line table does not
// hold the selection's lines.
bool selectionBytes(int32_t& from, int32_t& to)
{
    int32_t start = lineStart(selStartLine);
    int32_t end = lineStart(selEndLine);
    if (!selectionActive || start < 0 || end < 0)
        return false;
    // The caret keeps its column on shorter lines: a selection end beyond
    // the text of its line stands at the line's end, never in the line end.
    from = std::clamp(start + std::min(selStartColumn, lineLength(selStartLine)), 0, usedBytes);
    to = std::clamp(end + std::min(selEndColumn, lineLength(selEndLine)), from, usedBytes);
    return true;
}

bool markedBytes(int32_t& from, int32_t& to)
{
    if (!markActive || entryCount < 1)
        return false;
    int32_t first = std::clamp(markFirst, 0, entryCount - 1);
    int32_t last = std::clamp(markLast, first, entryCount - 1);
    from = entryIndex[first];
    to = entryIndex[last + 1];
    return true;
}

// The store emptied by a deletion starts again as one blank entry, with
// the views where New leaves them.
void restartWithBlankEntry()
{
    resetViewState();
    resetToBlankEntry();
    activateDataView();
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

}  // namespace

void deleteSelection(bool keep)
{
    int32_t from = 0, to = 0;
    const bool found = selectionBytes(from, to);
    const int32_t startLine = selStartLine;
    selectionActive = false;
    selAnchorLine = selAnchorColumn = -1;
    if (!markActive)
        enableCopyAndCut(false);
    if (!found)
        return;
    caretLine = selStartLine;
    caretColumn = selStartColumn;
    {
        UiBusyScope busy;
        removeBytes(from, to);
        // A line emptied from its first column would end the entry: it keeps a blank.
        if (caretColumn == 0 && from < usedBytes && textBuffer[from] == '\r' && insertGap(from, 1))
            textBuffer[from] = ' ';
        entryCount = rebuildEntryIndex();
        resortPending = true;
        lineTableOwner = -1;
    }
    if (!keep) {
        host().repaint(ViewId::DataView);
        if (startLine == 0)
            host().repaint(ViewId::Overview);
    }
}

void deleteMarkedEntries()
{
    int32_t from = 0, to = 0;
    const bool found = markedBytes(from, to);
    const int32_t first = std::clamp(markFirst, 0, std::max(entryCount - 1, 0));
    markActive = false;
    markAnchor = -1;
    if (!selectionActive)
        enableCopyAndCut(false);
    if (!found)
        return;
    {
        UiBusyScope busy;
        removeBytes(from, to);
        // The entry that followed the block becomes current; a block that
        // began above the top row scrolls the list up to it.
        entryCount = rebuildEntryIndex();
        const int32_t current = std::min(first, std::max(entryCount - 1, 0));
        if (current < firstVisibleEntry)
            firstVisibleEntry = current;
        cursorRow = current - firstVisibleEntry;
        lineTableOwner = -1;
        resortPending = true;
    }
    if (usedBytes == 0) {
        restartWithBlankEntry();
        return;
    }
    host().repaint(ViewId::Overview);
    showCurrentEntry();
}

void deleteEntriesAfterQuestion()
{
    takeSnapshot();
    if (!markActive) {
        if (entryCount < 1 || !host().askYesNo(captionMain, textReallyDeleteEntry, false))
            return;
        markFirst = markLast = std::min(currentEntry(), entryCount - 1);
        markActive = true;
        deleteMarkedEntries();
        return;
    }
    if (host().askYesNo(captionMain, textReallyDeleteEntries, false))
        deleteMarkedEntries();
}

void newEntry()
{
    takeSnapshot();
    const int32_t current = std::clamp(currentEntry(), 0, std::max(entryCount, 0));
    const int32_t offset = entryIndex ? entryIndex[current] : 0;
    {
        UiBusyScope busy;
        if (!insertGap(offset, 5))
            return;
        std::memcpy(textBuffer + offset, " \r\n\r\n", 5);
        clearSelectionAndMarks();
        currentEntryOffset = offset;
        caretLine = caretColumn = 0;
        overviewScrollX = dataViewScrollX = firstVisibleLine = 0;
        entryCount = rebuildEntryIndex();
        lineTableOwner = -1;
    }
    activateDataView();
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);
}

void selectAll()
{
    if (activeView == ActiveView::DataView) {
        // The lines are those of the shown entry.
        buildLineTable(1, currentEntryOffset, firstVisibleLine);
        if (lineCount < 1)
            return;
        selectionActive = true;
        enableCopyAndCut(true);
        selStartLine = selStartColumn = 0;
        selEndLine = lineCount - 1;
        selEndColumn = lineLength(selEndLine);
        selAnchorLine = selEndLine;
        selAnchorColumn = selEndColumn;
        caretLine = caretColumn = 0;
        firstVisibleLine = dataViewScrollX = 0;
        host().repaint(ViewId::DataView);
    } else if (activeView == ActiveView::Overview) {
        if (entryCount < 1)
            return;
        if (typeAheadLength > 0)
            endTypeAhead();
        markActive = true;
        enableCopyAndCut(true);
        markFirst = 0;
        markLast = markAnchor = entryCount - 1;
        cursorRow = firstVisibleEntry = overviewScrollX = 0;
        host().repaint(ViewId::Overview);
        showCurrentEntry();
    }
}

std::string copyText()
{
    int32_t from = 0, to = 0;
    bool found = false;
    if (activeView == ActiveView::DataView)
        found = selectionBytes(from, to);
    else if (activeView == ActiveView::Overview)
        found = markedBytes(from, to);
    if (!found)
        return {};
    return std::string(reinterpret_cast<const char*>(textBuffer + from), static_cast<size_t>(to - from));
}

bool removeCutText()
{
    if (activeView == ActiveView::DataView && selectionActive) {
        takeSnapshot();
        deleteSelection(false);
        return true;
    }
    if (activeView == ActiveView::Overview && markActive) {
        takeSnapshot();
        deleteMarkedEntries();
        return true;
    }
    return false;
}

#include "transfer/drop_text.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "transfer/paste_text.h"
#include "store/store.h"
#include "store/undo.h"
#include "views/activation.h"
#include "views/line_table.h"
#include "views/selection_edit.h"
#include "views/view_state.h"

DragOrigin dragSourceWindow = DragOrigin::None;
std::string dragBuffer;

namespace {

bool before(DropPosition a, DropPosition b)
{
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// The drop goes to the caret: the Data view lays the current entry out
// first, so that the caret's line exists.
void putCaretAt(DropPosition at)
{
    if (lineTableOwner != currentEntryOffset)
        buildLineTable(1, currentEntryOffset, firstVisibleLine);
    caretLine = std::clamp(at.line, 0, std::max(lineCount - 1, 0));
    caretColumn = std::clamp(at.column, 0, lineLength(caretLine));
}

void insertAndFinish(const std::string& prepared)
{
    activateDataView();
    if (!prepared.empty())
        insertPasteText(prepared);
    finishPaste();
}

}  // namespace

bool ownDragRunning()
{
    return !dragBuffer.empty() && dragBuffer[0] != 0;
}

std::string dragText(DragOrigin origin)
{
    // The view's block is what Copy takes from it while it is active.
    const ActiveView saved = activeView;
    activeView = origin == DragOrigin::Overview ? ActiveView::Overview : ActiveView::DataView;
    std::string text;
    if (origin != DragOrigin::None) {
        if (origin == DragOrigin::DataView && lineTableOwner != currentEntryOffset)
            buildLineTable(1, currentEntryOffset, firstVisibleLine);
        text = copyText();
    }
    activeView = saved;
    return text;
}

uint32_t chooseDropEffect(bool files, bool control, bool shift, DragOrigin origin, uint32_t allowed)
{
    uint32_t effect = dropCopy;
    if (files || control)
        effect = dropCopy;
    else if (shift)
        effect = dropMove;
    else
        effect = origin == DragOrigin::DataView ? dropMove : dropCopy;
    if (effect & allowed)
        return effect;
    return (allowed & dropCopy) ? dropCopy : dropNone;
}

bool insideSelection(DropPosition at)
{
    return selectionActive && !before(at, {selStartLine, selStartColumn}) && !before({selEndLine, selEndColumn}, at);
}

void dropTextAt(const char* text, DropPosition at, bool moveFromOwnDataView)
{
    takeSnapshot();
    putCaretAt(at);
    const bool move = moveFromOwnDataView && selectionActive;
    const bool dropBeforeBlock = move && before(at, {selStartLine, selStartColumn});
    if (dropBeforeBlock) {
        // Removed first, while the drop position before it is still valid;
        // the starting view then finds no selection left to remove.
        deleteSelection(true);
        putCaretAt(at);
        selStartColumn = selEndColumn = -1;
    }
    // A block before the drop position keeps its lines and columns when
    // text goes in behind it: the starting view removes it afterwards.
    const int32_t startLine = selStartLine, startColumn = selStartColumn, endLine = selEndLine,
                  endColumn = selEndColumn, anchorLine = selAnchorLine, anchorColumn = selAnchorColumn;
    std::string prepared;
    if (text) {
        try {
            prepared = preparePasteText(text, std::strlen(text));
        } catch (const std::bad_alloc&) {
            prepared.clear();   // no room for the work copy: nothing is dropped
        }
    }
    insertAndFinish(prepared);
    if (move && !dropBeforeBlock) {
        // Laid out for the changed text first: a new layout drops the selection.
        if (lineTableOwner != currentEntryOffset)
            buildLineTable(1, currentEntryOffset, firstVisibleLine);
        selectionActive = true;
        selStartLine = startLine;
        selStartColumn = startColumn;
        selEndLine = endLine;
        selEndColumn = endColumn;
        selAnchorLine = anchorLine;
        selAnchorColumn = anchorColumn;
    }
}

std::string droppedFileText(const char* name)
{
    std::string text = "\"";
    for (const char* p = name; *p; ++p)
        text += static_cast<unsigned char>(*p) < 32 ? ' ' : *p;
    text += '"';
    return text;
}

void dropFileAt(const char* name, DropPosition at)
{
    takeSnapshot();
    putCaretAt(at);
    std::string text;
    try {
        text = droppedFileText(name);
    } catch (const std::bad_alloc&) {
        text.clear();
    }
    insertAndFinish(text);
}

void removeMovedText(DragOrigin origin)
{
    const bool dropTookSnapshot = !dragBuffer.empty() && dragBuffer[0] == dropMarker;
    if (origin == DragOrigin::Overview) {
        if (!markActive)
            return;
        if (!dropTookSnapshot)
            takeSnapshot();
        deleteMarkedEntries();
        return;
    }
    if (origin != DragOrigin::DataView || !selectionActive)
        return;
    if (!dropTookSnapshot)
        takeSnapshot();
    if (lineTableOwner != currentEntryOffset)
        buildLineTable(1, currentEntryOffset, firstVisibleLine);
    // The drop went behind the selection: the caret stands behind the
    // dropped text and moves up by the line breaks removed before it.
    const int32_t line = std::max(caretLine - (selEndLine - selStartLine), 0);
    const int32_t column = caretColumn;
    deleteSelection(true);
    caretLine = line;
    caretColumn = column;
}

void endDrag()
{
    if (!dragBuffer.empty())
        dragBuffer[0] = 0;
    dragSourceWindow = DragOrigin::None;
}

#include "find/search.h"

#include <algorithm>

#include "host/host.h"
#include "host/texts.h"
#include "resources/resource.h"
#include "store/store.h"
#include "views/activation.h"
#include "views/line_table.h"
#include "views/record_editor.h"
#include "views/view_state.h"

char searchText[52];
int searchDirection = 3;
int searchFold = 1;

namespace {

constexpr const char* textSearchingStatus = "Suchen...";

void showHit(int32_t e, int32_t hit, int32_t length, int direction)
{
    if (activeView == ActiveView::Overview)
        activateDataView();
    makeCurrentEntry(e);
    host().repaint(ViewId::Overview);
    host().repaint(ViewId::DataView);

    int32_t line = 0, column = 0;
    lineAndColumnOf(e, hit, line, column);
    caretLine = selStartLine = selEndLine = line;
    selStartColumn = column;
    selEndColumn = column + length;
    // Downward the caret goes behind the hit so that the next search moves
    // on; upward it stays on the first character, which the next upward
    // search steps off first.
    caretColumn = direction == 1 || direction == 3 ? column + length : column;
    selAnchorLine = caretLine;
    selAnchorColumn = caretColumn;
    selectionActive = true;
    host().enableMenuItem(IDM_COPY, true);
    host().enableMenuItem(IDM_CUT, true);
    host().repaint(ViewId::DataView);
    editorScreen.caretIntoView();
}

}  // namespace

int32_t dataViewCaretOffset()
{
    if (lineTableOwner != currentEntryOffset || !lineStarts)
        buildLineTable(1, currentEntryOffset, firstVisibleLine);
    const int32_t start = lineStart(caretLine);
    if (start < 0)
        return std::clamp(currentEntryOffset, 0, usedBytes);
    return std::clamp(start + std::min(caretColumn, lineLength(caretLine)), 0, usedBytes);
}

int32_t entryOfOffset(int32_t offset)
{
    if (entryCount < 1)
        return 0;
    const int32_t* past = std::upper_bound(entryIndex, entryIndex + entryCount, offset);
    return std::max(static_cast<int32_t>(past - entryIndex) - 1, 0);
}

void lineAndColumnOf(int32_t e, int32_t offset, int32_t& line, int32_t& column)
{
    line = column = 0;
    for (int32_t p = entryCount > 0 ? entryIndex[e] : 0; p < offset; ++p) {
        if (textBuffer[p] == '\r') {
            ++line;
            column = 0;
        } else if (textBuffer[p] >= 32) {
            ++column;
        }
    }
}

int32_t findInData(const TextPattern& pattern, int direction, int32_t caret)
{
    const int32_t used = usedBytes;
    switch (direction) {
    case 0:
        return findLast(pattern, textBuffer, used, 0, caret);
    case 1:
        return findFirst(pattern, textBuffer, used, caret, used);
    case 2: {
        // Back from the byte before the caret to the start, then from the
        // end back to the caret, which is tested last.
        const int32_t hit = findLast(pattern, textBuffer, used, 0, caret);
        return hit >= 0 ? hit : findLast(pattern, textBuffer, used, caret, used);
    }
    default: {
        // From the caret to the end, then from the start up to the byte
        // before the caret.
        const int32_t hit = findFirst(pattern, textBuffer, used, caret, used);
        return hit >= 0 ? hit : findFirst(pattern, textBuffer, used, 0, caret);
    }
    }
}

void makeCurrentEntry(int32_t e)
{
    clearSelectionAndMarks();
    firstVisibleEntry = 0;
    cursorRow = e;
    caretLine = caretColumn = 0;
    firstVisibleLine = dataViewScrollX = 0;
    currentEntryOffset = entryCount > 0 ? entryIndex[e] : 0;
    // Laid out now: a later layout for a new entry would drop the selection.
    buildLineTable(1, currentEntryOffset, 0);
}

void searchNext()
{
    if (searchText[0] == 0) {
        host().beep();
        host().showInfo(captionMain, textNoSearchText);
        host().setStatusText(entryCountText);
        return;
    }
    if (host().mainWindowExists())
        host().setStatusText(textSearchingStatus);
    const TextPattern pattern = makePattern(searchText, searchFold);
    const int32_t hit = findInData(pattern, searchDirection, dataViewCaretOffset());
    if (hit < 0) {
        host().beep();
        host().showInfo(captionMain, textNothingFound);
    } else {
        showHit(entryOfOffset(hit), hit, pattern.length, searchDirection);
    }
    if (host().mainWindowExists())
        host().setStatusText(entryCountText);
}

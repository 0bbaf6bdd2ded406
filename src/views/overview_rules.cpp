#include "views/overview_rules.h"

#include <algorithm>

#include "resources/resource.h"
#include "host/host.h"
#include "store/store.h"
#include "views/type_ahead.h"
#include "views/view_state.h"

int32_t overviewRowCount = 0;
bool mouseHeld = false;
char overviewRowText[overviewRowSlots][rowTextSize];

void entryHeading(int32_t e, char* text256)
{
    int32_t n = 0;
    if (e >= 0 && e < entryCount) {
        const unsigned char* line = textBuffer + entryIndex[e];
        while (n < rowTextSize - 1 && line[n] >= 32) {
            text256[n] = static_cast<char>(line[n]);
            ++n;
        }
    }
    text256[n] = 0;
}

void fillOverviewRows(int32_t n, int32_t first)
{
    n = std::clamp(n, 0, overviewRowSlots);
    for (int32_t i = 0; i < n; ++i)
        entryHeading(first + i, overviewRowText[i]);
}

bool clampOverviewState(int32_t clientWidth, int32_t textWidth)
{
    const int32_t before = currentEntry();
    const int32_t rows = overviewRowCount;

    overviewScrollX = std::max(std::min(overviewScrollX, textWidth - clientWidth), 0);

    // The cursor behind the last entry goes onto the last entry.
    if (currentEntry() >= entryCount)
        cursorRow = std::max(entryCount - firstVisibleEntry - 1, 0);

    // The cursor below the rows: the list scrolls and the entry stays current.
    const int32_t lowestRow = std::max(rows - 2, 0);
    if (cursorRow > lowestRow) {
        firstVisibleEntry += cursorRow - lowestRow;
        cursorRow = lowestRow;
    }

    // Empty rows at the bottom while entries lie above the top row: the list
    // comes down and the cursor stays on its entry.
    const int32_t highestTop = std::max(entryCount - rows + 1, 0);
    if (firstVisibleEntry > highestTop) {
        cursorRow += firstVisibleEntry - highestTop;
        firstVisibleEntry = highestTop;
        if (currentEntry() >= entryCount)
            cursorRow = entryCount - firstVisibleEntry - 1;
        cursorRow = std::max(cursorRow, 0);
    }
    return currentEntry() != before;
}

void showCurrentEntry()
{
    if (entryIndex && entryCount > 0)
        currentEntryOffset = entryIndex[std::clamp(currentEntry(), 0, entryCount - 1)];
    else
        currentEntryOffset = 0;
    caretLine = 0;
    caretColumn = 0;
    firstVisibleLine = 0;
    dataViewScrollX = 0;
    host().repaint(ViewId::DataView);
}

int32_t rowFromPointer(int32_t y, int32_t captionHeight, int32_t pitch)
{
    int32_t row = pitch > 0 ? (y - captionHeight) / pitch : 0;
    if (row >= overviewRowCount - 1)
        row = row - 1;
    if (firstVisibleEntry + row >= entryCount - 1)
        row = entryCount - firstVisibleEntry - 1;
    return std::max(row, 0);
}

namespace {

void enableCopyAndCut(bool enabled)
{
    host().enableMenuItem(IDM_COPY, enabled);
    host().enableMenuItem(IDM_CUT, enabled);
}

// Common start of the navigation keys: the type-ahead ends, and Shift
// starts a marked block at the current entry or its absence drops the
// block.  True when the list must be painted in full.
bool startMove(bool shift)
{
    if (typeAheadLength > 0)
        endTypeAhead();
    if (shift) {
        if (!markActive) {
            markActive = true;
            enableCopyAndCut(true);
            markAnchor = currentEntry();
        }
        return true;
    }
    markAnchor = -1;
    if (markActive) {
        markActive = false;
        enableCopyAndCut(false);
        return true;
    }
    return false;
}

void finishMove(bool shift)
{
    const int32_t current = currentEntry();
    if (shift) {
        if (markAnchor < 0)
            markAnchor = current;
        markFirst = std::min(markAnchor, current);
        markLast = std::max(markAnchor, current);
    } else {
        markFirst = markLast = current;
    }
    showCurrentEntry();
}

// Rows one page moves; the cursor keeps its row and the last whole row
// stays free.
int32_t pageRows()
{
    return std::max(overviewRowCount - 2, 0);
}

}  // namespace

OverviewRedraw overviewUp(bool shift)
{
    bool full = startMove(shift);
    --cursorRow;
    if (cursorRow < 0 && firstVisibleEntry > 0) {
        --firstVisibleEntry;
        ++cursorRow;
        full = true;
    }
    cursorRow = std::max(cursorRow, 0);
    firstVisibleEntry = std::max(firstVisibleEntry, 0);
    finishMove(shift);
    return full ? OverviewRedraw::Full : OverviewRedraw::MoveBar;
}

OverviewRedraw overviewDown(bool shift)
{
    if (typeAheadLength > 0)
        endTypeAhead();
    if (cursorRow >= overviewRowCount - 1 || firstVisibleEntry >= entryCount)
        return OverviewRedraw::None;
    bool full = startMove(shift);
    if (currentEntry() + 1 < entryCount)
        ++cursorRow;
    if (cursorRow >= overviewRowCount - 1) {
        // The cursor reached the last whole row: the list scrolls instead.
        --cursorRow;
        if (firstVisibleEntry + overviewRowCount - 2 < entryCount)
            ++firstVisibleEntry;
        full = true;
    }
    finishMove(shift);
    return full ? OverviewRedraw::Full : OverviewRedraw::MoveBar;
}

OverviewRedraw overviewPageUp(bool shift)
{
    startMove(shift);
    firstVisibleEntry = std::max(firstVisibleEntry - pageRows(), 0);
    finishMove(shift);
    return OverviewRedraw::Full;
}

OverviewRedraw overviewPageDown(bool shift)
{
    startMove(shift);
    if (firstVisibleEntry + pageRows() < entryCount)
        firstVisibleEntry += pageRows();
    firstVisibleEntry = std::max(std::min(firstVisibleEntry, entryCount - overviewRowCount + 1), 0);
    while (cursorRow > 0 && currentEntry() >= entryCount)
        --cursorRow;
    finishMove(shift);
    return OverviewRedraw::Full;
}

OverviewRedraw overviewFirstEntry(bool shift)
{
    startMove(shift);
    firstVisibleEntry = 0;
    cursorRow = 0;
    overviewScrollX = 0;
    finishMove(shift);
    return OverviewRedraw::Full;
}

OverviewRedraw overviewLastEntry(bool shift)
{
    startMove(shift);
    firstVisibleEntry = std::max(entryCount - overviewRowCount + 1, 0);
    cursorRow = pageRows();
    // Fewer entries than rows: the cursor goes onto the last entry, as the
    // paint would put it.
    cursorRow = std::max(std::min(cursorRow, entryCount - firstVisibleEntry - 1), 0);
    overviewScrollX = 0;
    finishMove(shift);
    return OverviewRedraw::Full;
}

namespace {

int32_t clampScroll(int32_t x, int32_t clientWidth, int32_t textWidth)
{
    return std::max(std::min(x, textWidth - clientWidth), 0);
}

}  // namespace

bool overviewScrollLeft(bool shift, int32_t clientWidth)
{
    if (typeAheadLength > 0)
        endTypeAhead();
    const int32_t before = overviewScrollX;
    overviewScrollX = shift ? 0 : std::max(overviewScrollX - clientWidth / 4, 0);
    return overviewScrollX != before;
}

bool overviewScrollRight(bool shift, int32_t clientWidth, int32_t textWidth, int32_t rowWidth)
{
    if (typeAheadLength > 0)
        endTypeAhead();
    if (overviewScrollX >= textWidth - clientWidth)
        return false;
    const int32_t before = overviewScrollX;
    // With Shift the end of the current heading comes to the right edge.
    int32_t x = shift ? std::max(rowWidth - clientWidth + 1, 0) : overviewScrollX + clientWidth / 4;
    overviewScrollX = clampScroll(x, clientWidth, textWidth);
    return overviewScrollX != before;
}

bool overviewScrollHome()
{
    if (typeAheadLength > 0)
        endTypeAhead();
    const int32_t before = overviewScrollX;
    overviewScrollX = 0;
    showCurrentEntry();
    return overviewScrollX != before;
}

bool overviewScrollEnd(int32_t clientWidth, int32_t textWidth, int32_t rowWidth)
{
    if (typeAheadLength > 0)
        endTypeAhead();
    const int32_t before = overviewScrollX;
    if (overviewScrollX < textWidth - clientWidth)
        overviewScrollX = clampScroll(rowWidth - clientWidth + 1, clientWidth, textWidth);
    showCurrentEntry();
    return overviewScrollX != before;
}

#include "views/view_state.h"

#include "resources/resource.h"
#include "host/host.h"

int32_t firstVisibleEntry = 0;
int32_t cursorRow = 0;
int32_t overviewScrollX = 0;

int32_t currentEntryOffset = 0;
int32_t lineTableOwner = -1;
int32_t caretLine = 0;
int32_t caretColumn = 0;
int32_t firstVisibleLine = 0;
int32_t dataViewScrollX = 0;

bool selectionActive = false;
int32_t selStartLine = 0, selStartColumn = 0;
int32_t selEndLine = 0, selEndColumn = 0;
int32_t selAnchorLine = -1, selAnchorColumn = -1;

bool markActive = false;
int32_t markFirst = 0, markLast = 0;
int32_t markAnchor = -1;

ActiveView activeView = ActiveView::Overview;

ViewState captureViewState()
{
    return {firstVisibleEntry, cursorRow,      overviewScrollX, currentEntryOffset, caretLine,
            caretColumn,       firstVisibleLine, dataViewScrollX, selectionActive,  selStartLine,
            selStartColumn,    selEndLine,     selEndColumn,    selAnchorLine,      selAnchorColumn,
            markActive,        markFirst,      markLast,        markAnchor,         activeView};
}

void applyViewState(const ViewState& s)
{
    firstVisibleEntry = s.firstVisibleEntry;
    cursorRow = s.cursorRow;
    overviewScrollX = s.overviewScrollX;
    currentEntryOffset = s.currentEntryOffset;
    caretLine = s.caretLine;
    caretColumn = s.caretColumn;
    firstVisibleLine = s.firstVisibleLine;
    dataViewScrollX = s.dataViewScrollX;
    selectionActive = s.selectionActive;
    selStartLine = s.selStartLine;
    selStartColumn = s.selStartColumn;
    selEndLine = s.selEndLine;
    selEndColumn = s.selEndColumn;
    selAnchorLine = s.selAnchorLine;
    selAnchorColumn = s.selAnchorColumn;
    markActive = s.markActive;
    markFirst = s.markFirst;
    markLast = s.markLast;
    markAnchor = s.markAnchor;
    activeView = s.activeView;
}

void clearSelectionAndMarks()
{
    selectionActive = false;
    selStartLine = selStartColumn = 0;
    selEndLine = selEndColumn = 0;
    selAnchorLine = selAnchorColumn = -1;
    markActive = false;
    markFirst = markLast = 0;
    markAnchor = -1;
    host().enableMenuItem(IDM_COPY, false);
    host().enableMenuItem(IDM_CUT, false);
}

void resetViewState()
{
    firstVisibleEntry = 0;
    cursorRow = 0;
    overviewScrollX = 0;
    currentEntryOffset = 0;
    caretLine = 0;
    caretColumn = 0;
    firstVisibleLine = 0;
    dataViewScrollX = 0;
    lineTableOwner = -1;
    clearSelectionAndMarks();
}

// Where the two views stand: the Overview's rows and marked entries, the
// Data view's caret, scroll position and text selection.  Saved whole by the
// undo snapshot and reset whenever the store is replaced.
#pragma once

#include <cstdint>

// Overview
extern int32_t firstVisibleEntry;
extern int32_t cursorRow;
extern int32_t overviewScrollX;

// Data view
extern int32_t currentEntryOffset;
extern int32_t lineTableOwner;   // -1 forces the line table to be rebuilt
extern int32_t caretLine;
extern int32_t caretColumn;
extern int32_t firstVisibleLine;
extern int32_t dataViewScrollX;

// Text selection in the Data view
extern bool selectionActive;
extern int32_t selStartLine, selStartColumn;
extern int32_t selEndLine, selEndColumn;
extern int32_t selAnchorLine, selAnchorColumn;

// Marked entries in the Overview
extern bool markActive;
extern int32_t markFirst, markLast;
extern int32_t markAnchor;

// The child window that gets the keys.  While the main window has lost the
// focus to another program it remembers which view was active.
enum class ActiveView : int32_t {
    Overview,
    DataView,
    LostOverview,   // the Overview was active
    LostDataView,   // the Data view was active
};
extern ActiveView activeView;

// Everything above, as one value, for the undo snapshot.
struct ViewState {
    int32_t firstVisibleEntry, cursorRow, overviewScrollX;
    int32_t currentEntryOffset, caretLine, caretColumn, firstVisibleLine, dataViewScrollX;
    bool selectionActive;
    int32_t selStartLine, selStartColumn, selEndLine, selEndColumn, selAnchorLine, selAnchorColumn;
    bool markActive;
    int32_t markFirst, markLast, markAnchor;
    ActiveView activeView;
};
ViewState captureViewState();
void applyViewState(const ViewState& state);

inline int32_t currentEntry()
{
    return firstVisibleEntry + cursorRow;
}

// Clears the selection and the marked block and greys Copy and Cut.
void clearSelectionAndMarks();

// Puts both views back to the first entry, top-left, nothing selected or
// marked, and forces the Data view to lay its entry out again.
void resetViewState();

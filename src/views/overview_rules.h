// What the Overview's keys, clicks and paints do to the view state, kept
// apart from the drawing so that it can be run and tested anywhere.
//
// The state lives in view_state.h (firstVisibleEntry, cursorRow,
// overviewScrollX, the marked block) and here; the current entry is
// firstVisibleEntry + cursorRow.  The last whole row of the list never
// holds the cursor.
#pragma once

#include <cstdint>

// Whole rows in the client area, caption strip included; set by every
// full paint.
extern int32_t overviewRowCount;
// The left button is still down after the hold delay (shared with the Data view).
extern bool mouseHeld;

// Headings of the visible rows, filled by each full paint.
inline constexpr int overviewRowSlots = 100;
inline constexpr int rowTextSize = 256;
extern char overviewRowText[overviewRowSlots][rowTextSize];

// Rows are one and a half text lines apart.
inline int32_t overviewRowPitch(int32_t lineHeight)
{
    return lineHeight + lineHeight / 2;
}

// The heading of entry e: its first line up to the first control byte, at
// most 255 bytes, NUL-ended.  Empty when e is not an entry.
void entryHeading(int32_t e, char* text256);

// Headings of entries first, first + 1, ... into the first n slots (at most
// all of them).
void fillOverviewRows(int32_t n, int32_t first);

// Brings the state back into the store and the window before a full paint,
// with overviewRowCount already set: the horizontal offset into the text
// width, the cursor onto an entry and off the last whole row, and no
// empty rows at the bottom while there are entries above.  A cursor below
// the rows scrolls the list, so the entry a sort or a search made current
// comes into view.  True when the current entry had to change, so that
// the Data view must follow (showCurrentEntry).
bool clampOverviewState(int32_t clientWidth, int32_t textWidth);

// The Data view shows the current entry from its top-left corner.
void showCurrentEntry();

// The row a click at client height y selects: never the last whole row,
// never below the last entry.
int32_t rowFromPointer(int32_t y, int32_t captionHeight, int32_t pitch);

// How the Overview must be drawn after a key.
enum class OverviewRedraw {
    None,      // nothing changed
    MoveBar,   // only the cursor bar moved: erase it at the old row, draw it at the new
    Full,      // paint the whole list
};

// Navigation keys.  Each ends a running type-ahead first.  With shift the
// marked block runs from the anchor to the new current entry; without it
// the block is dropped.  Each ends with showCurrentEntry.
OverviewRedraw overviewUp(bool shift);
OverviewRedraw overviewDown(bool shift);
OverviewRedraw overviewPageUp(bool shift);
OverviewRedraw overviewPageDown(bool shift);
OverviewRedraw overviewFirstEntry(bool shift);   // Ctrl+Home
OverviewRedraw overviewLastEntry(bool shift);    // Ctrl+End

// Horizontal scrolling by Left, Right, Home and End (without Ctrl).
// rowWidth is the width of the current entry's heading in the Overview's
// font; textWidth the widest heading there can be.  True when
// overviewScrollX changed.
bool overviewScrollLeft(bool shift, int32_t clientWidth);
bool overviewScrollRight(bool shift, int32_t clientWidth, int32_t textWidth, int32_t rowWidth);
bool overviewScrollHome();
bool overviewScrollEnd(int32_t clientWidth, int32_t textWidth, int32_t rowWidth);

// What a drag of the program carries and what a drop into the Data view
// does to the store.  The OLE objects that move the data between programs
// are on the Windows side (drag_drop.h); the rules here need no window.
#pragma once

#include <cstdint>
#include <string>

// The view that started the drag now running, or None.
enum class DragOrigin : int32_t { None, Overview, DataView };
extern DragOrigin dragSourceWindow;

// The text being dragged, copied when the drag starts.  Its first byte is
// set to dropMarker when the program's own Data view took the drop (and
// with it the undo snapshot), and to 0 when the drag ends; a first byte
// other than 0 tells the drop target that the drag comes from this program.
extern std::string dragBuffer;
inline constexpr char dropMarker = 11;
bool ownDragRunning();

// The bytes a drag out of the view takes: the Overview's marked entries
// with their separators, or the Data view's selected text.  Empty when the
// view holds no block.
std::string dragText(DragOrigin origin);

// The drop effects, as OLE numbers them.
inline constexpr uint32_t dropNone = 0;
inline constexpr uint32_t dropCopy = 1;
inline constexpr uint32_t dropMove = 2;

// Copy for files or with Ctrl; otherwise move with Shift; otherwise copy
// from another program or the Overview and move within the Data view.
// An effect the source does not allow falls back to copy when that is
// allowed, else to none.
uint32_t chooseDropEffect(bool files, bool control, bool shift, DragOrigin origin, uint32_t allowed);

// The drop position of the current entry: line and column.
struct DropPosition {
    int32_t line, column;
};

// A position inside the Data view's selection, its ends included.
bool insideSelection(DropPosition at);

// Text dropped at a position of the current entry, with the rules of
// Paste: the undo snapshot first, the caret put there, the text made fit
// for an entry (it never creates or splits one) and inserted with the line
// limit, then the index rebuilt and the views refreshed.  A move within
// the Data view to a place before its selection removes the selection
// first, so that the position stays valid; a move behind it leaves the
// selection in place for removeMovedText.  text may be nullptr (no text
// could be had): the views are refreshed all the same.
void dropTextAt(const char* text, DropPosition at, bool moveFromOwnDataView);

// The text a dropped file adds: its name in double quotes, every byte
// below 32 a blank.
std::string droppedFileText(const char* name);

// A dropped file: the undo snapshot, then its quoted name inserted at the
// position.
void dropFileAt(const char* name, DropPosition at);

// What the starting view does when its drag loop reports a move: the
// marked entries or the selection removed, with the undo snapshot unless
// the program's own drop took it.
void removeMovedText(DragOrigin origin);

// The end of every drag: the buffer's first byte 0, no source view.
void endDrag();

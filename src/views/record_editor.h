// The record editor: typing into the current entry, splitting and joining
// lines, with the 255-character line limit.
//
// Edits go straight into the text buffer at the caret (view_state.h) of the
// line laid out in line_table.h.  Every change leaves the store re-indexed
// (which marks the data modified), the line table due for a rebuild
// (lineTableOwner = -1) and resortPending set when the entry's first line
// changed.  An entry never holds an empty line: a line of one blank stands
// for it.
#pragma once

#include <cstdint>

#include "views/data_view_rules.h"

// Set while the editor moves the caret by sending itself a caret key
// (Right behind a typed character, Down after Enter, Up, End, Left): the
// key handler then ignores Ctrl and Shift, which may still be held from
// the keystroke that caused the edit (AltGr arrives as Ctrl+Alt).
extern bool cursorRightInternal;

// Codes: a character of 32 or above, 1 Delete, 2 Backspace, 3 Enter,
// 4 end of the type-ahead.  With the Data view active the first four edit
// the entry; with the Overview active characters feed the type-ahead,
// 1 and 2 shorten it and 4 ends it.  Returns -1 when a line would become
// too long (the user has been told), else 0.
int32_t editEntry(int32_t code);

// What the editor needs of the Data view's window.  The window fills these
// in when it is created; the defaults, used by the tests, move the caret
// with the portable caret rules (no text widths, so no horizontal
// scrolling) and ask the host for a repaint.
struct EditorScreen {
    // The caret key handled as the main window handles it while the Data
    // view is active; called with cursorRightInternal set.
    void (*caretKey)(CaretKey key);
    // The caret brought into view: vertically, then horizontally.
    void (*caretIntoView)();
    // The Data view painted in one of its modes (0 everything, 2 the
    // caret's line).
    void (*paint)(int mode);
};
extern EditorScreen editorScreen;

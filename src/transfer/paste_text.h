// Clipboard text pasted into the current entry at the Data view's caret.
// The pasted text never creates or splits entries: its empty lines become
// lines of one blank, and over-long lines are broken at the editor's line
// limit.  The clipboard itself is read by the Windows side (clipboard.h).
#pragma once

#include <cstddef>
#include <string>

// Sends the main window a Left and then a Right key, so that the editor
// brings the caret to a proper place after a paste; cursorRightInternal
// is set meanwhile.  Does nothing until the Windows side sets it.
extern void (*pasteCursorKeys)();

// Clipboard text made fit for an entry: a CR LF followed by another CR LF,
// or ending the text, is followed by a blank; control bytes other than CR
// and LF become blanks.
std::string preparePasteText(const char* text, size_t length);

// Inserts prepared text at the caret of the current entry, breaking a line
// where it would reach 255 characters, and moves the caret behind it.  No
// empty line arises, wherever the caret stands, and a line of one blank
// never gets glued to text: at column 0 of a blank line the text replaces
// the blank, and text ending in a line break takes no blank line behind
// it when the caret's line goes on there.  The
// text buffer is first sized to the new length plus its headroom; false,
// after the out-of-memory message, when it cannot be.
bool insertPasteText(const std::string& prepared);

// The end of every paste, whether or not anything was inserted: the index
// rebuilt, the entries to be sorted again, both views repainted and the
// caret settled by pasteCursorKeys.
void finishPaste();

// The whole paste of NUL-ended text (nullptr when the clipboard held none).
void pasteText(const char* clipboardText);

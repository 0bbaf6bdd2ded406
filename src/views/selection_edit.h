// Removing what is selected or marked, new entries, and Select all.
#pragma once

#include <string>

// Removes the Data view's selected text; keep suppresses the repaint.
void deleteSelection(bool keep);

// Removes the Overview's marked entries from the text buffer.  Removing
// every entry leaves the single blank entry of a new store.
void deleteMarkedEntries();

// Backspace or Delete in the Overview without a type-ahead: the undo
// snapshot, then the question, then the current entry or the marked
// entries removed on Yes.
void deleteEntriesAfterQuestion();

// A new entry of one blank line in front of the current one (Insert).
void newEntry();

// Select all in the active view.
void selectAll();

// The bytes Copy puts on the clipboard: the Data view's selected text
// while the Data view is active, the marked entries with their separators
// while the Overview is active; empty when the active view holds neither.
std::string copyText();

// The removing half of Cut: the undo snapshot, then the selection or the
// marked entries of the active view removed.  False when there was
// nothing to remove.
bool removeCutText();

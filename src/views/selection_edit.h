// Removing what is selected or marked, new entries, and Select all.
#pragma once

// Removes the Data view's selected text; keep suppresses the repaint.
void deleteSelection(bool keep);

// Removes the Overview's marked entries from the text buffer.
void deleteMarkedEntries();

// A new entry of one blank line (Insert).
void newEntry();

// Select all in the active view.
void selectAll();

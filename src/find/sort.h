// Keeping the entries in order of their first lines.
#pragma once

// Set by every change that may have altered a first line; the next sort
// clears it.
extern bool resortPending;

// Sorts the entries by their first lines (at most 255 bytes, compared with
// umlauts folded and letters upper-cased) and keeps the current entry
// current.  Entries are placed one after another by walking a probe from
// where the previous one went in, so data that is nearly in order costs one
// comparison per entry; equal keys end up in front of the one they meet.
// Text behind the last complete entry stays at the end.
void sortEntries();

// Keeping the entries in order of their first lines.
#pragma once

// Set by every change that may have altered a first line; the next sort
// clears it.
extern bool resortPending;

// Sorts the entries by their first lines (at most 255 bytes, compared with
// umlauts folded and letters upper-cased) and keeps the current entry
// current.  Entries are placed one after another where a probe walking slot
// by slot from where the previous one went in would stop, so equal keys end
// up in front of the one they meet and a key that begins another counts as
// equal to it; the stopping slot is found in logarithmic time, not by
// walking.  Text behind the last complete entry stays at the end.
void sortEntries();

// How the entries are placed: by walking, slot by slot, while that stays
// cheap (data nearly in order), else through the ranks of the keys.  Both
// give the same order; tests pin one of them to check each.
enum class Placing { Automatic, WalkOnly, RankedOnly };
extern Placing sortPlacing;

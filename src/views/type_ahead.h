// The Overview's type-ahead: characters typed while the Overview is active
// collect in its caption and move the list to the entry at which the typed
// text belongs.
#pragma once

#include <cstdint>

// Characters typed so far; 0 while no type-ahead runs.
extern uint8_t typeAheadLength;
// The Overview's caption: "Overview", or the typed text while a type-ahead
// runs.
extern char overviewCaption[256];

// The type-ahead keeps at most this many characters.
inline constexpr int typeAheadLimit = 253;

// Where prefix belongs among the entries, which must be sorted by their
// first lines; characters compared with umlauts folded and letters
// upper-cased.  The first entry that begins with prefix, else the entry
// behind which it would sort.  0 for an empty store.
int32_t typeAheadLookup(const char* prefix);

// A character of 32 or above typed into the Overview: appended to the
// type-ahead (ignored once it is full) and the list moved.
void typeAheadCharacter(unsigned char c);

// Backspace or Delete while a type-ahead runs: its last character goes;
// when none remain the type-ahead ends.
void typeAheadBackspace();

// Ends the type-ahead: the caption says "Overview" again.
void endTypeAhead();

// Replace: the next occurrence or all of them, in the whole data or inside
// the current entry, with settings of its own.
#pragma once

#include <cstdint>

#include "find/text_match.h"

extern char replaceSearchText[51];
extern char replaceText[51];
extern int replaceDirection;   // the four directions of the search
extern int replaceFold;        // folding mode: 1 ignores case, 0 exact
extern bool replaceAll;        // every occurrence instead of the next one

// Scope 0 works on the whole data, 1 inside the current entry.  One undo
// takes the whole run back.
void replaceNext(int scope);

// What Replace all over the whole data does to the store before its
// closing: the same bytes as scanning downward from the start, testing one
// position after another and replacing each hit at once, but done in a
// single pass into a new buffer with one index rebuild.  The replacement is
// expected to hold no control bytes but CR.  count is the number of
// occurrences replaced; caretLine and caretColumn are where the caret
// stands behind the last one, in entry `entry`.  The store is unchanged
// when nothing was found or the new buffer could not be had.
struct WholeDataRun {
    int32_t count = 0;
    int32_t entry = 0;
    int32_t caretLine = 0;
    int32_t caretColumn = 0;
};
WholeDataRun replaceThroughData(const TextPattern& pattern, const char* replacement);

// Search settings shared by the search dialog, Repeat search and the
// calendar program's search requests, and the search itself.
#pragma once

#include <cstdint>

#include "find/text_match.h"

extern char searchText[52];
extern int searchDirection;   // 0 up, 1 down, 2 up and around, 3 down and around
extern int searchFold;        // folding mode: 1 ignores case, 0 exact

inline constexpr const char* textNoSearchText = "No searching-text defined!";
inline constexpr const char* textNothingFound = "No adequate entry found!";

// One search from the Data view caret with the current settings: the next
// occurrence becomes the current entry's selection, or the user is told.
void searchNext();

// ---- Shared with the replace ----

// The Data view caret as a buffer offset (its column taken no further than
// the end of its line).
int32_t dataViewCaretOffset();
// The entry holding a buffer offset; text behind the last entry counts to it.
int32_t entryOfOffset(int32_t offset);
// Line and column of an offset inside entry e: a CR starts the next line,
// bytes of 32 and above take a column, other control bytes nothing.
void lineAndColumnOf(int32_t e, int32_t offset, int32_t& line, int32_t& column);
// Where a search from the caret offset in the given direction over the
// whole data lands: the start of the hit, or -1.
int32_t findInData(const TextPattern& pattern, int direction, int32_t caret);
// Clears the caret, the selection and the marks and makes entry e the
// current one with its lines laid out.
void makeCurrentEntry(int32_t e);

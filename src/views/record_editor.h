// The record editor: typing into the current entry, splitting and joining
// lines, with the 255-character line limit.
#pragma once

#include <cstdint>

// Set while the editor sends itself a Right key.
extern bool cursorRightInternal;

// Codes: a character of 32 or above, 1 Delete, 2 Backspace, 3 Enter,
// 4 end of the type-ahead.  Returns -1 when a line would become too long.
int32_t editEntry(int32_t code);

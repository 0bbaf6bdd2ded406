// The lines of the entry the Data view shows: where each one starts in the
// text buffer, and the display texts of the lines on screen.
//
// A line begins behind a CR LF that is followed by a printable byte (32 or
// above); a line that begins with a control byte is no line of its own and
// stays hidden behind the line before it.  CR LF CR LF ends the entry.
#pragma once

#include <cstdint>

// Line start offsets: slot 0 is the entry's offset, slot k the start of
// line k, then -1.  lineCount + 100 slots; nullptr until the first build
// or when the last allocation failed.
extern int32_t* lineStarts;
// Slots in lineStarts.
extern int32_t lineStartSlots;
// Lines of the shown entry.
extern int32_t lineCount;

// Display texts: slot 0 holds line 0, slot j >= 1 line firstVisibleLine + j.
inline constexpr int viewLineSlots = 100;
inline constexpr int viewLineSize = 256;
extern char viewLines[viewLineSlots][viewLineSize];

// Lays out the entry at entryOffset unless lineTableOwner already names it
// (a new owner clears the text selection), then fills the first n slots of
// viewLines (at most all of them) with line 0 and the lines from
// firstVisible + 1 on.
void buildLineTable(int32_t n, int32_t entryOffset, int32_t firstVisible);

// Start of line l of the shown entry, or -1 when there is no such line.
int32_t lineStart(int32_t l);

// The display text at a buffer offset: the bytes up to the first control
// byte or the end of the used text, at most 255, NUL-ended.  Returns its length.
int32_t textAt(int32_t offset, char* text256);

// Display text and its length of line l; empty when there is no such line.
int32_t lineText(int32_t l, char* text256);
int32_t lineLength(int32_t l);

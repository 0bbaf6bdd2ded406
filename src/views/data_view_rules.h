// What the Data view's scroll bars, wheel, pointer, links and caret keys do
// to the view state, kept apart from the drawing so that it can be run and
// tested anywhere.  Text widths come from the caller as functions, so the
// rules need no device context.
//
// The state lives in view_state.h (caret, firstVisibleLine,
// dataViewScrollX, the selection), line_table.h (lineCount, the display
// texts) and here.  The first line of an entry stays in its band at the
// top; line firstVisibleLine + j shows in row j of the scrolling area, so
// line firstVisibleLine itself is hidden behind the first line.
#pragma once

#include <cstdint>
#include <functional>

// Whole text lines in the client area, caption strip included; set by
// every paint.
extern int32_t dataViewRowCount;

// The pointer rests between two double quotes of line linkLine, whose
// columns are linkOpenColumn and linkCloseColumn; the underline is drawn.
extern bool linkHover;
extern int32_t linkLine, linkOpenColumn, linkCloseColumn;

// Width in pixels of the first count characters of some line.
using PrefixWidth = std::function<int32_t(int32_t count)>;
// Width in pixels of the first column characters of line (bold for line 0).
using CaretWidth = std::function<int32_t(int32_t line, int32_t column)>;

// ---- Scrolling ----

// Before a full paint: no empty rows at the bottom while lines are
// hidden above.
int32_t clampedFirstVisibleLine(int32_t first, int32_t rows, int32_t lines);
// The largest horizontal offset: text width less client width, not below 0.
int32_t maxScrollX(int32_t textWidth, int32_t clientWidth);
int32_t clampedScrollX(int32_t x, int32_t textWidth, int32_t clientWidth);

enum class ScrollCode { LineBack, LineForward, PageBack, PageForward, Track, Other };
// The scroll bars: the new firstVisibleLine and the new dataViewScrollX.
// track is the thumb's position for ScrollCode::Track.
int32_t scrolledFirstVisibleLine(ScrollCode code, int32_t first, int32_t rows, int32_t lines, int32_t track);
int32_t scrolledX(ScrollCode code, int32_t x, int32_t clientWidth, int32_t textWidth, int32_t track);

// One of the three steps of a wheel message.
int32_t wheelStep(int delta, int32_t first, int32_t rows, int32_t lines);

// ---- Pointer ----

// The line under client height y: line 0 in its double band, at most the
// last line.
int32_t pointerLine(int32_t y, int32_t captionHeight, int32_t lineHeight, int32_t first, int32_t lines);
// The column under client x in a line of the given length: the first
// column whose text position reaches x - 3, the length when none does.
int32_t pointerColumn(int32_t x, int32_t scrollX, int32_t length, const PrefixWidth& widthOf);

// A link around column of a display text: a double quote to the left and
// another to the right on the same line, with no control byte between.
// A column on a quote itself is no link.
bool findLink(const char* text, int32_t column, int32_t& open, int32_t& close);

// ---- Caret ----

// The caret's line brought between the first line and the third row from
// the bottom.
int32_t firstVisibleLineForCaret(int32_t caretLine, int32_t first, int32_t rows);
// The caret's x (text width before it) brought inside the client area.
int32_t scrollXForCaret(int32_t x, int32_t scrollX, int32_t clientWidth);

enum class CaretKey { Up, Down, Left, Right, Home, End, PageUp, PageDown };

// How the Data view must be drawn after a caret key.
enum class DataViewRedraw {
    None,        // nothing changed
    MoveCaret,   // only the caret moved: erase it at the old place, draw it at the new
    Full,        // paint everything
};

// A caret key with Shift (the selection grows from its anchor) or without
// (the selection goes); Ctrl turns Left and Right into word steps and Home
// and End into the entry's start and end.  Ends with the caret brought
// into view.
DataViewRedraw dataViewCaretKey(CaretKey key, bool shift, bool control, int32_t clientWidth, const CaretWidth& caretX);

// ---- Selection ----

// No selection, no anchor; Copy and Cut are greyed unless the Overview
// holds a marked block.
void clearDataViewSelection();

// A double click with the caret already on the clicked character of a
// line with that display text: selects the word there (with Shift and a
// selection, extends the selection from its anchor to the word).  False
// when the caret is on a blank, a control byte or the line's end.
bool selectWordAtCaret(const char* text, bool shift);

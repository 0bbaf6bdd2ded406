// Drawing the Data view: the current entry with its first line in a fixed
// band, the caret, the text selection and the underline of a link.  The
// window procedure and the key entry points are in view_windows.h; the
// rules behind them in data_view_rules.h and line_table.h.
#pragma once

#include <windows.h>

#include "transfer/drop_text.h"

// The window is being dragged by its caption strip.
extern bool dataViewMoving;

// Paints the Data view below its caption strip into dc, which stands for
// the window's client area.
//   mode 0: lays the entry out, keeps the scroll position inside it, draws
//           every line, the caret and the selection;
//   mode 1: only inverts the caret and the selection once more;
//   mode 2: lays the entry out, redraws the caret's line, caret and selection;
//   mode 3: redraws every line, caret and selection;
//   mode 4: redraws the caret's line and the selection, not the caret.
// Caret and selection are inverted, so drawing them twice removes them.
// Modes 0, 2, 3 and 4 also set both scroll bars.  Other modes paint
// nothing.  Every paint makes and deletes its own fonts, brushes and pens.
void paintDataView(HDC dc, int mode);

// The whole window painted again at once (caption strip and mode 0).
void repaintDataView();

// The underline of the link under the pointer, if one is drawn, drawn
// again: after a repaint, in the link colour of that moment.
void redrawLinkUnderline();

// Hands the text of a clicked link to the shell ("open").  Tests may put
// a function of their own here.
extern void (*openLinkText)(HWND owner, const char* text);

// The line and column of the current entry under a client point, as a
// click would place the caret.
DropPosition dataViewPositionAt(POINT clientPoint);

// The width of the first column characters of a line, in the font the
// line is drawn in.
int dataViewTextX(int32_t line, int32_t column);

// Drawing the Overview: the list of headings with the cursor bar and the
// marked rows.  The window procedure and the key entry points are in
// view_windows.h; the rules behind them in overview_rules.h.
#pragma once

#include <windows.h>

#include <cstdint>

// The window is being dragged by its caption strip.
extern bool overviewMoving;

// Paints the Overview's list below the caption strip into dc, which stands
// for the window's client area.  Mode 0 paints everything: it first brings
// the view state into the store and the window, fills the rows, sets both
// scroll bars and draws the cursor bar and the marked rows.  Mode 1 only
// inverts the cursor bar and the marked rows once more, so that drawing
// them twice removes them.  Other modes paint nothing.  The caller runs
// releasePaintObjects afterwards.
void paintOverview(HDC dc, int mode);

// Repaints the band of one row of the list (and the cursor bar on it).
void repaintOverviewRow(int32_t row);

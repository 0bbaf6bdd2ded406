// What the two views share as child windows of the main window: keeping
// their stored places, their minimum size, following the pointer while
// dragged by the caption strip, and waiting out a held button.
#pragma once

#include <windows.h>

#include "files/config.h"

// The stored place follows every move and size; the window never lies over
// the toolbar.  Messages sent while the window is being created (before
// start-up keeps its handle in view) are left alone.
void trackViewPlacement(HWND window, HWND view, WindowRect& stored);

void setViewMinimumSize(HWND window, MINMAXINFO* info, int lineHeight);

// While the caption strip is dragged the window follows the pointer (in
// its client coordinates; grab is where the strip was taken), never over
// the toolbar and never so far right or down that less than a caption
// height of it stays inside the main window.
void moveViewWithPointer(HWND window, POINT grab, POINT pointer, const WindowRect& stored);

// Waits ms milliseconds on the tick count while windows keep painting and
// other input waits in the queue; stops early when stillDown() turns false.
// True when the wait ran its whole time.
bool waitWithPaints(DWORD ms, bool (*stillDown)());

void showCursor(HINSTANCE instance, const char* id);

// Where the thumb of scroll bar bar (SB_VERT or SB_HORZ) is being dragged.
int trackPosition(HWND window, int bar);

// The paint handler of a view: the client area is filled with background
// and painted by paint into a bitmap first, then copied at once, so that
// the rows do not flicker while they are filled.
void paintBuffered(HWND window, COLORREF background, void (*paint)(HDC dc, HWND window));

// The toolbar and the status bar along the top of the main window, and the
// bitmaps loaded for them and for the views.
#pragma once

#include <windows.h>

void loadBitmaps();
void freeBitmaps();
HBITMAP loadedBitmap(int id);

// Creates both strips, sizes the toolbar across the client area and puts
// the pictures on its buttons.
void createStrips();

// The toolbar's background pattern, made again after a display change.
void remakeToolbarPattern();

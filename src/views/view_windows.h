// The window procedures of the Overview and the Data view, and the entry
// points through which the main window hands them keys, characters and
// the mouse wheel (the views never keep the keyboard themselves).
#pragma once

#include <windows.h>

LRESULT CALLBACK overviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK dataViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The strip at the top of a view with its caption, in the system's colours
// for an active or an inactive caption.  Does nothing without a window.
void paintCaptionStrip(HDC dc, HWND window, const char* text);

// Keys while the view is active.  The main window keeps Insert, and Enter
// and Tab of the Overview and Tab and Esc of the Data view, which switch
// views.
void overviewKey(WPARAM key);
void dataViewKey(WPARAM key);

// Characters typed while the view is active.
void overviewCharacter(unsigned char c);
void dataViewCharacter(unsigned char c);

// One mouse wheel message while the view is active.
void overviewWheel(int delta);
void dataViewWheel(int delta);

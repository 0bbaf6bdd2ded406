// The window procedures of the Overview and the Data view.
#pragma once

#include <windows.h>

LRESULT CALLBACK overviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK dataViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The strip at the top of a view with its caption, in the system's colours
// for an active or an inactive caption.
void paintCaptionStrip(HDC dc, int width, const char* text, bool active);

// Keys the main window routes to the active view.
void overviewKey(WPARAM key);
void dataViewKey(WPARAM key);

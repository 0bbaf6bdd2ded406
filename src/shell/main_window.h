// The main window procedure: the hub that gets every key, command and
// calendar text and hands each to its part of the program.
#pragma once

#include <windows.h>

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Moves the two views into place for the side-by-side or the
// one-upon-the-other arrangement; the free arrangement leaves them alone.
void layoutChildWindows();

// Runs one command of the menu, the accelerators, the toolbar or the
// system menu.  Returns false for ids that are not commands.
bool runCommand(int id);

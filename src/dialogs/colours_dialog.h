// The colours dialog: seven swatches for the colours of the two views, each
// opening the system colour dialog.  It has a procedure of its own; the
// views take a new colour at once, Cancel puts all seven back.
#pragma once

#include <windows.h>

INT_PTR CALLBACK coloursDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Menu "Adjust colours...".
void openColoursDialog();

// The search and the replace dialog: filling their controls when they
// open and taking the settings over on OK.  Both run under the shared
// dialog procedure.
#pragma once

#include <windows.h>

void fillSearchDialog(HWND dialog);
void acceptSearchDialog(HWND dialog);
void fillReplaceDialog(HWND dialog);
void acceptReplaceDialog(HWND dialog);

// The dialogs opened from the menu; OK runs the search or the replacement.
void openSearchDialog();
void openReplaceDialog();
// Repeat search and Repeat replace: the dialog when there is no text yet.
void repeatSearch();
void repeatReplace();

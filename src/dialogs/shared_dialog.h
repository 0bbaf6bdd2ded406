// The one dialog procedure that runs every modal dialog of the program but
// the colours dialog.  Dialogs are told apart by dialogIdentity, the number
// of their German template; their closing controls have ids unique across
// all dialogs, so commands need no identity.
#pragma once

#include <windows.h>

extern int dialogIdentity;

INT_PTR CALLBACK sharedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the identity, runs the template modally, clears the identity.
INT_PTR runSharedDialog(int identity, int templateId, HWND owner);

// The open- or add-password dialog, writing what was typed into target.
INT_PTR runPasswordDialog(int identity, int templateId, char* target20);

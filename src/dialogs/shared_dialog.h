// The one dialog procedure that runs every modal dialog of the program but
// the colours dialog.  Dialogs are told apart by dialogIdentity, the number
// of their German template.  Each dialog owns a SharedDialog entry that says
// what fills its controls and what its closing buttons do; the procedure
// knows none of them.
#pragma once

#include <windows.h>

extern int dialogIdentity;

// A closing button: runs `accept`, or ends the dialog with the control's id
// when there is none.
struct DialogCommand {
    int control = 0;
    void (*accept)(HWND dialog) = nullptr;
};

struct SharedDialog {
    int identity = 0;                          // the German template's number
    void (*fill)(HWND dialog) = nullptr;       // when it opens
    DialogCommand commands[3] = {};            // unused slots have control 0
};

INT_PTR CALLBACK sharedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the identity, runs the template modally with the dialog's entry,
// clears the identity.
INT_PTR runSharedDialog(const SharedDialog& dialog, int templateId, HWND owner);

// Ends the dialog and lets input in again.
void endSharedDialog(HWND dialog, INT_PTR result);

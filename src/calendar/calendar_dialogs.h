// The calendar entry and calendar search dialogs: filling them, taking
// what was typed on OK and handing the command text to the calendar
// program.  Both run under the shared dialog procedure.
#pragma once

#include <windows.h>

void fillCalendarEntryDialog(HWND dialog);
void acceptCalendarEntryDialog(HWND dialog);
void fillCalendarSearchDialog(HWND dialog);
void acceptCalendarSearchDialog(HWND dialog);

// "Make entry in ORDANE..." and "Searching in ORDANE...": the dialog, then
// the keys back to the main window.
void openCalendarEntryDialog();
void openCalendarSearchDialog();

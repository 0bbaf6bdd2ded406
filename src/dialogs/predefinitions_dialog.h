// The text pre-definitions dialog, and the ten radio buttons and edit
// fields it shares with the calendar entry dialog.  Runs under the shared
// dialog procedure.
#pragma once

#include <windows.h>

// The ten texts into their fields, the selected one's radio button checked.
void fillPreDefinitionControls(HWND dialog);
// The first checked radio button becomes the selected pre-definition; the
// ten fields, at most 50 characters each, become the texts.
void readPreDefinitionControls(HWND dialog);

void fillPreDefinitionsDialog(HWND dialog);
// "OK" and "Set": the fields taken over; "Set" then types the selected text.
void acceptPreDefinitionsDialog(HWND dialog, bool typeSelected);
// "Fileselector": the fields dropped, the file selector run.
void leavePreDefinitionsForFileSelector(HWND dialog);

// Menu "Text pre-definitions...".
void openPreDefinitionsDialog();

// Shift+F1 .. Shift+F10 (the ids of the edit fields) and Alt+F: the number
// typePreDefinition takes, 0 for any other id.
int preDefinitionNumberOf(int commandId);

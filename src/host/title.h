// The main window title: a one-character marker ('*' when the data is
// modified, blank when not) followed by the current file path, shortened
// from the left when it does not fit, or "NO NAME".
#pragma once

extern char titleText[72];

// Rebuilds titleText from currentFilePath after the marker, and sets it as
// the window title when the main window exists.
void setTitleFromPath();

// Sets the marker and refreshes the window title.
void setTitleMarker(char marker);

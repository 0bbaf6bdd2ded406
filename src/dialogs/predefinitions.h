// Text pre-definitions: ten short texts typed into the Data view with
// Shift+F1 to Shift+F10, and the file selector (Alt+F) that types the path
// of a chosen file as a link.  The texts themselves are settings
// (textPredefinitions in files/config.h).
#pragma once

#include <string>

// The pre-definition the dialogs show selected, 1 to 10; 1 at start.
extern int selectedPreDefinition;
// The file the file selector chose last in this run; empty at start.
extern char lastChosenFile[512];

inline constexpr int predefinitionTextLimit = 50;
inline constexpr int fileSelectorNumber = 11;

// The path as the file selector types it: between double quotes, and
// with a blank in it also between single quotes, its own single quotes
// doubled.  At most 255 characters of the path are used, and none from
// the first control byte on.
std::string fileSelectorText(const char* path);

// Numbers 1 to 10 type that pre-definition at the Data view's caret, 11
// runs the file selector and types the chosen path; both take the undo
// snapshot first and stop where the editor refuses a character.  Nothing
// happens unless the Data view is the active view.
void typePreDefinition(int number);

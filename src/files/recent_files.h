// The ten most recently opened address files and their menu items
// (commands 40101 to 40110, Ctrl+0 to Ctrl+9).
#pragma once

#include <string>

// "&3: HOME.ADR \tStrg+3": the file name part of path behind the slot digit.
std::string recentMenuText(int slot, const char* path);

// Start-up: gives each slot holding a path its menu text.  An empty list
// first takes the current file.
void showRecentFilesInMenu();

// Puts path at the top unless it is already in the list; the others move
// down one place, the oldest falls out.
void rememberRecentFile(const char* path);

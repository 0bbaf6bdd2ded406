// Message texts and captions shared by several modules, byte for byte as the
// user sees them.
#pragma once

inline constexpr const char* captionMain = "ORDANE-Lumo:";
inline constexpr const char* captionLoad = "ORDANE-Lumo (laden):";

inline constexpr const char* textNoMemory = "Not enough memory free!";
inline constexpr const char* textCannotOpen = "Cannot open file!";
inline constexpr const char* textWrongPassword = "Wrong password!";
inline constexpr const char* textCannotSave = "Cannot save file!";
inline constexpr const char* textSortingStatus = "Sortieren...";
inline constexpr const char* textLoadingStatus = "Laden...";   // followed by " n%"
inline constexpr const char* textSaveNow = "Save Data now?";

// An error is always announced by a beep before its message box.
void reportError(const char* caption, const char* text);

// What the settings and password dialogs make of what the user typed.
#pragma once

// General configuration, after "OK" has read the fields: at least one name
// separator (a comma when all are empty), and an order field "0" means none.
void normaliseGeneralConfig();

enum class NewPasswordResult { Accepted, NotProtected, Mistyped };

inline constexpr int minimumPasswordLength = 4;
inline constexpr const char* textNotProtected = "This diary is not protected now!";
inline constexpr const char* textMistyped = "The password is not correctly typed in!";

// Set-password "OK": password and repetition must agree and have at least
// four characters; otherwise the current password is emptied.  Both are
// cut to 19 characters first.
NewPasswordResult setNewPassword(const char* typed, const char* repeated);

// Open- and add-password "OK": keeps at most 19 characters in field; fewer
// than four characters empty it and count as no password.
bool acceptTypedPassword(char* field20, const char* typed);

// "ORDANE-Lumo V1.12  (03.02.2003)", built over the old template.
void makeVersionLine(char* out32);

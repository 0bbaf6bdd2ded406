// The three password dialogs: a new password for the open file (typed
// twice), and the password of a file being opened or added.
#pragma once

#include <windows.h>

// Runs the new-password dialog; the result says which button closed it.
INT_PTR openNewPasswordDialog(HWND owner);

// The open- or add-password dialog, writing what was typed into target20.
enum class PasswordDialog { Open, Add };
INT_PTR openPasswordDialog(PasswordDialog which, char* target20);

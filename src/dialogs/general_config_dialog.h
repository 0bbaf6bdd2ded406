// The general configuration dialog: name separators, address-line order,
// empty lines, name swap and the two auto-save switches.
#pragma once

#include <windows.h>

void openGeneralConfigDialog(HWND owner);

// The link to the calendar program ORDANE over the registered message.
#pragma once

#include <windows.h>

#include <cstdint>

// Posts text to the window of class "ORDANE".  Returns 0 when posted, -1
// when the calendar program is not running (nothing is posted).
int32_t sendToCalendar(const char* text);

// Handles one transfer message; acts on a text once it is complete.
void onTransferMessage(WPARAM position, LPARAM value);

// Greets the calendar program while the main window is created; quits with
// a message when it is not running.
void greetCalendar();

// The open commands of the menu, the accelerators and the toolbar: focus
// to the main window, the calendar program to the front, then the text.
void openCalendarWindow(const char* text, bool bringCalendarToFront);

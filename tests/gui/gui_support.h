// Helpers for tests that drive the real windows in the test's own process:
// waiting on conditions while messages are pumped, answering dialogs and
// message boxes as they open, and a stand-in calendar window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Pumps this thread's messages until cond() holds or timeoutMs passes.
bool pumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000);
// Lets every message already posted be handled.
void pumpPending();

// ---- Dialogs and message boxes ----

struct SeenDialog {
    std::string caption;
    std::string text;   // a message box's text; empty for other dialogs
};

// What to do with the next dialog that opens: fill edit controls, then
// press a button (none when it is 0: the dialog stays open).
struct DialogAnswer {
    int button;
    std::vector<std::pair<int, std::string>> fields;
    std::vector<std::pair<int, bool>> checks;
};

// Installs the hook for this thread; every dialog that opens is written
// down and answered by the next queued answer (message boxes without one
// get No, other dialogs Cancel).
void watchDialogs();
void answerNextDialog(DialogAnswer answer);
std::vector<SeenDialog>& seenDialogs();

// ---- A calendar program in the test ----

// A window of class "ORDANE" that collects the texts it is sent.
HWND createTestCalendar();
void destroyTestCalendar();
std::vector<std::string>& calendarTexts();
// Posts text to the address book the way the calendar program does.
void sendFromCalendar(const std::string& text);
bool waitForCalendarText(const std::string& text, DWORD timeoutMs = 5000);

// Window and menu reading.
std::string windowText(HWND window);
std::string menuText(HMENU menu, UINT id);
bool menuItemGrayed(HMENU menu, UINT id);
bool menuItemChecked(HMENU menu, UINT id);

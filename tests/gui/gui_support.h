// Helpers for tests that drive the real windows in the test's own process:
// waiting on conditions while messages are pumped, answering dialogs and
// message boxes as they open, and a stand-in calendar window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/win_support.h"

// Pumps this thread's messages until cond() holds or timeoutMs passes.
bool pumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000);

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

// A window of class "ORDANE", so that the program starts; what it is sent
// is the end-to-end tests' business.
HWND createTestCalendar();
void destroyTestCalendar();

// Menu reading.
std::string menuText(HMENU menu, UINT id);
bool menuItemGrayed(HMENU menu, UINT id);
bool menuItemChecked(HMENU menu, UINT id);

// ---- Driving the main window ----

void command(int id);                      // a menu command, then pending messages
void key(WPARAM k);                        // WM_KEYDOWN, then pending messages
void type(const std::string& text);        // one WM_CHAR per character
void wheel(int delta);
void holdKeys(bool shift, bool control);   // the thread's key state, read by GetKeyState
// A new book, the two views side by side, no dialogs seen, no keys held.
void startFresh();

// Presses the left button at from on another thread (the program's drag
// loop runs inside the button message), moves to `to` once the held-button
// cursor shows, and lets go when letGo() holds or after three seconds.
bool dragWithButtonHeld(HWND window, POINT from, POINT to, std::function<bool()> letGo);

// ---- Pixels and GDI objects ----

// A 32-bit memory bitmap: a window's painting routine run into one of its
// client size, or a white page of the given size.
struct PaintedWindow {
    PaintedWindow(HWND window, std::function<void(HDC, int)> paintMode);
    PaintedWindow(int width, int height);
    ~PaintedWindow();
    PaintedWindow(const PaintedWindow&) = delete;
    PaintedWindow& operator=(const PaintedWindow&) = delete;
    void paint(int mode) { paintMode(dc, mode); }
    void clear();
    COLORREF pixel(int x, int y) const { return GetPixel(dc, x, y); }
    std::function<void(HDC, int)> paintMode;
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

long gdiObjectCount();

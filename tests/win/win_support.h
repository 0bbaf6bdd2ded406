// Reading and driving windows as a user does, shared by the in-process GUI
// tests and the end-to-end tests: window texts, real keys and mouse input
// through SendInput, screen pixels and the clipboard.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>

std::string className(HWND window);
// The window's text through WM_GETTEXT, in the Windows ANSI code page 1252.
std::string windowText(HWND window);
RECT clientRect(HWND window);
// Lets every message already posted to this thread be handled.
void pumpPending();

// ---- Real input ----
// Keys and clicks go in through SendInput, as a user's do: they reach
// whatever window has the keyboard focus of the foreground application,
// or the window under the pointer.

// Presses and releases key with the modifier keys held down.
void pressKey(WORD key, std::initializer_list<WORD> modifiers = {});
// Types text (code page 1252) key by key; characters that have no key of
// their own on the keyboard layout are typed as Unicode input.
void typeText(const std::string& text);
// The pointer moved to a point of window's client area, and the left
// button pressed or released where the pointer is.
void moveMouseTo(HWND window, POINT clientPoint);
void pressLeftButton();
void releaseLeftButton();
// A left click at a point in window's client area.
void clickAt(HWND window, POINT clientPoint);
// A pixel of the screen as a user sees it; CLR_INVALID when it cannot be read.
COLORREF screenPixel(HWND window, POINT clientPoint);

// ---- Clipboard ----
// Another program (the X clipboard bridge under Wine) may hold the
// clipboard for a moment; each helper waits up to two seconds for it.

// The ANSI text on the clipboard, or nothing when there is none.
std::optional<std::string> clipboardText();
void clearClipboard();
void putOnClipboard(const std::string& text);

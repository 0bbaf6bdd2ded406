// Copy, Cut and Paste through the Windows clipboard, in the ANSI text format.
#pragma once

#include <windows.h>

// Copy (40078): the active view's selected text or marked entries onto the
// clipboard, opened for owner.  Nothing happens when there is nothing to
// copy, no memory, or the clipboard stays busy.
void copyToClipboard(HWND owner);

// Cut (40080): Copy, then the undo snapshot and the text removed, even when
// the clipboard could not take it.
void cutToClipboard(HWND owner);

// Paste (40079), only while the Data view is active: the undo snapshot, the
// selection removed, then pasteFromClipboard.
void pasteCommand(HWND owner);

// The clipboard's text inserted at the Data view's caret.  A busy clipboard
// or one without text inserts nothing; the views are refreshed either way.
void pasteFromClipboard(HWND owner);

// Address -> Addressfield (40013): the address of the shown entry, or of
// every marked entry, onto the clipboard opened for owner.
void copyAddressField(HWND owner);

// Printing the marked entries of the Overview, or the current entry, on a
// printer chosen in the system's print dialog, with the margins and the
// headline of the print settings dialog.
#pragma once

#include <windows.h>

#include <functional>

// The system print dialog's description, kept from one printout to the
// next so that the chosen printer stays chosen.
extern PRINTDLGA printDialog;

// Start-up: a device context to be returned, no page numbers and no
// selection offered, one copy.
void setUpPrintDialog(HINSTANCE instance);

// Print (40035, Ctrl+P).  0 after printing, -1 when the print dialog was
// cancelled, -2 when the print settings dialog was cancelled or there was
// no memory for the text.
int printEntries();

// The print settings dialog (identity and template 2152) under the shared
// dialog procedure: filled when it opens, read by its "OK" (1215).
void fillPrintSettings(HWND dialog);
void acceptPrintSettings(HWND dialog);

// Draws the printout of text onto dc, whose first page has been started:
// the fonts made from the Data view's font for the device's resolution,
// the grey pens, the head and the body.  nextPage ends a page and starts
// the next (false when it cannot).  Returns the number of pages drawn.
int drawPrintout(HDC dc, const char* text, size_t length, int pageWidth, int pageHeight, const char* footer,
                 const std::function<bool()>& nextPage);

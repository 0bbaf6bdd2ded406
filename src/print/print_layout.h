// What a printout holds and where each piece goes on the page: the head
// (headline and the dated footer line), then the entries line by line, the
// first line of each in bold, a double rule in the empty row between two
// entries, and a new page when the next row would not fit.
//
// The arithmetic is kept apart from the device: it draws through a
// PrintSurface, which the Windows side implements with GDI on a printer or
// a memory device context, and the tests with a recording fake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The print settings of the print settings dialog.  The two margins are
// stored in the configuration file (config.h); the headline only lives
// for the run.
inline constexpr int headlineLimit = 49;
extern char printHeadline[headlineLimit + 1];

// The dated line under the headline.  fillFooter writes the date and the
// time into a copy of the template in place: "(Stand: dd/mm/yyyy hh:mm,
// ORDANE-Lumo)".
inline constexpr char footerTemplate[] = "(Stand: 04.02.2000 17:44, ORDANE-Lumo)";
inline constexpr size_t footerSize = sizeof footerTemplate;
void fillFooter(char (&footer)[footerSize], int day, int month, int year, int hour, int minute);

// A margin as the dialog reads it: the number typed, kept modulo 256.
unsigned char marginFromTyped(unsigned typed);

// The bytes to print: the marked entries of the Overview, or the current
// entry when nothing is marked (markFirst and markLast then name it), each
// with its separator.  Empty when the store has no entry.  Throws
// std::bad_alloc when there is no memory for the copy.
std::string printText();

// Font weights of the printout.
inline constexpr int weightNormal = 400;
inline constexpr int weightBold = 700;
inline constexpr int weightHeavy = 900;

struct PrintSurface {
    virtual ~PrintSurface() = default;
    // Text at a pixel position of the page, in the printout's font.
    virtual void text(int32_t x, int32_t y, const char* bytes, int32_t length, int weight, bool italic) = 0;
    // A horizontal rule of one pixel from x0 to x1, light or dark grey.
    virtual void rule(int32_t y, int32_t x0, int32_t x1, bool dark) = 0;
    // Ends the page and starts the next; false when no page could be started.
    virtual bool nextPage() = 0;
};

struct PrintMetrics {
    int32_t lineHeight;    // H: character height + external leading
    int32_t digitWidth;    // W: the widest of the ten digits
    int32_t pageWidth;     // pixels
    int32_t pageHeight;
};

// Lays the printout out on surface, the first page already started.  left
// counts digit widths, top line heights; an empty headline prints the
// footer line alone, in the heavy weight and upright.  Returns the number
// of pages used.
int layoutPrintout(const char* text, size_t length, const PrintMetrics& metrics, unsigned char left,
                   unsigned char top, const char* headline, const char* footer, PrintSurface& surface);

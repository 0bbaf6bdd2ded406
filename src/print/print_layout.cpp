#include "print/print_layout.h"

#include <algorithm>
#include <cstring>

#include "store/store.h"
#include "views/view_state.h"

char printHeadline[headlineLimit + 1];

namespace {

// Two digits of value at footer[at], with a leading zero.
void putTwoDigits(char* at, int value)
{
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

bool separatorAt(const char* text, size_t length, size_t at)
{
    return at + 4 <= length && std::memcmp(text + at, "\r\n\r\n", 4) == 0;
}

}  // namespace

void fillFooter(char (&footer)[footerSize], int day, int month, int year, int hour, int minute)
{
    std::memcpy(footer, footerTemplate, footerSize);
    // "(Stand: 04.02.2000 17:44, ORDANE-Lumo)"
    //  0       8  11 14   19 22
    putTwoDigits(footer + 8, day);
    footer[10] = '/';
    putTwoDigits(footer + 11, month);
    footer[13] = '/';
    putTwoDigits(footer + 14, year / 100);
    putTwoDigits(footer + 16, year % 100);
    putTwoDigits(footer + 19, hour);
    putTwoDigits(footer + 22, minute);
}

unsigned char marginFromTyped(unsigned typed)
{
    return static_cast<unsigned char>(typed % 256);
}

std::string printText()
{
    if (entryCount < 1 || !entryIndex)
        return {};
    if (!markActive)
        markFirst = markLast = std::clamp(currentEntry(), 0, entryCount - 1);
    const int32_t first = std::clamp(markFirst, 0, entryCount - 1);
    const int32_t last = std::clamp(markLast, first, entryCount - 1);
    const int32_t from = std::clamp(entryIndex[first], 0, usedBytes);
    const int32_t to = std::clamp(entryIndex[last + 1], from, usedBytes);
    return std::string(reinterpret_cast<const char*>(textBuffer + from), static_cast<size_t>(to - from));
}

int layoutPrintout(const char* text, size_t length, const PrintMetrics& metrics, unsigned char left,
                   unsigned char top, const char* headline, const char* footer, PrintSurface& surface)
{
    const int32_t h = metrics.lineHeight;
    const int32_t x = metrics.digitWidth * left;
    int32_t t = top;
    const auto footerLength = static_cast<int32_t>(std::strlen(footer));
    if (headline && headline[0]) {
        surface.text(x, h * t, headline, static_cast<int32_t>(std::strlen(headline)), weightHeavy, false);
        surface.text(x, h * (t + 1), footer, footerLength, weightNormal, true);
        ++t;   // the body moves down by the headline's row
    } else {
        surface.text(x, h * t, footer, footerLength, weightHeavy, false);
    }

    int pages = 1;
    int32_t row = 2;
    int weight = weightBold;
    size_t p = 0;
    while (p < length) {
        size_t end = p;
        while (end < length && static_cast<unsigned char>(text[end]) >= 32)
            ++end;
        surface.text(x, h * (row + t), text + p, static_cast<int32_t>(end - p), weight, false);
        if (separatorAt(text, length, end)) {
            // The empty row after an entry carries the double rule in its middle.
            row += 2;
            const int32_t middle = h * (row + t) - h / 2;
            surface.rule(middle - 1, x, metrics.pageWidth - 1, false);
            surface.rule(middle, x, metrics.pageWidth - 1, true);
            row -= 1;
            end += 2;
            weight = weightBold;
        } else {
            weight = weightNormal;
        }
        row += 1;
        p = std::min(end + 2, length);
        // A page ends when the next row would reach into its last line
        // height; no empty page follows the last line.
        if (h * (row + t) > metrics.pageHeight - h && p < length) {
            if (!surface.nextPage())
                break;
            ++pages;
            row = 0;
        }
    }
    return pages;
}

#include "transfer/address_field.h"

#include <algorithm>

#include "files/config.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "views/data_view_rules.h"
#include "views/line_table.h"
#include "views/view_state.h"

namespace {

// Slots asked of the line table for an entry of a marked block: the order
// names lines 1 to 9 at most, and the table always holds every line.
constexpr int32_t blockLineSlots = 10;

// The line starting at start, up to its first control byte; the heading
// also up to its first name separator.
std::string copiedLine(int32_t start, bool heading)
{
    std::string text;
    for (int32_t p = start; p < usedBytes; ++p) {
        const unsigned char byte = textBuffer[p];
        if (byte < 32 || (heading && endsName(byte)))
            break;
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

// The five output positions of the entry laid out in the line table.
void appendAddress(std::string& out)
{
    for (int k = 0; k < 5; ++k) {
        const unsigned char d = static_cast<unsigned char>(addressLineOrder[k][0]);
        if (d > '0') {
            const int32_t start = lineStart(d - '1');
            if (start >= 0) {
                std::string line = copiedLine(start, d == '1');
                if (d == '1' && swapFirstAndLastName)
                    swapFirstAndLastNames(line);
                out += line;
            }
            out += "\r\n";
        }
        if (k < 4 && addressEmptyLines[k])
            out += "\r\n";
    }
}

}  // namespace

bool endsName(unsigned char byte)
{
    for (const auto& separator : nameSeparators)
        if (separator[0] != 0 && byte == static_cast<unsigned char>(separator[0]))
            return true;
    return false;
}

void swapFirstAndLastNames(std::string& name)
{
    if (name.empty())
        return;
    // The blank is looked for before the last byte only: "Miller " keeps its
    // trailing blank and is no pair of names.
    const size_t last = name.size() - 1;
    size_t blank = 0;
    while (blank < last && static_cast<unsigned char>(name[blank]) > ' ')
        ++blank;
    if (blank >= last || name[blank] != ' ')
        return;
    const std::string first = name.substr(0, blank);
    name = name.substr(blank + 1) + ' ' + first;
}

std::string addressFieldText()
{
    std::string out;
    if (!textBuffer || entryCount <= 0)
        return out;
    if (!markActive) {
        buildLineTable(std::max(dataViewRowCount + 1, 1), currentEntryOffset, firstVisibleLine);
        appendAddress(out);
        return out;
    }
    UiBusyScope busy;
    const int32_t first = std::clamp(markFirst, 0, entryCount - 1);
    const int32_t last = std::clamp(markLast, first, entryCount - 1);
    for (int32_t e = first; e <= last; ++e) {
        buildLineTable(blockLineSlots, entryIndex[e], 0);
        appendAddress(out);
        out += "\r\n\r\n";
    }
    // The Data view's own entry back in the line table.
    buildLineTable(std::max(dataViewRowCount + 1, 1), currentEntryOffset, firstVisibleLine);
    return out;
}

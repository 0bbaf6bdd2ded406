#include "views/line_table.h"

#include <new>

#include "resources/resource.h"
#include "host/host.h"
#include "store/store.h"
#include "views/view_state.h"

int32_t* lineStarts = nullptr;
int32_t lineStartSlots = 0;
int32_t lineCount = 0;
char viewLines[viewLineSlots][viewLineSize];

namespace {

// Bytes past the used text read as 0, so a scan never looks beyond it.
unsigned char byteAt(int32_t offset)
{
    return offset >= 0 && offset < usedBytes ? textBuffer[offset] : 0;
}

bool separatorAt(int32_t p)
{
    return byteAt(p) == '\r' && byteAt(p + 1) == '\n' && byteAt(p + 2) == '\r' && byteAt(p + 3) == '\n';
}

// A CR LF at p after which a line of its own begins.
bool lineBreakAt(int32_t p)
{
    return byteAt(p) == '\r' && byteAt(p + 1) == '\n' && byteAt(p + 2) >= 32;
}

int32_t countLines(int32_t s)
{
    int32_t count = 0;
    for (int32_t p = s; p < usedBytes; ++p) {
        if (textBuffer[p] != '\r')
            continue;
        if (separatorAt(p))
            return count + 1;
        if (lineBreakAt(p))
            ++count;
    }
    return count;
}

void fillLineStarts(int32_t s)
{
    int32_t next = 0;
    lineStarts[next++] = s;
    for (int32_t p = s; p < usedBytes && next < lineStartSlots; ++p) {
        if (textBuffer[p] != '\r')
            continue;
        if (separatorAt(p))
            break;
        if (lineBreakAt(p))
            lineStarts[next++] = p + 2;
    }
    for (int32_t k = next; k < lineStartSlots; ++k)
        lineStarts[k] = -1;
}

// A new entry on screen: the selection belonged to the old one.
void dropSelection()
{
    selectionActive = false;
    // Copy and Cut stay enabled while the Overview holds a marked block.
    if (!markActive) {
        host().enableMenuItem(IDM_COPY, false);
        host().enableMenuItem(IDM_CUT, false);
    }
}

void layOut(int32_t s)
{
    dropSelection();
    lineTableOwner = s;
    lineCount = countLines(s);
    delete[] lineStarts;
    lineStarts = new (std::nothrow) int32_t[lineCount + 100];
    if (!lineStarts) {
        // Nothing to show this time; the next paint tries again.
        lineStartSlots = 0;
        lineCount = 0;
        lineTableOwner = -1;
        return;
    }
    lineStartSlots = lineCount + 100;
    fillLineStarts(s);
}

}  // namespace

int32_t textAt(int32_t offset, char* text256)
{
    int32_t n = 0;
    if (offset >= 0) {
        while (n < viewLineSize - 1 && byteAt(offset + n) >= 32) {
            text256[n] = static_cast<char>(textBuffer[offset + n]);
            ++n;
        }
    }
    text256[n] = 0;
    return n;
}

int32_t lineStart(int32_t l)
{
    if (!lineStarts || l < 0 || l >= lineStartSlots)
        return -1;
    return lineStarts[l];
}

int32_t lineText(int32_t l, char* text256)
{
    return textAt(lineStart(l), text256);
}

int32_t lineLength(int32_t l)
{
    char text[viewLineSize];
    return lineText(l, text);
}

void buildLineTable(int32_t n, int32_t entryOffset, int32_t firstVisible)
{
    if (entryOffset != lineTableOwner)
        layOut(entryOffset);
    if (n > viewLineSlots)
        n = viewLineSlots;
    for (int32_t j = 0; j < n; ++j)
        lineText(j == 0 ? 0 : firstVisible + j, viewLines[j]);
}

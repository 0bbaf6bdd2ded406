#include "views/type_ahead.h"

#include <cstring>

#include "find/fold.h"
#include "host/host.h"
#include "host/ui_busy.h"
#include "store/store.h"
#include "views/overview_rules.h"
#include "views/view_state.h"

uint8_t typeAheadLength = 0;
char overviewCaption[256] = "Overview";

namespace {

constexpr int comparedLength = 255;

unsigned char folded(unsigned char c)
{
    return foldChar(c, foldUpperUmlauts);
}

// Moves the list so that the typed text's entry is on the top row.
void showTypedEntry()
{
    firstVisibleEntry = typeAheadLookup(overviewCaption);
    cursorRow = 0;
    host().repaint(ViewId::Overview);
    showCurrentEntry();
}

}  // namespace

int32_t typeAheadLookup(const char* prefixText)
{
    if (entryCount < 1)
        return 0;
    const auto* prefix = reinterpret_cast<const unsigned char*>(prefixText);
    int32_t bestLength = -1;
    int32_t bestEntry = 0;
    int32_t n = 0;
    for (int32_t e = 0; e < entryCount; ++e) {
        const unsigned char* line = textBuffer + entryIndex[e];
        n = 0;
        bool differs = false;
        while (n < comparedLength && prefix[n] >= 32 && line[n] >= 32) {
            if (folded(prefix[n]) != folded(line[n])) {
                differs = true;
                break;
            }
            ++n;
        }
        // The entry sorts behind the prefix: the prefix belongs here.
        if (differs && n >= 1 && folded(prefix[n]) < folded(line[n]))
            return e;
        if (prefix[n] == 0)
            return e;
        if (n >= bestLength) {
            bestLength = n;
            bestEntry = e;
        } else if (bestLength != -1) {
            return bestEntry;
        }
    }
    if (n != 0)
        return bestEntry;

    // Not even the first character matched anywhere: the first entry that
    // begins with a character sorting behind the prefix's first one.
    if (prefix[0] >= 32) {
        for (int32_t e = 0; e < entryCount; ++e) {
            unsigned char first = textBuffer[entryIndex[e]];
            if (first >= 32 && folded(first) > folded(prefix[0]))
                return e;
        }
    }
    return bestEntry;
}

void typeAheadCharacter(unsigned char c)
{
    if (c < 32)
        return;
    UiBusyScope busy;
    if (typeAheadLength >= typeAheadLimit)
        return;
    overviewCaption[typeAheadLength] = static_cast<char>(c);
    overviewCaption[typeAheadLength + 1] = 0;
    ++typeAheadLength;
    showTypedEntry();
}

void typeAheadBackspace()
{
    if (typeAheadLength == 0)
        return;
    --typeAheadLength;
    if (typeAheadLength == 0) {
        endTypeAhead();
        return;
    }
    UiBusyScope busy;
    overviewCaption[typeAheadLength] = 0;
    showTypedEntry();
}

void endTypeAhead()
{
    typeAheadLength = 0;
    std::strcpy(overviewCaption, "Overview");
    host().repaint(ViewId::Overview);
}

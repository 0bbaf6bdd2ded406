#include "core/reference_sort.h"

#include <list>
#include <vector>

#include "find/fold.h"
#include "store/store.h"

namespace {

bool keyEnded(unsigned char c)
{
    return c < 32;
}

enum Decision { None, Up, Down, InsertHere, InsertBehind };

// One probe: the key against the entry in the probe slot, in walk state d
// (0 = first probe, 1 = walking down, -1 = walking up).
Decision probe(const unsigned char* key, const unsigned char* other, int d)
{
    for (int i = 0; i < 255; ++i) {
        if (keyEnded(key[i]) || keyEnded(other[i]))
            break;
        unsigned char a = foldChar(key[i], foldUpperUmlauts);
        unsigned char b = foldChar(other[i], foldUpperUmlauts);
        if (a == b)
            continue;
        if (d == 0)
            return a < b ? Up : Down;
        if (d == 1)
            return a < b ? InsertHere : Down;
        return a < b ? Up : InsertBehind;
    }
    return None;
}

}  // namespace

ReferenceSortResult walkReferenceSort(int32_t current, int32_t cursorRow)
{
    const int32_t count = entryCount;
    std::list<int32_t> target;   // the entries in their slots
    auto k = target.begin();     // the probe slot; end() is the empty slot
    int32_t kSlot = 0;           // its number
    bool currentPlaced = false;
    for (int32_t s = 0; s < count; ++s) {
        const unsigned char* key = textBuffer + entryIndex[s];
        int d = 0;
        for (;;) {
            const Decision decision = k != target.end() ? probe(key, textBuffer + entryIndex[*k], d) : None;
            if (decision == None || decision == InsertHere)
                break;
            if (decision == InsertBehind) {
                ++k;
                ++kSlot;
                break;
            }
            if (decision == Down) {
                d = 1;
                ++k;
                ++kSlot;
                continue;
            }
            if (kSlot == 0)
                break;
            d = -1;
            --k;
            --kSlot;
        }
        k = target.insert(k, s);

        if (s == current) {
            cursorRow = kSlot;
            currentPlaced = true;
        } else if (currentPlaced && kSlot <= cursorRow) {
            ++cursorRow;
        }
    }

    std::string text;
    text.reserve(static_cast<size_t>(usedBytes));
    for (int32_t s : target)
        text.append(reinterpret_cast<const char*>(textBuffer) + entryIndex[s], static_cast<size_t>(entryIndex[s + 1] - entryIndex[s]));
    text.append(reinterpret_cast<const char*>(textBuffer) + entryIndex[count], static_cast<size_t>(usedBytes - entryIndex[count]));
    return {text, cursorRow};
}

#include "core/reference_sort.h"

#include <cstring>
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

ReferenceSortResult referenceSort(int32_t current, int32_t cursorRow)
{
    const int32_t count = entryCount;
    std::vector<unsigned char> target(static_cast<size_t>(usedBytes) + 2000, 0);
    std::vector<int32_t> targetIndex(static_cast<size_t>(count) + 100, 0);
    auto occupied = [&](int32_t slot) { return target[static_cast<size_t>(targetIndex[slot])] != 0; };

    int32_t k = 0;
    int32_t placedEnd = 0;
    bool currentPlaced = false;
    for (int32_t s = 0; s < count; ++s) {
        const unsigned char* key = textBuffer + entryIndex[s];
        int d = 0;
        for (;;) {
            const Decision decision = occupied(k) ? probe(key, target.data() + targetIndex[k], d) : None;
            if (decision == None || decision == InsertHere)
                break;
            if (decision == InsertBehind) {
                ++k;
                break;
            }
            if (decision == Down) {
                if (!occupied(k))
                    break;
                d = 1;
                ++k;
                continue;
            }
            if (k == 0)
                break;
            d = -1;
            --k;
        }

        // Insert entry s at slot k.
        int32_t length = entryIndex[s + 1] - entryIndex[s];
        int32_t at = targetIndex[k];
        // Only the placed bytes need moving; everything behind them is zero.
        std::memmove(target.data() + at + length, target.data() + at, static_cast<size_t>(placedEnd - at));
        std::memcpy(target.data() + at, textBuffer + entryIndex[s], static_cast<size_t>(length));
        placedEnd += length;

        // Rescan the whole target.
        std::fill(targetIndex.begin(), targetIndex.begin() + count, 0);
        int32_t slot = 0;
        for (int32_t i = 0; i < usedBytes; ++i) {
            if (target[i] == 13 && target[i + 1] == 10 && target[i + 2] == 13 && target[i + 3] == 10) {
                i += 3;
                targetIndex[++slot] = i + 1;
            }
        }

        if (s == current) {
            cursorRow = k;
            currentPlaced = true;
        } else if (currentPlaced && k <= cursorRow) {
            ++cursorRow;
        }
    }

    // The sorted entries replace the entries; text behind them stays.
    int32_t entriesEnd = entryIndex[count];
    std::string text(reinterpret_cast<const char*>(target.data()), static_cast<size_t>(entriesEnd));
    text.append(reinterpret_cast<const char*>(textBuffer) + entriesEnd, static_cast<size_t>(usedBytes - entriesEnd));
    return {text, cursorRow};
}

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

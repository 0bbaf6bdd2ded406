// The sort written out step by step, exactly as the probe-insertion method
// is described: a zeroed target buffer and index, byte-by-byte key
// comparison, one memmove per insertion, and a full rescan of the target
// for separators after every insertion.  Slow on purpose; the tests hold
// the real sort to its results.
#pragma once

#include <cstdint>
#include <string>

struct ReferenceSortResult {
    std::string text;
    int32_t cursorRow;
};

// Sorts a copy of the current store; the store itself is not changed.
ReferenceSortResult referenceSort(int32_t currentEntry, int32_t cursorRowBefore);

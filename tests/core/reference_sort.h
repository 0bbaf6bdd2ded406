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

// The same probe walk, slot by slot and byte by byte as above, over a
// linked list of slots instead of a byte buffer: an insertion costs nothing
// and no separator scan follows it, so books of 100,000 entries in which
// the walks stay short can be checked.  The tests hold it to referenceSort
// on every small book.
ReferenceSortResult walkReferenceSort(int32_t currentEntry, int32_t cursorRowBefore);

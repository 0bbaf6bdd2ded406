// The sort written out as the probe-insertion method is described: each
// entry in turn walks from the slot of the last insertion, comparing keys
// byte by byte, up or down to its place.  The slots are a linked list, so
// an insertion costs nothing and books of 100,000 entries in which the
// walks stay short can be checked.  Slow on purpose; the tests hold the
// real sort to its results.
#pragma once

#include <cstdint>
#include <string>

struct ReferenceSortResult {
    std::string text;
    int32_t cursorRow;
};

// Sorts a copy of the current store; the store itself is not changed.
ReferenceSortResult walkReferenceSort(int32_t currentEntry, int32_t cursorRowBefore);

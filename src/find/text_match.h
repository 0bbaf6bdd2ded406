// Finding a short text in the text buffer with the search's folding: the
// byte-at-a-time test of the search and replace rules, and scans that give
// the same hits as testing every position in turn but skip through the
// buffer sixteen bytes at a time.
#pragma once

#include <cstdint>

struct TextPattern {
    unsigned char folded[64];   // the text, each byte folded
    int32_t length = 0;
    int mode = 0;
    bool impossible = true;     // empty, or holds a control byte: never a hit
    // The bytes that fold to the first and to the last byte of the text;
    // a count above 2 sends the scans down the plain path.
    unsigned char first[4], last[4];
    int firstCount = 0, lastCount = 0;
};

// At most 63 bytes of text are used.
TextPattern makePattern(const char* text, int mode);

// The text at p: every byte of the data at p, p + 1, ... equal to the text's
// after folding.  A control byte never matches, so a hit never spans a line
// end; bytes at and past used read as the end of the data.
bool matchesAt(const TextPattern& pattern, const unsigned char* data, int32_t used, int32_t p);

// The first (lowest) and the last (highest) position in [from, to) where
// the text stands; -1 when there is none.
int32_t findFirst(const TextPattern& pattern, const unsigned char* data, int32_t used, int32_t from, int32_t to);
int32_t findLast(const TextPattern& pattern, const unsigned char* data, int32_t used, int32_t from, int32_t to);

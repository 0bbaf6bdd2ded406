// Synthetic address books for the benchmark.
//
// The text is what the store holds: Windows-1252 bytes, CR LF line ends,
// every entry closed by the empty line.  The same recipe and seed always give
// the same bytes, on every platform (the generator has its own random
// numbers and its own shuffle, nothing from <random> or <algorithm> whose
// results depend on the library).
#pragma once

#include <cstdint>
#include <string>

enum class BookOrder {
    Sorted,     // in order of the folded headings, as the sort leaves it
    Shuffled,   // the same entries in random order
};

struct BookRecipe {
    int32_t entries = 1000;      // distinct entries, doubles not counted
    uint32_t seed = 1;
    BookOrder order = BookOrder::Sorted;
    int doublePercent = 0;       // share of entries written twice in a row
    // Entries as moving a book in and out meets them: more heading forms
    // ("Last First", titles), lines that begin with the program's text
    // pre-definitions, and awkward lines (vCard's special characters, long
    // lines, blanks at either end, control bytes, every Windows-1252
    // character an address file keeps).  Off, the books stay as they were.
    bool exchangeLines = false;
};

struct Book {
    std::string text;
    int32_t entryCount = 0;      // entries in text, doubles included
    int32_t doubles = 0;         // entries written a second time
};

Book generateBook(const BookRecipe& recipe);

// Shared by the exchange fuzz targets: an imported book must be a sound
// book, and what it holds must come back unchanged through an export and
// another import.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "contacts/book_exchange.h"
#include "files/charset.h"
#include "find/sort.h"
#include "fuzz_support.h"

// The entries of the store, each its bytes without the separator, in a
// fixed order: equal headings keep no order through a sort.
inline std::vector<std::string> sortedStoreEntries()
{
    std::vector<std::string> entries;
    for (int32_t k = 0; k < entryCount; ++k)
        entries.emplace_back(reinterpret_cast<const char*>(textBuffer + entryStart(k)),
                             static_cast<size_t>(entryLength(k) - 4));
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The text import made: entries closed by the empty line, exactly as many
// as it says, no line empty, no byte that a file would not give back.
inline void checkImportedText(const ImportedBook& book)
{
    const std::string& text = book.text;
    FUZZ_CHECK(text.size() >= 5 && text.ends_with("\r\n\r\n"));
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.resize(bytes.size() + 4, 0);
    int32_t unused;
    FUZZ_CHECK(scanEntrySeparators(bytes.data(), static_cast<int32_t>(text.size()), &unused, 0) == book.entries);
    FUZZ_CHECK(text.find("\r\n\r\n\r\n") == std::string::npos);
    FUZZ_CHECK(!text.starts_with("\r\n"));
    for (unsigned char b : text)
        FUZZ_CHECK(keptByAddressFile(b));
}

// Imports bytes; when that succeeds, checks the book, puts it in the store
// sorted as on open, and exports and imports it again in format: the same
// entries, nothing replaced.
inline void importAndRoundTrip(std::string_view bytes, ImportFormat format, ExportFormat again)
{
    ImportedBook book;
    std::string why;
    if (!importContacts(bytes, format, book, why))
        return;
    checkImportedText(book);
    FUZZ_CHECK(loadStoreFromText(book.text));
    sortEntries();
    checkStore();
    FUZZ_CHECK(entryCount == book.entries);
    const std::vector<std::string> before = sortedStoreEntries();

    ImportedBook second;
    FUZZ_CHECK(importContacts(exportEntries(again), ImportFormat::Guess, second, why));
    FUZZ_CHECK(second.replaced.count == 0);
    FUZZ_CHECK(loadStoreFromText(second.text));
    FUZZ_CHECK(sortedStoreEntries() == before);
}

// Whole address books out to vCard or CSV and in from them: the store's
// entries made into contacts and written, or contacts read and made into
// the text of a book.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "contacts/exchange_text.h"

enum class ExportFormat { VCard3, VCard4, Csv };

// Every entry of the store, in the store's order, as one card or record.
std::string exportEntries(ExportFormat format);

// Entries first to end - 1 of the store the same way; progress, when
// given, hears how many of them are done now and then.
using ExchangeProgress = std::function<void(int64_t done, int64_t total)>;
std::string exportEntries(ExportFormat format, int32_t first, int32_t end, const ExchangeProgress& progress = {});

// The lines of entry k of the store (Windows-1252), its closing empty line
// left off.
std::vector<std::string> entryLines(int32_t k);

enum class ImportFormat { Guess, VCard, Csv };

struct ImportedBook {
    std::string text;           // Windows-1252, CR LF, every entry closed by the empty line
    int32_t entries = 0;
    ReplacementLog replaced;    // characters an address file cannot hold
    int32_t skipped = 0;        // contacts without anything to make a heading of
    long transliterated = 0;    // characters written as their nearest Windows-1252 letters
    std::vector<std::string> warnings;   // what a lenient reading had to guess
};

struct ImportOptions {
    bool transliterate = true;  // false: every character outside the file's set becomes "?"
    bool lenient = false;       // CSV: a quote never closed runs to the end instead of failing
};

// The contacts in bytes as the text of a book, in the order read.  Guess
// takes a file that begins with BEGIN:VCARD as vCards and anything else as
// CSV; UTF-16 (with or without its byte order mark) and UTF-8 with one are
// read as well as plain UTF-8 and Windows-1252.  Contacts come in one at a
// time, so that memory stays near the size of the file and the book.
// False, with why, when bytes hold no contact or the CSV has a quote that
// is never closed; book is then left without entries.  progress, when
// given, hears how many contacts of about how many have been read.
bool importContacts(std::string_view bytes, ImportFormat format, ImportedBook& book, std::string& why,
                    const ImportOptions& options = {}, const ExchangeProgress& progress = {});

// Replaces the store with text as a load does; false after the
// out-of-memory message.
bool loadStoreFromText(std::string_view text);

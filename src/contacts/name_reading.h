// A heading read as a careful person reads it: the name of a person
// ("Last, First" or "Last First", the order the address field's name swap
// assumes) or of a firm, and a telephone number written behind it.
//
// The rules, on UTF-8 text:
// - A trailing telephone number is taken off: a run at the end made of
//   digits, blanks and + - / ( ) . with at least five digits, after a comma,
//   semicolon or blank; a "Tel." or "Phone:" in front of it goes with it.
//   Nothing is taken off when nothing would remain.
// - What remains names a firm when it holds a digit, "@", "&" or "+", or a
//   firm word (GmbH, AG, Ltd, Inc, Praxis, Kanzlei, Hotel, ..., see
//   name_reading.cpp), or when it does not fit either form below.
// - "Last, First": two parts around one comma, each of at most four words
//   made of letters, hyphens, apostrophes, dots and parentheses.
// - "Last First ...": one to three such words without a comma; the first
//   is the last name, the others the first names.
// - Titles (Dr., Prof., Herr, Frau, Mr., ...) in front of either part
//   become the name's prefix.
// A person's formatted name is "Prefix First Last"; a firm's is the text
// as written (without the telephone number).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct NameReading {
    std::string phone;          // the telephone number taken off, or empty
    bool person = false;
    std::string family, given, prefix;   // a person's name parts
    std::string formattedName;  // the display name; empty for an empty heading
};

// Headings longer than this many bytes are taken as they stand, blanks at
// either end trimmed: no name, no number.
inline constexpr size_t longestName = 1024;

NameReading readHeading(std::string_view heading);

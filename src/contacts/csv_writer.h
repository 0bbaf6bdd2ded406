// Contacts as CSV (RFC 4180): UTF-8 without a byte order mark, CR LF
// between records, a header row and the columns
//   Name, Phone, Fax, Email, URL, Birthday, Notes
// Name is the formatted name; Phone, Fax, Email and URL hold the first
// value of their kind; Birthday is "YYYY-MM-DD" (or "--MM-DD"); Notes is
// the whole entry, its lines ended by CR LF between them.
#pragma once

#include <string>
#include <string_view>

#include "contacts/contact.h"

void appendCsvHeader(std::string& out);
void appendCsvRecord(std::string& out, const Contact& contact);

// A field as it stands in a record: between double quotes, with its own
// quotes doubled, when it holds a comma, a quote or a line break; behind
// an apostrophe when a spreadsheet would take it for a formula
// (csv_formula_guard.h).
std::string csvField(const std::string& text);
void appendCsvField(std::string& out, std::string_view value);

// CSV files of contacts read into contacts.
//
// The first record names the columns.  Fields are separated by commas,
// or by semicolons or tabs when the header holds more of those; a field
// between double quotes may hold separators, line breaks and doubled
// quotes.  Columns are known by their names, without regard to case: the
// export's own (Name, Phone, Fax, Email, URL, Birthday, Notes) and those
// of common mail programs and web services ("First Name", "Last Name",
// "E-mail Address", "Mobile Phone", "Business Fax", "Home Street",
// "Web Page", "Organization 1 - Name", "Phone 1 - Value", ...); see
// classifyCsvColumn.  Other columns are skipped.  A column that names the
// kind of a numbered telephone ("Phone 1 - Type": "Mobile", "Home Fax")
// labels the number of the same column group, and separate columns of the
// birthday's year, month and day make one date.  A field that export
// guarded against spreadsheet formulas loses its apostrophe again
// (csv_formula_guard.h).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "contacts/contact.h"

// The records of a CSV text (UTF-8), each a list of fields.  A quoted
// field still open at the end of the text runs to the end.
std::vector<std::vector<std::string>> readCsvRecords(std::string_view text);

// Where the text ended inside a quoted field: the lines (counted from 1)
// of the quote that opened it and of the text's end.  Zero when it did not.
struct CsvOpenQuote {
    size_t openedOnLine = 0;
    size_t lastLine = 0;
};

// The same, each record handed to take(fields, its first line) as soon as
// it ends.
CsvOpenQuote readCsvRecords(std::string_view text,
                            const std::function<void(std::vector<std::string>&, size_t)>& take);

enum class CsvColumn {
    Skip, Name, Given, Middle, Family, Prefix, Suffix, Nickname, Organization, JobTitle,
    Phone, PhoneType, Fax, Email, EmailType, Url, Birthday, BirthYear, BirthMonth, BirthDay, Notes, Address,
};

struct CsvColumnMeaning {
    CsvColumn kind = CsvColumn::Skip;
    std::string label;          // Phone: "mobile", "home", "work", "pager" or empty
    std::string typeGroup;      // Phone, Email and their Type columns: "phone 1", "e-mail 2"
    std::string addressGroup;   // Address: the columns of one address share it
    enum class Part { None, PoBox, Extended, Street, Locality, Region, PostalCode, Country } part = Part::None;
};

CsvColumnMeaning classifyCsvColumn(const std::string& header);

// The contacts of a CSV file's bytes (decoded with decodeOutsideText).
// False, with why, when the header names no column it knows.
bool readCsvContacts(std::string_view bytes, std::vector<Contact>& contacts, std::string& why);

// The contacts of CSV text (UTF-8), each handed to take as soon as its
// record ends.  A quoted field still open at the end of the text is an
// error naming the line where it opened; lenient, its reading that runs to
// the end is taken and a note saying what was joined goes to warnings.
bool readCsvContacts(std::string_view text, bool lenient, const std::function<void(Contact&)>& take,
                     std::string& why, std::vector<std::string>& warnings);

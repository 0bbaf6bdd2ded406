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
// classifyCsvColumn.  Other columns are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contacts/contact.h"

// The records of a CSV text (UTF-8), each a list of fields.
std::vector<std::vector<std::string>> readCsvRecords(std::string_view text);

enum class CsvColumn {
    Skip, Name, Given, Middle, Family, Prefix, Suffix, Organization, JobTitle,
    Phone, Fax, Email, Url, Birthday, Notes, Address,
};

struct CsvColumnMeaning {
    CsvColumn kind = CsvColumn::Skip;
    std::string label;          // Phone: "mobile", "home", "work", "pager" or empty
    std::string addressGroup;   // Address: the columns of one address share it
    enum class Part { None, PoBox, Extended, Street, Locality, Region, PostalCode, Country } part = Part::None;
};

CsvColumnMeaning classifyCsvColumn(const std::string& header);

// The contacts of a CSV file's bytes (decoded with decodeOutsideText).
// False, with why, when the header names no column it knows.
bool readCsvContacts(std::string_view bytes, std::vector<Contact>& contacts, std::string& why);

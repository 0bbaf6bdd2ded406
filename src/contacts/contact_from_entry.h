// An entry read as a contact, for export.
//
// The heading gives the name (name_reading.h).  Lines that begin with the
// program's own text pre-definitions become properties:
//   PhoneNumber:  a telephone          FaxNumber:    a fax number
//   eMail:        a mail address       Birthday:     the birthday, when it
//   Profession:   the job title                      reads as a date
// Lines starting with http:// or https://, and web addresses between
// double quotes anywhere in a line (the Data view's links), become web
// addresses.  A telephone number behind the name in the heading is the
// first telephone unless a PhoneNumber line gives it.  When the third line
// begins with a postal code (four or five digits, perhaps after a country
// letter code and "-"), the second and third lines are the postal address,
// and a fourth line of one to three words of letters its country.  The
// whole entry, every line of it, is the contact's note.
#pragma once

#include <string>
#include <vector>

#include "contacts/contact.h"
#include "contacts/name_reading.h"

// lines: the entry's lines as UTF-8 (exchange_text.h), the heading first.
Contact contactFromEntry(const std::vector<std::string>& lines);

// What the lines say as properties, without the name and the note, their
// heading already read (readHeading of lines[0]).
Contact readEntry(const std::vector<std::string>& lines, const NameReading& heading);

// "14.02.1961", "14.2.1961", "1961-02-14" as "1961-02-14"; "14.02." as
// "--02-14"; empty when text is no valid date.
std::string birthdayFromText(const std::string& text);

// A line that starts with http:// or https:// as the pre-definition types
// it, perhaps with blanks behind the "//", as the web address it becomes;
// empty when the line is no such address.
std::string webAddressOfLine(const std::string& line);

// The digits of a telephone number, with a leading + kept: numbers compare
// equal whatever blanks and dashes they are written with.
std::string phoneDigits(const std::string& number);

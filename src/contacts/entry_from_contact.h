// A contact made into an entry, for import.
//
// The heading is the name -- "Last, First" for a person, the firm's name,
// or the formatted name; without any, the nickname or the first mail
// address -- followed by ", " and the first telephone number that is no
// fax (or that number alone).  When the note's first line reads as the same name (an
// exported entry carries its whole text in the note), that line is the
// heading instead.  Then come the first postal address as plain lines
// (street, postal code and place, country), the properties as lines with
// the program's text pre-definitions (PhoneNumber:, FaxNumber:, eMail:,
// Birthday:, Profession:; web addresses between double quotes so that the
// Data view shows them as links; further addresses behind "Address:" and a
// person's firm behind "Info:"), and the lines of the note.  A property is
// left out when the heading or the note already gives it, as export would
// read them.  An empty line, which would end the entry, becomes one blank.
#pragma once

#include <string>
#include <vector>

#include "contacts/contact.h"

// The entry's lines as UTF-8, the heading first; empty when the contact has
// nothing to make a heading of (no name, firm, nickname, mail address or
// telephone number) and no note holding a whole entry.
std::vector<std::string> entryFromContact(const Contact& contact);
// The same, using up the contact's note and name instead of copying them.
std::vector<std::string> entryFromContact(Contact&& contact);

// The formatted name of a contact, made from its name parts or firm when
// it has none of its own.
std::string displayName(const Contact& contact);

// The address field: chosen lines of the shown entry, or of every marked
// entry, in the order and with the extras of the general configuration,
// ready to be pasted as a postal address.
#pragma once

#include <string>

// The address text (CR LF line ends, no closing NUL) of the entry the Data
// view shows, or of every entry of the Overview's marked block, each then
// followed by two empty lines.  Settings used: addressLineOrder,
// nameSeparators, swapFirstAndLastName, addressEmptyLines.
std::string addressFieldText();

// Whether byte is the first character of one of the name separators, which
// end the name on an entry's first line.
bool endsName(unsigned char byte);

// Moves the first word of a name to its end: "Miller John Peter" becomes
// "John Peter Miller".  A name without a blank, or one whose blank is its
// last byte, stays as it is.
void swapFirstAndLastNames(std::string& name);

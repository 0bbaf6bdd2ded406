// Contacts as vCards: version 3.0 (RFC 2426) or 4.0 (RFC 6350), UTF-8,
// CR LF line ends, lines folded at 75 octets, text values escaped.
#pragma once

#include <string>

#include "contacts/contact.h"

enum class VCardVersion { V3, V4 };

// One BEGIN:VCARD ... END:VCARD block, appended to out.
void appendVCard(std::string& out, const Contact& contact, VCardVersion version);

// A text value with \ , ; and line breaks escaped.
std::string escapeVCardText(const std::string& text);

// A content line folded into physical lines of at most 75 octets, each
// ended by CR LF; a continuation starts with one blank.  A UTF-8 sequence
// is never split.
std::string foldVCardLine(const std::string& line);

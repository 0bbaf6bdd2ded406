// vCards of version 2.1, 3.0 and 4.0 read into contacts.
//
// Folded lines are unfolded (2.1 keeps the blank that starts a
// continuation, 3.0 and 4.0 drop it), quoted-printable values with their
// soft line breaks are decoded, and each value is read in its CHARSET
// (UTF-8, ISO-8859-1, Windows-1252, US-ASCII) -- without one, as UTF-8 when
// it is valid UTF-8 and as Windows-1252 otherwise.  A character of another
// character set becomes U+FFFD.  Properties the address book has no place
// for (photos, keys, UIDs, ...) are skipped, and so are cards inside cards.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "contacts/contact.h"

std::vector<Contact> readVCards(std::string_view bytes);

// The same, each contact handed to take as soon as its card ends, so that
// no more than one is held at a time.  bytes is UTF-8 or 8-bit text, as
// withoutByteOrderMark leaves a file.
void readVCards(std::string_view text, const std::function<void(Contact&)>& take);

// True when bytes hold "BEGIN:VCARD" before anything but blank lines.
bool looksLikeVCard(std::string_view bytes);

// An entry as the card the sync writes to the server, and a card from the
// server as an entry.
//
// The card carries the usual properties read from the entry (as export
// makes them), NOTE with only the lines that no property carries (so a
// phone does not show each number twice), the entry itself, byte for byte,
// in X-LUMO-ENTRY, and in X-LUMO-FP a fingerprint of the properties it was
// written with.  While a card's properties still give that fingerprint,
// the entry comes back verbatim.  Once another client has changed them,
// the entry is made anew from the properties and the note, so a changed
// number reaches the entry and the entry's other lines stay.
#pragma once

#include <string>
#include <string_view>

// entry: the entry's text (Windows-1252, lines ended by CR LF between
// them, no closing empty line).  uid names the card.
std::string cardFromEntry(std::string_view entry, const std::string& uid);

// The entry a card stands for, in the same form.
std::string entryFromCard(std::string_view card);

// The card's UID, or empty.
std::string cardUid(std::string_view card);

// The first line of an entry.
std::string_view headingOf(std::string_view entry);

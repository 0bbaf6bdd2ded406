// The sync state kept beside a book (FILE.sync): which collection and user
// it belongs to, and for every contact the pairing of a server resource with
// a book entry, with what each looked like at the last sync: the resource's
// ETag and a hash of the entry's text and of its heading.  Enough to tell an
// edited entry from an unchanged one and to send a deletion; the entry
// itself lives in the book.  The password is never part of it.
//
// The text, one record a line, fields separated by tabs:
//   ORDANE-Lumo sync state 1
//   url<TAB>https://host/path/
//   user<TAB>anna
//   token<TAB>the server's sync token at the last sync (may be missing)
//   card<TAB>href<TAB>etag<TAB>entry hash<TAB>heading hash
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SyncRecord {
    std::string href;       // the resource's path on the server
    std::string etag;       // its ETag at the last sync; empty when unknown
    uint64_t entryHash = 0; // the entry's whole text at the last sync
    uint64_t headingHash = 0;
};

struct SyncState {
    std::string url;
    std::string user;
    std::string token;      // sync-collection token; empty when the server has none
    std::vector<SyncRecord> records;
};

// False, with why, for a text of another kind or a later version.
bool parseSyncState(std::string_view text, SyncState& state, std::string& why);
std::string syncStateText(const SyncState& state);

// 64-bit FNV-1a: the fingerprint of a text.
uint64_t textHash(std::string_view text);

// Two-way synchronisation of an address book with a CardDAV collection.
// Works on texts only: the book's text as the store holds it, the sync
// state as FILE.sync holds it; the caller reads and writes both (the lumo
// tool from and to files, the program from and to the store).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "sync/http.h"

struct SyncSettings {
    std::string collectionUrl;      // the address book collection, ending in '/'
    std::string user;
    std::string password;           // never written anywhere
    bool dryRun = false;            // find out what would happen, change nothing
    bool allowInsecureHttp = false; // plain http to a host other than 127.0.0.1 / localhost
};

struct SyncSummary {
    int up = 0;
    int down = 0;
    int deletedHere = 0;
    int deletedThere = 0;
    int conflicts = 0;
};

struct SyncOutcome {
    bool ok = false;
    std::string error;       // why it failed, for the user
    std::string bookText;    // the book after the sync (Windows-1252, CR LF, entries closed)
    std::string stateText;   // the new content of FILE.sync
    SyncSummary summary;
};

// One run: reads what changed on either side since stateText was written,
// sends the book's changes, takes the server's, and returns the new book and
// state.  On failure ok is false and the caller keeps its book and state
// (the server may hold some of the changes; the next run copes with that).
// progress, when set, gets 0..100.
SyncOutcome synchronise(std::string_view bookText, std::string_view stateText, const SyncSettings& settings,
                        const HttpSend& send, const std::function<void(int percent)>& progress = {});

// "sync: N up, M down, D deleted here, E deleted there, C conflicts"
std::string syncSummaryLine(const SyncSummary& summary);

// The collection URL and user name kept in a state text; both empty when
// the text holds none.  withSyncSettings gives the state with them changed
// (a new book's state when stateText is empty).
void readSyncSettings(std::string_view stateText, std::string& collectionUrl, std::string& user);
std::string withSyncSettings(std::string_view stateText, const std::string& collectionUrl, const std::string& user);

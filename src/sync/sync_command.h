// File > Synchronise and its settings, as far as they need no windows: what
// is missing before a sync can run, one sync of the store, and the settings
// kept in the book's sync state.
#pragma once

#include <string>

#include "sync/http.h"
#include "sync/sync_engine.h"

enum class SyncStart { NoFileName, NoSettings, Ready };

// Whether the open book can be synchronised; url and user get what its
// state holds.
SyncStart syncStart(std::string& url, std::string& user);

// One sync of the store with the open book's state, the progress shown in
// the status line.  Success: the store holds the result (see
// takeSyncResult) and the summary line is shown as a message.  Failure: the
// error is shown and the store and every state are as they were.
bool synchroniseStore(const SyncSettings& settings, const HttpSend& send);

// Keeps url and user in the open book's state file (written at once, it
// holds no contact of the store's text) and in the held states.  False,
// with the message shown, when the file could not be written.
bool storeSyncSettings(const std::string& url, const std::string& user);

// A collection URL as the settings keep it: blanks trimmed, a '/' at the
// end.  Empty when it is no http:// or https:// address with a host.
std::string normalisedCollectionUrl(const std::string& typed);

inline constexpr const char* textSyncNeedsName = "Please save the address book under a name first:\n"
                                                 "its synchronisation state is kept beside it.";
inline constexpr const char* textSyncBadUrl = "Please type the address of the address book collection,\n"
                                              "beginning with https:// (http:// only for this computer).";
inline constexpr const char* textSyncFailed = "Synchronisation failed:\n";
inline constexpr const char* textSyncStatus = "Synchronisieren...";   // followed by " n%"

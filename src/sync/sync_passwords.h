// Server passwords of synchronisation: kept in memory for the run of the
// program, or in the Windows credential store when the user ticks
// "Remember password"; never in O-LUMO.INF or the sync state.  Texts are
// UTF-8.
#pragma once

#include <string>

// The password known for the account: the run's, else the credential
// store's.  False when there is none.
bool knownSyncPassword(const std::string& url, const std::string& user, std::string& password);

void keepSyncPasswordForRun(const std::string& url, const std::string& user, const std::string& password);
void forgetSyncPasswordForRun(const std::string& url, const std::string& user);

// The credential store's entry "ORDANE-Lumo sync URL USER".
bool storedSyncPasswordExists(const std::string& url, const std::string& user);
bool storeSyncPassword(const std::string& url, const std::string& user, const std::string& password);
void deleteStoredSyncPassword(const std::string& url, const std::string& user);

// What a finished sync leaves in the program: the book it brought goes into
// the store as Add's books do, and the new sync state is held in memory
// until the book itself is saved.
//
// Written any earlier, FILE.sync would describe contacts that the book on
// disk does not hold, and the next sync would delete on the server what this
// one brought down.  So the held state belongs to the text it came with: the
// undo snapshot carries the state of its text and Undo exchanges the two, a
// save writes the current text's state beside the book, and Open and New,
// which put another book in the store, let go of both.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// FILE.sync: the sync state kept beside the address file at bookPath.
std::string syncStatePath(const char* bookPath);

// The state in that file; empty when there is none.
std::string syncStateOnDisk(const char* bookPath);

// The state the next sync of the book at bookPath starts from: the one held
// for the store's text, else the file's, else empty.
std::string currentSyncState(const char* bookPath);

// Takes a successful sync's book into the store: one undo snapshot first,
// then the text replaced, sorted, the Overview active, the data changed;
// stateText is held for the new text.  False, with the message shown and
// nothing changed, when there is no memory for the text.
bool takeSyncResult(std::string_view bookText, std::string stateText);

// The held state of the store's text, or nullptr when there is none.
const std::string* heldSyncState();

// Called by a save once the book is in place at bookPath: writes the held
// state beside it (crash-safe) and lets go of it.  False, with the message
// shown and the state still held, when it could not be written.
bool saveHeldSyncState(const char* bookPath);

// Gives every held state (the text's and the snapshot's) through change,
// when the settings kept in them change.
void changeHeldSyncStates(const std::function<std::string(std::string_view)>& change);

// The undo snapshot and the store tell the held state what happens to the text.
void syncStateIntoSnapshot();      // a snapshot was taken of the current text
void syncStateSwapWithSnapshot();  // Undo exchanged text and snapshot
void dropSnapshotSyncState();      // the snapshot is gone
void dropHeldSyncState();          // another book (or none) is in the store

// The platform-independent half of the shutdown: the configuration, the
// last save (or the question about it), and releasing the store.
#pragma once

// False when the last save did not happen and the user chose to keep the
// program running (only asked while canStay is true); the store is then
// untouched and the shutdown must not go on.
bool shutdownStore(bool canStay = true);

// The Data-check: removing double entries.
#pragma once

// Removes every entry that is byte for byte the same as the entry behind it
// (the later copy survives), compacts the store and resets the views.
// Since the entries are sorted, doubles stand next to each other.
void removeDuplicateEntries();

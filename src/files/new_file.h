// The store side of New: a single blank entry and no file name.
#pragma once

// Turns currentFilePath into its no-name form: a path beginning with a
// drive letter and ":" keeps the drive as a number 1 to 26 in its first
// byte; any other path is emptied.
void makePathNoName();

// No file name, views reset, one blank entry.  The current password and the
// undo snapshot are left alone.
void resetStoreToNoName();

// One-step undo: a complete copy of the text, the entry index and the view
// state, taken before a command changes the text.  Undo exchanges the copy
// with the current state, so a second Undo brings back what the first one
// replaced.
#pragma once

extern bool snapshotValid;

void takeSnapshot();
void undo();
void discardSnapshot();

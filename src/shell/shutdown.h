// Ending the program: the last save, goodbye to the calendar program, and
// the Windows objects freed.  Runs once to its end.
#pragma once

// False, with nothing released, when the last save did not happen and the
// user chose to keep working (asked only while canStay is true, that is
// while the main window still exists).
bool shutdown(bool canStay = false);

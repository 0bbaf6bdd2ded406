// Ending the program: the last save, goodbye to the calendar program, and
// the Windows objects freed.  Runs once.
#pragma once

void shutdown();

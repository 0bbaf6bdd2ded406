// Start-up of the program: settings, the last address file, the window
// family, and the message loop until the program quits.
#pragma once

#include <windows.h>

// The whole life of the program; returns the process's exit code (1 when
// another copy is already running).
int runLumo(HINSTANCE instance, const char* commandLine, int showCommand);

// The parts of runLumo, for tests that drive the program in their own
// process: start-up up to the message loop (false when another copy is
// running), and the shutdown unless it already ran.
bool startLumo(HINSTANCE instance, const char* commandLine, int showCommand);
int runMessageLoop();
void finishLumo();

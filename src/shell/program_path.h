// Where the program lives, and so where its configuration and help files are.
#pragma once

extern char programPath[512];
extern char configFilePath[512];
extern char helpFilePath[512];

// Takes the program path from the start of a command line -- the quoted
// part when it begins with a double quote, else everything up to the first
// blank -- and derives the configuration and help file paths from its
// directory.  Nothing else on the command line is read.
void setProgramPathFromCommandLine(const char* commandLine);

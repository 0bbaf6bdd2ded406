// lumo sync: an address file kept the same as a CardDAV address book.
#pragma once

#include <string>

// Runs "lumo sync ..." (argv[1] is "sync").  openPassword receives the
// password given for a protected FILE, which the tool's host answers the
// open prompt with.  Exit status as the other commands.
int runSync(int argc, char** argv, std::string& openPassword);

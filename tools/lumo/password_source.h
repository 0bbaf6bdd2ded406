// Where lumo's passwords come from.  A password on the command line can be
// seen by every user of the machine in the process list; the environment
// and the terminal keep it to the user.
#pragma once

#include <string>

// Settles one password option.  given says whether the option was on the
// command line and value what it said there:
// - "-" reads the password from the terminal without showing it (asked
//   twice when confirm is set), or the first line of standard input when
//   that is no terminal;
// - any other value is the password itself;
// - without the option, the environment variable, when set and not empty.
// On return given says whether a password was found.  False, with the
// reason on standard error, when the terminal gave none or the two typed
// passwords differ.
bool settlePassword(std::string& value, bool& given, const char* variable, const char* prompt, bool confirm);

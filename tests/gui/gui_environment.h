// The folder the program under test believes it was started from; its
// configuration file is written there.
#pragma once

#include <string>

std::string testProgramDirectory();

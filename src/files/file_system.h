// What the safe writer needs from the file system, one implementation per
// platform: file_system_posix.cpp and file_system_win32.cpp.  Paths are
// narrow strings as the rest of the program has them (on Windows in the
// ANSI code page).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The file that path finally names: symbolic links (on Windows: links and
// junctions) followed to their end.  A path that names nothing yet, or
// whose links cannot be followed, comes back as it is.
std::string finalPathOf(const std::string& path);

// True when path names an existing file that must not be written: it is
// marked read-only, or this user may not write it.
bool isReadOnlyFile(const std::string& path);

// Creates path as a new, empty file open for writing that only its owner
// can read yet.  Fails (nullptr) when anything exists under that name,
// a symbolic link included: an existing name is never followed.
std::FILE* createNewFile(const std::string& path);

// Before the new file is closed: gives it the rights target has, or the
// ones a new file gets when target does not exist.  Where the platform
// keeps rights that this cannot copy, replaceWithNewFile keeps them.
void takeRightsOf(std::FILE* file, const std::string& target);

// Puts the finished file temporary in place of target in one step; target
// keeps what the platform keeps of a replaced file (on Windows its
// attributes and security).  False leaves target as it was.
bool replaceWithNewFile(const std::string& temporary, const std::string& target);

// The names of the entries in folder, which is "" (the current folder) or
// ends with a separator; nothing when it cannot be read.
std::vector<std::string> namesInFolder(const std::string& folder);

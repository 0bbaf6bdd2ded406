// Reading and writing address files, plain or password-protected.
//
// A plain file is the text buffer with the German letters at their DOS
// positions.  A protected file starts with "P", then the verification word
// scrambled with the password, then the scrambled text.
#pragma once

#include <cstdint>
#include <cstdio>

// The password of the file being worked on (Save protects with it when it is
// not empty) and the password typed for one Add.  At most 19 characters.
extern char currentPassword[20];
extern char addPassword[20];
// The password the file at currentFilePath was last opened or saved with,
// empty when it was plain: the backup of a save whose password changed is
// scrambled again with the new one.
extern char filePassword[20];

inline constexpr char verificationWord[8] = "quorvik";

enum class LoadMode { Open = 0, Add = 1 };

// True when a plain text would be written as a file that starts with "P"
// and so be taken for a protected one when it is opened again.
bool plainFileLooksProtected(const unsigned char* text, int32_t length);

// The file at path opened for reading, or nullptr; a folder or a pipe
// opens on some systems but has no size to load, and is refused too.
std::FILE* openRegularFile(const char* path);

enum class LoadResult { Loaded, CannotOpen, NoMemory, WrongPassword };

// Replaces (Open) or extends (Add) the store with the file at path, asking
// for the password of a protected file.  Failures are reported to the user
// here; the result only tells callers that want to know what happened.
// readAsPlain takes the file as plain text even when it starts with "P"
// (a plain book whose first heading starts with P).  Only regular files
// are opened.
//
// A load that takes longer than loadProgressAfterMs shows how much of the
// file has been read, "Laden... 40%", in the status line (when the main
// window exists); the index rebuild that ends the load puts the entry count
// back.
LoadResult loadAddressFile(const char* path, LoadMode mode, bool readAsPlain = false);
extern int32_t loadProgressAfterMs;

// Writes the whole text buffer to path, protected with currentPassword when
// it is not empty.  The buffer is converted to the file's character set for
// the write and back afterwards.  Path is replaced only by a complete file
// (see safe_write.h).  Returns false when the file cannot be created or
// written completely; reporting is the caller's business.
bool writeAddressFile(const char* path);

// The same into a file being written safely, which is finished (complete on
// disk) but not yet put in place.
class SafeFile;
bool writeAddressFile(SafeFile& file);

// Copies the address file old, from its start, into backup so that the
// backup is no easier to read than the file the save writes: with a
// current password, a plain file is copied protected with it, and a file
// protected with filePassword is scrambled again with the new password.
// Anything else (a file with an unknown password, or no current password)
// is copied as it is.  Leaves backup finished; false when that failed.
class SafeFile;
bool copyForBackup(std::FILE* old, SafeFile& backup);

// Writes length bytes as they are, never scrambled (exported blocks), the
// same safe way.
bool writeBytesToFile(const char* path, const unsigned char* bytes, int32_t length);

// Reading and writing address files, plain or password-protected.
//
// A plain file is the text buffer with the German letters at their DOS
// positions.  A protected file starts with "P", then the verification word
// scrambled with the password, then the scrambled text.
#pragma once

#include <cstdint>

// The password of the file being worked on (Save protects with it when it is
// not empty) and the password typed for one Add.  At most 19 characters.
extern char currentPassword[20];
extern char addPassword[20];

inline constexpr char verificationWord[8] = "quorvik";

enum class LoadMode { Open = 0, Add = 1 };

enum class LoadResult { Loaded, CannotOpen, NoMemory, WrongPassword };

// Replaces (Open) or extends (Add) the store with the file at path, asking
// for the password of a protected file.  Failures are reported to the user
// here; the result only tells callers that want to know what happened.
LoadResult loadAddressFile(const char* path, LoadMode mode);

// Writes the whole text buffer to path, protected with currentPassword when
// it is not empty.  The buffer is converted to the file's character set for
// the write and back afterwards.  Returns false when the file cannot be
// created or written completely; reporting is the caller's business.
bool writeAddressFile(const char* path);

// Writes length bytes as they are, never scrambled (exported blocks).
bool writeBytesToFile(const char* path, const unsigned char* bytes, int32_t length);

// Writing a file so that the disk holds either the complete new version or
// the old one, never a mixture, and the file stays the user's file.
//
// The target is the file the path finally names: a symbolic link is
// followed and the file it leads to is replaced, the link stays.  A target
// that is read-only (or that this user may not write) is never replaced.
// The bytes go to a new temporary file beside the target, created
// exclusively under a name no one can guess ("NAME.<16 hex digits>.lumo-tmp"),
// so that nothing planted there is ever followed.  Only when every write,
// the flush to disk and the close have succeeded does the temporary file
// take the target's place, in one step, with the target's rights (mode and
// owner on Linux; attributes and security on Windows).  Until then the
// target is not touched; a write that fails, or a SafeFile dropped without
// commit(), removes the temporary file.  Temporary files of the same target
// left by a save that was killed are removed when the next one starts.
//
// For tests, the environment variable LUMO_FAIL_WRITE_AFTER=N (or
// setWriteFaultAfter) lets every write of the process fail once N bytes in
// all have been written, the way a disk that fills up does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class SafeFile {
public:
    // rightsOf names the file whose rights the new one takes when that is
    // not the target (a backup takes those of the book it copies).
    explicit SafeFile(const char* path, const char* rightsOf = nullptr);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // False once anything went wrong; later writes are then ignored.
    bool good() const { return file_ != nullptr; }
    bool write(const void* bytes, size_t length);
    // Flushes, syncs and closes the temporary file: it is complete on disk.
    bool finish();
    // Puts the finished temporary file in place of the target.
    bool replaceTarget();
    // Both: true only when the target now holds every byte written.
    bool commit() { return finish() && replaceTarget(); }

private:
    void discard();

    std::string target_;
    std::string rightsOf_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool finished_ = false;
};

// The whole of bytes as the new content of path.
bool writeFileSafely(const char* path, const void* bytes, size_t length);

// True when path (or the file its links lead to) exists and is read-only:
// a save to it is refused.
bool isReadOnlyTarget(const char* path);

// Lets writes fail once byteCount more bytes have been written; a negative
// count switches the fault off.  Replaces what LUMO_FAIL_WRITE_AFTER said.
void setWriteFaultAfter(int64_t byteCount);

// Writing a file so that the disk holds either the complete new version or
// the old one, never a mixture.
//
// The bytes go to a temporary file in the target's folder.  Only when every
// write, the flush to disk and the close have succeeded does the temporary
// file take the target's place, in one step (Host::replaceFile).  Until then
// the target is not touched; a write that fails, or a SafeFile dropped
// without commit(), removes the temporary file.
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
    explicit SafeFile(const char* path);
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
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool finished_ = false;
};

// The whole of bytes as the new content of path.
bool writeFileSafely(const char* path, const void* bytes, size_t length);

// The temporary file used while path is being written.
std::string temporaryPathFor(const char* path);

// Lets writes fail once byteCount more bytes have been written; a negative
// count switches the fault off.  Replaces what LUMO_FAIL_WRITE_AFTER said.
void setWriteFaultAfter(int64_t byteCount);

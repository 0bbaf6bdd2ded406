#include "files/safe_write.h"

#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "host/host.h"

namespace {

// Bytes that may still be written before the fault strikes; -1 = no fault.
int64_t faultBudget = -1;
bool faultRead = false;

int64_t& budget()
{
    if (!faultRead) {
        faultRead = true;
        if (const char* text = std::getenv("LUMO_FAIL_WRITE_AFTER"); text && *text)
            faultBudget = std::strtoll(text, nullptr, 10);
    }
    return faultBudget;
}

// fwrite, cut short where the test fault says the disk is full.
bool writeChecked(std::FILE* file, const void* bytes, size_t length)
{
    int64_t& left = budget();
    size_t allowed = length;
    if (left >= 0 && static_cast<uint64_t>(left) < length)
        allowed = static_cast<size_t>(left);
    size_t written = std::fwrite(bytes, 1, allowed, file);
    if (left >= 0)
        left -= static_cast<int64_t>(written);
    return written == length;
}

// Pushes the file's bytes from the C library and the system's cache to disk.
bool flushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

std::string temporaryPathFor(const char* path)
{
    return std::string(path) + ".lumo-tmp";
}

void setWriteFaultAfter(int64_t byteCount)
{
    faultRead = true;
    faultBudget = byteCount < 0 ? -1 : byteCount;
}

SafeFile::SafeFile(const char* path) : target_(path), temporary_(temporaryPathFor(path))
{
    file_ = std::fopen(temporary_.c_str(), "wb");
}

SafeFile::~SafeFile()
{
    discard();
}

void SafeFile::discard()
{
    finished_ = false;
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty())
        std::remove(temporary_.c_str());
}

bool SafeFile::write(const void* bytes, size_t length)
{
    if (!file_)
        return false;
    if (length == 0 || writeChecked(file_, bytes, length))
        return true;
    discard();
    return false;
}

bool SafeFile::finish()
{
    if (!file_)
        return false;
    bool flushed = flushToDisk(file_);
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    finished_ = flushed && closed;
    if (!finished_)
        discard();
    return finished_;
}

bool SafeFile::replaceTarget()
{
    if (finished_ && host().replaceFile(temporary_.c_str(), target_.c_str())) {
        finished_ = false;
        temporary_.clear();   // it is the target now
        return true;
    }
    discard();
    return false;
}

bool writeFileSafely(const char* path, const void* bytes, size_t length)
{
    SafeFile file(path);
    return file.write(bytes, length) && file.commit();
}

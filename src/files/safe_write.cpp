#include "files/safe_write.h"

#include <chrono>
#include <cctype>
#include <cstdlib>
#include <random>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "files/file_system.h"

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

// Where the temporary files of target go: its folder ("" or ending with a
// separator) and its name.
std::pair<std::string, std::string> folderAndName(const std::string& target)
{
#ifdef _WIN32
    const size_t cut = target.find_last_of("\\/:");
#else
    const size_t cut = target.rfind('/');
#endif
    if (cut == std::string::npos)
        return {std::string(), target};
    return {target.substr(0, cut + 1), target.substr(cut + 1)};
}

constexpr const char* temporarySuffix = ".lumo-tmp";
constexpr size_t randomDigits = 16;

// 64 bits no one outside can predict; the clock and a counter only add to
// what the system's random source gives.
uint64_t unpredictableNumber()
{
    static uint64_t counter = 0;
    uint64_t number = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                      (++counter * 0x9E3779B97F4A7C15ull);
    try {
        std::random_device source;
        number ^= (static_cast<uint64_t>(source()) << 32) ^ source();
    } catch (...) {
        // No random source: the clock alone still makes the name new.
    }
    return number;
}

std::string temporaryPathFor(const std::string& target)
{
    char digits[randomDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(unpredictableNumber()));
    return target + "." + digits + temporarySuffix;
}

// Whether name is that of a temporary file made while the file named
// target (in the same folder) was written.
bool isTemporaryNameFor(const std::string& target, const std::string& name)
{
    const std::string suffix = temporarySuffix;
    const size_t prefix = target.size() + 1;
    if (name.size() != prefix + randomDigits + suffix.size() || name.compare(0, target.size(), target) != 0 ||
        name[target.size()] != '.' || name.compare(prefix + randomDigits, suffix.size(), suffix) != 0)
        return false;
    for (size_t i = prefix; i < prefix + randomDigits; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// A killed save leaves its temporary file behind; the next save of the
// same target clears them away.
void removeStaleTemporaries(const std::string& target)
{
    const auto [folder, name] = folderAndName(target);
    for (const std::string& entry : namesInFolder(folder))
        if (isTemporaryNameFor(name, entry))
            std::remove((folder + entry).c_str());
}

}  // namespace

bool isReadOnlyTarget(const char* path)
{
    return isReadOnlyFile(finalPathOf(path));
}

void setWriteFaultAfter(int64_t byteCount)
{
    faultRead = true;
    faultBudget = byteCount < 0 ? -1 : byteCount;
}

SafeFile::SafeFile(const char* path, const char* rightsOf)
    : target_(finalPathOf(path)), rightsOf_(rightsOf ? finalPathOf(rightsOf) : target_)
{
    if (isReadOnlyFile(target_))
        return;
    removeStaleTemporaries(target_);
    // A name that exists already is never used: try another.
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        std::string candidate = temporaryPathFor(target_);
        file_ = createNewFile(candidate);
        if (file_)
            temporary_ = candidate;
    }
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
    takeRightsOf(file_, rightsOf_);
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
    if (finished_ && replaceWithNewFile(temporary_, target_)) {
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

// Address files as the File menu reads them: Open, then optionally Add, the
// Data-check, and a save read back.
//
// Input: flags byte, open password NUL, add password NUL, the file to open,
// then, when the marker "\0ADD\0" follows, the file to add.
// Flags: 1 = Data-check at the end, 2 = save with the add password and open
// the saved file again.
#include <unistd.h>

#include "files/address_file.h"
#include "files/data_check.h"
#include "find/sort.h"
#include "fuzz_support.h"
#include "views/view_state.h"

namespace {

std::string scratchFile(const char* name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/lumo-fuzz-" + std::to_string(getpid()) + "-" + name;
}

void writeFile(const std::string& path, std::string_view bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// Up to the next NUL, at most 19 characters kept.
std::string takePassword(std::string_view& input)
{
    size_t end = std::min(input.find('\0'), input.size());
    std::string password(input.substr(0, std::min<size_t>(end, 19)));
    input.remove_prefix(std::min(end + 1, input.size()));
    return password;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string openPath = scratchFile("open.adr"), addPath = scratchFile("add.adr"),
                             savedPath = scratchFile("saved.adr");
    if (size == 0)
        return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const unsigned flags = static_cast<unsigned char>(input[0]);
    input.remove_prefix(1);
    FuzzHost fuzzHost;
    fuzzHost.openPassword = takePassword(input);
    fuzzHost.addPassword = takePassword(input);
    setHost(&fuzzHost);
    currentPassword[0] = 0;
    resetViewState();

    constexpr std::string_view addMarker("\0ADD\0", 5);
    size_t split = input.find(addMarker);
    writeFile(openPath, input.substr(0, split));
    makeStore(" \r\n\r\n");
    loadAddressFile(openPath.c_str(), LoadMode::Open);
    sortEntries();
    checkStore();

    if (split != std::string_view::npos) {
        writeFile(addPath, input.substr(split + addMarker.size()));
        loadAddressFile(addPath.c_str(), LoadMode::Add);
        sortEntries();
        checkStore();
    }
    if ((flags & 1) && textBuffer) {
        removeDuplicateEntries();
        checkStore();
    }
    if ((flags & 2) && textBuffer) {
        // What Save writes, Open reads back unchanged; only a plain text
        // beginning with "P" is taken for a protected file.
        std::strcpy(currentPassword, fuzzHost.addPassword.c_str());
        std::string saved(reinterpret_cast<const char*>(textBuffer), static_cast<size_t>(usedBytes));
        FUZZ_CHECK(writeAddressFile(savedPath.c_str()));
        if (currentPassword[0] || saved.empty() || saved[0] != 'P') {
            FUZZ_CHECK(loadAddressFile(savedPath.c_str(), LoadMode::Open) == LoadResult::Loaded);
            checkStore();
            FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(textBuffer), static_cast<size_t>(usedBytes)) == saved);
        }
    }
    for (const std::string* path : {&openPath, &addPath, &savedPath})
        std::remove(path->c_str());
    freeStore();
    setHost(nullptr);
    return 0;
}

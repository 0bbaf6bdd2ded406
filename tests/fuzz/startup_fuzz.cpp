// Start-up: the program path rules, the configuration file, and what start-up
// and the recent-file commands then do with the paths read from it.
//
// Input: the command line, NUL, the bytes of the configuration file.
// Linked with fopen wrapped: no address file is ever opened (the load then
// takes its cannot-open way).  Files are written for real, in the working
// folder, the way the program writes them: through a temporary file.
#include <string>

#include "files/address_file.h"
#include "files/config.h"
#include "files/file_commands.h"
#include "files/new_file.h"
#include "files/recent_files.h"
#include "fuzz_support.h"
#include "host/title.h"
#include "shell/program_path.h"
#include "views/view_state.h"

namespace {

// Every setting as raw bytes, to compare two readings.
std::string settingsBytes()
{
    std::string s;
    auto add = [&s](const auto& value) { s.append(reinterpret_cast<const char*>(&value), sizeof value); };
    add(mainWindowRect), add(overviewRect), add(dataViewRect), add(currentFilePath);
    for (uint32_t colour : {dataViewBackColour, dataViewTextColour, dataViewHeadTextColour, dataViewHeadBackColour,
                            overviewBackColour, overviewTextColour, linkColour})
        add(colour);
    add(textPredefinitions), add(windowArrangement), add(autoSaveData), add(autoSaveConfig);
    add(dataViewFont), add(overviewFont), add(nameSeparators), add(addressLineOrder);
    add(addressEmptyLines), add(swapFirstAndLastName), add(recentFiles), add(printLeftBorder), add(printTopBorder);
    return s;
}

void readSettings(const char* bytes, size_t size)
{
    setDefaultSettings(FontRecord{});
    if (std::FILE* file = fmemopen(const_cast<char*>(bytes), size, "rb")) {
        readConfiguration(file);
        std::fclose(file);
    }
}

}  // namespace

// Only the target's own calls are diverted, not libFuzzer's.
static bool inTarget;
extern "C" std::FILE* __real_fopen(const char* path, const char* mode);

extern "C" std::FILE* __wrap_fopen(const char* path, const char* mode)
{
    if (!inTarget)
        return __real_fopen(path, mode);
    FUZZ_CHECK(std::strlen(path) < pathSize);
    if (mode[0] != 'w')
        return nullptr;
    return __real_fopen(path, mode);
}

// The configuration file as written to disk.
static std::string writtenConfiguration()
{
    std::string bytes;
    if (std::FILE* file = __real_fopen(configFileName, "rb")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.append(chunk, n);
        std::fclose(file);
    }
    return bytes;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    inTarget = true;
    std::string commandLine(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
    setProgramPathFromCommandLine(commandLine.c_str());
    std::string directory(programPath, std::string_view(programPath).find_last_of("\\/") + 1);
    FUZZ_CHECK(directory.size() + std::strlen(configFileName) > 511 ? std::strlen(configFilePath) == 511
                                                                     : directory + configFileName == configFilePath);
    FUZZ_CHECK(std::string_view(helpFilePath).substr(0, directory.size()) == directory);

    const char* config = reinterpret_cast<const char*>(data) + std::min(commandLine.size() + 1, size);
    readSettings(config, size - static_cast<size_t>(config - reinterpret_cast<const char*>(data)));

    // Writing the settings and reading them back changes none of them.
    std::string read = settingsBytes();
    FUZZ_CHECK(writeConfiguration(configFileName));
    std::string written = writtenConfiguration();
    readSettings(written.data(), written.size());
    FUZZ_CHECK(settingsBytes() == read);

    // Start-up: the title, the last file, the recent-file menu.
    FuzzHost fuzzHost;
    setHost(&fuzzHost);
    makeStore(" \r\n\r\n");
    resetViewState();
    setTitleFromPath();
    FUZZ_CHECK(std::strlen(titleText) < sizeof titleText);
    if (static_cast<unsigned char>(currentFilePath[0]) >= 'A')
        loadAddressFile(currentFilePath, LoadMode::Open);
    showRecentFilesInMenu();
    // Open recent on every slot, then New.
    for (int slot = 0; slot < recentFileCount; ++slot) {
        FUZZ_CHECK(recentMenuText(slot, recentFiles[slot]).size() < pathSize + 16);
        openRecentFile(slot);
    }
    makePathNoName();
    setTitleFromPath();
    freeStore();
    setHost(nullptr);
    inTarget = false;
    return 0;
}

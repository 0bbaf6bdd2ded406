#include "support/store_fixture.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "files/address_file.h"
#include "files/config.h"
#include "files/safe_write.h"
#include "find/sort.h"
#include "host/title.h"
#include "store/store.h"
#include "store/undo.h"
#include "views/view_state.h"

void setStoreText(std::string_view text)
{
    freeStore();
    createEmptyStore();
    int32_t length = static_cast<int32_t>(text.size());
    if (length + bufferHeadroom > bufferCapacity) {
        bufferCapacity = length + bufferHeadroom;
        textBuffer = static_cast<unsigned char*>(std::realloc(textBuffer, static_cast<size_t>(bufferCapacity)));
        std::memset(textBuffer, 0, static_cast<size_t>(bufferCapacity));
    }
    std::memcpy(textBuffer, text.data(), text.size());
    usedBytes = length;
    int32_t slots = length / 4 + indexHeadroom;   // at most one separator per four bytes
    if (slots > indexCapacity) {
        indexCapacity = slots;
        entryIndex = static_cast<int32_t*>(std::realloc(entryIndex, static_cast<size_t>(slots) * sizeof(int32_t)));
    }
    entryCount = rebuildEntryIndex();
}

std::string storeText()
{
    return std::string(reinterpret_cast<const char*>(textBuffer), static_cast<size_t>(usedBytes));
}

std::vector<std::string> storeHeadings()
{
    std::vector<std::string> headings;
    for (int32_t k = 0; k < entryCount; ++k) {
        const unsigned char* p = textBuffer + entryIndex[k];
        size_t n = 0;
        while (p[n] >= 32)
            ++n;
        headings.emplace_back(reinterpret_cast<const char*>(p), n);
    }
    return headings;
}

std::string numberedEntry(int n)
{
    std::string text = "Name\r\n";
    for (int i = 1; i < n; ++i)
        text += "Line " + std::to_string(i) + "\r\n";
    return text + "\r\nNext\r\n\r\n";
}

std::string readFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFileBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void StoreTest::SetUp()
{
    setHost(&recorder);
    FontRecord systemFont{};
    setDefaultSettings(systemFont);
    resetViewState();
    resortPending = false;
    std::memset(currentPassword, 0, sizeof currentPassword);
    std::memset(addPassword, 0, sizeof addPassword);
    std::strcpy(titleText, " NO NAME");
    createEmptyStore();
    discardSnapshot();
    dataModified = false;
    recorder.events.clear();

    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    tempDir = std::filesystem::temp_directory_path() /
              (std::string("lumo-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(tempDir);
    std::filesystem::create_directories(tempDir);
}

void StoreTest::TearDown()
{
    setWriteFaultAfter(-1);
    discardSnapshot();
    freeStore();
    setHost(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(tempDir, ignored);
}

std::string StoreTest::tempPath(const std::string& name) const
{
    return (tempDir / name).string();
}

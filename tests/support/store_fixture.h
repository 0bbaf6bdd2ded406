// Test fixture: a fresh store without an undo snapshot, default settings and
// view state, a recording host, and a private temporary folder for files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/recording_host.h"

// Replaces the store's text (bytes as given) and rebuilds the index.
void setStoreText(std::string_view text);
std::string storeText();
// First lines of the entries, in store order.
std::vector<std::string> storeHeadings();
// "Name" and then lines "Line 1" to "Line <n-1>", as one entry followed by another.
std::string numberedEntry(int n);

std::string readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path inside the test's own temporary folder.
    std::string tempPath(const std::string& name) const;

    RecordingHost recorder;
    std::filesystem::path tempDir;
};

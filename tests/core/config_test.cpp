#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "files/config.h"
#include "support/store_fixture.h"

namespace {

using Configuration = StoreTest;

FontRecord fontNamed(const char* face, unsigned char height)
{
    FontRecord font{};
    font.bytes[0] = height;
    std::strcpy(reinterpret_cast<char*>(font.bytes + 28), face);
    return font;
}

void readFrom(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    readConfiguration(file);
    std::fclose(file);
}

// Fields in file order with their sizes, as written for the defaults with
// an empty current path and empty recent files.
constexpr size_t magicSize = 7, rectsSize = 48, colourSize = 28, predefsSize = 510, flagsSize = 3,
                 fontsSize = 120, charsSize = 10, addressSize = 5, bordersSize = 2;

TEST_F(Configuration, DefaultsAreWrittenInTheFixedLayout)
{
    ASSERT_TRUE(writeConfiguration(tempPath("O-LUMO.INF").c_str()));
    std::string bytes = readFileBytes(tempPath("O-LUMO.INF"));
    ASSERT_EQ(bytes.size(), magicSize + rectsSize + 1 + colourSize + predefsSize + flagsSize + fontsSize + charsSize +
                                addressSize + 10 + bordersSize);
    EXPECT_EQ(bytes.substr(0, 7), "O-Lumo ");
    size_t at = magicSize + rectsSize;
    EXPECT_EQ(bytes[at], 0);   // empty path: just its NUL
    ++at;
    // White, black, blue, grey 200, grey 230, black, red; red in the low byte.
    EXPECT_EQ(bytes.substr(at, colourSize), std::string("\xFF\xFF\xFF\0" "\0\0\0\0" "\0\0\xFF\0" "\xC8\xC8\xC8\0"
                                                        "\xE6\xE6\xE6\0" "\0\0\0\0" "\xFF\0\0\0", 28));
    at += colourSize;
    EXPECT_EQ(std::string(bytes.c_str() + at), "PhoneNumber: ");
    EXPECT_EQ(std::string(bytes.c_str() + at + 9 * 51), "ToDo: ");
    at += predefsSize;
    EXPECT_EQ(bytes.substr(at, 3), std::string("\x01\x00\x01", 3));
    at += flagsSize + fontsSize;
    EXPECT_EQ(bytes.substr(at, 10), std::string(",\0\0\0\0" "123\0\0", 10));
    at += charsSize;
    EXPECT_EQ(bytes.substr(at, 5), std::string("\0\x01\0\0\x01", 5));
}

TEST_F(Configuration, EverySettingSurvivesWriteAndRead)
{
    mainWindowRect = {-5, 10, 800, 600};
    overviewRect = {1, 2, 3, 4};
    dataViewRect = {5, 6, 7, -8};
    std::strcpy(currentFilePath, "D:\\ADR\\HOME.ADR");
    dataViewBackColour = rgb(1, 2, 3);
    linkColour = rgb(9, 8, 7);
    std::strcpy(textPredefinitions[3], "Mobile: ");
    std::memset(textPredefinitions[9], 'x', 50);
    windowArrangement = 2;
    autoSaveData = true;
    autoSaveConfig = false;
    dataViewFont = fontNamed("Courier New", 16);
    overviewFont = fontNamed("Arial", 12);
    std::strcpy(nameSeparators[2], ";");
    nameSeparators[0][0] = 0;   // a 0 byte in the file is a value, not the end of it
    std::strcpy(addressLineOrder[4], "5");
    addressEmptyLines[3] = true;
    swapFirstAndLastName = false;
    std::strcpy(recentFiles[9], "E:\\OLD.ADR");
    printLeftBorder = 7;
    printTopBorder = 3;
    ASSERT_TRUE(writeConfiguration(tempPath("O-LUMO.INF").c_str()));
    std::string first = readFileBytes(tempPath("O-LUMO.INF"));

    // The values differ from the defaults: equal bytes mean all were read.
    setDefaultSettings(FontRecord{});
    readFrom(tempPath("O-LUMO.INF"));
    EXPECT_EQ(mainWindowRect.x, -5);
    ASSERT_TRUE(writeConfiguration(tempPath("again.INF").c_str()));
    EXPECT_EQ(readFileBytes(tempPath("again.INF")), first);
}

TEST_F(Configuration, ShortFilesKeepWholeValuesAndFillTheFlagFields)
{
    writeFileBytes(tempPath("O-LUMO.INF"), "O-Lumo ");
    windowArrangement = 0;
    autoSaveData = autoSaveConfig = swapFirstAndLastName = false;
    nameSeparators[0][0] = addressLineOrder[1][0] = 0;
    std::strcpy(nameSeparators[4], ";");
    std::strcpy(currentFilePath, "kept");
    uint32_t* colours[] = {&dataViewBackColour, &dataViewTextColour, &dataViewHeadTextColour,
                           &dataViewHeadBackColour, &overviewBackColour, &overviewTextColour, &linkColour};
    for (uint32_t i = 0; i < 7; ++i)
        *colours[i] = 0x010203 * (i + 1);
    for (bool& flag : addressEmptyLines)
        flag = !flag;
    readFrom(tempPath("O-LUMO.INF"));
    EXPECT_EQ(windowArrangement, 1);
    EXPECT_TRUE(autoSaveData && autoSaveConfig && swapFirstAndLastName);
    EXPECT_STREQ(nameSeparators[0], ",");
    EXPECT_STREQ(nameSeparators[4], "");
    EXPECT_STREQ(addressLineOrder[1], "2");
    EXPECT_STREQ(addressLineOrder[3], "");
    for (uint32_t i = 0; i < 7; ++i)   // colours missing from the file stay as they were
        EXPECT_EQ(*colours[i], 0x010203 * (i + 1)) << "colour " << i;
    EXPECT_EQ(std::vector<bool>(std::begin(addressEmptyLines), std::end(addressEmptyLines)),
              (std::vector<bool>{false, true, false, false}));
    EXPECT_STREQ(currentFilePath, "kept");

    // Cut inside the main window's third number: x and y are taken.
    writeFileBytes(tempPath("O-LUMO.INF"), "O-Lumo " + std::string("\x0A\0\0\0\x14\0\0\0\x1E\0", 10));
    mainWindowRect = {1, 1, 1, 1};
    readFrom(tempPath("O-LUMO.INF"));
    EXPECT_EQ(mainWindowRect.x, 10);
    EXPECT_EQ(mainWindowRect.y, 20);
    EXPECT_EQ(mainWindowRect.width, 1);
}

TEST_F(Configuration, OddFlagBytesFollowTheDefaultsAndAWrongMagicIsIgnored)
{
    // 2 in the arrangement, both auto-save flags and all address check boxes.
    ASSERT_TRUE(writeConfiguration(tempPath("O-LUMO.INF").c_str()));
    std::string bytes = readFileBytes(tempPath("O-LUMO.INF"));
    size_t flags = magicSize + rectsSize + 1 + colourSize + predefsSize;
    bytes[flags] = bytes[flags + 1] = bytes[flags + 2] = 2;
    bytes.replace(flags + flagsSize + fontsSize + charsSize, addressSize, addressSize, 2);
    writeFileBytes(tempPath("O-LUMO.INF"), bytes);
    readFrom(tempPath("O-LUMO.INF"));
    EXPECT_EQ(windowArrangement, 2);
    EXPECT_TRUE(autoSaveData && autoSaveConfig && swapFirstAndLastName);
    EXPECT_FALSE(addressEmptyLines[0]);
    EXPECT_TRUE(addressEmptyLines[1]);

    bytes[6] = '_';
    bytes[8] = 99;
    writeFileBytes(tempPath("O-LUMO.INF"), bytes);
    windowArrangement = 0;
    readFrom(tempPath("O-LUMO.INF"));
    EXPECT_EQ(windowArrangement, 0);
    EXPECT_EQ(mainWindowRect.x, 0);

    EXPECT_FALSE(writeConfiguration(tempPath("missing/dir/O-LUMO.INF").c_str()));
    EXPECT_TRUE(recorder.events.empty());   // an uncreatable file is not reported
}

// A path that fills its field has no NUL; kept as read, it would be passed
// on unterminated (fopen and strcmp reading past the variable).
TEST_F(Configuration, LongestPathIsWrittenWithoutFillAndAFullFieldIsDropped)
{
    std::memset(currentFilePath, 'a', 511);
    currentFilePath[511] = 0;
    std::memset(recentFiles[0], 'b', 512);   // no NUL at all: exactly 512 bytes
    ASSERT_TRUE(writeConfiguration(tempPath("O-LUMO.INF").c_str()));
    std::string bytes = readFileBytes(tempPath("O-LUMO.INF"));
    EXPECT_EQ(bytes.size(), magicSize + rectsSize + 512 + colourSize + predefsSize + flagsSize + fontsSize + charsSize +
                                addressSize + 512 + 9 + bordersSize);
    setDefaultSettings(FontRecord{});
    readFrom(tempPath("O-LUMO.INF"));
    EXPECT_EQ(std::strlen(currentFilePath), 511u);
    EXPECT_EQ(recentFiles[0][0], 0);
    EXPECT_EQ(recentFiles[1][0], 0);

    // The same for the current file; a file cut inside a path ends it there.
    bytes.replace(magicSize + rectsSize, 512, 512, 'c');
    writeFileBytes(tempPath("O-LUMO.INF"), bytes);
    readFrom(tempPath("O-LUMO.INF"));
    EXPECT_EQ(currentFilePath[0], 0);
    std::memset(currentFilePath, 'x', sizeof currentFilePath);
    writeFileBytes(tempPath("O-LUMO.INF"), bytes.substr(0, magicSize + rectsSize + 3));
    readFrom(tempPath("O-LUMO.INF"));
    EXPECT_STREQ(currentFilePath, "ccc");
}

}  // namespace

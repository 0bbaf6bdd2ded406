// A save keeps the Windows attributes of the file it replaces, also where
// ReplaceFile does not carry them over (Wine), and also when the book is
// named without a folder, which Wine's ReplaceFile refuses.
#include <windows.h>

#include <gtest/gtest.h>

#include "files/safe_write.h"
#include "support/store_fixture.h"

namespace {

using SafeWriteWindows = StoreTest;

TEST_F(SafeWriteWindows, ReplacedFileKeepsItsAttributes)
{
    const std::string path = tempPath("book.adr");
    writeFileBytes(path, "old");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(tempDir.string().c_str()));
    EXPECT_TRUE(writeFileSafely("book.adr", "new", 3));
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(readFileBytes(path), "new");
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

// A book marked read-only is never replaced: Ctrl+S says so and leaves the
// book as it was, with no backup made.

#include "e2e/real_input.h"

namespace {

using ReadOnlyBook = RealInput;

TEST_F(ReadOnlyBook, SaveSaysSoAndLeavesTheFile)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    const std::string original = readWholeFile(book).value_or("");
    ASSERT_TRUE(SetFileAttributesA(book.c_str(), FILE_ATTRIBUTE_READONLY));

    pressKey('S', {VK_CONTROL});
    SeenMessageBox box = waitForMessageBox(lumo);
    ASSERT_TRUE(box.window) << "no message";
    EXPECT_EQ(box.text, "The file is read-only.\nCannot save file!");
    answer(box, IDOK, lumo);
    EXPECT_TRUE(readWholeFile(book).value_or("") == original) << "the book changed";
    EXPECT_FALSE(fileExists(inFolder("sample.DUP")));

    SetFileAttributesA(book.c_str(), FILE_ATTRIBUTE_NORMAL);
    quitWithoutSaving();
}

}  // namespace

// Search and replace typed as a user does it: the dialogs opened with their
// accelerators, filled and closed from the keyboard, and the results read
// back through the clipboard and the message boxes.

#include "e2e/real_input.h"

namespace {

using SearchInput = RealInput;

TEST_F(SearchInput, FindsAndReplaces)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());

    // The first hit from the first entry, then F3 to the next: the line of
    // each hit, selected with Home and Shift+End.
    auto hitLine = [&] {
        pressKey(VK_HOME);
        pressKey(VK_END, {VK_SHIFT});
        return copy();
    };
    pressKey('F', {VK_CONTROL});
    ASSERT_TRUE(waitForDialog(IDC_FIND_OK));
    typeText("stra\xDF" "e");
    pressKey(VK_RETURN);
    EXPECT_EQ(hitLine(), "Marktstra\xDF" "e 4");
    pressKey(VK_F3);
    EXPECT_EQ(hitLine(), "Lessingstra\xDF" "e 9");

    // Replace all from the Overview: the whole book, and the count.
    pressKey(VK_ESCAPE);
    pressKey('E', {VK_CONTROL});
    ASSERT_TRUE(waitForDialog(IDC_REPLACE_OK));
    typeText("Berlin");
    pressKey('W', {VK_MENU});
    typeText("Bonn");
    pressKey('A', {VK_MENU});
    pressKey(VK_RETURN);
    SeenMessageBox box = waitForMessageBox(lumo);
    EXPECT_EQ(box.text, "1 entries were replaced!");
    answer(box, IDOK, lumo);

    EXPECT_TRUE(windowText(mainWindow).starts_with("*"));
    quitWithoutSaving();
}

TEST_F(SearchInput, CalendarSearchRequestSelectsTheText)
{
    const std::string started = inFolder("started");
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook({"@wait-file " + started, "ASKr\xFC" "ger"}));
    ASSERT_TRUE(writeWholeFile(started, ""));
    // Copy until the search has run and left its hit selected.
    std::string text;
    EXPECT_TRUE(waitUntil(
        [&] {
            pressKey('C', {VK_CONTROL});
            text = clipboardText().value_or("");
            return !text.empty();
        },
        waitLimitMs, &lumo));
    EXPECT_EQ(text, "Kr\xFC" "ger");
    quitWithoutSaving();
}

}  // namespace

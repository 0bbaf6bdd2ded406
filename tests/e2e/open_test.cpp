// Opening a book as a user does it: Ctrl+O, the path typed into the open
// dialog, Enter.  The loading itself (progress, sorting, failures) is the
// core tests' business; here the keys must reach the dialog and the book
// must reach the window.

#include "e2e/real_input.h"

namespace {

TEST_F(RealInput, CtrlOOpensTheBookTypedIntoTheDialog)
{
    const std::string path = inFolder("other.adr");
    ASSERT_TRUE(writeWholeFile(path, "Zorn, Eva\r\nTal 1\r\n\r\nAbel, Kai\r\n\r\n"));
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    HWND status = GetDlgItem(childDialogHolding(mainWindow, IDC_STATUS_TEXT), IDC_STATUS_TEXT);
    ASSERT_TRUE(status);

    pressKey('O', {VK_CONTROL});
    ASSERT_TRUE(waitForFrontDialog()) << "the open dialog did not come up";
    typeText(path);
    pressKey(VK_RETURN);

    EXPECT_TRUE(waitUntil([&] { return windowText(status) == "       2 Entries"; }, waitLimitMs, &lumo))
        << windowText(status);
    EXPECT_EQ(windowText(mainWindow), " " + path);
    // The keys are the Overview's again.
    EXPECT_TRUE(findAndOpen("Z").starts_with("Zorn, Eva\r\n"));
    quitWithoutSaving();
}

}  // namespace

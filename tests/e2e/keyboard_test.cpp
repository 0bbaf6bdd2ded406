// The keyboard and the mouse as a user has them: every key and click goes
// in through SendInput and reaches whichever window really has the focus or
// lies under the pointer.  What the program did is read back from outside:
// the clipboard after Ctrl+A and Ctrl+C, the title, the calendar's log.

#include <algorithm>
#include <random>

#include "e2e/real_input.h"

namespace {

TEST_F(RealInput, TypingReachesBothViewsRightAfterStartUp)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());

    // A blank typed into the Overview belongs to the type-ahead; it must
    // not press a toolbar button.
    typeText(" ");
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(findAndOpen("Sch").starts_with("Schmidt, Anna\r\n"));

    // Copying selected the whole entry: typing would replace it.
    pressKey(VK_HOME, {VK_CONTROL});
    typeText("X");
    EXPECT_TRUE(copyAll().starts_with("XSchmidt, Anna\r\n"));
    EXPECT_TRUE(windowText(mainWindow).starts_with("*"));
    for (const std::string& line : calendarLog())
        EXPECT_TRUE(line.rfind("Open", 0) != 0) << "the calendar was asked: " << line;

    quitWithoutSaving();
}

TEST_F(RealInput, TypingReachesTheProgramAfterClicksMessageBoxesAndActivation)
{
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());

    // A toolbar button: the calendar is asked and comes to the front; a
    // click into the Overview brings the address book back.
    ASSERT_NO_FATAL_FAILURE(clickCentre(GetDlgItem(toolbar, IDM_CALENDAR2)));
    ASSERT_TRUE(waitForCalendarText("OpenKal2"));
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() != mainWindow; }, waitLimitMs, &lumo))
        << "the calendar did not come to the front";
    ASSERT_NO_FATAL_FAILURE(click(overview, {20, 60}));
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == mainWindow; }, waitLimitMs, &lumo));
    EXPECT_TRUE(findAndOpen("Wa").starts_with("Wagner, Dieter\r\n"));

    // A click into the Data view: typing edits the entry shown.
    ASSERT_NO_FATAL_FAILURE(clickCentre(dataView));
    pressKey(VK_HOME, {VK_CONTROL});
    typeText("Z");
    EXPECT_TRUE(copyAll().starts_with("ZWagner, Dieter\r\n"));

    // A toolbar button while the address book stays in front.
    pressKey(VK_ESCAPE);
    // The button puts an address on the clipboard: wait for it, so that it
    // cannot land in the middle of the copy below.
    clearClipboard();
    ASSERT_NO_FATAL_FAILURE(clickCentre(GetDlgItem(toolbar, IDM_ADDRESSFIELD)));
    EXPECT_TRUE(waitUntil([] { return clipboardText().has_value(); }, waitLimitMs, &lumo));
    EXPECT_TRUE(findAndOpen("Kl").starts_with("Klein, Uwe\r\n"));

    // A question answered with the keyboard; the keys then go on to the
    // Overview.
    pressKey(VK_ESCAPE);
    pressKey(VK_DELETE);
    SeenMessageBox box = waitForMessageBox(lumo);
    ASSERT_TRUE(box.window) << "no question";
    EXPECT_EQ(box.text, "Really delete this entry?");
    pressKey('N');
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box.window); }, waitLimitMs, &lumo));
    EXPECT_TRUE(findAndOpen("Web").starts_with("Weber, Lena\r\n"));

    // A dialog opened from the menu with the keyboard and cancelled.
    pressKey(VK_ESCAPE);
    pressKey('T', {VK_MENU});
    typeText("g");
    HWND dialog = waitForFrontDialog();
    ASSERT_TRUE(dialog) << "the general configuration did not open";
    pressKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, waitLimitMs, &lumo));
    EXPECT_TRUE(findAndOpen("Br").starts_with("Braun, Heike\r\n"));

    quitWithoutSaving();
}

// A shuffled book whose first entry is not the one that sorts first.
std::string shuffledBook(const char* name, int entries)
{
    std::vector<int> order(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i)
        order[static_cast<size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    if (order[0] == 0)
        std::swap(order[0], order[1]);
    std::string text;
    for (int i : order)
        text += name + std::to_string(100000 + i) + ", Vorname\r\nStrasse " + std::to_string(i) + "\r\n\r\n";
    return text;
}

TEST_F(RealInput, AfterLoadingBothViewsShowTheFirstSortedEntry)
{
    constexpr int entries = 30000;
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook({}, shuffledBook("Start", entries)));
    HWND status = GetDlgItem(childDialogHolding(mainWindow, IDC_STATUS_TEXT), IDC_STATUS_TEXT);

    // Before any key: the Data view's entry through the address-field
    // button; then Enter opens the entry under the Overview's bar.
    auto expectBothViewsOn = [&](const std::string& heading) {
        clearClipboard();
        postCommand(mainWindow, IDM_ADDRESSFIELD);
        std::string shown;
        waitUntil([&] { return !(shown = clipboardText().value_or("")).empty(); }, waitLimitMs, &lumo);
        EXPECT_TRUE(shown.starts_with(heading + "\r\n")) << "the Data view shows " << shown;
        pressKey(VK_RETURN);
        EXPECT_TRUE(copyAll().starts_with(heading + ", Vorname\r\n"));
        pressKey(VK_ESCAPE);
    };
    expectBothViewsOn("Start100000");

    const std::string second = inFolder("second.adr");
    ASSERT_TRUE(writeWholeFile(second, shuffledBook("Open", entries + 1)));
    pressKey('O', {VK_CONTROL});
    HWND dialog = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (dialog = GetForegroundWindow()) != mainWindow && IsWindowVisible(dialog); },
                          waitLimitMs, &lumo))
        << "the open dialog did not come up";
    typeText(second);
    pressKey(VK_RETURN);
    char countText[32];
    std::snprintf(countText, sizeof countText, "%8d Entries", entries + 1);
    ASSERT_TRUE(waitUntil([&] { return windowText(status) == countText; }, 60000, &lumo))
        << "the second book was not opened: " << windowText(status);
    expectBothViewsOn("Open100000");

    quitWithoutSaving();
}

}  // namespace

// Opening a book large enough to take a while, as a user does it: Ctrl+O,
// the path typed into the open dialog, Enter.  While the program is busy
// the status line is read from outside, without a message to the busy
// window, to see the progress it shows.

#include <chrono>
#include <cstdlib>

#include "e2e/real_input.h"

namespace {

constexpr int largeBookEntries = 1600000;

// About 190 MB, already in order.
std::string largeBook()
{
    std::string text;
    text.reserve(static_cast<size_t>(largeBookEntries) * 121);
    char entry[160];
    for (int i = 0; i < largeBookEntries; ++i) {
        int n = std::snprintf(entry, sizeof entry,
                              "Name %07d, Vorname\r\nStrasse %d\r\n%05d Stadt\r\nTel. 0%09d\r\n"
                              "mail%07d@example.org\r\nNotiz: nichts\r\n\r\n",
                              i, i % 300, i % 99999, i * 7, i);
        text.append(entry, static_cast<size_t>(n));
    }
    return text;
}

// The text a window holds, read without sending it a message.
std::string heldText(HWND window)
{
    wchar_t text[64] = L"";
    int length = InternalGetWindowText(window, text, 64);
    std::string narrow;
    for (int i = 0; i < length; ++i)
        narrow += static_cast<char>(text[i]);
    return narrow;
}

TEST_F(RealInput, OpeningALargeBookShowsHowFarTheLoadHasCome)
{
    const std::string path = inFolder("large.adr");
    ASSERT_TRUE(writeWholeFile(path, largeBook()));
    const std::string countText = " 1600000 Entries";
    ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
    HWND status = GetDlgItem(childDialogHolding(mainWindow, IDC_STATUS_TEXT), IDC_STATUS_TEXT);
    ASSERT_TRUE(status);

    pressKey('O', {VK_CONTROL});
    HWND dialog = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            for (HWND window : topLevelWindows(lumo.id, "#32770"))
                if (IsWindowVisible(window))
                    dialog = window;
            return dialog != nullptr && GetForegroundWindow() == dialog;
        },
        waitLimitMs, &lumo))
        << "the open dialog did not come up";
    typeText(path);
    pressKey(VK_RETURN);

    // Every text the status line shows until the count of the new book.
    std::vector<std::string> seen;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitUntil(
        [&] {
            std::string text = heldText(status);
            if (seen.empty() || seen.back() != text)
                seen.push_back(text);
            return text == countText;
        },
        60000, &lumo))
        << "the book was not opened; last status text: " << (seen.empty() ? "" : seen.back());
    const auto took = std::chrono::steady_clock::now() - start;
    if (took < std::chrono::seconds(2))
        GTEST_SKIP() << "opening took only " << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                     << " ms: too quick to need progress";

    // Loading shows rising percentages, sorting its own text; between the
    // old and the new count at least one of them must have been seen.
    int lastPercent = -1, progressTexts = 0;
    for (const std::string& text : seen) {
        if (text == "Sortieren...") {
            ++progressTexts;
            continue;
        }
        if (text.rfind("Laden... ", 0) != 0)
            continue;
        int percent = std::atoi(text.c_str() + 9);
        EXPECT_EQ(text, "Laden... " + std::to_string(percent) + "%");
        EXPECT_GE(percent, lastPercent) << "the progress went back";
        EXPECT_LE(percent, 100);
        lastPercent = percent;
        ++progressTexts;
    }
    EXPECT_GE(progressTexts, 1) << "status texts seen: " << ::testing::PrintToString(seen);
    EXPECT_EQ(seen.back(), countText);
    EXPECT_FALSE(windowText(mainWindow).starts_with("*")) << "opening is no change of the data";

    quitWithoutSaving();
}

}  // namespace

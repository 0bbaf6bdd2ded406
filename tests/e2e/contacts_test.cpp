// Contacts in and out through the File menu, driven from the keyboard: the
// menu by its letters, the common file dialogs answered by typing the name
// and Enter, the messages read and answered.

#include <cstdlib>

#include "e2e/real_input.h"

namespace {

class ContactsInput : public RealInput {
protected:
    HWND statusText = nullptr;

    void start()
    {
        ASSERT_NO_FATAL_FAILURE(startWithSampleBook());
        statusText = GetDlgItem(childDialogHolding(mainWindow, IDC_STATUS_TEXT), IDC_STATUS_TEXT);
        ASSERT_TRUE(statusText);
    }

    int entryCountShown() { return std::atoi(windowText(statusText).c_str()); }

    // File > (letter), then the file dialog that opens answered with the
    // name typed, and keys before Enter.
    void chooseInMenu(char letter, const std::string& path, std::initializer_list<WORD> keysAfterName = {})
    {
        pressKey('I', {VK_MENU});
        pressKey(static_cast<WORD>(letter));
        HWND dialog = nullptr;
        ASSERT_TRUE(waitUntil(
            [&] {
                for (HWND window : topLevelWindows(lumo.id, "#32770"))
                    if (IsWindowVisible(window))
                        dialog = window;
                return dialog != nullptr && GetForegroundWindow() == dialog;
            },
            waitLimitMs, &lumo))
            << "no file dialog came up";
        typeText(path);
        for (WORD key : keysAfterName)
            pressKey(key);
        pressKey(VK_RETURN);
    }

    // The message that follows, answered with OK; its text.
    std::string messageAnswered()
    {
        SeenMessageBox box = waitForMessageBox(lumo);
        EXPECT_EQ(box.caption, caption);
        if (box.window)
            answer(box, IDOK, lumo);
        return box.text;
    }
};

size_t countOf(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST_F(ContactsInput, ImportedContactsAreFoundInTheOverviewAndOneUndoTakesThemOut)
{
    const std::string path = inFolder("phone.vcf");
    ASSERT_TRUE(writeWholeFile(path, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Zuse;Konrad;;;\r\nTEL:030 123456\r\nEND:VCARD\r\n"
                                     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:\xC5\x9E" "ahin;Ali;;;\r\nEND:VCARD\r\n"));
    ASSERT_NO_FATAL_FAILURE(start());
    const int before = entryCountShown();

    ASSERT_NO_FATAL_FAILURE(chooseInMenu('I', path));
    EXPECT_EQ(messageAnswered(), "2 contacts were imported!\n1 characters had to be replaced or transliterated.");
    EXPECT_EQ(entryCountShown(), before + 2);
    EXPECT_TRUE(windowText(mainWindow).starts_with("*")) << windowText(mainWindow);
    // The Overview has the keys and the new entry sorted in.
    EXPECT_EQ(findAndOpen("Zus"), "Zuse, Konrad, 030 123456");

    pressKey('Z', {VK_CONTROL});
    EXPECT_TRUE(waitUntil([&] { return entryCountShown() == before; }, waitLimitMs, &lumo))
        << "after Undo: " << windowText(statusText);

    // A file without contacts changes nothing.
    const std::string other = inFolder("other.csv");
    ASSERT_TRUE(writeWholeFile(other, "Colour,Size\r\nred,2\r\n"));
    ASSERT_NO_FATAL_FAILURE(chooseInMenu('I', other));
    EXPECT_EQ(messageAnswered(), "No contacts found in this file!");
    EXPECT_EQ(entryCountShown(), before);
    quitWithoutSaving();
}

TEST_F(ContactsInput, MarkedEntriesOrTheWholeBookGoOutInTheTypeNamedOrChosen)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const int all = entryCountShown();

    pressKey(VK_DOWN, {VK_SHIFT});
    pressKey(VK_DOWN, {VK_SHIFT});
    ASSERT_NO_FATAL_FAILURE(chooseInMenu('X', inFolder("marked.vcf")));
    const std::string message = messageAnswered();
    const std::string marked = readWholeFile(inFolder("marked.vcf")).value_or("");
    const size_t cards = countOf(marked, "BEGIN:VCARD\r\nVERSION:3.0\r\n");
    EXPECT_GE(cards, 2u);
    EXPECT_LT(cards, static_cast<size_t>(all));
    EXPECT_EQ(message, std::to_string(cards) + " entries were exported!");

    // Nothing marked: the whole book; the name says CSV.
    pressKey(VK_DOWN);
    ASSERT_NO_FATAL_FAILURE(chooseInMenu('X', inFolder("all.csv")));
    EXPECT_EQ(messageAnswered(), std::to_string(all) + " entries were exported!");
    EXPECT_TRUE(readWholeFile(inFolder("all.csv")).value_or("").starts_with("Name,Phone,Fax,Email,URL,Birthday,Notes\r\n"));

    // The second type, chosen in the dialog below the name.
    ASSERT_NO_FATAL_FAILURE(chooseInMenu('X', inFolder("v4.vcf"), {VK_TAB, VK_DOWN}));
    EXPECT_EQ(messageAnswered(), std::to_string(all) + " entries were exported!");
    EXPECT_EQ(countOf(readWholeFile(inFolder("v4.vcf")).value_or(""), "BEGIN:VCARD\r\nVERSION:4.0\r\n"),
              static_cast<size_t>(all));

    EXPECT_FALSE(windowText(mainWindow).starts_with("*")) << "an export is no change of the data";
    quitWithoutSaving();
}

}  // namespace
